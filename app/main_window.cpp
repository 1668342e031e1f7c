#include "app/main_window.h"

#include <shellapi.h>

#include "app/about_box.h"
#include "app/app_state.h"
#include "app/panel_kit.h"
#include "app/picture_commands.h"
#include "app/project_option_dialog.h"
#include "app/resource.h"
#include "app/save_dialog.h"
#include "app/settings.h"
#include "app/side_panels.h"
#include "app/template_panel.h"
#include "app/workspace.h"
#include "image/dib_draw_win.h"

namespace {

struct ChildSpec {
    const char* className;
    const char* text;
    int x, y, width, height; // in pixels
    int id;
    bool visible;
};

void CreateChildWindows(HWND hwnd) {
    const POINT o = PreviewOrigin();
    const ChildSpec children[] = {
        {kWorkspaceClass, "Main Skin", o.x, o.y, 275, 116, IDC_WS_MAIN, true},
        {kWorkspaceClass, "Equalizer", o.x, o.y + 116, 275, 116, IDC_WS_EQUALIZER, true},
        {kWorkspaceClass, "Playlist", o.x, o.y + 232, 275, 116, IDC_WS_PLAYLIST, true},
        {kWorkspaceClass, "Skin Workspace...", o.x, o.y, 275, 348, IDC_WS_SKIN, true},
        {kTemplatePanelClass, nullptr, Px(325), Px(18), Px(200), Px(96), IDC_TEMPLATE_PANEL, true},
        {kImageSetPanelClass, nullptr, Px(325), Px(118), Px(200), Px(268), IDC_IMAGESET_PANEL,
         true},
        {kSkinSetPanelClass, nullptr, Px(325), Px(118), Px(200), Px(268), IDC_SKINSET_PANEL, false},
    };
    HWND made[7] = {};
    for (int i = 0; i < 7; i++) {
        const ChildSpec& c = children[i];
        DWORD style = WS_CHILD | (c.visible ? WS_VISIBLE : 0);
        // The panels hold controls that Tab and Shift+Tab move through as in a dialog.
        DWORD exStyle = c.className == kWorkspaceClass ? 0 : WS_EX_CONTROLPARENT;
        made[i] =
            CreateWindowExA(exStyle, c.className, c.text, style, c.x, c.y, c.width, c.height, hwnd,
                            reinterpret_cast<HMENU>(INT_PTR(c.id)), gApp.instance, nullptr);
    }
    for (int i = 0; i < 4; i++) {
        gApp.workspaces[i] = made[i];
    }
    gApp.templatePanel = made[4];
    gApp.imageSetPanel = made[5];
    gApp.skinSetPanel = made[6];
    SendMessageA(gApp.workspaces[3], WSM_SETHEIGHT, 348, 0);
}

// In Tile mode a band dragged in one window moves the other two identically.
void SyncTiles(HWND sender) {
    if (gApp.adjustmentMode != AdjustmentMode::Tile) {
        return;
    }
    OffsetPoint offset = GetWorkspaceOffset(sender);
    for (int i = 0; i < 3; i++) {
        if (gApp.workspaces[i] != sender) {
            SendMessageA(gApp.workspaces[i], WSM_SETOFFSET, WPARAM(&offset), 1);
        }
    }
}

void OnCommand(HWND hwnd, WORD id, WORD code, HWND sender) {
    switch (id) {
    case IDM_OPEN: {
        std::string path;
        if (ChoosePictureFile(hwnd, &path)) {
            OpenChosenPicture(hwnd, path);
        }
        ShowCommandState(); // a cancelled dialog keeps a made skin and its button
        break;
    }
    case IDM_SAVE:
        SaveSkinSet(hwnd);
        break;
    case IDM_EXIT:
        DestroyWindow(hwnd);
        break;
    case IDM_SUGGEST:
        SuggestDesignNow(hwnd);
        break;
    case IDM_MAKESKIN:
    case IDM_UNDOSKIN:
        ToggleMakeSkin();
        break;
    case IDM_ABOUT:
        ShowAboutBox(hwnd);
        break;
    case IDM_OPTION:
        // New options show at once: a made skin is made again from the current template.
        if (ProjectOptionDialog(hwnd) == IDOK && gApp.SkinMade()) {
            ReadTemplateSelection();
            MakeSkinNow();
        }
        break;
    case IDC_WS_MAIN:
    case IDC_WS_EQUALIZER:
    case IDC_WS_PLAYLIST:
        if (code == kWorkspaceMoved) {
            SyncTiles(sender);
        }
        break;
    }
}

// The sample playlist on the playlist preview, in the playlist font and colours, at 1:1
// like the preview under it.
void PaintSamplePlaylist(HDC dc, int x0, int y0) {
    HFONT font = CreateFontA(-11, 0, 0, 0, 0, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                             gApp.playlist.fontName.c_str());
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SIZE extent = {};
    GetTextExtentPoint32A(dc, "A", 1, &extent);
    const int line = extent.cy;
    DibDraw(dc, x0, y0, 275, 116, gApp.skin->playlistPreview.get(), 0, 0, SRCCOPY);
    auto fill = [&](int left, int top, int right, int bottom, COLORREF color) {
        RECT r = {x0 + left, y0 + top, x0 + right, y0 + bottom};
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    };
    fill(12, 20, 255, 78, gApp.playlist.normalBack);
    fill(12, 22 + 2 * line, 255, 22 + 3 * line, gApp.playlist.selectedBack);
    struct Line {
        const char* title;
        const char* time;
    } lines[4] = {{"1. First Song", "4:19"},
                  {"2. Second Song", "4:16"},
                  {"3. Third Song", "4:21"},
                  {"4. Fourth Song", "4:00"}};
    int count = 4 * line <= 56 ? 4 : 3; // a fourth line only where it fits the list
    for (int i = 0; i < count; i++) {
        int y = y0 + 22 + i * line;
        SetTextColor(dc, i == 0 ? gApp.playlist.currentText : gApp.playlist.normalText);
        SetTextAlign(dc, TA_LEFT);
        TextOutA(dc, x0 + 15, y, lines[i].title, lstrlenA(lines[i].title));
        SetTextAlign(dc, TA_RIGHT);
        TextOutA(dc, x0 + 250, y, lines[i].time, lstrlenA(lines[i].time));
    }
    SetTextAlign(dc, TA_LEFT);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

void PaintMainWindow(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &client, EDGE_ETCHED, BF_TOP);
    RECT field = {Px(20), Px(18), Px(315), Px(386)};
    DrawEdge(dc, &field, EDGE_SUNKEN, BF_RECT);
    InflateRect(&field, -2, -2);
    HBRUSH teal = CreateSolidBrush(RGB(0, 128, 128));
    FillRect(dc, &field, teal);
    DeleteObject(teal);
    if (gApp.skin) {
        const std::array<int, 3>& order = gApp.skinOrder;
        const POINT o = PreviewOrigin();
        if (gApp.skin->mainPreview) {
            DibDraw(dc, o.x, o.y + 116 * order[0], 275, 116, gApp.skin->mainPreview.get(), 0, 0,
                    SRCCOPY);
        }
        if (gApp.skin->equalizerPreview) {
            DibDraw(dc, o.x, o.y + 116 * order[1], 275, 116, gApp.skin->equalizerPreview.get(), 0,
                    0, SRCCOPY);
        }
        if (gApp.skin->playlistPreview) {
            PaintSamplePlaylist(dc, o.x, o.y + 116 * order[2]);
        }
    }
    EndPaint(hwnd, &ps);
}

// Keyboard focus: the control that had it comes back when the window is activated again.
HWND gFocusBeforeDeactivation = nullptr;

void OnActivate(HWND hwnd, bool active) {
    if (!active) {
        HWND focus = GetFocus();
        gFocusBeforeDeactivation = focus && IsChild(hwnd, focus) ? focus : nullptr;
    }
}

void OnSetFocus(HWND hwnd) {
    HWND target = gFocusBeforeDeactivation;
    if (!target || !IsChild(hwnd, target) || !IsWindowVisible(target) || !IsWindowEnabled(target)) {
        target = GetNextDlgTabItem(hwnd, nullptr, FALSE);
    }
    if (target && target != hwnd) {
        SetFocus(target);
    }
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        gApp.mainWindow = hwnd;
        LoadSettings();
        CreateChildWindows(hwnd);
        DragAcceptFiles(hwnd, TRUE);
        return 0;
    case WM_DESTROY:
        FreeBitmaps(true);
        SaveSettings();
        gApp.mainWindow = nullptr;
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        PaintMainWindow(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1; // painting covers the whole client area
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        const SIZE size = MainWindowSize();
        info->ptMinTrackSize = {size.cx, size.cy};
        info->ptMaxTrackSize = {size.cx, size.cy};
        return 0;
    }
    case WM_NCHITTEST: {
        // The sizing frame stays but neither sizes nor shows sizing cursors.
        LRESULT hit = DefWindowProcA(hwnd, msg, wParam, lParam);
        return hit >= HTLEFT && hit <= HTBOTTOMRIGHT ? HTCLIENT : hit;
    }
    case WM_COMMAND:
        OnCommand(hwnd, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_INITMENU:
        ShowCommandState();
        return 0;
    case WM_ACTIVATE:
        OnActivate(hwnd, LOWORD(wParam) != WA_INACTIVE);
        break; // the default handling gives the window the focus, and so OnSetFocus runs
    case WM_SETFOCUS:
        OnSetFocus(hwnd);
        return 0;
    case WM_DROPFILES: {
        // A picture dropped on the window opens as if chosen in the Open dialog; of several,
        // the first.
        auto drop = reinterpret_cast<HDROP>(wParam);
        char path[MAX_PATH] = {};
        UINT length = DragQueryFileA(drop, 0, path, sizeof path);
        DragFinish(drop);
        if (length > 0 && length < sizeof path) {
            SetForegroundWindow(hwnd);
            OpenChosenPicture(hwnd, path);
        }
        return 0;
    }
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

ATOM RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_KORVANE));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszMenuName = MAKEINTRESOURCEA(IDM_MAIN);
    wc.lpszClassName = kMainWindowClass;
    return RegisterClassA(&wc);
}

SIZE MainWindowSize() {
    RECT r = {0, 0, Px(kMainClientWidth), Px(kMainClientHeight)};
    AdjustWindowRectEx(&r, kMainWindowStyle, TRUE, 0);
    return {r.right - r.left, r.bottom - r.top};
}

void OpenChosenPicture(HWND mainWindow, const std::string& path) {
    OpenPicturePath(mainWindow, path);
    ShowCommandState();
}
