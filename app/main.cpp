// Korvane: one picture in, a classic Winamp skin out.
#include <windows.h>

#include "app/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (!RegisterWindowClasses(instance) || !CreateMainWindow(instance, showCommand)) {
        return 0;
    }
    return RunMessageLoop();
}
