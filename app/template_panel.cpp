#include "app/template_panel.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/message_box.h"
#include "app/panel_kit.h"
#include "app/picture_commands.h"
#include "app/resource.h"
#include "controls/window_class.h"

namespace {

// The Make Skin! button: 100 x 23 and centred, or wider where its texts need it.
void CreateMakeSkinButton(HWND hwnd) {
    const int padding = 2 * Px(8);
    int width = Px(100);
    for (const char* text : {kMakeSkinText, kUndoSkinText}) {
        width = std::max(width, int(MeasureText(PanelFont(), text).cx) + padding);
    }
    gApp.makeSkinButton = CreatePanelChild(
        hwnd, "button", kMakeSkinText, BS_PUSHBUTTON | WS_TABSTOP,
        (Px(kTemplatePanelWidth) - width) / 2, Px(60), width, Px(23), IDC_MAKESKIN_BUTTON);
    EnableWindow(gApp.makeSkinButton, FALSE);
}

void OnCreate(HWND hwnd) {
    CreatePanelLabel(hwnd, "Skin Template :", Px(10), Px(10));
    gApp.templateBox = CreatePanelChild(hwnd, "combobox", nullptr,
                                        CBS_DROPDOWNLIST | WS_VSCROLL | CBS_SORT | WS_TABSTOP,
                                        Px(10), Px(26), Px(180), Px(120), IDC_TEMPLATE_BOX);
    int count = ListTemplates(gApp.templateBox);
    if (gApp.lastTemplateIndex < 0 || gApp.lastTemplateIndex >= count) {
        gApp.lastTemplateIndex = 0;
    }
    gApp.templateCount = count;
    if (count > 0) {
        SendMessageA(gApp.templateBox, CB_SETCURSEL, WPARAM(gApp.lastTemplateIndex), 0);
    }
    CreateMakeSkinButton(hwnd);
}

void OnPaint(HWND hwnd) {
    const RECT frame = {0, 0, kTemplatePanelWidth, 96};
    PaintPanel(hwnd, &frame, 1);
}

void OnCommand(WORD id, WORD code) {
    if (id == IDC_TEMPLATE_BOX && code == CBN_SELENDOK) {
        if (gApp.templateCount == 0) {
            gApp.templatePath.clear();
        }
        if (gApp.SkinMade()) {
            // A made skin follows the new template at once.
            ReadTemplateSelection();
            MakeSkinNow();
        }
    } else if (id == IDC_MAKESKIN_BUTTON && code == BN_CLICKED) {
        ToggleMakeSkin();
    }
}

LRESULT CALLBACK TemplatePanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        OnCreate(hwnd);
        return 0;
    case WM_PAINT:
        OnPaint(hwnd);
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

ATOM RegisterTemplatePanelClass(HINSTANCE instance) {
    return RegisterChildClass(instance, kTemplatePanelClass, TemplatePanelProc);
}

int ListTemplates(HWND box) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(JoinPath(gApp.templatePath, "*.*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) {
        return 0; // no templates folder, or an empty one: the built-in pieces
    }
    int count = 0;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.') {
            SendMessageA(box, CB_ADDSTRING, 0, LPARAM(found.cFileName));
            count++;
        }
    } while (FindNextFileA(find, &found));
    if (!FindClose(find)) {
        ShowMessage(nullptr, "Error reading template.", "blah", MB_ICONHAND);
        return 0;
    }
    return count;
}

void ReadTemplateSelection() {
    LRESULT selected = SendMessageA(gApp.templateBox, CB_GETCURSEL, 0, 0);
    gApp.lastTemplateIndex = int(selected);
    if (selected == CB_ERR) {
        gApp.templatePath.clear();
        return;
    }
    char name[MAX_PATH] = {};
    LRESULT length = SendMessageA(gApp.templateBox, CB_GETLBTEXTLEN, WPARAM(selected), 0);
    if (length < 0 || length >= LRESULT(sizeof name)) {
        gApp.templatePath.clear();
        return;
    }
    SendMessageA(gApp.templateBox, CB_GETLBTEXT, WPARAM(selected), LPARAM(name));
    gApp.templatePath = JoinPath(JoinPath(gApp.programDir, "templates"), name) + "\\";
}
