#include "tests/win32/dialog_driver.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <tuple>

#include "tests/win32/app_harness.h"

namespace {

constexpr UINT kTickMs = 10;
constexpr int kPatienceTicks = 300;

Drive* gDrive = nullptr;

// The system's folder browser fills its tree after it shows, and the first selection asked
// of it in a fresh setting may be lost; it is driven once its tree holds more than its root,
// and asked again until the folder shows selected. Our dialogs hold no tree.
HWND Tree(HWND dialog) {
    return FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr);
}

BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM lParam) {
    auto* drive = reinterpret_cast<Drive*>(lParam);
    bool ready = !Tree(hwnd) || TreeView_GetCount(Tree(hwnd)) > 1;
    if (ClassOf(hwnd) == "#32770" && IsWindowVisible(hwnd) && ready &&
        (!drive->caption || WindowText(hwnd) == drive->caption) &&
        (!drive->owner || GetWindow(hwnd, GW_OWNER) == drive->owner)) {
        drive->dialog = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK EndEveryDialog(HWND hwnd, LPARAM) {
    if (ClassOf(hwnd) == "#32770") {
        EndDialog(hwnd, kAbandoned);
    }
    return TRUE;
}

void CALLBACK DriveTick(HWND, UINT, UINT_PTR, DWORD) {
    Drive* drive = gDrive;
    if (drive && drive->ran && IsWindow(drive->dialog)) {
        drive->leftOpen = true;
        EndDialog(drive->dialog, kAbandoned);
    }
    if (!drive || drive->ran) {
        return;
    }
    if (!drive->dialog) {
        EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(drive));
    }
    if (drive->dialog && !drive->running) {
        drive->running = true;
        drive->script(drive->dialog);
        drive->running = false;
        drive->ran = true;
    } else if (++drive->ticks > kPatienceTicks) {
        // A dialog that never shows, or a script waiting in a loop nobody drives: every dialog
        // ends.
        drive->timedOut = true;
        EnumThreadWindows(GetCurrentThreadId(), EndEveryDialog, 0);
    }
}

} // namespace

Drive RunDriven(const char* caption, Script script, const std::function<void()>& open, HWND owner) {
    Drive drive{caption, owner, std::move(script)};
    Drive* outer = gDrive;
    gDrive = &drive;
    UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, DriveTick);
    open();
    KillTimer(nullptr, timer);
    gDrive = outer;
    drive.script = nullptr;
    return drive;
}

void RunScript(const char* caption, const std::function<void()>& open, Script script, HWND owner) {
    const Drive drive = RunDriven(caption, std::move(script), open, owner);
    EXPECT_EQ(std::tuple(drive.ran, drive.leftOpen, drive.timedOut), std::tuple(true, false, false))
        << "(ran, left waiting for a person, timed out)";
}

// Asks for the selection and runs this thread's messages until the tree shows it, for three
// seconds at most.
bool ChooseFolder(HWND browser, const std::string& path) {
    const std::string name = path.substr(path.find_last_of('\\') + 1);
    for (DWORD start = GetTickCount(); GetTickCount() - start <= 3000; Sleep(5)) {
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, LPARAM(path.c_str()));
        char text[MAX_PATH] = {};
        TVITEMA item = {};
        item.mask = TVIF_TEXT;
        item.hItem = TreeView_GetSelection(Tree(browser));
        item.pszText = text;
        item.cchTextMax = sizeof text;
        if (item.hItem && TreeView_GetItem(Tree(browser), &item) &&
            _stricmp(text, name.c_str()) == 0) {
            return true;
        }
        for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return false;
}

std::string FieldText(HWND dialog, int id) {
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void TypeInto(HWND dialog, int id, const std::string& text) {
    SetDlgItemTextA(dialog, id, text.c_str());
}

void Press(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

namespace {

// Where the mouse goes in a drag: an item's middle, or a place off the items, in the order of
// Spot; item rectangles exclude their bottom row.
POINT SpotPoint(HWND list, int target) {
    RECT c, item = {};
    GetClientRect(list, &c);
    const LRESULT last = SendMessageA(list, LB_GETCOUNT, 0, 0) - 1;
    SendMessageA(list, LB_GETITEMRECT, WPARAM(target >= 0 ? target : last), LPARAM(&item));
    const POINT points[] = {{(item.left + item.right) / 2, (item.top + item.bottom) / 2},
                            {c.right / 2, -8},
                            {c.right / 2, c.bottom + 8},
                            {c.right + 12, c.bottom / 2},
                            {c.right / 2, item.bottom}};
    return points[target >= 0 ? 0 : -target];
}

void PointAt(HWND list, POINT client) {
    ClientToScreen(list, &client);
    SetCursorPos(client.x, client.y);
}

} // namespace

void Drag(HWND list, int from, int to, Ending ending) {
    const POINT start = SpotPoint(list, from), end = SpotPoint(list, to);
    PointAt(list, start);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
    PointAt(list, end);
    SendMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(end.x, end.y));
    if (ending == Ending::Escape) {
        SendMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0);
    } else if (ending == Ending::RightButton) {
        SendMessageA(list, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(end.x, end.y));
        SendMessageA(list, WM_RBUTTONUP, MK_LBUTTON, MAKELPARAM(end.x, end.y));
    }
    SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(end.x, end.y));
}
