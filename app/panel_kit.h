#pragma once

// What the three side panels share: their children in the GUI font, and a face of etched
// group frames with labels on the button colour.

#include <windows.h>

// A visible child control; with guiFont it gets DEFAULT_GUI_FONT.
HWND CreatePanelChild(HWND parent, const char* className, const char* text, DWORD style, int x,
                      int y, int width, int height, int id, bool guiFont);

struct PanelLabel {
    int x;
    int y;
    const char* text;
};

// WM_PAINT of a panel: the button face, the etched frames, the labels in the GUI font on an
// opaque button-face background (so each group title blanks the frame line under it).
void PaintPanel(HWND hwnd, const RECT* frames, int frameCount, const PanelLabel* labels,
                int labelCount);
