#pragma once

#include <windows.h>

// Makes every window class known, in the fixed order; false at the first failure.
bool RegisterWindowClasses(HINSTANCE instance);

// Creates the main window (which reads the settings and creates its children) and shows it.
HWND CreateMainWindow(HINSTANCE instance, int showCommand);

// The panels' keyboard interface, as a dialog has it: Tab, Shift+Tab and the arrow keys
// move the focus. True when the message was handled and must not be dispatched again.
bool PreTranslateMainWindowMessage(MSG* msg);

// The picture named on the command line (korvane.exe PICTURE, quoted or not), opened as if
// chosen in the Open dialog; nothing for an empty command line.
void OpenStartupPicture(HWND mainWindow, const char* commandLine);

// The message loop; returns the wParam of the quit message.
int RunMessageLoop();
