// The skin font's cells and where the engraved title lands in its strip.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <string>

#include "compose/glyphs.h"
#include "compose/stages.h"
#include "image/bmp_file.h"
#include "tests/unit/test_util.h"

// text.bmp as a player reads it: 31 cells of 5 x 6 a row, '\x7f' where no character 32..126
// reads. In the font mask, drawn in that layout, the title's window of a character shows the ink
// of the character's cell, starts on it (but ':' and ' ') and ends on one blank column (but '_').
TEST(Glyphs, EachWindowShowsTheInkAPlayerReadsForItsCharacter) {
    const char* rows[] = {"ABCDEFGHIJKLMNOPQRSTUVWXYZ\"@\x7f\x7f ",
                          "0123456789\x7f.:()-'!_+\\/[]^&%,=$#", "\x7f\x7f\x7f?*"};
    auto font = DibLoadResource(111);
    auto columns = [&](int x0, int y0, int width) { // a char per column, one bit per ink pixel
        std::string bits(width, '\0');
        for (int x = 0; x < width; x++) {
            for (int y = 0; y < kGlyphHeight; y++) {
                bits[x] |= (DibGetPixel(font.get(), x0 + x, y0 + y) == Rgb(255, 255, 0)) << y;
            }
        }
        return bits;
    };
    auto ink = [](std::string bits) { // without the blank columns either side
        bits.erase(bits.find_last_not_of('\0') + 1);
        return bits.erase(0, bits.find_first_not_of('\0'));
    };
    auto window = [](char c) {
        GlyphCell cell{-1, -1, 0};
        bool found = TextGlyphCell(c, &cell);
        return std::array{int(found), int(cell.x), int(cell.y), int(cell.width)};
    };
    for (int row = 0; row < 3; row++) {
        for (int col = 0; rows[row][col]; col++) {
            char c = rows[row][col];
            auto [found, x, y, width] = window(c);
            if (c != '\x7f') {
                ASSERT_TRUE(found && width > 0) << c;
                std::string bits = columns(x, y, width);
                EXPECT_EQ(ink(bits), ink(columns(5 * col, 6 * row, 5))) << c;
                EXPECT_TRUE((bits.front() || c == ':' || c == ' ') && (!bits.back() || c == '_'))
                    << c;
                EXPECT_EQ(window(char(std::tolower(c))), window(c)) << c;
            }
        }
    }
    for (std::string pair : {"<(", ">)", "{[", "}]", "`'", ";:", "| ", "~ "}) {
        EXPECT_EQ(window(pair[0]), window(pair[1])) << pair;
    }
    for (int c = 0; c < 256; c++) {
        EXPECT_EQ(window(char(c))[0], c >= 32 && c < 127) << c;
    }
}

// The title is engraved into main.bmp's strip (the title bar's copies are the digests'), at 0
// (Left), (220 - w) / 2 rounded down (Center) or 219 - w (Right), w the text's width capped
// at 219: the same marks as Left, shifted.
TEST(TitleText, AlignsByTheTextWidth) {
    auto picture = MakePattern24(275, 116);
    SkinInputs in;
    in.picture = picture.get();
    in.colors = {0x302010, 0x40E0FF};
    auto band = DibCreate(275, 116, 24);
    CutBand(in, Band::Main, band.get());
    auto marks = [&](const std::string& text, TitleAlign align) {
        in.title = {text, align, TitleColor::Hard};
        auto skin = MakeSkin(in);
        std::vector<int32_t> columns;
        for (int32_t x = 0; x < 220; x++) {
            if (!SameRect(skin->main.get(), 18 + x, 4, band.get(), 18 + x, 4, 1, 8)) {
                columns.push_back(x);
            }
        }
        return columns;
    };
    EXPECT_TRUE(marks("", TitleAlign::Center).empty()) << "no text: the plain picture";
    // Lower case prints as capitals; characters outside 32..126 take no room.
    EXPECT_EQ(marks("i\x01i", TitleAlign::Left), marks("II", TitleAlign::Left));
    // Free widths 212 and 214 (even), 215 and 211 (odd); wider than the strip, capped.
    const std::pair<std::string, int32_t> cases[] = {
        {"II", 8}, {"T.", 6}, {"A", 5}, {"AI", 9}, {std::string(44, 'M'), 219}};
    for (const auto& [text, width] : cases) {
        std::vector<int32_t> left = marks(text, TitleAlign::Left);
        ASSERT_FALSE(left.empty()) << text;
        for (auto [align, shift] : {std::pair{TitleAlign::Center, (220 - width) / 2},
                                    std::pair{TitleAlign::Right, 219 - width}}) {
            std::vector<int32_t> want;
            for (int32_t x : left) {
                if (x + shift < 220) {
                    want.push_back(x + shift);
                }
            }
            EXPECT_EQ(marks(text, align), want) << text << " aligned " << int(align);
        }
    }
}

// What the engraving leaves out: characters outside the font (UTF-8 bytes among them), and
// whatever follows once the 220-pixel strip is full (M is 5 wide, I is 4).
TEST(TitleText, TellsWhatTheEngravingLeavesOut) {
    const std::tuple<std::string, std::string, size_t> cases[] = {
        {"Caf\xC3\xA9 \xC3\xBC\x01!", "\xC3\xA9\xC3\xBC\x01", 10},
        {std::string(45, 'M'), "", 44},
        {std::string(60, 'I'), "", 55},
    };
    for (const auto& [text, missing, shown] : cases) {
        TitleFit fit = FitTitleText(text);
        EXPECT_EQ(std::pair(fit.missing, fit.shown), std::pair(missing, shown)) << text;
    }
}
