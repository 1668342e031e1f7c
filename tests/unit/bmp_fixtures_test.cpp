// Pictures written by another program (ImageMagick) in the forms users bring: each must read
// to exactly the pixels an independent reader (Pillow) sees in it.
#include <gtest/gtest.h>

#include <tuple>

#include "image/bmp_file.h"
#include "tests/unit/test_util.h"

namespace {

struct Fixture {
    const char* name;
    int bitCount;      // as the file gives it
    int dibBits;       // the depth the reader keeps
    int greenBits = 8; // channel widths of 16-bit files
    int otherBits = 8;
};

void PrintTo(const Fixture& f, std::ostream* os) {
    *os << f.name;
}

// Pillow widens a narrow channel by shifting (31 becomes 248); we round to the full scale
// (31 becomes 255). The channel value itself must agree exactly.
uint8_t Widen(uint8_t pil, int bits) {
    uint32_t max = (1u << bits) - 1;
    return uint8_t((uint32_t(pil >> (8 - bits)) * 255 + max / 2) / max);
}

class ForeignFiles : public testing::TestWithParam<Fixture> {};

TEST_P(ForeignFiles, ReadToThePixelsAnotherReaderSees) {
    const Fixture& f = GetParam();
    std::string path = DataPath(std::string(f.name) + ".bmp");
    std::vector<uint8_t> want = ReadBytes(DataPath(std::string(f.name) + ".rgb"));
    ASSERT_EQ(want.size(), 9u * 5u * 3u);

    BmpRead read = BmpReadFile(path.c_str());
    ASSERT_EQ(read.status, BmpStatus::Ok) << f.name;
    ASSERT_EQ(std::tuple(read.bitCount, read.dib->Width(), read.dib->Height(), read.dib->BitCount(),
                         GetLe32(read.dib->Bytes() + kBiSize),
                         GetLe32(read.dib->Bytes() + kBiCompression)),
              std::tuple(f.bitCount, 9, 5, f.dibBits, 40u, 0u));
    for (size_t i = 0; i < want.size(); i++) {
        want[i] = Widen(want[i], i % 3 == 1 ? f.greenBits : f.otherBits);
    }
    EXPECT_EQ(RgbOf(read.dib.get()), want) << f.name;

    // The same bytes from memory give the same picture, and so does its 24-bit conversion.
    BmpRead fromMemory = BmpDecodeFile(ReadBytes(path));
    ASSERT_EQ(fromMemory.status, BmpStatus::Ok);
    EXPECT_EQ(
        std::vector(fromMemory.dib->Bytes(), fromMemory.dib->Bytes() + fromMemory.dib->Size()),
        std::vector(read.dib->Bytes(), read.dib->Bytes() + read.dib->Size()));
}

INSTANTIATE_TEST_SUITE_P(ImageMagick, ForeignFiles,
                         testing::Values(Fixture{"im-bmp3-24", 24, 24}, Fixture{"im-v5-24", 24, 24},
                                         Fixture{"im-rle8", 8, 8}, Fixture{"im-bmp3-rle8", 8, 8},
                                         Fixture{"im-4bit", 4, 4}, Fixture{"im-1bit", 1, 1},
                                         Fixture{"im-565", 16, 32, 6, 5},
                                         Fixture{"im-555", 16, 16, 5, 5}, Fixture{"im-32", 32, 32}),
                         [](const testing::TestParamInfo<Fixture>& param) {
                             std::string name = param.param.name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
