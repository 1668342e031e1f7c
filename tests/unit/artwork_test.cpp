// The built-in pieces as the program loads them: byte for byte the generated files (whose
// colours and layout resources/check_art.py checks), and the font as the title writer reads it.
#include <gtest/gtest.h>

#include <cstring>

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

constexpr ColorRef kYellow = 0x00FFFF;

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
    GlyphCell space;
    ASSERT_TRUE(TextGlyphCell(' ', &space));
    for (int c = 33; c <= 126; c++) {
        GlyphCell cell;
        ASSERT_TRUE(TextGlyphCell(char(c), &cell)) << char(c);
        if (c == '|' || c == '~') {
            EXPECT_EQ(cell.x, space.x) << "printed as a space";
            continue;
        }
        std::vector<ColorRef> pixels = cellImage(cell);
        EXPECT_TRUE(std::count(pixels.begin(), pixels.end(), kYellow) > 0)
            << "no ink for '" << char(c) << "'";
    }
    std::vector<ColorRef> blank = cellImage(space);
    EXPECT_EQ(std::count(blank.begin(), blank.end(), kYellow), 0) << "the space is blank";
}
