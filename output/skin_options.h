#pragma once

// Every choice a skin is made with, as the front ends without windows name them: the command
// line's long options (korvane-make --text-color 40E0FF) and the browser page's option
// names, which are the same words without the dashes. Both check values with these rules, so
// a value the command line refuses is refused on the page in the same words.

#include <array>
#include <cstdint>
#include <string>

#include "compose/skin.h"
#include "output/skin_writer.h"

// A top-left picture pixel, as a user gives a band's place.
struct BandPosition {
    bool given = false;
    int32_t x = 0;
    int32_t y = 0;
};

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
};

enum class SkinOptionResult {
    Applied,
    Unknown,  // not one of the names below
    BadValue, // a known name with a value it cannot take
    // Text with a control character, which would end up inside the skin's files (one would
    // add a line to pledit.txt).
    ControlCharacter,
};

// True for the options that are switches (show-vis, swap-rb, hide-balance, no-balance-file):
// on the command line they take no value; elsewhere their value is "true" or "false".
bool IsSkinSwitch(const std::string& name);

// Applies one option by its name without dashes: mode, at, main, equalizer, playlist, order,
// scale, brightness, contrast, title, title-align, title-color, text-color, back-color,
// playlist-font, playlist-normal, playlist-current, playlist-normal-bg, playlist-selected-bg
// and the switches. options is unchanged unless the result is Applied.
SkinOptionResult ApplySkinOption(const std::string& name, const std::string& value,
                                 SkinOptions* options);

// The inputs of Make Skin that options give for a work picture: mode, order, colours,
// project options, title, and the offsets of the bands (or of the continuous frame); the
// template pieces are left to the caller. False with messageOut set, in the words the command
// line prints, when a band would leave the picture or the picture is too short for
// continuous mode. optionPrefix goes before an option's name in a message ("--" on the
// command line).
bool SetSkinInputs(const SkinOptions& options, const Dib* work, const char* optionPrefix,
                   SkinInputs* inputsOut, std::string* messageOut);
