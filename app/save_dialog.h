#pragma once

// Saving a made skin into Winamp's skins folder: the Save dialog finds Winamp, reads its
// skins directory from winamp.ini, checks the skin name and creates the folder; then the
// file set is written there.

#include <windows.h>

// True when dir holds a file named winamp.exe (that one folder only).
bool FindWinampExe(const char* dir);

// False when one of the first `length` characters is a backslash or one of . , : ; < > | /
bool IsValidSkinName(const char* name, int length);

// Runs the Save dialog (resource 115) modally. 1 when gApp.skinFolderPath names the skin
// folder, created or accepted for overwriting; 0 when the user cancelled.
int SaveDialog(HWND owner);

// The Save command: without a made skin nothing happens; otherwise the dialog, then the
// file set, then one warning that names every file that could not be written.
void SaveSkinSet(HWND owner);
