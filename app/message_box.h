#pragma once

#include <windows.h>

constexpr const char kWarningCaption[] = "Warning..!";
constexpr const char kInformationCaption[] = "Korvane";

// Every message box of the program goes through here, so the tests can answer them
// without a person: with a hook set, the hook gets the box instead of the screen.
int ShowMessage(HWND owner, const char* text, const char* caption, UINT type);

// The standard warning: caption "Warning..!", exclamation icon, owned by `owner`.
int ShowWarning(HWND owner, const char* text, UINT buttons = MB_OK);

using MessageBoxHook = int (*)(HWND owner, const char* text, const char* caption, UINT type);
void SetMessageBoxHook(MessageBoxHook hook);
