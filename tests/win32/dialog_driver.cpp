#include "tests/win32/dialog_driver.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/app_state.h"

namespace {

// Driving a modal dialog from inside its own message loop
//
// A thread timer fires inside whatever modal loop runs on this thread. Once the dialog with
// the wanted caption is visible, the script runs against it, synchronously. A dialog still
// open on the tick after its script, or one that never shows, is ended by the driver and
// the outcome says so: nothing waits for a person.

constexpr UINT kTickMs = 10;
constexpr int kPatienceTicks = 300;

Drive* gDrive = nullptr;

struct DialogQuery {
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM lParam) {
    auto* query = reinterpret_cast<DialogQuery*>(lParam);
    char className[16] = {};
    GetClassNameA(hwnd, className, sizeof className);
    char caption[128] = {};
    GetWindowTextA(hwnd, caption, sizeof caption);
    if (std::strcmp(className, "#32770") == 0 && IsWindowVisible(hwnd) &&
        (!query->caption || std::strcmp(caption, query->caption) == 0)) {
        query->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialog(const char* caption) {
    DialogQuery query{caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

BOOL CALLBACK EndEveryDialog(HWND hwnd, LPARAM) {
    char className[16] = {};
    GetClassNameA(hwnd, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0) {
        EndDialog(hwnd, kAbandoned);
    }
    return TRUE;
}

void CALLBACK DriveTick(HWND, UINT, UINT_PTR, DWORD) {
    Drive* drive = gDrive;
    if (!drive) {
        return;
    }
    if (drive->running) {
        // The script is waiting in a loop of its own that nobody drives.
        if (++drive->ticks > kPatienceTicks) {
            drive->timedOut = true;
            EnumThreadWindows(GetCurrentThreadId(), EndEveryDialog, 0);
        }
        return;
    }
    if (drive->ran) {
        if (IsWindow(drive->dialog)) {
            drive->leftOpen = true;
            EndDialog(drive->dialog, kAbandoned);
        }
        return;
    }
    if (HWND dialog = FindDialog(drive->caption)) {
        drive->dialog = dialog;
        drive->running = true;
        drive->script(dialog);
        drive->running = false;
        drive->ran = true;
    } else if (++drive->ticks > kPatienceTicks) {
        drive->timedOut = true;
        EnumThreadWindows(GetCurrentThreadId(), EndEveryDialog, 0);
    }
}

} // namespace

Drive RunDriven(const char* caption, Script script, const std::function<void()>& open) {
    Drive drive;
    drive.caption = caption;
    drive.script = std::move(script);
    Drive* outer = gDrive; // a script may drive a dialog its own dialog opens
    gDrive = &drive;
    UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, DriveTick);
    open();
    KillTimer(nullptr, timer);
    gDrive = outer;
    drive.script = nullptr;
    return drive;
}

// The script ran and its last click closed the dialog.
void ExpectClosedByScript(const Drive& drive) {
    EXPECT_TRUE(drive.ran);
    EXPECT_FALSE(drive.leftOpen);
    EXPECT_FALSE(drive.timedOut);
}

// Where the mouse goes in a drag: an item's middle, or a place off the items.
POINT SpotPoint(HWND list, Target target) {
    RECT client;
    GetClientRect(list, &client);
    RECT item = {};
    switch (target.spot) {
    case Spot::Item:
        SendMessageA(list, LB_GETITEMRECT, WPARAM(target.index), LPARAM(&item));
        return {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    case Spot::Above:
        return {client.right / 2, -8};
    case Spot::Below:
        return {client.right / 2, client.bottom + 8};
    case Spot::Left:
        return {-12, client.bottom / 2};
    case Spot::Right:
        return {client.right + 12, client.bottom / 2};
    case Spot::Gap: {
        // The first row below the last item (item rectangles exclude their bottom edge).
        int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
        SendMessageA(list, LB_GETITEMRECT, WPARAM(count - 1), LPARAM(&item));
        return {client.right / 2, item.bottom};
    }
    }
    return {};
}

// The drag list measures the cursor itself (GetCursorPos), so the pointer really moves and
// the buttons are pressed on the list.
namespace {

void PointAt(HWND list, POINT client) {
    POINT screen = client;
    ClientToScreen(list, &screen);
    SetCursorPos(screen.x, screen.y);
    POINT now = {};
    GetCursorPos(&now);
    EXPECT_EQ(now.x, screen.x);
    EXPECT_EQ(now.y, screen.y);
}

} // namespace

void Drag(HWND list, Target from, Target to, Ending ending) {
    POINT start = SpotPoint(list, from);
    POINT end = SpotPoint(list, to);
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
