// JPEG decoding with libjpeg-turbo, for the native builds.
//
// libjpeg reports errors by longjmp back to the setjmp in ReadRows, so that function and the
// callbacks it passes through hold nothing with a destructor: its state lives in a plain
// struct its caller owns and cleans up.
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "image/photo.h"

namespace {

struct JpegState {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    std::jmp_buf jump;
    PhotoSink* sink;
    uint8_t* row; // libjpeg's row: blue, green, red, or four inks
    uint8_t* bgr; // the row as blue, green, red
    bool refused;
    char reason[JMSG_LENGTH_MAX + 32];
};

JpegState* StateOf(j_common_ptr cinfo) {
    // The error manager is the one in JpegState; cinfo is the struct's first member.
    return reinterpret_cast<JpegState*>(cinfo);
}

[[noreturn]] void OnError(j_common_ptr cinfo) {
    JpegState* s = StateOf(cinfo);
    char message[JMSG_LENGTH_MAX];
    cinfo->err->format_message(cinfo, message);
    std::snprintf(s->reason, sizeof s->reason, "damaged JPEG file: %s", message);
    std::longjmp(s->jump, 1);
}

// Warnings are taken in stride (phone photos often carry stray bytes), except the one that
// says the picture's data ended early: its lower rows would be made up.
void OnMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) {
        JpegState* s = StateOf(cinfo);
        std::snprintf(s->reason, sizeof s->reason, "damaged JPEG file: the file ends early");
        std::longjmp(s->jump, 1);
    }
}

// The smallest DCT scale, in eighths, whose output is still at least the planned size.
int ScaleEighths(uint32_t width, uint32_t height, PhotoSize plan) {
    for (int m = 1; m < 8; m++) {
        uint64_t w = (uint64_t(width) * m + 7) / 8;
        uint64_t h = (uint64_t(height) * m + 7) / 8;
        if (w >= uint64_t(plan.width) && h >= uint64_t(plan.height)) {
            return m;
        }
    }
    return 8;
}

// Four inks into blue, green, red. Adobe's files store the inks inverted (255: no ink).
void InksToBgr(const uint8_t* in, uint32_t width, bool inverted, uint8_t* out) {
    for (uint32_t x = 0; x < width; x++, in += 4, out += 3) {
        uint32_t k = inverted ? in[3] : 255u - in[3];
        for (int c = 0; c < 3; c++) {
            uint32_t ink = inverted ? in[2 - c] : 255u - in[2 - c];
            out[c] = uint8_t((ink * k + 127) / 255);
        }
    }
}

bool ReadRows(JpegState* s, const uint8_t* data, size_t size) {
    if (setjmp(s->jump)) {
        return false;
    }
    jpeg_create_decompress(&s->cinfo);
    jpeg_mem_src(&s->cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&s->cinfo, TRUE) != JPEG_HEADER_OK) {
        std::snprintf(s->reason, sizeof s->reason, "damaged JPEG file: no picture in it");
        return false;
    }
    PhotoSize plan = s->sink->Plan(int32_t(s->cinfo.image_width), int32_t(s->cinfo.image_height));
    if (plan.width <= 0) {
        s->refused = true;
        return false;
    }
    s->cinfo.scale_num = unsigned(ScaleEighths(s->cinfo.image_width, s->cinfo.image_height, plan));
    s->cinfo.scale_denom = 8;
    const bool inks =
        s->cinfo.jpeg_color_space == JCS_CMYK || s->cinfo.jpeg_color_space == JCS_YCCK;
    s->cinfo.out_color_space = inks ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&s->cinfo);
    const uint32_t width = s->cinfo.output_width;
    const uint32_t height = s->cinfo.output_height;
    s->row = static_cast<uint8_t*>(std::malloc(size_t(width) * size_t(s->cinfo.output_components)));
    s->bgr = static_cast<uint8_t*>(std::malloc(3 * size_t(width)));
    if (!s->row || !s->bgr) {
        std::snprintf(s->reason, sizeof s->reason, "out of memory");
        return false;
    }
    if (!s->sink->Begin(int32_t(width), int32_t(height))) {
        s->refused = true;
        return false;
    }
    while (s->cinfo.output_scanline < height) {
        JSAMPROW rows[1] = {s->row};
        if (jpeg_read_scanlines(&s->cinfo, rows, 1) != 1) {
            std::snprintf(s->reason, sizeof s->reason, "damaged JPEG file: a row is missing");
            return false;
        }
        if (inks) {
            InksToBgr(s->row, width, s->cinfo.saw_Adobe_marker, s->bgr);
            s->sink->Row(s->bgr);
        } else {
            s->sink->Row(s->row);
        }
    }
    jpeg_finish_decompress(&s->cinfo);
    return true;
}

} // namespace

std::string DecodeJpeg(std::span<const uint8_t> file, PhotoSink& sink) {
    static_assert(offsetof(JpegState, cinfo) == 0);
    JpegState* s = static_cast<JpegState*>(std::calloc(1, sizeof(JpegState)));
    if (!s) {
        return "out of memory";
    }
    s->sink = &sink;
    s->cinfo.err = jpeg_std_error(&s->errors);
    s->errors.error_exit = OnError;
    s->errors.emit_message = OnMessage;
    bool ok = ReadRows(s, file.data(), file.size());
    jpeg_destroy_decompress(&s->cinfo);
    std::free(s->row);
    std::free(s->bgr);
    std::string reason = ok             ? ""
                         : s->refused   ? "refused"
                         : s->reason[0] ? s->reason
                                        : "the JPEG file cannot be read";
    std::free(s);
    return reason;
}
