#include "app/side_panels.h"

#include <commctrl.h>

#include "app/app_state.h"
#include "app/panel_kit.h"
#include "app/picture_commands.h"
#include "app/window_class.h"
#include "controls/color_picker.h"
#include "controls/spin_field.h"
#include "controls/title_text_dialog.h"

namespace {

// The Image Set panel.

int FieldPosition(HWND panel, int id) {
    // The position is the low word of the answer, a signed 16-bit number.
    return short(LOWORD(SendDlgItemMessageA(panel, id, UDM_GETPOS, 0, 0)));
}

void ReloadFields(HWND panel) {
    SendDlgItemMessageA(panel, kScaleFieldId, UDM_SETPOS, 0, MAKELPARAM(gApp.scale, 0));
    SendDlgItemMessageA(panel, kBrightnessFieldId, UDM_SETPOS, 0, MAKELPARAM(gApp.brightness, 0));
    SendDlgItemMessageA(panel, kContrastFieldId, UDM_SETPOS, 0, MAKELPARAM(gApp.contrast, 0));
}

void CreateImageSetChildren(HWND hwnd) {
    gApp.modeBox = CreatePanelChild(hwnd, "combobox", nullptr, CBS_DROPDOWNLIST | WS_VSCROLL, 10,
                                    18, 180, 80, kModeBoxId, true);
    for (const char* mode : {"Free", "Tile", "Continuous"}) {
        SendMessageA(gApp.modeBox, CB_ADDSTRING, 0, LPARAM(mode));
    }
    SendMessageA(gApp.modeBox, CB_SETCURSEL, WPARAM(gApp.adjustmentMode), 0);
    EnableWindow(gApp.modeBox, FALSE);
    HWND scale =
        CreatePanelChild(hwnd, kSpinFieldClass, nullptr, 0, 85, 98, 50, 20, kScaleFieldId, false);
    SendMessageA(scale, UDM_SETRANGE, 0, MAKELPARAM(100, 0));
    SendMessageA(scale, UDM_SETPOS, 0, MAKELPARAM(100, 0));
    CreatePanelChild(hwnd, kSpinFieldClass, nullptr, 0, 85, 138, 50, 20, kBrightnessFieldId, false);
    CreatePanelChild(hwnd, kSpinFieldClass, nullptr, 0, 85, 178, 50, 20, kContrastFieldId, false);
    CreatePanelChild(hwnd, "button", "Apply", BS_PUSHBUTTON | WS_TABSTOP, 120, 218, 60, 21,
                     kApplyButtonId, true);
}

void PaintImageSet(HWND hwnd) {
    const RECT frames[] = {{0, 6, 200, 50}, {0, 60, 200, 268}};
    const PanelLabel labels[] = {{100, 0, " Adjustment Mode "},
                                 {100, 54, " Image Setting "},
                                 {20, 100, "Scale :"},
                                 {20, 140, "Brightness :"},
                                 {20, 180, "Contrast :"},
                                 {142, 100, "(%)"},
                                 {142, 140, "(%)"},
                                 {142, 180, "(%)"}};
    PaintPanel(hwnd, frames, 2, labels, 8);
}

LRESULT CALLBACK ImageSetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        CreateImageSetChildren(hwnd);
        return 0;
    case WM_PAINT:
        PaintImageSet(hwnd);
        return 0;
    case ISM_RELOADFIELDS:
        ReloadFields(hwnd);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kModeBoxId && HIWORD(wParam) == CBN_SELENDOK) {
            LRESULT mode = SendMessageA(gApp.modeBox, CB_GETCURSEL, 0, 0);
            if (mode >= 0 && mode <= 2) {
                SetAdjustmentMode(AdjustmentMode(mode));
            }
        } else if (LOWORD(wParam) == kApplyButtonId && HIWORD(wParam) == BN_CLICKED) {
            ApplyAdjustments(hwnd, FieldPosition(hwnd, kScaleFieldId),
                             FieldPosition(hwnd, kBrightnessFieldId),
                             FieldPosition(hwnd, kContrastFieldId));
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The Skin Set panel.

int CALLBACK EnumPlaylistFont(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM box) {
    if (!(type & TRUETYPE_FONTTYPE)) {
        return 1; // bitmap and vector fonts are not offered
    }
    const auto* full = reinterpret_cast<const ENUMLOGFONTA*>(font);
    LRESULT added = SendMessageA(HWND(box), CB_ADDSTRING, 0,
                                 LPARAM(reinterpret_cast<const char*>(full->elfFullName)));
    return added == CB_ERR || added == CB_ERRSPACE ? 0 : 1;
}

void ResetSkinDefaults(HWND hwnd) {
    gApp.colors = ShadeColors();
    gApp.playlist.normalText = PlaylistStyle().normalText;
    gApp.playlist.currentText = PlaylistStyle().currentText;
    gApp.playlist.normalBack = PlaylistStyle().normalBack;
    gApp.playlist.selectedBack = PlaylistStyle().selectedBack;
    gApp.playlist.fontName = PlaylistStyle().fontName;
    SendDlgItemMessageA(hwnd, kTextColorId, CPM_SETCOLOR, gApp.colors.text, 0);
    SendDlgItemMessageA(hwnd, kBackColorId, CPM_SETCOLOR, gApp.colors.back, 0);
    SendDlgItemMessageA(hwnd, kFontBoxId, CB_SELECTSTRING, WPARAM(-1), LPARAM("Arial"));
    SendDlgItemMessageA(hwnd, kPlaylistNormalId, CPM_SETCOLOR, gApp.playlist.normalText, 0);
    SendDlgItemMessageA(hwnd, kPlaylistCurrentId, CPM_SETCOLOR, gApp.playlist.currentText, 0);
    SendDlgItemMessageA(hwnd, kPlaylistNormalBackId, CPM_SETCOLOR, gApp.playlist.normalBack, 0);
    SendDlgItemMessageA(hwnd, kPlaylistSelectedBackId, CPM_SETCOLOR, gApp.playlist.selectedBack, 0);
}

void CreateSkinSetChildren(HWND hwnd) {
    CreatePanelChild(hwnd, "button", "- -", BS_PUSHBUTTON | WS_TABSTOP, 20, 16, 28, 14,
                     kTitleButtonId, true);
    CreatePanelChild(hwnd, kColorPickerClass, "", 0, 20, 38, 28, 14, kTextColorId, false);
    CreatePanelChild(hwnd, kColorPickerClass, "", 0, 20, 60, 28, 14, kBackColorId, false);
    HWND fonts =
        CreatePanelChild(hwnd, "combobox", nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | CBS_SORT, 20,
                         122, 160, 120, kFontBoxId, false);
    const int pickers[] = {kPlaylistNormalId, kPlaylistCurrentId, kPlaylistNormalBackId,
                           kPlaylistSelectedBackId};
    for (int i = 0; i < 4; i++) {
        CreatePanelChild(hwnd, kColorPickerClass, "", 0, 20, 154 + 22 * i, 28, 14, pickers[i],
                         false);
    }
    HDC dc = GetDC(hwnd);
    EnumFontFamiliesA(dc, nullptr, EnumPlaylistFont, LPARAM(fonts));
    ReleaseDC(hwnd, dc);
    SendMessageA(fonts, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SendMessageA(hwnd, SSM_RESETDEFAULTS, 0, 0);
}

void PaintSkinSet(HWND hwnd) {
    const RECT frames[] = {{0, 6, 200, 86}, {0, 96, 200, 268}};
    const PanelLabel labels[] = {{120, 0, " Main Skin "},        {52, 17, "Modify Title Text"},
                                 {52, 39, "Text Color"},         {52, 61, "Background Color"},
                                 {120, 90, " Playlist Skin "},   {20, 106, "Playlist Font :"},
                                 {52, 155, "Normal Text"},       {52, 177, "Current Text"},
                                 {52, 199, "Normal Background"}, {52, 221, "Selected Background"}};
    PaintPanel(hwnd, frames, 2, labels, 10);
}

// The sample lines sit on the playlist preview, wherever the band order put it.
void RepaintSamplePlaylist() {
    int y0 = 28 + 116 * gApp.skinOrder[2];
    RECT lines = {42, y0 + 20, 285, y0 + 78};
    InvalidateRect(gApp.mainWindow, &lines, TRUE);
}

void OnSkinSetCommand(HWND hwnd, WORD id, WORD code, HWND sender) {
    auto pickedColor = [sender] { return COLORREF(SendMessageA(sender, CPM_GETCOLOR, 0, 0)); };
    switch (id) {
    case kTitleButtonId:
        if (code == BN_CLICKED) {
            TitleTextDialog(hwnd);
        }
        return;
    case kTextColorId:
    case kBackColorId:
        if (code == CPN_CHANGED) {
            (id == kTextColorId ? gApp.colors.text : gApp.colors.back) = pickedColor();
            if (gApp.SkinMade()) {
                MakeSkinNow(); // the main skin colours are in the bitmaps
            }
        }
        return;
    case kFontBoxId:
        if (code == CBN_SELENDOK) {
            char name[LF_FULLFACESIZE] = {};
            LRESULT selected = SendMessageA(sender, CB_GETCURSEL, 0, 0);
            if (selected >= 0 &&
                SendMessageA(sender, CB_GETLBTEXTLEN, WPARAM(selected), 0) < LRESULT(sizeof name)) {
                SendMessageA(sender, CB_GETLBTEXT, WPARAM(selected), LPARAM(name));
                gApp.playlist.fontName = name;
                RepaintSamplePlaylist();
            }
        }
        return;
    case kPlaylistNormalId:
    case kPlaylistCurrentId:
    case kPlaylistNormalBackId:
    case kPlaylistSelectedBackId:
        if (code == CPN_CHANGED) {
            // The playlist colours go into pledit.txt, not into a bitmap: only the sample
            // lines change.
            ColorRef* target[] = {&gApp.playlist.normalText, &gApp.playlist.currentText,
                                  &gApp.playlist.normalBack, &gApp.playlist.selectedBack};
            *target[id - kPlaylistNormalId] = pickedColor();
            RepaintSamplePlaylist();
        }
        return;
    }
}

LRESULT CALLBACK SkinSetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        CreateSkinSetChildren(hwnd);
        return 0;
    case WM_PAINT:
        PaintSkinSet(hwnd);
        return 0;
    case SSM_RESETDEFAULTS:
        ResetSkinDefaults(hwnd);
        return 0;
    case WM_COMMAND:
        OnSkinSetCommand(hwnd, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

ATOM RegisterImageSetPanelClass(HINSTANCE instance) {
    return RegisterChildClass(instance, kImageSetPanelClass, ImageSetProc);
}

ATOM RegisterSkinSetPanelClass(HINSTANCE instance) {
    return RegisterChildClass(instance, kSkinSetPanelClass, SkinSetProc);
}
