#pragma once

// Driving modal dialogs from a test, without a person: a thread timer fires inside the
// dialog's own modal loop, finds the dialog once it is ready and runs a script against it.
// A dialog that never shows, or is still open after its script, is ended and the outcome
// says so. Drives nest: a script may open another driven dialog.

#include <windows.h>

#include <functional>
#include <string>

constexpr INT_PTR kAbandoned = 0x7AB; // the result of a dialog the driver had to end

using Script = std::function<void(HWND dialog)>;

struct Drive {
    const char* caption = nullptr; // null: any caption
    HWND owner = nullptr;          // when set, only a dialog this window owns
    Script script;
    HWND dialog = nullptr;
    bool running = false, ran = false, leftOpen = false, timedOut = false;
    int ticks = 0;
};

// Runs `open`, which shows the dialog modally, while `script` drives it. A dialog without a
// caption of ours (the system's folder browser) is found by its owner, once its tree is filled.
Drive RunDriven(const char* caption, Script script, const std::function<void()>& open,
                HWND owner = nullptr);

// RunDriven for a script that ends the dialog itself, checked to have done so.
void RunScript(const char* caption, const std::function<void()>& open, Script script,
               HWND owner = nullptr);

// Selects a folder in the system's folder browser, asking again until its tree shows it
// selected; says whether it did.
bool ChooseFolder(HWND browser, const std::string& path);

std::string FieldText(HWND dialog, int id);
void TypeInto(HWND dialog, int id, const std::string& text);
void Press(HWND dialog, int id); // a button

// Drags in a drag list from one place to another: an item's index, or a place off the items
// (the gap is the first row below the last item). The list measures the cursor itself
// (GetCursorPos), so the pointer really moves while the button messages go to the list.
enum Spot { kAbove = -1, kBelow = -2, kRight = -3, kGap = -4 };
enum class Ending { Drop, Escape, RightButton };
void Drag(HWND list, int from, int to, Ending ending = Ending::Drop);
