#pragma once

// The picture and the made skin as the shell holds them: opening a picture, making and
// dropping a skin, and keeping the workspace windows and panels in step with that state.

#include <windows.h>

#include <string>

#include "compose/skin.h"

// The Image Set panel reloads its three fields from gApp's scale, brightness and contrast.
constexpr UINT ISM_RELOADFIELDS = WM_USER + 1;

// The Open dialog; false when it was cancelled.
bool ChoosePictureFile(HWND owner, std::string* pathOut);
// Loads a picture as the Open command does once a file is chosen: every message in its
// order, the conversion question, and the state after each outcome.
void OpenPicturePath(HWND owner, const std::string& path);

// Drops the made skin and, with alsoPictures, the source and work pictures too.
void FreeBitmaps(bool alsoPictures);
// Drops a made skin and shows the work picture again; nothing without a made skin.
void RevertSkin();
// Shows and hides the workspace windows and the side panels to match the state.
void UpdateWorkspaceVisibility();
// Hands the workspace windows their offsets and limits for the picture size and the mode;
// every call moves the view back to the picture's top-left corner.
void UpdatePictureRange();

// Apply of the Image Set panel: rebuilds the work picture from the source picture at the
// scale (raised to the least that fits, with a warning owned by `owner`), then brightness,
// then contrast. Nothing changes when the three values are the ones last applied.
void ApplyAdjustments(HWND owner, int scale, int brightness, int contrast);

// The mode box's choice: the workspace windows rearrange and go back to the picture's
// top-left corner; Continuous is refused for a picture lower than 348 pixels.
void SetAdjustmentMode(AdjustmentMode mode);

// What Make Skin reads: the work picture, the workspace offsets and every setting.
SkinInputs CurrentSkinInputs();
// Makes the skin from the current state and shows its previews.
void MakeSkinNow();
// The Make Skin!/Undo Skin... button and menu commands.
void ToggleMakeSkin();
// Suggest Design: what the user has not set by hand (gApp.given) is read from the picture
// (project/suggest.h), the scale applied, the bands moved and the colours set as if the user
// had done it, and the skin made; Undo Skin goes back to the placed bands.
void SuggestDesignNow(HWND owner);
// Sets the Make Skin!/Undo Skin... button's text and whether it can be pressed, and grays
// "Save", "Undo Skin" and "Make Skin!" in the menu, all from the state.
void ShowCommandState();

// The class cursor of all workspace windows: the cross while a picture can be dragged.
void SetWorkspaceCursor(LPCSTR cursor);
