#include "app/about_box.h"

#include "app/app_state.h"
#include "app/resource.h"

namespace {

constexpr char kVersionText[] = "Version " KORVANE_VERSION;

INT_PTR CALLBACK AboutBoxProc(HWND dlg, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        // The version comes from resource.h, the one place it is kept.
        SetDlgItemTextA(dlg, IDC_ABOUT_VERSION, kVersionText);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
            EndDialog(dlg, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

void ShowAboutBox(HWND owner) {
    HINSTANCE instance = gApp.instance ? gApp.instance : GetModuleHandleA(nullptr);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutBoxProc, 0);
}
