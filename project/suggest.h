#pragma once

// A suggested design: where the bands go and which colours the display and the playlist
// get, read from the picture itself, so one photo gives a finished skin in one step. What
// the user chose stays; the suggestion fills in the rest. And the guard every face shows: a
// text colour and its background that read below 4.5:1.

#include <cstdint>
#include <string>
#include <vector>

#include "image/color.h"
#include "project/project.h"

// The scale a suggestion works at for a picture of this size in this mode: about 600
// pixels across, so a band shows a good part of the picture, and always enough for the
// mode (Continuous needs 348 rows). 100 for a picture that is small already.
int SuggestScale(int32_t width, int32_t height, AdjustmentMode mode);

// The options with everything the user did not give filled in from the work picture for
// their adjustments: the scale (when not given and the project holds the picture at full
// size), the band positions of the mode (one per band in free mode, apart where the
// picture leaves room), and the six colours. Deterministic: the same picture and options
// give the same design in every build. The options come back unchanged without a picture.
SkinOptions SuggestDesign(Project& project, const SkinOptions& options);

// What the suggestion chose, as korvane-make arguments on one line ("--at 120,40
// --text-color 40E0FF ..."): every option of `suggested` that `given` did not set.
std::string SuggestedArguments(const SkinOptions& suggested);

// A text colour on a background that reads below 4.5:1, in the words every face shows:
// "Low contrast: display text on back reads 1.3:1 (4.5:1 or more reads well)".
struct ContrastWarning {
    std::string text;
    std::string background;
    double ratio = 0;
    std::string Message() const;
};

// The pairs of the options' colours that read below 4.5:1: the display's text on its back,
// the playlist's Normal and Current on NormalBG and on SelectedBG.
std::vector<ContrastWarning> LowContrastPairs(const SkinOptions& options);
