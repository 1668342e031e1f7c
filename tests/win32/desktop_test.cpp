// The layout at 96, 120 and 144 DPI, the keyboard, the font box, message boxes that fit.
#include <gtest/gtest.h>

#include <windows.h>

#include <process.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/message_box.h"
#include "app/project_option_dialog.h"
#include "app/resource.h"
#include "app/side_panels.h"
#include "app/startup.h"
#include "app/title_text_dialog.h"
#include "controls/spin_field.h"
#include "image/bmp_file.h"
#include "tests/unit/test_util.h"
#include "tests/win32/app_harness.h"
#include "tests/win32/dialog_driver.h"

namespace {

// Every child of `parent` lies inside it, overlaps no sibling, and shows its whole text:
// labels and check boxes wrapped within their rectangles, button captions, the widest number
// of a spin field and the entries of our lists on one line within their width.
void ExpectChildrenFit(HWND parent, const std::string& where) {
    RECT client;
    GetClientRect(parent, &client);
    std::vector<RECT> seen;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongA(child, GWL_STYLE), kind = style & BS_TYPEMASK;
        if (!(style & WS_VISIBLE)) {
            continue;
        }
        const std::string cls = ClassOf(child);
        const std::string name = where + " / " + cls + " \"" + WindowText(child) + "\"";
        const RECT r = RectIn(child, parent);
        RECT both;
        EXPECT_TRUE(IntersectRect(&both, &r, &client) && EqualRect(&both, &r)) << name;
        for (const RECT& other : seen) {
            EXPECT_FALSE(IntersectRect(&both, &r, &other)) << name << " overlaps a sibling";
        }
        seen.push_back(r);
        // A label's mnemonic leads to the control after it, which must be a field.
        if (cls == "Static" && WindowText(child).find('&') != std::string::npos) {
            HWND field = GetWindow(child, GW_HWNDNEXT);
            EXPECT_TRUE(field && (GetWindowLongA(field, GWL_STYLE) & WS_TABSTOP)) << name;
        }
        HWND measured = child;
        std::vector<std::string> texts = {WindowText(child)};
        int room = 0, height = r.bottom - r.top;
        UINT format = DT_SINGLELINE;
        if (cls == "Static" && (style & SS_TYPEMASK) <= SS_RIGHT) {
            room = r.right - r.left;
            format = DT_WORDBREAK | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
        } else if (cls == "Button" && (kind == BS_AUTOCHECKBOX || kind == BS_CHECKBOX)) {
            room = r.right - r.left - GetSystemMetrics(SM_CXMENUCHECK) - 4; // the box and gap
            format = DT_WORDBREAK;
        } else if (cls == "Button" && kind <= BS_DEFPUSHBUTTON) {
            room = r.right - r.left - 4;
        } else if (cls == kSpinFieldClass) {
            measured = GetWindow(child, GW_CHILD);
            RECT inside;
            GetClientRect(measured, &inside);
            room = inside.right - 2; // the edit's one-pixel margins
            texts = {"-100"};
        } else if (cls == "ComboBox" && GetDlgCtrlID(child) != kFontBoxId) {
            // The font box lists whatever the machine has installed; the others, our words.
            room = r.right - r.left - GetSystemMetrics(SM_CXVSCROLL) - 6;
            texts = ComboItems(child);
        } else {
            continue;
        }
        HDC dc = GetDC(measured);
        HGDIOBJ old = SelectObject(dc, HFONT(SendMessageA(measured, WM_GETFONT, 0, 0)));
        for (const std::string& text : texts) {
            if (text.empty()) {
                continue;
            }
            RECT need = {0, 0, (format & DT_WORDBREAK) ? room : 0, 0};
            DrawTextA(dc, text.c_str(), -1, &need, format | DT_CALCRECT);
            EXPECT_LE(need.right, room) << name << " " << text;
            EXPECT_LE(need.bottom, measured == child ? height : need.bottom) << name << " " << text;
        }
        SelectObject(dc, old);
        ReleaseDC(measured, dc);
    }
}

// The DPI a layout run is told to expect; null in every other run.
const char* const kLayoutDpi = std::getenv("KORVANE_LAYOUT_DPI");

// With KORVANE_SHOTS set to a folder (scripts/layout-shots.sh), every window the layout
// check looks at is saved there as NAME-DPI.bmp, frame and all, for a person to look at.
void SaveShot(HWND hwnd, const std::string& name) {
    if (const char* folder = std::getenv("KORVANE_SHOTS")) {
        std::string path = std::string(folder) + "\\" + name + "-" + kLayoutDpi + ".bmp";
        EXPECT_TRUE(DibWriteFile(path.c_str(), Screenshot(hwnd, true).get())) << path;
    }
}

// A key pressed and released, through the program's own message loop or, given a dialog, the
// loop of a modal dialog; `shift` held for Shift+Tab.
void Press(UINT key, bool shift = false, HWND dialog = nullptr) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
    PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!(dialog ? IsDialogMessageA(dialog, &msg) : PreTranslateMainWindowMessage(&msg))) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

void ExpectDialogFits(const char* caption, const std::function<void()>& open) {
    RunScript(caption, open, [&](HWND dialog) {
        ExpectChildrenFit(dialog, caption);
        SaveShot(dialog, caption);
        Press(VK_ESCAPE, false, dialog); // Cancel inside a dialog, as everywhere
    });
}

// What reaches the main window and which dialogs try to open while keys are pressed. A
// dialog is ended as it opens, so a fault shows as a count, not as a hang.
int gCommandsToMain = 0, gDialogsOpened = 0;
LRESULT CALLBACK WatchMessages(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_COMMAND && call->hwnd == gApp.mainWindow) {
        gCommandsToMain++;
    }
    if (code == HC_ACTION && call->message == WM_INITDIALOG) {
        gDialogsOpened++;
        EndDialog(call->hwnd, 0);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The tab stops visited from the first, forwards (and backwards), once round.
std::vector<HWND> TabRound(bool backwards) {
    std::vector<HWND> visited = {GetFocus()};
    for (int i = 0; i < 20; i++) {
        Press(VK_TAB, backwards);
        if (GetFocus() == visited[0]) {
            return visited;
        }
        visited.push_back(GetFocus());
    }
    ADD_FAILURE() << "Tab never came back to where it started";
    return visited;
}

} // namespace

// The system DPI is read when a process starts, so each DPI gets a process of its own: this
// program again, running only the LayoutAtThisDpi test; 96 comes last, the prefix's own setting.
TEST(Layout, FitsItsTextAt96_120_And144Dpi) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string quoted = std::string("\"") + self + "\"";
    for (DWORD dpi : {120, 144, 96}) {
        RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD, &dpi,
                        sizeof dpi);
        SetEnvironmentVariableA("KORVANE_LAYOUT_DPI", std::to_string(dpi).c_str());
        EXPECT_EQ(
            _spawnl(_P_WAIT, self, quoted.c_str(), "--gtest_filter=LayoutAtThisDpi.*", nullptr), 0)
            << "the layout at " << dpi << " DPI (its failures are above)";
    }
}

TEST(LayoutAtThisDpi, ClientAreaPanelsAndDialogs) {
    if (!kLayoutDpi) {
        GTEST_SKIP() << "run by Layout.FitsItsTextAt96_120_And144Dpi";
    }
    const int dpi = std::atoi(kLayoutDpi);
    AppRun run;
    RECT client;
    GetClientRect(run.Main(), &client);
    EXPECT_EQ(std::tuple(client.right, client.bottom),
              std::tuple(MulDiv(545, dpi, 96), MulDiv(404, dpi, 96)));
    for (HWND panel : {gApp.templatePanel, gApp.imageSetPanel, gApp.skinSetPanel}) {
        const RECT r = RectIn(panel, run.Main());
        EXPECT_TRUE(r.right <= client.right && r.bottom <= client.bottom) << ClassOf(panel);
        ExpectChildrenFit(panel, ClassOf(panel));
    }

    // The skin's previews stay pixel for pixel, inside the teal field on every side.
    run.Open(run.WritePicture("photo.bmp", *Picture(400, 300)));
    SaveShot(run.Main(), "picture");
    SendMessageA(gApp.makeSkinButton, BM_CLICK, 0, 0);
    ASSERT_TRUE(gApp.SkinMade());
    const RECT stack = RectIn(gApp.workspaces[3], run.Main());
    EXPECT_EQ(std::tuple(stack.right - stack.left, stack.bottom - stack.top),
              std::tuple(275L, 348L));
    SaveShot(run.Main(), "main");
    auto shot = Screenshot(run.Main());
    EXPECT_TRUE(
        SameRect(shot.get(), stack.left, stack.top, gApp.skin->mainPreview.get(), 0, 0, 275, 116));
    for (auto [x, y] : {std::pair{-5, 100}, {279, 100}, {100, -5}, {100, 352}}) {
        EXPECT_EQ(DibGetPixel(shot.get(), stack.left + x, stack.top + y), Rgb(0, 128, 128)) << x;
    }

    HWND main = run.Main();
    ExpectDialogFits("Save...", [&] { SendMessageA(main, WM_COMMAND, IDM_SAVE, 0); });
    ExpectDialogFits("Edit Title Text", [&] { TitleTextDialog(main); });
    ExpectDialogFits("Project Option", [&] { ProjectOptionDialog(main); });
    ExpectDialogFits("About Korvane", [&] { SendMessageA(main, WM_COMMAND, IDM_ABOUT, 0); });
}

TEST(Keyboard, TabCyclesThePanelsTheFontBoxChoosesAndEnterAndEscapeDoNothing) {
    AppRun run;
    run.Open(run.WritePicture("photo.bmp", *Picture(400, 300)));
    HWND imageSet = gApp.imageSetPanel, skinSet = gApp.skinSetPanel;
    auto edit = [&](int id) { return GetWindow(GetDlgItem(imageSet, id), GW_CHILD); };
    SetFocus(gApp.templateBox);
    // clang-format off
    const std::vector<HWND> picture = {gApp.templateBox, gApp.makeSkinButton, gApp.modeBox,
        edit(kScaleFieldId), edit(kBrightnessFieldId), edit(kContrastFieldId),
        GetDlgItem(imageSet, kApplyButtonId)};
    // clang-format on
    EXPECT_EQ(TabRound(false), picture);
    std::vector<HWND> back(picture.rbegin(), picture.rend() - 1);
    back.insert(back.begin(), picture[0]);
    EXPECT_EQ(TabRound(true), back);

    SendMessageA(gApp.makeSkinButton, BM_CLICK, 0, 0);
    ASSERT_TRUE(gApp.SkinMade());
    SetFocus(gApp.templateBox);
    std::vector<HWND> skin = {gApp.templateBox, gApp.makeSkinButton};
    for (int id : {kTitleButtonId, kTextColorId, kBackColorId, kFontBoxId, kPlaylistNormalId,
                   kPlaylistCurrentId, kPlaylistNormalBackId, kPlaylistSelectedBackId}) {
        skin.push_back(GetDlgItem(skinSet, id));
    }
    EXPECT_EQ(TabRound(false), skin);

    // The font box holds each name once and shows the font the skin uses.
    HWND box = GetDlgItem(skinSet, kFontBoxId);
    auto shown = [box] {
        return ComboItems(box).at(size_t(SendMessageA(box, CB_GETCURSEL, 0, 0)));
    };
    std::set<std::string> names;
    for (std::string lower : ComboItems(box)) {
        EXPECT_TRUE(names.insert(CharLowerA(lower.data())).second) << lower << " twice";
    }
    EXPECT_EQ(shown(), "Arial");

    // The arrow keys on the closed box choose; the list opened, scrolled and left with
    // Escape keeps the chosen font; Enter in the open list chooses.
    SetFocus(box);
    Press(VK_DOWN);
    const std::string chosen = gApp.playlist.fontName;
    EXPECT_NE(chosen, "Arial");
    SendMessageA(box, CB_SHOWDROPDOWN, TRUE, 0);
    for (UINT key : {VK_DOWN, VK_DOWN, VK_ESCAPE}) {
        Press(key);
    }
    EXPECT_EQ(
        std::tuple(SendMessageA(box, CB_GETDROPPEDSTATE, 0, 0), gApp.playlist.fontName, shown()),
        std::tuple(LRESULT(0), chosen, chosen));
    SendMessageA(box, CB_SHOWDROPDOWN, TRUE, 0);
    Press(VK_UP);
    Press(VK_RETURN);
    EXPECT_EQ(std::tuple(gApp.playlist.fontName, shown()), std::tuple("Arial", "Arial"));

    // Enter and Escape on every stop: no command reaches the main window (ids 1 and 2 are
    // the Main Skin and Equalizer windows), no dialog opens, the skin stays.
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchMessages, nullptr, GetCurrentThreadId());
    gCommandsToMain = gDialogsOpened = 0;
    for (HWND stop : skin) {
        SetFocus(stop);
        Press(VK_RETURN);
        Press(VK_ESCAPE);
        EXPECT_EQ(GetFocus(), stop) << ClassOf(stop);
    }
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(std::tuple(gCommandsToMain, gDialogsOpened, gApp.SkinMade()), std::tuple(0, 0, true));
}

TEST(Messages, ALongPathIsShortenedToFitA1024PixelScreen) {
    std::string path = "C:\\Program Files\\Winamp\\Skins";
    while (path.size() < 250) {
        path += "\\Collections\\Classics";
    }
    path += "\\My Skin";
    const std::string text = std::string("Skin folder path too long...\n") + path +
                             "\nPlease choose a shorter skin name or skins directory.";
    std::string shownText;
    int width = 0;
    RunScript(
        "Warning..!", [&] { ShowWarning(nullptr, text.c_str()); },
        [&](HWND box) {
            width = RectIn(box, nullptr).right - RectIn(box, nullptr).left;
            shownText = WindowText(GetDlgItem(box, 0xFFFF));
            SendMessageA(box, WM_COMMAND, IDOK, 0);
        });
    // The path line keeps its start and end and is shortened in the middle.
    const std::string line = shownText.substr(0, shownText.rfind('\n'));
    EXPECT_EQ(std::tuple(width <= 1024,
                         line.rfind("Skin folder path too long...\nC:\\Program Files", 0),
                         line.find("...") != line.rfind("..."), line.substr(line.size() - 8)),
              std::tuple(true, 0u, true, "\\My Skin"))
        << shownText;
}
