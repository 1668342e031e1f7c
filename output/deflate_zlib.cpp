#include "output/deflate.h"

#include <zlib.h>

// The fastest level: an archive of a whole skin is made within a frame, and the stronger
// levels save only a few per cent on pictures of this size.
bool DeflateRaw(const uint8_t* data, size_t size, std::vector<uint8_t>& packedOut) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
        return false;
    }
    packedOut.resize(deflateBound(&stream, uLong(size)));
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = uInt(size);
    stream.next_out = packedOut.data();
    stream.avail_out = uInt(packedOut.size());
    // deflateBound leaves room for the whole stream, so one call with Z_FINISH ends it.
    int result = deflate(&stream, Z_FINISH);
    packedOut.resize(stream.total_out);
    deflateEnd(&stream);
    return result == Z_STREAM_END;
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    return uint32_t(crc32(0L, data, uInt(size)));
}
