#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "image/adjust.h"
#include "tests/unit/test_util.h"

namespace {

// A one-row picture holding the given bytes as blue, green, red of consecutive pixels
// (padded with zeros to whole pixels), so a byte map can be read back in order.
std::unique_ptr<Dib> BytesPicture(const std::vector<uint8_t>& bytes) {
    auto dib = DibCreate(int32_t((bytes.size() + 2) / 3), 1, 24);
    std::copy(bytes.begin(), bytes.end(), dib->Row(0));
    return dib;
}

std::vector<uint8_t> Mapped(const std::vector<uint8_t>& bytes, void (*fn)(Dib*, int), int amount) {
    auto dib = BytesPicture(bytes);
    fn(dib.get(), amount);
    return {dib->Row(0), dib->Row(0) + bytes.size()};
}

// The edges, the middle and bytes either side of clamping.
const std::vector<uint8_t> kBytes = {0, 2, 64, 100, 126, 127, 128, 160, 200, 252, 255};

} // namespace

TEST(PlanScale, RaisesTooSmallScalesToTheLeastThatFits) {
    // Requested scale, picture width and height; planned scale, width, height, raised.
    const int cases[][7] = {
        {50, 401, 301, 69, 276, 207, 1},   // 68 gives 272 wide; 69 gives 276.69 x 207.69
        {0, 1600, 1200, 18, 288, 216, 1},  // max(17, 9) = 17 gives 272: one more
        {50, 550, 232, 50, 275, 116, 0},   // exactly one band
        {50, 1600, 200, 58, 928, 116, 1},  // only the height is short
        {10, 300, 1000, 92, 276, 920, 1},  // only the width is short: 91 gives 273
        {150, 800, 600, 100, 800, 600, 0}, // never enlarged
        {-20, 800, 600, 35, 280, 210, 1},
    };
    for (const auto& c : cases) {
        ScalePlan plan = PlanScale(c[0], c[1], c[2]);
        EXPECT_EQ(std::tuple(plan.scale, plan.width, plan.height, int(plan.raised)),
                  std::tuple(c[3], c[4], c[5], c[6]))
            << c[0] << "% of " << c[1] << " x " << c[2];
    }
    EXPECT_EQ(PlanScale(50, 0, 0).width, 0); // no picture, no division by zero
}

// Rows worked out apart from this code. Brightness adds k = amount x 128 / 100 truncated toward
// zero, at most 127 either way (-1 gives -1, 99 gives 126), saturating: by hand. Contrast takes
// each byte's distance d from 127 to floor(d x f), f = 32/9 x 10^-6 a^3 + a/90 + 1 of a = |amount|,
// away from 127 or as far toward it, never past: in Python, floats rounded by struct, the sum in
// doubles, exact floors by fractions.Fraction. At -5 bytes 2 and 252 hang on f being the float
// 1.0559999943, not 1.056: 125 x f is just short of 132.
TEST(BrightnessAndContrast, MapBytesAsTheRulesSay) {
    const auto b = DibAdjustBrightness, c = DibAdjustContrast;
    const std::tuple<void (*)(Dib*, int), int, std::vector<uint8_t>> cases[] = {
        {b, 100, {127, 129, 191, 227, 253, 254, 255, 255, 255, 255, 255}},
        {b, 99, {126, 128, 190, 226, 252, 253, 254, 255, 255, 255, 255}},
        {b, -1, {0, 1, 63, 99, 125, 126, 127, 159, 199, 251, 254}},
        {b, -100, {0, 0, 0, 0, 0, 0, 1, 33, 73, 125, 128}},
        {c, 100, {0, 0, 0, 0, 122, 127, 132, 255, 255, 255, 255}},
        {c, 50, {0, 0, 1, 73, 125, 127, 129, 193, 255, 255, 255}},
        {c, 25, {0, 0, 43, 91, 126, 127, 128, 171, 224, 255, 255}},
        {c, 5, {0, 0, 61, 99, 126, 127, 128, 161, 204, 255, 255}},
        {c, -5, {7, 8, 67, 101, 126, 127, 128, 159, 196, 246, 248}},
        {c, -25, {42, 43, 85, 109, 126, 127, 128, 149, 176, 211, 213}},
        {c, -49, {122, 122, 124, 125, 126, 127, 128, 129, 130, 132, 132}},
        {c, -50, std::vector<uint8_t>(11, 127)},
        {c, -100, std::vector<uint8_t>(11, 127)},
    };
    for (const auto& [fn, amount, want] : cases) {
        EXPECT_EQ(Mapped(kBytes, fn, amount), want)
            << (fn == b ? "brightness " : "contrast ") << amount;
    }
    for (auto fn : {b, c}) {
        for (int amount : {0, 101, -101, 1000}) {
            EXPECT_EQ(Mapped(kBytes, fn, amount), kBytes) << amount;
        }
    }
}

TEST(Adjustments, LeaveRowPaddingAndOtherDepthsAlone) {
    auto dib = DibCreate(5, 3, 24); // 15 bytes a row, one byte of padding
    for (int32_t y = 0; y < 3; y++) {
        std::fill(dib->Row(y), dib->Row(y) + 15, uint8_t(100));
    }
    DibAdjustBrightness(dib.get(), 50);
    DibAdjustContrast(dib.get(), 50);
    EXPECT_EQ(std::tuple(dib->Row(0)[15], dib->Row(1)[15], dib->Row(2)[15]), std::tuple(0, 0, 0));
    EXPECT_EQ(DibGetPixel(dib.get(), 4, 2), Rgb(201, 201, 201)); // 164, then 127 + 37 x 2

    auto eight = DibCreate(4, 4, 8);
    std::vector<uint8_t> before = BlockOf(eight.get());
    DibAdjustBrightness(eight.get(), 50);
    DibAdjustContrast(eight.get(), 50);
    EXPECT_EQ(BlockOf(eight.get()), before);
}

TEST(ScaleDown, FullScaleCopiesAndLargerSizesFail) {
    auto src = MakePattern24(31, 17);
    auto same = DibScaleDown(src.get(), 31, 17), empty = DibScaleDown(src.get(), 10, 0);
    ASSERT_TRUE(same && empty);
    EXPECT_EQ(std::tuple(BlockOf(same.get()), empty->Height(),
                         bool(DibScaleDown(src.get(), 32, 17)),
                         bool(DibScaleDown(src.get(), 31, 18))),
              std::tuple(BlockOf(src.get()), 0, false, false));
}

// Every pixel at sizes that skip rows and columns unevenly, against the written rule: result
// (i, j) takes source (floor(i x rx), floor(j x ry)) with float steps, averaged with the pixel
// to its left after a column skip and with the one above after a row skip.
TEST(ScaleDown, EveryPixelFollowsTheSamplingRule) {
    const int32_t sizes[][4] = {{20, 10, 10, 5},  {31, 17, 13, 7},     {400, 300, 276, 207},
                                {90, 40, 89, 13}, {1600, 30, 288, 29}, {300, 1200, 275, 216}};
    auto at = [](int32_t i, float r) { return int32_t(std::floor(i * double(r))); };
    for (const auto& [w, h, newW, newH] : sizes) {
        auto src = MakePattern24(w, h);
        auto out = DibScaleDown(src.get(), newW, newH);
        ASSERT_TRUE(out);
        float rx = float(double(w) / newW), ry = float(double(h) / newH);
        for (int32_t j = 0; j < newH; j++) {
            for (int32_t i = 0; i < newW; i++) {
                int32_t x = at(i, rx), y = at(j, ry);
                std::vector<ColorRef> seen = {PatternColor(x, y)};
                if (i > 0 && x - at(i - 1, rx) > 1) {
                    seen.push_back(PatternColor(x - 1, y));
                }
                if (j > 0 && y - at(j - 1, ry) > 1) {
                    seen.push_back(PatternColor(x, y - 1));
                }
                uint32_t sum[3] = {};
                for (ColorRef c : seen) {
                    sum[0] += RedOf(c), sum[1] += GreenOf(c), sum[2] += BlueOf(c);
                }
                uint32_t n = uint32_t(seen.size());
                ASSERT_EQ(DibGetPixel(out.get(), i, j), Rgb(sum[0] / n, sum[1] / n, sum[2] / n))
                    << w << " x " << h << " to " << newW << " x " << newH << " at " << i << ","
                    << j;
            }
        }
    }
}
