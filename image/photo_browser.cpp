// The browser build's photo decoders. The page decodes PNG and JPEG files with the browser's
// own codecs and hands the core their pixels, so a photo file reaching the core's file
// reader is refused with that reason.
#include "image/photo.h"

std::string DecodePng(std::span<const uint8_t>, PhotoSink&) {
    return "PNG files are decoded by the page in this build";
}

std::string DecodeJpeg(std::span<const uint8_t>, PhotoSink&) {
    return "JPEG files are decoded by the page in this build";
}
