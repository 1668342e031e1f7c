// Pictures written by another program (ImageMagick) in the forms users bring: each must read
// to exactly the pixels an independent reader (Pillow) sees in it.
#include <gtest/gtest.h>

#include <tuple>

#include "image/bmp_file.h"
#include "tests/unit/test_util.h"

namespace {

// Pillow widens a narrow channel by shifting (31 becomes 248); we round to the full scale
// (31 becomes 255). The channel value itself must agree exactly.
uint8_t Widen(uint8_t pil, int bits) {
    uint32_t max = (1u << bits) - 1;
    return uint8_t((uint32_t(pil >> (8 - bits)) * 255 + max / 2) / max);
}

} // namespace

TEST(ForeignFiles, ReadToThePixelsAnotherReaderSees) {
    // Name, depth as the file gives it, depth the reader keeps, green and other channel widths.
    const std::tuple<const char*, int, int, int, int> fixtures[] = {
        {"im-bmp3-24", 24, 24, 8, 8}, {"im-v5-24", 24, 24, 8, 8}, {"im-rle8", 8, 8, 8, 8},
        {"im-bmp3-rle8", 8, 8, 8, 8}, {"im-4bit", 4, 4, 8, 8},    {"im-1bit", 1, 1, 8, 8},
        {"im-565", 16, 32, 6, 5},     {"im-555", 16, 16, 5, 5},   {"im-32", 32, 32, 8, 8}};
    for (auto [name, bitCount, dibBits, greenBits, otherBits] : fixtures) {
        SCOPED_TRACE(name);
        std::string path = DataPath(std::string(name) + ".bmp");
        std::vector<uint8_t> want = ReadBytes(DataPath(std::string(name) + ".rgb"));
        ASSERT_EQ(want.size(), 9u * 5u * 3u);

        BmpRead read = BmpReadFile(path.c_str());
        ASSERT_EQ(read.status, BmpStatus::Ok);
        ASSERT_EQ(std::tuple(read.bitCount, read.dib->Width(), read.dib->Height(),
                             read.dib->BitCount(), GetLe32(read.dib->Bytes() + kBiSize),
                             GetLe32(read.dib->Bytes() + kBiCompression)),
                  std::tuple(bitCount, 9, 5, dibBits, 40u, 0u));
        for (size_t i = 0; i < want.size(); i++) {
            want[i] = Widen(want[i], i % 3 == 1 ? greenBits : otherBits);
        }
        EXPECT_EQ(RgbOf(read.dib.get()), want);

        BmpRead fromMemory = BmpDecodeFile(ReadBytes(path));
        ASSERT_EQ(fromMemory.status, BmpStatus::Ok);
        EXPECT_EQ(BlockOf(fromMemory.dib.get()), BlockOf(read.dib.get()));
    }
}
