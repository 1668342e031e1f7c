#pragma once

// Opening the user's picture: read it, offer to convert a picture that is not true-colour,
// and refuse pictures that skins cannot be cut from. The file's first bytes choose the
// reader: BMP files as they always were, PNG and JPEG photos through their decoders
// (photo.h), turned upright and reduced to fit the largest picture. No window is needed; the
// desktop program and the command line both put their own face on the outcome.

#include <functional>
#include <memory>
#include <span>
#include <string>

#include "image/dib.h"

// The size of one skin band: the smallest picture accepted.
constexpr int32_t kMinPictureWidth = 275;
constexpr int32_t kMinPictureHeight = 116;

enum class PictureOutcome {
    Accepted,   // picture holds a 24-bit picture of accepted size
    ReadFailed, // unreadable, not a picture we read, or the conversion failed
    Declined,   // not 24-bit and the user chose not to convert it
    TooSmall,
    TooLarge,
    TooManyPixels, // a photo refused from its header, before decoding
};

struct OpenedPicture {
    PictureOutcome outcome = PictureOutcome::ReadFailed;
    std::unique_ptr<Dib> picture; // set only when accepted
    int32_t width = 0;            // as the file gives them, 0 when unreadable
    int32_t height = 0;
    int bitCount = 0;
    std::string reason;      // what was wrong with a refused picture: the decoder's words
    bool reduced = false;    // a photo reduced to fit; width and height are its size before
    int32_t fittedWidth = 0; // and these after
    int32_t fittedHeight = 0;
};

// Asked only for a picture that is not 24-bit: true converts it, false declines it.
using ConvertQuestion = std::function<bool()>;

// The checks run in the order depth, too small, too large, so a small 8-bit picture is
// first offered for conversion and then refused.
OpenedPicture OpenPictureFile(const char* path, const ConvertQuestion& askConvert);
// The same with the Scale adjustment applied as the picture is opened (PlanScale, then
// DibScaleDown): `plan` receives the plan for the picture as opened. For the command line,
// which needs only the scaled picture: an uncompressed 24-bit BMP is reduced while it is
// read, never held at full size.
struct ScalePlan;
// scaleFor gets the picture's stored size (after the orientation of a photo) and gives the
// scale.
OpenedPicture OpenPictureFileScaled(const char* path, const ConvertQuestion& askConvert,
                                    const std::function<int(int32_t, int32_t)>& scaleFor,
                                    ScalePlan* plan);
OpenedPicture OpenPictureBytes(std::span<const uint8_t> file, const ConvertQuestion& askConvert);

// Whether a picture of this size can be made into a skin: Accepted, TooSmall (reasonOut then
// says by how much) or TooLarge.
PictureOutcome CheckPictureSize(int32_t width, int32_t height, std::string* reasonOut);
