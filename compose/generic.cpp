// The generic windows of later players (media library, visualisation, video, plug-ins):
// gen.bmp, their frame and title font, cut from the playlist's band the way the playlist
// frame is, and genex.bmp, their controls and colours.
#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <vector>

#include "compose/glyphs.h"
#include "compose/recipe.h"
#include "compose/stages.h"
#include "image/bmp_file.h"
#include "image/color.h"

namespace {

constexpr ColorRef kBlack = 0x000000;
constexpr ColorRef kWhite = 0xFFFFFF;
constexpr ColorRef kYellow = 0x00FFFF;
// Players read a colour pixel of this value as "use your own colour".
constexpr ColorRef kPlayerDefault = Rgb(0, 198, 255);

// The title font: A to Z, 7 rows each, focused at row 88 and unfocused at row 96.
constexpr int32_t kFontRows[2] = {88, 96};
constexpr int32_t kFontHeight = 7;

// num/den of the way from a to b, channel by channel, truncating toward zero.
ColorRef Mix(ColorRef a, ColorRef b, int num, int den) {
    uint32_t channels[3];
    for (int c = 0; c < 3; c++) {
        int from = int((a >> (8 * c)) & 0xFF);
        int to = int((b >> (8 * c)) & 0xFF);
        channels[c] = uint32_t(from + (to - from) * num / den);
    }
    return Rgb(channels[0], channels[1], channels[2]);
}

// ink itself when it reads at `ratio` on every ground; otherwise ink moved the least number
// of 32nds toward black or white (whichever reads better there) that does. Black or white
// reads at 4.58:1 at least on any one colour.
ColorRef Legible(ColorRef ink, std::initializer_list<ColorRef> grounds, double ratio) {
    const ColorRef pole =
        LeastContrast(kBlack, grounds) >= LeastContrast(kWhite, grounds) ? kBlack : kWhite;
    for (int step = 0; step < 32; step++) {
        ColorRef c = Mix(ink, pole, step, 32);
        if (LeastContrast(c, grounds) >= ratio) {
            return c;
        }
    }
    return pole;
}

// The colour of median luminance in a rectangle of a 24-bit bitmap.
ColorRef MedianColor(const Dib* dib, int32_t x, int32_t y, int32_t w, int32_t h) {
    std::vector<ColorRef> colors;
    for (int32_t j = y; j < y + h; j++) {
        for (int32_t i = x; i < x + w; i++) {
            colors.push_back(DibGetPixel(dib, i, j));
        }
    }
    auto middle = colors.begin() + ptrdiff_t(colors.size() / 2);
    std::nth_element(colors.begin(), middle, colors.end(),
                     [](ColorRef a, ColorRef b) { return Luminance(a) < Luminance(b); });
    return *middle;
}

// The title font, in the colours of the display: each capital of the skin font on a cell of
// the title field's colour (the built-in piece paints the field in the display colour), the
// focused letters in the text colour and the unfocused ones halfway to the field, both at
// 3:1 at least. Players measure a letter up to the next pixel of the colour at (0, row), so
// that colour is one no letter holds.
void DrawTitleFont(Dib* gen, const ShadeColors& colors) {
    auto font = DibConvertTo24(DibLoadResource(kPieceFontMask).get());
    if (!font) {
        return;
    }
    const ColorRef field = colors.back;
    const ColorRef focused = Legible(colors.text, {field}, 3.0);
    const ColorRef inks[2] = {focused, Legible(Mix(focused, field, 1, 2), {field}, 3.0)};
    ColorRef delimiter = 0;
    for (ColorRef candidate : {Rgb(255, 0, 255), Rgb(0, 255, 255), Rgb(255, 255, 0), Rgb(1, 2, 3)}) {
        if (candidate != field && candidate != inks[0] && candidate != inks[1]) {
            delimiter = candidate;
            break;
        }
    }
    for (int row = 0; row < 2; row++) {
        const int32_t top = kFontRows[row];
        Fill(gen, 0, top, 1, top + kFontHeight, delimiter);
        int32_t x = 1;
        for (char c = 'A'; c <= 'Z'; c++) {
            GlyphCell cell;
            TextGlyphCell(c, &cell);
            Fill(gen, x, top, x + cell.width, top + kFontHeight, field);
            // The 5-row capitals sit one row down: Winamp writes the title at row 4 of the
            // title bar, Webamp at row 2, and the field's inside is rows 2 to 10.
            for (int32_t j = 0; j < kGlyphHeight; j++) {
                for (int32_t i = 0; i < cell.width; i++) {
                    if (DibGetPixel(font.get(), cell.x + i, cell.y + j) == kYellow) {
                        DibSetPixel(gen, x + i, top + 1 + j, inks[row]);
                    }
                }
            }
            Fill(gen, x + cell.width, top, x + cell.width + 1, top + kFontHeight, delimiter);
            x += cell.width + 1;
        }
    }
}

// gen.bmp: the six pieces of each title row, the sides and the bottom pieces cut from the
// band where the playlist frame takes them, the title font, then the piece that dresses the
// frame (a template folder's gen.bmp wins over all of it where it is not see-through).
void MakeGen(SkinSet& s, const SkinInputs& in) {
    const Dib* band = s.mainBand.get();
    Dib* gen = (s.gen = DibCreateLike(band, 178, 103)).get();
    Fill(gen, 0, 0, 178, 103, kWhite); // what no step writes stays white
    for (int32_t y : {0, 21}) {
        Copy(gen, 0, y, 25, 20, band, 0, 0);
        Copy(gen, 26, y, 25, 20, band, 100, 0);
        Copy(gen, 52, y, 25, 20, band, 125, 0);
        Copy(gen, 78, y, 25, 20, band, 150, 0);
        Copy(gen, 104, y, 25, 20, band, 62, 0);
        Copy(gen, 130, y, 25, 20, band, 250, 0);
    }
    Copy(gen, 148, 42, 9, 9, band, 264, 3);
    Copy(gen, 127, 42, 11, 29, band, 0, 20);
    Copy(gen, 139, 42, 8, 29, band, 267, 20);
    Copy(gen, 158, 42, 11, 24, band, 0, 78);
    Copy(gen, 170, 42, 8, 24, band, 267, 78);
    Copy(gen, 0, 42, 125, 14, band, 0, 102);
    Copy(gen, 0, 57, 125, 14, band, 150, 102);
    Copy(gen, 127, 72, 25, 14, band, 125, 102);
    DrawTitleFont(gen, in.colors);
    ApplyTemplate(gen, kPieceGen, 0, in.pieces, in.colors);
}

// genex.bmp: the button, scroll arrows and thumbs on the texture of the playlist's list area.
// The colour pixels are written with the file (GenexWithColors).
void MakeGenEx(SkinSet& s, const SkinInputs& in) {
    Dib* genex = (s.genex = DibCreateLike(s.mainBand.get(), 112, 59)).get();
    Copy(genex, 0, 0, 112, 59, s.mainBand.get(), 12, 20);
    ApplyTemplate(genex, kPieceGenEx, 0, in.pieces, in.colors);
}

} // namespace

void MakeGenericSkin(SkinSet& s, const SkinInputs& in) {
    MakeGen(s, in);
    MakeGenEx(s, in);
}

std::unique_ptr<Dib> GenexWithColors(const SkinSet& skin, const PlaylistStyle& style) {
    std::unique_ptr<Dib> genex = DibDuplicate(skin.genex.get());
    if (!genex) {
        return nullptr;
    }
    if (skin.redBlueSwapped) {
        DibSwapRedBlue(genex.get()); // read and written as made, then swapped like the rest
    }
    const ColorRef listBack = style.normalBack;
    const ColorRef listText = style.normalText;
    const ColorRef selected = style.selectedBack;
    // The window a shade toward the list's text, so lists stand apart from it.
    const ColorRef window = Mix(listBack, listText, 1, 8);
    const ColorRef windowText = Legible(listText, {window}, 4.5);
    // The player writes a button's label on the middle it stretches, resting and pressed.
    const ColorRef face = MedianColor(genex.get(), 4, 4, 39, 7);
    const ColorRef pressedFace = MedianColor(genex.get(), 4, 20, 39, 7);
    const ColorRef header = Mix(window, windowText, 1, 4);
    // Scroll bars: num/den of the way to the window text, half greyed, so the bar reads on the
    // window without the full strength of the text.
    auto scrollBar = [&](int num, int den) {
        return Legible(Mix(Mix(window, windowText, num, den), 0x808080, 1, 2), {window}, 4.5);
    };
    const ColorRef inactive = Mix(selected, listBack, 1, 2);
    const ColorRef colors[22] = {
        listBack,                                            // 48 item background
        listText,                                            // 50 item text
        window,                                              // 52 window background
        Legible(windowText, {face, pressedFace}, 4.5),       // 54 button text
        windowText,                                          // 56 window text
        Mix(window, windowText, 1, 2),                       // 58 dividers, sunken borders
        selected,                                            // 60 selection in playlists
        header,                                              // 62 list header background
        Legible(windowText, {header}, 4.5),                  // 64 header text
        Mix(header, kWhite, 3, 8),                           // 66 header frame, top and left
        Mix(header, kBlack, 3, 8),                           // 68 bottom and right
        Mix(header, kBlack, 5, 8),                           // 70 pressed
        header,                                              // 72 header empty area
        scrollBar(1, 2),                                     // 74 scroll bar
        scrollBar(7, 16),                                    // 76
        scrollBar(3, 4),                                     // 78 scroll bar pressed
        scrollBar(11, 16),                                   // 80
        window,                                              // 82 scroll bar dead area
        Legible(style.currentText, {selected}, 4.5),         // 84 selection bar text
        selected,                                            // 86 and background
        Legible(listText, {inactive}, 4.5),                  // 88 inactive selection text
        inactive,                                            // 90 and background
    };
    for (int i = 0; i < 22; i++) {
        ColorRef c = colors[i];
        DibSetPixel(genex.get(), 48 + 2 * i, 0, c == kPlayerDefault ? Rgb(0, 198, 254) : c);
    }
    if (skin.redBlueSwapped) {
        DibSwapRedBlue(genex.get());
    }
    return genex;
}
