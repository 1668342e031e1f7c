#include "app/side_panels.h"

namespace {

// Both panels paint their own face; their controls arrive with the panel behaviour.
LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

ATOM RegisterPanel(HINSTANCE instance, const char* className) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    return RegisterClassA(&wc);
}

} // namespace

ATOM RegisterImageSetPanelClass(HINSTANCE instance) {
    return RegisterPanel(instance, kImageSetPanelClass);
}

ATOM RegisterSkinSetPanelClass(HINSTANCE instance) {
    return RegisterPanel(instance, kSkinSetPanelClass);
}
