#include "image/bmp_file.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <new>
#include <string>

#include "files/file_system.h"
#include "image/adjust.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
// File header, the largest info header, four masks and a full 256-entry colour table:
// everything in front of the pixels that the reader looks at.
constexpr size_t kHeadBytes = kFileHeaderSize + 124 + 16 + 256 * 4;

enum Compression : uint32_t {
    kBiRgb = 0,
    kBiRle8 = 1,
    kBiRle4 = 2,
    kBiBitfields = 3,
    kBiAlphaBitfields = 6,
};

// Where everything of one file lies, found by ParseLayout before any pixel is touched.
struct Layout {
    int32_t width = 0;
    int32_t height = 0; // always positive
    bool topDown = false;
    int bits = 0;
    uint32_t compression = kBiRgb;
    uint32_t masks[3] = {}; // red, green, blue, for 16- and 32-bit pictures
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    size_t tableOffset = 0;
    int tableEntries = 0;   // entries to copy into the Dib's table
    int tableEntrySize = 4; // 3 in the old 12-byte header form
    uint32_t clrUsed = 0;
    size_t pixelOffset = 0;
    int outBits = 0;        // depth of the Dib made from the file
    bool rawRows = false;   // the file's rows are the Dib's rows, byte for byte

    bool IsRle() const { return compression == kBiRle8 || compression == kBiRle4; }
    size_t FileStride() const { return DibStrideFor(width, bits); }
};

// Formats a refusal reason.
template <class... Args> std::string Say(const char* format, Args... args) {
    char text[160];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

BmpStatus Refuse(BmpRead& read, std::string reason) {
    read.reason = std::move(reason);
    return BmpStatus::Unreadable;
}

bool ValidMask(uint32_t mask) {
    if (mask == 0) {
        return true;
    }
    uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0; // one run of set bits
}

// Reads the headers and colour-table position from `head`, the first bytes of a file (or
// packed bitmap) whose full length is `total`. Fills the header fields of `read` as soon as
// they are known, so a TooLarge answer still tells the depth and size.
BmpStatus ParseLayout(std::span<const uint8_t> head, uint64_t total, bool fileHeader,
                      const BmpLimits& limits, Layout& out, BmpRead& read) {
    const uint8_t* d = head.data();
    size_t base = 0;
    uint64_t offBits = 0;
    if (fileHeader) {
        if (head.size() < 2 || d[0] != 'B' || d[1] != 'M') {
            return Refuse(read, "not a BMP file");
        }
        if (head.size() < kFileHeaderSize) {
            return Refuse(read, Say("truncated: %llu bytes is shorter than a BMP header",
                                    (unsigned long long)total));
        }
        if (GetLe32(d + 2) > total) {
            // bfSize claims bytes the file does not have
            return Refuse(read, Say("truncated: header says %lu bytes, file has %llu",
                                    (unsigned long)GetLe32(d + 2), (unsigned long long)total));
        }
        offBits = GetLe32(d + 10);
        base = kFileHeaderSize;
    }
    if (head.size() < base + 4) {
        return Refuse(read, "truncated inside the header");
    }
    uint32_t infoSize = GetLe32(d + base);
    switch (infoSize) {
    case 12:
    case 40:
    case 52:
    case 56:
    case 108:
    case 124:
        break;
    default:
        return Refuse(read, Say("unknown header size %lu", (unsigned long)infoSize));
    }
    if (head.size() < base + infoSize) {
        return Refuse(read, "truncated inside the header");
    }
    const uint8_t* h = d + base;
    int64_t width;
    int64_t height;
    int planes;
    if (infoSize == 12) {
        width = GetLe16(h + 4);
        height = GetLe16(h + 6);
        planes = GetLe16(h + 8);
        out.bits = GetLe16(h + 10);
        out.compression = kBiRgb;
        out.tableEntrySize = 3;
    } else {
        width = int32_t(GetLe32(h + 4));
        height = int32_t(GetLe32(h + 8));
        planes = GetLe16(h + 12);
        out.bits = GetLe16(h + 14);
        out.compression = GetLe32(h + 16);
        out.xPelsPerMeter = int32_t(GetLe32(h + 24));
        out.yPelsPerMeter = int32_t(GetLe32(h + 28));
        out.clrUsed = GetLe32(h + 32);
    }
    if (planes != 1) {
        return Refuse(read, Say("%d planes where a BMP has 1", planes));
    }
    if (width <= 0 || height == 0 || height == INT32_MIN) {
        return Refuse(
            read, Say("no picture in a size of %lld x %lld", (long long)width, (long long)height));
    }
    switch (out.bits) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return Refuse(read, Say("%d bits per pixel", out.bits));
    }
    out.topDown = height < 0;
    height = height < 0 ? -height : height;
    bool compressionFits = false;
    switch (out.compression) {
    case kBiRgb:
        compressionFits = true;
        break;
    case kBiRle8:
        compressionFits = out.bits == 8 && !out.topDown;
        break;
    case kBiRle4:
        compressionFits = out.bits == 4 && !out.topDown;
        break;
    case kBiBitfields:
    case kBiAlphaBitfields:
        compressionFits = out.bits == 16 || out.bits == 32;
        break;
    }
    if (!compressionFits) {
        return Refuse(read, Say("compression %lu is not read for a %d-bit%s picture",
                                (unsigned long)out.compression, out.bits,
                                out.topDown ? " top-down" : ""));
    }

    read.width = int32_t(std::min<int64_t>(width, INT32_MAX));
    read.height = int32_t(std::min<int64_t>(height, INT32_MAX));
    read.bitCount = out.bits;
    if (width > limits.maxWidth || height > limits.maxHeight) {
        read.reason = Say("%lld x %lld is larger than %d x %d", (long long)width, (long long)height,
                          int(limits.maxWidth), int(limits.maxHeight));
        return BmpStatus::TooLarge;
    }
    out.width = int32_t(width);
    out.height = int32_t(height);

    size_t after = base + infoSize;
    if (out.compression == kBiBitfields || out.compression == kBiAlphaBitfields) {
        const uint8_t* m = h + 40;
        if (infoSize < 52) {
            // The masks follow a 40-byte header.
            size_t n = out.compression == kBiAlphaBitfields ? 16 : 12;
            if (head.size() < after + n) {
                return Refuse(read, "truncated inside the colour masks");
            }
            m = d + after;
            after += n;
        }
        for (int i = 0; i < 3; i++) {
            out.masks[i] = GetLe32(m + 4 * i);
        }
    } else if (out.bits == 16) {
        out.masks[0] = 0x7C00;
        out.masks[1] = 0x03E0;
        out.masks[2] = 0x001F;
    } else if (out.bits == 32) {
        out.masks[0] = 0xFF0000;
        out.masks[1] = 0x00FF00;
        out.masks[2] = 0x0000FF;
    }
    for (uint32_t mask : out.masks) {
        if (!ValidMask(mask)) {
            return Refuse(read,
                          Say("colour mask %08lX is not one run of bits", (unsigned long)mask));
        }
    }

    // The colour table: biClrUsed entries, or the full table when it is 0. Pictures deeper
    // than 8 bits may carry an optional table, which is skipped.
    int fullCount = DibColorCountForBits(out.bits);
    uint32_t entries = out.clrUsed != 0 ? out.clrUsed : uint32_t(fullCount);
    if (entries > 256) {
        return Refuse(read, Say("a colour table of %lu entries", (unsigned long)entries));
    }
    out.tableOffset = after;
    out.tableEntries = std::min<int>(int(entries), fullCount);
    size_t tableEnd = after + size_t(entries) * size_t(out.tableEntrySize);
    if (head.size() < after + size_t(out.tableEntries) * size_t(out.tableEntrySize)) {
        return Refuse(read, "truncated inside the colour table");
    }
    out.pixelOffset = fileHeader && offBits >= tableEnd ? size_t(offBits) : tableEnd;

    // 16-bit 5-5-5 and 32-bit 8-8-8 rows are kept as they are; any other masks are
    // repacked into 32-bit blue, green, red, 0.
    bool layout555 = out.masks[0] == 0x7C00 && out.masks[1] == 0x03E0 && out.masks[2] == 0x1F;
    bool layout888 = out.masks[0] == 0xFF0000 && out.masks[1] == 0xFF00 && out.masks[2] == 0xFF;
    out.outBits = out.bits == 16 && !layout555 ? 32 : out.bits;
    out.rawRows = !out.IsRle() && (out.bits < 16 || out.bits == 24 ||
                                   (out.bits == 16 && layout555) || (out.bits == 32 && layout888));

    if (out.IsRle()) {
        if (out.pixelOffset >= total) {
            return Refuse(read,
                          Say("truncated: the RLE stream would start at byte %llu, file "
                              "has %llu",
                              (unsigned long long)out.pixelOffset, (unsigned long long)total));
        }
    } else if (out.pixelOffset + uint64_t(out.FileStride()) * uint64_t(out.height) > total) {
        return Refuse(read, Say("truncated: the pixels need %llu bytes, file has %llu",
                                (unsigned long long)(out.pixelOffset + uint64_t(out.FileStride()) *
                                                                           uint64_t(out.height)),
                                (unsigned long long)total));
    }
    return BmpStatus::Ok;
}

// The most bytes a sensible RLE stream needs for a picture: every pixel as a run of one,
// an end of line per row, the end of the bitmap.
uint64_t RleBound(const Layout& l) {
    return 2 * (uint64_t(l.width) + 2) * uint64_t(l.height) + 16;
}

// An empty Dib of the layout's size and depth with its header fields and colour table.
// An RLE stream may skip pixels, so only its picture starts zeroed; every other kind of file
// gives every pixel byte, and the bytes are left for the reader to fill.
std::unique_ptr<Dib> CreateForLayout(const Layout& l, const uint8_t* head) {
    auto dib = l.IsRle() ? DibCreate(l.width, l.height, l.outBits)
                         : DibCreateUninitialised(l.width, l.height, l.outBits);
    if (!dib) {
        return nullptr;
    }
    uint8_t* p = dib->Bytes();
    PutLe32(p + kBiXPelsPerMeter, uint32_t(l.xPelsPerMeter));
    PutLe32(p + kBiYPelsPerMeter, uint32_t(l.yPelsPerMeter));
    // A table that was already full keeps its count; an expanded one is simply full.
    if (int(l.clrUsed) == dib->ColorCount()) {
        PutLe32(p + kBiClrUsed, l.clrUsed);
    }
    for (int i = 0; i < l.tableEntries; i++) {
        const uint8_t* e = head + l.tableOffset + size_t(i) * size_t(l.tableEntrySize);
        uint8_t* t = p + kDibHeaderSize + 4 * size_t(i);
        t[0] = e[0];
        t[1] = e[1];
        t[2] = e[2];
    }
    return dib;
}

// One channel of a bitfield pixel on the 0..255 scale: narrower channels are rounded to the
// nearest value (so a full channel is 255), wider ones keep their top eight bits.
uint8_t ScaleChannel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = std::countr_zero(mask);
    uint32_t max = mask >> shift;
    uint32_t v = (pixel & mask) >> shift;
    int bits = std::popcount(max);
    if (bits >= 8) {
        return uint8_t(v >> (bits - 8));
    }
    return uint8_t((v * 255 + max / 2) / max);
}

void DecodeBitfields(const Layout& l, const uint8_t* pixels, Dib& dib) {
    size_t stride = l.FileStride();
    int bytes = l.bits / 8;
    for (int32_t r = 0; r < l.height; r++) {
        const uint8_t* from = pixels + stride * size_t(r);
        uint8_t* to = dib.Row(l.topDown ? r : l.height - 1 - r);
        for (int32_t x = 0; x < l.width; x++, from += bytes, to += 4) {
            uint32_t v = bytes == 2 ? GetLe16(from) : GetLe32(from);
            to[0] = ScaleChannel(v, l.masks[2]);
            to[1] = ScaleChannel(v, l.masks[1]);
            to[2] = ScaleChannel(v, l.masks[0]);
            to[3] = 0;
        }
    }
}

void PutIndex(Dib& dib, int bits, int32_t x, int32_t row, int index) {
    uint8_t* p = dib.Row(dib.Height() - 1 - row);
    if (bits == 8) {
        p[x] = uint8_t(index);
    } else if (x % 2 == 0) {
        p[x / 2] = uint8_t((p[x / 2] & 0x0F) | index << 4);
    } else {
        p[x / 2] = uint8_t((p[x / 2] & 0xF0) | (index & 0x0F));
    }
}

// Decodes an RLE8 or RLE4 stream; rows count from the bottom as the stream does. Pixels
// that fall outside the picture are dropped. False when the stream ends before its
// end-of-bitmap mark.
bool DecodeRle(const Layout& l, std::span<const uint8_t> stream, Dib& dib) {
    const int bits = l.compression == kBiRle8 ? 8 : 4;
    const uint8_t* s = stream.data();
    const size_t end = stream.size();
    size_t pos = 0;
    int32_t x = 0;
    int32_t row = 0;
    auto put = [&](int index) {
        if (x < l.width && row < l.height) {
            PutIndex(dib, bits, x, row, index);
        }
        if (x < l.width) {
            x++;
        }
    };
    while (pos + 2 <= end) {
        int n = s[pos];
        int c = s[pos + 1];
        pos += 2;
        if (n > 0) {
            for (int k = 0; k < n; k++) {
                put(bits == 8 ? c : (k % 2 == 0 ? c >> 4 : c & 0x0F));
            }
            continue;
        }
        switch (c) {
        case 0: // end of line
            x = 0;
            row = std::min(row + 1, l.height);
            break;
        case 1: // end of bitmap
            return true;
        case 2: // delta
            if (pos + 2 > end) {
                return false;
            }
            x = int32_t(std::min<int64_t>(int64_t(x) + s[pos], l.width));
            row = int32_t(std::min<int64_t>(int64_t(row) + s[pos + 1], l.height));
            pos += 2;
            break;
        default: { // a literal run of c pixels, padded to a whole number of words
            size_t bytes = bits == 8 ? size_t(c) : size_t(c + 1) / 2;
            if (pos + bytes > end) {
                return false;
            }
            for (int k = 0; k < c; k++) {
                int v = bits == 8 ? s[pos + k] : (k % 2 == 0 ? s[pos + k / 2] >> 4
                                                             : s[pos + k / 2] & 0x0F);
                put(v);
            }
            pos += (bytes + 1) & ~size_t(1);
            break;
        }
        }
    }
    return false;
}

// Flips the rows of a top-down picture read straight into its Dib.
void FlipRows(Dib& dib) {
    std::vector<uint8_t> row(dib.Stride());
    for (int32_t top = 0, bottom = dib.Height() - 1; top < bottom; top++, bottom--) {
        std::memcpy(row.data(), dib.Row(top), dib.Stride());
        std::memcpy(dib.Row(top), dib.Row(bottom), dib.Stride());
        std::memcpy(dib.Row(bottom), row.data(), dib.Stride());
    }
}

// How many bytes of pixel data (rows, or the RLE stream) a layout takes from a file that has
// `available` bytes from the pixel offset on. A sensible RLE stream is never longer than
// RleBound, so neither reader looks past it.
uint64_t PixelExtent(const Layout& l, uint64_t available) {
    if (l.IsRle()) {
        return std::min(available, RleBound(l));
    }
    return uint64_t(l.FileStride()) * uint64_t(l.height);
}

// Builds the Dib from the header bytes and the pixel data (rows or RLE stream). Rows that the
// Dib holds unchanged are copied unless they are already in place, having been read
// straight into the Dib.
BmpStatus DecodePixels(const Layout& l, const uint8_t* head, std::span<const uint8_t> pixels,
                       std::unique_ptr<Dib> dib, BmpRead& read) {
    if (!dib) {
        dib = CreateForLayout(l, head);
        if (!dib) {
            return Refuse(read, "out of memory");
        }
        if (l.rawRows) {
            std::memcpy(dib->Bytes() + dib->PixelOffset(), pixels.data(), dib->PixelBytes());
        }
    }
    if (l.IsRle()) {
        if (!DecodeRle(l, pixels, *dib)) {
            return Refuse(read, "RLE stream ends early");
        }
    } else if (!l.rawRows) {
        DecodeBitfields(l, pixels.data(), *dib);
    } else if (l.topDown) {
        FlipRows(*dib);
    }
    read.dib = std::move(dib);
    return BmpStatus::Ok;
}

BmpRead Decode(std::span<const uint8_t> data, bool fileHeader, const BmpLimits& limits) {
    BmpRead read;
    Layout l;
    read.status = ParseLayout(data, data.size(), fileHeader, limits, l, read);
    if (read.status == BmpStatus::Ok) {
        std::span<const uint8_t> pixels = data.subspan(l.pixelOffset);
        pixels = pixels.first(size_t(PixelExtent(l, pixels.size())));
        read.status = DecodePixels(l, data.data(), pixels, nullptr, read);
    }
    return read;
}

// A 24-bit file's rows reduced while they are read: a band of rows at a time goes into one
// small buffer and through DibScaleDown's filter, in the order the file stores them, so the
// full-size picture is never held. The last row of a band stays for the next, which may need
// it as the row above.
BmpStatus ReadReduced(ReadableFile& file, const Layout& l, const uint8_t* head, BmpSize to,
                      BmpRead& read) {
    Layout reduced = l;
    reduced.width = to.width;
    reduced.height = to.height;
    auto dib = CreateForLayout(reduced, head);
    const size_t stride = l.FileStride();
    const int32_t band = std::max<int32_t>(2, int32_t((size_t(256) << 10) / stride));
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[size_t(band + 1) * stride]);
    if (!dib || !buffer) {
        return Refuse(read, "out of memory");
    }
    const int32_t h = l.height;
    auto fileRow = [&](int32_t y) { return l.topDown ? y : h - 1 - y; };
    ScaleDownRows rows(l.width, h, to.width, to.height);
    int32_t first = 0; // file rows [first, end) are in the buffer
    int32_t end = 0;
    for (int32_t k = 0; k < to.height; k++) {
        int32_t j = l.topDown ? k : to.height - 1 - k; // file order
        int32_t y = rows.SourceRow(j);
        bool above = rows.TakesRowAbove(j);
        int32_t lo = above ? std::min(fileRow(y), fileRow(y - 1)) : fileRow(y);
        int32_t hi = above ? std::max(fileRow(y), fileRow(y - 1)) : fileRow(y);
        if (hi >= end) {
            int32_t kept = lo < end ? end - lo : 0;
            if (kept > 0) {
                std::memmove(buffer.get(), buffer.get() + size_t(lo - first) * stride,
                             size_t(kept) * stride);
            }
            first = lo;
            int32_t count = std::min(band + 1 - kept, h - (first + kept));
            if (!file.ReadAt(l.pixelOffset + uint64_t(first + kept) * stride,
                             buffer.get() + size_t(kept) * stride, size_t(count) * stride,
                             &read.reason)) {
                return BmpStatus::Unreadable;
            }
            end = first + kept + count;
        }
        const uint8_t* row = buffer.get() + size_t(fileRow(y) - first) * stride;
        const uint8_t* upper =
            above ? buffer.get() + size_t(fileRow(y - 1) - first) * stride : nullptr;
        rows.Row(row, upper, dib->Row(j));
    }
    read.dib = std::move(dib);
    return BmpStatus::Ok;
}

BmpRead ReadOpenFile(ReadableFile& file, const BmpLimits& limits, const ReduceTo& reduceTo) {
    BmpRead read;
    uint64_t total = file.Length();
    uint8_t head[kHeadBytes];
    size_t headSize = size_t(std::min<uint64_t>(total, kHeadBytes));
    if (!file.ReadAt(0, head, headSize, &read.reason)) {
        return read;
    }
    Layout l;
    read.status = ParseLayout({head, headSize}, total, true, limits, l, read);
    if (read.status != BmpStatus::Ok) {
        return read;
    }
    read.status = BmpStatus::Unreadable;
    size_t extent = size_t(PixelExtent(l, total - l.pixelOffset));
    if (l.rawRows && l.outBits == 24 && reduceTo) {
        BmpSize to = reduceTo(l.width, l.height);
        if (to.width > 0 && to.height > 0 && to.width <= l.width && to.height <= l.height &&
            (to.width < l.width || to.height < l.height)) {
            read.status = ReadReduced(file, l, head, to, read);
            return read;
        }
    }
    if (l.rawRows) {
        // The rows go from the file straight into the picture in one read.
        auto dib = CreateForLayout(l, head);
        if (!dib) {
            read.reason = "out of memory";
            return read;
        }
        if (file.ReadAt(l.pixelOffset, dib->Bytes() + dib->PixelOffset(), extent, &read.reason)) {
            read.status = DecodePixels(l, head, {}, std::move(dib), read);
        }
        return read;
    }
    // RLE streams and bitfield rows are read whole, then decoded into the picture. The
    // buffer is not zeroed first: the read fills all of it.
    std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[extent]);
    if (!pixels) {
        read.reason = "out of memory";
        return read;
    }
    if (file.ReadAt(l.pixelOffset, pixels.get(), extent, &read.reason)) {
        read.status = DecodePixels(l, head, {pixels.get(), extent}, nullptr, read);
    }
    return read;
}

} // namespace

BmpRead BmpDecodeFile(std::span<const uint8_t> file, const BmpLimits& limits) {
    return Decode(file, true, limits);
}

BmpRead BmpDecodePacked(std::span<const uint8_t> packed, const BmpLimits& limits) {
    return Decode(packed, false, limits);
}

BmpRead BmpReadFile(const char* path, const BmpLimits& limits) {
    return BmpReadFileReduced(path, nullptr, limits);
}

BmpRead BmpReadFileReduced(const char* path, const ReduceTo& reduceTo, const BmpLimits& limits) {
    BmpRead read;
    ReadableFile file;
    if (!path || !file.Open(path, &read.reason, &read.notFound)) {
        return read;
    }
    read = ReadOpenFile(file, limits, reduceTo);
    if (read.status != BmpStatus::Ok) {
        read.dib.reset();
    }
    return read;
}

std::unique_ptr<Dib> DibReadFile(const char* path) { return BmpReadFile(path).dib; }

void DibFileHeader(const Dib& dib, uint8_t out[14]) {
    size_t offBits = kFileHeaderSize + dib.PixelOffset();
    out[0] = 'B';
    out[1] = 'M';
    PutLe32(out + 2, uint32_t(offBits + dib.PixelBytes()));
    PutLe32(out + 6, 0);
    PutLe32(out + 10, uint32_t(offBits));
}

std::vector<uint8_t> DibEncodeFile(const Dib* dib) {
    if (!dib) {
        return {};
    }
    size_t body = dib->PixelOffset() + dib->PixelBytes();
    std::vector<uint8_t> file(kFileHeaderSize + body);
    DibFileHeader(*dib, file.data());
    std::memcpy(file.data() + kFileHeaderSize, dib->Bytes(), body);
    return file;
}

bool DibWriteFile(const char* path, const Dib* dib) {
    if (!dib || !path) {
        return false;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    uint8_t header[kFileHeaderSize];
    DibFileHeader(*dib, header);
    file.write(reinterpret_cast<const char*>(header), sizeof header);
    file.write(reinterpret_cast<const char*>(dib->Bytes()),
               std::streamsize(dib->PixelOffset() + dib->PixelBytes()));
    // Buffered bytes reach the disk only at the close, so its failure is a failed write too.
    file.close();
    return !file.fail();
}
