#include "app/settings.h"

#include <windows.h>

#include <string>

#include "app/app_state.h"

namespace {

constexpr char kSection[] = "Korvane";
constexpr char kSettingsFileName[] = "korvane.ini";
constexpr char kTemplatesFolderName[] = "templates";
constexpr char kDefaultWinampDir[] = "c:\\program files\\winamp";
constexpr char kDefaultTitleText[] = "created by Korvane";

// Buffer sizes the values are read into: a path of MAX_PATH, a title of 79 characters and
// its terminator. GetPrivateProfileStringA cuts a longer value to fit.
constexpr DWORD kPathCapacity = MAX_PATH;
constexpr DWORD kTitleCapacity = 80;

constexpr int kDefaultGenBalance = 1;
constexpr int kDefaultShowVis = 0;
constexpr int kDefaultSwapRedBlue = 0;
constexpr int kDefaultHideBalance = 0;
constexpr int kDefaultTemplateIndex = 0;
constexpr int kDefaultTitleAlign = 0;
constexpr int kDefaultTitleColor = 1;

std::string SettingsFilePath() {
    return JoinPath(gApp.programDir, kSettingsFileName);
}

std::string ReadString(const std::string& file, const char* key, const std::string& fallback,
                       DWORD capacity) {
    std::string value(capacity, '\0');
    DWORD length = GetPrivateProfileStringA(kSection, key, fallback.c_str(), value.data(), capacity,
                                            file.c_str());
    value.resize(length);
    return value;
}

// GetPrivateProfileIntA hands back a UINT; a negative number in the file comes through as
// its two's complement, so the cast gives the signed value written.
int ReadInt(const std::string& file, const char* key, int fallback) {
    return static_cast<int>(GetPrivateProfileIntA(kSection, key, fallback, file.c_str()));
}

void WriteString(const std::string& file, const char* key, const std::string& value) {
    WritePrivateProfileStringA(kSection, key, value.c_str(), file.c_str());
}

void WriteInt(const std::string& file, const char* key, int value) {
    WriteString(file, key, std::to_string(value));
}

std::string CurrentDirectory() {
    char buffer[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH) {
        return std::string();
    }
    return std::string(buffer, length);
}

} // namespace

void LoadSettings() {
    gApp.winampDir = kDefaultWinampDir;
    gApp.programDir = CurrentDirectory();
    gApp.templatePath = JoinPath(gApp.programDir, kTemplatesFolderName);
    // Entering the folder is the cheapest test that it exists. A folder that is only being
    // created now is not entered: the working directory then stays in the program folder.
    if (!SetCurrentDirectoryA(gApp.templatePath.c_str())) {
        CreateDirectoryA(gApp.templatePath.c_str(), nullptr);
    }

    const std::string file = SettingsFilePath();
    // The program writes "Winamp_dir"; the profile functions match keys regardless of case.
    gApp.winampDir = ReadString(file, "Winamp_Dir", gApp.winampDir, kPathCapacity);
    gApp.options.genBalance = ReadInt(file, "Gen_Balance", kDefaultGenBalance) != 0;
    gApp.options.showVis = ReadInt(file, "Show_Vis", kDefaultShowVis) != 0;
    gApp.options.swapRedBlue = ReadInt(file, "Swap_R&B", kDefaultSwapRedBlue) != 0;
    gApp.options.hideBalance = ReadInt(file, "Hide_Balance", kDefaultHideBalance) != 0;

    gApp.lastPicDir = ReadString(file, "Last_PicDir", gApp.programDir, kPathCapacity);
    // The Open dialog starts there anyway; a folder that is gone leaves the working
    // directory where it is.
    SetCurrentDirectoryA(gApp.lastPicDir.c_str());

    gApp.lastTemplateIndex = ReadInt(file, "Last_Tmpl", kDefaultTemplateIndex);
    gApp.title.text = ReadString(file, "TitleText", kDefaultTitleText, kTitleCapacity);
    // Values outside the enums are kept as they are; the title renderer draws an unknown
    // alignment as Left and an unknown colour as Hard.
    gApp.title.align = static_cast<TitleAlign>(ReadInt(file, "TitleAlign", kDefaultTitleAlign));
    gApp.title.color = static_cast<TitleColor>(ReadInt(file, "TitleColor", kDefaultTitleColor));
}

void SaveSettings() {
    // Without a program folder the settings were never read, and there is nowhere of ours
    // to write them.
    if (gApp.programDir.empty()) {
        return;
    }
    const std::string file = SettingsFilePath();
    WriteString(file, "Winamp_dir", gApp.winampDir);
    WriteInt(file, "Gen_Balance", gApp.options.genBalance ? 1 : 0);
    WriteInt(file, "Show_Vis", gApp.options.showVis ? 1 : 0);
    WriteInt(file, "Swap_R&B", gApp.options.swapRedBlue ? 1 : 0);
    WriteInt(file, "Hide_Balance", gApp.options.hideBalance ? 1 : 0);
    WriteString(file, "Last_PicDir", gApp.lastPicDir);
    WriteInt(file, "Last_Tmpl", gApp.lastTemplateIndex);
    WriteString(file, "TitleText", gApp.title.text);
    WriteInt(file, "TitleAlign", static_cast<int>(gApp.title.align));
    WriteInt(file, "TitleColor", static_cast<int>(gApp.title.color));
}
