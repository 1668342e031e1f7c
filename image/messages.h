#pragma once

// Every text the user reads in a message box, in one place, so the desktop program and the
// command line show the same words.

constexpr const char kWarningCaption[] = "Warning..!";

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
constexpr const char kMsgScaleRaised[] =
    "Image too small...\nProgram will adjust image to minimum skin size.";
constexpr const char kMsgNoContinuous[] =
    "Can not use Continuous Mode!\nImage height less than 348 pixels.\nPlease try to load "
    "another image.";
