#pragma once

#include <windows.h>

// The Project Option dialog (resource 143), modal. Returns IDOK when the user accepted new
// options and band order, IDCANCEL otherwise.
INT_PTR ProjectOptionDialog(HWND owner);
