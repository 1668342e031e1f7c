#include "compose/glyphs.h"

namespace {

// Cells of the characters 32 to 126 that are not letters or digits. The number sign and
// the asterisk sit where the player's text.bmp keeps them ('*' in the bottom row at 20,
// '#' at the end of the middle row), so a title "#1" prints a number sign. The apostrophe
// and grave accent share the apostrophe's cell.
struct SignCell {
    char c;
    GlyphCell cell;
};

constexpr SignCell kSigns[] = {
    {' ', {142, 0, 3}}, {'|', {142, 0, 3}},  {'~', {142, 0, 3}},  {'!', {86, 6, 2}},
    {'"', {131, 0, 4}}, {'#', {150, 6, 5}},  {'$', {146, 6, 4}},  {'%', {131, 6, 5}},
    {'&', {126, 6, 5}}, {'\'', {80, 6, 2}},  {'(', {67, 6, 3}},   {')', {70, 6, 3}},
    {'*', {20, 12, 4}}, {'+', {95, 6, 5}},   {',', {137, 6, 2}},  {'-', {75, 6, 5}},
    {'.', {50, 6, 2}},  {'/', {105, 6, 5}},  {':', {61, 6, 3}},   {';', {61, 6, 3}},
    {'<', {67, 6, 3}},  {'=', {140, 6, 4}},  {'>', {70, 6, 3}},   {'?', {15, 12, 5}},
    {'@', {136, 0, 7}}, {'[', {111, 6, 3}},  {'\\', {100, 6, 5}}, {']', {117, 6, 3}},
    {'^', {120, 6, 6}}, {'_', {90, 6, 5}},   {'`', {80, 6, 2}},   {'{', {111, 6, 3}},
    {'}', {117, 6, 3}},
};

} // namespace

bool TextGlyphCell(char c, GlyphCell* cellOut) {
    if (c >= 'a' && c <= 'z') {
        c = char(c - 'a' + 'A');
    }
    if (c >= 'A' && c <= 'Z') {
        if (c == 'I') {
            *cellOut = {41, 0, 4};
        } else if (c == 'T') {
            *cellOut = {96, 0, 4};
        } else {
            *cellOut = {int16_t(5 * (c - 'A')), 0, 5};
        }
        return true;
    }
    if (c >= '0' && c <= '9') {
        *cellOut = {int16_t(5 * (c - '0')), 6, 5};
        return true;
    }
    for (const SignCell& s : kSigns) {
        if (s.c == c) {
            *cellOut = s.cell;
            return true;
        }
    }
    return false;
}
