// PNG and JPEG files as users bring them: each form must decode to what ImageMagick sees in
// it, stand upright whatever its EXIF orientation, shrink like ImageMagick's box filter, and
// be refused with a reason when broken or too large.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <tuple>

#include "image/photo.h"
#include "image/picture.h"
#include "output/deflate.h"
#include "project/messages.h"
#include "tests/unit/test_util.h"

namespace {

constexpr PhotoSize kMax = {kMaxPictureWidth, kMaxPictureHeight};
constexpr PhotoSize kAnySize = {1, 1};

// Mean and largest absolute difference of two RGB byte strings; the worst when their
// lengths differ.
std::pair<double, int> Difference(const std::vector<uint8_t>& got,
                                  const std::vector<uint8_t>& rgb) {
    std::pair<double, int> d = {got.size() == rgb.size() && !rgb.empty() ? 0 : 1e9, 0};
    for (size_t i = 0; i < rgb.size(); i++) {
        int step = i < got.size() ? std::abs(int(got[i]) - int(rgb[i])) : 255;
        d = {d.first + step / double(rgb.size()), std::max(d.second, step)};
    }
    return d;
}

// PNG stores its numbers most significant byte first.
void PutBe32(std::vector<uint8_t>& v, uint32_t x) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        v.push_back(uint8_t(x >> shift));
    }
}

void AddPngChunk(std::vector<uint8_t>& file, const char* type, const std::vector<uint8_t>& data) {
    PutBe32(file, uint32_t(data.size()));
    size_t start = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data.begin(), data.end());
    PutBe32(file, Crc32(file.data() + start, file.size() - start));
}

// A PNG header claiming a size, with one empty data chunk behind it.
std::vector<uint8_t> PngClaiming(uint32_t width, uint32_t height) {
    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, ihdr;
    PutBe32(ihdr, width);
    PutBe32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
    AddPngChunk(file, "IHDR", ihdr);
    AddPngChunk(file, "IDAT", {});
    return file;
}

// Where the bytes first stand in the file (the tests' own files always hold them).
size_t FindBytes(const std::vector<uint8_t>& file, const std::string& bytes) {
    auto at = std::search(file.begin(), file.end(), bytes.begin(), bytes.end(),
                          [](uint8_t a, char b) { return a == uint8_t(b); });
    return at == file.end() ? 0 : size_t(at - file.begin());
}

} // namespace

TEST(PhotoFiles, DecodeToThePixelsImageMagickSees) {
    // JPEG decoders differ slightly in their transforms and upsampling.
    const std::pair<const char*, int> cases[] = {
        {"photo-palette.png", 0},     {"photo-palette-trns.png", 1}, {"photo-grey2.png", 0},
        {"photo-grey-alpha.png", 1},  {"photo-rgb.png", 0},          {"photo-rgba.png", 1},
        {"photo-rgba16.png", 2},      {"photo-interlaced.png", 0},   {"photo-baseline.jpg", 0},
        {"photo-progressive.jpg", 0}, {"photo-grey.jpg", 0},         {"photo-cmyk.jpg", 1},
    };
    for (auto [name, tolerance] : cases) {
        std::string path = DataPath(name);
        DecodedPhoto photo = DecodePhoto(ReadBytes(path), kMax, kAnySize);
        ASSERT_TRUE(photo.picture) << name << ": " << photo.reason;
        ASSERT_EQ(std::pair(photo.picture->Width(), photo.picture->Height()), std::pair(24, 16))
            << name;
        auto [mean, largest] = Difference(RgbOf(photo.picture.get()),
                                          ReadBytes(path.substr(0, path.rfind('.')) + ".rgb"));
#ifdef _WIN32
        tolerance += std::string(name).ends_with(".jpg") ? 8 : 0;
#endif
        EXPECT_LE(largest, tolerance) << name << ", mean " << mean;
    }
}

TEST(PhotoFiles, EveryExifOrientationStandsUpright) {
    for (int k = 0; k < 16; k++) {
        int n = k % 8 + 1;
        std::string ext = k < 8 ? ".jpg" : ".png";
        std::vector<uint8_t> file = ReadBytes(DataPath("orient-" + std::to_string(n) + ext));
        EXPECT_EQ((ext == ".jpg" ? JpegOrientation : PngOrientation)(file), n) << ext;
        PhotoPlan plan = PlanPhoto(file, kMax, kAnySize);
        EXPECT_EQ(std::pair(plan.width, plan.height), std::pair(32, 20)) << "planned " << n << ext;
        DecodedPhoto photo = DecodePhoto(file, kMax, kAnySize);
        ASSERT_TRUE(photo.picture && photo.picture->Width() == 32 && photo.picture->Height() == 20)
            << n << ext;
        std::vector<uint8_t> corners; // red top-left, blue top-right, grey below
        for (auto [x, y] : {std::pair{2, 2}, {30, 1}, {2, 18}, {30, 18}}) {
            ColorRef c = DibGetPixel(photo.picture.get(), x, y);
            corners.insert(corners.end(), {RedOf(c), GreenOf(c), BlueOf(c)});
        }
        EXPECT_LE(Difference(corners, {255, 0, 0, 0, 0, 255, 128, 128, 128, 128, 128, 128}).second,
                  40)
            << "orientation " << n << ext;
    }
}

TEST(PhotoFiles, BrokenFilesAreRefusedWithTheDecodersReason) {
    std::vector<uint8_t> png = ReadBytes(DataPath("photo-rgb.png"));
    std::vector<uint8_t> jpeg = ReadBytes(DataPath("photo-baseline.jpg"));
    ASSERT_TRUE(png.size() > 200 && jpeg.size() > 200);
    auto truncated = [](std::vector<uint8_t> f) {
        f.resize(f.size() / 2);
        return f;
    };
    auto flipped = [](std::vector<uint8_t> f, size_t at) {
        f[at] ^= 0x5A;
        return f;
    };
    // Two stray bytes before the end marker: a warning phone photos often earn, not a fault.
    std::vector<uint8_t> stray = jpeg;
    stray.insert(stray.end() - 2, {0x12, 0x34});
    std::tuple<const char*, std::vector<uint8_t>, bool> cases[] = {
        {"PNG cut in half", truncated(png), false},
        {"PNG with a damaged data chunk", flipped(png, FindBytes(png, "IDAT") + 20), false},
        {"JPEG cut in half", truncated(jpeg), false},
        {"JPEG whose frame header claims no width", flipped(jpeg, 0), false},
        {"JPEG with stray bytes", stray, true},
    };
    // The frame header's width (SOF0: marker, length, precision, height, width).
    size_t frame = FindBytes(jpeg, "\xFF\xC0");
    std::get<1>(cases[3]) = jpeg;
    std::get<1>(cases[3])[frame + 7] = std::get<1>(cases[3])[frame + 8] = 0;
    for (const auto& [what, file, accepted] : cases) {
        DecodedPhoto photo = DecodePhoto(file, kMax, kAnySize);
        EXPECT_EQ(std::pair(bool(photo.picture), photo.reason.starts_with("damaged ")),
                  std::pair(accepted, !accepted))
            << what << ": " << photo.reason;
    }
}

TEST(PhotoFiles, SizesAreJudgedFromTheHeaderBeforeDecoding) {
    // 100.02 megapixels; fits only as 1600 x 80; too narrow.
    for (auto [width, height, outcome] : {std::tuple{20000, 5001, PictureOutcome::TooManyPixels},
                                          {20000, 1000, PictureOutcome::TooSmall},
                                          {274, 500, PictureOutcome::TooSmall}}) {
        auto start = std::chrono::steady_clock::now();
        OpenedPicture opened = OpenPictureBytes(PngClaiming(width, height), {});
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_EQ(std::pair(opened.outcome, opened.width), std::pair(outcome, width))
            << width << " x " << height;
        // The page plans from the same header before the browser decodes.
        PhotoPlan plan = PlanPhoto(PngClaiming(width, height), kMax, {275, 116});
        EXPECT_EQ(std::pair(plan.tooLarge, plan.tooSmall),
                  std::pair(outcome == PictureOutcome::TooManyPixels,
                            outcome == PictureOutcome::TooSmall))
            << width << " x " << height;
    }
    PhotoPlan wide = PlanPhoto(PngClaiming(2000, 1000), kMax, {275, 116});
    EXPECT_TRUE(wide.headerRead && !wide.tooLarge && !wide.tooSmall);
    EXPECT_EQ(std::pair(wide.fitted.width, wide.fitted.height), std::pair(1600, 800));
    EXPECT_FALSE(PlanPhoto(std::vector<uint8_t>{'B', 'M', 0, 0}, kMax, {275, 116}).headerRead);
    EXPECT_STREQ(PictureOutcomeMessage(PictureOutcome::TooManyPixels), kMsgTooManyPixels);
}

#ifndef _WIN32
TEST(PhotoFiles, BigPhotosShrinkLikeImageMagicksBoxFilter) {
    // Name, ImageMagick's arguments for the file, its size, the mean difference allowed.
    for (auto [name, make, size, tolerance] :
         {std::tuple{"big.jpg", "-quality 90", "4000 x 3000", 2.0},
          {"big-cmyk.jpg", "-quality 90 -colorspace CMYK", "4000 x 3000", 4.0},
          {"big.png", "", "2000 x 1500", 2.0}}) {
        std::string path = TempPath(name), want = path + ".rgb", geometry = size;
        geometry.erase(std::remove(geometry.begin(), geometry.end(), ' '), geometry.end());
        // A small plasma enlarged with noise on top: detail at every scale, made quickly.
        std::string command =
            "convert -seed 5 -size 400x300 plasma:fractal -resize " + geometry +
            "! -attenuate 0.4 +noise Uniform " + make + " " + path + " && convert " + path +
            " -filter Box -resize 1600x1200 -colorspace sRGB -depth 8 RGB:" + want;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        OpenedPicture opened = OpenPictureBytes(ReadBytes(path), {});
        ASSERT_EQ(opened.outcome, PictureOutcome::Accepted) << name << ": " << opened.reason;
        EXPECT_EQ(PictureReducedNotice(opened),
                  "The picture was " + std::string(size) + "; Korvane reduced it to 1600 x 1200.");
        EXPECT_LE(Difference(RgbOf(opened.picture.get()), ReadBytes(want)).first, tolerance)
            << name;
    }
}
#endif
