#include <gtest/gtest.h>

#include <tuple>

#include "image/bmp_file.h"
#include "image/messages.h"
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
    auto dib = DibCreate(width, height, 8);
    for (int i = 0; i < 256; i++) {
        uint8_t* e = dib->Bytes() + 40 + 4 * i;
        e[0] = uint8_t(i), e[1] = uint8_t(i / 2), e[2] = uint8_t(255 - i);
    }
    for (int32_t y = 0; y < height; y++) {
        for (int32_t x = 0; x < width; x++) {
            dib->Row(y)[x] = uint8_t(x + y);
        }
    }
    return DibEncodeFile(dib.get());
}

} // namespace

TEST(OpenPicture, SizeLimitsAreInclusive) {
    using enum PictureOutcome;
    for (auto [width, height, outcome] : {std::tuple{275, 116, Accepted},
                                          {274, 116, TooSmall},
                                          {275, 115, TooSmall},
                                          {1600, 1200, Accepted},
                                          {1601, 1200, TooLarge},
                                          {1600, 1201, TooLarge},
                                          {2000, 1000, TooLarge},
                                          {2000, 100, TooSmall}}) {
        Answer answer{true}; // a 24-bit picture is never questioned
        OpenedPicture opened = OpenPictureBytes(File24(width, height), answer.Ask());
        EXPECT_EQ(std::tuple(opened.outcome, bool(opened.picture), opened.width, answer.asked),
                  std::tuple(outcome, outcome == Accepted, width, 0))
            << width << " x " << height;
    }
}

TEST(OpenPicture, PicturesThatAreNotTrueColourAreOfferedForConversion) {
    std::string path = TempPath("eight.bmp");
    WriteBytes(path, File8(300, 120));

    Answer no{false};
    OpenedPicture declined = OpenPictureFile(path.c_str(), no.Ask());
    EXPECT_EQ(std::tuple(declined.outcome, bool(declined.picture), no.asked,
                         PictureOutcomeMessage(declined.outcome)),
              std::tuple(PictureOutcome::Declined, false, 1, nullptr));

    Answer yes{true};
    OpenedPicture converted = OpenPictureFile(path.c_str(), yes.Ask());
    ASSERT_EQ(converted.outcome, PictureOutcome::Accepted);
    const Dib* dib = converted.picture.get();
    EXPECT_EQ(std::tuple(yes.asked, converted.bitCount, dib->BitCount(), DibGetPixel(dib, 10, 3),
                         DibGetPixel(dib, 299, 119)),
              std::tuple(1, 8, 24, Rgb(255 - 13, 13 / 2, 13), Rgb(255 - 162, 162 / 2, 162)));
}

TEST(OpenPicture, ChecksRunDepthThenTooSmallThenTooLarge) {
    Answer yes{true};
    EXPECT_EQ(OpenPictureBytes(File8(100, 50), yes.Ask()).outcome, PictureOutcome::TooSmall);
    EXPECT_EQ(yes.asked, 1);

    // A large 8-bit picture is read no further than its header, yet still asked about first.
    auto huge = File8(1700, 10);
    PutLe32(huge.data() + 22, 1300);
    Answer large{true}, refuse{false};
    EXPECT_EQ(OpenPictureBytes(huge, large.Ask()).outcome, PictureOutcome::TooLarge);
    EXPECT_EQ(large.asked, 1);
    EXPECT_EQ(OpenPictureBytes(huge, refuse.Ask()).outcome, PictureOutcome::Declined);

    // Too small in one direction and too large in the other is too small.
    Answer wide{true};
    EXPECT_EQ(OpenPictureBytes(File8(1700, 50), wide.Ask()).outcome, PictureOutcome::TooSmall);
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
    EXPECT_STREQ(kWarningCaption, "Warning..!");
}
