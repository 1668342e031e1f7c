#include "app/title_text_dialog.h"

#include "app/app_state.h"
#include "app/panel_kit.h"
#include "app/picture_commands.h"
#include "app/resource.h"
#include "compose/skin.h"

namespace {

// The field takes 48 typed characters, but OK and Apply keep only 47: the text is read
// into a 48-character buffer with its terminator. A longer stored title is still shown
// whole, since the limit only stops typing.
constexpr int kTitleFieldLimit = 48;
constexpr int kTitleReadCapacity = 48;

// Listed in the order of TitleAlign and TitleColor, so a box's index is the setting.
constexpr const char* kAlignNames[] = {"Left", "Center", "Right"};
constexpr const char* kColorNames[] = {"Soft", "Hard"};

// Where the main window paints the title strip of the main preview: the strip's rows 4 to
// 11 inside the preview's 16 top rows, at the Main band's place in the stack.
constexpr int kTitleAreaHeight = 16;

struct TitleTextDialogData {
    TitleSettings title; // what the fields start from, then what OK or Apply read
};

HINSTANCE ResourceInstance() {
    // The dialog templates are linked into the program itself.
    return gApp.instance ? gApp.instance : GetModuleHandleA(nullptr);
}

void FillBox(HWND box, const char* const* names, int count, int selected) {
    for (int i = 0; i < count; i++) {
        SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[i]));
    }
    // An index outside the list leaves the box without a selection, and OK then stores -1.
    SendMessageA(box, CB_SETCURSEL, WPARAM(selected), 0);
}

void OnInitDialog(HWND dlg, TitleTextDialogData* data) {
    SetWindowLongPtrA(dlg, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    SetDlgItemTextA(dlg, IDC_TITLE_TEXT, data->title.text.c_str());
    SendDlgItemMessageA(dlg, IDC_TITLE_TEXT, EM_LIMITTEXT, kTitleFieldLimit, 0);
    FillBox(GetDlgItem(dlg, IDC_TITLE_ALIGN), kAlignNames, 3, static_cast<int>(data->title.align));
    FillBox(GetDlgItem(dlg, IDC_TITLE_COLOR), kColorNames, 2, static_cast<int>(data->title.color));
}

void ReadFields(HWND dlg, TitleSettings* titleOut) {
    char text[kTitleReadCapacity] = {};
    UINT length = GetDlgItemTextA(dlg, IDC_TITLE_TEXT, text, kTitleReadCapacity);
    titleOut->text.assign(text, length);
    int align = int(SendDlgItemMessageA(dlg, IDC_TITLE_ALIGN, CB_GETCURSEL, 0, 0));
    int color = int(SendDlgItemMessageA(dlg, IDC_TITLE_COLOR, CB_GETCURSEL, 0, 0));
    titleOut->align = static_cast<TitleAlign>(align);
    titleOut->color = static_cast<TitleColor>(color);
}

// Stores the title and, with a made skin, engraves it into the made bitmaps and the main
// preview at once; without one the next Make Skin uses it.
void ApplyTitle(const TitleSettings& title) {
    gApp.title = title;
    if (!gApp.SkinMade()) {
        return;
    }
    DrawTitleText(*gApp.skin, CurrentSkinInputs(), true);
    const POINT origin = PreviewOrigin();
    const int top = origin.y + kBandHeight * gApp.skinOrder[static_cast<int>(Band::Main)];
    RECT area = {origin.x, top, origin.x + kBandWidth, top + kTitleAreaHeight};
    InvalidateRect(gApp.mainWindow, &area, TRUE);
}

void OnCommand(HWND dlg, TitleTextDialogData* data, int id) {
    switch (id) {
    case IDOK:
        ReadFields(dlg, &data->title);
        ApplyTitle(data->title);
        EndDialog(dlg, 1);
        break;
    case IDC_TITLE_APPLY:
        ReadFields(dlg, &data->title);
        ApplyTitle(data->title);
        break;
    case IDCANCEL:
        // Nothing is restored: what an earlier Apply stored stays in force.
        EndDialog(dlg, 0);
        break;
    }
}

INT_PTR CALLBACK TitleTextDialogProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = reinterpret_cast<TitleTextDialogData*>(GetWindowLongPtrA(dlg, GWLP_USERDATA));
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dlg, reinterpret_cast<TitleTextDialogData*>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (data) {
            OnCommand(dlg, data, LOWORD(wParam));
        }
        return TRUE;
    }
    return FALSE;
}

} // namespace

void TitleTextDialog(HWND owner) {
    TitleTextDialogData data;
    data.title = gApp.title;
    // The result needs no handling: OK and Apply have stored everything by the time the
    // dialog ends.
    DialogBoxParamA(ResourceInstance(), MAKEINTRESOURCEA(IDD_TITLETEXT), owner, TitleTextDialogProc,
                    reinterpret_cast<LPARAM>(&data));
}
