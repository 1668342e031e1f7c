#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
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

} // namespace

TEST(PlanScale, RaisesTooSmallScalesToTheLeastThatFits) {
    // Requested scale, picture width and height; planned scale, width, height, raised.
    const int cases[][7] = {
        {50, 401, 301, 69, 276, 207, 1},  // 68 gives 272 wide; 69 gives 276.69 x 207.69
        {0, 1600, 1200, 18, 288, 216, 1}, // max(17, 9) = 17 gives 272: one more
        {50, 550, 232, 50, 275, 116, 0},  // exactly one band
        {100, 275, 116, 100, 275, 116, 0},
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

// Every byte value at several amounts, against the tables worked out here from the written
// rule: brightness adds amount x 128 / 100 (truncated, at most 127 either way), saturating.
TEST(Brightness, MapsEveryByteAsTheRuleSays) {
    std::vector<uint8_t> all(256);
    std::iota(all.begin(), all.end(), 0);
    for (int amount : {-100, -50, -1, 1, 37, 50, 99, 100}) {
        int k = std::clamp(amount * 128 / 100, -127, 127);
        std::vector<uint8_t> want;
        for (int b : all) {
            want.push_back(uint8_t(std::clamp(b + k, 0, 255)));
        }
        EXPECT_EQ(Mapped(all, DibAdjustBrightness, amount), want) << amount;
    }
    for (int amount : {0, 101, -101, 1000}) {
        EXPECT_EQ(Mapped(all, DibAdjustBrightness, amount), all) << amount;
    }
}

// Contrast moves each byte's distance d from 127 to floor(d x f), away from 127 for positive
// amounts (clamped to 0..255) and by the same step toward 127 for negative ones (never past
// it), with f = 32/9 x 10^-6 a^3 + a/90 + 1 worked in float coefficients as written.
TEST(Contrast, MapsEveryByteAsTheRuleSays) {
    std::vector<uint8_t> all(256);
    std::iota(all.begin(), all.end(), 0);
    for (int amount : {-100, -49, -40, -25, -10, -3, 1, 7, 10, 25, 33, 50, 75, 90, 100}) {
        double a = std::abs(amount);
        float f = float(double(3.5555556e-6f) * a * a * a + double(0.011111111f) * a + 1.0);
        std::vector<uint8_t> want;
        for (int b : all) {
            int d = std::abs(b - 127);
            int step = int(std::floor(d * double(f))) - d;
            int side = b < 127 ? -1 : 1;
            int v = amount > 0 ? std::clamp(b + side * step, 0, 255)
                               : (side < 0 ? std::min(b + step, 127) : std::max(b - step, 127));
            want.push_back(uint8_t(v));
        }
        EXPECT_EQ(Mapped(all, DibAdjustContrast, amount), want) << amount;
    }
    EXPECT_EQ(Mapped(all, DibAdjustContrast, -50), std::vector<uint8_t>(256, 127));
    for (int amount : {0, 101, -101}) {
        EXPECT_EQ(Mapped(all, DibAdjustContrast, amount), all) << amount;
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
