#pragma once

// The skin font: where each printable character's 5 x 6 glyph lies in the font layout
// (155 x 18, three rows of cells), which is both the built-in font mask and the player's
// text.bmp. Narrower widths are the proportional spacing of the engraved title.

#include <cstdint>

struct GlyphCell {
    int16_t x;
    int16_t y;
    int16_t width; // the height is always 6
};

constexpr int kGlyphHeight = 6;

// The cell of a character 32..126 (lower case uses the capitals); false for any other
// character, which takes no space and draws nothing.
bool TextGlyphCell(char c, GlyphCell* cellOut);
