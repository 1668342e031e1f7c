// The spin field and the colour picker as their owners and users meet them: the real
// controls as children of a plain window, driven with their messages and with mouse and
// key messages, the colour dialog answered by the test as a person would answer it, and
// what ends up on screen read back pixel by pixel.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "controls/color_picker.h"
#include "controls/spin_field.h"
#include "tests/win32/app_harness.h"

namespace {

// Controls of the standard colour dialog (the COLOR_ ids of <dlgs.h>, which MinGW's copy
// lacks).
constexpr int kRedField = 706;
constexpr int kGreenField = 707;
constexpr int kBlueField = 708;
constexpr int kAddToCustomButton = 712;

constexpr char kHostClass[] = "KorvaneControlHost";
// The host's background, a colour no control paints, so that any pixel a control leaves
// unpainted shows.
constexpr COLORREF kHostBackground = RGB(90, 201, 13);

// Everything the children told the host window, in order.
struct HostMessage {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    COLORREF pickerColor; // for a WM_COMMAND from a picker: its colour at that moment
};
std::vector<HostMessage> gHostMessages;

bool IsPicker(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return std::string(name) == kColorPickerClass;
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_VSCROLL:
    case WM_HSCROLL: {
        HWND from = msg == WM_NOTIFY ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : HWND(lParam);
        COLORREF color = CLR_INVALID;
        if (msg == WM_COMMAND && from && IsPicker(from)) {
            color = COLORREF(SendMessageA(from, CPM_GETCOLOR, 0, 0));
        }
        gHostMessages.push_back({msg, wParam, lParam, color});
        return 0;
    }
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// What a window shows right now, read back from its DC after a synchronous repaint. It
// does not run the message loop, so it can be used while the colour dialog is open.
class Shot {
  public:
    // `repaint` false: only what the window itself asked to repaint is painted first.
    explicit Shot(HWND hwnd, bool repaint = true) {
        UINT flags = RDW_UPDATENOW | (repaint ? RDW_INVALIDATE | RDW_ERASE : 0);
        RedrawWindow(hwnd, nullptr, nullptr, flags);
        RECT client;
        GetClientRect(hwnd, &client);
        width_ = client.right;
        height_ = client.bottom;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_; // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC windowDc = GetDC(hwnd);
        HDC memory = CreateCompatibleDC(windowDc);
        HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width_, height_, windowDc, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* bgra = static_cast<const uint8_t*>(bits);
        for (int i = 0; i < width_ * height_; i++) {
            pixels_.push_back(RGB(bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]));
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(hwnd, windowDc);
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const { return pixels_[size_t(y * width_ + x)]; }

    // True when every pixel of the rectangle [x0, x1) x [y0, y1) has this colour.
    bool Filled(int x0, int y0, int x1, int y1, COLORREF color) const {
        for (int y = y0; y < y1; y++) {
            for (int x = x0; x < x1; x++) {
                if (At(x, y) != color) {
                    return false;
                }
            }
        }
        return true;
    }

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;
};

std::string Text(HWND hwnd) {
    char text[64] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

RECT RectInParent(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A plain top-level window at the screen's top left for the controls to live in; the
// colour dialog is moved clear of it so that reading pixels sees the controls.
class ControlTest : public testing::Test {
  protected:
    void SetUp() override {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        WNDCLASSA wc = {};
        if (!GetClassInfoA(instance, kHostClass, &wc)) {
            wc.lpfnWndProc = HostProc;
            wc.hInstance = instance;
            wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
            wc.hbrBackground = CreateSolidBrush(kHostBackground); // kept for the whole run
            wc.lpszClassName = kHostClass;
            ASSERT_NE(RegisterClassA(&wc), 0);
        }
        host_ = CreateWindowExA(0, kHostClass, "controls", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                400, 300, nullptr, nullptr, instance, nullptr);
        ASSERT_NE(host_, nullptr);
        AppRun::Pump();
        gHostMessages.clear();
    }
    void TearDown() override {
        DestroyWindow(host_);
        AppRun::Pump();
        gHostMessages.clear();
    }

    HWND Add(const char* className, int x, int y, int width, int height, int id) {
        HWND child = CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE, x, y, width, height,
                                     host_, reinterpret_cast<HMENU>(INT_PTR(id)),
                                     GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(child, nullptr);
        return child;
    }

    HWND host_ = nullptr;
};

// ---- Spin field ---------------------------------------------------------------------------

class SpinField : public ControlTest {
  protected:
    HWND AddField(int width = 50, int height = 20, int id = 3) {
        return Add(kSpinFieldClass, 85, 98, width, height, id);
    }
};

HWND EditOf(HWND field) {
    return GetDlgItem(field, 1);
}
HWND ArrowsOf(HWND field) {
    return GetDlgItem(field, 2);
}

// The position as the Image Set panel reads it (a signed low word), and the error word.
int Position(HWND field) {
    return short(LOWORD(SendMessageA(field, UDM_GETPOS, 0, 0)));
}
int PositionError(HWND field) {
    return HIWORD(SendMessageA(field, UDM_GETPOS, 0, 0));
}

void SetPosition(HWND field, int value) {
    SendMessageA(field, UDM_SETPOS, 0, MAKELPARAM(value, 0));
}

// Replaces the field's text the way a user does: select everything, type the characters.
void Type(HWND field, const std::string& text) {
    HWND edit = EditOf(field);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (char c : text) {
        SendMessageA(edit, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 1);
    }
}

// One click on the upper (increase) or lower (decrease) arrow.
void ClickArrow(HWND field, bool up) {
    HWND arrows = ArrowsOf(field);
    RECT r;
    GetClientRect(arrows, &r);
    LPARAM at = MAKELPARAM(r.right / 2, up ? r.bottom / 4 : r.bottom * 3 / 4);
    SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(arrows, WM_LBUTTONUP, 0, at);
}

TEST_F(SpinField, ChildrenAreLaidOutOnceFromTheCreationSize) {
    struct Case {
        int width, height;
    };
    for (Case c : {Case{50, 20}, Case{81, 27}, Case{23, 9}}) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        HWND field = AddField(c.width, c.height);
        HWND edit = EditOf(field);
        HWND arrows = ArrowsOf(field);
        ASSERT_NE(edit, nullptr);
        ASSERT_NE(arrows, nullptr);
        char name[64] = {};
        GetClassNameA(edit, name, sizeof name);
        EXPECT_STREQ(CharLowerA(name), "edit");
        GetClassNameA(arrows, name, sizeof name);
        EXPECT_STREQ(name, UPDOWN_CLASSA);

        RECT e = RectInParent(edit);
        EXPECT_EQ(e.left, 2);
        EXPECT_EQ(e.top, 2);
        EXPECT_EQ(e.right - e.left, c.width - 20);
        EXPECT_EQ(e.bottom - e.top, c.height - 4);
        RECT a = RectInParent(arrows);
        EXPECT_EQ(a.left, c.width - 18);
        EXPECT_EQ(a.top, 2);
        EXPECT_EQ(a.right - a.left, 16);
        EXPECT_EQ(a.bottom - a.top, c.height - 4);

        // Resizing moves nothing: the layout is made once.
        MoveWindow(field, 85, 98, c.width + 40, c.height + 10, TRUE);
        RECT moved = RectInParent(arrows);
        EXPECT_EQ(moved.left, c.width - 18);
        EXPECT_EQ(moved.bottom - moved.top, c.height - 4);
        DestroyWindow(field);
    }
}

TEST_F(SpinField, ChildrenHaveTheirStylesBuddyAndFont) {
    HWND field = AddField();
    HWND edit = EditOf(field);
    HWND arrows = ArrowsOf(field);
    LONG editStyle = GetWindowLongA(edit, GWL_STYLE);
    EXPECT_EQ(editStyle & (WS_BORDER | ES_NUMBER | ES_RIGHT | ES_CENTER), 0);
    EXPECT_EQ(GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    LONG arrowStyle = GetWindowLongA(arrows, GWL_STYLE);
    EXPECT_EQ(arrowStyle & (UDS_SETBUDDYINT | UDS_AUTOBUDDY), UDS_SETBUDDYINT | UDS_AUTOBUDDY);
    EXPECT_EQ(arrowStyle & (UDS_ARROWKEYS | UDS_WRAP | UDS_ALIGNLEFT | UDS_ALIGNRIGHT),
              UDS_ARROWKEYS);
    EXPECT_EQ(HWND(SendMessageA(arrows, UDM_GETBUDDY, 0, 0)), edit);
    EXPECT_EQ(HGDIOBJ(SendMessageA(edit, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
}

TEST_F(SpinField, FreshFieldIsZeroWithinMinus100To100) {
    HWND field = AddField();
    EXPECT_EQ(Position(field), 0);
    EXPECT_EQ(PositionError(field), 0);
    EXPECT_EQ(Text(EditOf(field)), "0");
    EXPECT_EQ(SendMessageA(ArrowsOf(field), UDM_GETRANGE, 0, 0), MAKELONG(100, -100));
    struct Case {
        int set, read;
    };
    for (Case c : {Case{100, 100}, Case{101, 100}, Case{-100, -100}, Case{-101, -100},
                   Case{32767, 100}, Case{-32768, -100}}) {
        SCOPED_TRACE(c.set);
        SetPosition(field, c.set);
        EXPECT_EQ(Position(field), c.read);
        EXPECT_EQ(Text(EditOf(field)), std::to_string(c.read));
    }
}

TEST_F(SpinField, PositionsReadBackAsSignedLowWordAndShowAsText) {
    HWND field = AddField();
    int previous = 0;
    for (int value : {-30, -1, 0, 1, 55, 100, -100, 7, -99}) {
        SCOPED_TRACE(value);
        LRESULT answer = SendMessageA(field, UDM_SETPOS, 0, MAKELPARAM(value, 0));
        EXPECT_EQ(short(LOWORD(answer)), previous); // the up-down's own answer comes back
        LRESULT pos = SendMessageA(field, UDM_GETPOS, 0, 0);
        EXPECT_EQ(short(LOWORD(pos)), value);
        EXPECT_EQ(HIWORD(pos), 0);
        EXPECT_EQ(Text(EditOf(field)), std::to_string(value));
        previous = value;
    }
    // Plain digits, without a thousands separator, however wide the range.
    SendMessageA(field, UDM_SETRANGE, 0, MAKELPARAM(2000, -2000));
    SetPosition(field, -1500);
    EXPECT_EQ(Text(EditOf(field)), "-1500");
    EXPECT_EQ(Position(field), -1500);
}

TEST_F(SpinField, RangeIsPassedThroughAndLimitsPositionsAndArrows) {
    HWND field = AddField(50, 20, 2);
    // The scale field's range: maximum in the low word, minimum 0 in the high word.
    SendMessageA(field, UDM_SETRANGE, 0, 100);
    EXPECT_EQ(SendMessageA(ArrowsOf(field), UDM_GETRANGE, 0, 0), MAKELONG(100, 0));
    SetPosition(field, -30);
    EXPECT_EQ(Position(field), 0);
    EXPECT_EQ(Text(EditOf(field)), "0");
    ClickArrow(field, false);
    EXPECT_EQ(Position(field), 0);
    ClickArrow(field, true);
    EXPECT_EQ(Position(field), 1);
    EXPECT_EQ(Text(EditOf(field)), "1");
    SetPosition(field, 100);
    ClickArrow(field, true);
    EXPECT_EQ(Position(field), 100);
    EXPECT_EQ(Text(EditOf(field)), "100");
    ClickArrow(field, false);
    EXPECT_EQ(Position(field), 99);

    // The same with the limits the other way round: minimum in the high word, -50 to 50.
    SendMessageA(field, UDM_SETRANGE, 0, MAKELPARAM(50, -50));
    SetPosition(field, -30);
    EXPECT_EQ(Position(field), -30);
    SetPosition(field, -70);
    EXPECT_EQ(Position(field), -50);
    ClickArrow(field, false);
    EXPECT_EQ(Position(field), -50);
    SetPosition(field, 70);
    EXPECT_EQ(Position(field), 50);
    AppRun::Pump();
}

TEST_F(SpinField, GetRangeIsNotPassedThrough) {
    HWND field = AddField();
    EXPECT_EQ(SendMessageA(field, UDM_GETRANGE, 0, 0), 0);
    SendMessageA(field, UDM_SETRANGE, 0, MAKELPARAM(40, 10));
    EXPECT_EQ(SendMessageA(field, UDM_GETRANGE, 0, 0), 0);
    EXPECT_EQ(SendMessageA(ArrowsOf(field), UDM_GETRANGE, 0, 0), MAKELONG(40, 10));
}

TEST_F(SpinField, TypedNumberIsTakenOnGetPos) {
    HWND field = AddField();
    Type(field, "55");
    EXPECT_EQ(Text(EditOf(field)), "55");
    LRESULT pos = SendMessageA(field, UDM_GETPOS, 0, 0);
    EXPECT_EQ(short(LOWORD(pos)), 55);
    EXPECT_EQ(HIWORD(pos), 0);

    // The widest value of a 50-pixel field fits into it.
    Type(field, "-100");
    EXPECT_EQ(Text(EditOf(field)), "-100");
    EXPECT_EQ(Position(field), -100);
    EXPECT_EQ(PositionError(field), 0);

    Type(field, "-30");
    pos = SendMessageA(field, UDM_GETPOS, 0, 0);
    EXPECT_EQ(short(LOWORD(pos)), -30);
    EXPECT_EQ(HIWORD(pos), 0);
    // The typed number became the position: the arrows step from it.
    ClickArrow(field, true);
    EXPECT_EQ(Text(EditOf(field)), "-29");

    for (const char* bad : {"abc", "150", "-101", "1x"}) {
        SCOPED_TRACE(bad);
        Type(field, bad);
        EXPECT_EQ(Text(EditOf(field)), bad);
        EXPECT_NE(PositionError(field), 0);
    }
    AppRun::Pump();
}

TEST_F(SpinField, NeverNotifiesItsOwner) {
    HWND field = AddField();
    SendMessageA(field, UDM_SETRANGE, 0, 100);
    SetPosition(field, 40);
    Type(field, "12");
    Position(field);
    ClickArrow(field, true);
    ClickArrow(field, false);
    AppRun::Pump();
    EXPECT_EQ(Position(field), 12);
    EXPECT_TRUE(gHostMessages.empty()) << gHostMessages.size() << " messages, the first "
                                       << (gHostMessages.empty() ? 0 : gHostMessages[0].msg);
}

TEST_F(SpinField, PaintsASunkenFrameAroundTheButtonFace) {
    HWND field = AddField(61, 23);
    // With the edit hidden, the field's own face shows where the edit was.
    ShowWindow(EditOf(field), SW_HIDE);
    Shot shot(field);
    const int w = shot.Width();
    const int h = shot.Height();
    ASSERT_EQ(w, 61);
    ASSERT_EQ(h, 23);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF darkShadow = GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF light = GetSysColor(COLOR_3DLIGHT);
    EXPECT_TRUE(shot.Filled(0, 0, w - 1, 1, shadow));        // outer top
    EXPECT_TRUE(shot.Filled(0, 0, 1, h - 1, shadow));        // outer left
    EXPECT_TRUE(shot.Filled(1, 1, w - 2, 2, darkShadow));    // inner top
    EXPECT_TRUE(shot.Filled(1, 1, 2, h - 2, darkShadow));    // inner left
    EXPECT_TRUE(shot.Filled(0, h - 1, w, h, highlight));     // outer bottom
    EXPECT_TRUE(shot.Filled(w - 1, 0, w, h, highlight));     // outer right
    EXPECT_TRUE(shot.Filled(1, h - 2, w - 1, h - 1, light)); // inner bottom
    EXPECT_TRUE(shot.Filled(w - 2, 1, w - 1, h - 1, light)); // inner right
    EXPECT_TRUE(shot.Filled(2, 2, w - 18, h - 2, GetSysColor(COLOR_BTNFACE)));
}

// ---- Colour picker --------------------------------------------------------------------------

// How the test answers one colour dialog.
struct Answer {
    bool ok = false;   // press OK, else Cancel
    bool type = false; // type `color` into the red, green and blue fields first
    COLORREF color = 0;
    bool addToCustom = false; // then press "Add to Custom Colors"
};

// What the test saw of the colour dialogs during one click.
struct DialogSeen {
    int opened = 0;
    bool timedOut = false;
    HWND owner = nullptr;
    bool fullOpen = false;         // the red, green and blue fields are shown
    COLORREF fields = CLR_INVALID; // the colour in those fields as the dialog opened
    bool recordSeen = false;
    CHOOSECOLORA record = {}; // the dialog's record as it started
    COLORREF custom[16] = {};
    std::vector<COLORREF> pickerWhileOpen; // the picker's pixels, row by row
    int pickerWidth = 0;
};

struct DialogDriver {
    Answer answer;
    HWND picker = nullptr;
    DWORD started = 0;
    HWND dialog = nullptr;
    bool answered = false;
    DialogSeen seen;
};
DialogDriver* gDriver = nullptr;

constexpr DWORD kDialogTimeoutMs = 10000;

// Wine's colour dialog procedure is handed the dialog's record with WM_INITDIALOG (its
// wide copy of our record, laid out the same, sharing our custom colours); reading it
// shows what the picker asked the dialog for, custom colours included.
LRESULT CALLBACK WatchInitDialog(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && gDriver && call->message == WM_INITDIALOG) {
        const auto* record = reinterpret_cast<const CHOOSECOLORA*>(call->lParam);
        if (record && record->lStructSize == sizeof(CHOOSECOLORA)) {
            gDriver->seen.recordSeen = true;
            gDriver->seen.record = *record;
            if (record->lpCustColors) {
                for (int i = 0; i < 16; i++) {
                    gDriver->seen.custom[i] = record->lpCustColors[i];
                }
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM) {
    char name[16] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (std::string(name) == "#32770" && IsWindowVisible(hwnd)) {
        gDriver->dialog = hwnd;
        return FALSE;
    }
    return TRUE;
}

void TypeInto(HWND edit, const std::string& text) {
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (char c : text) {
        SendMessageA(edit, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 1);
    }
}

COLORREF FieldsColor(HWND dialog) {
    BOOL r = FALSE, g = FALSE, b = FALSE;
    UINT red = GetDlgItemInt(dialog, kRedField, &r, FALSE);
    UINT green = GetDlgItemInt(dialog, kGreenField, &g, FALSE);
    UINT blue = GetDlgItemInt(dialog, kBlueField, &b, FALSE);
    return r && g && b ? RGB(red, green, blue) : CLR_INVALID;
}

// Runs inside the dialog's own message loop: looks at the dialog once it is up, answers
// it, and ends any dialog still open after the timeout so that a broken control fails
// the test instead of hanging it.
void CALLBACK DriveDialog(HWND, UINT, UINT_PTR, DWORD) {
    DialogDriver& d = *gDriver;
    if (!d.dialog || !IsWindow(d.dialog)) {
        d.dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindDialog, 0);
        if (!d.dialog) {
            return;
        }
        d.answered = false;
        d.seen.opened++;
    }
    if (GetTickCount() - d.started > kDialogTimeoutMs) {
        d.seen.timedOut = true;
        EndDialog(d.dialog, IDCANCEL);
        return;
    }
    if (d.answered) {
        return;
    }
    d.answered = true;
    // Clear of the picker, so that the picker's pixels are its own.
    SetWindowPos(d.dialog, nullptr, 600, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    d.seen.owner = GetWindow(d.dialog, GW_OWNER);
    d.seen.fullOpen = IsWindowVisible(GetDlgItem(d.dialog, kRedField)) &&
                      IsWindowVisible(GetDlgItem(d.dialog, kBlueField));
    d.seen.fields = FieldsColor(d.dialog);
    Shot shot(d.picker);
    d.seen.pickerWidth = shot.Width();
    for (int y = 0; y < shot.Height(); y++) {
        for (int x = 0; x < shot.Width(); x++) {
            d.seen.pickerWhileOpen.push_back(shot.At(x, y));
        }
    }
    if (d.answer.type) {
        TypeInto(GetDlgItem(d.dialog, kRedField), std::to_string(GetRValue(d.answer.color)));
        TypeInto(GetDlgItem(d.dialog, kGreenField), std::to_string(GetGValue(d.answer.color)));
        TypeInto(GetDlgItem(d.dialog, kBlueField), std::to_string(GetBValue(d.answer.color)));
    }
    if (d.answer.addToCustom) {
        SendMessageA(GetDlgItem(d.dialog, kAddToCustomButton), BM_CLICK, 0, 0);
    }
    SendMessageA(GetDlgItem(d.dialog, d.answer.ok ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
}

// Runs `act` with any colour dialog that opens meanwhile answered as `answer` says.
template <typename Act> DialogSeen WithDialogAnswered(HWND picker, const Answer& answer, Act act) {
    DialogDriver driver;
    driver.answer = answer;
    driver.picker = picker;
    driver.started = GetTickCount();
    gDriver = &driver;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchInitDialog, nullptr, GetCurrentThreadId());
    UINT_PTR timer = SetTimer(nullptr, 0, 50, DriveDialog);
    act();
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(hook);
    gDriver = nullptr;
    EXPECT_FALSE(driver.seen.timedOut) << "the colour dialog was still open after the timeout";
    return driver.seen;
}

// A press at `down`, the moves, and a release at `up`, all in picker coordinates.
DialogSeen Click(HWND picker, POINT down, POINT up, const Answer& answer,
                 const std::vector<POINT>& moves = {}) {
    return WithDialogAnswered(picker, answer, [&] {
        SendMessageA(picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
        for (POINT p : moves) {
            SendMessageA(picker, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        }
        SendMessageA(picker, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
    });
}

// A button-up alone, without a press before it in the same call.
DialogSeen Release(HWND picker, POINT up) {
    return WithDialogAnswered(
        picker, Answer{}, [&] { SendMessageA(picker, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y)); });
}

DialogSeen ClickInside(HWND picker, const Answer& answer) {
    return Click(picker, {5, 5}, {20, 10}, answer);
}

COLORREF ColorOf(HWND picker) {
    return COLORREF(SendMessageA(picker, CPM_GETCOLOR, 0, 0));
}

void SetColor(HWND picker, COLORREF color) {
    EXPECT_EQ(SendMessageA(picker, CPM_SETCOLOR, color, 0), 0);
}

std::vector<const HostMessage*> Commands() {
    std::vector<const HostMessage*> commands;
    for (const HostMessage& m : gHostMessages) {
        if (m.msg == WM_COMMAND) {
            commands.push_back(&m);
        }
    }
    return commands;
}

// The look of a swatch, told by the pixels of its rim and its middle.
enum class Look { Sunken, Pressed, Other };

template <typename PixelAt> Look LookOf(PixelAt at, int w, int h) {
    const COLORREF darkShadow = GetSysColor(COLOR_3DDKSHADOW);
    bool pressed = true;
    bool sunken = true;
    for (int i = 0; i < 2; i++) {
        // Both rims: the outer ring (i = 0) and the inner ring (i = 1).
        const COLORREF topLeft = i == 0 ? GetSysColor(COLOR_BTNSHADOW) : darkShadow;
        const COLORREF bottomRight =
            i == 0 ? GetSysColor(COLOR_BTNHIGHLIGHT) : GetSysColor(COLOR_3DLIGHT);
        for (int x = i; x < w - 1 - i; x++) {
            pressed = pressed && at(x, i) == darkShadow && at(x, h - 1 - i) == darkShadow;
            sunken = sunken && at(x, i) == topLeft;
        }
        for (int y = i; y < h - 1 - i; y++) {
            pressed = pressed && at(i, y) == darkShadow && at(w - 1 - i, y) == darkShadow;
            sunken = sunken && at(i, y) == topLeft;
        }
        sunken =
            sunken && at(w / 2, h - 1 - i) == bottomRight && at(w - 1 - i, h / 2) == bottomRight;
    }
    return pressed ? Look::Pressed : sunken ? Look::Sunken : Look::Other;
}

Look LookOf(const Shot& shot) {
    return LookOf([&](int x, int y) { return shot.At(x, y); }, shot.Width(), shot.Height());
}

const char* Name(Look look) {
    return look == Look::Pressed ? "pressed" : look == Look::Sunken ? "sunken" : "other";
}

// The inside of the rims is one colour.
bool ShowsInside(const Shot& shot, COLORREF color) {
    return shot.Filled(2, 2, shot.Width() - 2, shot.Height() - 2, color) &&
           shot.At(1, shot.Height() / 2) != color;
}

class ColorPicker : public ControlTest {
  protected:
    // The size and an id the Skin Set panel uses.
    HWND AddPicker(int id = 3, int x = 20, int y = 60, int width = 28, int height = 14) {
        return Add(kColorPickerClass, x, y, width, height, id);
    }
};

TEST_F(ColorPicker, SetColorStoresAndRepaintsWithoutNotifying) {
    HWND picker = AddPicker();
    EXPECT_EQ(ColorOf(picker), RGB(0, 0, 0));
    EXPECT_TRUE(ShowsInside(Shot(picker), RGB(0, 0, 0)));
    for (COLORREF color : {RGB(0x12, 0x34, 0x56), RGB(255, 255, 255), RGB(255, 0, 0),
                           RGB(0, 0, 255), RGB(0, 1, 0), RGB(0, 0, 0)}) {
        SCOPED_TRACE(color);
        SetColor(picker, color);
        EXPECT_EQ(ColorOf(picker), color);
        // Repainted because of the message itself, not because the test asks for it.
        Shot shot(picker, false);
        EXPECT_TRUE(ShowsInside(shot, color));
        EXPECT_EQ(LookOf(shot), Look::Sunken);
    }
    AppRun::Pump();
    EXPECT_TRUE(gHostMessages.empty());
}

TEST_F(ColorPicker, ShowsItsColourInsideASunkenEdge) {
    struct Case {
        int width, height;
    };
    for (Case c : {Case{28, 14}, Case{41, 23}, Case{7, 5}}) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        HWND picker = AddPicker(4, 20, 60, c.width, c.height);
        SetColor(picker, RGB(200, 30, 90));
        Shot shot(picker);
        ASSERT_EQ(shot.Width(), c.width);
        EXPECT_EQ(LookOf(shot), Look::Sunken);
        EXPECT_TRUE(ShowsInside(shot, RGB(200, 30, 90)));
        EXPECT_EQ(shot.At(c.width / 2, c.height / 2), RGB(200, 30, 90));
        DestroyWindow(picker);
    }
}

TEST_F(ColorPicker, DisabledPickerHidesItsColour) {
    HWND picker = AddPicker();
    SetColor(picker, RGB(200, 30, 90));
    EnableWindow(picker, FALSE);
    Shot shot(picker);
    EXPECT_EQ(LookOf(shot), Look::Sunken);
    EXPECT_TRUE(ShowsInside(shot, GetSysColor(COLOR_BTNFACE)));
    EnableWindow(picker, TRUE);
    EXPECT_TRUE(ShowsInside(Shot(picker), RGB(200, 30, 90)));
}

TEST_F(ColorPicker, LooksPressedOnlyWhileThePointerIsOverIt) {
    HWND picker = AddPicker();
    SetColor(picker, RGB(40, 160, 220));
    SendMessageA(picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), picker);
    Shot pressed(picker);
    EXPECT_EQ(LookOf(pressed), Look::Pressed);
    EXPECT_TRUE(ShowsInside(pressed, RGB(40, 160, 220)));

    struct Move {
        int x, y;
        Look look;
    };
    // Left of and above the window the coordinates are negative: still outside.
    for (Move m :
         {Move{-3, 5, Look::Sunken}, Move{5, 5, Look::Pressed}, Move{28, 5, Look::Sunken},
          Move{27, 13, Look::Pressed}, Move{5, -1, Look::Sunken}, Move{0, 0, Look::Pressed},
          Move{5, 14, Look::Sunken}, Move{-1, -1, Look::Sunken}}) {
        SCOPED_TRACE(std::to_string(m.x) + ", " + std::to_string(m.y));
        SendMessageA(picker, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(m.x, m.y));
        EXPECT_STREQ(Name(LookOf(Shot(picker))), Name(m.look));
    }
    EXPECT_EQ(Release(picker, {-1, -1}).opened, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(LookOf(Shot(picker)), Look::Sunken);
}

TEST_F(ColorPicker, MovesAndReleasesWithoutAPressDoNothing) {
    HWND picker = AddPicker();
    SendMessageA(picker, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(LookOf(Shot(picker)), Look::Sunken);
    EXPECT_EQ(Release(picker, {5, 5}).opened, 0);
    EXPECT_EQ(LookOf(Shot(picker)), Look::Sunken);
    AppRun::Pump();
    EXPECT_TRUE(gHostMessages.empty());
}

TEST_F(ColorPicker, PressDragOffAndReleaseOpensNoDialog) {
    HWND picker = AddPicker();
    SetColor(picker, RGB(40, 160, 220));
    for (POINT up : {POINT{40, 5}, POINT{-3, 5}, POINT{5, -3}, POINT{28, 14}, POINT{5, 30}}) {
        SCOPED_TRACE(std::to_string(up.x) + ", " + std::to_string(up.y));
        DialogSeen seen = Click(picker, {5, 5}, up, Answer{true, true, RGB(1, 2, 3)}, {up});
        EXPECT_EQ(seen.opened, 0);
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_EQ(ColorOf(picker), RGB(40, 160, 220));
        EXPECT_EQ(LookOf(Shot(picker)), Look::Sunken);
    }
    // Dragged off and back on: released over the swatch, so it is a click after all.
    DialogSeen seen = Click(picker, {5, 5}, {6, 6}, Answer{}, {{40, 5}, {6, 6}});
    EXPECT_EQ(seen.opened, 1);
    AppRun::Pump();
    EXPECT_TRUE(gHostMessages.empty());
}

TEST_F(ColorPicker, ClickOpensTheFullColourDialogOverTheParent) {
    HWND picker = AddPicker();
    SetColor(picker, RGB(18, 52, 86));
    DialogSeen seen = ClickInside(picker, Answer{});
    ASSERT_EQ(seen.opened, 1);
    EXPECT_EQ(seen.owner, host_);
    EXPECT_TRUE(seen.fullOpen);
    EXPECT_EQ(seen.fields, RGB(18, 52, 86));
    ASSERT_TRUE(seen.recordSeen);
    EXPECT_EQ(seen.record.hwndOwner, host_);
    EXPECT_EQ(seen.record.rgbResult, RGB(18, 52, 86));
    EXPECT_EQ(seen.record.Flags, DWORD(CC_RGBINIT | CC_FULLOPEN));
    // While the dialog is open the swatch stays pressed.
    ASSERT_EQ(seen.pickerWidth, 28);
    auto at = [&](int x, int y) { return seen.pickerWhileOpen[size_t(y * 28 + x)]; };
    EXPECT_EQ(LookOf(at, 28, 14), Look::Pressed);
    EXPECT_EQ(at(14, 7), RGB(18, 52, 86));
    // Cancelled: nothing changed, nobody told.
    EXPECT_EQ(ColorOf(picker), RGB(18, 52, 86));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(LookOf(Shot(picker)), Look::Sunken);
    AppRun::Pump();
    EXPECT_TRUE(gHostMessages.empty());
}

TEST_F(ColorPicker, DialogStartsWithTheSixteenStandardCustomColours) {
    HWND picker = AddPicker();
    DialogSeen seen = ClickInside(picker, Answer{});
    ASSERT_TRUE(seen.recordSeen);
    const COLORREF standard[16] = {
        RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
        RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(128, 128, 128),
        RGB(192, 192, 192), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
        RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255),
    };
    for (int i = 0; i < 16; i++) {
        EXPECT_EQ(seen.custom[i], standard[i]) << "custom colour " << i;
    }
}

TEST_F(ColorPicker, CustomColoursAreSharedByAllPickersAndKept) {
    HWND first = AddPicker(2, 20, 38);
    HWND second = AddPicker(7, 20, 198);
    DialogSeen a = ClickInside(first, Answer{false, true, RGB(12, 34, 56), true});
    DialogSeen b = ClickInside(second, Answer{false, true, RGB(0, 0, 0), true});
    DialogSeen c = ClickInside(first, Answer{});
    ASSERT_TRUE(a.recordSeen && b.recordSeen && c.recordSeen);
    EXPECT_EQ(a.record.lpCustColors, b.record.lpCustColors);
    EXPECT_EQ(a.custom[0], RGB(0, 0, 0));
    // Stored from the first picker's dialog, there for the second picker's.
    EXPECT_EQ(b.custom[0], RGB(12, 34, 56));
    EXPECT_EQ(b.custom[1], RGB(128, 0, 0));
    // The second dialog put black back.
    EXPECT_EQ(c.custom[0], RGB(0, 0, 0));
    EXPECT_EQ(ColorOf(first), RGB(0, 0, 0));
    AppRun::Pump();
    EXPECT_TRUE(gHostMessages.empty());
}

TEST_F(ColorPicker, PickingANewColourNotifiesTheParentOnce) {
    HWND pickers[] = {AddPicker(2, 20, 38), AddPicker(8, 20, 220)};
    for (HWND picker : pickers) {
        const int id = GetDlgCtrlID(picker);
        SCOPED_TRACE(id);
        gHostMessages.clear();
        SetColor(picker, RGB(10, 20, 30));
        DialogSeen seen = ClickInside(picker, Answer{true, true, RGB(200, 100, 50)});
        ASSERT_EQ(seen.opened, 1);
        EXPECT_EQ(ColorOf(picker), RGB(200, 100, 50));
        auto commands = Commands();
        ASSERT_EQ(commands.size(), 1u);
        EXPECT_EQ(LOWORD(commands[0]->wParam), id);
        EXPECT_EQ(HIWORD(commands[0]->wParam), CPN_CHANGED);
        EXPECT_EQ(HWND(commands[0]->lParam), picker);
        // The parent reads the new colour back while being told.
        EXPECT_EQ(commands[0]->pickerColor, RGB(200, 100, 50));
        Shot shot(picker);
        EXPECT_EQ(LookOf(shot), Look::Sunken);
        EXPECT_TRUE(ShowsInside(shot, RGB(200, 100, 50)));
        AppRun::Pump();
        EXPECT_EQ(Commands().size(), 1u);
    }
}

TEST_F(ColorPicker, OkWithTheSameColourDoesNotNotify) {
    HWND picker = AddPicker();
    SetColor(picker, RGB(10, 20, 30));
    DialogSeen untouched = ClickInside(picker, Answer{true});
    EXPECT_EQ(untouched.opened, 1);
    // Changed and changed back before OK.
    DialogSeen retyped = Click(picker, {1, 1}, {26, 12}, Answer{true, true, RGB(10, 20, 30)});
    EXPECT_EQ(retyped.opened, 1);
    EXPECT_EQ(ColorOf(picker), RGB(10, 20, 30));
    AppRun::Pump();
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(LookOf(Shot(picker)), Look::Sunken);
}

TEST_F(ColorPicker, CancelKeepsTheColourAndDoesNotNotify) {
    HWND picker = AddPicker();
    SetColor(picker, RGB(10, 20, 30));
    DialogSeen seen = ClickInside(picker, Answer{false, true, RGB(250, 0, 7)});
    EXPECT_EQ(seen.opened, 1);
    EXPECT_EQ(ColorOf(picker), RGB(10, 20, 30));
    AppRun::Pump();
    EXPECT_TRUE(Commands().empty());
    EXPECT_TRUE(ShowsInside(Shot(picker), RGB(10, 20, 30)));
}

TEST_F(ColorPicker, LosingTheCaptureEndsThePressWithoutAClick) {
    HWND picker = AddPicker();
    SendMessageA(picker, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_EQ(GetCapture(), picker);
    SetCapture(host_); // taken away, as when another window grabs the mouse
    EXPECT_EQ(LookOf(Shot(picker)), Look::Sunken);
    ReleaseCapture();
    SendMessageA(picker, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(LookOf(Shot(picker)), Look::Sunken);
    EXPECT_EQ(Release(picker, {5, 5}).opened, 0);
    AppRun::Pump();
    EXPECT_TRUE(gHostMessages.empty());
}

} // namespace
