// The main window, its workspace windows and the Template panel as a user meets them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/picture_commands.h"
#include "app/resource.h"
#include "app/workspace.h"
#include "compose/skin.h"
#include "image/bmp_file.h"
#include "image/messages.h"
#include "tests/unit/test_util.h"
#include "tests/win32/app_harness.h"

namespace {

bool Visible(HWND hwnd) {
    return IsWindowVisible(hwnd) != FALSE;
}

HCURSOR WorkspaceCursor() {
    return reinterpret_cast<HCURSOR>(GetClassLongPtrA(Workspace(1), GCLP_HCURSOR));
}

void ClickMakeSkin() {
    SendMessageA(gApp.makeSkinButton, BM_CLICK, 0, 0);
    AppRun::Pump();
}

std::unique_ptr<Dib> EightBit(int32_t w, int32_t h) {
    auto dib = DibCreate(w, h, 8);
    for (int i = 0; i < 256; i++) {
        dib->Bytes()[40 + 4 * i + 2] = uint8_t(i); // red ramp
    }
    for (int32_t y = 0; y < h; y++) {
        for (int32_t x = 0; x < w; x++) {
            dib->Row(y)[x] = uint8_t(x);
        }
    }
    return dib;
}

} // namespace

TEST(MainWindow, StartsFixedSizeWithItsChildrenInPlace) {
    AppRun run;
    HWND main = run.Main();
    EXPECT_EQ(WindowText(main), "Korvane");
    RECT outer;
    GetWindowRect(main, &outer);
    LONG style = GetWindowLongA(main, GWL_STYLE);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_THICKFRAME);

    // The border neither sizes nor shows sizing cursors: every sizing hit is the client.
    LRESULT left = SendMessageA(main, WM_NCHITTEST, 0, MAKELPARAM(outer.left + 1, outer.top + 200));
    LRESULT corner =
        SendMessageA(main, WM_NCHITTEST, 0, MAKELPARAM(outer.right - 1, outer.bottom - 1));
    LRESULT caption =
        SendMessageA(main, WM_NCHITTEST, 0, MAKELPARAM(outer.left + 100, outer.top + 10));
    EXPECT_EQ(left, HTCLIENT);
    EXPECT_EQ(corner, HTCLIENT);
    EXPECT_EQ(caption, HTCAPTION);
    MINMAXINFO info = {};
    SendMessageA(main, WM_GETMINMAXINFO, 0, LPARAM(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, outer.right - outer.left);
    EXPECT_EQ(info.ptMaxTrackSize.y, outer.bottom - outer.top);

    struct Child {
        int id;
        const char* className;
        const char* text;
        RECT rect;
        bool visible;
    } children[] = {
        {1, "Zerb_WorkSpaceWnd", "Main Skin", {30, 28, 305, 144}, true},
        {2, "Zerb_WorkSpaceWnd", "Equalizer", {30, 144, 305, 260}, true},
        {3, "Zerb_WorkSpaceWnd", "Playlist", {30, 260, 305, 376}, true},
        {4, "Zerb_WorkSpaceWnd", "Skin Workspace...", {30, 28, 305, 376}, true},
        {5, "Zerb_Template", "", {325, 18, 525, 114}, true},
        {6, "Zerb_ImageSet", "", {325, 118, 525, 386}, true},
        {7, "Zerb_SkinSet", "", {325, 118, 525, 386}, false},
    };
    for (const Child& c : children) {
        HWND child = GetDlgItem(main, c.id);
        ASSERT_TRUE(child) << c.id;
        char className[64] = {};
        GetClassNameA(child, className, sizeof className);
        EXPECT_STREQ(className, c.className);
        EXPECT_EQ(WindowText(child), c.text);
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, c.rect.left) << c.id;
        EXPECT_EQ(r.top, c.rect.top) << c.id;
        EXPECT_EQ(r.right, c.rect.right) << c.id;
        EXPECT_EQ(r.bottom, c.rect.bottom) << c.id;
        EXPECT_EQ(Visible(child), c.visible) << c.id;
    }
    EXPECT_EQ(WindowText(gApp.makeSkinButton), "Make Skin!");
    EXPECT_FALSE(IsWindowEnabled(gApp.makeSkinButton));
}

TEST(MainWindow, MenusFollowThePictureAndTheSkin) {
    AppRun run;
    HWND main = run.Main();
    // Each state: the File menu items grayed, the button's text, and what is shown.
    struct State {
        const char* name;
        std::function<void()> reach;
        bool makeGrayed, saveGrayed, undoGrayed;
        const char* button;
        bool workspaces; // else the previews, with the Skin Set panel
    } states[] = {
        {"started", [] {}, true, true, true, "Make Skin!", true},
        {"picture", [&] { run.Open(run.WritePicture("photo.bmp", *Picture(400, 300))); }, false,
         true, true, "Make Skin!", true},
        {"skin", ClickMakeSkin, true, false, false, "Undo Skin...", false},
        {"undone",
         [&] {
             SendMessageA(main, WM_COMMAND, IDM_UNDOSKIN, 0);
             AppRun::Pump();
         },
         false, true, true, "Make Skin!", true},
        {"made by menu", [&] { SendMessageA(main, WM_COMMAND, IDM_MAKESKIN, 0); }, true, false,
         false, "Undo Skin...", false},
    };
    for (const State& s : states) {
        SCOPED_TRACE(s.name);
        s.reach();
        EXPECT_TRUE(run.Messages().empty());
        EXPECT_FALSE(MenuItemGrayed(main, IDM_OPEN));
        EXPECT_FALSE(MenuItemGrayed(main, IDM_ABOUT));
        EXPECT_EQ(MenuItemGrayed(main, IDM_MAKESKIN), s.makeGrayed);
        EXPECT_EQ(MenuItemGrayed(main, IDM_SAVE), s.saveGrayed);
        EXPECT_EQ(MenuItemGrayed(main, IDM_UNDOSKIN), s.undoGrayed);
        EXPECT_EQ(WindowText(gApp.makeSkinButton), s.button);
        EXPECT_EQ(gApp.SkinMade(), !s.workspaces);
        EXPECT_EQ(IsWindowEnabled(gApp.makeSkinButton) != FALSE, bool(gApp.workPicture));
        EXPECT_EQ(Visible(gApp.imageSetPanel), s.workspaces);
        EXPECT_EQ(Visible(gApp.skinSetPanel), !s.workspaces);
        if (gApp.workPicture) {
            for (int id : {1, 2, 3}) {
                EXPECT_EQ(Visible(Workspace(id)), s.workspaces) << id;
            }
            EXPECT_FALSE(Visible(Workspace(4)));
            EXPECT_EQ(WorkspaceCursor(), LoadCursor(nullptr, s.workspaces ? IDC_CROSS : IDC_ARROW));
        }
    }

    // Opening another file while a skin is shown drops it, even when the file is refused.
    ASSERT_TRUE(gApp.SkinMade());
    std::ofstream(run.Folder() + "\\junk.bmp") << "not a picture";
    run.Open(run.Folder() + "\\junk.bmp");
    EXPECT_FALSE(gApp.SkinMade());
    EXPECT_FALSE(gApp.workPicture);
    EXPECT_EQ(WindowText(gApp.makeSkinButton), "Make Skin!");
    EXPECT_FALSE(IsWindowEnabled(gApp.makeSkinButton));
    ASSERT_EQ(run.Messages().size(), 1u);
    EXPECT_EQ(run.Messages()[0].text, kMsgLoadFailed);
    EXPECT_EQ(run.Messages()[0].caption, "Warning..!");
    EXPECT_EQ(run.Messages()[0].type & MB_ICONMASK, UINT(MB_ICONEXCLAMATION));
}

TEST(OpenPicture, EachOutcomeSaysItsMessageAndLeavesItsState) {
    AppRun run;
    struct Case {
        const char* name;
        std::unique_ptr<Dib> picture;
        int answer;
        std::vector<std::string> messages;
        bool loaded;
    };
    std::vector<Case> cases;
    cases.push_back({"good.bmp", Picture(275, 116), IDOK, {}, true});
    cases.push_back({"eight-no.bmp", EightBit(300, 200), IDNO, {kMsgAskConvert}, false});
    cases.push_back({"eight-yes.bmp", EightBit(300, 200), IDYES, {kMsgAskConvert}, true});
    cases.push_back({"small.bmp", Picture(274, 116), IDOK, {kMsgTooSmall}, false});
    cases.push_back(
        {"small8.bmp", EightBit(100, 50), IDYES, {kMsgAskConvert, kMsgTooSmall}, false});
    cases.push_back({"large.bmp", Picture(1601, 1200), IDOK, {kMsgTooLarge}, false});
    for (Case& c : cases) {
        gApp.scale = 40; // a refused picture keeps the old adjustments, a loaded one resets them
        gApp.skinOrder = {2, 0, 1};
        run.ClearMessages();
        run.Answer(c.answer);
        run.Open(run.WritePicture(c.name, *c.picture));
        std::vector<std::string> shown;
        for (const ShownMessage& m : run.Messages()) {
            shown.push_back(m.text);
            EXPECT_EQ(m.caption, "Warning..!");
        }
        EXPECT_EQ(shown, c.messages) << c.name;
        EXPECT_EQ(bool(gApp.workPicture), c.loaded) << c.name;
        EXPECT_EQ(gApp.shownPicture, gApp.workPicture.get()) << c.name;
        EXPECT_EQ(gApp.scale, c.loaded ? 100 : 40) << c.name;
        EXPECT_EQ(gApp.skinOrder[0], c.loaded ? 0 : 2) << c.name;
        EXPECT_TRUE(Visible(gApp.imageSetPanel)) << c.name;
        EXPECT_EQ(Visible(Workspace(4)), !c.loaded) << c.name;
        if (c.loaded && gApp.workPicture) {
            EXPECT_EQ(gApp.workPicture->BitCount(), 24) << c.name;
            EXPECT_EQ(gApp.lastPicDir, run.Folder()) << c.name;
        }
    }
    // The converted picture takes its colours from the colour table.
    run.ClearMessages();
    run.Answer(IDYES);
    run.Open(run.WritePicture("ramp.bmp", *EightBit(300, 200)));
    ASSERT_TRUE(gApp.workPicture);
    EXPECT_EQ(DibGetPixel(gApp.workPicture.get(), 77, 10), Rgb(77, 0, 0));
}

TEST(Workspaces, TileModeMovesAllBandsAndFreeModeOnlyOne) {
    AppRun run;
    run.Open(run.WritePicture("photo.bmp", *Picture(400, 300)));
    // Opened at the top-left corner: offset (0, H - 116).
    EXPECT_EQ(Offset(1).x, 0);
    EXPECT_EQ(Offset(1).y, 184);
    // Drag the picture left by 30 and up by 20 in the Equalizer band.
    Drag(Workspace(2), {100, 50}, {70, 30});
    for (int id : {1, 2, 3}) {
        EXPECT_EQ(Offset(id).x, -30) << id;
        EXPECT_EQ(Offset(id).y, 164) << id;
    }
    gApp.adjustmentMode = AdjustmentMode::Free;
    Drag(Workspace(3), {100, 50}, {90, 60});
    EXPECT_EQ(Offset(3).x, -40);
    EXPECT_EQ(Offset(3).y, 174);
    EXPECT_EQ(Offset(1).x, -30);
    EXPECT_EQ(Offset(2).y, 164);
}

TEST(Workspaces, DragsAreClampedAndStillNotify) {
    AppRun run;
    run.Open(run.WritePicture("photo.bmp", *Picture(400, 300)));
    // One pixel or far right and down: x stops at 0, y at the top of the picture (H - 116).
    Drag(Workspace(1), {10, 10}, {11, 11});
    EXPECT_EQ(Offset(1).x, 0);
    EXPECT_EQ(Offset(1).y, 184);
    Drag(Workspace(1), {10, 10}, {270, 110});
    EXPECT_EQ(Offset(1).x, 0);
    EXPECT_EQ(Offset(1).y, 184);
    // Far left and up: x stops at 275 - W, y at 0.
    Drag(Workspace(1), {270, 110}, {0, 0});
    EXPECT_EQ(Offset(1).x, -125);
    EXPECT_EQ(Offset(1).y, 74);
    Drag(Workspace(1), {270, 110}, {0, 0});
    EXPECT_EQ(Offset(1).y, 0);
    // A move that only pushes against the limit changes nothing but still notifies: the
    // other bands, moved by hand, are synchronised again.
    OffsetPoint elsewhere = {-5, 5};
    SendMessageA(Workspace(2), WSM_SETOFFSET, WPARAM(&elsewhere), 0);
    Drag(Workspace(1), {270, 110}, {260, 100});
    EXPECT_EQ(Offset(1).x, -125);
    EXPECT_EQ(Offset(2).x, -125);
    EXPECT_EQ(Offset(2).y, 0);
    // A pointer that left the window (negative coordinates read as large numbers) is ignored.
    SendMessageA(Workspace(1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 50));
    SendMessageA(Workspace(1), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-20, 50));
    EXPECT_EQ(Offset(1).x, -125);
    SendMessageA(Workspace(1), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120, 50));
    EXPECT_EQ(Offset(1).x, -105) << "re-entering moves by the step from the last point inside";
    SendMessageA(Workspace(1), WM_LBUTTONUP, 0, MAKELPARAM(-20, 50));
    EXPECT_EQ(GetCapture(), nullptr) << "releasing outside ends the drag";
    // With a made skin a press starts no drag.
    ClickMakeSkin();
    OffsetPoint before = Offset(1);
    Drag(Workspace(1), {100, 50}, {50, 20});
    EXPECT_EQ(Offset(1).x, before.x);
}

TEST(Workspaces, ContinuousModeNeedsThreeBandsOfPicture) {
    AppRun run;
    gApp.adjustmentMode = AdjustmentMode::Continuous;
    run.Open(run.WritePicture("short.bmp", *Picture(300, 200)));
    EXPECT_EQ(gApp.adjustmentMode, AdjustmentMode::Tile);
    EXPECT_EQ(Offset(1).x, 0);
    EXPECT_EQ(Offset(1).y, 84);
    Drag(Workspace(1), {200, 50}, {0, 50});
    EXPECT_EQ(Offset(1).x, -25) << "limit 275 - W";

    gApp.adjustmentMode = AdjustmentMode::Continuous;
    run.Open(run.WritePicture("tall.bmp", *Picture(400, 500)));
    EXPECT_EQ(gApp.adjustmentMode, AdjustmentMode::Continuous);
    EXPECT_EQ(Offset(4).x, 0);
    EXPECT_EQ(Offset(4).y, 152);
    EXPECT_TRUE(Visible(Workspace(4)));
    EXPECT_FALSE(Visible(Workspace(1)));
    Drag(Workspace(4), {10, 10}, {270, 340});
    EXPECT_EQ(Offset(4).y, 152) << "limit H - 348";
}

TEST(Workspaces, PaintExactlyWhatMakeSkinCuts) {
    AppRun run;
    run.Open(run.WritePicture("photo.bmp", *Picture(400, 300)));
    Drag(Workspace(1), {200, 100}, {150, 60}); // offset (-50, 144): picture (50, 40) at top-left
    auto band = DibCreate(275, 116, 24);
    CutBand(CurrentSkinInputs(), Band::Main, band.get());
    EXPECT_EQ(DibGetPixel(band.get(), 0, 0), PatternColor(50, 40));
    auto shot = Screenshot(Workspace(2));
    for (auto [x, y] : {std::pair{0, 0}, {274, 0}, {0, 115}, {274, 115}, {137, 58}}) {
        EXPECT_EQ(DibGetPixel(shot.get(), x, y), DibGetPixel(band.get(), x, y)) << x << "," << y;
    }
}

TEST(MainWindow, PreviewsFollowTheBandOrder) {
    AppRun run;
    run.Open(run.WritePicture("photo.bmp", *Picture(400, 300)));
    gApp.skinOrder = {2, 0, 1};
    ClickMakeSkin();
    auto shot = Screenshot(run.Main());
    const SkinSet& skin = *gApp.skin;
    EXPECT_EQ(DibGetPixel(shot.get(), 30 + 200, 260 + 50),
              DibGetPixel(skin.mainPreview.get(), 200, 50));
    EXPECT_EQ(DibGetPixel(shot.get(), 30 + 5, 28 + 60),
              DibGetPixel(skin.equalizerPreview.get(), 5, 60));
    EXPECT_EQ(DibGetPixel(shot.get(), 30 + 5, 144 + 90),
              DibGetPixel(skin.playlistPreview.get(), 5, 90));
    // The list area is the playlist's normal background, the third line the selected one.
    EXPECT_EQ(DibGetPixel(shot.get(), 270, 144 + 21), gApp.playlist.normalBack);
    // The teal field around the previews.
    EXPECT_EQ(DibGetPixel(shot.get(), 24, 200), Rgb(0, 128, 128));
}

TEST(TemplatePanel, ListsFoldersSortedAndRemembersTheChoice) {
    AppRun run([](const std::string& folder) {
        for (const char* name : {"zeta", "Alpha", "beta", ".old"}) {
            std::filesystem::create_directories(folder + "\\templates\\" + name);
        }
        std::ofstream(folder + "\\templates\\notes.txt") << "a file";
        std::ofstream(folder + "\\korvane.ini") << "[Korvane]\r\nLast_Tmpl=2\r\n";
    });
    HWND box = gApp.templateBox;
    ASSERT_EQ(SendMessageA(box, CB_GETCOUNT, 0, 0), 3);
    char name[64];
    std::vector<std::string> names;
    for (int i = 0; i < 3; i++) {
        SendMessageA(box, CB_GETLBTEXT, i, LPARAM(name));
        names.push_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "zeta"}));
    EXPECT_EQ(SendMessageA(box, CB_GETCURSEL, 0, 0), 2);
    run.Open(run.WritePicture("photo.bmp", *Picture(400, 300)));
    ClickMakeSkin();
    EXPECT_EQ(gApp.templatePath, run.Folder() + "\\templates\\zeta\\");
    EXPECT_EQ(gApp.lastTemplateIndex, 2);
}

TEST(TemplatePanel, AnIndexOutOfRangeSelectsTheFirstAndANewChoiceRemakes) {
    AppRun run([](const std::string& folder) {
        std::filesystem::copy(KORVANE_TEMPLATES, folder + "\\templates",
                              std::filesystem::copy_options::recursive);
        std::ofstream(folder + "\\korvane.ini") << "[Korvane]\r\nLast_Tmpl=7\r\n";
    });
    HWND box = gApp.templateBox;
    EXPECT_EQ(SendMessageA(box, CB_GETCURSEL, 0, 0), 0);
    char first[64] = {};
    SendMessageA(box, CB_GETLBTEXT, 0, LPARAM(first));
    EXPECT_STREQ(first, "Basic") << "the built-in look comes first";
    run.Open(run.WritePicture("photo.bmp", *Picture(400, 300)));
    ClickMakeSkin();
    auto bytes = [] {
        const Dib* b = gApp.skin->cbuttons.get();
        return std::vector<uint8_t>(b->Bytes(), b->Bytes() + b->Size());
    };
    std::vector<uint8_t> basic = bytes();
    // Choosing another template while a skin is made re-makes it at once.
    LRESULT steel = SendMessageA(box, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM("Brushed Steel"));
    ASSERT_GE(steel, 0);
    SendMessageA(box, CB_SETCURSEL, WPARAM(steel), 0);
    SendMessageA(gApp.templatePanel, WM_COMMAND, MAKEWPARAM(IDC_TEMPLATE_BOX, CBN_SELENDOK),
                 LPARAM(box));
    ASSERT_TRUE(gApp.SkinMade());
    EXPECT_NE(bytes(), basic);
    EXPECT_EQ(gApp.lastTemplateIndex, int(steel));
}
