#pragma once

// The program's own words that every face shows the same: the desktop program in a message
// box, the command line on stderr, the page beside the picture.

#include <string>

#include "image/picture.h"

constexpr const char kMsgLoadFailed[] =
    "Something wrong when loading image...\nPlease try another image.";
constexpr const char kMsgAskConvert[] =
    "Incompatible image...\nYou need a TrueColor (24-bit) image.\nYou should convert it to "
    "TrueColor to get the best result.\nDo you want to open this image anyway?";
constexpr const char kMsgTooSmall[] =
    "Image too small...\nYou need an image with 275x116 or more pixels.";
constexpr const char kMsgTooLarge[] =
    "Image too large...\nMaximum image size is 1600x1200 pixels.\nPlease crop or resize this "
    "image first.";
constexpr const char kMsgTooManyPixels[] =
    "Image too large...\nKorvane opens pictures of up to 100 megapixels.";
// Both %d pairs: the photo's size as opened, then as reduced. Shown as information.
constexpr const char kMsgPhotoReduced[] = "The picture was %d x %d; Korvane reduced it to %d x %d.";
constexpr const char kMsgScaleRaised[] =
    "Image too small...\nProgram will adjust image to minimum skin size.";
constexpr const char kMsgNoContinuous[] =
    "Can not use Continuous Mode!\nImage height less than 348 pixels.\nPlease try to load "
    "another image.";

// The message box text for a refusal; nullptr for Accepted and Declined, which say nothing.
const char* PictureOutcomeMessage(PictureOutcome outcome);

// "The picture was 4032 x 3024; Korvane reduced it to 1600 x 1200." for a reduced photo,
// else empty.
std::string PictureReducedNotice(const OpenedPicture& opened);
