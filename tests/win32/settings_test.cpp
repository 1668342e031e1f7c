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
    void SetUp() override {
        previousDir_ = CurrentDir();
        folder_ = EnterFreshFolder("korvane-settings-");
        ASSERT_FALSE(folder_.empty());
        ResetProgramState();
    }

    void TearDown() override {
        SetCurrentDirectoryA(previousDir_.c_str());
        RemoveTree(folder_);
        ResetProgramState();
    }

    std::string Path(const std::string& name) const { return folder_ + "\\" + name; }
    std::string IniPath() const { return Path("korvane.ini"); }

    std::string previousDir_;
    std::string folder_;
};

std::string FirstRunFile(const std::string& folder) {
    return "[Korvane]\r\n"
           "Winamp_dir=c:\\program files\\winamp\r\n"
           "Gen_Balance=1\r\n"
           "Show_Vis=0\r\n"
           "Swap_R&B=0\r\n"
           "Hide_Balance=0\r\n"
           "Last_PicDir=" +
           folder +
           "\r\n"
           "Last_Tmpl=0\r\n"
           "TitleText=created by Korvane\r\n"
           "TitleAlign=0\r\n"
           "TitleColor=1\r\n";
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
    EXPECT_EQ(ReadText(run.Folder() + "\\korvane.ini"), FirstRunFile(run.Folder()));
}

// Each key read on its own (section and key names in any case), so two keys swapped on
// reading show; the title cut to 79 characters; out-of-range choices kept as written.
TEST_F(SettingsTest, EachKeyIsReadIntoItsOwnSetting) {
    const std::string letters(120, 'x');
    struct Case {
        std::string lines;
        std::function<bool()> read;
    } cases[] = {
        {"[KORVANE]\r\nWINAMP_DIR=D:\\Media\\Winamp 2",
         [] { return gApp.winampDir == "D:\\Media\\Winamp 2"; }},
        {"[korvane]\r\nwinamp_dir=D:\\W", [] { return gApp.winampDir == "D:\\W"; }},
        {"[Korvane]\r\nGen_Balance=0", [] { return !gApp.options.genBalance; }},
        {"[Korvane]\r\nShow_Vis=1", [] { return gApp.options.showVis; }},
        {"[Korvane]\r\nSwap_R&B=1", [] { return gApp.options.swapRedBlue; }},
        {"[Korvane]\r\nHide_Balance=1", [] { return gApp.options.hideBalance; }},
        {"[Korvane]\r\nLast_Tmpl=12", [] { return gApp.lastTemplateIndex == 12; }},
        {"[Korvane]\r\nTitleText=" + letters.substr(0, 79),
         [&] { return gApp.title.text == letters.substr(0, 79); }},
        {"[Korvane]\r\nTitleText=" + letters.substr(0, 80),
         [&] { return gApp.title.text == letters.substr(0, 79); }},
        {"[Korvane]\r\nTitleText=" + letters,
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
    const std::string file = "[Korvane]\r\nWinamp_dir=E:\\Audio\\Winamp\r\nGen_Balance=0\r\n"
                             "Show_Vis=1\r\nSwap_R&B=0\r\nHide_Balance=1\r\nLast_PicDir=" +
                             Path("pictures") +
                             "\r\nLast_Tmpl=-3\r\nTitleText=Night Drive 2\r\nTitleAlign=2\r\n"
                             "TitleColor=0\r\n";
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
