#include "image/dib.h"

#include <algorithm>
#include <cstring>

namespace {

// Pictures whose pixel rows would exceed this are never created: it is far above what the
// program needs (a 1600 x 1200 32-bit picture is 7.7 MB) and keeps size arithmetic exact.
constexpr uint64_t kMaxPixelBytes = uint64_t(1) << 30;

bool Is24(const Dib* dib) { return dib && dib->BitCount() == 24; }

} // namespace

Span ClipSpan(int32_t a, int32_t limitA, int32_t b, int32_t limitB, int32_t n) {
    int64_t skip = std::max<int64_t>({0, -int64_t(a), -int64_t(b)});
    int64_t end = std::min<int64_t>({int64_t(n), int64_t(limitA) - a, int64_t(limitB) - b});
    if (end <= skip) {
        return {0, 0, 0};
    }
    return {int32_t(a + skip), int32_t(b + skip), int32_t(end - skip)};
}

void PutBgr(uint8_t* p, ColorRef c) {
    p[0] = BlueOf(c);
    p[1] = GreenOf(c);
    p[2] = RedOf(c);
}

namespace {

// Five bits to eight, rounded to the nearest: 31 is white, not 248.
uint8_t Expand5(uint32_t v) { return uint8_t((v * 255 + 15) / 31); }

} // namespace

int DibColorCountForBits(int bitCount) {
    switch (bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

size_t DibStrideFor(int32_t width, int bitCount) {
    return size_t((uint64_t(bitCount) * uint64_t(std::max(width, 0)) + 31) / 32 * 4);
}

Dib::Dib(DibBlock block) : block_(std::move(block)) {
    const uint8_t* p = block_.data();
    width_ = int32_t(GetLe32(p + kBiWidth));
    height_ = int32_t(GetLe32(p + kBiHeight));
    bitCount_ = GetLe16(p + kBiBitCount);
    colorCount_ = DibColorCountForBits(bitCount_);
    stride_ = DibStrideFor(width_, bitCount_);
}

std::unique_ptr<Dib> Dib::Adopt(DibBlock block) {
    if (block.size() < kDibHeaderSize) {
        return nullptr;
    }
    const uint8_t* p = block.data();
    int32_t width = int32_t(GetLe32(p + kBiWidth));
    int32_t height = int32_t(GetLe32(p + kBiHeight));
    int bits = GetLe16(p + kBiBitCount);
    if (GetLe32(p + kBiSize) != kDibHeaderSize || GetLe16(p + kBiPlanes) != 1 || width < 0 ||
        height < 0 || bits < 1 || bits > 32) {
        return nullptr;
    }
    uint64_t pixels = uint64_t(DibStrideFor(width, bits)) * uint64_t(height);
    uint64_t need = kDibHeaderSize + 4 * uint64_t(DibColorCountForBits(bits)) + pixels;
    if (pixels > kMaxPixelBytes || block.size() < need) {
        return nullptr;
    }
    return std::unique_ptr<Dib>(new Dib(std::move(block)));
}

ColorRef Dib::TableColor(int index) const {
    if (index < 0 || index >= colorCount_) {
        return 0;
    }
    const uint8_t* e = block_.data() + kDibHeaderSize + 4 * size_t(index);
    return Rgb(e[2], e[1], e[0]);
}

int DibColorCount(const Dib* dib) { return dib ? dib->ColorCount() : 0; }

int DibColorTableSize(const Dib* dib) { return 4 * DibColorCount(dib); }

size_t DibStride(const Dib* dib) { return dib ? dib->Stride() : 0; }

namespace {

// Zeroes the bytes after the last pixel of every row, which a caller filling the pixels leaves.
void ZeroRowPadding(uint8_t* pixels, int32_t width, int32_t height, int bitCount) {
    size_t stride = DibStrideFor(width, bitCount);
    size_t used = (size_t(width) * size_t(bitCount) + 7) / 8;
    for (int32_t y = 0; used < stride && y < height; y++) {
        std::memset(pixels + size_t(y) * stride + used, 0, stride - used);
    }
}

std::unique_ptr<Dib> CreateBlock(int32_t width, int32_t height, int bitCount, bool zeroPixels) {
    if (width < 0 || height < 0) {
        return nullptr;
    }
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return nullptr;
    }
    uint64_t pixels = uint64_t(DibStrideFor(width, bitCount)) * uint64_t(height);
    if (pixels > kMaxPixelBytes) {
        return nullptr;
    }
    size_t table = 4 * size_t(DibColorCountForBits(bitCount));
    DibBlock block(kDibHeaderSize + table + size_t(pixels));
    uint8_t* p = block.data();
    std::memset(p, 0, zeroPixels ? block.size() : kDibHeaderSize + table);
    if (!zeroPixels) {
        ZeroRowPadding(p + kDibHeaderSize + table, width, height, bitCount);
    }
    PutLe32(p + kBiSize, kDibHeaderSize);
    PutLe32(p + kBiWidth, uint32_t(width));
    PutLe32(p + kBiHeight, uint32_t(height));
    PutLe16(p + kBiPlanes, 1);
    PutLe16(p + kBiBitCount, uint16_t(bitCount));
    PutLe32(p + kBiSizeImage, uint32_t(pixels));
    return Dib::Adopt(std::move(block));
}

} // namespace

std::unique_ptr<Dib> DibCreate(int32_t width, int32_t height, int bitCount) {
    return CreateBlock(width, height, bitCount, true);
}

std::unique_ptr<Dib> DibCreateUninitialised(int32_t width, int32_t height, int bitCount) {
    return CreateBlock(width, height, bitCount, false);
}

std::unique_ptr<Dib> DibDuplicate(const Dib* dib) {
    if (!dib) {
        return nullptr;
    }
    return Dib::Adopt(DibBlock(dib->Bytes(), dib->Bytes() + dib->Size()));
}

std::unique_ptr<Dib> DibCreateLike(const Dib* model, int32_t width, int32_t height, bool zeroed) {
    if (!model || width < 0 || height < 0) {
        return nullptr;
    }
    uint64_t pixels = uint64_t(DibStrideFor(width, model->BitCount())) * uint64_t(height);
    if (pixels > kMaxPixelBytes) {
        return nullptr;
    }
    size_t head = model->PixelOffset();
    DibBlock block(head + size_t(pixels));
    std::memcpy(block.data(), model->Bytes(), head);
    if (zeroed) {
        std::memset(block.data() + head, 0, size_t(pixels));
    } else {
        ZeroRowPadding(block.data() + head, width, height, model->BitCount());
    }
    PutLe32(block.data() + kBiWidth, uint32_t(width));
    PutLe32(block.data() + kBiHeight, uint32_t(height));
    PutLe32(block.data() + kBiSizeImage, uint32_t(pixels));
    return Dib::Adopt(std::move(block));
}

void DibCopyRect(Dib* dst, int32_t dx, int32_t dy, int32_t width, int32_t height, const Dib* src,
                 int32_t sx, int32_t sy) {
    if (!Is24(dst) || !Is24(src) || height < 1 || width < 1) {
        return;
    }
    Span rows = ClipSpan(dy, dst->Height(), sy, src->Height(), height);
    Span cols = ClipSpan(dx, dst->Width(), sx, src->Width(), width);
    if (rows.n == 0 || cols.n == 0) {
        return;
    }
    size_t bytes = 3 * size_t(cols.n);
    for (int32_t j = 0; j < rows.n; j++) {
        uint8_t* to = dst->Row(rows.a + j) + 3 * size_t(cols.a);
        const uint8_t* from = src->Row(rows.b + j) + 3 * size_t(cols.b);
        if (dst == src && to > from && to < from + bytes) {
            // Within one picture the copy runs byte by byte, left to right, so an overlapping
            // copy to the right repeats the leading bytes, exactly as the forward loop does.
            for (size_t k = 0; k < bytes; k++) {
                to[k] = from[k];
            }
        } else {
            std::memmove(to, from, bytes);
        }
    }
}

void DibFillRect(Dib* dib, const DibRect& rect, ColorRef color) {
    if (!Is24(dib)) {
        return;
    }
    int32_t left = std::max(rect.left, 0);
    int32_t top = std::max(rect.top, 0);
    int32_t right = std::min(rect.right, dib->Width());
    int32_t bottom = std::min(rect.bottom, dib->Height());
    if (right <= left || bottom <= top) {
        return;
    }
    uint8_t bgr[3] = {BlueOf(color), GreenOf(color), RedOf(color)};
    for (int32_t y = top; y < bottom; y++) {
        uint8_t* p = dib->Row(y) + 3 * size_t(left);
        for (int32_t x = left; x < right; x++, p += 3) {
            p[0] = bgr[0];
            p[1] = bgr[1];
            p[2] = bgr[2];
        }
    }
}

void DibSetPixel(Dib* dib, int32_t x, int32_t y, ColorRef color) {
    if (!Is24(dib) || x < 0 || y < 0 || x >= dib->Width() || y >= dib->Height()) {
        return;
    }
    PutBgr(dib->Row(y) + 3 * size_t(x), color);
}

ColorRef DibGetPixel(const Dib* dib, int32_t x, int32_t y) {
    if (!dib || x < 0 || y < 0 || x >= dib->Width() || y >= dib->Height()) {
        return 0;
    }
    const uint8_t* row = dib->Row(y);
    switch (dib->BitCount()) {
    case 1:
        return dib->TableColor((row[x / 8] >> (7 - x % 8)) & 1);
    case 4:
        return dib->TableColor(x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F);
    case 8:
        return dib->TableColor(row[x]);
    case 16: {
        uint32_t v = GetLe16(row + 2 * size_t(x));
        return Rgb(Expand5((v >> 10) & 31), Expand5((v >> 5) & 31), Expand5(v & 31));
    }
    case 24: {
        const uint8_t* p = row + 3 * size_t(x);
        return Rgb(p[2], p[1], p[0]);
    }
    case 32: {
        const uint8_t* p = row + 4 * size_t(x);
        return Rgb(p[2], p[1], p[0]);
    }
    default:
        return 0;
    }
}

void DibShadePixel(Dib* dib, int32_t x, int32_t y, int percent) {
    if (!Is24(dib) || x < 0 || y < 0 || x >= dib->Width() || y >= dib->Height()) {
        return;
    }
    ShadeBgr(dib->Row(y) + 3 * size_t(x), percent);
}

void ShadeBgr(uint8_t* p, int percent) {
    int k = percent * 128 / 100;
    if (k >= 128) {
        k = 127;
    }
    if (k > 0) {
        for (int i = 0; i < 3; i++) {
            p[i] = p[i] > 255 - k ? 255 : uint8_t(p[i] + k);
        }
    } else {
        int m = k < 0 ? -k - 1 : 0;
        for (int i = 0; i < 3; i++) {
            p[i] = p[i] < m ? 0 : uint8_t(p[i] - m);
        }
    }
}

void DibSwapRedBlue(Dib* dib) {
    if (!Is24(dib)) {
        return;
    }
    for (int32_t y = 0; y < dib->Height(); y++) {
        uint8_t* p = dib->Row(y);
        for (int32_t x = 0; x < dib->Width(); x++, p += 3) {
            std::swap(p[0], p[2]);
        }
    }
}

std::unique_ptr<Dib> DibConvertTo24(const Dib* dib) {
    if (!dib || dib->BitCount() == 24) {
        return nullptr;
    }
    auto out = DibCreate(dib->Width(), dib->Height(), 24);
    if (!out) {
        return nullptr;
    }
    // The new header keeps the source's resolutions; colour counts are 0 (no table).
    const uint8_t* from = dib->Bytes();
    uint8_t* to = out->Bytes();
    std::memcpy(to + kBiXPelsPerMeter, from + kBiXPelsPerMeter, 8);
    std::memcpy(to + kBiCompression, from + kBiCompression, 4);

    int32_t w = dib->Width();
    if (dib->ColorCount() > 0) {
        // Palette pictures go through a table of ready-made pixel bytes.
        uint8_t bgr[256][3] = {};
        for (int i = 0; i < dib->ColorCount(); i++) {
            PutBgr(bgr[i], dib->TableColor(i));
        }
        int bits = dib->BitCount();
        int mask = (1 << bits) - 1;
        for (int32_t y = 0; y < dib->Height(); y++) {
            const uint8_t* row = dib->Row(y);
            uint8_t* p = out->Row(y);
            if (bits == 8) {
                for (int32_t x = 0; x < w; x++, p += 3) {
                    std::memcpy(p, bgr[row[x]], 3);
                }
                continue;
            }
            for (int32_t x = 0; x < w; x++, p += 3) {
                int bit = x * bits;
                std::memcpy(p, bgr[(row[bit / 8] >> (8 - bits - bit % 8)) & mask], 3);
            }
        }
    } else {
        for (int32_t y = 0; y < dib->Height(); y++) {
            uint8_t* p = out->Row(y);
            for (int32_t x = 0; x < w; x++, p += 3) {
                PutBgr(p, DibGetPixel(dib, x, y));
            }
        }
    }
    return out;
}
