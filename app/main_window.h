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

// The top-left corner of the stack of workspace frames and previews (275 x 348, pixel art,
// never scaled) in the main window's client area: centred where (30, 28, 305, 376) lies
// once scaled, which is (30, 28) itself at 96 DPI.
POINT PreviewOrigin();

ATOM RegisterMainWindowClass(HINSTANCE instance);

// Grays "Save", "Undo Skin" and "Make Skin!" and enables the Make Skin! button to match
// the state.
void UpdateMenuState(HWND mainWindow);

// The Open command once a file is chosen: the picture is loaded (or refused) and the
// button and menus follow.
void OpenChosenPicture(HWND mainWindow, const std::string& path);
