#pragma once

#include <windows.h>

// Makes every window class known, in the fixed order; false at the first failure.
bool RegisterWindowClasses(HINSTANCE instance);

// Creates the main window (which reads the settings and creates its children) and shows it.
HWND CreateMainWindow(HINSTANCE instance, int showCommand);

// The message loop; returns the wParam of the quit message.
int RunMessageLoop();
