// The spin field and the colour picker as children of a plain window, driven with messages
// and the mouse, the colour dialog answered as a person would, and the screen read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "controls/color_picker.h"
#include "controls/spin_field.h"
#include "tests/win32/app_harness.h"
#include "tests/win32/dialog_driver.h"

namespace {

// What the children told the host (wParam, lParam, a picker's colour as read while told).
using Told = std::vector<std::tuple<WPARAM, LPARAM, COLORREF>>;
Told gToHost;

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND || msg == WM_NOTIFY || msg == WM_VSCROLL || msg == WM_HSCROLL) {
        LPARAM color = msg == WM_COMMAND ? SendMessageA(HWND(lParam), CPM_GETCOLOR, 0, 0) : 0;
        gToHost.emplace_back(wParam, lParam, COLORREF(color));
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The window shows a sunken two-ring frame (all dark when `pressed`) around `inside`, which
// reaches `insideRight` when that is given; `repaint` false: only what it invalidated itself.
bool Sunken(HWND hwnd, COLORREF inside, int insideRight = -1, bool repaint = true,
            bool pressed = false) {
    const auto shot = Screenshot(hwnd, false, repaint);
    const int w = shot->Width(), h = shot->Height();
    const int rings[2][2] = {{COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT},
                             {COLOR_3DDKSHADOW, COLOR_3DLIGHT}};
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            const int ring = std::min({x, y, w - 1 - x, h - 1 - y});
            const bool br = x == w - 1 - ring || y == h - 1 - ring;
            const COLORREF want = ring >= 2 ? inside
                                  : pressed ? GetSysColor(COLOR_3DDKSHADOW)
                                            : GetSysColor(rings[ring][br]);
            if ((ring < 2 || insideRight < 0 || x < insideRight) &&
                DibGetPixel(shot.get(), x, y) != want) {
                return false;
            }
        }
    }
    return true;
}

// Typed key by key: the edit takes only what fits in it.
void TypeInto(HWND edit, const std::string& text) {
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (char c : text) {
        SendMessageA(edit, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 1);
    }
}

// A plain window at the screen's top left, in a colour no control paints.
class Controls : public testing::Test {
  protected:
    void SetUp() override {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        WNDCLASSA wc = {};
        if (!GetClassInfoA(instance, "KorvaneControlHost", &wc)) {
            wc.lpfnWndProc = HostProc;
            wc.hInstance = instance;
            wc.hbrBackground = CreateSolidBrush(RGB(90, 201, 13)); // kept for the whole run
            wc.lpszClassName = "KorvaneControlHost";
            ASSERT_NE(RegisterClassA(&wc), 0);
        }
        host_ =
            CreateWindowExA(0, "KorvaneControlHost", "controls", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            0, 0, 400, 300, nullptr, nullptr, instance, nullptr);
        AppRun::Pump();
        gToHost.clear();
    }
    void TearDown() override {
        DestroyWindow(host_);
        AppRun::Pump();
    }
    HWND Add(const char* className, int width, int height, int id = 3, int y = 60) {
        return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE, 20, y, width, height, host_,
                               HMENU(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
    }
    HWND host_ = nullptr;
};

// The edit fills the frame but for the arrows' 16 pixels at the right; with the edit hidden,
// a sunken frame around the button face shows. What the owner sends reaches the arrows: ranges
// either way round, positions limited by them, typed numbers taken on the next read, arrows
// stepping within the range; the edit shows plain digits, and the owner is never told anything.
TEST_F(Controls, SpinFieldLaysOutItsChildrenAndPassesPositionsAndRangesToItsArrows) {
    for (auto [w, h] : {std::pair{50, 20}, {81, 27}, {23, 9}}) {
        HWND field = Add(kSpinFieldClass, w, h);
        const RECT e = RectIn(GetDlgItem(field, 1), field), a = RectIn(GetDlgItem(field, 2), field);
        EXPECT_EQ(std::tuple(e.left, e.top, e.right, e.bottom, a.left, a.top, a.right, a.bottom),
                  std::tuple(2, 2, w - 18, h - 2, w - 18, 2, w - 2, h - 2));
        ShowWindow(GetDlgItem(field, 1), SW_HIDE);
        EXPECT_TRUE(Sunken(field, GetSysColor(COLOR_BTNFACE), w - 18)) << w;
        DestroyWindow(field);
    }

    HWND field = Add(kSpinFieldClass, 50, 20);
    HWND edit = GetDlgItem(field, 1);
    EXPECT_EQ(std::tuple(WindowText(edit), SendMessageA(GetDlgItem(field, 2), UDM_GETRANGE, 0, 0)),
              std::tuple("0", LRESULT(MAKELONG(100, -100))));
    // A new range (0: none), typed text or else a position set, an arrow clicked (+1 up, -1
    // down), and the position read back with its error word.
    const LPARAM narrow = MAKELPARAM(50, -50), wide = MAKELPARAM(2000, -2000);
    const struct Step {
        LPARAM range = 0;
        const char* typed = nullptr;
        int set = 0, arrow = 0, position = 0;
        bool error = false;
    } steps[] = {
        // clang-format off
        {.set = 101, .position = 100}, {.set = -32768, .position = -100},
        {.set = 55, .position = 55}, {.typed = "-30", .position = -30},
        {.typed = "-30", .arrow = +1, .position = -29}, {.typed = "abc", .error = true},
        {.typed = "-101", .error = true}, {.range = 100, .set = -30, .position = 0},
        {.range = 100, .arrow = -1, .position = 0},
        {.range = 100, .set = 100, .arrow = +1, .position = 100},
        {.range = 100, .set = 100, .arrow = -1, .position = 99},
        {.range = narrow, .set = -70, .position = -50},
        {.range = wide, .set = -1500, .position = -1500},
        // clang-format on
    };
    for (const auto& [range, typed, set, arrow, position, error] : steps) {
        SCOPED_TRACE(std::to_string(set) + (typed ? typed : ""));
        if (range) {
            SendMessageA(field, UDM_SETRANGE, 0, range);
        }
        if (typed) {
            TypeInto(edit, typed);
        } else {
            SendMessageA(field, UDM_SETPOS, 0, MAKELPARAM(set, 0));
        }
        if (arrow) { // a click on the upper or the lower arrow
            HWND arrows = GetDlgItem(field, 2);
            RECT r;
            GetClientRect(arrows, &r);
            const LPARAM at = MAKELPARAM(r.right / 2, arrow > 0 ? r.bottom / 4 : r.bottom * 3 / 4);
            SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageA(arrows, WM_LBUTTONUP, 0, at);
        }
        const LRESULT read = SendMessageA(field, UDM_GETPOS, 0, 0);
        const std::string shown = std::to_string(short(LOWORD(read))) + " " + WindowText(edit);
        EXPECT_EQ(HIWORD(read) ? "error" : shown,
                  error ? "error" : std::to_string(position) + " " + std::to_string(position));
    }
    AppRun::Pump();
    EXPECT_TRUE(gToHost.empty());
}

// The colour dialog's record as handed to the dialog, custom colours included.
CHOOSECOLORA gRecord;
COLORREF gCustom[16];
LRESULT CALLBACK WatchInitDialog(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    const auto* record = reinterpret_cast<const CHOOSECOLORA*>(call->lParam);
    if (code == HC_ACTION && call->message == WM_INITDIALOG && record &&
        record->lStructSize == sizeof(CHOOSECOLORA)) {
        gRecord = *record;
        std::copy(record->lpCustColors, record->lpCustColors + 16, gCustom);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The colour dialog answered with OK or Cancel after typing `typed` (unless CLR_INVALID) into
// its red, green and blue fields, maybe adding it to the custom colours.
struct Answer {
    bool ok = false;
    COLORREF typed = CLR_INVALID;
    bool addToCustom = false;
};
bool gPressedWhileOpen = false;

// A press (unless `press` is false), moves and a release at `up`, any colour dialog answered;
// says whether a dialog opened.
bool Click(HWND picker, POINT up, const Answer& answer, std::vector<POINT> moves = {},
           bool press = true) {
    constexpr int kFields[] = {706, 707, 708}, kAddToCustom = 712;
    gRecord = {};
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchInitDialog, nullptr, GetCurrentThreadId());
    Drive drive = RunDriven(
        nullptr,
        [&](HWND dialog) {
            SetWindowPos(dialog, nullptr, 600, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            // The bottom-right rim is dark only while pressed (read without running messages).
            HDC dc = GetDC(picker);
            RECT r;
            GetClientRect(picker, &r);
            gPressedWhileOpen =
                GetPixel(dc, r.right - 1, r.bottom - 1) == GetSysColor(COLOR_3DDKSHADOW);
            ReleaseDC(picker, dc);
            for (int i = 0; i < 3 && answer.typed != CLR_INVALID; i++) {
                TypeInto(GetDlgItem(dialog, kFields[i]),
                         std::to_string((answer.typed >> (8 * i)) & 0xFF));
            }
            if (answer.addToCustom) {
                SendDlgItemMessageA(dialog, kAddToCustom, BM_CLICK, 0, 0);
            }
            SendDlgItemMessageA(dialog, answer.ok ? IDOK : IDCANCEL, BM_CLICK, 0, 0);
        },
        [&] {
            if (press) {
                SendMessageA(picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            }
            for (POINT p : moves) {
                SendMessageA(picker, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
            }
            SendMessageA(picker, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
        });
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(drive.leftOpen || drive.timedOut);
    return drive.ran;
}

COLORREF ColorOf(HWND picker) {
    return COLORREF(SendMessageA(picker, CPM_GETCOLOR, 0, 0));
}

// Set by message: stored and repainted by itself, never reported; shown inside a sunken edge
// at any size, hidden behind the button face while disabled. Pressed, it looks pressed
// exactly while the pointer is over it; a lost capture ends the press.
TEST_F(Controls, ColorPickerShowsItsColourSunkenOrPressedAndTakesOnlyANewColour) {
    for (auto [w, h] : {std::pair{41, 23}, {7, 5}, {28, 14}}) {
        HWND picker = Add(kColorPickerClass, w, h);
        EXPECT_TRUE(Sunken(picker, RGB(0, 0, 0))) << w;
        for (COLORREF color : {RGB(0x12, 0x34, 0x56), RGB(255, 255, 255), RGB(0, 1, 0)}) {
            SendMessageA(picker, CPM_SETCOLOR, color, 0);
            EXPECT_EQ(ColorOf(picker), color);
            EXPECT_TRUE(Sunken(picker, color, -1, false)) << w << " " << color;
        }
        EnableWindow(picker, FALSE);
        EXPECT_TRUE(Sunken(picker, GetSysColor(COLOR_BTNFACE))) << w;
        DestroyWindow(picker);
    }
    AppRun::Pump();
    EXPECT_TRUE(gToHost.empty());
    const COLORREF color = RGB(18, 52, 86);
    HWND first = Add(kColorPickerClass, 28, 14, 2, 38);
    HWND second = Add(kColorPickerClass, 28, 14, 8, 198);
    SendMessageA(first, CPM_SETCOLOR, color, 0);
    SendMessageA(first, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), first);
    const std::tuple<int, int, bool> path[] = {{-3, 5, false}, {5, 5, true},   {28, 5, false},
                                               {27, 13, true}, {5, -1, false}, {5, 14, false},
                                               {0, 0, true}};
    for (auto [x, y, over] : path) {
        SendMessageA(first, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
        EXPECT_TRUE(Sunken(first, color, -1, true, over)) << x << "," << y;
    }
    SetCapture(host_); // taken away, as when another window grabs the mouse
    EXPECT_TRUE(Sunken(first, color));
    ReleaseCapture();

    // Only a release over the swatch after a press opens the dialog; only OK with a different
    // colour changes the picker and tells the parent, once, with the new colour readable. Rows:
    // the picker, pressed or not, the pointer's moves and release, the answer, the colour after.
    const Answer pick = {true, RGB(1, 2, 3)};
    const std::tuple<HWND, bool, std::vector<POINT>, POINT, Answer, COLORREF> cases[] = {
        {first, false, {{5, 5}}, {5, 5}, pick, color},  // the press above was taken away
        {first, true, {{40, 5}}, {40, 5}, pick, color}, // released outside
        {first, true, {{-3, 5}}, {-3, 5}, pick, color},
        {first, true, {{28, 14}}, {28, 14}, pick, color},
        {first, true, {{40, 5}, {6, 6}}, {6, 6}, {true, RGB(200, 100, 50)}, RGB(200, 100, 50)},
        {second, true, {}, {20, 10}, {true, RGB(9, 8, 7)}, RGB(9, 8, 7)},
        {first, true, {}, {20, 10}, {true}, RGB(200, 100, 50)},                  // OK unchanged
        {first, true, {}, {20, 10}, {false, RGB(250, 0, 7)}, RGB(200, 100, 50)}, // cancelled
    };
    for (const auto& [picker, press, moves, up, answer, after] : cases) {
        SCOPED_TRACE(std::to_string(up.x) + "," + std::to_string(up.y));
        COLORREF before = ColorOf(picker);
        gToHost.clear();
        const bool over = up.x >= 0 && up.x < 28 && up.y >= 0 && up.y < 14;
        const bool opened = Click(picker, up, answer, moves, press);
        AppRun::Pump();
        const Told told = {{MAKEWPARAM(GetDlgCtrlID(picker), CPN_CHANGED), LPARAM(picker), after}};
        EXPECT_EQ(
            std::tuple(opened, GetCapture(), ColorOf(picker), Sunken(picker, after), gToHost),
            std::tuple(press && over, HWND(nullptr), after, true, after == before ? Told{} : told));
    }
    // The last dialog opened over the parent, in full, with the picker's colour and the standard
    // palette (as 0xBBGGRR) for custom colours, which all pickers share and keep.
    EXPECT_EQ(std::tuple(gPressedWhileOpen, gRecord.rgbResult, gRecord.hwndOwner, gRecord.Flags),
              std::tuple(true, RGB(200, 100, 50), host_, DWORD(CC_RGBINIT | CC_FULLOPEN)));
    const std::vector<COLORREF> standard = {
        0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
        0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    EXPECT_EQ(std::vector<COLORREF>(gCustom, gCustom + 16), standard);
    Click(first, {20, 10}, Answer{false, RGB(12, 34, 56), true});
    Click(second, {20, 10}, Answer{});
    EXPECT_EQ(std::tuple(gCustom[0], gCustom[1]), std::tuple(RGB(12, 34, 56), RGB(128, 0, 0)));
}

} // namespace
