#include "controls/color_picker.h"

#include <commdlg.h>
#include <windowsx.h>

#include <new>

#include "controls/window_class.h"

namespace {

constexpr int kEdgeWidth = 2;

struct ColorPickerData {
    bool pressed = false; // drawn pressed: button down and the pointer over the swatch
    bool focused = false; // reached with Tab: a focus rectangle, and Space opens the dialog
    COLORREF color = RGB(0, 0, 0);
};

// Set from a button press on any picker until its release. Only the picker holding the mouse
// capture sees mouse messages in that time, so one flag serves all of them.
bool gPickerCapturing = false;

// The colour dialog's custom colours, shared by every picker. Whatever the user stores in
// them stays for the rest of the run; they are not saved.
COLORREF gCustomColors[16] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(128, 128, 128),
    RGB(192, 192, 192), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255),
};

ColorPickerData* DataOf(HWND hwnd) {
    return reinterpret_cast<ColorPickerData*>(GetWindowLongPtrA(hwnd, 0));
}

// Runs the standard colour dialog over the picker's parent, opened in full with `color`
// preselected. Returns the chosen colour, or `color` when the user cancels or the dialog
// fails.
COLORREF ChooseSwatchColor(HWND picker, COLORREF color) {
    CHOOSECOLORA cc = {};
    // The record's own size: 72 bytes in a 64-bit program, not the 36 of a 32-bit one.
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = GetParent(picker);
    cc.rgbResult = color;
    cc.lpCustColors = gCustomColors;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&cc)) {
        return color;
    }
    return cc.rgbResult;
}

void PaintSwatch(HDC dc, const RECT& client, bool enabled, const ColorPickerData& data) {
    RECT r = client;
    if (!enabled) {
        // A disabled picker hides its colour behind the button face.
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
        InflateRect(&r, -kEdgeWidth, -kEdgeWidth);
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    if (data.pressed) {
        // Two dark frames: the whole rim goes dark, so the swatch looks pushed in.
        HBRUSH dark = GetSysColorBrush(COLOR_3DDKSHADOW);
        FrameRect(dc, &r, dark);
        InflateRect(&r, -1, -1);
        FrameRect(dc, &r, dark);
        InflateRect(&r, -1, -1);
    } else {
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
        InflateRect(&r, -kEdgeWidth, -kEdgeWidth);
    }
    HBRUSH fill = CreateSolidBrush(data.color);
    FillRect(dc, &r, fill);
    DeleteObject(fill);
    if (data.focused) {
        InflateRect(&r, -1, -1);
        DrawFocusRect(dc, &r);
    }
}

void OnPaint(HWND hwnd, const ColorPickerData& data) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    PaintSwatch(dc, client, IsWindowEnabled(hwnd) != FALSE, data);
    EndPaint(hwnd, &ps);
}

// Mouse positions under capture can lie left of or above the window; they must stay
// negative, so they are read signed.
bool PointInside(HWND hwnd, LPARAM lParam) {
    RECT client;
    GetClientRect(hwnd, &client);
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&client, p) != FALSE;
}

// The colour dialog; true when the user picked a different colour.
bool PickNewColor(HWND hwnd, ColorPickerData& data) {
    const COLORREF old = data.color;
    data.color = ChooseSwatchColor(hwnd, data.color);
    return data.color != old;
}

void NotifyChanged(HWND hwnd) {
    SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), CPN_CHANGED),
                 LPARAM(hwnd));
}

void OnFocus(HWND hwnd, ColorPickerData& data, bool focused) {
    data.focused = focused;
    InvalidateRect(hwnd, nullptr, TRUE);
}

void OnLButtonDown(HWND hwnd, ColorPickerData& data) {
    if (GetWindowLongA(hwnd, GWL_STYLE) & WS_TABSTOP) {
        SetFocus(hwnd);
    }
    SetCapture(hwnd);
    gPickerCapturing = true;
    data.pressed = true;
    InvalidateRect(hwnd, nullptr, TRUE);
}

void OnMouseMove(HWND hwnd, ColorPickerData& data, LPARAM lParam) {
    if (!gPickerCapturing) {
        return;
    }
    // Pressed only while the pointer is over the swatch, as a push button does.
    bool inside = PointInside(hwnd, lParam);
    if (data.pressed != inside) {
        data.pressed = inside;
        InvalidateRect(hwnd, nullptr, TRUE);
    }
}

void OnLButtonUp(HWND hwnd, ColorPickerData& data, LPARAM lParam) {
    if (!gPickerCapturing) {
        return;
    }
    // The flag drops before the capture does, so WM_CAPTURECHANGED below sees an
    // ordinary release and leaves the pressed look on while the dialog is open.
    gPickerCapturing = false;
    ReleaseCapture();
    const bool changed = PointInside(hwnd, lParam) && PickNewColor(hwnd, data);
    data.pressed = false;
    InvalidateRect(hwnd, nullptr, TRUE);
    if (changed) {
        NotifyChanged(hwnd);
    }
}

// The capture was taken away before the button came up (another window took it, the
// picker is being destroyed): the press is over without a click, so no dialog may follow
// a later button-up.
void OnCaptureLost(HWND hwnd, ColorPickerData& data) {
    if (!gPickerCapturing) {
        return;
    }
    gPickerCapturing = false;
    if (data.pressed) {
        data.pressed = false;
        InvalidateRect(hwnd, nullptr, TRUE);
    }
}

LRESULT CALLBACK ColorPickerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ColorPickerData* data = DataOf(hwnd);
    switch (msg) {
    case WM_CREATE:
        data = new (std::nothrow) ColorPickerData;
        if (!data) {
            return -1; // a picker without its data has no colour to show
        }
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(data));
        gPickerCapturing = false;
        return 0;
    case WM_DESTROY:
        delete data;
        SetWindowLongPtrA(hwnd, 0, 0);
        return 0;
    }
    if (!data) {
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_PAINT:
        OnPaint(hwnd, *data);
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(hwnd, *data);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(hwnd, *data, lParam);
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(hwnd, *data, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureLost(hwnd, *data);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        OnFocus(hwnd, *data, msg == WM_SETFOCUS);
        return 0;
    case WM_KEYUP:
        // Space releases as a push button does: the same as a click.
        if (wParam == VK_SPACE && !gPickerCapturing && PickNewColor(hwnd, *data)) {
            InvalidateRect(hwnd, nullptr, TRUE);
            NotifyChanged(hwnd);
        }
        return 0;
    case CPM_SETCOLOR:
        // Set by the owner, so nobody is told.
        data->color = COLORREF(wParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case CPM_GETCOLOR:
        return LRESULT(data->color);
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

bool InitColorPickerClass(HINSTANCE instance) {
    // One slot for the data pointer: 8 bytes on x64, so sizeof rather than a fixed 4.
    return RegisterChildClass(instance, kColorPickerClass, ColorPickerProc,
                              sizeof(ColorPickerData*)) != 0;
}
