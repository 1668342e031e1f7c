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

// The big photo is 2000 x 1000, grey with a red block at its top-left; dropped, or named
// (quoted) at start, it opens reduced, with a notice.
TEST(OpenPhoto, DroppedOrNamedAtStartBigPhotosAreReducedWithANotice) {
    AppRun run;
    const std::string big = DataPath("photo-big.png");
    for (bool atStart : {false, true}) {
        SCOPED_TRACE(atStart);
        run.ClearMessages();
        if (atStart) {
            OpenStartupPicture(run.Main(), ("\"" + big + "\"").c_str());
        } else { // what the shell posts when a file is dropped on the window
            HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + big.size() + 2);
            auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
            drop->pFiles = sizeof(DROPFILES);
            std::memcpy(reinterpret_cast<char*>(drop + 1), big.c_str(), big.size());
            GlobalUnlock(memory);
            PostMessageA(run.Main(), WM_DROPFILES, WPARAM(memory), 0);
            AppRun::Pump();
        }
        const Dib* picture = gApp.WorkPicture();
        ASSERT_TRUE(picture && run.Messages().size() == 1);
        EXPECT_EQ(
            std::tuple(run.Messages()[0].caption + ": " + run.Messages()[0].text, picture->Width(),
                       picture->Height(), DibGetPixel(picture, 5, 5)),
            std::tuple("Korvane: The picture was 2000 x 1000; Korvane reduced it to 1600 x 800.",
                       1600, 800, Rgb(255, 0, 0)));
    }
}
