// The main window, its workspace windows and its three panels as a user meets them.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>

#include "app/app_state.h"
#include "app/picture_commands.h"
#include "app/resource.h"
#include "app/side_panels.h"
#include "app/workspace.h"
#include "compose/stages.h"
#include "controls/color_picker.h"
#include "image/adjust.h"
#include "project/messages.h"
#include "tests/unit/test_util.h"
#include "tests/win32/app_harness.h"

namespace {

int Field(int id) {
    return short(LOWORD(SendDlgItemMessageA(gApp.imageSetPanel, id, UDM_GETPOS, 0, 0)));
}

// Black but for (77, 10), which takes colour 77 of the table, the only one not black: red 77.
std::unique_ptr<Dib> EightBit(int32_t w, int32_t h) {
    auto dib = DibCreate(w, h, 8);
    dib->Bytes()[40 + 4 * 77 + 2] = dib->Row(10)[77] = 77;
    return dib;
}

// The messages shown since the last look as " ! text" each, every one checked to be a warning.
std::string Warned(AppRun& run) {
    std::string texts;
    for (const ShownMessage& m : run.Messages()) {
        texts += " ! " + m.text;
        EXPECT_EQ(std::tuple(m.caption, m.type & MB_ICONMASK),
                  std::tuple("Warning..!", UINT(MB_ICONEXCLAMATION)));
    }
    run.ClearMessages();
    return texts;
}

} // namespace

// The mode box's choice (with a "!" when the program's mode differs), then each band shown
// with its offset, as "Tile 1:0,184 2:0,184 3:0,184".
std::string Bands() {
    const LRESULT mode = SendMessageA(gApp.modeBox, CB_GETCURSEL, 0, 0);
    std::string s =
        ComboItems(gApp.modeBox).at(size_t(mode)) + (mode == int(gApp.adjustmentMode) ? "" : "!");
    for (int id : {1, 2, 3, 4}) {
        if (IsWindowVisible(Workspace(id))) {
            s += " " + std::to_string(id) + ":" + std::to_string(Offset(id).x) + "," +
                 std::to_string(Offset(id).y);
        }
    }
    return s;
}

// What the window offers in one line: the grayed menu items (Make skin, Save, Undo skin,
// suggest Design, Open, oPtion, About, eXit), the button's text, "on" for each of the button and
// the mode box that can be used, the panel shown, and with a picture the Bands() and their cursor.
std::string Offered() {
    std::string s;
    const std::pair<UINT, char> items[] = {
        {IDM_MAKESKIN, 'M'}, {IDM_SAVE, 'S'},   {IDM_UNDOSKIN, 'U'}, {IDM_SUGGEST, 'D'},
        {IDM_OPEN, 'O'},     {IDM_OPTION, 'P'}, {IDM_ABOUT, 'A'},    {IDM_EXIT, 'X'}};
    HMENU menu = GetMenu(gApp.mainWindow);
    SendMessageA(gApp.mainWindow, WM_INITMENU, WPARAM(menu), 0); // as the menu opens
    for (auto [id, letter] : items) {
        s += (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) ? std::string(1, letter) : "";
    }
    s += " " + WindowText(gApp.makeSkinButton);
    for (HWND h : {gApp.makeSkinButton, gApp.modeBox}) {
        s += IsWindowEnabled(h) ? " on" : " off";
    }
    s += IsWindowVisible(gApp.imageSetPanel) ? " image" : "";
    s += IsWindowVisible(gApp.skinSetPanel) ? " skin" : "";
    s += gApp.SkinMade() ? " made" : "";
    if (!IsWindowEnabled(gApp.makeSkinButton)) {
        return s;
    }
    const bool cross =
        HCURSOR(GetClassLongPtrA(Workspace(1), GCLP_HCURSOR)) == LoadCursor(nullptr, IDC_CROSS);
    return s + " " + Bands() + (cross ? " cross" : " arrow");
}

TEST(MainWindow, StartsFixedSizeAndItsMenusAndControlsFollowThePictureAndTheSkin) {
    AppRun run;
    HWND main = run.Main();
    const RECT outer = RectIn(main, nullptr); // on the screen
    EXPECT_EQ(GetWindowLongA(main, GWL_STYLE) & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME),
              WS_MINIMIZEBOX | WS_THICKFRAME);
    // The border neither sizes nor shows sizing cursors: every sizing hit is the client.
    const std::tuple<LONG, LONG, LRESULT> hits[] = {{outer.left + 1, outer.top + 200, HTCLIENT},
                                                    {outer.right - 1, outer.bottom - 1, HTCLIENT},
                                                    {outer.left + 100, outer.top + 10, HTCAPTION}};
    for (auto [x, y, hit] : hits) {
        EXPECT_EQ(SendMessageA(main, WM_NCHITTEST, 0, MAKELPARAM(x, y)), hit) << x << "," << y;
    }
    MINMAXINFO info = {};
    SendMessageA(main, WM_GETMINMAXINFO, 0, LPARAM(&info));
    EXPECT_EQ(std::tuple(info.ptMinTrackSize.x, info.ptMaxTrackSize.y),
              std::tuple(outer.right - outer.left, outer.bottom - outer.top));

    std::vector<std::string> children = {WindowText(main)};
    for (int id = 1; id <= 7; id++) {
        HWND c = GetDlgItem(main, id);
        RECT r = RectIn(c, main);
        children.push_back(ClassOf(c) + " \"" + WindowText(c) + "\" " + std::to_string(r.left) +
                           "," + std::to_string(r.top) + " " + std::to_string(r.right) + "," +
                           std::to_string(r.bottom) + (IsWindowVisible(c) ? "" : " hidden"));
    }
    EXPECT_EQ(children, (std::vector<std::string>{
                            "Korvane",
                            "Zerb_WorkSpaceWnd \"Main Skin\" 30,28 305,144",
                            "Zerb_WorkSpaceWnd \"Equalizer\" 30,144 305,260",
                            "Zerb_WorkSpaceWnd \"Playlist\" 30,260 305,376",
                            "Zerb_WorkSpaceWnd \"Skin Workspace...\" 30,28 305,376",
                            "Zerb_Template \"\" 325,18 525,114",
                            "Zerb_ImageSet \"\" 325,118 525,386",
                            "Zerb_SkinSet \"\" 325,118 525,386 hidden",
                        }));
    EXPECT_EQ(std::tuple(ComboItems(gApp.modeBox), SendMessageA(gApp.modeBox, CB_GETCURSEL, 0, 0),
                         Field(kScaleFieldId)),
              std::tuple(std::vector<std::string>{"Free", "Tile", "Continuous"}, 1, 100));

    auto command = [main](UINT id) { return [=] { SendMessageA(main, WM_COMMAND, id, 0); }; };
    const std::string junk = run.Folder() + "\\junk.bmp";
    std::ofstream(junk) << "not a picture";
    const std::pair<std::function<void()>, std::string> states[] = {
        {[] {}, "MSUD Make Skin! off off image"},
        {[&] { run.Open(run.WritePicture("photo.bmp", *Picture(400, 300))); },
         "SU Make Skin! on on image Tile 1:0,184 2:0,184 3:0,184 cross"},
        {[] { Click(gApp.makeSkinButton); }, "M Undo Skin... on off skin made Tile arrow"},
        {command(IDM_UNDOSKIN), "SU Make Skin! on on image Tile 1:0,184 2:0,184 3:0,184 cross"},
        {command(IDM_MAKESKIN), "M Undo Skin... on off skin made Tile arrow"},
        {command(IDM_SUGGEST), "M Undo Skin... on off skin made Tile arrow"},
        {[&] { run.Open(junk); }, std::string("MSUD Make Skin! off off image ! ") + kMsgLoadFailed},
    };
    for (const auto& [reach, offered] : states) {
        reach();
        AppRun::Pump();
        EXPECT_EQ(Offered() + Warned(run), offered);
    }
}

TEST(OpenPicture, EachOutcomeSaysItsMessageAndLeavesItsState) {
    AppRun run;
    const std::string ask = std::string(" ! ") + kMsgAskConvert;
    // A picture, the answer given, the messages shown, and the loaded picture's pixel at
    // (77, 10): a converted one takes its colours from the colour table.
    const struct Case {
        int w, h;
        bool eight = false;
        int answer = IDOK;
        std::string messages = "";
        bool loaded = false;
        ColorRef at77 = 0;
    } cases[] = {
        // clang-format off
        {.w = 275, .h = 116, .loaded = true, .at77 = PatternColor(77, 10)},
        {.w = 300, .h = 200, .eight = true, .answer = IDNO, .messages = ask},
        {.w = 300, .h = 200, .eight = true, .answer = IDYES, .messages = ask,
         .loaded = true, .at77 = Rgb(77, 0, 0)},
        {.w = 100, .h = 50, .eight = true, .answer = IDYES, .messages = ask + " ! " + kMsgTooSmall},
        {.w = 1601, .h = 1200, .messages = std::string(" ! ") + kMsgTooLarge},
        // clang-format on
    };
    for (const auto& [w, h, eight, answer, messages, loaded, at77] : cases) {
        SCOPED_TRACE(w);
        gApp.scale = 40; // a refused picture keeps the old adjustments, a loaded one resets them
        SendDlgItemMessageA(gApp.imageSetPanel, kScaleFieldId, UDM_SETPOS, 0, 40);
        gApp.skinOrder = {2, 0, 1};
        run.Answer(answer);
        run.Open(run.WritePicture("p.bmp", *(eight ? EightBit(w, h) : Picture(w, h))));
        const Dib* p = gApp.WorkPicture();
        EXPECT_EQ(std::tuple(Warned(run), p != nullptr, gApp.shownPicture == p, gApp.scale,
                             Field(kScaleFieldId), gApp.skinOrder[0],
                             bool(IsWindowVisible(Workspace(4))), p ? p->BitCount() : 0,
                             p ? DibGetPixel(p, 77, 10) : 0, p ? gApp.lastPicDir : run.Folder()),
                  std::tuple(messages, loaded, true, loaded ? 100 : 40, loaded ? 100 : 40,
                             loaded ? 0 : 2, !loaded, loaded ? 24 : 0, at77, run.Folder()));
    }
}

// Where the picture sits in each band after each step. An offset (x, y): x <= 0 shifts the
// picture left, y is how far the view's bottom lies above the picture's bottom; a drag stops
// at x = 0 and 275 - W, y = 0 and H - 116 (H - 348 for the Skin Workspace).
TEST(Workspaces, DragsMoveTheBandsTheModeSaysWithinThePictureAndMakeSkinCutsWhatTheyShow) {
    AppRun run;
    auto open = [&](int w, int h) {
        return [&run, w, h] { run.Open(run.WritePicture("p.bmp", *Picture(w, h))); };
    };
    auto drag = [](int id, POINT from, POINT to) { return [=] { Drag(Workspace(id), from, to); }; };
    auto mode = [](int m) { return [m] { ChooseMode(m); }; };
    const std::string refused = "Tile 1:-30,164 2:-30,164 3:-30,164 ! Can not use Continuous "
                                "Mode!\nImage height less than 348 pixels.\nPlease try to load "
                                "another image.";
    const std::string bottom = "Tile 1:-125,0 2:-125,0 3:-125,0";
    const std::tuple<const char*, std::function<void()>, std::string> steps[] = {
        // clang-format off
        {"opened at the top-left", open(400, 300), "Tile 1:0,184 2:0,184 3:0,184"},
        {"tile moves all", drag(2, {100, 50}, {70, 30}), "Tile 1:-30,164 2:-30,164 3:-30,164"},
        {"the same mode: nothing", mode(1), "Tile 1:-30,164 2:-30,164 3:-30,164"},
        {"Continuous refused", mode(2), refused},
        {"Free resets", mode(0), "Free 1:0,184 2:0,184 3:0,184"},
        {"free moves one", drag(3, {100, 50}, {90, 40}), "Free 1:0,184 2:0,184 3:-10,174"},
        {"tile again", mode(1), "Tile 1:0,184 2:0,184 3:0,184"},
        {"one pixel past the corner", drag(1, {10, 10}, {11, 11}), "Tile 1:0,184 2:0,184 3:0,184"},
        {"far left and up", drag(1, {270, 110}, {0, 0}), "Tile 1:-125,74 2:-125,74 3:-125,74"},
        {"to the limits", drag(1, {270, 110}, {0, 0}), bottom},
        {"band moved by hand", [] { OffsetPoint p = {-5, 5};
                                    SendMessageA(Workspace(2), WSM_SETOFFSET, WPARAM(&p), 0); },
         "Tile 1:-125,0 2:-5,5 3:-125,0"},
        {"a push at the limit aligns", drag(1, {270, 110}, {260, 100}), bottom},
        {"tall, Continuous", [&] { open(400, 500)(); ChooseMode(2); }, "Continuous 4:0,152"},
        {"its limits", drag(4, {10, 10}, {270, 340}), "Continuous 4:0,152"},
        {"348 rows, still Continuous", open(400, 348), "Continuous 4:0,0"},
        {"348 rows move only sideways", drag(4, {10, 10}, {0, 200}), "Continuous 4:-10,0"},
        {"a short picture falls back to Tile", open(300, 200), "Tile 1:0,84 2:0,84 3:0,84"},
        {"its left limit", drag(1, {200, 50}, {0, 50}), "Tile 1:-25,84 2:-25,84 3:-25,84"},
        // Negative coordinates read as large numbers: a pointer outside moves nothing,
        // re-entering moves by the step from the last point inside, a release outside ends.
        {"a pointer outside", [] {
             for (auto [msg, x] : {std::pair{WM_LBUTTONDOWN, 100}, {WM_MOUSEMOVE, -20},
                                   {WM_MOUSEMOVE, 120}, {WM_LBUTTONUP, -20}, {WM_MOUSEMOVE, 0}}) {
                 SendMessageA(Workspace(1), msg, MK_LBUTTON, MAKELPARAM(x, 50));
             }
         }, "Tile 1:-5,84 2:-5,84 3:-5,84"},
        {"a made skin starts no drag", [] { Click(gApp.makeSkinButton);
                                            Drag(Workspace(1), {100, 50}, {50, 20});
                                            Click(gApp.makeSkinButton); },
         "Tile 1:-5,84 2:-5,84 3:-5,84"},
        // clang-format on
    };
    for (const auto& [name, act, bands] : steps) {
        SCOPED_TRACE(name);
        act();
        EXPECT_EQ(Bands() + Warned(run), bands);
    }

    // What the bands show is what Make Skin cuts: the offset (-5, 84) puts the picture's (5, 0)
    // at the top-left. The playlist preview is drawn where the band order puts it (the main
    // and equalizer previews: the Project Option dialog's test). The playlist colours do not
    // re-make the skin (the main ones do: the new user's test), and the defaults come back.
    auto color = [](int id) {
        return SendDlgItemMessageA(gApp.skinSetPanel, id, CPM_GETCOLOR, 0, 0);
    };
    EXPECT_EQ(std::tuple(color(kTextColorId), color(kPlaylistSelectedBackId)),
              std::tuple(LRESULT(0xFFFFFF), LRESULT(0xC00000)));
    auto band = DibCreate(275, 116, 24);
    CutBand(CurrentSkinInputs(), Band::Main, band.get());
    const auto shot = Screenshot(Workspace(2)), picture = Picture(300, 200);
    EXPECT_TRUE(SameRect(shot.get(), 0, 0, picture.get(), 5, 0, 275, 116));
    EXPECT_TRUE(SameRect(band.get(), 0, 0, picture.get(), 5, 0, 275, 116));

    gApp.skinOrder = {2, 0, 1};
    Click(gApp.makeSkinButton);
    // The playlist's frame as previewed, its list area drawn in the normal background.
    const auto main = Screenshot(run.Main());
    EXPECT_EQ(
        std::tuple(DibGetPixel(main.get(), 30 + 5, 144 + 90), DibGetPixel(main.get(), 270, 165)),
        std::tuple(DibGetPixel(gApp.skin->playlistPreview.get(), 5, 90), gApp.playlist.normalBack));

    // A mark a re-made skin would not carry (a new skin may reuse the old one's memory).
    auto first = [] { return &gApp.skin->main->Bytes()[gApp.skin->main->PixelOffset()]; };
    const uint8_t mark = *first() ^= 0x5A;
    HWND picker = GetDlgItem(gApp.skinSetPanel, kPlaylistNormalId);
    SendMessageA(picker, CPM_SETCOLOR, RGB(1, 2, 3), 0); // a new colour, then the notification
    SendMessageA(gApp.skinSetPanel, WM_COMMAND, MAKEWPARAM(kPlaylistNormalId, CPN_CHANGED),
                 LPARAM(picker));
    EXPECT_EQ(std::tuple(gApp.playlist.normalText, *first()), std::tuple(RGB(1, 2, 3), mark));
    gApp.playlist.fontName = "Courier New";
    SendMessageA(gApp.skinSetPanel, SSM_RESETDEFAULTS, 0, 0);
    EXPECT_EQ(std::tuple(gApp.colors.text, gApp.playlist.normalText, gApp.playlist.fontName),
              std::tuple(0xFFFFFFu, RGB(0, 255, 0), std::string("Arial")));
}

// Suggest Design on a grey field with one patch of coloured squares: the scale is chosen, the
// bands go over the patch, the colours read and the skin is made; a colour picked by hand
// stays at the next suggestion, and the note under the pickers says what reads badly.
TEST(SuggestDesign, PlacesTheBandsOnTheSubjectAndKeepsWhatTheUserPicked) {
    AppRun run;
    auto field = DibCreate(1200, 900, 24);
    DibFillRect(field.get(), {0, 0, 1200, 900}, RGB(120, 110, 100));
    for (int32_t y = 600; y < 690; y += 6) {
        for (int32_t x = 800 + (y / 6 % 2) * 6; x < 920; x += 12) {
            DibFillRect(field.get(), {x, y, x + 6, y + 6}, RGB(240, 200, 30));
        }
    }
    run.Open(run.WritePicture("field.bmp", *field));
    HWND note = GetDlgItem(gApp.skinSetPanel, kContrastNoteId);
    auto picked = [](int id) {
        return ColorRef(SendDlgItemMessageA(gApp.skinSetPanel, id, CPM_GETCOLOR, 0, 0));
    };
    SendMessageA(run.Main(), WM_COMMAND, IDM_SUGGEST, 0);
    AppRun::Pump();
    // Half of 1200 x 900: the patch is 60 x 45 at (400, 300) in 600 x 450, and the Main band
    // shows picture column -x and, from the top, row 450 - 116 - y.
    const OffsetPoint main = Offset(1);
    const int32_t left = -main.x, top = 450 - 116 - main.y;
    EXPECT_EQ(std::tuple(gApp.SkinMade(), gApp.scale, Field(kScaleFieldId), WindowText(note)),
              std::tuple(true, 50, 50, std::string()));
    EXPECT_TRUE(left <= 400 && left + 275 >= 460 && top <= 300 && top + 116 >= 345)
        << left << "," << top;
    EXPECT_EQ(std::tuple(picked(kTextColorId), picked(kPlaylistSelectedBackId)),
              std::tuple(gApp.colors.text, gApp.playlist.selectedBack));

    HWND text = GetDlgItem(gApp.skinSetPanel, kTextColorId);
    const ColorRef back = gApp.colors.back;
    SendMessageA(text, CPM_SETCOLOR, back, 0);
    SendMessageA(gApp.skinSetPanel, WM_COMMAND, MAKEWPARAM(kTextColorId, CPN_CHANGED),
                 LPARAM(text));
    const std::string low =
        "Low contrast: display text on back reads 1.0:1 (4.5:1 or more reads well)";
    EXPECT_EQ(WindowText(note), low);
    SendMessageA(run.Main(), WM_COMMAND, IDM_SUGGEST, 0);
    EXPECT_EQ(std::tuple(gApp.colors.text, picked(kTextColorId), WindowText(note)),
              std::tuple(back, back, low));
}

// Template folders listed sorted (no files, no dot folders), the stored choice selected or
// the first when it is out of range; Make Skin reads the choice, and a new choice re-makes.
TEST(TemplatePanel, ListsFoldersSortedAndUsesTheChoice) {
    for (auto [last, selected] : {std::pair{1, 1}, {9, 0}}) {
        AppRun run([last = last](const std::string& folder) {
            std::filesystem::copy(KORVANE_TEMPLATES, folder + "\\templates",
                                  std::filesystem::copy_options::recursive);
            for (const char* name : {"zeta", "alpha", ".old"}) {
                std::filesystem::create_directories(folder + "\\templates\\" + name);
            }
            std::ofstream(folder + "\\templates\\notes.txt") << "a file";
            std::ofstream(folder + "\\korvane.ini") << "[Korvane]\r\nLast_Tmpl=" << last;
        });
        HWND box = gApp.templateBox;
        const std::vector<std::string> names = ComboItems(box);
        EXPECT_EQ(names, (std::vector<std::string>{"alpha", "Basic", "Brushed Steel",
                                                   "High Contrast", "zeta"}));
        EXPECT_EQ(SendMessageA(box, CB_GETCURSEL, 0, 0), selected);
        run.Open(run.WritePicture("photo.bmp", *Picture(400, 300)));
        Click(gApp.makeSkinButton);
        EXPECT_EQ(std::tuple(gApp.templatePath, gApp.lastTemplateIndex),
                  std::tuple(run.Folder() + "\\templates\\" + names[selected] + "\\", selected));
        auto before = DibDuplicate(gApp.skin->cbuttons.get());
        SendMessageA(box, CB_SETCURSEL, 2, 0);
        SendMessageA(gApp.templatePanel, WM_COMMAND, MAKEWPARAM(IDC_TEMPLATE_BOX, CBN_SELENDOK),
                     LPARAM(box));
        ASSERT_TRUE(gApp.SkinMade());
        EXPECT_FALSE(SameRect(gApp.skin->cbuttons.get(), 0, 0, before.get(), 0, 0, before->Width(),
                              before->Height()));
        EXPECT_EQ(gApp.lastTemplateIndex, 2);
    }
}

// Apply rebuilds the work picture from the source: unchanged values change nothing, a scale
// too small is raised with a warning, brightness goes before contrast, negative values pass.
TEST(ImageSetPanel, ApplyRebuildsTheWorkPictureFromTheSource) {
    AppRun run;
    run.Open(run.WritePicture("photo.bmp", *Picture(400, 300)));
    // A mark a rebuilt picture would not carry (it may take the old one's memory).
    Dib* work = const_cast<Dib*>(gApp.WorkPicture());
    const uint8_t mark = work->Bytes()[work->PixelOffset()] ^= 0x5A;
    Apply(100, 0, 0);
    EXPECT_EQ(gApp.WorkPicture()->Bytes()[gApp.WorkPicture()->PixelOffset()], mark);

    Apply(50, 0, 0);
    ASSERT_TRUE(gApp.WorkPicture());
    // Raised with a warning; a new size goes back to the top-left.
    EXPECT_EQ(std::tuple(Warned(run), gApp.scale, Field(kScaleFieldId), gApp.WorkPicture()->Width(),
                         gApp.WorkPicture()->Height(), Offset(1).y),
              std::tuple(" ! Image too small...\nProgram will adjust image to minimum skin size.",
                         69, 69, 276, 207, 207 - 116));

    Drag(Workspace(1), {100, 50}, {99, 50});
    Apply(69, -30, -20);
    EXPECT_EQ(std::tuple(gApp.brightness, gApp.contrast, Field(kBrightnessFieldId)),
              std::tuple(-30, -20, -30));
    auto expected = DibScaleDown(gApp.project.Picture(), 276, 207);
    DibAdjustBrightness(expected.get(), -30);
    DibAdjustContrast(expected.get(), -20);
    EXPECT_TRUE(SameRect(gApp.WorkPicture(), 0, 0, expected.get(), 0, 0, 276, 207));
    EXPECT_EQ(Offset(1).x, -1) << "only brightness changed: the view stays";
}

// Apply with a new scale, brightness and contrast, then Make Skin, on the largest picture. A
// pass gone quadratic is slow every time, a busy machine only sometimes: the best of five counts.
TEST(Timing, ApplyAndMakeSkinOnTheLargestPictureAnswerWithinAFrame) {
    AppRun run;
    run.Open(run.WritePicture("large.bmp", *Picture(1600, 1200)));
    auto ms = [](const std::function<void()>& act) {
        const auto start = std::chrono::steady_clock::now();
        act();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    };
    double apply = 1e9, make = 1e9;
    for (int i = 0; i < 5; i++) {
        // A new scale each time, so Apply rebuilds; Undo Skin after, for the next Apply.
        apply = std::min(apply, ms([i] { Apply(90 - i, 20, 30); }));
        make = std::min(make, ms([] { Click(gApp.makeSkinButton); }));
        ASSERT_TRUE(gApp.SkinMade());
        Click(gApp.makeSkinButton);
    }
    std::printf("best of five: Apply %.2f ms; Make Skin %.2f ms\n", apply, make);
    EXPECT_LT(std::max(apply, make), 60.0);
}
