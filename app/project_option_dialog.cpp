#include "app/project_option_dialog.h"

#include <commctrl.h>

#include <array>

#include "app/app_state.h"
#include "app/resource.h"

namespace {

// Indexed like AppState::skinOrder: Main, Equalizer, Playlist.
constexpr const char* kSkinBandNames[] = {"Main", "Equalizer", "Playlist"};
constexpr int kBandCount = 3;
// Holds the longest band name with its terminator; the list holds nothing else.
constexpr int kBandNameCapacity = 32;

// The name comctl32 registers its drag list message under (DRAGLISTMSGSTRING, spelled out
// because the header's macro follows the UNICODE setting).
constexpr char kDragListMessageName[] = "commctrl_DragListMsg";
// The number comctl32 sends drag list notifications with; registered when the dialog first
// opens, and the same number every time after.
UINT gDragListMessage = 0;

struct ProjectOptionDialogData {
    bool showVis = false;
    bool swapRedBlue = false;
    bool hideBalance = false;
    std::array<int, 3> order = {0, 1, 2}; // position from the top, by band
    int dragSourceIndex = -1;             // the item a drag began on, -1 for none
};

HINSTANCE ResourceInstance() {
    // The dialog templates are linked into the program itself.
    return gApp.instance ? gApp.instance : GetModuleHandleA(nullptr);
}

void FillOrderList(HWND list, const std::array<int, 3>& order) {
    // A position no band holds is skipped.
    for (int position = 0; position < kBandCount; position++) {
        for (int band = 0; band < kBandCount; band++) {
            if (order[band] == position) {
                SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kSkinBandNames[band]));
            }
        }
    }
}

void OnInitDialog(HWND dlg, ProjectOptionDialogData* data) {
    SetWindowLongPtrA(dlg, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    CheckDlgButton(dlg, IDC_OPTION_SHOWVIS, data->showVis ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dlg, IDC_OPTION_SWAPRB, data->swapRedBlue ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dlg, IDC_OPTION_HIDEBALANCE, data->hideBalance ? BST_CHECKED : BST_UNCHECKED);
    InitCommonControls();
    HWND list = GetDlgItem(dlg, IDC_OPTION_ORDER);
    MakeDragList(list);
    gDragListMessage = RegisterWindowMessageA(kDragListMessageName);
    FillOrderList(list, data->order);
}

// The drop rules: the index under the cursor is taken before the dragged item is removed,
// so an item dropped on a lower one lands just below it and on a higher one just above it.
// A drop outside the items (index -1) deletes the item and appends it, leaving no selection.
void OnDropped(HWND list, ProjectOptionDialogData* data, POINT cursor) {
    int target = LBItemFromPt(list, cursor, FALSE);
    int source = data->dragSourceIndex;
    if (source == -1 || target == source) {
        return;
    }
    char name[kBandNameCapacity] = {};
    SendMessageA(list, LB_GETTEXT, WPARAM(source), reinterpret_cast<LPARAM>(name));
    SendMessageA(list, LB_DELETESTRING, WPARAM(source), 0);
    SendMessageA(list, LB_INSERTSTRING, WPARAM(target), reinterpret_cast<LPARAM>(name));
    SendMessageA(list, LB_SETCURSEL, WPARAM(target), 0);
}

// Answers one drag list notification; returns whether the dialog procedure handled it.
bool OnDragList(HWND dlg, ProjectOptionDialogData* data, const DRAGLISTINFO* info) {
    switch (info->uNotification) {
    case DL_BEGINDRAG:
        data->dragSourceIndex = LBItemFromPt(info->hWnd, info->ptCursor, FALSE);
        // A dialog procedure hands its answer back through DWLP_MSGRESULT; TRUE lets the
        // drag begin.
        SetWindowLongPtrA(dlg, DWLP_MSGRESULT, TRUE);
        return true;
    case DL_DROPPED:
        OnDropped(info->hWnd, data, info->ptCursor);
        return true;
    }
    // DL_DRAGGING and DL_CANCELDRAG: answer 0, so the cursor stays as it is and no
    // insertion mark is drawn.
    return false;
}

void OnOk(HWND dlg, ProjectOptionDialogData* data) {
    data->showVis = IsDlgButtonChecked(dlg, IDC_OPTION_SHOWVIS) == BST_CHECKED;
    data->swapRedBlue = IsDlgButtonChecked(dlg, IDC_OPTION_SWAPRB) == BST_CHECKED;
    data->hideBalance = IsDlgButtonChecked(dlg, IDC_OPTION_HIDEBALANCE) == BST_CHECKED;
    for (int band = 0; band < kBandCount; band++) {
        // The search starts after index 0 and wraps, and the names are distinct, so each
        // finds its own item.
        data->order[band] =
            int(SendDlgItemMessageA(dlg, IDC_OPTION_ORDER, LB_FINDSTRINGEXACT, 0,
                                    reinterpret_cast<LPARAM>(kSkinBandNames[band])));
    }
    EndDialog(dlg, 1);
}

INT_PTR CALLBACK ProjectOptionDialogProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = reinterpret_cast<ProjectOptionDialogData*>(GetWindowLongPtrA(dlg, GWLP_USERDATA));
    // The drag list message is registered at run time, so it cannot be a case label.
    if (message == gDragListMessage && gDragListMessage != 0) {
        if (!data) {
            return FALSE;
        }
        return OnDragList(dlg, data, reinterpret_cast<const DRAGLISTINFO*>(lParam)) ? TRUE : FALSE;
    }
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dlg, reinterpret_cast<ProjectOptionDialogData*>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (!data) {
            return FALSE;
        }
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOk(dlg, data);
            return TRUE;
        case IDCANCEL:
            // The reordered list and the check boxes are thrown away.
            EndDialog(dlg, 0);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

} // namespace

INT_PTR ProjectOptionDialog(HWND owner) {
    ProjectOptionDialogData data;
    data.showVis = gApp.options.showVis;
    data.swapRedBlue = gApp.options.swapRedBlue;
    data.hideBalance = gApp.options.hideBalance;
    data.order = gApp.skinOrder;
    INT_PTR result = DialogBoxParamA(ResourceInstance(), MAKEINTRESOURCEA(IDD_PROJECTOPTION), owner,
                                     ProjectOptionDialogProc, reinterpret_cast<LPARAM>(&data));
    if (result != 1) {
        return IDCANCEL;
    }
    gApp.options.showVis = data.showVis;
    gApp.options.swapRedBlue = data.swapRedBlue;
    gApp.options.hideBalance = data.hideBalance;
    gApp.skinOrder = data.order;
    return IDOK;
}
