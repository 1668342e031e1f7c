#pragma once

// Reading and writing .bmp files, and the built-in bitmaps.
//
// The reader trusts nothing: it checks the signature, that bfSize does not claim more than
// the file holds, the header size (12, 40, 52, 56, 108 or 124 bytes), one plane, the bit
// count and the compression, and the dimensions before it allocates anything for pixels.
// Whatever it accepts comes out in the one Dib layout (dib.h): 40-byte header, full colour
// table, bottom-up uncompressed rows. Top-down files are flipped, short colour tables are
// expanded, RLE8 and RLE4 are decoded, and BI_BITFIELDS pictures are read through their
// masks (kept as 16-bit 5-5-5 or 32-bit when the masks are those layouts, else repacked
// into 32 bits).
//
// The writer puts out a 14-byte file header followed by the Dib block byte for byte.

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "image/dib.h"

enum class BmpStatus {
    Ok,
    Unreadable, // cannot be opened or read, not a BMP, truncated, or a form we do not read
    TooLarge,   // a well-formed header whose picture exceeds the limits; pixels not read
};

struct BmpLimits {
    int32_t maxWidth = kMaxPictureWidth;
    int32_t maxHeight = kMaxPictureHeight;
};

// What a read found. The header fields are filled whenever the header itself was sound,
// also for TooLarge, so callers can still tell the depth and size of a refused picture.
struct BmpRead {
    BmpStatus status = BmpStatus::Unreadable;
    std::unique_ptr<Dib> dib;
    int32_t width = 0;
    int32_t height = 0;
    int bitCount = 0;
    // Why a file was not read, in a few words for a message ("not a BMP file", "truncated:
    // header says 5760054 bytes, file has 3000", the system's words for a failed open).
    std::string reason;
    bool notFound = false; // the file does not exist
};

// A whole .bmp file in memory.
BmpRead BmpDecodeFile(std::span<const uint8_t> file, const BmpLimits& limits = {});
// A packed bitmap: header, colour table and rows with no file header (a bitmap resource).
BmpRead BmpDecodePacked(std::span<const uint8_t> packed, const BmpLimits& limits = {});
// A .bmp file on disk. Reads only regular files (a pipe, a device or a folder is refused at
// once) and only the bytes the picture needs, each once, the rows straight into the picture.
BmpRead BmpReadFile(const char* path, const BmpLimits& limits = {});

// The same file reduced as it is read, for a caller that needs only the reduced picture:
// reduceTo gets the stored size and gives the size to reduce to with DibScaleDown's filter.
// The rows of an uncompressed 24-bit file go a band at a time through the filter, so the
// full-size picture is never held; any other file, or a size that is not smaller, is read
// as BmpReadFile reads it, at full size (the dib's size tells which). width and height are
// the stored size either way.
struct BmpSize {
    int32_t width = 0;
    int32_t height = 0;
};
using ReduceTo = std::function<BmpSize(int32_t width, int32_t height)>;
BmpRead BmpReadFileReduced(const char* path, const ReduceTo& reduceTo,
                           const BmpLimits& limits = {});

// The picture of a .bmp file, or nullptr. The caller owns the result.
std::unique_ptr<Dib> DibReadFile(const char* path);

// The 14-byte file header for a Dib: "BM", bfSize, two zero words, bfOffBits.
void DibFileHeader(const Dib& dib, uint8_t out[14]);
// The complete .bmp file of a Dib; empty for nullptr.
std::vector<uint8_t> DibEncodeFile(const Dib* dib);
// Writes the .bmp file in place, replacing any file of that name: for tests and tools. True
// only when every byte was written; a failed write may leave a partial file behind. The
// programs write through output/safe_write.h instead, which never does.
bool DibWriteFile(const char* path, const Dib* dib);

// The bytes of a built-in bitmap (header, full colour table, rows; no file header), empty
// when there is no such id. On Windows these are the RT_BITMAP resources of the program;
// elsewhere arrays generated from the same BMP files at build time. The bytes live for the
// whole run.
std::span<const uint8_t> BuiltinBitmapBytes(uint16_t id);

// A new copy of a built-in bitmap, or nullptr. The caller owns the result.
std::unique_ptr<Dib> DibLoadResource(uint16_t id);
