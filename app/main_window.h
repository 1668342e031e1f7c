#pragma once

// The main window: menu and command dispatch, the children, the previews of a made skin
// with their sample playlist, and Tile synchronisation of the band windows.

#include <windows.h>

#include <string>

constexpr char kMainWindowClass[] = "Zerb_SkinWnd";
// The client area in 96-DPI units: 20-unit margins around the field and the panels.
constexpr int kMainClientWidth = 545;
constexpr int kMainClientHeight = 404;
// The window style: a sizing frame without a maximize box; WM_GETMINMAXINFO and
// WM_NCHITTEST keep it from sizing.
constexpr DWORD kMainWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;

// The outer size that gives the client area its scaled size with the menu bar, whatever the
// caption, menu and border sizes of the system.
SIZE MainWindowSize();

ATOM RegisterMainWindowClass(HINSTANCE instance);

// The Open command once a file is chosen: the picture is loaded (or refused) and the
// button and menus follow.
void OpenChosenPicture(HWND mainWindow, const std::string& path);
