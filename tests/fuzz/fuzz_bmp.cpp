// The reader and the picture checks take any bytes: nothing may crash, read or write outside
// a block, or allocate more than the largest accepted picture needs. Built as a libFuzzer
// target (make fuzz), and replayed over the saved corpus by the unit tests.
#include <cstddef>
#include <cstdint>
#include <span>

#include "image/bmp_file.h"
#include "image/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> bytes(data, size);
    BmpRead read = BmpDecodeFile(bytes);
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
    return 0;
}
