#pragma once

// PNG and JPEG pictures: the decoders each build supplies, and the road from their rows to
// the one Dib layout.
//
// A decoder reads the file's header, tells the sink the picture's stored size and learns the
// size it will be reduced to, may then decode at any size at least that large (JPEG's DCT
// scaling), and hands over its rows top row first as blue, green, red bytes, alpha already
// composited over white. Nothing of the picture is held by the decoder beyond what its format
// needs, so memory follows the reduced picture, not the file's claims. Native builds decode
// with libpng and libjpeg-turbo (photo_png.cpp, photo_jpeg.cpp), the Windows build with WIC
// (photo_wic_win.cpp); the browser build may supply its own.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "image/dib.h"

// Pictures with more pixels than this are refused from their header, before decoding.
constexpr uint64_t kMaxPhotoPixels = 100'000'000;

struct PhotoSize {
    int32_t width = 0;
    int32_t height = 0;
};

class PhotoSink {
  public:
    virtual ~PhotoSink() = default;
    // The picture's size as stored in the file. Returns the size the rows will be reduced to,
    // or a zero size when the picture is refused (decoding then stops).
    virtual PhotoSize Plan(int32_t width, int32_t height) = 0;
    // The size of the rows that follow: the stored size, or a smaller one that is still at
    // least the planned size. False stops decoding.
    virtual bool Begin(int32_t width, int32_t height) = 0;
    // One row of Begin's width, blue, green, red.
    virtual void Row(const uint8_t* bgr) = 0;
};

enum class PhotoKind { None, Png, Jpeg };

// The kind of a file from its first bytes.
PhotoKind PhotoKindOf(std::span<const uint8_t> file);

// The decoders: an empty string when every row went to the sink, else why not (the sink's
// refusal is reported as "refused").
std::string DecodePng(std::span<const uint8_t> file, PhotoSink& sink);
std::string DecodeJpeg(std::span<const uint8_t> file, PhotoSink& sink);

// The EXIF orientation (1 to 8) of a JPEG, from its APP1 block; 1 when it has none or it
// cannot be read. Reads at most the file's own bytes, whatever the block claims.
int JpegOrientation(std::span<const uint8_t> file);
// The same for a PNG, from its eXIf chunk.
int PngOrientation(std::span<const uint8_t> file);

// The stored size of a PNG or JPEG from its header alone; false when the header is not there.
bool PhotoHeaderSize(std::span<const uint8_t> file, PhotoSize* size);

// The size a picture of this size is reduced to so it fits within max, keeping proportions
// (rounded to the nearest pixel, at least 1); the size itself when it already fits.
PhotoSize FitWithin(int32_t width, int32_t height, PhotoSize max);

// The outcome of decoding a photo.
struct DecodedPhoto {
    std::unique_ptr<Dib> picture; // 24-bit, oriented as a photo viewer shows it; null on failure
    std::string reason;           // why not, when there is no picture
    bool tooLarge = false;        // refused for its pixel count
    bool tooSmall = false;        // smaller than min once fitted within max
    int32_t width = 0;            // the oriented size before reduction
    int32_t height = 0;
};

// What DecodePhoto makes of a file, read from its header alone, for a face that decodes photos
// with codecs of its own (the page): the oriented size, the refusals, and the size the picture
// is reduced to. headerRead is false for a file that is not a PNG or JPEG or whose header
// cannot be read.
struct PhotoPlan {
    PhotoKind kind = PhotoKind::None;
    bool headerRead = false;
    bool tooLarge = false;
    bool tooSmall = false;
    int32_t width = 0; // as shown, orientation applied
    int32_t height = 0;
    PhotoSize fitted;
};
PhotoPlan PlanPhoto(std::span<const uint8_t> file, PhotoSize max, PhotoSize min);

// Decodes a PNG or JPEG, applies its orientation and reduces it with area averaging to fit
// within max. A picture that would end smaller than min is refused as too small.
DecodedPhoto DecodePhoto(std::span<const uint8_t> file, PhotoSize max, PhotoSize min);
