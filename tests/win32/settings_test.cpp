// korvane.ini as the real private profile functions read and write it: the bytes of a first
// run, keys matched regardless of case, the title cut to 79 characters, the templates
// folder, and where the working directory ends up.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <tuple>
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
//
// Then what is read is what is written back, the file whole and in order: section and keys
// matched in any case, each key into its own setting (between them the two files tell any
// two switches apart), missing keys at their defaults, the title cut to 79 characters,
// unknown choices kept as written. The Open dialog's folder is entered at start; when it is
// gone, an existing templates folder is (not one made just now, nor one that is a file). The
// file stays in the program folder wherever the working directory is, and nothing is written
// before the settings were read (a profile name without a folder lands in the Windows folder).
TEST(Settings, AFirstRunWritesEveryDefaultAndWhatIsReadIsWrittenBack) {
    AppRun run;
    const std::string folder = run.Folder(), ini = folder + "\\korvane.ini";
    auto path = [&](const std::string& name) { return folder + "\\" + name; };
    EXPECT_EQ(std::tuple(Exists(ini), IsFolder(path("templates")), gApp.templatePath, CurrentDir()),
              std::tuple(false, true, path("templates"), folder));
    gApp.winampDir = "D:\\elsewhere";
    gApp.options = {true, true, true, false};
    gApp.lastTemplateIndex = 9;
    gApp.title = {"old", TitleAlign::Right, TitleColor::Soft};
    LoadSettings(); // still no file: every default again
    DestroyWindow(run.Main());
    AppRun::Pump();
    EXPECT_EQ(ReadText(ini),
              IniFile("c:\\program files\\winamp", "1000", folder, 0, "created by Korvane", 0, 1));

    const std::string title(80, 'x'), pictures = path("pictures"), gone = path("gone");
    EXPECT_TRUE(CreateDirectoryA(pictures.c_str(), nullptr));
    const std::string defaults =
        IniFile("c:\\program files\\winamp", "1000", gone, 0, "created by Korvane", 0, 1);
    // What the file holds, what is written back, the templates folder ("folder", "file" or
    // nothing there) and the working directory after reading.
    const std::tuple<std::string, std::string, std::string, std::string> cases[] = {
        {"[KORVANE]\r\nWINAMP_DIR=D:\\Media\\Winamp 2\r\ngen_balance=0\r\nShow_Vis=0\r\n"
         "Swap_R&B=1\r\nHide_Balance=1\r\nLast_PicDir=" +
             pictures + "\r\nLast_Tmpl=12\r\nTitleText=" + title +
             "\r\nTitleAlign=7\r\nTitleColor=-2\r\n",
         IniFile("D:\\Media\\Winamp 2", "0011", pictures, 12, title.substr(0, 79), 7, -2), "folder",
         pictures},
        {"[Korvane]\r\nTitleColor=0\r\nGen_Balance=0\r\nShow_Vis=1\r\nHide_Balance=1\r\n"
         "TitleText=Night Drive 2\r\nTitleAlign=2\r\nLast_Tmpl=-3\r\n",
         IniFile("c:\\program files\\winamp", "0101", folder, -3, "Night Drive 2", 2, 0), "",
         folder},
        {"[Korvane]\r\nLast_PicDir=" + gone + "\r\n", defaults, "folder", path("templates")},
        {"[Korvane]\r\nLast_PicDir=" + gone + "\r\n", defaults, "", folder},
        {"[Korvane]\r\nLast_PicDir=" + gone + "\r\n", defaults, "file", folder},
    };
    for (const auto& [read, written, templates, cwd] : cases) {
        SCOPED_TRACE(read + templates);
        ResetProgramState();
        SetCurrentDirectoryA(folder.c_str());
        RemoveTree(path("templates"));
        if (templates == "folder") {
            CreateDirectoryA(path("templates").c_str(), nullptr);
        } else if (templates == "file") {
            WriteText(path("templates"), "not a folder");
        }
        WriteText(ini, read);
        LoadSettings();
        const std::string cwdRead = CurrentDir();
        WriteText(ini, ""); // what follows is all the save's
        SaveSettings();
        EXPECT_EQ(std::tuple(cwdRead, ReadText(ini), Exists(pictures + "\\korvane.ini")),
                  std::tuple(cwd, written, false));
    }

    const std::string stray = std::string(std::getenv("WINDIR")) + "\\korvane.ini";
    DeleteFileA(ini.c_str());
    ResetProgramState();
    SaveSettings();
    EXPECT_EQ(std::tuple(Exists(ini), Exists(stray)), std::tuple(false, false));
    DeleteFileA(stray.c_str());
}
