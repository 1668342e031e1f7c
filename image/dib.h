#pragma once

// The picture block every part of Korvane works on.
//
// A Dib is one contiguous byte block with exactly the content of a .bmp file after its
// 14-byte file header, all fields little-endian:
//
//   bytes 0..39     BITMAPINFOHEADER: biSize 40, biWidth, biHeight (positive: the rows are
//                   stored bottom row first), biPlanes 1, biBitCount, biCompression 0,
//                   biSizeImage = stride x height, two resolutions, biClrUsed, biClrImportant
//   40 .. 40+T-1    the full colour table: 2, 16 or 256 entries of blue, green, red, 0 for
//                   1-, 4- and 8-bit pictures, nothing for 16-, 24- and 32-bit ones
//   40+T ..         biHeight rows of DibStride bytes, the BOTTOM row first, each row padded
//                   to a multiple of 4 bytes
//
// Coordinates given to the operations count x from the left and y from the TOP of the
// picture: row y starts at byte end - (y + 1) x stride, so row 0 is the last row in memory.
// A 24-bit pixel is three bytes in the order blue, green, red. Colours passed in and out are
// ColorRef values 0x00BBGGRR, red in the low byte, as Win32's COLORREF.
//
// "No picture" is a null pointer. Every operation accepts nullptr and then does nothing or
// returns nullptr / 0, so a missing picture flows through composition as a no-op. The
// writing operations (copy, fill, set, shade, swap) work on 24-bit pictures and clip to the
// picture: no coordinate can make them touch a byte outside the block.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

using ColorRef = uint32_t;

constexpr ColorRef Rgb(uint32_t r, uint32_t g, uint32_t b) {
    return (r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16;
}
constexpr uint8_t RedOf(ColorRef c) { return c & 0xFF; }
constexpr uint8_t GreenOf(ColorRef c) { return (c >> 8) & 0xFF; }
constexpr uint8_t BlueOf(ColorRef c) { return (c >> 16) & 0xFF; }

// The largest picture the program holds; the BMP reader refuses larger ones before it
// allocates anything for their pixels.
constexpr int32_t kMaxPictureWidth = 1600;
constexpr int32_t kMaxPictureHeight = 1200;

constexpr size_t kDibHeaderSize = 40;

inline uint16_t GetLe16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t GetLe32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void PutLe16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void PutLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; i++) {
        p[i] = uint8_t(v >> (8 * i));
    }
}

// Byte offsets of the header fields inside the block.
enum DibField : size_t {
    kBiSize = 0,
    kBiWidth = 4,
    kBiHeight = 8,
    kBiPlanes = 12,
    kBiBitCount = 14,
    kBiCompression = 16,
    kBiSizeImage = 20,
    kBiXPelsPerMeter = 24,
    kBiYPelsPerMeter = 28,
    kBiClrUsed = 32,
    kBiClrImportant = 36,
};

// The storage of a block. Unlike std::vector<uint8_t>, growing it leaves the new bytes as
// the allocator hands them out, so a picture that is about to be filled from a file is not
// first filled with zeros.
template <class T> struct UninitialisedAllocator : std::allocator<T> {
    template <class U> struct rebind { using other = UninitialisedAllocator<U>; };
    UninitialisedAllocator() = default;
    template <class U> UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
    template <class U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <class U, class... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
using DibBlock = std::vector<uint8_t, UninitialisedAllocator<uint8_t>>;

class Dib {
  public:
    // Takes ownership of a block that holds a well-formed picture: biSize 40, width and height
    // not negative, planes 1, and at least 40 + T + stride x height bytes. Returns nullptr for
    // any other block, so a Dib in hand always satisfies the layout above.
    static std::unique_ptr<Dib> Adopt(DibBlock block);
    static std::unique_ptr<Dib> Adopt(const std::vector<uint8_t>& block) {
        return Adopt(DibBlock(block.begin(), block.end()));
    }

    const uint8_t* Bytes() const { return block_.data(); }
    uint8_t* Bytes() { return block_.data(); }
    size_t Size() const { return block_.size(); }

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int BitCount() const { return bitCount_; }
    size_t Stride() const { return stride_; }
    int ColorCount() const { return colorCount_; }
    size_t PixelOffset() const { return kDibHeaderSize + 4 * size_t(colorCount_); }
    size_t PixelBytes() const { return stride_ * size_t(height_); }

    // Row y counted from the top, 0 <= y < Height().
    const uint8_t* Row(int32_t y) const { return block_.data() + RowOffset(y); }
    uint8_t* Row(int32_t y) { return block_.data() + RowOffset(y); }

    // A colour-table entry as a ColorRef.
    ColorRef TableColor(int index) const;

  private:
    explicit Dib(DibBlock block);
    size_t RowOffset(int32_t y) const { return PixelOffset() + stride_ * size_t(height_ - 1 - y); }

    DibBlock block_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int bitCount_ = 0;
    int colorCount_ = 0;
    size_t stride_ = 0;
};

struct DibRect {
    int32_t left;
    int32_t top;
    int32_t right; // exclusive
    int32_t bottom; // exclusive
};

// Colour-table entries for a bit count: 2, 16 or 256 for 1, 4 and 8 bits, else 0.
int DibColorCountForBits(int bitCount);
// Bytes of one padded row.
size_t DibStrideFor(int32_t width, int bitCount);

int DibColorCount(const Dib* dib);
int DibColorTableSize(const Dib* dib);
size_t DibStride(const Dib* dib);

// New zero-filled picture: 40-byte header with resolutions and colour counts 0, a zeroed
// colour table for palette depths. nullptr for a negative size or an unsupported depth.
// The caller owns the result.
std::unique_ptr<Dib> DibCreate(int32_t width, int32_t height, int bitCount);
// The same with the pixels left unset (header, colour table and row padding as DibCreate
// makes them), for a caller that fills every pixel itself. The caller owns the result.
std::unique_ptr<Dib> DibCreateUninitialised(int32_t width, int32_t height, int bitCount);

// Byte-for-byte copy. The caller owns the result.
std::unique_ptr<Dib> DibDuplicate(const Dib* dib);

// New zero-filled picture of the given size with the model's header and colour table;
// biWidth, biHeight and biSizeImage are the new ones. The caller owns the result. With
// zeroed false only the row padding is zeroed, the pixels are left for the caller to fill.
std::unique_ptr<Dib> DibCreateLike(const Dib* model, int32_t width, int32_t height,
                                   bool zeroed = true);

// Copies a width x height block of 24-bit pixels from (sx, sy) of src to (dx, dy) of dst,
// rows top to bottom, pixels left to right. src and dst may be the same picture.
void DibCopyRect(Dib* dst, int32_t dx, int32_t dy, int32_t width, int32_t height, const Dib* src,
                 int32_t sx, int32_t sy);
void DibFillRect(Dib* dib, const DibRect& rect, ColorRef color);
void DibSetPixel(Dib* dib, int32_t x, int32_t y, ColorRef color);

// Reads 1-, 4-, 8-, 16- (5-5-5), 24- and 32-bit pictures; black outside the picture.
ColorRef DibGetPixel(const Dib* dib, int32_t x, int32_t y);

// Lightens (percent > 0) or darkens one pixel by the fixed step k = percent x 128 / 100
// (at most 127); a darkening step is one less than |k|, so -50 takes 63 and -30 takes 37.
void DibShadePixel(Dib* dib, int32_t x, int32_t y, int percent);
// The same on one 24-bit pixel's blue, green and red bytes.
void ShadeBgr(uint8_t* bgr, int percent);
// Stores a colour as one 24-bit pixel's blue, green and red bytes.
void PutBgr(uint8_t* bgr, ColorRef color);

// A span [a, a + n) of one picture, from [0, limitA), clipped together with the matching
// span [b, b + n) of another, from [0, limitB), so both stay inside their pictures: the
// copies and the template passes clip rows and columns once this way, not pixel by pixel.
struct Span {
    int32_t a; // first index in the first picture
    int32_t b; // first index in the second picture
    int32_t n; // number of indices, 0 when nothing is left
};
Span ClipSpan(int32_t a, int32_t limitA, int32_t b, int32_t limitB, int32_t n);

void DibSwapRedBlue(Dib* dib);

// New 24-bit copy of a picture of any other depth; nullptr for a 24-bit input.
// The caller owns the result.
std::unique_ptr<Dib> DibConvertTo24(const Dib* dib);
