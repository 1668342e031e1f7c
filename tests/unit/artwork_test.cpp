// The built-in pieces as the program loads them: sizes, depths, colours and the places
// where a player or a recipe reads them.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "compose/glyphs.h"
#include "compose/template.h"
#include "image/bmp_file.h"
#include "tests/unit/test_util.h"

namespace {

struct PieceShape {
    uint16_t id;
    int32_t width;
    int32_t height;
    int bits;
};

constexpr PieceShape kPieces[] = {
    {104, 136, 36, 4},  {105, 27, 43, 4},   {106, 40, 87, 4},   {107, 60, 9, 4},
    {108, 92, 85, 4},   {109, 58, 24, 4},   {110, 99, 13, 4},   {111, 155, 18, 4},
    {112, 42, 9, 4},    {123, 89, 11, 8},   {139, 275, 116, 4}, {140, 248, 10, 4},
    {152, 275, 116, 4}, {154, 209, 129, 8}, {155, 280, 110, 4}, {156, 17, 18, 8},
    {157, 172, 24, 4},  {158, 113, 21, 4},  {159, 11, 23, 8},   {160, 253, 75, 4},
    {162, 113, 19, 8},  {163, 275, 82, 4},
};

constexpr ColorRef kDarkGreen = 0x008000;
constexpr ColorRef kYellow = 0x00FFFF;

const std::set<ColorRef> kCodes = {0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x008000, 0x00FFFF,
                                   0x008080, 0x00FF00, 0xFF00FF, 0xFF0000, 0x800000};

std::unique_ptr<Dib> Piece(uint16_t id) {
    auto dib = DibLoadResource(id);
    EXPECT_TRUE(dib) << "piece " << id;
    return dib;
}

} // namespace

TEST(Artwork, EveryPieceHasItsSizeDepthAndFullTable) {
    for (const PieceShape& shape : kPieces) {
        std::span<const uint8_t> bytes = BuiltinBitmapBytes(shape.id);
        ASSERT_FALSE(bytes.empty()) << shape.id;
        ASSERT_GE(bytes.size(), 40u);
        const uint8_t* h = bytes.data();
        EXPECT_EQ(GetLe32(h + kBiSize), 40u) << shape.id;
        EXPECT_EQ(int32_t(GetLe32(h + kBiWidth)), shape.width) << shape.id;
        EXPECT_EQ(int32_t(GetLe32(h + kBiHeight)), shape.height) << shape.id;
        EXPECT_EQ(GetLe16(h + kBiBitCount), shape.bits) << shape.id;
        EXPECT_EQ(GetLe32(h + kBiCompression), 0u) << shape.id;
        size_t stride = DibStrideFor(shape.width, shape.bits);
        size_t table = 4u << shape.bits;
        EXPECT_EQ(GetLe32(h + kBiSizeImage), stride * size_t(shape.height)) << shape.id;
        // A resource is read as header + full table + biSizeImage bytes.
        EXPECT_GE(bytes.size(), 40 + table + GetLe32(h + kBiSizeImage)) << shape.id;

        // The resource holds the generated file byte for byte, in either build.
        std::vector<uint8_t> file =
            ReadBytes(std::string(KORVANE_ART_DIR) + "/" + std::to_string(shape.id) + ".bmp");
        ASSERT_EQ(file.size(), 14 + 40 + table + stride * size_t(shape.height)) << shape.id;
        EXPECT_EQ(0, std::memcmp(bytes.data(), file.data() + 14, file.size() - 14)) << shape.id;
    }
}

TEST(Artwork, ShadedPiecesUseOnlyColourCodes) {
    for (const PieceShape& shape : kPieces) {
        if (shape.bits != 4) {
            continue;
        }
        auto piece = Piece(shape.id);
        for (int32_t y = 0; y < piece->Height(); y++) {
            for (int32_t x = 0; x < piece->Width(); x++) {
                ColorRef c = DibGetPixel(piece.get(), x, y);
                ASSERT_TRUE(kCodes.count(c))
                    << "piece " << shape.id << " at " << x << "," << y << " has " << std::hex << c;
            }
        }
    }
}

TEST(Artwork, MainDisplayFieldsSitAtTheirRectangles) {
    auto main = Piece(kPieceMain);
    struct Field {
        int32_t x, y, w, h;
    } fields[] = {{22, 24, 80, 37}, {110, 25, 157, 10}, {109, 41, 19, 10}, {154, 41, 14, 10}};
    for (const Field& f : fields) {
        EXPECT_TRUE(AllPixelsAre(main.get(), f.x, f.y, f.w, f.h, kDarkGreen)) << f.x << "," << f.y;
        for (int32_t i = f.x - 1; i <= f.x + f.w; i++) {
            EXPECT_NE(DibGetPixel(main.get(), i, f.y - 1), kDarkGreen) << "above " << f.x;
            EXPECT_NE(DibGetPixel(main.get(), i, f.y + f.h), kDarkGreen) << "below " << f.x;
        }
    }
    auto eq = Piece(kPieceEqMain);
    EXPECT_EQ(DibGetPixel(eq.get(), 27, 60), kDarkGreen) << "preamp trough";
    for (int i = 0; i < 10; i++) {
        EXPECT_EQ(DibGetPixel(eq.get(), 77 + 18 * i + 7, 60), kDarkGreen) << "band " << i;
    }
    auto posbar = Piece(kPiecePosBar);
    EXPECT_TRUE(AllPixelsAre(posbar.get(), 0, 0, 248, 10, 0xFF0000)) << "the bar is all picture";
}

TEST(Artwork, DigitsKeepTheMinusSignStrips) {
    // A player draws its minus sign from the middle bar of the 2 and blanks it with the
    // strip at the same height in the 1.
    auto digits = Piece(kPieceDigitsMask);
    EXPECT_TRUE(AllPixelsAre(digits.get(), 20, 6, 5, 1, kYellow));
    for (int32_t x = 9; x <= 13; x++) {
        EXPECT_NE(DibGetPixel(digits.get(), x, 6), kYellow) << x;
    }
    for (int d = 0; d < 10; d++) {
        bool ink = false;
        for (int32_t y = 0; y < 13 && !ink; y++) {
            for (int32_t x = 9 * d; x < 9 * d + 9 && !ink; x++) {
                ink = DibGetPixel(digits.get(), x, y) == kYellow;
            }
        }
        EXPECT_TRUE(ink) << "digit " << d;
    }
    EXPECT_FALSE(AllPixelsAre(digits.get(), 90, 0, 9, 13, kYellow));
    for (int32_t y = 0; y < 13; y++) {
        for (int32_t x = 90; x < 99; x++) {
            ASSERT_NE(DibGetPixel(digits.get(), x, y), kYellow) << "the eleventh cell is blank";
        }
    }
}

TEST(Artwork, EveryCharacterLandsOnItsOwnGlyph) {
    auto font = Piece(kPieceFontMask);
    auto cellImage = [&](const GlyphCell& cell) {
        std::vector<ColorRef> pixels;
        for (int32_t y = cell.y; y < cell.y + kGlyphHeight; y++) {
            for (int32_t x = cell.x; x < cell.x + cell.width; x++) {
                pixels.push_back(DibGetPixel(font.get(), x, y));
            }
        }
        return pixels;
    };
    GlyphCell space, hash, star, lower, upper;
    ASSERT_TRUE(TextGlyphCell(' ', &space));
    for (int c = 33; c <= 126; c++) {
        GlyphCell cell;
        ASSERT_TRUE(TextGlyphCell(char(c), &cell)) << char(c);
        if (c == '|' || c == '~') {
            EXPECT_EQ(cell.x, space.x) << "printed as a space";
            continue;
        }
        EXPECT_GE(cell.x, 0);
        EXPECT_LE(cell.x + cell.width, 155) << char(c);
        EXPECT_LE(cell.y + kGlyphHeight, 18) << char(c);
        std::vector<ColorRef> pixels = cellImage(cell);
        EXPECT_TRUE(std::count(pixels.begin(), pixels.end(), kYellow) > 0)
            << "no ink for '" << char(c) << "'";
    }
    std::vector<ColorRef> blank = cellImage(space);
    EXPECT_EQ(std::count(blank.begin(), blank.end(), kYellow), 0) << "the space is blank";
    TextGlyphCell('#', &hash);
    TextGlyphCell('*', &star);
    EXPECT_EQ(hash.x, 150);
    EXPECT_EQ(star.y, 12);
    EXPECT_NE(cellImage(hash), cellImage(star));
    TextGlyphCell('q', &lower);
    TextGlyphCell('Q', &upper);
    EXPECT_EQ(lower.x, upper.x);
    EXPECT_FALSE(TextGlyphCell('\x7f', &space));
    EXPECT_FALSE(TextGlyphCell('\t', &space));
    EXPECT_FALSE(TextGlyphCell(char(200), &space));
}
