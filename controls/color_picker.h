#pragma once

// "ColorPickerWnd": a small button showing a colour; pressing and releasing it over the
// button opens the colour dialog, and a newly picked colour is reported to the parent.

#include <windows.h>

constexpr char kColorPickerClass[] = "ColorPickerWnd";

// wParam: the new colour. Stores it and repaints; no notification.
constexpr UINT CPM_SETCOLOR = WM_USER + 1;
// Returns the current colour.
constexpr UINT CPM_GETCOLOR = WM_USER + 2;
// WM_COMMAND notification code: the user picked a different colour.
constexpr WORD CPN_CHANGED = 1;

// True when the class was registered.
bool InitColorPickerClass(HINSTANCE instance);
