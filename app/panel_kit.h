#pragma once

// What the three side panels share, and the program's DPI scaling. The program is aware of
// the system DPI: the panels, their controls and the main window's client area are laid
// out in units of a 96-DPI pixel and scaled; the workspace frames, the previews and the
// sample playlist show pixel art and stay 1:1.

#include <windows.h>

// The system DPI, read once.
int ScreenDpi();

// A length in 96-DPI units, in pixels at the system DPI.
int Px(int units);

// The top-left corner of the stack of workspace frames and previews (275 x 348, pixel art,
// never scaled) in the main window's client area: centred where (30, 28, 305, 376) lies
// once scaled, which is (30, 28) itself at 96 DPI.
POINT PreviewOrigin();

// The panels' font: the face of DEFAULT_GUI_FONT at 8 points for the system DPI (the stock
// font itself keeps its 96-DPI size). Made once and kept for the whole run.
HFONT PanelFont();

// The size `text` takes in `font`, measured on the screen.
SIZE MeasureText(HFONT font, const char* text);

// A visible child control in the panel font, placed in pixels.
HWND CreatePanelChild(HWND parent, const char* className, const char* text, DWORD style, int x,
                      int y, int width, int height, int id);

// A label: a static control exactly as large as its text, with its left edge at x. A
// static rather than painted text, so the label can be measured, read by screen readers,
// and blanks the frame line under a group title with the button face. Returns its right.
int CreatePanelLabel(HWND parent, const char* text, int x, int y);

// A group title: a label ending no later than `right` - its usual start `x` moves left
// where the text is wider than the space the frame leaves.
void CreateGroupTitle(HWND parent, const char* text, int x, int y, int right);

// WM_PAINT of a panel: the button face and etched frames, given in 96-DPI units.
void PaintPanel(HWND hwnd, const RECT* frames, int frameCount);
