// What a new user does, start to finish, on the real windows: open a photo, drag the bands,
// switch to Continuous, adjust, make the skin, change the text colour, edit the title,
// reorder the bands, save into a Winamp folder, and find every file of the skin there.
// With KORVANE_E2E_SHOTS set to a folder, a screenshot of each step is written into it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "app/app_state.h"
#include "app/resource.h"
#include "app/side_panels.h"
#include "controls/color_picker.h"
#include "image/bmp_file.h"
#include "output/skin_writer.h"
#include "tests/unit/test_util.h"
#include "tests/win32/app_harness.h"
#include "tests/win32/dialog_driver.h"

TEST(NewUser, MakesASkinAndSavesItIntoWinamp) {
    auto shot = [folder = std::getenv("KORVANE_E2E_SHOTS")](const char* name) {
        if (folder && *folder) {
            DibWriteFile((std::string(folder) + "\\" + name + ".bmp").c_str(),
                         Screenshot(gApp.mainWindow).get());
        }
    };
    AppRun run([](const std::string& folder) {
        std::filesystem::copy(KORVANE_TEMPLATES, folder + "\\templates",
                              std::filesystem::copy_options::recursive);
        std::filesystem::create_directories(folder + "\\Winamp\\Skins");
        std::ofstream(folder + "\\Winamp\\winamp.exe") << "MZ";
    });
    // Tile: dragging one band moves all three; Continuous: one tall frame.
    run.Open(std::string(KORVANE_TEST_DATA) + "\\..\\..\\resources\\sample.bmp");
    ASSERT_TRUE(gApp.WorkPicture());
    shot("01-opened");
    Drag(Workspace(IDC_WS_MAIN), {200, 80}, {160, 50});
    shot("02-dragged");
    ChooseMode(2);
    AppRun::Pump();
    shot("03-continuous");
    Apply(97, 12, 25);
    Drag(Workspace(IDC_WS_SKIN), {100, 100}, {60, 100});
    // 97% of 400 x 360 is 388 x 349.2: the size rounds down.
    EXPECT_EQ(std::tuple(gApp.adjustmentMode, gApp.WorkPicture()->Width(), gApp.WorkPicture()->Height(),
                         Offset(IDC_WS_SKIN).x),
              std::tuple(AdjustmentMode::Continuous, 388, 349, -40));
    shot("04-adjusted");

    // A new text colour makes the skin again.
    Click(gApp.makeSkinButton);
    ASSERT_TRUE(gApp.SkinMade());
    shot("05-skin");
    HWND picker = GetDlgItem(gApp.skinSetPanel, kTextColorId);
    SendMessageA(picker, CPM_SETCOLOR, RGB(255, 200, 40), 0);
    SendMessageA(gApp.skinSetPanel, WM_COMMAND, MAKEWPARAM(kTextColorId, CPN_CHANGED),
                 LPARAM(picker));
    AppRun::Pump();
    EXPECT_EQ(DibGetPixel(gApp.skin->main.get(), 73, 30), Rgb(255, 200, 40));
    shot("06-colour");

    auto titleButton = [] { Click(GetDlgItem(gApp.skinSetPanel, kTitleButtonId)); };
    RunScript("Edit Title Text", titleButton, [](HWND dialog) {
        TypeInto(dialog, IDC_TITLE_TEXT, "Dusk over the bay");
        Press(dialog, IDOK);
    });
    shot("07-title");
    auto menu = [](UINT id) { return [id] { SendMessageA(gApp.mainWindow, WM_COMMAND, id, 0); }; };
    RunScript("Project Option", menu(IDM_OPTION), [](HWND dialog) {
        ::Drag(GetDlgItem(dialog, IDC_OPTION_ORDER), 2, 0); // the playlist on top
        Press(dialog, IDOK);
    });
    shot("08-order");

    const std::string winamp = run.Folder() + "\\Winamp";
    RunScript("Save...", menu(IDM_SAVE), [&](HWND dialog) {
        TypeInto(dialog, IDC_SAVE_WINAMPDIR, winamp);
        TypeInto(dialog, IDC_SAVE_SKINNAME, "Dusk");
        Press(dialog, IDOK);
    });
    const std::string skinFolder = winamp + "\\Skins\\Dusk";
    for (const SkinFile& file : SkinFileSet(*gApp.skin, gApp.playlist, gApp.options.genBalance)) {
        EXPECT_EQ(ReadBytes(skinFolder + "\\" + file.name), file.bytes) << file.name;
    }
    auto saved = DibReadFile((skinFolder + "\\main.bmp").c_str());
    EXPECT_EQ(saved ? DibGetPixel(saved.get(), 73, 30) : 0, Rgb(255, 200, 40));
}
