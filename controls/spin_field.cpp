#include "controls/spin_field.h"

#include <commctrl.h>

#include <new>

#include "controls/window_class.h"

namespace {

constexpr int kEditId = 1;
constexpr int kUpDownId = 2;
constexpr int kFrameWidth = 2;
constexpr int kArrowsWidth = 16;
constexpr int kInitialUpper = 100;
constexpr int kInitialLower = -100;
constexpr int kEditMargin = 1;

// The number itself lives in the up-down child (its position) and in the edit child (as
// text); the control only keeps the two handles.
struct UpDownEditData {
    HWND edit = nullptr;
    HWND updown = nullptr;
};

UpDownEditData* DataOf(HWND hwnd) {
    return reinterpret_cast<UpDownEditData*>(GetWindowLongPtrA(hwnd, 0));
}

// The children are laid out once, from the creation size: the control has no WM_SIZE
// handling, so a later resize leaves them where they are.
void CreateChildren(HWND hwnd, const CREATESTRUCTA& cs, UpDownEditData& data) {
    const int cx = cs.cx;
    const int cy = cs.cy;
    // The arrows grow with the DPI, as the field around them does.
    HDC screen = GetDC(nullptr);
    const int arrowsWidth =
        MulDiv(kArrowsWidth, GetDeviceCaps(screen, LOGPIXELSX), USER_DEFAULT_SCREEN_DPI);
    ReleaseDC(nullptr, screen);
    const int arrowsX = cx - kFrameWidth - arrowsWidth;
    // A bare edit: the control's own sunken frame is its border. It is the field's tab stop,
    // and the field passes Tab on to it as a dialog does (WS_EX_CONTROLPARENT).
    SetWindowLongPtrA(hwnd, GWL_EXSTYLE,
                      GetWindowLongPtrA(hwnd, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    data.edit = CreateWindowExA(0, "edit", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, kFrameWidth,
                                kFrameWidth, arrowsX - kFrameWidth, cy - 2 * kFrameWidth, hwnd,
                                reinterpret_cast<HMENU>(INT_PTR(kEditId)), cs.hInstance, nullptr);
    // UDS_SETBUDDYINT makes the up-down write every new position into the edit as text and
    // read the typed number back on UDM_GETPOS, so the control adds no logic of its own.
    // UDS_NOTHOUSANDS: Wine's up-down counts the minus sign as a digit and shows -100 as
    // "-,100". The program's fields never reach four digits, where the flag would drop
    // the separator on Windows too.
    // UDS_ARROWKEYS: the Up and Down keys in the edit step the number as the arrows do.
    const DWORD arrowsStyle =
        WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_AUTOBUDDY | UDS_NOTHOUSANDS | UDS_ARROWKEYS;
    data.updown = CreateUpDownControl(arrowsStyle, arrowsX, kFrameWidth, arrowsWidth,
                                      cy - 2 * kFrameWidth, hwnd, kUpDownId, cs.hInstance,
                                      data.edit, kInitialUpper, kInitialLower, 0);
    if (data.edit) {
        SendMessageA(data.edit, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        // An edit without ES_AUTOHSCROLL takes only what fits in it. With the margins the
        // font brings (3 pixels a side under Wine) "-100" does not fit the 30-pixel edit
        // of a 50-pixel field, so it could neither be typed nor shown whole.
        SendMessageA(data.edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                     MAKELPARAM(kEditMargin, kEditMargin));
    }
}

void PaintField(HDC dc, const RECT& client) {
    RECT frame = client;
    DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
    RECT inside = client;
    InflateRect(&inside, -kFrameWidth, -kFrameWidth);
    FillRect(dc, &inside, GetSysColorBrush(COLOR_BTNFACE));
}

void OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    PaintField(dc, client);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK UpDownEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    UpDownEditData* data = DataOf(hwnd);
    switch (msg) {
    case WM_CREATE:
        data = new (std::nothrow) UpDownEditData;
        if (!data) {
            return -1; // without its data the control cannot reach its children
        }
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(data));
        CreateChildren(hwnd, *reinterpret_cast<const CREATESTRUCTA*>(lParam), *data);
        return 0;
    case WM_DESTROY:
        // The children go with the window; only the block is ours to free.
        delete data;
        SetWindowLongPtrA(hwnd, 0, 0);
        return 0;
    case WM_PAINT:
        OnPaint(hwnd);
        return 0;
    case WM_SETFONT:
        // The owner's font is the number's font (the stock GUI font until then).
        // A new font brings its own margins, so the narrow ones are set again.
        if (data && data->edit) {
            SendMessageA(data->edit, WM_SETFONT, wParam, lParam);
            SendMessageA(data->edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                         MAKELPARAM(kEditMargin, kEditMargin));
        }
        return 0;
    case UDM_SETRANGE:
    case UDM_SETPOS:
    case UDM_GETPOS:
        // Passed through unchanged. UDM_GETRANGE is not: like every other message it goes
        // to DefWindowProc and reads 0.
        if (data && data->updown) {
            return SendMessageA(data->updown, msg, wParam, lParam);
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

bool InitUpDownEditClass(HINSTANCE instance) {
    // One slot for the data pointer: 8 bytes on x64, so sizeof rather than a fixed 4.
    return RegisterChildClass(instance, kSpinFieldClass, UpDownEditProc, sizeof(UpDownEditData*)) !=
           0;
}
