#include <gtest/gtest.h>

#include <tuple>

#include "image/bmp_file.h"
#include "project/messages.h"
#include "image/picture.h"
#include "tests/unit/test_util.h"

namespace {

// Answers the conversion question and counts how often it was asked.
struct Answer {
    bool yes;
    int asked = 0;
    ConvertQuestion Ask() {
        return [this] { return asked++, yes; };
    }
};

std::vector<uint8_t> File24(int32_t width, int32_t height) {
    return DibEncodeFile(DibCreate(width, height, 24).get());
}

std::vector<uint8_t> File8(int32_t width, int32_t height) {
    return DibEncodeFile(DibCreate(width, height, 8).get());
}

} // namespace

// The depth is asked about first (never for 24 bits), then the size: too small, then too
// large, both limits inclusive. Too small one way and too large the other is too small.
TEST(OpenPicture, ChecksRunDepthThenTooSmallThenTooLarge) {
    using enum PictureOutcome;
    auto huge = WithField(File8(1700, 10), 22, 1300, 4); // its header read, still asked first
    // The file, the answer to the depth question, the outcome, how often it was asked.
    // clang-format off
    const std::tuple<std::vector<uint8_t>, bool, PictureOutcome, int> cases[] = {
        {File24(275, 116), true, Accepted, 0},   {File24(274, 116), true, TooSmall, 0},
        {File24(275, 115), true, TooSmall, 0},   {File24(1600, 1200), true, Accepted, 0},
        {File24(1601, 1200), true, TooLarge, 0}, {File24(1600, 1201), true, TooLarge, 0},
        {File8(300, 120), true, Accepted, 1},    {File24(2000, 100), true, TooSmall, 0},
        {File8(100, 50), true, TooSmall, 1},     {huge, true, TooLarge, 1},
        {huge, false, Declined, 1},              {File8(1700, 50), true, TooSmall, 1}};
    // clang-format on
    for (const auto& [file, yes, outcome, asked] : cases) {
        Answer answer{yes};
        OpenedPicture opened = OpenPictureBytes(file, answer.Ask());
        const Dib* p = opened.picture.get(); // 24-bit, converted when the answer was yes
        EXPECT_EQ(std::tuple(opened.outcome, p && p->BitCount() == 24, opened.width, answer.asked),
                  std::tuple(outcome, outcome == Accepted, int32_t(GetLe32(&file[18])), asked))
            << opened.width << " x " << opened.height << ", " << opened.bitCount << "-bit";
    }
}

TEST(OpenPicture, UnreadableFilesGetTheLoadMessage) {
    Answer yes{true};
    EXPECT_EQ(OpenPictureFile(TempPath("missing.bmp").c_str(), yes.Ask()).outcome,
              PictureOutcome::ReadFailed);
    EXPECT_EQ(OpenPictureBytes(std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'}, yes.Ask()).outcome,
              PictureOutcome::ReadFailed);
    EXPECT_EQ(yes.asked, 0);

    EXPECT_STREQ(PictureOutcomeMessage(PictureOutcome::ReadFailed),
                 "Something wrong when loading image...\nPlease try another image.");
    EXPECT_STREQ(PictureOutcomeMessage(PictureOutcome::TooSmall),
                 "Image too small...\nYou need an image with 275x116 or more pixels.");
    EXPECT_STREQ(PictureOutcomeMessage(PictureOutcome::TooLarge),
                 "Image too large...\nMaximum image size is 1600x1200 pixels.\n"
                 "Please crop or resize this image first.");
    EXPECT_STREQ(kMsgAskConvert,
                 "Incompatible image...\nYou need a TrueColor (24-bit) image.\nYou should "
                 "convert it to TrueColor to get the best result.\nDo you want to open this "
                 "image anyway?");
}
