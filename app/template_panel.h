#pragma once

// The Template panel: the list of template folders and the Make Skin!/Undo Skin... button.

#include <windows.h>

constexpr char kTemplatePanelClass[] = "Zerb_Template";
constexpr int kTemplatePanelWidth = 200; // in 96-DPI units, as the panels below it

// The two faces of the Make Skin! button.
constexpr char kMakeSkinText[] = "Make Skin!";
constexpr char kUndoSkinText[] = "Undo Skin...";

ATOM RegisterTemplatePanelClass(HINSTANCE instance);

// Fills the box with the sub-folders of the templates folder (not those starting with a
// dot); returns how many.
int ListTemplates(HWND box);

// gApp.lastTemplateIndex and gApp.templatePath from the box's selection: the chosen
// folder, or empty (the built-in pieces) when the list is empty.
void ReadTemplateSelection();
