#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "image/bmp_file.h"
#include "tests/unit/test_util.h"

namespace {

std::vector<uint8_t> Bytes(const Dib& dib) { return {dib.Bytes(), dib.Bytes() + dib.Size()}; }

BmpRead Decode(const std::vector<uint8_t>& file) { return BmpDecodeFile(file); }

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

} // namespace

TEST(BmpWrite, TrueColourFileIsHeaderThenTheBlock) {
    auto dib = MakePattern24(275, 116);
    std::string path = TempPath("main.bmp");
    ASSERT_TRUE(DibWriteFile(path.c_str(), dib.get()));
    std::vector<uint8_t> file = ReadBytes(path);
    const size_t size = 54 + 828 * 116;
    ASSERT_EQ(file.size(), size);
    const uint8_t head[14] = {'B', 'M', uint8_t(size), uint8_t(size >> 8), uint8_t(size >> 16), 0,
                              0,   0,   0,            0,               54, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(file.data(), head, 14));
    EXPECT_EQ(0, std::memcmp(file.data() + 14, dib->Bytes(), dib->Size()));
    EXPECT_EQ(file, DibEncodeFile(dib.get()));

    auto back = DibReadFile(path.c_str());
    ASSERT_TRUE(back);
    EXPECT_EQ(Bytes(*back), Bytes(*dib));
}

TEST(BmpWrite, PaletteFilesCarryTheFullTable) {
    auto eight = DibCreate(5, 3, 8);
    eight->Bytes()[40 + 4 * 255 + 2] = 0xAB; // last entry's red
    std::vector<uint8_t> file = DibEncodeFile(eight.get());
    EXPECT_EQ(GetLe32(file.data() + 10), 1078u);
    EXPECT_EQ(file.size(), 1078u + 8u * 3u);
    EXPECT_EQ(file[14 + 40 + 4 * 255 + 2], 0xAB);

    auto four = DibCreate(5, 3, 4);
    EXPECT_EQ(GetLe32(DibEncodeFile(four.get()).data() + 10), 118u);
}

TEST(BmpWrite, NothingToWriteOrNowhereToWriteIsAFailure) {
    std::string path = TempPath("none.bmp");
    EXPECT_FALSE(DibWriteFile(path.c_str(), nullptr));
    EXPECT_FALSE(std::filesystem::exists(path));
    auto dib = MakePattern24(3, 3);
    std::string folder = TempPath("folder");
    std::filesystem::create_directories(folder);
    EXPECT_FALSE(DibWriteFile(folder.c_str(), dib.get()));
    EXPECT_FALSE(DibWriteFile((folder + "/missing/x.bmp").c_str(), dib.get()));
    EXPECT_TRUE(DibEncodeFile(nullptr).empty());
}

TEST(BmpWrite, AnIndependentReaderSeesOurPixels) {
    if (!HaveForeignReader()) {
        GTEST_SKIP() << "python3-pil is not available here";
    }
    // Odd width so every row is padded; distinct channels so a swap or a flip shows.
    auto dib = MakePattern24(13, 5);
    std::string path = TempPath("pattern.bmp");
    ASSERT_TRUE(DibWriteFile(path.c_str(), dib.get()));
    ForeignImage image = ReadWithPil(path);
    ASSERT_TRUE(image.ok);
    EXPECT_EQ(image.width, 13);
    EXPECT_EQ(image.height, 5);
    EXPECT_EQ(image.mode, "RGB");
    for (int y = 0; y < 5; y++) {
        for (int x = 0; x < 13; x++) {
            const uint8_t* p = &image.rgb[3 * size_t(y * 13 + x)];
            ASSERT_EQ(Rgb(p[0], p[1], p[2]), PatternColor(x, y)) << x << "," << y;
        }
    }

    auto four = DibCreate(7, 3, 4);
    for (int i = 0; i < 16; i++) {
        uint8_t* e = four->Bytes() + 40 + 4 * i;
        e[0] = uint8_t(i * 16);
        e[2] = uint8_t(255 - i * 16);
    }
    four->Row(2)[3] = 0x0F; // x 7 is padding; x 6 high nibble is 0
    four->Row(0)[0] = 0x9F;
    std::string fourPath = TempPath("four.bmp");
    ASSERT_TRUE(DibWriteFile(fourPath.c_str(), four.get()));
    ForeignImage fourImage = ReadWithPil(fourPath);
    ASSERT_TRUE(fourImage.ok);
    EXPECT_EQ(fourImage.mode, "P");
    for (int y = 0; y < 3; y++) {
        for (int x = 0; x < 7; x++) {
            const uint8_t* p = &fourImage.rgb[3 * size_t(y * 7 + x)];
            ASSERT_EQ(Rgb(p[0], p[1], p[2]), DibGetPixel(four.get(), x, y)) << x << "," << y;
        }
    }
}

// Each refusal says what is wrong, in words a user can act on.
TEST(BmpRead, RefusesWhatIsNotABmpAndSaysWhy) {
    auto good = DibEncodeFile(MakePattern24(3, 2).get());
    ASSERT_EQ(Decode(good).status, BmpStatus::Ok);

    auto changed = [&](size_t offset, uint32_t value, int bytes) {
        std::vector<uint8_t> v = good;
        bytes == 2 ? PutLe16(v.data() + offset, uint16_t(value))
                   : PutLe32(v.data() + offset, value);
        return v;
    };
    std::vector<uint8_t> truncated(good.begin(), good.end() - 1);
    PutLe32(truncated.data() + 2, 0);
    std::vector<uint8_t> endless = BmpHead(4, 1, 8, 1, 0, 54 + 1024, 54 + 1024 + 2);
    endless.resize(54 + 1024);
    endless.insert(endless.end(), {2, 5}); // a run, and no end-of-bitmap mark
    struct Case {
        std::vector<uint8_t> file;
        const char* reason; // "" for a file that is read
    };
    const Case cases[] = {
        {{}, "not a BMP file"},
        {{'B', 'M', 0, 0}, "truncated: 4 bytes is shorter than a BMP header"},
        {{good.begin(), good.begin() + 13}, "truncated: 13 bytes is shorter than a BMP header"},
        {changed(0, 'P' | 'K' << 8, 2), "not a BMP file"},
        {changed(2, uint32_t(good.size() + 1), 4), "truncated: header says 79 bytes, file has 78"},
        {changed(2, 0, 4), ""}, // bfSize 0 is common
        {changed(14, 64, 4), "unknown header size 64"},
        {changed(14 + 12, 2, 2), "2 planes where a BMP has 1"},
        {changed(14 + 14, 2, 2), "2 bits per pixel"},
        {changed(14 + 16, 4, 4), "compression 4 is not read for a 24-bit picture"}, // JPEG inside
        {changed(14 + 16, 1, 4), "compression 1 is not read for a 24-bit picture"},
        {changed(14 + 4, 0, 4), "no picture in a size of 0 x 2"},
        {changed(14 + 8, 0, 4), "no picture in a size of 3 x 0"},
        {changed(14 + 8, 0x80000000u, 4), "no picture in a size of 3 x -2147483648"},
        {changed(14 + 8, 3, 4), "truncated: the pixels need 90 bytes, file has 78"},
        {truncated, "truncated: the pixels need 78 bytes, file has 77"},
        {endless, "RLE stream ends early"},
    };
    for (const Case& c : cases) {
        BmpRead read = Decode(c.file);
        EXPECT_EQ(read.status, *c.reason ? BmpStatus::Unreadable : BmpStatus::Ok) << c.reason;
        EXPECT_EQ(read.reason, c.reason);
    }
}

TEST(BmpRead, OnlyRegularFilesAreReadAndRefusalsSayWhy) {
    std::string folder = TempPath("a-folder.bmp");
    std::filesystem::create_directories(folder);
    auto good = DibEncodeFile(MakePattern24(40, 30).get());
    std::string shortFile = TempPath("short.bmp");
    WriteBytes(shortFile, {good.begin(), good.end() - 100}); // bfSize now claims more
    struct Case {
        std::string path;
        std::string reason;
    };
    std::vector<Case> cases = {
        {TempPath("does-not-exist.bmp"), std::strerror(ENOENT)},
        {folder, "a folder, not a file"},
        {shortFile, "truncated: header says 3654 bytes, file has 3554"},
    };
#ifndef _WIN32
    // A pipe with no writer would block an open or a read forever.
    std::string fifo = TempPath("pipe.bmp");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    cases.push_back({fifo, "a pipe, not a file"});
    cases.push_back({"/dev/zero", "a device, not a file"});
#endif
    for (const Case& c : cases) {
        auto start = std::chrono::steady_clock::now();
        BmpRead read = BmpReadFile(c.path.c_str());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_EQ(read.status, BmpStatus::Unreadable);
        EXPECT_FALSE(read.dib);
        EXPECT_EQ(read.reason, c.reason) << c.path;
    }
}

TEST(BmpRead, TooLargeIsToldFromTheHeaderAlone) {
    // The header claims 2000 x 1000 but the file ends right after it: the reader must not
    // want the pixels to say so.
    auto v = BmpHead(2000, 1000, 8, 0, 0, 54 + 1024, 0);
    v.resize(54 + 1024);
    BmpRead read = Decode(v);
    EXPECT_EQ(read.status, BmpStatus::TooLarge);
    EXPECT_FALSE(read.dib);
    EXPECT_EQ(read.width, 2000);
    EXPECT_EQ(read.height, 1000);
    EXPECT_EQ(read.bitCount, 8);

    std::string path = TempPath("huge.bmp");
    WriteBytes(path, v);
    EXPECT_EQ(BmpReadFile(path.c_str()).status, BmpStatus::TooLarge);
    EXPECT_EQ(BmpReadFile(path.c_str()).reason, "2000 x 1000 is larger than 1600 x 1200");

    auto topDown = BmpHead(100, -1201, 24, 0, 0, 54, 0);
    EXPECT_EQ(Decode(topDown).status, BmpStatus::TooLarge);
    EXPECT_EQ(Decode(topDown).height, 1201);
}

TEST(BmpRead, TopDownRowsAreFlipped) {
    auto dib = MakePattern24(5, 3);
    auto file = DibEncodeFile(dib.get());
    // Rewrite as top-down: negative height, rows top first.
    std::vector<uint8_t> topDown(54 + 3 * dib->Stride());
    std::memcpy(topDown.data(), file.data(), 54);
    PutLe32(topDown.data() + 22, uint32_t(-3));
    for (int32_t y = 0; y < 3; y++) {
        std::memcpy(topDown.data() + 54 + size_t(y) * dib->Stride(), dib->Row(y), dib->Stride());
    }
    BmpRead read = Decode(topDown);
    ASSERT_EQ(read.status, BmpStatus::Ok);
    EXPECT_EQ(Bytes(*read.dib), Bytes(*dib));
    std::string path = TempPath("top-down.bmp");
    WriteBytes(path, topDown);
    auto fromDisk = DibReadFile(path.c_str());
    ASSERT_TRUE(fromDisk);
    EXPECT_EQ(Bytes(*fromDisk), Bytes(*dib));
}

TEST(BmpRead, ShortColourTablesAreExpandedAndRowsFoundByOffset) {
    BmpRead read = Decode(ShortTableFile(3));
    ASSERT_EQ(read.status, BmpStatus::Ok);
    const Dib& dib = *read.dib;
    EXPECT_EQ(dib.ColorCount(), 256);
    EXPECT_EQ(dib.Size(), 40u + 1024u + 8u);
    EXPECT_EQ(GetLe32(dib.Bytes() + kBiClrUsed), 0u);
    EXPECT_EQ(DibGetPixel(&dib, 0, 0), dib.TableColor(2));
    EXPECT_EQ(dib.TableColor(2), Rgb(40, 20, 2));
    EXPECT_EQ(DibGetPixel(&dib, 2, 1), Rgb(40, 20, 2));
    EXPECT_EQ(DibGetPixel(&dib, 1, 1), Rgb(20, 10, 1));
    EXPECT_EQ(dib.TableColor(3), 0u);

    // bfOffBits may leave a gap after the table; the rows are where it points.
    auto gap = ShortTableFile(2);
    PutLe32(gap.data() + 10, GetLe32(gap.data() + 10) + 6);
    gap.insert(gap.begin() + 54 + 8, 6, 0xEE);
    BmpRead withGap = Decode(gap);
    ASSERT_EQ(withGap.status, BmpStatus::Ok);
    EXPECT_EQ(DibGetPixel(withGap.dib.get(), 1, 0), withGap.dib->TableColor(1));

    // More entries than the depth allows is not a picture.
    auto tooMany = ShortTableFile(3);
    PutLe32(tooMany.data() + 46, 300);
    EXPECT_EQ(Decode(tooMany).status, BmpStatus::Unreadable);
}

TEST(BmpRead, Rle8RunsLiteralsDeltasAndLineEnds) {
    // 6 x 3, stream rows from the bottom.
    std::vector<uint8_t> stream = {
        3, 7, 0, 3, 1, 2, 3, 0, 0, 0, // bottom: 7 7 7 1 2 3 (a literal of 3, padded), line end
        0, 2, 2, 0,                   // delta 2 right: x 0 and 1 of the middle row stay 0
        4, 9, 0, 0,                   // middle row: x 2..5 = 9, line end
        1, 5, 0, 1,                   // top: x 0 = 5, then end of bitmap
    };
    uint32_t off = 54 + 1024;
    auto v = BmpHead(6, 3, 8, 1, 0, off, off + uint32_t(stream.size()));
    for (int i = 0; i < 256; i++) {
        v.insert(v.end(), {uint8_t(i), uint8_t(i), uint8_t(i), 0});
    }
    v.insert(v.end(), stream.begin(), stream.end());
    BmpRead read = Decode(v);
    ASSERT_EQ(read.status, BmpStatus::Ok);
    EXPECT_EQ(GetLe32(read.dib->Bytes() + kBiCompression), 0u);
    auto index = [&](int x, int y) { return DibGetPixel(read.dib.get(), x, y) & 0xFF; };
    const int bottom[6] = {7, 7, 7, 1, 2, 3};
    for (int x = 0; x < 6; x++) {
        EXPECT_EQ(index(x, 2), uint32_t(bottom[x])) << x;
        EXPECT_EQ(index(x, 1), x < 2 ? 0u : 9u) << x;
        EXPECT_EQ(index(x, 0), x == 0 ? 5u : 0u) << x;
    }

    // Without its end-of-bitmap mark the stream is cut short.
    std::vector<uint8_t> cut(v.begin(), v.end() - 2);
    EXPECT_EQ(Decode(cut).status, BmpStatus::Unreadable);
    // Runs past the row end or the last row are dropped, not written elsewhere.
    std::vector<uint8_t> wild(v.begin(), v.begin() + off);
    PutLe32(wild.data() + 2, 0);
    for (uint8_t b : {255, 1, 0, 2, 255, 255, 255, 4, 0, 0, 0, 0, 0, 0, 255, 6, 0, 1}) {
        wild.push_back(b);
    }
    BmpRead clipped = Decode(wild);
    ASSERT_EQ(clipped.status, BmpStatus::Ok);
    for (int x = 0; x < 6; x++) {
        EXPECT_EQ(DibGetPixel(clipped.dib.get(), x, 2) & 0xFF, 1u) << x;
        EXPECT_EQ(DibGetPixel(clipped.dib.get(), x, 1), 0u) << x;
        EXPECT_EQ(DibGetPixel(clipped.dib.get(), x, 0), 0u) << x;
    }
}

TEST(BmpRead, Rle4SplitsBytesIntoTwoPixels) {
    std::vector<uint8_t> stream = {5, 0x12, 0, 0, 0, 3, 0xAB, 0xC0, 0, 1};
    uint32_t off = 54 + 64;
    auto v = BmpHead(5, 2, 4, 2, 0, off, 0);
    for (int i = 0; i < 16; i++) {
        v.insert(v.end(), {uint8_t(i * 16), 0, 0, 0});
    }
    v.insert(v.end(), stream.begin(), stream.end());
    BmpRead read = Decode(v);
    ASSERT_EQ(read.status, BmpStatus::Ok);
    ASSERT_EQ(read.dib->BitCount(), 4);
    const int bottom[5] = {1, 2, 1, 2, 1};
    const int top[5] = {10, 11, 12, 0, 0};
    for (int x = 0; x < 5; x++) {
        EXPECT_EQ(DibGetPixel(read.dib.get(), x, 1), read.dib->TableColor(bottom[x])) << x;
        EXPECT_EQ(DibGetPixel(read.dib.get(), x, 0), read.dib->TableColor(top[x])) << x;
    }
    auto topDownRle = v;
    PutLe32(topDownRle.data() + 22, uint32_t(-2));
    EXPECT_EQ(Decode(topDownRle).status, BmpStatus::Unreadable);
}

TEST(BmpRead, BitfieldsAreReadThroughTheirMasks) {
    // 16-bit 5-6-5 with the masks after a 40-byte header: repacked into 32 bits.
    auto v = BmpHead(2, 1, 16, 3, 0, 54 + 12, 0);
    Put32(v, 0xF800);
    Put32(v, 0x07E0);
    Put32(v, 0x001F);
    Put16(v, uint16_t(31 << 11 | 32 << 5 | 0));
    Put16(v, uint16_t(0 << 11 | 63 << 5 | 16));
    BmpRead read = Decode(v);
    ASSERT_EQ(read.status, BmpStatus::Ok);
    EXPECT_EQ(read.bitCount, 16);
    EXPECT_EQ(read.dib->BitCount(), 32);
    EXPECT_EQ(DibGetPixel(read.dib.get(), 0, 0), Rgb(255, 130, 0));
    EXPECT_EQ(DibGetPixel(read.dib.get(), 1, 0), Rgb(0, 255, 132));

    // 32-bit with blue in the high byte.
    auto w = BmpHead(1, 1, 32, 3, 0, 54 + 12, 0);
    Put32(w, 0x0000FF00);
    Put32(w, 0x00FF0000);
    Put32(w, 0xFF000000);
    Put32(w, 0x11223344);
    BmpRead odd = Decode(w);
    ASSERT_EQ(odd.status, BmpStatus::Ok);
    EXPECT_EQ(DibGetPixel(odd.dib.get(), 0, 0), Rgb(0x33, 0x22, 0x11));

    // A mask with a hole in it is not a channel.
    auto holed = v;
    PutLe32(holed.data() + 54, 0xF0F0);
    EXPECT_EQ(Decode(holed).status, BmpStatus::Unreadable);
    // Masks promised but missing.
    std::vector<uint8_t> noMasks(v.begin(), v.begin() + 60);
    EXPECT_EQ(Decode(noMasks).status, BmpStatus::Unreadable);
}

TEST(BmpRead, OldTwelveByteHeadersUseThreeByteTableEntries) {
    std::vector<uint8_t> v = {'B', 'M'};
    Put32(v, 0);
    Put32(v, 0);
    Put32(v, 14 + 12 + 6);
    Put32(v, 12);
    Put16(v, 3);
    Put16(v, 1);
    Put16(v, 1);
    Put16(v, 1);
    v.insert(v.end(), {10, 20, 30, 40, 50, 60}); // blue, green, red per entry
    v.insert(v.end(), {0x40, 0, 0, 0});         // x 1 set
    BmpRead read = Decode(v);
    ASSERT_EQ(read.status, BmpStatus::Ok);
    EXPECT_EQ(DibGetPixel(read.dib.get(), 0, 0), Rgb(30, 20, 10));
    EXPECT_EQ(DibGetPixel(read.dib.get(), 1, 0), Rgb(60, 50, 40));
}

TEST(BuiltinBitmaps, ResourcesHoldTheFileMinusItsHeader) {
    for (uint16_t id : {901, 902}) {
        std::string name = id == 901 ? "builtin-4bit.bmp" : "builtin-8bit.bmp";
        std::vector<uint8_t> file = ReadBytes(DataPath(name));
        ASSERT_GT(file.size(), 54u) << name;
        std::span<const uint8_t> bytes = BuiltinBitmapBytes(id);
        ASSERT_GE(bytes.size(), file.size() - 14) << id;
        EXPECT_EQ(0, std::memcmp(bytes.data(), file.data() + 14, file.size() - 14)) << id;

        auto dib = DibLoadResource(id);
        ASSERT_TRUE(dib) << id;
        EXPECT_EQ(Bytes(*dib), std::vector<uint8_t>(file.begin() + 14, file.end()));
    }
    EXPECT_TRUE(BuiltinBitmapBytes(4321).empty());
    EXPECT_FALSE(DibLoadResource(4321));
}
