#include "output/deflate.h"

#include <emscripten.h>

// pako is a JavaScript port of zlib that gives zlib 1.2.13's exact raw deflate bytes at the
// same level, memory level and window; the page loads it before the core. The result stays
// on the JavaScript side until the second call copies it into our buffer, so the size is
// known before the vector grows.
EM_JS(int, korvane_js_deflate, (const uint8_t* data, size_t size), {
    try {
        Module.korvaneDeflated =
            globalThis.pako.deflateRaw(HEAPU8.subarray(data, data + size), {level : 1});
        return Module.korvaneDeflated.length;
    } catch (e) {
        return -1;
    }
});

EM_JS(void, korvane_js_take_deflated, (uint8_t * out), {
    HEAPU8.set(Module.korvaneDeflated, out);
    Module.korvaneDeflated = null;
});

bool DeflateRaw(const uint8_t* data, size_t size, std::vector<uint8_t>& packedOut) {
    int packed = korvane_js_deflate(data, size);
    if (packed < 0) {
        return false;
    }
    packedOut.resize(size_t(packed));
    if (packed > 0) {
        korvane_js_take_deflated(packedOut.data());
    }
    return true;
}

// The zip CRC-32 (reflected polynomial 0xEDB88320), a table per byte lane so four input
// bytes cost four lookups and one shift.
static uint32_t gCrcTable[4][256];

static void FillCrcTables() {
    for (uint32_t n = 0; n < 256; n++) {
        uint32_t c = n;
        for (int k = 0; k < 8; k++) {
            c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        gCrcTable[0][n] = c;
    }
    for (uint32_t n = 0; n < 256; n++) {
        for (int lane = 1; lane < 4; lane++) {
            uint32_t prev = gCrcTable[lane - 1][n];
            gCrcTable[lane][n] = gCrcTable[0][prev & 0xFF] ^ (prev >> 8);
        }
    }
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    if (gCrcTable[0][1] == 0) {
        FillCrcTables();
    }
    uint32_t c = 0xFFFFFFFFu;
    size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        c ^= uint32_t(data[i]) | uint32_t(data[i + 1]) << 8 | uint32_t(data[i + 2]) << 16 |
             uint32_t(data[i + 3]) << 24;
        c = gCrcTable[3][c & 0xFF] ^ gCrcTable[2][(c >> 8) & 0xFF] ^
            gCrcTable[1][(c >> 16) & 0xFF] ^ gCrcTable[0][c >> 24];
    }
    for (; i < size; i++) {
        c = gCrcTable[0][(c ^ data[i]) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}
