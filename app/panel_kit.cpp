#include "app/panel_kit.h"

#include "app/app_state.h"

HWND CreatePanelChild(HWND parent, const char* className, const char* text, DWORD style, int x,
                      int y, int width, int height, int id, bool guiFont) {
    HWND child =
        CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                        parent, reinterpret_cast<HMENU>(INT_PTR(id)), gApp.instance, nullptr);
    if (guiFont) {
        SendMessageA(child, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    }
    return child;
}

void PaintPanel(HWND hwnd, const RECT* frames, int frameCount, const PanelLabel* labels,
                int labelCount) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    for (int i = 0; i < frameCount; i++) {
        RECT frame = frames[i];
        DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    }
    for (int i = 0; i < labelCount; i++) {
        TextOutA(dc, labels[i].x, labels[i].y, labels[i].text, lstrlenA(labels[i].text));
    }
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}
