#include "tests/win32/app_harness.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <filesystem>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/picture_commands.h"
#include "app/side_panels.h"
#include "app/startup.h"
#include "image/bmp_file.h"
#include "tests/unit/test_util.h"

static AppRun* gRun = nullptr;

// The runner of the desktop program's tests: the program's window classes, then every test.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!RegisterWindowClasses(GetModuleHandleA(nullptr))) {
        return 1;
    }
    return RUN_ALL_TESTS();
}

int AppRun::Hook(HWND owner, const char* text, const char* caption, UINT type) {
    gRun->messages_.push_back({owner, text ? text : "", caption ? caption : "", type});
    if (gRun->answers_.empty()) {
        return IDOK;
    }
    int answer = gRun->answers_.front();
    gRun->answers_.pop_front();
    return answer;
}

// The run's folder is new and empty in the temporary folder, and the working directory, as
// the program is started from a folder of the user's choosing; it is kept in the form
// GetCurrentDirectoryA gives (the form the program stores).
AppRun::AppRun(const std::function<void(const std::string& folder)>& prepare)
    : previousDir_(CurrentDir()) {
    static int counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "korvane-app-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(++counter);
    EXPECT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr) &&
                SetCurrentDirectoryA(folder_.c_str()));
    folder_ = CurrentDir();
    gRun = this;
    SetMessageBoxHook(&AppRun::Hook);
    if (prepare) {
        prepare(folder_);
    }
    ResetProgramState();
    main_ = CreateMainWindow(gApp.instance, SW_SHOWNORMAL);
    Pump();
}

AppRun::~AppRun() {
    DestroyWindow(main_); // fails harmlessly when the test closed it
    Pump();
    SetMessageBoxHook(nullptr);
    gRun = nullptr;
    SetCurrentDirectoryA(previousDir_.c_str());
    RemoveTree(folder_);
}

std::string AppRun::WritePicture(const std::string& name, const Dib& picture) {
    std::string path = folder_ + "\\" + name;
    EXPECT_TRUE(DibWriteFile(path.c_str(), &picture));
    return path;
}

void AppRun::Open(const std::string& path) {
    OpenChosenPicture(main_, path);
    Pump();
}

void AppRun::Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void Click(HWND button) {
    SendMessageA(button, BM_CLICK, 0, 0);
    AppRun::Pump();
}

void ChooseMode(int mode) {
    SendMessageA(gApp.modeBox, CB_SETCURSEL, WPARAM(mode), 0);
    SendMessageA(gApp.imageSetPanel, WM_COMMAND, MAKEWPARAM(kModeBoxId, CBN_SELENDOK),
                 LPARAM(gApp.modeBox));
}

void Apply(int scale, int brightness, int contrast) {
    const std::pair<int, int> fields[] = {
        {kScaleFieldId, scale}, {kBrightnessFieldId, brightness}, {kContrastFieldId, contrast}};
    for (auto [id, value] : fields) {
        SendDlgItemMessageA(gApp.imageSetPanel, id, UDM_SETPOS, 0, MAKELPARAM(value, 0));
    }
    Click(GetDlgItem(gApp.imageSetPanel, kApplyButtonId));
}

void Drag(HWND workspace, POINT from, POINT to) {
    SendMessageA(workspace, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    SendMessageA(workspace, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    SendMessageA(workspace, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    AppRun::Pump();
}

std::string WindowText(HWND hwnd) {
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::vector<std::string> ComboItems(HWND box) {
    std::vector<std::string> items;
    for (LRESULT i = 0; i < SendMessageA(box, CB_GETCOUNT, 0, 0); i++) {
        char text[256] = {};
        SendMessageA(box, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
        items.push_back(text);
    }
    return items;
}

RECT RectIn(HWND hwnd, HWND parent) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

HWND Workspace(int id) {
    return GetDlgItem(gApp.mainWindow, id);
}

OffsetPoint Offset(int id) {
    return GetWorkspaceOffset(Workspace(id));
}

std::unique_ptr<Dib> Picture(int32_t width, int32_t height) {
    return MakePattern24(width, height);
}

std::unique_ptr<Dib> Screenshot(HWND hwnd, bool withFrame, bool repaint) {
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_UPDATENOW | RDW_ALLCHILDREN |
                     (repaint ? RDW_INVALIDATE | RDW_ERASE | RDW_FRAME : 0));
    AppRun::Pump();
    RECT area;
    withFrame ? GetWindowRect(hwnd, &area) : GetClientRect(hwnd, &area);
    const int w = area.right - area.left, h = area.bottom - area.top;
    auto shot = DibCreate(w, h, 24);
    HDC windowDc = withFrame ? GetWindowDC(hwnd) : GetDC(hwnd);
    HDC memory = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, windowDc, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    GetDIBits(memory, bitmap, 0, UINT(h), shot->Bytes() + shot->PixelOffset(),
              reinterpret_cast<BITMAPINFO*>(shot->Bytes()), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(hwnd, windowDc);
    return shot;
}

void ResetProgramState() {
    HINSTANCE instance = gApp.instance;
    gApp = AppState();
    gApp.instance = instance;
}

std::string CurrentDir() {
    return std::filesystem::current_path().string();
}

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void WriteText(const std::string& path, const std::string& text) {
    WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
    // The profile functions cache the last file they read; all-null arguments drop the
    // cache, so the next read sees these bytes even within the same clock tick.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

void RemoveTree(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}
