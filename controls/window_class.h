#pragma once

#include <windows.h>

// Registers one of the program's child window classes: class style 0, the program
// instance, the arrow cursor, no icon and no background brush (each window paints its
// whole client area), and `extraBytes` window extra bytes. The atom, or 0 on failure.
ATOM RegisterChildClass(HINSTANCE instance, const char* name, WNDPROC proc, int extraBytes = 0);
