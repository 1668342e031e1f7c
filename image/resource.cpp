#include "image/bmp_file.h"

// Kept apart from the file routines: programs that never load a built-in bitmap need not
// link a bitmap registry.
std::unique_ptr<Dib> DibLoadResource(uint16_t id) {
    std::span<const uint8_t> bytes = BuiltinBitmapBytes(id);
    if (bytes.empty()) {
        return nullptr;
    }
    return BmpDecodePacked(bytes).dib;
}
