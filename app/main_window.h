#pragma once

// The main window: menu and command dispatch, the children, the previews of a made skin
// with their sample playlist, and Tile synchronisation of the band windows.

#include <windows.h>

#include <string>

constexpr char kMainWindowClass[] = "Zerb_SkinWnd";
constexpr int kMainWindowWidth = 552;
constexpr int kMainWindowHeight = 446;

ATOM RegisterMainWindowClass(HINSTANCE instance);

// Grays "Save", "Undo Skin" and "Make Skin!" and enables the Make Skin! button to match
// the state.
void UpdateMenuState(HWND mainWindow);

// The Open command once a file is chosen: the picture is loaded (or refused) and the
// button and menus follow.
void OpenChosenPicture(HWND mainWindow, const std::string& path);
