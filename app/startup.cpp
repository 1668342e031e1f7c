#include "app/startup.h"

#include <commctrl.h>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/side_panels.h"
#include "app/template_panel.h"
#include "app/workspace.h"
#include "controls/color_picker.h"
#include "controls/spin_field.h"

bool RegisterWindowClasses(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    gApp.instance = instance;
    return RegisterMainWindowClass(instance) && RegisterTemplatePanelClass(instance) &&
           RegisterImageSetPanelClass(instance) && RegisterSkinSetPanelClass(instance) &&
           RegisterWorkspaceClass(instance) && InitColorPickerClass(instance) &&
           InitUpDownEditClass(instance);
}

HWND CreateMainWindow(HINSTANCE instance, int showCommand) {
    // A sizing frame without a maximize box; WM_GETMINMAXINFO and WM_NCHITTEST keep it
    // from sizing.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;
    HWND hwnd = CreateWindowExA(0, kMainWindowClass, "Korvane", style, CW_USEDEFAULT,
                                CW_USEDEFAULT, kMainWindowWidth, kMainWindowHeight, nullptr,
                                nullptr, instance, nullptr);
    if (hwnd) {
        ShowWindow(hwnd, showCommand);
        UpdateWindow(hwnd);
    }
    return hwnd;
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return int(msg.wParam);
}
