#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "image/adjust.h"
#include "image/bmp_file.h"
#include "image/picture.h"
#include "tests/unit/test_util.h"

namespace {

// A 24-bit BMP of noise, stored bottom-up or top-down, written to a fresh file.
std::string NoiseBmp(int32_t width, int32_t height, bool topDown, uint32_t seed) {
    size_t stride = (3 * size_t(width) + 3) & ~size_t(3);
    auto file = BmpHead(width, topDown ? -height : height, 24, 0, 0, 54,
                        uint32_t(54 + stride * size_t(height)));
    std::mt19937 random(seed);
    for (int32_t y = 0; y < height; y++) {
        for (size_t i = 0; i < stride; i++) {
            file.push_back(i < 3 * size_t(width) ? uint8_t(random()) : 0);
        }
    }
    std::string path = TempPath("noise.bmp");
    WriteBytes(path, file);
    return path;
}

// Reading a BMP a band of rows at a time through the reducer must give the very picture of
// reading it whole and reducing it: across band edges, in both row orders, with row padding,
// where rows and columns are skipped and where the plan keeps the full size.
TEST(ReducedRead, GivesThePictureOfReadingWholeThenReducing) {
    // Width, height, top-down, scale.
    const std::tuple<int32_t, int32_t, bool, int> cases[] = {
        {1600, 1200, false, 50}, {1600, 1200, true, 37}, {301, 117, false, 99},
        {333, 250, true, 20},    {333, 250, false, 100}, {277, 1200, false, 10},
        {1599, 1199, true, 66}};
    for (auto [width, height, topDown, scale] : cases) {
        SCOPED_TRACE(testing::Message() << width << " x " << height << " at " << scale
                                        << (topDown ? "%, top-down" : "%"));
        std::string path = NoiseBmp(width, height, topDown, uint32_t(width + scale));
        ScalePlan plan = PlanScale(scale, width, height), opened;
        auto whole = BmpReadFile(path.c_str()).dib;
        auto expected = DibScaleDown(whole.get(), plan.width, plan.height);
        OpenedPicture picture = OpenPictureFileScaled(
            path.c_str(), nullptr, [&](int32_t, int32_t) { return scale; }, &opened);
        ASSERT_EQ(picture.outcome, PictureOutcome::Accepted);
        EXPECT_EQ(std::tuple(opened.width, opened.raised, BlockOf(picture.picture.get())),
                  std::tuple(plan.width, plan.raised, BlockOf(expected.get())));
    }
}

} // namespace
