#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image/dib.h"

// A 24-bit picture whose every pixel is distinct in each channel, so flips, shifts and
// channel swaps all show: red = 7x + 3y, green = 11y + x, blue = 200 - x - 2y (mod 256).
ColorRef PatternColor(int32_t x, int32_t y);
std::unique_ptr<Dib> MakePattern24(int32_t width, int32_t height);

// True when the w x h rectangles of a at (ax, ay) and b at (bx, by) hold the same colours.
bool SameRect(const Dib* a, int32_t ax, int32_t ay, const Dib* b, int32_t bx, int32_t by, int32_t w,
              int32_t h);
// Red, green and blue bytes of every pixel, top row first: the form ForeignImage holds.
std::vector<uint8_t> RgbOf(const Dib* dib);
// The picture's whole block: header, colour table and rows.
std::vector<uint8_t> BlockOf(const Dib* dib);
// True when every pixel of the rectangle is the colour.
bool AllPixelsAre(const Dib* dib, int32_t x, int32_t y, int32_t w, int32_t h, ColorRef color);

// Bytes of a file; empty when it cannot be read.
std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// A fresh path in the temporary folder, unique within the run; the file is removed when
// the test program ends.
std::string TempPath(const std::string& name);

std::string DataPath(const std::string& name);

// The pixels of a picture as an independent reader (Debian's python3-pil) sees them: width,
// height, mode and RGB bytes top row first. Natively only: Wine has no such reader.
struct ForeignImage {
    int width = 0, height = 0;
    std::string mode;
    std::vector<uint8_t> rgb;
};
ForeignImage ReadWithPil(const std::string& path);

// Little-endian helpers for building hostile files by hand; WithField sets the 2- or 4-byte
// field at offset.
std::vector<uint8_t> WithField(std::vector<uint8_t> bytes, size_t offset, uint32_t value, int size);
void Put16(std::vector<uint8_t>& v, uint16_t x);
void Put32(std::vector<uint8_t>& v, uint32_t x);
// A file header and a 40-byte info header in front of nothing yet.
std::vector<uint8_t> BmpHead(int32_t width, int32_t height, int bits, uint32_t compression,
                             uint32_t clrUsed, uint32_t offBits, uint32_t fileSize);
