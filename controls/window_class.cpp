#include "controls/window_class.h"

ATOM RegisterChildClass(HINSTANCE instance, const char* name, WNDPROC proc, int extraBytes) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = extraBytes;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    return RegisterClassA(&wc);
}
