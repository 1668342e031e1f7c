#include "app/panel_kit.h"

#include <algorithm>

#include "app/app_state.h"

int ScreenDpi() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        int value = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return value > 0 ? value : USER_DEFAULT_SCREEN_DPI;
    }();
    return dpi;
}

int Px(int units) {
    return MulDiv(units, ScreenDpi(), USER_DEFAULT_SCREEN_DPI);
}

HFONT PanelFont() {
    static const HFONT font = [] {
        LOGFONTA face = {};
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face);
        face.lfHeight = -MulDiv(8, ScreenDpi(), 72);
        face.lfWidth = 0;
        HFONT made = CreateFontIndirectA(&face);
        return made ? made : HFONT(GetStockObject(DEFAULT_GUI_FONT));
    }();
    return font;
}

SIZE MeasureText(HFONT font, const char* text) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    SIZE size = {};
    GetTextExtentPoint32A(screen, text, lstrlenA(text), &size);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return size;
}

HWND CreatePanelChild(HWND parent, const char* className, const char* text, DWORD style, int x,
                      int y, int width, int height, int id) {
    HWND child =
        CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                        parent, reinterpret_cast<HMENU>(INT_PTR(id)), gApp.instance, nullptr);
    SendMessageA(child, WM_SETFONT, WPARAM(PanelFont()), FALSE);
    return child;
}

int CreatePanelLabel(HWND parent, const char* text, int x, int y) {
    SIZE size = MeasureText(PanelFont(), text);
    CreatePanelChild(parent, "static", text, SS_LEFT | SS_NOPREFIX, x, y, size.cx, size.cy, -1);
    return x + size.cx;
}

void CreateGroupTitle(HWND parent, const char* text, int x, int y, int right) {
    SIZE size = MeasureText(PanelFont(), text);
    CreatePanelLabel(parent, text, std::min(x, right - int(size.cx)), y);
}

void PaintPanel(HWND hwnd, const RECT* frames, int frameCount) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    for (int i = 0; i < frameCount; i++) {
        RECT frame = {Px(frames[i].left), Px(frames[i].top), Px(frames[i].right),
                      Px(frames[i].bottom)};
        DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    }
    EndPaint(hwnd, &ps);
}

POINT PreviewOrigin() {
    return {Px(30) + (Px(275) - 275) / 2, Px(28) + (Px(348) - 348) / 2};
}
