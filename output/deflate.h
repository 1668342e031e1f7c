#pragma once

// The archive's compression, behind a seam so each build supplies its own: zlib in the native
// and Windows builds (deflate_zlib.cpp), the browser's in the WebAssembly build. Every one of
// them must give the bytes zlib 1.2.13 gives at its fastest level, so an archive is the same
// whichever build made it.

#include <cstddef>
#include <cstdint>
#include <vector>

// Raw deflate of size bytes (no zlib header or trailer), as zip method 8 stores it, at the
// fastest level. False when the compressor fails; packedOut is then unspecified.
bool DeflateRaw(const uint8_t* data, size_t size, std::vector<uint8_t>& packedOut);

// The CRC-32 a zip header carries for these bytes.
uint32_t Crc32(const uint8_t* data, size_t size);
