#pragma once

#include <windows.h>

// The About box (resource 116): the program's name, its version and what it does, closed
// with OK. Modal; returns when the user closes it.
void ShowAboutBox(HWND owner);
