// PNG decoding with libpng, for the native builds.
//
// libpng reports errors by longjmp back to the setjmp in ReadRows, so that function and the
// callbacks it passes through hold nothing with a destructor: its state lives in a plain
// struct its caller owns and cleans up.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/photo.h"

namespace {

struct PngState {
    const uint8_t* data;
    size_t size;
    size_t at;
    PhotoSink* sink;
    png_structp png;
    png_infop info;
    uint8_t* rows; // the decoded rows: one, or the whole picture when it is interlaced
    uint8_t* bgr;  // one row after compositing
    bool refused;
    char reason[160];
};

void ReadBytes(png_structp png, png_bytep out, size_t count) {
    auto* s = static_cast<PngState*>(png_get_io_ptr(png));
    if (count > s->size - s->at) {
        png_error(png, "the file ends early");
    }
    std::memcpy(out, s->data + s->at, count);
    s->at += count;
}

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
    auto* s = static_cast<PngState*>(png_get_error_ptr(png));
    std::snprintf(s->reason, sizeof s->reason, "damaged PNG file: %s", message);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Blue, green, red (and alpha) of libpng's row into blue, green, red over white.
void ToBgr(const uint8_t* in, int channels, uint32_t width, uint8_t* out) {
    if (channels == 3) {
        std::memcpy(out, in, 3 * size_t(width));
        return;
    }
    for (uint32_t x = 0; x < width; x++, in += 4, out += 3) {
        uint32_t a = in[3];
        for (int c = 0; c < 3; c++) {
            out[c] = uint8_t((in[c] * a + 255 * (255 - a) + 127) / 255);
        }
    }
}

bool ReadRows(PngState* s) {
    if (setjmp(png_jmpbuf(s->png))) {
        return false;
    }
    png_set_read_fn(s->png, s, ReadBytes);
    png_read_info(s->png, s->info);
    uint32_t width = png_get_image_width(s->png, s->info);
    uint32_t height = png_get_image_height(s->png, s->info);
    PhotoSize plan = s->sink->Plan(int32_t(std::min<uint32_t>(width, INT32_MAX)),
                                   int32_t(std::min<uint32_t>(height, INT32_MAX)));
    if (plan.width <= 0) {
        s->refused = true;
        return false;
    }
    // Every colour type and depth comes out as 8-bit blue, green, red, with alpha where the
    // file has any transparency.
    png_set_expand(s->png);
    png_set_scale_16(s->png);
    png_set_gray_to_rgb(s->png);
    png_set_bgr(s->png);
    int passes = png_set_interlace_handling(s->png);
    png_read_update_info(s->png, s->info);
    int channels = png_get_channels(s->png, s->info);
    size_t rowBytes = png_get_rowbytes(s->png, s->info);
    if ((channels != 3 && channels != 4) || rowBytes != size_t(channels) * width) {
        png_error(s->png, "unexpected row layout");
    }
    size_t held = passes > 1 ? size_t(height) : 1;
    s->rows = static_cast<uint8_t*>(std::malloc(rowBytes * held));
    s->bgr = static_cast<uint8_t*>(std::malloc(3 * size_t(width)));
    if (!s->rows || !s->bgr) {
        png_error(s->png, "out of memory");
    }
    if (!s->sink->Begin(int32_t(width), int32_t(height))) {
        s->refused = true;
        return false;
    }
    if (passes > 1) {
        // An interlaced picture is complete only after its last pass.
        std::memset(s->rows, 0, rowBytes * held);
        for (int pass = 0; pass < passes; pass++) {
            for (uint32_t y = 0; y < height; y++) {
                png_read_row(s->png, s->rows + rowBytes * y, nullptr);
            }
        }
        for (uint32_t y = 0; y < height; y++) {
            ToBgr(s->rows + rowBytes * y, channels, width, s->bgr);
            s->sink->Row(s->bgr);
        }
    } else {
        for (uint32_t y = 0; y < height; y++) {
            png_read_row(s->png, s->rows, nullptr);
            ToBgr(s->rows, channels, width, s->bgr);
            s->sink->Row(s->bgr);
        }
    }
    png_read_end(s->png, nullptr);
    return true;
}

} // namespace

std::string DecodePng(std::span<const uint8_t> file, PhotoSink& sink) {
    PngState s{};
    s.data = file.data();
    s.size = file.size();
    s.sink = &sink;
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s, OnError, OnWarning);
    s.info = s.png ? png_create_info_struct(s.png) : nullptr;
    bool ok = s.info && ReadRows(&s);
    png_destroy_read_struct(s.png ? &s.png : nullptr, s.info ? &s.info : nullptr, nullptr);
    std::free(s.rows);
    std::free(s.bgr);
    if (ok) {
        return {};
    }
    if (s.refused) {
        return "refused";
    }
    return s.reason[0] ? s.reason : "the PNG file cannot be read";
}
