// The skin font's cells and where the engraved title lands in its strip.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>

#include "compose/glyphs.h"
#include "compose/stages.h"
#include "tests/unit/test_util.h"

// Every printable character's cell in the 155 x 18 font layout: x, y and width, as the font
// layout places them. '#' and '*' sit where the player's text.bmp keeps them.
TEST(Glyphs, EveryCellIsWhereTheFontLayoutPutsIt) {
    struct Cells {
        const char* chars;
        int16_t x, y, width;
    } signs[] = {
        {" |~", 142, 0, 3}, {"!", 86, 6, 2},   {"\"", 131, 0, 4}, {"#", 150, 6, 5},
        {"$", 146, 6, 4},   {"%", 131, 6, 5},  {"&", 126, 6, 5},  {"'`", 80, 6, 2},
        {"(<", 67, 6, 3},   {")>", 70, 6, 3},  {"*", 20, 12, 4},  {"+", 95, 6, 5},
        {",", 137, 6, 2},   {"-", 75, 6, 5},   {".", 50, 6, 2},   {"/", 105, 6, 5},
        {":;", 61, 6, 3},   {"=", 140, 6, 4},  {"?", 15, 12, 5},  {"@", 136, 0, 7},
        {"[{", 111, 6, 3},  {"\\", 100, 6, 5}, {"]}", 117, 6, 3}, {"^", 120, 6, 6},
        {"_", 90, 6, 5},
    };
    std::map<char, std::array<int16_t, 3>> want;
    for (const Cells& s : signs) {
        for (const char* c = s.chars; *c; c++) {
            want[*c] = {s.x, s.y, s.width};
        }
    }
    for (int n = 0; n < 26; n++) {
        int16_t x = n == 'I' - 'A' ? 41 : n == 'T' - 'A' ? 96 : int16_t(5 * n);
        int16_t width = n == 'I' - 'A' || n == 'T' - 'A' ? 4 : 5;
        want[char('A' + n)] = want[char('a' + n)] = {x, 0, width};
    }
    for (int d = 0; d < 10; d++) {
        want[char('0' + d)] = {int16_t(5 * d), 6, 5};
    }
    ASSERT_EQ(want.size(), 95u);
    for (int c = 0; c < 256; c++) {
        GlyphCell cell{};
        bool found = TextGlyphCell(char(c), &cell);
        auto it = want.find(char(c));
        ASSERT_EQ(found, it != want.end()) << "code " << c;
        if (found) {
            EXPECT_EQ((std::array<int16_t, 3>{cell.x, cell.y, cell.width}), it->second)
                << "'" << char(c) << "'";
        }
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
