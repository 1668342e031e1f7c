#pragma once

#include <windows.h>

// The Edit Title Text dialog (resource 142), modal, owned by `owner`. OK and Apply store
// the title settings and, with a made skin, engrave the new title in place.
void TitleTextDialog(HWND owner);
