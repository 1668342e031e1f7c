// Korvane: one picture in, a classic Winamp skin out.
#include <windows.h>

#include "app/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    if (!RegisterWindowClasses(instance)) {
        return 0;
    }
    HWND window = CreateMainWindow(instance, showCommand);
    if (!window) {
        return 0;
    }
    OpenStartupPicture(window, commandLine);
    return RunMessageLoop();
}
