// Photos reach the desktop program by a drop on its window and on its command line, and a
// big one is reduced with a notice.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <fstream>

#include "app/app_state.h"
#include "app/startup.h"
#include "image/messages.h"
#include "output/deflate.h"
#include "tests/win32/app_harness.h"

namespace {

void PutBe32(std::vector<uint8_t>& v, uint32_t x) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        v.push_back(uint8_t(x >> shift));
    }
}

void Chunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    PutBe32(png, uint32_t(data.size()));
    size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    PutBe32(png, Crc32(png.data() + start, png.size() - start));
}

// An 8-bit RGB PNG, grey with a red 40 x 40 block at its top-left.
std::vector<uint8_t> Png(uint32_t width, uint32_t height) {
    std::vector<uint8_t> raw;
    for (uint32_t y = 0; y < height; y++) {
        raw.push_back(0); // no filter
        for (uint32_t x = 0; x < width; x++) {
            bool red = x < 40 && y < 40;
            raw.insert(raw.end(),
                       {uint8_t(red ? 255 : 128), uint8_t(red ? 0 : 128), uint8_t(red ? 0 : 128)});
        }
    }
    std::vector<uint8_t> packed;
    EXPECT_TRUE(DeflateRaw(raw.data(), raw.size(), packed));
    uint32_t a = 1, b = 0; // Adler-32 of the raw rows
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    std::vector<uint8_t> zlib = {0x78, 0x01};
    zlib.insert(zlib.end(), packed.begin(), packed.end());
    PutBe32(zlib, b << 16 | a);
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> ihdr;
    PutBe32(ihdr, width);
    PutBe32(ihdr, height);
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    Chunk(png, "IHDR", ihdr);
    Chunk(png, "IDAT", zlib);
    Chunk(png, "IEND", {});
    return png;
}

std::string Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

// What the shell posts when a file is dropped on the window.
void Drop(HWND window, const std::string& path) {
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + path.size() + 2);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(drop + 1), path.c_str(), path.size());
    GlobalUnlock(memory);
    PostMessageA(window, WM_DROPFILES, WPARAM(memory), 0);
    AppRun::Pump();
}

} // namespace

TEST(OpenPhoto, DroppedOrNamedAtStartBigPhotosAreReducedWithANotice) {
    AppRun run;
    std::string big = Write(run.Folder() + "\\big.png", Png(2000, 1000));
    std::vector<uint8_t> cut = Png(400, 300);
    cut.resize(cut.size() / 2);
    std::string broken = Write(run.Folder() + "\\broken.png", cut);
    struct Case {
        const char* how;
        std::string path;
        std::string message;
        std::string caption;
        int32_t width; // 0: nothing opened
    } cases[] = {
        {"dropped", big, "The picture was 2000 x 1000; Korvane reduced it to 1600 x 800.",
         kInformationCaption, 1600},
        {"dropped broken", broken, kMsgLoadFailed, kWarningCaption, 0},
        {"named at start", "\"" + big + "\"",
         "The picture was 2000 x 1000; Korvane reduced it to 1600 x 800.", kInformationCaption,
         1600},
    };
    for (const Case& c : cases) {
        run.ClearMessages();
        if (c.path[0] == '"') {
            OpenStartupPicture(run.Main(), c.path.c_str());
        } else {
            Drop(run.Main(), c.path);
        }
        ASSERT_EQ(run.Messages().size(), 1u) << c.how;
        EXPECT_EQ(run.Messages()[0].text, c.message) << c.how;
        EXPECT_EQ(run.Messages()[0].caption, c.caption) << c.how;
        ASSERT_EQ(bool(gApp.workPicture), c.width > 0) << c.how;
        if (gApp.workPicture) {
            EXPECT_EQ(gApp.workPicture->Width(), c.width) << c.how;
            EXPECT_EQ(gApp.workPicture->Height(), 800) << c.how;
            EXPECT_EQ(DibGetPixel(gApp.workPicture.get(), 5, 5), Rgb(255, 0, 0)) << c.how;
        }
    }
}
