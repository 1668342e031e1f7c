// Pictures written by another program (ImageMagick) in the forms users bring: each must read
// to exactly the pixels an independent reader (Pillow) sees in it.
#include <gtest/gtest.h>

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
    if (bits == 8) {
        return pil;
    }
    uint32_t v = pil >> (8 - bits);
    uint32_t max = (1u << bits) - 1;
    return uint8_t((v * 255 + max / 2) / max);
}

class ForeignFiles : public testing::TestWithParam<Fixture> {};

TEST_P(ForeignFiles, ReadToThePixelsAnotherReaderSees) {
    const Fixture& f = GetParam();
    std::string path = DataPath(std::string(f.name) + ".bmp");
    std::vector<uint8_t> want = ReadBytes(DataPath(std::string(f.name) + ".rgb"));
    ASSERT_EQ(want.size(), 9u * 5u * 3u);

    BmpRead read = BmpReadFile(path.c_str());
    ASSERT_EQ(read.status, BmpStatus::Ok) << f.name;
    EXPECT_EQ(read.bitCount, f.bitCount);
    ASSERT_EQ(read.dib->Width(), 9);
    ASSERT_EQ(read.dib->Height(), 5);
    EXPECT_EQ(read.dib->BitCount(), f.dibBits);
    EXPECT_EQ(GetLe32(read.dib->Bytes() + kBiSize), 40u);
    EXPECT_EQ(GetLe32(read.dib->Bytes() + kBiCompression), 0u);
    for (size_t i = 0; i < want.size(); i++) {
        want[i] = Widen(want[i], i % 3 == 1 ? f.greenBits : f.otherBits);
    }
    EXPECT_EQ(RgbOf(read.dib.get()), want) << f.name;

    // The same bytes from memory give the same picture, and so does its 24-bit conversion.
    BmpRead fromMemory = BmpDecodeFile(ReadBytes(path));
    ASSERT_EQ(fromMemory.status, BmpStatus::Ok);
    ASSERT_EQ(fromMemory.dib->Size(), read.dib->Size());
    EXPECT_TRUE(std::equal(read.dib->Bytes(), read.dib->Bytes() + read.dib->Size(),
                           fromMemory.dib->Bytes()));
    if (f.dibBits != 24) {
        auto converted = DibConvertTo24(read.dib.get());
        ASSERT_TRUE(converted);
        EXPECT_EQ(DibGetPixel(converted.get(), 8, 4), DibGetPixel(read.dib.get(), 8, 4));
    }
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
