#include "app/side_panels.h"

#include <commctrl.h>

#include <algorithm>

#include "app/app_state.h"
#include "app/panel_kit.h"
#include "app/picture_commands.h"
#include "app/title_text_dialog.h"
#include "controls/color_picker.h"
#include "controls/spin_field.h"
#include "controls/window_class.h"
#include "project/suggest.h"

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

// The panels are 200 units wide; a group title ends this far inside the frame.
constexpr int kPanelWidth = 200;
constexpr int kTitleMargin = 8;

int TitleRight() {
    return Px(kPanelWidth - kTitleMargin);
}

// A push button at least `width` units wide and wide enough for its text.
int ButtonWidth(const char* text, int width) {
    return std::max(Px(width), int(MeasureText(PanelFont(), text).cx) + 2 * Px(8));
}

void CreateImageSetChildren(HWND hwnd) {
    CreateGroupTitle(hwnd, " Adjustment Mode ", Px(100), 0, TitleRight());
    gApp.modeBox =
        CreatePanelChild(hwnd, "combobox", nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                         Px(10), Px(18), Px(180), Px(80), kModeBoxId);
    for (const char* mode : {"Free", "Tile", "Continuous"}) {
        SendMessageA(gApp.modeBox, CB_ADDSTRING, 0, LPARAM(mode));
    }
    SendMessageA(gApp.modeBox, CB_SETCURSEL, WPARAM(gApp.adjustmentMode), 0);
    EnableWindow(gApp.modeBox, FALSE);
    CreateGroupTitle(hwnd, " Image Setting ", Px(100), Px(54), TitleRight());

    // The fields stand at 85 units, or further right where a label needs the room.
    const char* const labels[] = {"Scale :", "Brightness :", "Contrast :"};
    const int fields[] = {kScaleFieldId, kBrightnessFieldId, kContrastFieldId};
    int fieldX = Px(85);
    for (const char* label : labels) {
        fieldX = std::max(fieldX, Px(20) + int(MeasureText(PanelFont(), label).cx) + Px(4));
    }
    for (int i = 0; i < 3; i++) {
        const int y = 100 + 40 * i;
        CreatePanelLabel(hwnd, labels[i], Px(20), Px(y));
        CreatePanelChild(hwnd, kSpinFieldClass, nullptr, 0, fieldX, Px(y - 2), Px(50), Px(20),
                         fields[i]);
        CreatePanelLabel(hwnd, "(%)", fieldX + Px(57), Px(y));
    }
    HWND scale = GetDlgItem(hwnd, kScaleFieldId);
    SendMessageA(scale, UDM_SETRANGE, 0, MAKELPARAM(100, 0));
    SendMessageA(scale, UDM_SETPOS, 0, MAKELPARAM(100, 0));
    const int applyWidth = ButtonWidth("Apply", 60);
    CreatePanelChild(hwnd, "button", "Apply", BS_PUSHBUTTON | WS_TABSTOP, Px(180) - applyWidth,
                     Px(218), applyWidth, Px(21), kApplyButtonId);
}

void PaintImageSet(HWND hwnd) {
    const RECT frames[] = {{0, 6, kPanelWidth, 50}, {0, 60, kPanelWidth, 268}};
    PaintPanel(hwnd, frames, 2);
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
            if (FieldPosition(hwnd, kScaleFieldId) != gApp.scale) {
                gApp.given.insert("scale"); // a suggested design keeps it
            }
            ApplyAdjustments(hwnd, FieldPosition(hwnd, kScaleFieldId),
                             FieldPosition(hwnd, kBrightnessFieldId),
                             FieldPosition(hwnd, kContrastFieldId));
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The Skin Set panel.

// One entry per name: a family comes once for each of its character sets (Western, Greek,
// Cyrillic...), always under the same full name.
int CALLBACK EnumPlaylistFont(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM box) {
    if (!(type & TRUETYPE_FONTTYPE)) {
        return 1; // bitmap and vector fonts are not offered
    }
    const auto* name =
        reinterpret_cast<const char*>(reinterpret_cast<const ENUMLOGFONTA*>(font)->elfFullName);
    if (SendMessageA(HWND(box), CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(name)) != CB_ERR) {
        return 1;
    }
    LRESULT added = SendMessageA(HWND(box), CB_ADDSTRING, 0, LPARAM(name));
    return added == CB_ERR || added == CB_ERRSPACE ? 0 : 1;
}

// The box shows the font the skin uses: its entry, or a new one when the machine lacks it
// (pledit.txt still names it, and a player that has it uses it).
void ShowPlaylistFont(HWND box) {
    const char* name = gApp.playlist.fontName.c_str();
    LRESULT index = SendMessageA(box, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(name));
    if (index == CB_ERR) {
        index = SendMessageA(box, CB_ADDSTRING, 0, LPARAM(name));
    }
    SendMessageA(box, CB_SETCURSEL, WPARAM(index), 0);
}

// The option names of the pickers, as the user's own choices are recorded.
constexpr const char* kColorOptions[] = {
    "text-color",         "back-color",          "", "playlist-normal", "playlist-current",
    "playlist-normal-bg", "playlist-selected-bg"};

// Under the pickers, without a box interrupting each change: which pairs will be hard to read.
void ShowContrastNote(HWND hwnd) {
    SkinOptions o;
    o.colors = gApp.colors;
    o.playlist = gApp.playlist;
    // The worst pair: once it is mended, the next one shows.
    std::vector<ContrastWarning> warnings = LowContrastPairs(o);
    auto worst = std::min_element(warnings.begin(), warnings.end(),
                                  [](const auto& a, const auto& b) { return a.ratio < b.ratio; });
    SetDlgItemTextA(hwnd, kContrastNoteId, worst == warnings.end() ? "" : worst->Message().c_str());
}

void ShowColors(HWND hwnd) {
    SendDlgItemMessageA(hwnd, kTextColorId, CPM_SETCOLOR, gApp.colors.text, 0);
    SendDlgItemMessageA(hwnd, kBackColorId, CPM_SETCOLOR, gApp.colors.back, 0);
    ShowPlaylistFont(GetDlgItem(hwnd, kFontBoxId));
    SendDlgItemMessageA(hwnd, kPlaylistNormalId, CPM_SETCOLOR, gApp.playlist.normalText, 0);
    SendDlgItemMessageA(hwnd, kPlaylistCurrentId, CPM_SETCOLOR, gApp.playlist.currentText, 0);
    SendDlgItemMessageA(hwnd, kPlaylistNormalBackId, CPM_SETCOLOR, gApp.playlist.normalBack, 0);
    SendDlgItemMessageA(hwnd, kPlaylistSelectedBackId, CPM_SETCOLOR, gApp.playlist.selectedBack, 0);
    ShowContrastNote(hwnd);
}

void ResetSkinDefaults(HWND hwnd) {
    gApp.colors = ShadeColors();
    gApp.playlist = PlaylistStyle();
    for (const char* name : kColorOptions) {
        gApp.given.erase(name);
    }
    ShowColors(hwnd);
}

void CreateSkinSetChildren(HWND hwnd) {
    CreateGroupTitle(hwnd, " Main Skin ", Px(120), 0, TitleRight());
    CreatePanelChild(hwnd, "button", "- -", BS_PUSHBUTTON | WS_TABSTOP, Px(20), Px(16), Px(28),
                     Px(14), kTitleButtonId);
    CreatePanelLabel(hwnd, "Modify Title Text", Px(52), Px(17));
    const char* const mainLabels[] = {"Text Color", "Background Color"};
    const int mainPickers[] = {kTextColorId, kBackColorId};
    for (int i = 0; i < 2; i++) {
        CreatePanelChild(hwnd, kColorPickerClass, "", WS_TABSTOP, Px(20), Px(38 + 22 * i), Px(28),
                         Px(14), mainPickers[i]);
        CreatePanelLabel(hwnd, mainLabels[i], Px(52), Px(39 + 22 * i));
    }
    CreateGroupTitle(hwnd, " Playlist Skin ", Px(120), Px(90), TitleRight());
    CreatePanelLabel(hwnd, "Playlist Font :", Px(20), Px(106));
    HWND fonts = CreatePanelChild(hwnd, "combobox", nullptr,
                                  CBS_DROPDOWNLIST | WS_VSCROLL | CBS_SORT | WS_TABSTOP, Px(20),
                                  Px(122), Px(160), Px(120), kFontBoxId);
    const char* const playlistLabels[] = {"Normal Text", "Current Text", "Normal Background",
                                          "Selected Background"};
    const int playlistPickers[] = {kPlaylistNormalId, kPlaylistCurrentId, kPlaylistNormalBackId,
                                   kPlaylistSelectedBackId};
    for (int i = 0; i < 4; i++) {
        CreatePanelChild(hwnd, kColorPickerClass, "", WS_TABSTOP, Px(20), Px(148 + 20 * i), Px(28),
                         Px(14), playlistPickers[i]);
        CreatePanelLabel(hwnd, playlistLabels[i], Px(52), Px(149 + 20 * i));
    }
    CreatePanelChild(hwnd, "static", "", SS_LEFT, Px(20), Px(225), Px(172), Px(39),
                     kContrastNoteId);
    HDC dc = GetDC(hwnd);
    EnumFontFamiliesA(dc, nullptr, EnumPlaylistFont, LPARAM(fonts));
    ReleaseDC(hwnd, dc);
    // The open list is as wide as its longest name, so none is cut off.
    int widest = 0;
    for (LRESULT i = 0, n = SendMessageA(fonts, CB_GETCOUNT, 0, 0); i < n; i++) {
        char name[LF_FULLFACESIZE] = {};
        if (SendMessageA(fonts, CB_GETLBTEXTLEN, WPARAM(i), 0) < LRESULT(sizeof name)) {
            SendMessageA(fonts, CB_GETLBTEXT, WPARAM(i), LPARAM(name));
            widest = std::max(widest, int(MeasureText(PanelFont(), name).cx));
        }
    }
    SendMessageA(fonts, CB_SETDROPPEDWIDTH, WPARAM(widest + GetSystemMetrics(SM_CXVSCROLL) + Px(8)),
                 0);
    SendMessageA(hwnd, SSM_RESETDEFAULTS, 0, 0);
}

void PaintSkinSet(HWND hwnd) {
    const RECT frames[] = {{0, 6, kPanelWidth, 86}, {0, 96, kPanelWidth, 268}};
    PaintPanel(hwnd, frames, 2);
}

// The sample lines sit on the playlist preview, wherever the band order put it.
void RepaintSamplePlaylist() {
    const POINT origin = PreviewOrigin();
    const int y0 = origin.y + 116 * gApp.skinOrder[2];
    RECT lines = {origin.x + 12, y0 + 20, origin.x + 255, y0 + 78};
    InvalidateRect(gApp.mainWindow, &lines, TRUE);
}

void TakeChosenFont(HWND box) {
    char name[LF_FULLFACESIZE] = {};
    LRESULT selected = SendMessageA(box, CB_GETCURSEL, 0, 0);
    if (selected >= 0 &&
        SendMessageA(box, CB_GETLBTEXTLEN, WPARAM(selected), 0) < LRESULT(sizeof name)) {
        SendMessageA(box, CB_GETLBTEXT, WPARAM(selected), LPARAM(name));
        gApp.playlist.fontName = name;
        RepaintSamplePlaylist();
    }
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
            gApp.given.insert(kColorOptions[id - kTextColorId]);
            ShowContrastNote(hwnd);
            if (gApp.SkinMade()) {
                MakeSkinNow(); // the main skin colours are in the bitmaps
            }
        }
        return;
    case kFontBoxId:
        // A choice is confirmed in the open list, or made with the arrow keys or the wheel on
        // the closed box; a list closed with Escape may still show the entry the user
        // scrolled to, so the skin's font is shown again.
        if (code == CBN_SELENDOK ||
            (code == CBN_SELCHANGE && !SendMessageA(sender, CB_GETDROPPEDSTATE, 0, 0))) {
            TakeChosenFont(sender);
        } else if (code == CBN_SELENDCANCEL) {
            ShowPlaylistFont(sender);
        }
        return;
    case kPlaylistNormalId:
    case kPlaylistCurrentId:
    case kPlaylistNormalBackId:
    case kPlaylistSelectedBackId:
        if (code == CPN_CHANGED) {
            // The playlist colours go into pledit.txt and genex.bmp's colour pixels, both
            // written from them when the skin is saved: only the sample lines change.
            ColorRef* target[] = {&gApp.playlist.normalText, &gApp.playlist.currentText,
                                  &gApp.playlist.normalBack, &gApp.playlist.selectedBack};
            *target[id - kPlaylistNormalId] = pickedColor();
            gApp.given.insert(kColorOptions[id - kTextColorId]);
            ShowContrastNote(hwnd);
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
    case SSM_SHOWCOLORS:
        ShowColors(hwnd);
        RepaintSamplePlaylist();
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
