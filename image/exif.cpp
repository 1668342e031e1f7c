// The EXIF orientation of a JPEG or PNG, read from the file's own bytes: the Windows build's codecs
// do not report it everywhere, so both builds share this small reader. Every offset the file
// gives is checked against the bytes that are really there.
#include "image/photo.h"

#include <algorithm>
#include <cstdint>

namespace {

class Reader {
  public:
    Reader(std::span<const uint8_t> bytes, bool bigEndian) : bytes_(bytes), big_(bigEndian) {}
    bool Has(size_t offset, size_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    uint16_t U16(size_t at) const {
        return big_ ? uint16_t(bytes_[at] << 8 | bytes_[at + 1])
                    : uint16_t(bytes_[at] | bytes_[at + 1] << 8);
    }
    uint32_t U32(size_t at) const {
        return big_ ? uint32_t(U16(at)) << 16 | U16(at + 2) : U16(at) | uint32_t(U16(at + 2)) << 16;
    }

  private:
    std::span<const uint8_t> bytes_;
    bool big_;
};

// The orientation in a TIFF structure (the body of an Exif APP1 block), or 0.
int TiffOrientation(std::span<const uint8_t> tiff) {
    if (tiff.size() < 8) {
        return 0;
    }
    bool big;
    if (tiff[0] == 'I' && tiff[1] == 'I') {
        big = false;
    } else if (tiff[0] == 'M' && tiff[1] == 'M') {
        big = true;
    } else {
        return 0;
    }
    Reader r(tiff, big);
    if (r.U16(2) != 42) {
        return 0;
    }
    size_t ifd = r.U32(4);
    if (!r.Has(ifd, 2)) {
        return 0;
    }
    size_t count = r.U16(ifd);
    for (size_t i = 0; i < count; i++) {
        size_t entry = ifd + 2 + 12 * i;
        if (!r.Has(entry, 12)) {
            return 0;
        }
        // Orientation: one SHORT, held in the first two bytes of the value field.
        if (r.U16(entry) == 0x0112) {
            if (r.U16(entry + 2) != 3 || r.U32(entry + 4) != 1) {
                return 0;
            }
            return r.U16(entry + 8);
        }
    }
    return 0;
}

} // namespace

namespace {

// Calls visit(marker, body) for each marker segment of a JPEG up to its first scan; visit
// returns true to stop. Only segments wholly inside the file are visited.
template <class Visit> void WalkJpegSegments(std::span<const uint8_t> file, Visit visit) {
    if (file.size() < 4 || file[0] != 0xFF || file[1] != 0xD8) {
        return;
    }
    size_t at = 2;
    while (at + 4 <= file.size()) {
        if (file[at] != 0xFF) { // stray bytes between segments, skipped as decoders do
            at++;
            continue;
        }
        uint8_t marker = file[at + 1];
        if (marker == 0xFF) { // fill byte
            at++;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) { // start of scan, end of image
            return;
        }
        size_t length = size_t(file[at + 2]) << 8 | file[at + 3];
        if (length < 2 || length > file.size() - at - 2) {
            return;
        }
        if (visit(marker, file.subspan(at + 4, length - 2))) {
            return;
        }
        at += 2 + length;
    }
}

} // namespace

int JpegOrientation(std::span<const uint8_t> file) {
    int orientation = 1;
    WalkJpegSegments(file, [&](uint8_t marker, std::span<const uint8_t> body) {
        static const uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
        if (marker != 0xE1 || body.size() < 6 || !std::equal(kExif, kExif + 6, body.begin())) {
            return false;
        }
        int found = TiffOrientation(body.subspan(6));
        orientation = found >= 1 && found <= 8 ? found : 1;
        return true;
    });
    return orientation;
}

int PngOrientation(std::span<const uint8_t> file) {
    // Chunks after the signature: length, type, body, CRC; an eXIf chunk comes before the
    // image data or not at all.
    Reader r(file, true);
    for (size_t at = 8; r.Has(at, 8);) {
        uint32_t length = r.U32(at);
        const uint8_t* type = file.data() + at + 4;
        if (!r.Has(at + 8, length) || std::equal(type, type + 4, "IDAT")) {
            break;
        }
        if (std::equal(type, type + 4, "eXIf")) {
            int found = TiffOrientation(file.subspan(at + 8, length));
            return found >= 1 && found <= 8 ? found : 1;
        }
        at += 8 + size_t(length) + 4;
    }
    return 1;
}

bool PhotoHeaderSize(std::span<const uint8_t> file, PhotoSize* size) {
    PhotoKind kind = PhotoKindOf(file);
    if (kind == PhotoKind::Png) {
        // The signature, then IHDR's length and type, then width and height, big-endian.
        if (file.size() < 24) {
            return false;
        }
        Reader r(file, true);
        uint32_t w = r.U32(16);
        uint32_t h = r.U32(20);
        *size = {int32_t(std::min<uint32_t>(w, INT32_MAX)),
                 int32_t(std::min<uint32_t>(h, INT32_MAX))};
        return true;
    }
    bool found = false;
    WalkJpegSegments(file, [&](uint8_t marker, std::span<const uint8_t> body) {
        // The frame headers: C0 to CF, less DHT (C4), JPG (C8) and DAC (CC).
        bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (!frame || body.size() < 5) {
            return false;
        }
        Reader r(body, true);
        *size = {int32_t(r.U16(3)), int32_t(r.U16(1))};
        found = true;
        return true;
    });
    return found;
}
