// The readers and the picture checks take any bytes: nothing may crash, read or write outside
// a block, or allocate more than the largest accepted picture needs. The same bytes as a BMP
// file on disk must read exactly as they decode in memory (status, reason and picture), so
// the file road (offsets, single reads, seeking past gaps) is fuzzed too. Built as a
// libFuzzer target (make fuzz), and replayed over the saved corpus by the unit tests.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "image/adjust.h"
#include "image/bmp_file.h"
#include "image/photo.h"
#include "image/picture.h"

namespace {

// One scratch file per process, removed when it ends.
struct ScratchFile {
    std::string path = std::filesystem::temp_directory_path().string() + "/korvane-fuzz-" +
                       std::to_string(std::random_device{}()) + ".bmp";
    ~ScratchFile() { std::remove(path.c_str()); }
};

void CheckFileRoad(std::span<const uint8_t> bytes, const BmpRead& inMemory) {
    static ScratchFile scratch;
    std::FILE* f = std::fopen(scratch.path.c_str(), "wb");
    bool written = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (!f || std::fclose(f) != 0 || !written) {
        return;
    }
    auto sameDib = [](const Dib& a, const Dib& b) {
        return a.Size() == b.Size() && std::equal(a.Bytes(), a.Bytes() + a.Size(), b.Bytes());
    };
    BmpRead onDisk = BmpReadFile(scratch.path.c_str());
    bool same = onDisk.status == inMemory.status && onDisk.reason == inMemory.reason &&
                !onDisk.dib == !inMemory.dib;
    if (same && onDisk.dib) {
        same = sameDib(*onDisk.dib, *inMemory.dib);
        // Read a band at a time through the filter to half size: as reading whole and then
        // scaling down (whole when not 24-bit or not smaller).
        const Dib& whole = *onDisk.dib;
        BmpSize half{std::max(whole.Width() / 2, 1), std::max(whole.Height() / 2, 1)};
        BmpRead reduced =
            BmpReadFileReduced(scratch.path.c_str(), [&](int32_t, int32_t) { return half; });
        bool smaller = half.width < whole.Width() || half.height < whole.Height();
        auto scaled = whole.BitCount() == 24 && smaller
                          ? DibScaleDown(&whole, half.width, half.height)
                          : nullptr;
        same = same && reduced.dib && sameDib(*reduced.dib, scaled ? *scaled : whole);
    }
    if (!same) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> bytes(data, size);
    BmpRead read = BmpDecodeFile(bytes);
    CheckFileRoad(bytes, read);
    if (read.dib) {
        // Whatever was accepted must be a whole picture: touch every pixel, convert it,
        // write it and read it back.
        const Dib* dib = read.dib.get();
        uint32_t mix = 0;
        for (int32_t y = 0; y < dib->Height(); y++) {
            for (int32_t x = 0; x < dib->Width(); x++) {
                mix ^= DibGetPixel(dib, x, y);
            }
        }
        auto converted = DibConvertTo24(dib);
        std::vector<uint8_t> file = DibEncodeFile(converted ? converted.get() : dib);
        BmpRead again = BmpDecodeFile(file);
        if (!again.dib || again.dib->Size() != (converted ? converted : read.dib)->Size()) {
            __builtin_trap();
        }
        (void)mix;
    }
    BmpDecodePacked(bytes);
    OpenPictureBytes(bytes, [] { return true; });
    OpenPictureBytes(bytes, [] { return false; });
    // The photo road: the Exif reader on its own, and the decoders behind a photo signature
    // (the first byte chooses PNG or JPEG, so every input reaches both).
    JpegOrientation(bytes);
    PhotoSize claimed;
    PhotoHeaderSize(bytes, &claimed);
    if (size > 0) {
        static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
        std::vector<uint8_t> photo;
        if (data[0] & 1) {
            photo.assign(kPng, kPng + 8);
        } else {
            photo = {0xFF, 0xD8, 0xFF};
        }
        photo.insert(photo.end(), data + 1, data + size);
        // Small limits keep each run quick; the reducer still runs on anything larger. A
        // picture claiming millions of pixels is judged from its header only: decoding it
        // (a progressive JPEG holds all its coefficients) would outgrow the fuzzer's memory.
        PhotoSize photoSize;
        if (PhotoHeaderSize(photo, &photoSize) &&
            uint64_t(std::max(photoSize.width, 0)) * uint64_t(std::max(photoSize.height, 0)) <=
                (1u << 22)) {
            DecodePhoto(photo, {64, 48}, {1, 1});
        }
    }
    return 0;
}
