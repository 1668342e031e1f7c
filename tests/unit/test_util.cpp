#include "tests/unit/test_util.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace fs = std::filesystem;

ColorRef PatternColor(int32_t x, int32_t y) {
    return Rgb(uint32_t(7 * x + 3 * y), uint32_t(11 * y + x), uint32_t(200 - x - 2 * y));
}

std::unique_ptr<Dib> MakePattern24(int32_t width, int32_t height) {
    auto dib = DibCreate(width, height, 24);
    for (int32_t y = 0; y < height; y++) {
        for (int32_t x = 0; x < width; x++) {
            DibSetPixel(dib.get(), x, y, PatternColor(x, y));
        }
    }
    return dib;
}

bool SameRect(const Dib* a, int32_t ax, int32_t ay, const Dib* b, int32_t bx, int32_t by, int32_t w,
              int32_t h) {
    for (int32_t j = 0; j < h; j++) {
        for (int32_t i = 0; i < w; i++) {
            if (DibGetPixel(a, ax + i, ay + j) != DibGetPixel(b, bx + i, by + j)) {
                return false;
            }
        }
    }
    return true;
}

std::vector<uint8_t> RgbOf(const Dib* dib) {
    std::vector<uint8_t> rgb;
    for (int32_t y = 0; y < dib->Height(); y++) {
        for (int32_t x = 0; x < dib->Width(); x++) {
            ColorRef c = DibGetPixel(dib, x, y);
            rgb.insert(rgb.end(), {RedOf(c), GreenOf(c), BlueOf(c)});
        }
    }
    return rgb;
}

std::vector<uint8_t> BlockOf(const Dib* dib) {
    return {dib->Bytes(), dib->Bytes() + dib->Size()};
}

bool AllPixelsAre(const Dib* dib, int32_t x, int32_t y, int32_t w, int32_t h, ColorRef color) {
    for (int32_t j = y; j < y + h; j++) {
        for (int32_t i = x; i < x + w; i++) {
            if (DibGetPixel(dib, i, j) != color) {
                return false;
            }
        }
    }
    return true;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

namespace {
struct TempFolder {
    fs::path path;
    TempFolder() {
        path =
            fs::temp_directory_path() / ("korvane-test-" + std::to_string(std::random_device{}()));
        fs::create_directories(path);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};
} // namespace

std::string TempPath(const std::string& name) {
    static TempFolder folder;
    static int counter = 0;
    return (folder.path / (std::to_string(++counter) + "-" + name)).string();
}

std::string DataPath(const std::string& name) {
    return std::string(KORVANE_TEST_DATA) + "/" + name;
}

ForeignImage ReadWithPil(const std::string& path) {
    ForeignImage image;
#ifndef _WIN32
    std::string command = "/usr/bin/python3 -c 'import sys; from PIL import Image; "
                          "im = Image.open(sys.argv[1]); print(im.width, im.height, im.mode, "
                          "im.convert(\"RGB\").tobytes().hex())' '" +
                          path + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return image;
    }
    char mode[32] = {};
    if (std::fscanf(pipe, "%d %d %31s", &image.width, &image.height, mode) == 3) {
        image.mode = mode;
        unsigned byte;
        while (std::fscanf(pipe, "%2x", &byte) == 1) {
            image.rgb.push_back(uint8_t(byte));
        }
    }
    pclose(pipe);
#else
    (void)path;
#endif
    return image;
}

std::vector<uint8_t> WithField(std::vector<uint8_t> bytes, size_t offset, uint32_t value,
                               int size) {
    size == 2 ? PutLe16(&bytes[offset], uint16_t(value)) : PutLe32(&bytes[offset], value);
    return bytes;
}

void Put16(std::vector<uint8_t>& v, uint16_t x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}

void Put32(std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 0; i < 4; i++) {
        v.push_back(uint8_t(x >> (8 * i)));
    }
}

std::vector<uint8_t> BmpHead(int32_t width, int32_t height, int bits, uint32_t compression,
                             uint32_t clrUsed, uint32_t offBits, uint32_t fileSize) {
    std::vector<uint8_t> v = {'B', 'M'};
    for (uint32_t field : {fileSize, 0u, offBits, 40u, uint32_t(width), uint32_t(height)}) {
        Put32(v, field);
    }
    Put16(v, 1); // planes
    Put16(v, uint16_t(bits));
    for (uint32_t field : {compression, 0u, 2835u, 2835u, clrUsed, 0u}) {
        Put32(v, field);
    }
    return v;
}
