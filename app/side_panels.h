#pragma once

// The Image Set panel (while the picture is positioned) and the Skin Set panel (while a made
// skin is shown) share one place below the Template panel; the shell shows one at a time.

#include <windows.h>

constexpr char kImageSetPanelClass[] = "Zerb_ImageSet";
constexpr char kSkinSetPanelClass[] = "Zerb_SkinSet";

// Image Set panel children.
constexpr int kModeBoxId = 1;
constexpr int kScaleFieldId = 2;
constexpr int kBrightnessFieldId = 3;
constexpr int kContrastFieldId = 4;
constexpr int kApplyButtonId = 5;

// Skin Set panel children.
constexpr int kTitleButtonId = 1;
constexpr int kTextColorId = 2;
constexpr int kBackColorId = 3;
constexpr int kFontBoxId = 4;
constexpr int kPlaylistNormalId = 5;
constexpr int kPlaylistCurrentId = 6;
constexpr int kPlaylistNormalBackId = 7;
constexpr int kPlaylistSelectedBackId = 8;
constexpr int kContrastNoteId = 9; // the colour pairs that read below 4.5:1

// Skin Set panel: the seven skin colours and the playlist font back to their defaults,
// shown in the controls. No repaint of the main window.
constexpr UINT SSM_RESETDEFAULTS = WM_USER + 1;
// Skin Set panel: the controls show the skin colours as they now are, and the note under
// them the pairs that read below 4.5:1.
constexpr UINT SSM_SHOWCOLORS = WM_USER + 2;

ATOM RegisterImageSetPanelClass(HINSTANCE instance);
ATOM RegisterSkinSetPanelClass(HINSTANCE instance);
