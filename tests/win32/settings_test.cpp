// korvane.ini as the real private profile functions read and write it: the bytes of a first
// run, keys matched regardless of case, the title cut to 79 characters, the templates
// folder, and where the working directory ends up.
#include <gtest/gtest.h>

#include <windows.h>

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

TEST_F(SettingsTest, FirstRunWritesTheTenKeysInOrder) {
    LoadSettings();
    EXPECT_FALSE(Exists(IniPath())) << "reading alone creates no settings file";
    SaveSettings();
    EXPECT_EQ(ReadText(IniPath()), FirstRunFile(folder_));
}

TEST_F(SettingsTest, FirstRunMakesTheTemplatesFolder) {
    LoadSettings();
    EXPECT_EQ(gApp.programDir, folder_);
    EXPECT_EQ(gApp.templatePath, folder_ + "\\templates");
    EXPECT_TRUE(IsFolder(folder_ + "\\templates"));
    // A folder that was only just made is not entered; Last_PicDir (the program folder on a
    // first run) is where the working directory goes.
    EXPECT_EQ(CurrentDir(), folder_);
}

TEST_F(SettingsTest, MissingFileGivesEveryDefault) {
    // Program state from an earlier run of the functions must not leak into the defaults.
    gApp.winampDir = "D:\\elsewhere";
    gApp.options = {true, true, true, false};
    gApp.lastPicDir = "D:\\pictures";
    gApp.lastTemplateIndex = 9;
    gApp.title = {"old", TitleAlign::Right, TitleColor::Soft};

    LoadSettings();
    EXPECT_EQ(gApp.winampDir, "c:\\program files\\winamp");
    EXPECT_TRUE(gApp.options.genBalance);
    EXPECT_FALSE(gApp.options.showVis);
    EXPECT_FALSE(gApp.options.swapRedBlue);
    EXPECT_FALSE(gApp.options.hideBalance);
    EXPECT_EQ(gApp.lastPicDir, folder_);
    EXPECT_EQ(gApp.lastTemplateIndex, 0);
    EXPECT_EQ(gApp.title.text, "created by Korvane");
    EXPECT_EQ(gApp.title.align, TitleAlign::Left);
    EXPECT_EQ(gApp.title.color, TitleColor::Hard);
}

TEST_F(SettingsTest, WinampFolderKeyIsFoundWhateverItsCase) {
    const char* keys[] = {"Winamp_dir", "WINAMP_DIR", "winamp_dir", "Winamp_Dir"};
    const char* sections[] = {"Korvane", "KORVANE", "korvane"};
    for (const char* section : sections) {
        for (const char* key : keys) {
            SCOPED_TRACE(std::string(section) + " / " + key);
            WriteText(IniPath(), std::string("[") + section + "]\r\n" + key +
                                     "=D:\\Media\\Winamp 2\r\nShow_Vis=1\r\n");
            SetCurrentDirectoryA(folder_.c_str());
            LoadSettings();
            EXPECT_EQ(gApp.winampDir, "D:\\Media\\Winamp 2");
            EXPECT_TRUE(gApp.options.showVis);
        }
    }
}

TEST_F(SettingsTest, WhatIsWrittenIsReadBack) {
    LoadSettings();
    ASSERT_TRUE(CreateDirectoryA(Path("pictures").c_str(), nullptr));
    gApp.winampDir = "E:\\Audio\\Winamp";
    gApp.options = {true, true, true, false};
    gApp.lastPicDir = Path("pictures");
    gApp.lastTemplateIndex = -3;
    gApp.title = {"Night Drive 2", TitleAlign::Right, TitleColor::Soft};
    SaveSettings();

    // Whatever the working directory is by then, the file goes to the program folder.
    EXPECT_EQ(ReadText(IniPath()), "[Korvane]\r\n"
                                   "Winamp_dir=E:\\Audio\\Winamp\r\n"
                                   "Gen_Balance=0\r\n"
                                   "Show_Vis=1\r\n"
                                   "Swap_R&B=1\r\n"
                                   "Hide_Balance=1\r\n"
                                   "Last_PicDir=" +
                                       Path("pictures") +
                                       "\r\n"
                                       "Last_Tmpl=-3\r\n"
                                       "TitleText=Night Drive 2\r\n"
                                       "TitleAlign=2\r\n"
                                       "TitleColor=0\r\n");

    ResetProgramState();
    SetCurrentDirectoryA(folder_.c_str());
    LoadSettings();
    EXPECT_EQ(gApp.winampDir, "E:\\Audio\\Winamp");
    EXPECT_FALSE(gApp.options.genBalance);
    EXPECT_TRUE(gApp.options.showVis);
    EXPECT_TRUE(gApp.options.swapRedBlue);
    EXPECT_TRUE(gApp.options.hideBalance);
    EXPECT_EQ(gApp.lastPicDir, Path("pictures"));
    EXPECT_EQ(gApp.lastTemplateIndex, -3);
    EXPECT_EQ(gApp.title.text, "Night Drive 2");
    EXPECT_EQ(gApp.title.align, TitleAlign::Right);
    EXPECT_EQ(gApp.title.color, TitleColor::Soft);
    EXPECT_EQ(CurrentDir(), Path("pictures")) << "the Open dialog's folder is entered";
}

TEST_F(SettingsTest, EachOptionTravelsUnderItsOwnKey) {
    // One switch away from its default at a time, so two keys swapped on writing or reading
    // show up.
    struct Case {
        const char* line;
        bool ProjectOptions::*flag;
    };
    const Case cases[] = {
        {"Gen_Balance=0", &ProjectOptions::genBalance},
        {"Show_Vis=1", &ProjectOptions::showVis},
        {"Swap_R&B=1", &ProjectOptions::swapRedBlue},
        {"Hide_Balance=1", &ProjectOptions::hideBalance},
    };
    const ProjectOptions defaults;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        DeleteFileA(IniPath().c_str());
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, IniPath().c_str());
        SetCurrentDirectoryA(folder_.c_str());
        LoadSettings();
        gApp.options.*c.flag = !(defaults.*c.flag);
        SaveSettings();
        EXPECT_NE(ReadText(IniPath()).find(std::string("\r\n") + c.line + "\r\n"),
                  std::string::npos);

        ResetProgramState();
        SetCurrentDirectoryA(folder_.c_str());
        LoadSettings();
        for (const Case& other : cases) {
            bool expected = other.flag == c.flag ? !(defaults.*other.flag) : defaults.*other.flag;
            EXPECT_EQ(gApp.options.*other.flag, expected) << other.line;
        }
    }
}

TEST_F(SettingsTest, TitleTextLongerThan79IsCut) {
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"
                                "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (size_t length : {78u, 79u, 80u, 81u, 120u}) {
        SCOPED_TRACE(length);
        WriteText(IniPath(), "[Korvane]\r\nTitleText=" + letters.substr(0, length) + "\r\n");
        SetCurrentDirectoryA(folder_.c_str());
        LoadSettings();
        EXPECT_EQ(gApp.title.text, letters.substr(0, length < 79 ? length : 79));
    }
}

TEST_F(SettingsTest, OutOfRangeTitleChoicesAreKeptAsWritten) {
    WriteText(IniPath(), "[Korvane]\r\nTitleAlign=7\r\nTitleColor=-2\r\nLast_Tmpl=12\r\n");
    LoadSettings();
    EXPECT_EQ(static_cast<int>(gApp.title.align), 7);
    EXPECT_EQ(static_cast<int>(gApp.title.color), -2);
    EXPECT_EQ(gApp.lastTemplateIndex, 12);
    SaveSettings();
    std::string text = ReadText(IniPath());
    EXPECT_NE(text.find("\r\nTitleAlign=7\r\nTitleColor=-2\r\n"), std::string::npos) << text;
}

TEST_F(SettingsTest, ExistingTemplatesFolderBecomesTheWorkingDirectoryWhenLastPicDirIsGone) {
    ASSERT_TRUE(CreateDirectoryA(Path("templates").c_str(), nullptr));
    WriteText(IniPath(), "[Korvane]\r\nLast_PicDir=" + Path("gone") + "\r\n");
    LoadSettings();
    EXPECT_EQ(gApp.lastPicDir, Path("gone")) << "the Open dialog is still given the folder";
    EXPECT_EQ(CurrentDir(), Path("templates"));
}

TEST_F(SettingsTest, ATemplatesFolderMadeJustNowIsNotEntered) {
    WriteText(IniPath(), "[Korvane]\r\nLast_PicDir=" + Path("gone") + "\r\n");
    LoadSettings();
    EXPECT_TRUE(IsFolder(Path("templates")));
    EXPECT_EQ(CurrentDir(), folder_);
}

TEST_F(SettingsTest, WorkingDirectoryStaysWhenNeitherFolderCanBeEntered) {
    // A file where the templates folder should be: it can be neither entered nor made.
    WriteText(Path("templates"), "not a folder");
    WriteText(IniPath(), "[Korvane]\r\nLast_PicDir=" + Path("gone") + "\r\n");
    LoadSettings();
    EXPECT_FALSE(IsFolder(Path("templates")));
    EXPECT_EQ(CurrentDir(), folder_);
}

TEST_F(SettingsTest, SavingGoesToTheStartFolderWhereverTheWorkingDirectoryIs) {
    LoadSettings();
    ASSERT_TRUE(CreateDirectoryA(Path("elsewhere").c_str(), nullptr));
    SetCurrentDirectoryA(Path("elsewhere").c_str());
    SaveSettings();
    EXPECT_TRUE(Exists(IniPath()));
    EXPECT_FALSE(Exists(Path("elsewhere\\korvane.ini")));
}

TEST_F(SettingsTest, NothingIsWrittenBeforeTheSettingsWereRead) {
    // A profile name without a folder would land in the Windows folder.
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string stray = std::string(windows) + "\\korvane.ini";
    ASSERT_FALSE(Exists(stray));
    SaveSettings();
    EXPECT_FALSE(Exists(IniPath()));
    EXPECT_FALSE(Exists(stray));
    DeleteFileA(stray.c_str());
}

// The program as a whole: start in an empty folder, close the main window, and the file of
// a first run is there.
TEST(SettingsRun, ClosingTheMainWindowWritesTheFirstRunFile) {
    AppRun run;
    ASSERT_TRUE(IsWindow(run.Main()));
    EXPECT_TRUE(IsFolder(run.Folder() + "\\templates"));
    DestroyWindow(run.Main());
    AppRun::Pump();
    EXPECT_EQ(ReadText(run.Folder() + "\\korvane.ini"), FirstRunFile(gApp.programDir));
    EXPECT_EQ(gApp.programDir, run.Folder());
}
