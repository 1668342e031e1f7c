// Whether the skin reads on any picture: skins made from plain white, black, grey, a
// saturated light and a saturated dark picture, with the built-in pieces and with the High
// Contrast template folder, measured sprite by sprite with the WCAG contrast ratio.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "compose/skin.h"
#include "image/bmp_file.h"
#include "output/skin_writer.h"
#include "tests/unit/test_util.h"

namespace {

double Luminance(ColorRef c) { // WCAG 2 relative luminance of an sRGB colour
    auto channel = [](uint8_t v) {
        double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(RedOf(c)) + 0.7152 * channel(GreenOf(c)) + 0.0722 * channel(BlueOf(c));
}

std::vector<double> Luminances(const Dib* dib, int32_t x, int32_t y, int32_t w, int32_t h) {
    std::vector<double> lum;
    for (int32_t j = y; j < y + h; j++) {
        for (int32_t i = x; i < x + w; i++) {
            lum.push_back(Luminance(DibGetPixel(dib, i, j)));
        }
    }
    return lum;
}

double Ratio(ColorRef a, ColorRef b) {
    return (std::max(Luminance(a), Luminance(b)) + 0.05) /
           (std::min(Luminance(a), Luminance(b)) + 0.05);
}

// The share of pixels of a whose contrast ratio with the pixel of b at the same place is
// at least `ratio`.
double ShareAt(double ratio, const std::vector<double>& a, const std::vector<double>& b) {
    size_t n = 0;
    for (size_t i = 0; i < a.size(); i++) {
        n += (std::max(a[i], b[i]) + 0.05) / (std::min(a[i], b[i]) + 0.05) >= ratio;
    }
    return double(n) / double(a.size());
}

// A sprite, or a grid of cols x rows equal sprites stepping by (dx, dy); least is the share
// of its pixels at 3:1 against the sprite's median.
struct Sprite {
    const char* name;
    std::unique_ptr<Dib> SkinSet::*bitmap;
    int32_t x, y, w, h, cols, dx, rows, dy;
    double least;
    bool builtIn; // measured with the built-in pieces too (their content is ours)
};

// Two states of one control: (x, y) and (x2, y2) in the same bitmap.
struct StatePair {
    const char* name;
    std::unique_ptr<Dib> SkinSet::*bitmap;
    int32_t x, y, x2, y2, w, h;
};

using S = SkinSet;
constexpr double kButton = 0.08;
constexpr double kStrip = 0.04; // grooves and title strips

const Sprite kSprites[] = {
    {"transport", &S::cbuttons, 0, 0, 23, 18, 4, 23, 2, 18, kButton, true},
    {"next", &S::cbuttons, 92, 0, 22, 18, 1, 0, 2, 18, kButton, true},
    {"eject", &S::cbuttons, 114, 0, 22, 16, 1, 0, 2, 16, kButton, true},
    {"repeat", &S::shufrep, 0, 0, 28, 15, 1, 0, 4, 15, kButton, true},
    {"shuffle", &S::shufrep, 28, 0, 47, 15, 1, 0, 4, 15, kButton, true},
    {"EQ / PL", &S::shufrep, 0, 61, 23, 12, 4, 23, 2, 12, kButton, true},
    {"title-bar button", &S::titlebar, 0, 0, 9, 9, 3, 9, 2, 9, kButton, true},
    {"shade toggle", &S::titlebar, 0, 18, 9, 9, 2, 9, 2, 9, kButton, true},
    {"clutter bar", &S::titlebar, 304, 0, 8, 43, 1, 0, 1, 0, kButton, true},
    {"clutter pressed", &S::titlebar, 304, 44, 8, 43, 5, 8, 1, 0, kButton, true},
    {"shade-mode transport", &S::titlebar, 196, 45, 56, 8, 1, 0, 1, 0, kButton, true},
    {"position thumb", &S::posbar, 248, 0, 29, 10, 2, 30, 1, 0, kButton, true},
    {"volume thumb", &S::volume, 0, 422, 14, 11, 2, 15, 1, 0, kButton, true},
    {"about badge", &S::main, 253, 91, 13, 15, 1, 0, 1, 0, kButton, true},
    {"position groove", &S::posbar, 0, 0, 248, 10, 1, 0, 1, 0, kStrip, true},
    {"volume groove", &S::volume, 0, 0, 68, 13, 1, 0, 1, 0, kStrip, true},
    {"eq close", &S::eqmain, 0, 116, 9, 9, 1, 0, 2, 9, kButton, true},
    {"ON", &S::eqmain, 10, 119, 26, 12, 4, 59, 1, 0, kButton, true},
    {"AUTO", &S::eqmain, 36, 119, 32, 12, 4, 59, 1, 0, kButton, true},
    {"PRESETS", &S::eqmain, 224, 164, 44, 12, 1, 0, 2, 12, kButton, true},
    {"eq knob", &S::eqmain, 0, 164, 11, 11, 1, 0, 2, 12, kButton, true},
    {"eq scale", &S::eqmain, 50, 36, 23, 8, 1, 0, 3, 29, kButton, true},
    {"eq band labels", &S::eqmain, 12, 102, 250, 9, 1, 0, 1, 0, kButton, true},
    {"eq title strip", &S::eqmain, 0, 134, 275, 14, 1, 0, 1, 0, kStrip, true},
    {"eq shade bar", &S::eqex, 0, 0, 275, 14, 1, 0, 1, 0, kStrip, true},
    {"eq shade thumbs", &S::eqex, 1, 30, 9, 7, 2, 10, 1, 0, kButton, true},
    {"eq shade button", &S::eqex, 1, 38, 9, 9, 2, 10, 2, 9, kButton, true},
    {"playlist title", &S::pledit, 26, 0, 100, 20, 1, 0, 1, 0, kStrip, true},
    {"playlist button", &S::pledit, 157, 3, 9, 9, 2, 10, 2, 21, kButton, true},
    {"playlist pressed", &S::pledit, 52, 42, 9, 9, 2, 10, 1, 0, kButton, true},
    {"playlist shade button", &S::pledit, 128, 45, 9, 9, 2, 10, 2, 15, kButton, true},
    {"playlist transport", &S::pledit, 129, 94, 60, 10, 1, 0, 1, 0, kButton, true},
    {"add menu", &S::pledit, 0, 111, 22, 18, 2, 23, 3, 19, kButton, true},
    {"remove menu", &S::pledit, 54, 111, 22, 18, 2, 23, 4, 19, kButton, true},
    {"select menu", &S::pledit, 104, 111, 22, 18, 2, 23, 3, 19, kButton, true},
    {"misc menu", &S::pledit, 154, 111, 22, 18, 2, 23, 3, 19, kButton, true},
    {"list menu", &S::pledit, 204, 111, 22, 18, 2, 23, 3, 19, kButton, true},
    {"scroll knob", &S::pledit, 52, 53, 8, 18, 2, 9, 1, 0, kButton, true},
    {"generic close", &S::gen, 144, 3, 9, 9, 1, 0, 2, 21, kButton, true},
    {"generic close pressed", &S::gen, 148, 42, 9, 9, 1, 0, 1, 0, kButton, true},
    {"generic button", &S::genex, 0, 0, 47, 15, 1, 0, 2, 16, kButton, true},
    {"scroll arrows", &S::genex, 0, 31, 14, 14, 4, 14, 2, 14, kButton, true},
    {"scroll thumbs", &S::genex, 56, 31, 14, 28, 2, 14, 1, 0, kButton, true},
    // Fixed by the window's design in the built-in set; a folder's main.bmp and stereo.bmp
    // replace them.
    {"kbps label", &S::main, 129, 41, 20, 9, 1, 0, 1, 0, kButton, false},
    {"khz label", &S::main, 169, 41, 16, 9, 1, 0, 1, 0, kButton, false},
    {"stereo", &S::monoster, 0, 0, 29, 12, 1, 0, 2, 12, kButton, false},
    {"mono", &S::monoster, 29, 0, 27, 12, 1, 0, 2, 12, kButton, false},
    {"title strip", &S::titlebar, 27, 0, 275, 14, 1, 0, 1, 0, kStrip, false},
};

const StatePair kStates[] = {
    {"play pressed", &S::cbuttons, 23, 0, 23, 18, 23, 18},
    {"eject pressed", &S::cbuttons, 114, 0, 114, 16, 22, 16},
    {"repeat on", &S::shufrep, 0, 0, 0, 30, 28, 15},
    {"repeat pressed", &S::shufrep, 0, 0, 0, 15, 28, 15},
    {"shuffle on", &S::shufrep, 28, 0, 28, 30, 47, 15},
    {"shuffle on pressed", &S::shufrep, 28, 30, 28, 45, 47, 15},
    {"EQ on", &S::shufrep, 0, 61, 0, 73, 23, 12},
    {"PL on", &S::shufrep, 23, 61, 23, 73, 23, 12},
    {"EQ pressed", &S::shufrep, 0, 61, 46, 61, 23, 12},
    {"menu pressed", &S::titlebar, 0, 0, 0, 9, 9, 9},
    {"close pressed", &S::titlebar, 18, 0, 18, 9, 9, 9},
    {"clutter O pressed", &S::titlebar, 304, 3, 304, 47, 8, 8},
    {"ON lit", &S::eqmain, 10, 119, 69, 119, 26, 12},
    {"AUTO lit", &S::eqmain, 36, 119, 95, 119, 32, 12},
    {"ON pressed", &S::eqmain, 10, 119, 128, 119, 26, 12},
    {"PRESETS pressed", &S::eqmain, 224, 164, 224, 176, 44, 12},
    {"eq close pressed", &S::eqmain, 0, 116, 0, 125, 9, 9},
    {"eq shade close pressed", &S::eqex, 11, 38, 11, 47, 9, 9},
    {"menu item lit", &S::pledit, 0, 111, 23, 111, 22, 18},
    {"position thumb pressed", &S::posbar, 248, 0, 278, 0, 29, 10},
    {"generic close pressed", &S::gen, 144, 3, 148, 42, 9, 9},
    {"generic button pressed", &S::genex, 0, 0, 0, 16, 47, 15},
    {"scroll arrow pressed", &S::genex, 0, 31, 28, 31, 14, 14},
};

} // namespace

TEST(Contrast, EverySpriteReadsAndEveryStateStandsApartOnPlainPictures) {
    for (std::string folder : {"", KORVANE_TEMPLATES "/High Contrast"}) {
        // White, black, grey, a saturated light and a saturated dark picture.
        for (ColorRef color :
             {0xFFFFFFu, 0x000000u, 0x808080u, Rgb(255, 230, 0), Rgb(120, 0, 10)}) {
            SCOPED_TRACE(testing::Message() << (folder.empty() ? "built-in" : folder)
                                            << ", picture " << std::hex << color);
            auto picture = DibCreate(275, 116, 24);
            DibFillRect(picture.get(), {0, 0, 275, 116}, color);
            SkinInputs in; // default display colours: white text on black
            in.picture = picture.get();
            in.pieces = PieceSource(folder);
            auto skin = MakeSkin(in);
            for (const Sprite& s : kSprites) {
                const Dib* dib = (skin.get()->*s.bitmap).get();
                for (int32_t k = 0; k < s.cols * s.rows && (s.builtIn || !folder.empty()); k++) {
                    auto lum = Luminances(dib, s.x + s.dx * (k % s.cols), s.y + s.dy * (k / s.cols),
                                          s.w, s.h);
                    std::vector<double> sorted = lum;
                    std::ranges::nth_element(sorted, sorted.begin() + sorted.size() / 2);
                    double share =
                        ShareAt(3.0, lum, std::vector(lum.size(), sorted[lum.size() / 2]));
                    EXPECT_GE(share, s.least) << s.name << " " << k;
                }
            }
            for (const StatePair& p : kStates) {
                const Dib* dib = (skin.get()->*p.bitmap).get();
                double share = ShareAt(1.5, Luminances(dib, p.x, p.y, p.w, p.h),
                                       Luminances(dib, p.x2, p.y2, p.w, p.h));
                EXPECT_GE(share, 0.06) << p.name;
            }
        }
    }
}

// The title font of gen.bmp as a player measures it (each letter up to the next pixel of the
// colour at (0, row)): 26 letters of the same widths in both rows, ending where the 5-pixel
// capitals (4 for I and T) and their delimiters end, every letter at 3:1 on its field, whatever
// the display colours, those that are the delimiter's candidates among them.
TEST(Contrast, TheGenericTitleFontMeasuresAndReadsInAnyDisplayColours) {
    const ShadeColors cases[] = {{0x000000, 0xFFFFFF}, {Rgb(255, 0, 255), Rgb(0, 255, 255)},
                                 {Rgb(120, 120, 120), Rgb(130, 130, 130)},
                                 {0xFFFFFF, Rgb(255, 0, 255)}};
    for (const ShadeColors& colors : cases) {
        auto picture = DibCreate(275, 116, 24);
        SkinInputs in;
        in.picture = picture.get();
        in.colors = colors;
        auto gen = std::move(MakeSkin(in)->gen);
        std::vector<int32_t> widths[2];
        for (int row = 0; row < 2; row++) {
            const int32_t y = row == 0 ? 88 : 96;
            const ColorRef delimiter = DibGetPixel(gen.get(), 0, y);
            int32_t x = 1;
            for (int letter = 0; letter < 26 && x < gen->Width(); letter++) {
                int32_t end = x;
                while (end < gen->Width() && DibGetPixel(gen.get(), end, y) != delimiter) {
                    end++;
                }
                const ColorRef field = DibGetPixel(gen.get(), x, y);
                for (int32_t j = y; j < y + 7; j++) {
                    for (int32_t i = x; i < end; i++) {
                        ColorRef c = DibGetPixel(gen.get(), i, j);
                        EXPECT_TRUE(c == field || Ratio(c, field) >= 3.0) << letter << " " << j;
                    }
                }
                widths[row].push_back(end - x);
                x = end + 1;
            }
            EXPECT_EQ(x, 1 + 24 * 6 + 2 * 5) << std::hex << colors.back << " " << colors.text;
        }
        EXPECT_EQ(widths[0], widths[1]);
    }
}

// genex.bmp's colour pixels as written beside pledit.txt: the lists in the playlist's colours,
// every colour the skin picks at 4.5:1 on what it is drawn on (the button text on both faces),
// never the value players read as "use your own", and swapped with the other bitmaps.
TEST(Contrast, GenericWindowColoursFollowThePlaylistAndRead) {
    const ColorRef playerDefault = Rgb(0, 198, 255);
    const std::pair<PlaylistStyle, bool> cases[] = {
        {PlaylistStyle(), false},
        {{Rgb(136, 136, 136), Rgb(128, 128, 128), Rgb(119, 119, 119), Rgb(112, 112, 120)}, false},
        {{Rgb(255, 255, 0), Rgb(250, 250, 250), 0xFFFFFF, playerDefault}, true},
        {{playerDefault, 0x000000, playerDefault, Rgb(30, 0, 60)}, false},
    };
    for (const auto& [style, swap] : cases) {
        auto picture = MakePattern24(275, 116);
        SkinInputs in;
        in.picture = picture.get();
        in.options.swapRedBlue = swap;
        auto skin = MakeSkin(in);
        std::unique_ptr<Dib> genex;
        for (const SkinFile& file : SkinFileSet(*skin, style, true)) {
            if (std::string(file.name) == "genex.bmp") {
                genex = std::move(BmpDecodeFile(file.bytes).dib);
            }
        }
        ASSERT_TRUE(genex);
        auto at = [&](int32_t x, int32_t y) {
            ColorRef c = DibGetPixel(genex.get(), x, y);
            return swap ? Rgb(BlueOf(c), GreenOf(c), RedOf(c)) : c;
        };
        auto slot = [&](int32_t x) { return at(x, 0); };
        auto kept = [&](ColorRef c) { return c == playerDefault ? Rgb(0, 198, 254) : c; };
        SCOPED_TRACE(testing::Message() << std::hex << style.normalBack << " " << swap);
        EXPECT_EQ((std::array{slot(48), slot(50), slot(60), slot(86)}),
                  (std::array{kept(style.normalBack), kept(style.normalText),
                              kept(style.selectedBack), kept(style.selectedBack)}));
        const std::pair<ColorRef, ColorRef> pairs[] = {
            {slot(56), slot(52)}, {slot(54), at(23, 7)}, {slot(54), at(23, 23)},
            {slot(64), slot(62)}, {slot(74), slot(52)}, {slot(76), slot(52)},
            {slot(78), slot(52)}, {slot(80), slot(52)}, {slot(84), slot(86)},
            {slot(88), slot(90)},
        };
        for (const auto& [ink, ground] : pairs) {
            EXPECT_GE(Ratio(ink, ground), 4.5) << std::hex << ink << " on " << ground;
        }
        for (int32_t x = 48; x <= 90; x += 2) {
            EXPECT_NE(slot(x), playerDefault) << x;
        }
    }
}
