#pragma once

// Driving the program's modal dialogs from a test, without a person: a thread timer fires
// inside the dialog's own modal loop, finds the dialog by its caption and runs a script
// against it. A dialog that never shows, or is still open after its script, is ended and
// the outcome says so.

#include <windows.h>

#include <functional>

constexpr INT_PTR kAbandoned = 0x7AB; // the result of a dialog the driver had to end

using Script = std::function<void(HWND dialog)>;

struct Drive {
    const char* caption = nullptr;
    Script script;
    HWND dialog = nullptr;
    bool running = false;
    bool ran = false;
    bool leftOpen = false;
    bool timedOut = false;
    int ticks = 0;
};

// Runs `open`, which shows the dialog modally, while `script` drives it. A null caption
// takes the first dialog that shows. Drives nest: a script may open another driven dialog.
Drive RunDriven(const char* caption, Script script, const std::function<void()>& open);

// The script ran and its last click closed the dialog.
void ExpectClosedByScript(const Drive& drive);

// Drags in a drag list: the list measures the cursor itself (GetCursorPos), so the pointer
// really moves while the button messages go to the list.
enum class Spot { Item, Above, Below, Left, Right, Gap };

struct Target {
    Spot spot;
    int index; // for Spot::Item
};

inline Target OnItem(int index) {
    return {Spot::Item, index};
}
inline Target At(Spot spot) {
    return {spot, -1};
}

// The spot in the list's client coordinates.
POINT SpotPoint(HWND list, Target target);

enum class Ending { Drop, Escape, RightButton };

void Drag(HWND list, Target from, Target to, Ending ending = Ending::Drop);
