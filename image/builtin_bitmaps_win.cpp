// The built-in bitmaps of the Windows build are RT_BITMAP resources of the program itself.
// A loaded resource stays mapped for the life of the module, so the span stays valid.
#include <windows.h>

#include "image/bmp_file.h"

std::span<const uint8_t> BuiltinBitmapBytes(uint16_t id) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2)); // RT_BITMAP
    if (!found) {
        return {};
    }
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) {
        return {};
    }
    return {static_cast<const uint8_t*>(bytes), size_t(SizeofResource(module, found))};
}
