#include "app/startup.h"

#include <commctrl.h>

#include <string>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/resource.h"
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
    const SIZE size = MainWindowSize();
    HWND hwnd =
        CreateWindowExA(0, kMainWindowClass, "Korvane", kMainWindowStyle, CW_USEDEFAULT,
                        CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, instance, nullptr);
    if (hwnd) {
        ShowWindow(hwnd, showCommand);
        UpdateWindow(hwnd);
    }
    return hwnd;
}

bool PreTranslateMainWindowMessage(MSG* msg) {
    // Enter and Escape go to the focused control as typed (a dropped list closes), never to
    // IsDialogMessage: it would turn them into IDOK and IDCANCEL, ids 1 and 2, which are the
    // Main Skin and Equalizer windows.
    const bool key =
        msg->message == WM_KEYDOWN || msg->message == WM_KEYUP || msg->message == WM_CHAR;
    if (key && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) {
        return false;
    }
    HWND main = gApp.mainWindow;
    return main && (msg->hwnd == main || IsChild(main, msg->hwnd)) && IsDialogMessageA(main, msg);
}

void OpenStartupPicture(HWND mainWindow, const char* commandLine) {
    std::string path = commandLine ? commandLine : "";
    size_t first = path.find_first_not_of(" \t");
    size_t last = path.find_last_not_of(" \t");
    if (first == std::string::npos) {
        return;
    }
    path = path.substr(first, last - first + 1);
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
        path = path.substr(1, path.size() - 2);
    }
    if (!path.empty()) {
        OpenChosenPicture(mainWindow, path);
    }
}

int RunMessageLoop() {
    HACCEL keys = LoadAcceleratorsA(gApp.instance, MAKEINTRESOURCEA(IDA_MAIN));
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (keys && gApp.mainWindow && TranslateAcceleratorA(gApp.mainWindow, keys, &msg)) {
            continue;
        }
        if (!PreTranslateMainWindowMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return int(msg.wParam);
}
