#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <tuple>

#include "image/bmp_file.h"
#include "tests/unit/test_util.h"

// Files written by another program are read in bmp_fixtures_test; here are the forms it does
// not write (deltas, clipped runs, odd masks, short tables, old headers) and the refusals.

namespace {

// A 3 x 2 8-bit file with the colour table cut to `entries`.
std::vector<uint8_t> ShortTableFile(uint32_t entries) {
    uint32_t off = 54 + 4 * entries;
    auto v = BmpHead(3, 2, 8, 0, entries, off, off + 8);
    for (uint32_t i = 0; i < entries; i++) {
        v.insert(v.end(), {uint8_t(i), uint8_t(10 * i), uint8_t(20 * i), 0});
    }
    v.insert(v.end(), {0, 1, 2, 0, 2, 1, 0, 0}); // bottom row, then top row
    return v;
}

// A 2 x 1 16-bit 5-6-5 file with its masks after a 40-byte header.
std::vector<uint8_t> Masked565() {
    auto v = BmpHead(2, 1, 16, 3, 0, 54 + 12, 0);
    Put32(v, 0xF800);
    Put32(v, 0x07E0);
    Put32(v, 0x001F);
    Put16(v, uint16_t(31 << 11 | 32 << 5 | 0));
    Put16(v, uint16_t(0 << 11 | 63 << 5 | 16));
    return v;
}

// A grey-table file of `width` x `height` holding the RLE `stream`.
std::vector<uint8_t> RleFile(int32_t width, int32_t height, int bits,
                             const std::vector<uint8_t>& stream) {
    int colors = 1 << bits;
    auto v = BmpHead(width, height, bits, bits == 8 ? 1 : 2, 0, 54 + 4 * colors, 0);
    for (int i = 0; i < colors; i++) {
        v.insert(v.end(), {uint8_t(i), uint8_t(i), uint8_t(i), 0});
    }
    v.insert(v.end(), stream.begin(), stream.end());
    return v;
}

} // namespace

// The bytes of written 24-bit files are the skin digests'; here the other depths and the
// refusals.
TEST(BmpWrite, AnIndependentReaderSeesOurPixels) {
    std::string folder = TempPath("folder");
    std::filesystem::create_directories(folder);
    EXPECT_FALSE(DibWriteFile(folder.c_str(), MakePattern24(2, 2).get()));
    EXPECT_FALSE(DibWriteFile(TempPath("x.bmp").c_str(), nullptr));
#ifdef _WIN32
    GTEST_SKIP() << "the independent reader runs natively only";
#endif
    // Odd widths so every row is padded; distinct channels so a swap or a flip shows.
    auto four = DibCreate(7, 3, 4);
    for (int i = 0; i < 16; i++) {
        uint8_t* e = four->Bytes() + 40 + 4 * i;
        e[0] = uint8_t(i * 16), e[2] = uint8_t(255 - i * 16);
    }
    four->Row(2)[3] = 0x0F; // x 7 is padding; x 6 high nibble is 0
    four->Row(0)[0] = 0x9F;
    std::unique_ptr<Dib> dibs[] = {MakePattern24(13, 5), std::move(four)};
    for (const auto& owned : dibs) {
        const Dib* dib = owned.get();
        std::string path = TempPath("pattern.bmp");
        ASSERT_TRUE(DibWriteFile(path.c_str(), dib));
        ForeignImage image = ReadWithPil(path);
        EXPECT_EQ(std::tuple(image.mode, image.width, image.height, image.rgb),
                  std::tuple(dib->BitCount() == 24 ? "RGB" : "P", dib->Width(), dib->Height(),
                             RgbOf(dib)));
    }
}

TEST(BmpRead, RefusesWhatIsNotABmpAndSaysWhy) {
    auto good = DibEncodeFile(MakePattern24(3, 2).get());
    auto truncated = WithField({good.begin(), good.end() - 1}, 2, 0, 4);
    auto endless = RleFile(4, 3, 8, {2, 5}); // a run, and no end-of-bitmap mark
    auto masked = Masked565();
    // Too large is told from the header alone: the pixels are not there.
    auto huge = BmpHead(2000, 1000, 8, 0, 0, 54 + 1024, 0);
    huge.resize(54 + 1024);
    // A file and what is said of it, "" for a file that is read.
    const std::pair<std::vector<uint8_t>, const char*> cases[] = {
        {{}, "not a BMP file"},
        {{good.begin(), good.begin() + 13}, "truncated: 13 bytes is shorter than a BMP header"},
        {WithField(good, 0, 'P' | 'K' << 8, 2), "not a BMP file"},
        {WithField(good, 2, uint32_t(good.size() + 1), 4),
         "truncated: header says 79 bytes, file has 78"},
        {WithField(good, 2, 0, 4), ""}, // bfSize 0 is common
        {WithField(good, 14, 64, 4), "unknown header size 64"},
        {WithField(good, 14 + 12, 2, 2), "2 planes where a BMP has 1"},
        {WithField(good, 14 + 14, 2, 2), "2 bits per pixel"},
        {WithField(good, 14 + 16, 4, 4), "compression 4 is not read for a 24-bit picture"},
        {WithField(good, 14 + 16, 1, 4), "compression 1 is not read for a 24-bit picture"},
        {WithField(good, 14 + 4, 0, 4), "no picture in a size of 0 x 2"},
        {WithField(good, 14 + 8, 0, 4), "no picture in a size of 3 x 0"},
        {WithField(good, 14 + 8, 0x80000000u, 4), "no picture in a size of 3 x -2147483648"},
        {WithField(good, 14 + 8, 3, 4), "truncated: the pixels need 90 bytes, file has 78"},
        {truncated, "truncated: the pixels need 78 bytes, file has 77"},
        {endless, "RLE stream ends early"},
        {WithField(endless, 22, uint32_t(-3), 4),
         "compression 1 is not read for a 8-bit top-down picture"},
        {WithField(masked, 54, 0xF0F0, 4), "colour mask 0000F0F0 is not one run of bits"},
        {{masked.begin(), masked.begin() + 60}, "truncated inside the colour masks"},
        {WithField(ShortTableFile(3), 46, 300, 4), "a colour table of 300 entries"},
        {huge, "2000 x 1000 is larger than 1600 x 1200"},
        {BmpHead(100, -1201, 24, 0, 0, 54, 0), "100 x 1201 is larger than 1600 x 1200"},
    };
    for (const auto& [file, reason] : cases) {
        BmpRead read = BmpDecodeFile(file);
        BmpStatus status = !*reason                        ? BmpStatus::Ok
                           : std::strstr(reason, "larger") ? BmpStatus::TooLarge
                                                           : BmpStatus::Unreadable;
        EXPECT_EQ(std::pair(read.status, read.reason), std::pair(status, std::string(reason)));
    }
}

TEST(BmpRead, OnlyRegularFilesAreReadAndRefusalsSayWhy) {
    std::string folder = TempPath("a-folder.bmp");
    std::filesystem::create_directories(folder);
    auto good = DibEncodeFile(MakePattern24(40, 30).get());
    std::string shortFile = TempPath("short.bmp");
    WriteBytes(shortFile, {good.begin(), good.end() - 100}); // bfSize now claims more
    std::vector<std::pair<std::string, std::string>> cases = {
        {TempPath("does-not-exist.bmp"), std::strerror(ENOENT)},
        {folder, "a folder, not a file"},
        {shortFile, "truncated: header says 3654 bytes, file has 3554"},
    };
#ifndef _WIN32
    cases.push_back({"/dev/zero", "a device, not a file"}); // reading it would never end
#endif
    for (const auto& [path, reason] : cases) {
        auto start = std::chrono::steady_clock::now();
        BmpRead read = BmpReadFile(path.c_str());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_EQ(std::tuple(read.status, bool(read.dib), read.reason),
                  std::tuple(BmpStatus::Unreadable, false, reason))
            << path;
    }
}

ColorRef Grey(int i) {
    return Rgb(uint8_t(i), uint8_t(i), uint8_t(i));
}

TEST(BmpRead, EveryFormReadsToThePixelsItDescribes) {
    // 6 x 3, stream rows from the bottom: 7 7 7 1 2 3 (padded literal), line end; middle: x 0 = 5;
    // delta 1 right, 1 up: x 2 of the top row; top: x 2..5 = 9, end of bitmap.
    auto rle8 = RleFile(6, 3, 8, {3, 7, 0, 3, 1, 2, 3, 0, 0, 0, 1, 5, 0, 2, 1, 1, 4, 9, 0, 1});
    // Runs past the row end or the last row are dropped, not written elsewhere.
    auto wild = RleFile(6, 3, 8, {255, 1, 0, 2, 255, 255, 255, 4, 0, 0, 0, 0, 0, 0, 255, 6, 0, 1});
    // 5 x 2 4-bit: a run alternates its two nibbles, a literal is read nibble by nibble.
    auto rle4 = RleFile(5, 2, 4, {5, 0x12, 0, 0, 0, 3, 0xAB, 0xC0, 0, 1});
    // 24-bit top-down 2 x 2: rows stored top first.
    auto topDown = BmpHead(2, -2, 24, 0, 0, 54, 0);
    topDown.insert(topDown.end(), {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0});
    // bfOffBits may leave a gap after a short table; the rows are where it points.
    auto gap = ShortTableFile(2);
    PutLe32(gap.data() + 10, GetLe32(gap.data() + 10) + 6);
    gap.insert(gap.begin() + 54 + 8, 6, 0xEE);
    // 32-bit with blue in the high byte.
    auto odd = BmpHead(1, 1, 32, 3, 0, 54 + 12, 0);
    for (uint32_t v : {0x0000FF00u, 0x00FF0000u, 0xFF000000u, 0x11223344u}) {
        Put32(odd, v);
    }
    // A 12-byte header: table entries of three bytes, blue first.
    std::vector<uint8_t> old = {
        'B', 'M', 0,  0,  0,  0,  0,    0, 0, 0, 32, 0, 0,
        0,   12,  0,  0,  0,  3,  0,    1, 0, 1, 0,  1, 0, // 3 x 1, one plane, 1 bit
        10,  20,  30, 40, 50, 60, 0x40, 0, 0, 0};          // x 1 set
    const ColorRef a = Rgb(20, 10, 1), b = Rgb(40, 20, 2), g1 = Grey(1), g2 = Grey(2), g9 = Grey(9);
    using Rows = std::vector<std::vector<ColorRef>>; // top row first
    const std::tuple<const char*, std::vector<uint8_t>, Rows> cases[] = {
        {"rle8",
         rle8,
         {{0, 0, g9, g9, g9, g9},
          {Grey(5), 0, 0, 0, 0, 0},
          {Grey(7), Grey(7), Grey(7), g1, g2, Grey(3)}}},
        {"rle8 clipped", wild, {{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, std::vector(6, g1)}},
        {"rle4", rle4, {{Grey(10), Grey(11), Grey(12), 0, 0}, {g1, g2, g1, g2, g1}}},
        {"top-down", topDown, {{Rgb(3, 2, 1), Rgb(6, 5, 4)}, {Rgb(9, 8, 7), Rgb(12, 11, 10)}}},
        {"short table", ShortTableFile(3), {{b, a, 0}, {0, a, b}}},
        {"gap after the table", gap, {{0, a, 0}, {0, a, 0}}},
        {"5-6-5 masks", Masked565(), {{Rgb(255, 130, 0), Rgb(0, 255, 132)}}},
        {"blue in the high byte", odd, {{Rgb(0x33, 0x22, 0x11)}}},
        {"12-byte header", old, {{Rgb(30, 20, 10), Rgb(60, 50, 40), Rgb(30, 20, 10)}}},
    };
    // From memory and from a file, which reads rows straight into the picture.
    std::string path = TempPath("form.bmp");
    for (const auto& [form, file, want] : cases) {
        SCOPED_TRACE(form);
        WriteBytes(path, file);
        for (const BmpRead& read : {BmpDecodeFile(file), BmpReadFile(path.c_str())}) {
            ASSERT_EQ(read.status, BmpStatus::Ok) << read.reason;
            EXPECT_EQ(GetLe32(read.dib->Bytes() + kBiCompression), 0u);
            Rows rows = want;
            for (size_t y = 0; y < rows.size(); y++) {
                for (size_t x = 0; x < rows[y].size(); x++) {
                    rows[y][x] = DibGetPixel(read.dib.get(), int(x), int(y));
                }
            }
            EXPECT_EQ(rows, want);
        }
    }
}
