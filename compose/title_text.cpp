#include "compose/glyphs.h"
#include "compose/stages.h"
#include "image/bmp_file.h"

namespace {

constexpr int32_t kStripWidth = 220;
constexpr int32_t kStripHeight = 8;
constexpr ColorRef kBlue = 0xFF0000;
constexpr ColorRef kYellow = 0x00FFFF;

// Where the strip goes: main.bmp, then the four active bars of titlebar.bmp.
constexpr std::pair<int32_t, int32_t> kTitleBarStrips[] = {{45, 4}, {45, 19}, {45, 62}, {45, 77}};

// The relief layer of a title: letters in the letter colour over their own shadow one pixel
// down and right, everything else blue, to be applied as colour codes.
std::unique_ptr<Dib> TitleRelief(const TitleSettings& title) {
    auto font = DibConvertTo24(DibLoadResource(kPieceFontMask).get());
    if (!font) {
        return nullptr;
    }
    auto glyphs = DibCreateLike(font.get(), kStripWidth, kStripHeight);
    auto relief = DibCreateLike(font.get(), kStripWidth, kStripHeight);
    DibFillRect(glyphs.get(), {0, 0, kStripWidth, kStripHeight}, kBlue);
    DibFillRect(relief.get(), {0, 0, kStripWidth, kStripHeight}, kBlue);

    int32_t width = 0;
    for (char c : title.text) {
        GlyphCell cell;
        if (TextGlyphCell(c, &cell)) {
            width += cell.width;
            if (width >= kStripWidth - 1) {
                width = kStripWidth - 1;
                break;
            }
        }
    }
    int32_t x0 = title.align == TitleAlign::Center ? (kStripWidth - width) / 2
                 : title.align == TitleAlign::Right ? kStripWidth - 1 - width
                                                    : 0;
    int32_t pen = 0;
    for (char c : title.text) {
        GlyphCell cell;
        if (!TextGlyphCell(c, &cell)) {
            continue;
        }
        DibCopyRect(glyphs.get(), x0 + pen, 0, cell.width, kGlyphHeight, font.get(), cell.x,
                    cell.y);
        pen += cell.width;
        if (pen >= kStripWidth) {
            break;
        }
    }
    const bool soft = title.color == TitleColor::Soft;
    const ColorRef letter = soft ? 0xC0C0C0 : 0xFFFFFF;
    const ColorRef shadow = soft ? 0x808080 : 0x000000;
    for (int32_t y = 0; y < kStripHeight; y++) {
        for (int32_t x = 0; x < kStripWidth; x++) {
            if (DibGetPixel(glyphs.get(), x, y) == kYellow) {
                DibSetPixel(relief.get(), x + 1, y + 1, shadow); // clipped at the edge
                DibSetPixel(relief.get(), x, y, letter);
            }
        }
    }
    return relief;
}

} // namespace

TitleFit FitTitleText(const std::string& text) {
    TitleFit fit;
    int32_t pen = 0;
    for (; fit.shown < text.size() && pen < kStripWidth; fit.shown++) {
        GlyphCell cell;
        if (TextGlyphCell(text[fit.shown], &cell)) {
            pen += cell.width;
        } else {
            fit.missing += text[fit.shown];
        }
    }
    return fit;
}

void DrawTitleText(SkinSet& s, const SkinInputs& in, bool redraw) {
    if (!s.mainBand) {
        return;
    }
    // Every call starts from the plain band, so a new title replaces the old one whole.
    CutBand(in, Band::Main, s.mainBand.get());
    auto strip = DibCreateLike(s.mainBand.get(), kStripWidth, kStripHeight);
    DibCopyRect(strip.get(), 0, 0, kStripWidth, kStripHeight, s.mainBand.get(), 18, 4);
    if (!in.title.text.empty()) {
        auto relief = TitleRelief(in.title);
        ShadeTemplate(strip.get(), 0, 0, kStripWidth, kStripHeight, relief.get(), 0, 0,
                      in.colors);
    }
    if (redraw && in.options.swapRedBlue) {
        DibSwapRedBlue(strip.get()); // the made bitmaps were swapped already
    }
    DibCopyRect(s.main.get(), 18, 4, kStripWidth, kStripHeight, strip.get(), 0, 0);
    for (auto [x, y] : kTitleBarStrips) {
        DibCopyRect(s.titlebar.get(), x, y, kStripWidth, kStripHeight, strip.get(), 0, 0);
    }
    if (redraw) {
        DibCopyRect(s.mainPreview.get(), 18, 4, kStripWidth, kStripHeight, strip.get(), 0, 0);
    }
}

void DrawSkinText(Dib* dib, int32_t x, int32_t y, const char* text, int32_t width,
                  const Dib* textBitmap) {
    int32_t pen = 0;
    for (const char* p = text; *p; p++) {
        GlyphCell cell;
        if (!TextGlyphCell(*p, &cell)) {
            continue;
        }
        if (pen >= width - 1) {
            return;
        }
        DibCopyRect(dib, x + pen, y, cell.width, kGlyphHeight, textBitmap, cell.x, cell.y);
        pen += cell.width;
    }
    GlyphCell space;
    TextGlyphCell(' ', &space);
    while (pen < width - 1) {
        DibCopyRect(dib, x + pen, y, 5, kGlyphHeight, textBitmap, space.x, space.y);
        pen += 5;
    }
}
