#pragma once

// One run of the desktop program for a test: a fresh folder as the working directory (the
// settings file and templates folder live there), fresh program state, the real main
// window and its children, and every message box answered by the test.

#include <windows.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/workspace.h"
#include "image/dib.h"

struct ShownMessage {
    std::string text;
    std::string caption;
    UINT type;
};

class AppRun {
  public:
    // `prepare` runs in the new folder before the main window exists (write korvane.ini,
    // make template folders...).
    explicit AppRun(void (*prepare)(const std::string& folder) = nullptr);
    ~AppRun();
    AppRun(const AppRun&) = delete;
    AppRun& operator=(const AppRun&) = delete;

    HWND Main() const { return main_; }
    const std::string& Folder() const { return folder_; }

    // Answers for the next message boxes, in order; IDOK when none is queued.
    void Answer(int answer) { answers_.push_back(answer); }
    void ClearMessages() {
        messages_.clear();
        answers_.clear();
    }
    std::vector<ShownMessage>& Messages() { return messages_; }

    // Writes a picture into the run's folder and opens it as the Open command does.
    std::string WritePicture(const std::string& name, const Dib& picture);
    void Open(const std::string& path);

    static void Pump();

    static int HookAnswer(HWND owner, const char* text, const char* caption, UINT type);

  private:
    std::string previousDir_;
    std::string folder_;
    HWND main_ = nullptr;
    std::deque<int> answers_;
    std::vector<ShownMessage> messages_;
};

void ResetProgramState();

// Makes a new empty folder in the temporary folder and makes it the working directory, as
// the program is started from a folder of the user's choosing. Returns it in the form
// GetCurrentDirectoryA gives (the form the program stores); empty on failure.
std::string EnterFreshFolder(const std::string& stem);

// Folders and files as the tests look at them, through the program's own ANSI functions.
std::string CurrentDir();
bool IsFolder(const std::string& path);
bool Exists(const std::string& path);
std::vector<std::string> FolderEntries(const std::string& folder); // sorted, no dot entries
void RemoveTree(const std::string& folder);

// A window's text and class name, and its rectangle in its parent's client coordinates; the
// main window's child with this id, and a workspace window's offset.
std::string WindowText(HWND hwnd);
std::string ClassOf(HWND hwnd);
std::vector<std::string> ComboItems(HWND box);
RECT RectIn(HWND hwnd, HWND parent);
HWND Workspace(int id);
OffsetPoint Offset(int id);

void Drag(HWND workspace, POINT from, POINT to);

// Menu item state as the user sees it once the menu opens.
bool MenuItemGrayed(HWND main, UINT id);

// The core tests' pattern.
std::unique_ptr<Dib> Picture(int32_t width, int32_t height);

// What a window shows on screen right now, as a 24-bit picture: its client area, or with
// its frame, caption and menu. `repaint` false: only what the window itself invalidated.
std::unique_ptr<Dib> Screenshot(HWND hwnd, bool withFrame = false, bool repaint = true);
