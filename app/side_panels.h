#pragma once

// The Image Set panel (while the picture is positioned) and the Skin Set panel (while a made
// skin is shown) share one place below the Template panel; the shell shows one at a time.

#include <windows.h>

constexpr char kImageSetPanelClass[] = "Zerb_ImageSet";
constexpr char kSkinSetPanelClass[] = "Zerb_SkinSet";

ATOM RegisterImageSetPanelClass(HINSTANCE instance);
ATOM RegisterSkinSetPanelClass(HINSTANCE instance);
