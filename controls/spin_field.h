#pragma once

// "UpDownEditWnd": a numeric field with up/down arrows in a sunken frame. It wraps an edit
// child and the comctl32 up-down control and passes UDM_SETRANGE, UDM_SETPOS and UDM_GETPOS
// straight through to the up-down, so its owner talks to one window (UDM_GETRANGE is not
// passed on and answers 0). It sends no notifications.

#include <windows.h>

constexpr char kSpinFieldClass[] = "UpDownEditWnd";

// True when the class was registered.
bool InitUpDownEditClass(HINSTANCE instance);
