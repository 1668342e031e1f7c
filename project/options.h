#pragma once

// Every choice a skin is made with, each with its one default, as the faces without windows
// name them: the command line's long options (korvane-make --text-color 40E0FF) and the
// page's option names, which are the same words without the dashes. Both check values with
// these rules, so a value the command line refuses is refused on the page in the same words.

#include <array>
#include <cstdint>
#include <set>
#include <string>

#include "compose/skin.h"
#include "output/skin_writer.h"

// A top-left picture pixel, as a user gives a band's place.
struct BandPosition {
    bool given = false;
    int32_t x = 0;
    int32_t y = 0;
};

// The defaults are the member initialisers here and in the structs they hold (compose/ and
// output/): nothing else spells them.
struct SkinOptions {
    AdjustmentMode mode = AdjustmentMode::Tile;
    BandPosition at;       // tile: every band; continuous: the frame
    BandPosition bands[3]; // free: main, equalizer, playlist
    std::array<int, 3> order = {0, 1, 2};
    int scale = 100;
    int brightness = 0;
    int contrast = 0;
    TitleSettings title;
    ShadeColors colors;
    PlaylistStyle playlist;
    ProjectOptions project;
    std::string templateFolder; // empty: the built-in pieces
    // Suggest a design: what the user did not give is read from the picture (suggest.h).
    bool suggest = false;

    // The names of the options the user gave, so a suggestion fills in only the rest.
    std::set<std::string> given;
    bool Given(const std::string& name) const { return given.count(name) != 0; }
};

enum class SkinOptionResult {
    Applied,
    Unknown,  // not one of the names below
    BadValue, // a known name with a value it cannot take
    // Text with a control character, which would end up inside the skin's files (one would
    // add a line to pledit.txt).
    ControlCharacter,
};

// True for the options that are switches (auto, show-vis, swap-rb, hide-balance, no-balance-file):
// on the command line they take no value; elsewhere their value is "true" or "false".
bool IsSkinSwitch(const std::string& name);

// Applies one option by its name without dashes: mode, at, main, equalizer, playlist, order,
// scale, brightness, contrast, template, title, title-align, title-color, text-color,
// back-color, playlist-font, playlist-normal, playlist-current, playlist-normal-bg,
// playlist-selected-bg and the switches, and records the name as given. options is
// unchanged unless the result is Applied.
SkinOptionResult ApplySkinOption(const std::string& name, const std::string& value,
                                 SkinOptions* options);

// The least and greatest value of a number option (scale, brightness, contrast), or the least
// and greatest length in bytes of a text option (title, playlist-font): the bounds
// ApplySkinOption holds them to, for a face that shows them on its controls. False for any
// other name.
bool SkinOptionLimits(const std::string& name, int* lo, int* hi);

// Options as lines "name=value", one each; false with messageOut set to the first refusal
// in the words the faces print (no prefix before a name). Lines before it are applied.
bool ApplySkinOptionLines(const std::string& lines, SkinOptions* options, std::string* messageOut);

// The refusal of a value in the words the faces print; optionPrefix goes before the name
// ("--" on the command line). Empty for Applied.
std::string SkinOptionMessage(SkinOptionResult result, const std::string& optionPrefix,
                              const std::string& name, const std::string& value);

// Every option with a value as "name=value" lines, in the order of the list above (no
// template, positions or switches left at their defaults): what the page starts from.
std::string SkinOptionLines(const SkinOptions& options);

// The inputs of Make Skin that options give for a work picture: mode, order, colours,
// project options, title, template pieces and the offsets of the bands (or of the
// continuous frame). False with messageOut set, in the words the command line prints, when
// a band would leave the picture or the picture is too short for continuous mode.
bool SetSkinInputs(const SkinOptions& options, const Dib* work, const char* optionPrefix,
                   SkinInputs* inputsOut, std::string* messageOut);
