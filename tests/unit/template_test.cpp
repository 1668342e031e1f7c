#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "compose/template.h"
#include "image/bmp_file.h"
#include "tests/unit/test_util.h"

namespace fs = std::filesystem;

namespace {

const ShadeColors kColors{Rgb(10, 20, 30), Rgb(200, 150, 100)};

// A flat grey picture; every code's effect on it is a distinct value.
std::unique_ptr<Dib> Grey(int32_t width, int32_t height, uint8_t level = 100) {
    auto dib = DibCreate(width, height, 24);
    DibFillRect(dib.get(), {0, 0, width, height}, Rgb(level, level, level));
    return dib;
}

// A 4-bit mask whose table holds the given colours; pixel x of every row is entry x.
std::unique_ptr<Dib> CodeMask(const std::vector<ColorRef>& colours) {
    auto mask = DibCreate(int32_t(colours.size()), 2, 4);
    for (size_t i = 0; i < colours.size(); i++) {
        uint8_t* e = mask->Bytes() + 40 + 4 * i;
        e[0] = BlueOf(colours[i]);
        e[1] = GreenOf(colours[i]);
        e[2] = RedOf(colours[i]);
        for (int32_t y = 0; y < 2; y++) {
            uint8_t& b = mask->Row(y)[i / 2];
            b = uint8_t(i % 2 == 0 ? (b & 0x0F) | i << 4 : (b & 0xF0) | i);
        }
    }
    return mask;
}

// A colour code and what it makes of grey 100.
const std::vector<std::pair<ColorRef, ColorRef>> kCodeCases = {
    {0x000000, Rgb(37, 37, 37)},    {0x808080, Rgb(63, 63, 63)},    {0xC0C0C0, Rgb(138, 138, 138)},
    {0xFFFFFF, Rgb(164, 164, 164)}, {0x008000, kColors.back},       {0x00FFFF, kColors.text},
    {0x008080, 0x808080},           {0x00FF00, 0xC0C0C0},           {0xFF00FF, 0x00FF00},
    {0xFF0000, Rgb(100, 100, 100)}, {0x800000, Rgb(100, 100, 100)}, {0x0000FF, Rgb(100, 100, 100)},
    {0x123456, Rgb(100, 100, 100)},
};

std::string Folder(const std::string& name) {
    std::string path = TempPath(name);
    fs::create_directories(path);
    return path;
}

} // namespace

TEST(ShadeTemplate, EachCodeHasItsOneEffect) {
    std::vector<ColorRef> codes;
    for (auto [code, result] : kCodeCases) {
        codes.push_back(code);
    }
    auto palette = CodeMask(codes);
    auto trueColour = DibConvertTo24(palette.get());
    for (const Dib* mask : {palette.get(), trueColour.get()}) {
        auto dib = Grey(int32_t(codes.size()) + 2, 3);
        ShadeTemplate(dib.get(), 1, 1, int32_t(codes.size()), 1, mask, 0, 1, kColors);
        for (size_t i = 0; i < kCodeCases.size(); i++) {
            EXPECT_EQ(DibGetPixel(dib.get(), int32_t(i) + 1, 1), kCodeCases[i].second)
                << std::hex << kCodeCases[i].first << " in a " << std::dec << mask->BitCount()
                << "-bit mask";
            EXPECT_EQ(DibGetPixel(dib.get(), int32_t(i) + 1, 0), Rgb(100, 100, 100));
            EXPECT_EQ(DibGetPixel(dib.get(), int32_t(i) + 1, 2), Rgb(100, 100, 100));
        }
    }
}

TEST(CopyTemplateKeyed, BlueAndNavyLetThePictureShow) {
    auto tpl = DibCreate(4, 2, 24);
    const ColorRef row[4] = {0xFF0000, 0x800000, 0x123456, 0xFE0000};
    for (int32_t x = 0; x < 4; x++) {
        DibSetPixel(tpl.get(), x, 1, row[x]);
    }
    auto dib = Grey(6, 2);
    CopyTemplateKeyed(dib.get(), 2, 0, 4, 1, tpl.get(), 0, 1);
    const ColorRef want[6] = {Rgb(100, 100, 100), Rgb(100, 100, 100), Rgb(100, 100, 100),
                              Rgb(100, 100, 100), 0x123456,           0xFE0000};
    for (int32_t x = 0; x < 6; x++) {
        EXPECT_EQ(DibGetPixel(dib.get(), x, 0), want[x]) << x;
        EXPECT_EQ(DibGetPixel(dib.get(), x, 1), Rgb(100, 100, 100)) << x;
    }
    // Pixels beyond the template are see-through, not black.
    auto wide = Grey(6, 2);
    CopyTemplateKeyed(wide.get(), 0, 0, 6, 2, tpl.get(), 2, 0);
    EXPECT_EQ(DibGetPixel(wide.get(), 0, 1), 0x123456u);
    EXPECT_EQ(DibGetPixel(wide.get(), 2, 1), Rgb(100, 100, 100));
    EXPECT_EQ(DibGetPixel(wide.get(), 5, 1), Rgb(100, 100, 100));
}

TEST(TemplateFiles, OnlyFourEightAndTwentyFourBitFilesAreUsable) {
    std::string folder = Folder("depths");
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        std::string path = folder + "/" + std::to_string(bits) + ".bmp";
        EXPECT_TRUE(DibWriteFile(path.c_str(), DibCreate(5, 5, bits).get()));
        auto read = ReadTemplateFile(path.c_str());
        bool usable = bits == 4 || bits == 8 || bits == 24;
        EXPECT_EQ(read ? read->BitCount() : 0, usable ? bits : 0);
    }
    EXPECT_TRUE(ReadTemplateFile(DataPath("im-rle8.bmp").c_str()));
    EXPECT_FALSE(ReadTemplateFile((folder + "/missing.bmp").c_str()));
}

TEST(ApplyTemplate, AFolderFileReplacesOnlyItsOwnPiece) {
    std::string folder = Folder("buttons-only");
    auto image = DibCreate(136, 36, 24);
    for (int32_t y = 0; y < 36; y++) {
        for (int32_t x = 0; x < 136; x++) {
            DibSetPixel(image.get(), x, y, (x + y) % 3 == 0 ? 0xFF0000 : Rgb(x, y, 77));
        }
    }
    ASSERT_TRUE(DibWriteFile((folder + "/button.bmp").c_str(), image.get()));
    auto buttons = MakePattern24(136, 36);
    ApplyTemplate(buttons.get(), kPieceButton, 0, PieceSource(folder), kColors);
    for (int32_t y = 0; y < 36; y++) {
        for (int32_t x = 0; x < 136; x++) {
            ColorRef want = (x + y) % 3 == 0 ? PatternColor(x, y) : Rgb(x, y, 77);
            ASSERT_EQ(DibGetPixel(buttons.get(), x, y), want) << x << "," << y;
        }
    }
}

// A folder file chooses by its own depth: a 4-bit posvol.bmp, keyed when built in, is read as
// colour codes, and beyond its edge nothing is shaded.
TEST(ApplyTemplate, AFourBitFolderFileIsReadAsColourCodesUpToItsEdge) {
    std::string folder = Folder("posvol-codes");
    auto codes = DibCreate(10, 5, 4); // every entry black: darken
    ASSERT_TRUE(DibWriteFile((folder + "/posvol.bmp").c_str(), codes.get()));
    auto bar = Grey(307, 10);
    ApplyTemplate(bar.get(), kPiecePosVol, 1, PieceSource(folder), kColors);
    EXPECT_EQ(std::tuple(DibGetPixel(bar.get(), 257, 4), DibGetPixel(bar.get(), 258, 4),
                         DibGetPixel(bar.get(), 257, 5)),
              std::tuple(Rgb(37, 37, 37), Rgb(100, 100, 100), Rgb(100, 100, 100)));
}
