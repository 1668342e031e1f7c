#pragma once

// One run of the desktop program: a fresh working folder (for korvane.ini and templates),
// fresh program state, the real main window, and every message box answered by the test.

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/workspace.h"
#include "image/dib.h"

struct ShownMessage {
    HWND owner;
    std::string text, caption;
    UINT type;
};

class AppRun {
  public:
    // `prepare` runs in the new folder before the main window exists.
    explicit AppRun(const std::function<void(const std::string& folder)>& prepare = nullptr);
    ~AppRun();

    HWND Main() const { return main_; }
    const std::string& Folder() const { return folder_; }

    // While the run lives, every message box is recorded and answered by the test, from the
    // queued answers in order, IDOK when none is queued.
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

  private:
    static int Hook(HWND owner, const char* text, const char* caption, UINT type);
    std::deque<int> answers_;
    std::vector<ShownMessage> messages_;
    std::string previousDir_, folder_;
    HWND main_ = nullptr;
};

void ResetProgramState();

// FolderEntries sorted, without dot entries; RemoveTree takes a file or a whole folder.
std::string CurrentDir();
bool IsFolder(const std::string& path);
bool Exists(const std::string& path);
std::vector<std::string> FolderEntries(const std::string& folder);
void RemoveTree(const std::string& folder);
// Writes a file that the profile functions may have read before.
void WriteText(const std::string& path, const std::string& text);

// RectIn is in the parent's client coordinates; Workspace(id) is the main window's child.
std::string WindowText(HWND hwnd);
std::string ClassOf(HWND hwnd);
std::vector<std::string> ComboItems(HWND box);
RECT RectIn(HWND hwnd, HWND parent);
HWND Workspace(int id);
OffsetPoint Offset(int id);

void Drag(HWND workspace, POINT from, POINT to);
// A button clicked, a mode chosen in the Image Set panel's box, and Apply with these values.
void Click(HWND button);
void ChooseMode(int mode);
void Apply(int scale, int brightness, int contrast);
std::unique_ptr<Dib> Picture(int32_t width, int32_t height); // the core tests' pattern

// What a window's client area (or all of it) shows now, as a 24-bit picture; `repaint`
// false: only what the window itself invalidated.
std::unique_ptr<Dib> Screenshot(HWND hwnd, bool withFrame = false, bool repaint = true);
