#include "app/workspace.h"

#include <windowsx.h>

#include <cstring>

#include "app/app_state.h"
#include "controls/window_class.h"
#include "image/dib_draw_win.h"

namespace {

struct WorkspaceState {
    int32_t height = 116;
    OffsetPoint offset = {0, 0};
    OffsetPoint limits = {0, 0}; // minimum x, maximum y
};

// One drag at a time: only the window holding the mouse capture uses this.
struct DragState {
    bool dragging = false;
    POINT last = {0, 0};
    OffsetPoint painted = {0, 0}; // the offset at the last repaint
};
DragState gDrag;

WorkspaceState* StateOf(HWND hwnd) {
    return reinterpret_cast<WorkspaceState*>(GetWindowLongPtrA(hwnd, 0));
}

void PaintEmpty(HWND hwnd, HDC dc, const RECT& client) {
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    FrameRect(dc, &client, GetSysColorBrush(COLOR_BTNSHADOW));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    char text[256] = {};
    int length = GetWindowTextA(hwnd, text, sizeof text);
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text, length, &extent);
    TextOutA(dc, (client.right - extent.cx) / 2, (client.bottom - extent.cy) / 2, text, length);
    SelectObject(dc, oldFont);
}

void OnPaint(HWND hwnd, const WorkspaceState& state) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    const Dib* shown = gApp.shownPicture;
    if (!shown) {
        PaintEmpty(hwnd, dc, client);
    } else if (shown == gApp.WorkPicture()) {
        // Window column c shows picture column c - x, and the bottom of the view lies y
        // rows above the picture's bottom row: exactly the rectangle a skin is cut from.
        // GDI counts source rows from the bottom row as the offset does.
        const OffsetPoint& o = state.offset;
        DibDraw(dc, o.x, 0, 275 - o.x, state.height, shown, 0, o.y, SRCCOPY);
    } else {
        DibDraw(dc, 0, 0, 275, state.height, shown, 0, 0, SRCCOPY);
    }
    EndPaint(hwnd, &ps);
}

void OnLButtonDown(HWND hwnd, const WorkspaceState& state, LPARAM lParam) {
    if (!gApp.shownPicture || gApp.shownPicture != gApp.WorkPicture()) {
        return;
    }
    gDrag.last = {LOWORD(lParam), HIWORD(lParam)};
    gDrag.painted = state.offset;
    gDrag.dragging = true;
    SetCapture(hwnd);
}

void OnMouseMove(HWND hwnd, WorkspaceState& state, LPARAM lParam) {
    if (!gDrag.dragging) {
        return;
    }
    // Positions read as unsigned 16-bit numbers: a pointer left of or above the window
    // reads as a large number and falls outside the window, so the move is ignored.
    RECT hit = {0, 0, 275, state.height};
    POINT p = {LOWORD(lParam), HIWORD(lParam)};
    if (!PtInRect(&hit, p) || (p.x == gDrag.last.x && p.y == gDrag.last.y)) {
        return;
    }
    // The picture follows the pointer: right or down moves it right or down.
    state.offset.x += p.x - gDrag.last.x;
    state.offset.y += p.y - gDrag.last.y;
    if (state.offset.x > 0) {
        state.offset.x = 0;
    }
    if (state.offset.x < state.limits.x) {
        state.offset.x = state.limits.x;
    }
    if (state.offset.y > state.limits.y) {
        state.offset.y = state.limits.y;
    }
    if (state.offset.y < 0) {
        state.offset.y = 0;
    }
    gDrag.last = p;
    if (state.offset.x != gDrag.painted.x || state.offset.y != gDrag.painted.y) {
        InvalidateRect(hwnd, nullptr, TRUE);
        gDrag.painted = state.offset;
    }
    SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), kWorkspaceMoved),
                 LPARAM(hwnd));
}

void OnLButtonUp() {
    if (gDrag.dragging) {
        ReleaseCapture();
        gDrag.dragging = false;
    }
}

LRESULT CALLBACK WorkspaceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WorkspaceState* state = StateOf(hwnd);
    switch (msg) {
    case WM_CREATE:
        state = new (std::nothrow) WorkspaceState;
        if (!state) {
            return -1; // a workspace without its state cannot be used: fail the creation
        }
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(state));
        gDrag.dragging = false;
        return 0;
    case WM_DESTROY:
        delete state;
        SetWindowLongPtrA(hwnd, 0, 0);
        return 0;
    }
    if (!state) {
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_PAINT:
        OnPaint(hwnd, *state);
        return 0;
    case WM_ERASEBKGND:
        return 1; // painting covers the whole client area
    case WM_LBUTTONDOWN:
        OnLButtonDown(hwnd, *state, lParam);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(hwnd, *state, lParam);
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp();
        return 0;
    case WSM_SETHEIGHT:
        state->height = int32_t(wParam);
        return 0;
    case WSM_GETOFFSET:
        return reinterpret_cast<LRESULT>(&state->offset);
    case WSM_SETOFFSET:
        std::memcpy(&state->offset, reinterpret_cast<const void*>(wParam), sizeof(OffsetPoint));
        if (lParam) {
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    case WSM_SETLIMITS:
        std::memcpy(&state->limits, reinterpret_cast<const void*>(wParam), sizeof(OffsetPoint));
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

ATOM RegisterWorkspaceClass(HINSTANCE instance) {
    return RegisterChildClass(instance, kWorkspaceClass, WorkspaceProc, sizeof(WorkspaceState*));
}

OffsetPoint GetWorkspaceOffset(HWND workspace) {
    auto* p = reinterpret_cast<const OffsetPoint*>(SendMessageA(workspace, WSM_GETOFFSET, 0, 0));
    return p ? *p : OffsetPoint{0, 0};
}
