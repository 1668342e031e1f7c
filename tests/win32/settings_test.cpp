// korvane.ini as the real private profile functions read and write it: the bytes of a first
// run, keys matched regardless of case, the title cut to 79 characters, the templates
// folder, and where the working directory ends up.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/settings.h"
#include "tests/unit/test_util.h"
#include "tests/win32/app_harness.h"

namespace {

std::string ReadText(const std::string& path) {
    std::vector<uint8_t> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void WriteText(const std::string& path, const std::string& text) {
    WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
    // The profile functions cache the last file they read; all-null arguments drop the
    // cache, so the next read sees these bytes even within the same clock tick.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

// Each test starts in a new empty folder, the way the program is started from a folder of
// the user's choosing; the settings file and the templates folder belong to that folder.
class SettingsTest : public testing::Test {
  protected:
    void SetUp() override { ResetProgramState(); }
    void TearDown() override {
        SetCurrentDirectoryA(previousDir_.c_str());
        RemoveTree(folder_);
        ResetProgramState();
    }
    std::string Path(const std::string& name) const { return folder_ + "\\" + name; }
    std::string IniPath() const { return Path("korvane.ini"); }

    std::string previousDir_ = CurrentDir();
    std::string folder_ = EnterFreshFolder("korvane-settings-");
};

// The whole file as the program writes it, key by key.
std::string IniFile(const std::string& winampDir, const char* switches, const std::string& picDir,
                    int tmpl, const std::string& title, int align, int color) {
    return "[Korvane]\r\nWinamp_dir=" + winampDir + "\r\nGen_Balance=" + switches[0] +
           "\r\nShow_Vis=" + switches[1] + "\r\nSwap_R&B=" + switches[2] +
           "\r\nHide_Balance=" + switches[3] + "\r\nLast_PicDir=" + picDir +
           "\r\nLast_Tmpl=" + std::to_string(tmpl) + "\r\nTitleText=" + title +
           "\r\nTitleAlign=" + std::to_string(align) + "\r\nTitleColor=" + std::to_string(color) +
           "\r\n";
}

} // namespace

// A first run (the program state of an earlier run must not leak into it) reads no file and
// creates none, makes the templates folder without entering it, and closing the main window
// writes the ten keys in order with their defaults.
TEST(SettingsRun, AFirstRunWritesEveryDefault) {
    AppRun run;
    EXPECT_FALSE(Exists(run.Folder() + "\\korvane.ini"));
    EXPECT_TRUE(IsFolder(run.Folder() + "\\templates"));
    EXPECT_EQ(gApp.templatePath, run.Folder() + "\\templates");
    EXPECT_EQ(CurrentDir(), run.Folder());
    gApp.winampDir = "D:\\elsewhere";
    gApp.options = {true, true, true, false};
    gApp.lastTemplateIndex = 9;
    gApp.title = {"old", TitleAlign::Right, TitleColor::Soft};
    LoadSettings(); // still no file: every default again
    DestroyWindow(run.Main());
    AppRun::Pump();
    EXPECT_EQ(
        ReadText(run.Folder() + "\\korvane.ini"),
        IniFile("c:\\program files\\winamp", "1000", run.Folder(), 0, "created by Korvane", 0, 1));
}

// Each key read on its own (section and key names in any case), so two keys swapped on
// reading show; the title cut to 79 characters; out-of-range choices kept as written.
TEST_F(SettingsTest, EachKeyIsReadIntoItsOwnSetting) {
    const std::string letters(80, 'x');
    struct Case {
        std::string lines;
        std::function<bool()> read;
    } cases[] = {
        {"[KORVANE]\r\nWINAMP_DIR=D:\\Media\\Winamp 2",
         [] { return gApp.winampDir == "D:\\Media\\Winamp 2"; }},
        {"[Korvane]\r\nGen_Balance=0", [] { return !gApp.options.genBalance; }},
        {"[Korvane]\r\nShow_Vis=1", [] { return gApp.options.showVis; }},
        {"[Korvane]\r\nSwap_R&B=1", [] { return gApp.options.swapRedBlue; }},
        {"[Korvane]\r\nHide_Balance=1", [] { return gApp.options.hideBalance; }},
        {"[Korvane]\r\nLast_Tmpl=12", [] { return gApp.lastTemplateIndex == 12; }},
        {"[Korvane]\r\nTitleText=" + letters.substr(0, 79),
         [&] { return gApp.title.text == letters.substr(0, 79); }},
        {"[Korvane]\r\nTitleText=" + letters.substr(0, 80),
         [&] { return gApp.title.text == letters.substr(0, 79); }},
        {"[Korvane]\r\nTitleAlign=7", [] { return int(gApp.title.align) == 7; }},
        {"[Korvane]\r\nTitleColor=-2", [] { return int(gApp.title.color) == -2; }},
    };
    const ProjectOptions defaults;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        ResetProgramState();
        WriteText(IniPath(), c.lines + "\r\n");
        SetCurrentDirectoryA(folder_.c_str());
        LoadSettings();
        EXPECT_TRUE(c.read());
        int changed = (gApp.options.genBalance != defaults.genBalance) +
                      (gApp.options.showVis != defaults.showVis) +
                      (gApp.options.swapRedBlue != defaults.swapRedBlue) +
                      (gApp.options.hideBalance != defaults.hideBalance);
        EXPECT_LE(changed, 1) << "one switch changes another";
    }
}

// What is saved is the exact file, in the program folder wherever the working directory is,
// and reads back to the same settings; the Open dialog's folder is entered at start.
TEST_F(SettingsTest, WhatIsWrittenIsReadBack) {
    LoadSettings();
    ASSERT_TRUE(CreateDirectoryA(Path("pictures").c_str(), nullptr));
    SetCurrentDirectoryA(Path("pictures").c_str());
    gApp.winampDir = "E:\\Audio\\Winamp";
    gApp.options = {true, false, true, false};
    gApp.lastPicDir = Path("pictures");
    gApp.lastTemplateIndex = -3;
    gApp.title = {"Night Drive 2", TitleAlign::Right, TitleColor::Soft};
    SaveSettings();
    const std::string file =
        IniFile("E:\\Audio\\Winamp", "0101", Path("pictures"), -3, "Night Drive 2", 2, 0);
    EXPECT_EQ(ReadText(IniPath()), file);
    EXPECT_FALSE(Exists(Path("pictures\\korvane.ini")));

    ResetProgramState();
    SetCurrentDirectoryA(folder_.c_str());
    LoadSettings();
    EXPECT_EQ(gApp.title.text, "Night Drive 2");
    SaveSettings();
    EXPECT_EQ(ReadText(IniPath()), file);
    EXPECT_EQ(CurrentDir(), Path("pictures"));
}

// Where the working directory goes when Last_PicDir is gone: into an existing templates
// folder, but not into one made just now, and nowhere when it cannot be made.
TEST_F(SettingsTest, AGoneLastFolderFallsBackToTheTemplatesFolder) {
    struct Case {
        const char* templates; // "folder", "file" or nothing there
        std::string cwd;
    } cases[] = {{"folder", "templates"}, {"", ""}, {"file", ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.templates);
        SetCurrentDirectoryA(folder_.c_str());
        RemoveTree(Path("templates"));
        DeleteFileA(Path("templates").c_str());
        if (std::string(c.templates) == "folder") {
            CreateDirectoryA(Path("templates").c_str(), nullptr);
        } else if (std::string(c.templates) == "file") {
            WriteText(Path("templates"), "not a folder");
        }
        WriteText(IniPath(), "[Korvane]\r\nLast_PicDir=" + Path("gone") + "\r\n");
        LoadSettings();
        EXPECT_EQ(gApp.lastPicDir, Path("gone")) << "the Open dialog is still given it";
        EXPECT_EQ(CurrentDir(), c.cwd.empty() ? folder_ : Path(c.cwd));
    }
}

TEST_F(SettingsTest, NothingIsWrittenBeforeTheSettingsWereRead) {
    // A profile name without a folder would land in the Windows folder.
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string stray = std::string(windows) + "\\korvane.ini";
    SaveSettings();
    EXPECT_FALSE(Exists(IniPath()));
    EXPECT_FALSE(Exists(stray));
    DeleteFileA(stray.c_str());
}
