#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "image/dib.h"
#include "tests/unit/test_util.h"

namespace {

std::unique_ptr<Dib> MakePalette(int32_t width, int32_t height, int bits) {
    auto dib = DibCreate(width, height, bits);
    for (int i = 0; i < dib->ColorCount(); i++) {
        uint8_t* e = dib->Bytes() + kDibHeaderSize + 4 * size_t(i); // blue, green, red
        e[0] = uint8_t(i * 3), e[1] = uint8_t(i * 5), e[2] = uint8_t(255 - i);
    }
    return dib;
}

} // namespace

TEST(DibLayout, CreateLikeBuildsTheBlockAroundTheModel) {
    auto model = MakePattern24(13, 7);
    auto dib = DibCreateLike(model.get(), 275, 116);
    ASSERT_TRUE(dib);
    auto le = [&](size_t at) { return GetLe32(dib->Bytes() + at); };
    EXPECT_EQ(std::tuple(dib->Stride(), dib->Size(), le(kBiSizeImage), le(kBiWidth), le(kBiHeight),
                         le(kBiXPelsPerMeter)),
              std::tuple(828u, 40u + 828u * 116u, 828u * 116u, 275u, 116u,
                         GetLe32(model->Bytes() + kBiXPelsPerMeter)));

    auto palette = MakePalette(5, 3, 4);
    auto wide = DibCreateLike(palette.get(), 27, 2);
    ASSERT_TRUE(wide);
    EXPECT_EQ(std::tuple(wide->Stride(), wide->Size(), DibColorTableSize(wide.get()),
                         std::memcmp(wide->Bytes() + 40, palette->Bytes() + 40, 64)),
              std::tuple(16u, 40u + 64u + 32u, 64, 0));

    EXPECT_FALSE(DibCreateLike(model.get(), -1, 10));
}

TEST(DibLayout, ColourCountsAndStridesFollowTheBitCount) {
    // Bits, width, colours, stride.
    const int cases[][4] = {{1, 1, 2, 4},      {1, 33, 2, 8}, {4, 7, 16, 4}, {4, 9, 16, 8},
                            {8, 89, 256, 92},  {16, 3, 0, 8}, {24, 1, 0, 4}, {24, 89, 0, 268},
                            {24, 275, 0, 828}, {32, 3, 0, 12}};
    for (const auto& c : cases) {
        auto dib = DibCreate(c[1], 2, c[0]);
        ASSERT_TRUE(dib) << c[0];
        EXPECT_EQ(std::pair(DibColorCount(dib.get()), int(DibStride(dib.get()))),
                  std::pair(c[2], c[3]))
            << c[0] << " bits, width " << c[1];
    }
    EXPECT_FALSE(DibCreate(4, 4, 2));
}

TEST(DibLayout, AdoptRefusesBlocksThatBreakTheLayout) {
    auto good = MakePattern24(5, 3);
    std::vector<uint8_t> block = BlockOf(good.get());
    EXPECT_TRUE(Dib::Adopt(block));

    EXPECT_FALSE(Dib::Adopt(WithField(block, kBiSize, 124, 4)));
    EXPECT_FALSE(Dib::Adopt(WithField(block, kBiWidth, uint32_t(-5), 4)));
    EXPECT_FALSE(Dib::Adopt(WithField(block, kBiHeight, uint32_t(-3), 4)));
    EXPECT_FALSE(Dib::Adopt(WithField(block, kBiHeight, 4, 4))); // a row more than it holds
    EXPECT_FALSE(Dib::Adopt(WithField(block, kBiPlanes, 2, 2)));
    EXPECT_FALSE(Dib::Adopt(WithField(block, kBiWidth, 0x40000000, 4)));
    EXPECT_FALSE(Dib::Adopt(std::vector<uint8_t>(block.begin(), block.end() - 1)));
}

TEST(DibPixels, FillRectCoversLeftTopToRightBottomExclusive) {
    auto dib = DibCreate(310, 20, 24);
    DibFillRect(dib.get(), {27, 0, 302, 14}, Rgb(9, 8, 7));
    EXPECT_TRUE(AllPixelsAre(dib.get(), 27, 0, 275, 14, Rgb(9, 8, 7)));
    EXPECT_TRUE(AllPixelsAre(dib.get(), 0, 0, 27, 20, 0) &&
                AllPixelsAre(dib.get(), 302, 0, 8, 20, 0) &&
                AllPixelsAre(dib.get(), 0, 14, 310, 6, 0));
    auto before = BlockOf(dib.get());
    DibFillRect(dib.get(), {40, 15, 40, 18}, 0xFFFFFF); // right equal to left
    DibFillRect(dib.get(), {40, 15, 50, 15}, 0xFFFFFF); // bottom equal to top
    EXPECT_EQ(BlockOf(dib.get()), before);
}

TEST(DibPixels, CopyRectMovesExactlyTheRectangle) {
    auto src = MakePattern24(11, 9);
    auto dst = DibCreate(13, 10, 24);
    DibCopyRect(dst.get(), 4, 3, 5, 4, src.get(), 2, 1);
    for (int32_t y = 0; y < 10; y++) {
        for (int32_t x = 0; x < 13; x++) {
            bool inside = x >= 4 && x < 9 && y >= 3 && y < 7;
            ASSERT_EQ(DibGetPixel(dst.get(), x, y), inside ? PatternColor(x - 2, y - 2) : 0)
                << x << "," << y;
        }
    }
    auto before = BlockOf(dst.get());
    DibCopyRect(dst.get(), 0, 0, 5, 0, src.get(), 0, 0);
    DibCopyRect(dst.get(), 0, 0, 0, 5, src.get(), 0, 0);
    EXPECT_EQ(BlockOf(dst.get()), before);
}

TEST(DibPixels, WritesOutsideThePictureAreClippedNotSpilled) {
    // Rows are 15 bytes plus one of padding, where a spill would land.
    auto src = MakePattern24(5, 4);
    auto dst = DibCreate(5, 4, 24);
    DibCopyRect(dst.get(), 3, -2, 10, 10, src.get(), 0, 0);
    for (int32_t y = 0; y < 4; y++) {
        for (int32_t x = 0; x < 5; x++) {
            ColorRef want = x >= 3 && y < 2 ? PatternColor(x - 3, y + 2) : 0;
            ASSERT_EQ(DibGetPixel(dst.get(), x, y), want) << x << "," << y;
        }
    }
    DibCopyRect(dst.get(), 0, 0, 5, 4, src.get(), -3, 2);
    EXPECT_EQ(std::tuple(DibGetPixel(dst.get(), 3, 0), DibGetPixel(dst.get(), 4, 1),
                         DibGetPixel(dst.get(), 5, 0), DibGetPixel(dst.get(), 0, -1)),
              std::tuple(PatternColor(0, 2), PatternColor(1, 3), 0u, 0u));
    DibFillRect(dst.get(), {-100, -100, 100, 100}, 0xFFFFFF);
    DibSetPixel(dst.get(), 5, 0, 0);
    DibSetPixel(dst.get(), -1, 0, 0);
    DibShadePixel(dst.get(), 0, 4, -50);
    for (int32_t y = 0; y < 4; y++) {
        EXPECT_EQ(dst->Row(y)[15], 0) << "padding of row " << y;
        EXPECT_EQ(DibGetPixel(dst.get(), 4, y), 0xFFFFFFu);
    }
}

TEST(DibPixels, CopyWithinOnePictureRunsForward) {
    // A row copied onto itself one pixel right repeats its first pixel, byte by byte.
    auto dib = MakePattern24(6, 1);
    DibCopyRect(dib.get(), 1, 0, 5, 1, dib.get(), 0, 0);
    EXPECT_TRUE(AllPixelsAre(dib.get(), 0, 0, 6, 1, PatternColor(0, 0)));
    auto left = MakePattern24(6, 1);
    DibCopyRect(left.get(), 0, 0, 5, 1, left.get(), 1, 0);
    EXPECT_EQ(std::pair(DibGetPixel(left.get(), 0, 0), DibGetPixel(left.get(), 4, 0)),
              std::pair(PatternColor(1, 0), PatternColor(5, 0)));
}

TEST(DibPixels, ShadePixelStepsAreFixed) {
    // Percent, byte in, byte out.
    const int cases[][3] = {
        {50, 191, 255}, {50, 190, 254}, {50, 0, 64},      {30, 0, 38},
        {30, 217, 255}, {30, 216, 254}, {-30, 100, 63},   {-30, 36, 0},
        {-50, 100, 37}, {-50, 63, 0},   {-50, 64, 1},     {0, 77, 77},
        {-1, 77, 77},   {100, 0, 127},  {-100, 255, 128}, {-100, 126, 0},
    };
    for (const auto& c : cases) {
        auto dib = DibCreate(2, 1, 24);
        DibSetPixel(dib.get(), 1, 0, Rgb(c[1], c[1], c[1]));
        DibShadePixel(dib.get(), 1, 0, c[0]);
        EXPECT_EQ(std::pair(DibGetPixel(dib.get(), 0, 0), DibGetPixel(dib.get(), 1, 0)),
                  std::pair(0u, Rgb(c[2], c[2], c[2])))
            << c[0] << "% on " << c[1];
    }
}

// Every pixel keeps the colour the source's own layout gives it (which the fixture tests
// compare with an independent reader); the header is a plain 24-bit one.
TEST(DibConvert, EveryDepthConvertsToTheSameColours) {
    for (int bits : {1, 4, 8, 16, 32}) {
        auto dib = bits <= 8 ? MakePalette(89, 11, bits) : DibCreate(89, 11, bits);
        for (size_t i = dib->PixelOffset(); i < dib->Size(); i++) {
            dib->Bytes()[i] = uint8_t(i * 37 + 11);
        }
        PutLe32(dib->Bytes() + kBiXPelsPerMeter, 1234);
        auto out = DibConvertTo24(dib.get());
        ASSERT_TRUE(out) << bits;
        EXPECT_EQ(std::tuple(out->Size(), GetLe32(out->Bytes() + kBiXPelsPerMeter),
                             GetLe32(out->Bytes() + kBiClrUsed)),
                  std::tuple(40u + 268u * 11u, 1234u, 0u));
        EXPECT_TRUE(SameRect(out.get(), 0, 0, dib.get(), 0, 0, 89, 11)) << bits;
    }
    EXPECT_FALSE(DibConvertTo24(MakePattern24(3, 3).get()));
}
