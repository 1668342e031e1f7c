#pragma once

// The Template panel: the list of template folders and the Make Skin!/Undo Skin... button.

#include <windows.h>

constexpr char kTemplatePanelClass[] = "Zerb_Template";

ATOM RegisterTemplatePanelClass(HINSTANCE instance);

// Fills the box with the sub-folders of the templates folder (not those starting with a
// dot); returns how many.
int ListTemplates(HWND box);

// gApp.lastTemplateIndex and gApp.templatePath from the box's selection: the chosen
// folder, or empty (the built-in pieces) when the list is empty.
void ReadTemplateSelection();
