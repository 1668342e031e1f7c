#include "output/deflate.h"

#include <zlib.h>

#include <memory>

namespace {

// One compressor per thread, kept from member to member: deflateReset gives the state of a
// fresh deflateInit2 without allocating and faulting in its window and tables again.
class Compressor {
  public:
    Compressor() {
        ok_ = deflateInit2(&stream_, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8,
                           Z_DEFAULT_STRATEGY) == Z_OK;
    }
    ~Compressor() {
        if (ok_) {
            deflateEnd(&stream_);
        }
    }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    bool Deflate(const uint8_t* data, size_t size, std::vector<uint8_t>& packedOut) {
        if (!ok_ || deflateReset(&stream_) != Z_OK) {
            return false;
        }
        // deflateBound leaves room for the whole stream, so one call with Z_FINISH ends it.
        // The room is not zeroed first: the stream fills what the member keeps.
        size_t bound = deflateBound(&stream_, uLong(size));
        if (bound > capacity_) {
            buffer_.reset(new uint8_t[bound]);
            capacity_ = bound;
        }
        stream_.next_in = const_cast<Bytef*>(data);
        stream_.avail_in = uInt(size);
        stream_.next_out = buffer_.get();
        stream_.avail_out = uInt(bound);
        int result = deflate(&stream_, Z_FINISH);
        packedOut.assign(buffer_.get(), buffer_.get() + stream_.total_out);
        return result == Z_STREAM_END;
    }

  private:
    z_stream stream_{};
    bool ok_ = false;
    std::unique_ptr<uint8_t[]> buffer_;
    size_t capacity_ = 0;
};

} // namespace

// The fastest level: an archive of a whole skin is made within a frame, and the stronger
// levels save only a few per cent on pictures of this size.
bool DeflateRaw(const uint8_t* data, size_t size, std::vector<uint8_t>& packedOut) {
    thread_local Compressor compressor;
    return compressor.Deflate(data, size, packedOut);
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    return uint32_t(crc32(0L, data, uInt(size)));
}
