// Photos reach the desktop program by a drop on its window and on its command line, and a
// big one is reduced with a notice.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <tuple>

#include "app/app_state.h"
#include "app/startup.h"
#include "tests/unit/test_util.h"
#include "tests/win32/app_harness.h"

namespace {

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

// The big photo is 2000 x 1000, grey with a red block at its top-left.
TEST(OpenPhoto, DroppedOrNamedAtStartBigPhotosAreReducedWithANotice) {
    AppRun run;
    const std::string big = DataPath("photo-big.png");
    std::vector<uint8_t> cut = ReadBytes(big);
    cut.resize(cut.size() / 2);
    const std::string broken = run.Folder() + "\\broken.png";
    WriteBytes(broken, cut);
    const std::string reduced = "The picture was 2000 x 1000; Korvane reduced it to 1600 x 800.";
    const std::tuple<bool, std::string, std::string, std::string, int32_t> cases[] = {
        // at start, the path, message and caption, the width opened (0: nothing)
        {false, big, reduced, "Korvane", 1600},
        {false, broken, "Something wrong when loading image...\nPlease try another image.",
         "Warning..!", 0},
        {true, "\"" + big + "\"", reduced, "Korvane", 1600},
    };
    for (const auto& [atStart, path, message, caption, width] : cases) {
        SCOPED_TRACE(path);
        run.ClearMessages();
        if (atStart) {
            OpenStartupPicture(run.Main(), path.c_str());
        } else {
            Drop(run.Main(), path);
        }
        ASSERT_EQ(run.Messages().size(), 1u);
        const Dib* picture = gApp.workPicture.get();
        EXPECT_EQ(std::tuple(run.Messages()[0].text, run.Messages()[0].caption,
                             picture ? picture->Width() : 0, picture ? picture->Height() : 0,
                             picture ? DibGetPixel(picture, 5, 5) : Rgb(0, 0, 0)),
                  std::tuple(message, caption, width, width ? 800 : 0,
                             width ? Rgb(255, 0, 0) : Rgb(0, 0, 0)));
    }
}
