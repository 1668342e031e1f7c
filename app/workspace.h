#pragma once

// The workspace windows: frames through which the user drags the picture to choose where a
// skin band is cut. Three band windows of 275 x 116 and the 275 x 348 Skin Workspace of
// Continuous mode share the class "Zerb_WorkSpaceWnd".

#include <windows.h>

#include <cstdint>

constexpr char kWorkspaceClass[] = "Zerb_WorkSpaceWnd";

// An offset point as the messages carry it: x <= 0 shifts the picture left by -x; y >= 0 is
// how far the bottom of the view lies above the picture's bottom row.
struct OffsetPoint {
    int32_t x;
    int32_t y;
};

// wParam: the new view height. No repaint.
constexpr UINT WSM_SETHEIGHT = WM_USER + 2;
// Returns the address of the window's offset point, valid while the window lives.
constexpr UINT WSM_GETOFFSET = WM_USER + 3;
// wParam: address of an OffsetPoint, stored unclamped; lParam non-zero: repaint now.
constexpr UINT WSM_SETOFFSET = WM_USER + 4;
// wParam: address of an OffsetPoint holding (minimum x, maximum y). No re-clamping.
constexpr UINT WSM_SETLIMITS = WM_USER + 5;

// Notification code of WM_COMMAND sent to the parent after every drag step.
constexpr WORD kWorkspaceMoved = 1;

ATOM RegisterWorkspaceClass(HINSTANCE instance);

// The offset of a workspace window, copied.
OffsetPoint GetWorkspaceOffset(HWND workspace);
