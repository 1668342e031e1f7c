// The Save dialog and the Save command as a user meets them: the real dialog from the
// program's resources, driven through its controls while it runs modally, every message
// answered by the test. Also the rest of the resource script: menu, About box and icon.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "app/about_box.h"
#include "app/app_state.h"
#include "app/message_box.h"
#include "app/resource.h"
#include "app/save_dialog.h"
#include "compose/skin.h"
#include "output/skin_writer.h"
#include "tests/unit/test_util.h"
#include "tests/win32/app_harness.h"
#include "tests/win32/dialog_driver.h"

namespace {

// Message boxes: recorded and answered by the test.
struct Shown {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

std::vector<Shown> gShown;
std::deque<int> gAnswers;

int RecordMessage(HWND owner, const char* text, const char* caption, UINT type) {
    gShown.push_back({owner, text, caption, type});
    int answer = gAnswers.empty() ? IDOK : gAnswers.front();
    if (!gAnswers.empty()) {
        gAnswers.pop_front();
    }
    return answer;
}

// OK as a user presses it. Both fields' selections are collapsed first, so a refusal that
// forgets to select the field's text shows.
void PressOk(HWND dialog) {
    for (int id : {IDC_SAVE_WINAMPDIR, IDC_SAVE_SKINNAME}) {
        SendDlgItemMessageA(dialog, id, EM_SETSEL, 1, 1);
    }
    Press(dialog, IDOK);
}

// The warning for a skin folder the system would not make: its path, then the system's words.
std::string NotMade(const std::string& path, DWORD error) {
    char words[256] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             error, 0, words, sizeof words, nullptr);
    while (n > 0 && (words[n - 1] == '\r' || words[n - 1] == '\n' || words[n - 1] == ' ')) {
        n--;
    }
    return "Error Creating Directory " + path +
           " !\nPlease set your skins directory in Winamp program.\n" + std::string(words, n);
}

void WriteText(const std::string& path, const std::string& text) {
    WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

std::unique_ptr<SkinSet> MadeSkin() {
    static std::unique_ptr<Dib> picture = MakePattern24(400, 380);
    SkinInputs in;
    in.picture = picture.get();
    for (WorkspaceOffset& offset : in.bandOffsets) {
        offset = {0, 380 - 116};
    }
    in.frameOffset = {0, 380 - 348};
    return MakeSkin(in);
}

// Each test gets a fresh folder holding a "Winamp" installation: a dummy winamp.exe, a
// winamp.ini without SkinDir, and an empty skins folder.
class SaveTest : public testing::Test {
  protected:
    void SetUp() override {
        previousDir_ = CurrentDir();
        folder_ = EnterFreshFolder("korvane-save-");
        ASSERT_FALSE(folder_.empty());
        winamp_ = Path("Winamp");
        skins_ = winamp_ + "\\skins";
        ASSERT_TRUE(CreateDirectoryA(winamp_.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(skins_.c_str(), nullptr));
        WriteText(winamp_ + "\\winamp.exe", "MZ");
        SetSkinDirLine("");
        ResetProgramState();
        gApp.winampDir = winamp_;
        gShown.clear();
        gAnswers.clear();
        SetMessageBoxHook(&RecordMessage);
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(owner_);
    }

    void TearDown() override {
        SetMessageBoxHook(nullptr);
        DestroyWindow(owner_);
        SetCurrentDirectoryA(previousDir_.c_str());
        RemoveTree(folder_);
        ResetProgramState();
    }

  public:
    std::string Path(const std::string& name) const { return folder_ + "\\" + name; }

    void SetSkinDirLine(const std::string& line) {
        WriteText(winamp_ + "\\winamp.ini", "[Winamp]\r\nvolume=200\r\n" + line + "\r\n");
    }

    // A skin called Dusk in the skins folder.
    void Existing() {
        CreateDirectoryA((skins_ + "\\Dusk").c_str(), nullptr);
        WriteText(skins_ + "\\Dusk\\main.bmp", "picture");
    }

    // Skins folder + name may take 246 characters: every member's path (names up to
    // twelve) stays within 259. This deep folder's last level is missing.
    std::string Deep() const {
        std::string deep = Path("");
        while (deep.size() < 220) {
            deep += "deeper\\";
        }
        return deep;
    }

    int RunSaveDialog(Script script) {
        int result = 0;
        Drive drive = RunDriven("Save...", std::move(script), [&] { result = SaveDialog(owner_); });
        ExpectClosedByScript(drive);
        return result;
    }

    // The Save command; returns whether the dialog showed.
    bool RunSaveCommand(Script script) {
        Drive drive = RunDriven("Save...", std::move(script), [&] { SaveSkinSet(owner_); });
        EXPECT_FALSE(drive.leftOpen || drive.timedOut);
        return drive.ran;
    }

    std::string previousDir_;
    std::string folder_;
    std::string winamp_;
    std::string skins_;
    HWND owner_ = nullptr;
};

} // namespace

// Every refusal: one warning owned by the dialog, the dialog still open, the field at
// fault focused with its text selected, the name left to be corrected, nothing made.
struct Refusal {
    const char* what;
    void (*prepare)(SaveTest&);
    std::string dir;
    std::string name;
    int field;
    std::string message;
    DWORD error = 0; // the message is the folder-creation failure for this path and error
    UINT buttons = MB_OK;
    std::string kept = {}; // the Winamp folder afterwards; empty: as it was
};

TEST_F(SaveTest, RefusalsWarnAndReturnToTheFieldAtFault) {
    const std::string deep = Deep();
    const std::string fits(246 - deep.size(), 'n'); // skins folder and name: 246 characters
    const std::string tooLong = fits + "n";
    const std::string& w = winamp_;
    const int name = IDC_SAVE_SKINNAME;
    const std::string wrongName = "Wrong skin name...";
    const std::string noWinamp =
        "Could not find WINAMP.EXE !\nYou can search for Winamp's directory using browse button.";
    const std::string over =
        "Skin file would replace the picture or template it is made from...\n" + skins_ +
        "\\Dusk\\main.bmp\nPlease choose another skin name.";
    // Winamp in another folder, and only in a sub-folder of a third.
    for (const char* made : {"Winamp 5", "Nested", "Nested\\bin"}) {
        ASSERT_TRUE(CreateDirectoryA(Path(made).c_str(), nullptr));
    }
    for (const char* exe :
         {"Winamp 5\\winamp.exe", "Nested\\bin\\winamp.exe", "Nested\\winamp.exe.bak"}) {
        WriteText(Path(exe), "MZ");
    }
    std::vector<Refusal> rows;
    int at = 0;
    for (char c : std::string(".,:;<>|/\\")) { // at the start, inside and at the end
        std::string forbidden = "Sunset";
        forbidden.insert(size_t(at++ % 3 * 3), 1, c);
        rows.push_back({"forbidden character", nullptr, w, forbidden, name, wrongName});
    }
    rows.insert(
        rows.end(),
        {
            {"empty name", nullptr, w, "", name, wrongName},
            // A folder that holds Winamp is kept even when the name is refused.
            {"name refused in another Winamp folder", nullptr, Path("Winamp 5"), "x/y", name,
             wrongName, 0, MB_OK, Path("Winamp 5")},
            // The directory is checked first; the bad name is not reached.
            {"folder without Winamp", nullptr, folder_, "bad.name", IDC_SAVE_WINAMPDIR, noWinamp},
            {"missing folder", nullptr, Path("Missing"), "Dusk", IDC_SAVE_WINAMPDIR, noWinamp},
            {"winamp.exe only in a sub-folder", nullptr, Path("Nested"), "Dusk", IDC_SAVE_WINAMPDIR,
             noWinamp},
            {"existing skin, answered No", nullptr, w, "Dusk", name,
             "Skin name already exist...\nDo you want to overwrite it?", 0, MB_YESNO},
            // Only the last level is ever made.
            {"missing skins folder", [](SaveTest& t) { RemoveTree(t.skins_); }, w, "Dusk", name,
             skins_ + "\\Dusk", ERROR_PATH_NOT_FOUND},
            // An empty field is the root of the current drive, which has no skins folder.
            {"empty directory field", nullptr, "", "Dusk", name, "\\skins\\Dusk",
             ERROR_PATH_NOT_FOUND},
            {"a name the system refuses", nullptr, w, "Sun*", name, skins_ + "\\Sun*",
             ERROR_INVALID_NAME},
            {"longest path that fits", [](SaveTest& t) { t.SetSkinDirLine("SkinDir=" + t.Deep()); },
             w, fits, name, deep + fits, ERROR_PATH_NOT_FOUND},
            {"path too long", [](SaveTest& t) { t.SetSkinDirLine("SkinDir=" + t.Deep()); }, w,
             tooLong, name,
             "Skin folder path too long...\n" + deep + tooLong +
                 "\nPlease choose a shorter skin name or skins directory."},
            // The open picture or the template would be overwritten, however it is spelled.
            {"folder holding the picture",
             [](SaveTest& t) { gApp.picturePath = t.skins_ + "\\Dusk\\.\\MAIN.BMP"; }, w, "Dusk",
             name, over},
            {"template folder",
             [](SaveTest& t) { gApp.templatePath = t.skins_ + "\\..\\skins\\Dusk\\"; }, w, "Dusk",
             name, over},
        });
    for (const Refusal& r : rows) {
        SCOPED_TRACE(std::string(r.what) + ": " + r.name);
        if (r.dir.empty() && (Exists("\\winamp.ini") || Exists("\\skins"))) {
            continue; // this drive's root holds a Winamp setup of its own
        }
        RemoveTree(skins_);
        ASSERT_TRUE(CreateDirectoryA(skins_.c_str(), nullptr));
        Existing();
        SetSkinDirLine("");
        gApp.winampDir = winamp_;
        gApp.picturePath.clear();
        gApp.templatePath.clear();
        gAnswers = {IDNO};
        if (r.prepare) {
            r.prepare(*this);
        }
        const std::vector<std::string> before = FolderEntries(skins_);
        gShown.clear();
        int result = RunSaveDialog([&](HWND dialog) {
            TypeInto(dialog, IDC_SAVE_WINAMPDIR, r.dir);
            TypeInto(dialog, IDC_SAVE_SKINNAME, r.name);
            PressOk(dialog);
            ASSERT_EQ(gShown.size(), 1u) << "exactly one message per refusal";
            EXPECT_EQ(gShown[0].text, r.error ? NotMade(r.message, r.error) : r.message);
            EXPECT_EQ(gShown[0].caption, "Warning..!");
            EXPECT_EQ(gShown[0].owner, dialog);
            EXPECT_EQ(gShown[0].type, r.buttons | MB_ICONEXCLAMATION);
            EXPECT_TRUE(IsWindowVisible(dialog)) << "a refusal keeps the dialog open";
            HWND field = GetDlgItem(dialog, r.field);
            EXPECT_EQ(GetFocus(), field);
            DWORD start = 1, end = 0;
            SendMessageA(field, EM_GETSEL, WPARAM(&start), LPARAM(&end));
            EXPECT_EQ(start, 0u);
            EXPECT_EQ(end, DWORD(GetWindowTextLengthA(field)));
            EXPECT_EQ(FieldText(dialog, IDC_SAVE_SKINNAME), r.name) << "left to be corrected";
            Press(dialog, IDCANCEL);
        });
        EXPECT_EQ(result, 0);
        EXPECT_EQ(gApp.winampDir, r.kept.empty() ? winamp_ : r.kept);
        EXPECT_EQ(FolderEntries(skins_), before);
    }
}

// Where the skin folder goes: the SkinDir of winamp.ini, else the Winamp folder's skins.
TEST_F(SaveTest, TheSkinFolderIsMadeWhereWinampLooks) {
    for (const char* made : {"My Skins", "rel", "Upper", "Upper\\skins"}) {
        ASSERT_TRUE(CreateDirectoryA(Path(made).c_str(), nullptr));
    }
    WriteText(Path("Upper\\WINAMP.EXE"), "MZ");
    struct Case {
        std::string line;
        std::string dir;
        std::string name;
        std::string expected;
    };
    const Case cases[] = {
        {"SkinDir=" + Path("My Skins") + "\\", winamp_, "One", Path("My Skins") + "\\One"},
        {"SkinDir=" + Path("My Skins"), winamp_, "Two", Path("My Skins") + "\\Two"},
        {"SkinDir=", winamp_, "Three", skins_ + "\\Three"},
        {"Other=1", winamp_ + "\\", "Sun set 2!-(x)", skins_ + "\\Sun set 2!-(x)"},
        // Used as it stands, not joined to the Winamp folder: relative to the working folder.
        {"skindir=rel", winamp_, "Five", "rel\\Five"},
        // Winamp's file name in any case; no winamp.ini there.
        {"", Path("Upper"), "Six", Path("Upper\\skins\\Six")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        SetSkinDirLine(c.line);
        int result = RunSaveDialog([&](HWND dialog) {
            TypeInto(dialog, IDC_SAVE_WINAMPDIR, c.dir);
            TypeInto(dialog, IDC_SAVE_SKINNAME, c.name);
            PressOk(dialog);
        });
        EXPECT_EQ(result, 1);
        EXPECT_EQ(gApp.skinFolderPath, c.expected);
        EXPECT_TRUE(IsFolder(c.expected));
        EXPECT_EQ(gApp.winampDir, c.dir) << "the field as typed";
    }
    EXPECT_TRUE(IsFolder(Path("rel\\Five")));
    EXPECT_TRUE(gShown.empty());
}

// The dialog opens with the Winamp folder, an empty name holding the focus, the check box as
// stored, OK as the default button and Tab going OK, Cancel, directory, Browse.., name, check
// box. The check box is taken on OK, and on Yes to the overwrite question after a No, never
// on Cancel or on closing the dialog.
TEST_F(SaveTest, OpensAsStoredAndTakesTheCheckBoxOnlyWithOk) {
    ASSERT_TRUE(CreateDirectoryA((skins_ + "\\Dusk").c_str(), nullptr));
    const int tabOrder[] = {
        IDOK, IDCANCEL, IDC_SAVE_WINAMPDIR, IDC_SAVE_BROWSE, IDC_SAVE_SKINNAME, IDC_SAVE_GENBALANCE,
        IDOK};
    enum End { Ok, Cancel, Close };
    for (int before : {0, 1}) {
        for (int click : {0, 1}) {
            for (End end : {Ok, Cancel, Close}) {
                SCOPED_TRACE(testing::Message() << before << click << end);
                gApp.options.genBalance = before;
                gAnswers = {IDNO, IDYES};
                int result = RunSaveDialog([&](HWND dialog) {
                    EXPECT_EQ(FieldText(dialog, IDC_SAVE_WINAMPDIR), winamp_);
                    EXPECT_EQ(FieldText(dialog, IDC_SAVE_SKINNAME), "");
                    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SAVE_GENBALANCE), UINT(before));
                    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_SAVE_SKINNAME));
                    EXPECT_TRUE(SendDlgItemMessageA(dialog, IDOK, WM_GETDLGCODE, 0, 0) &
                                DLGC_DEFPUSHBUTTON);
                    for (size_t i = 0; i + 1 < std::size(tabOrder); i++) {
                        EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, tabOrder[i]), 0),
                                  GetDlgItem(dialog, tabOrder[i + 1]));
                    }
                    TypeInto(dialog, IDC_SAVE_SKINNAME, "Dusk");
                    if (end == Ok) {
                        PressOk(dialog); // No to the overwrite question
                    }
                    if (click) {
                        Press(dialog, IDC_SAVE_GENBALANCE);
                    }
                    if (end == Ok) {
                        PressOk(dialog); // Yes
                    } else if (end == Cancel) {
                        Press(dialog, IDCANCEL);
                    } else {
                        SendMessageA(dialog, WM_CLOSE, 0, 0);
                    }
                });
                EXPECT_EQ(result, int(end == Ok));
                EXPECT_EQ(gApp.options.genBalance, bool(end == Ok ? before ^ click : before));
                EXPECT_EQ(gShown.size(), end == Ok ? 2u : 0u);
                gShown.clear();
            }
        }
    }
}

// Browse opens the system's folder browser with our title line; Cancel there leaves the
// field as typed, OK puts the chosen folder in it, and neither checks or keeps anything.
TEST_F(SaveTest, BrowsePutsTheChosenFolderIntoTheDirectoryField) {
    std::string chosen = Path("Picked");
    ASSERT_TRUE(CreateDirectoryA(chosen.c_str(), nullptr));
    int result = RunSaveDialog([&](HWND dialog) {
        TypeInto(dialog, IDC_SAVE_WINAMPDIR, "typed by hand");
        ExpectClosedByScript(RunDrivenOwnedBy(
            dialog,
            [&](HWND browser) {
                EXPECT_TRUE(
                    FindWindowExA(browser, nullptr, "Static", "Select your Winamp's directory..."));
                Press(browser, IDCANCEL);
            },
            [&] { Press(dialog, IDC_SAVE_BROWSE); }));
        EXPECT_EQ(FieldText(dialog, IDC_SAVE_WINAMPDIR), "typed by hand");

        ExpectClosedByScript(RunDrivenOwnedBy(
            dialog,
            [&](HWND browser) {
                EXPECT_TRUE(ChooseFolder(browser, chosen));
                Press(browser, IDOK);
            },
            [&] { Press(dialog, IDC_SAVE_BROWSE); }));
        EXPECT_EQ(_stricmp(FieldText(dialog, IDC_SAVE_WINAMPDIR).c_str(), chosen.c_str()), 0)
            << FieldText(dialog, IDC_SAVE_WINAMPDIR);
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(gApp.winampDir, winamp_);
    EXPECT_TRUE(gShown.empty()) << "nothing is checked on Browse";
}

// The Save command (the files' bytes are checked by the writer's tests and the new user's
// whole run; here, what the command passes to the writer)
// Without a made skin (or its preview) Save does nothing; Cancel writes nothing; OK writes the
// set the check box asks for, with the playlist's settings, and gives the cursor back.
TEST_F(SaveTest, SaveWritesTheSetTheCheckBoxAndPlaylistAskFor) {
    EXPECT_FALSE(RunSaveCommand([](HWND dialog) { Press(dialog, IDCANCEL); }));
    gApp.skin = MadeSkin();
    gApp.skin->mainPreview.reset();
    EXPECT_FALSE(RunSaveCommand([](HWND dialog) { Press(dialog, IDCANCEL); }));
    gApp.skin = MadeSkin();
    EXPECT_TRUE(RunSaveCommand([](HWND dialog) {
        TypeInto(dialog, IDC_SAVE_SKINNAME, "Dusk");
        Press(dialog, IDCANCEL);
    }));
    EXPECT_TRUE(FolderEntries(skins_).empty());
    gApp.playlist.fontName = "Tahoma";
    HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    for (bool genBalance : {true, false}) {
        SCOPED_TRACE(genBalance);
        gApp.options.genBalance = !genBalance;
        std::string name = genBalance ? "With Balance" : "Without Balance";
        EXPECT_TRUE(RunSaveCommand([&](HWND dialog) {
            TypeInto(dialog, IDC_SAVE_SKINNAME, name);
            Press(dialog, IDC_SAVE_GENBALANCE);
            SetCursor(cross);
            PressOk(dialog);
        }));
        EXPECT_EQ(GetCursor(), cross) << "the cursor is given back after saving";
        EXPECT_TRUE(gShown.empty()) << "a complete save says nothing";
        std::string folder = skins_ + "\\" + name;
        EXPECT_EQ(FolderEntries(folder).size(), kSkinFileTable.size() - (genBalance ? 0 : 1));
        EXPECT_EQ(Exists(folder + "\\balance.bmp"), genBalance);
        std::vector<uint8_t> pledit = ReadBytes(folder + "\\pledit.txt");
        ASSERT_GE(pledit.size(), 11u);
        EXPECT_EQ(std::string(pledit.end() - 11, pledit.end()), "Font=Tahoma");
    }
}

// A file that cannot be replaced keeps the whole set from replacing anything: the one
// warning names every file and ends with the system's reason, and the old skin stays.
TEST_F(SaveTest, FilesThatCannotBeWrittenAreNamedInOneWarningAndNothingIsReplaced) {
    gApp.skin = MadeSkin();
    std::string folder = skins_ + "\\Dusk";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    WriteText(folder + "\\main.bmp", "old");
    std::string names;
    for (const SkinFile& file : SkinFileSet(*gApp.skin, gApp.playlist, true)) {
        names += (names.empty() ? "" : "\n") + std::string(file.name);
    }
    // A folder where text.bmp belongs; then a text.bmp another program holds unshared.
    for (bool held : {false, true}) {
        SCOPED_TRACE(held);
        HANDLE handle = INVALID_HANDLE_VALUE;
        if (!held) {
            ASSERT_TRUE(CreateDirectoryA((folder + "\\text.bmp").c_str(), nullptr));
        } else {
            ASSERT_TRUE(RemoveDirectoryA((folder + "\\text.bmp").c_str()));
            WriteText(folder + "\\text.bmp", "old");
            handle = CreateFileA((folder + "\\text.bmp").c_str(), GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(handle, INVALID_HANDLE_VALUE);
        }
        gShown.clear();
        gAnswers = {IDYES};
        EXPECT_TRUE(RunSaveCommand([](HWND dialog) {
            TypeInto(dialog, IDC_SAVE_SKINNAME, "Dusk");
            PressOk(dialog);
        }));
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
        ASSERT_EQ(gShown.size(), 2u) << "the overwrite question, then one warning";
        std::string expected = "These skin files could not be written in\n" + folder + " :\n\n" +
                               names + "\n\ntext.bmp: " + (held ? "" : "a folder has that name");
        EXPECT_EQ(gShown[1].text.substr(0, expected.size()), expected);
        if (held) {
            EXPECT_GT(gShown[1].text.size(), expected.size() + 2) << "the system's reason";
        }
        EXPECT_EQ(gShown[1].type, UINT(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(gShown[1].owner, owner_) << "the warning belongs to the main window";
        EXPECT_EQ(ReadBytes(folder + "\\main.bmp"), std::vector<uint8_t>({'o', 'l', 'd'}));
        EXPECT_EQ(FolderEntries(folder).size(), 2u) << "no temporary, no new file";
    }
}

// The rest of the resource script

// Each popup as one line: its title, then every item's text and command ("-" a separator).
TEST(ResourceScript, MenuHoldsEveryCommandWithItsMnemonic) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_MAIN));
    ASSERT_TRUE(menu);
    std::vector<std::string> popups;
    for (int p = 0; p < GetMenuItemCount(menu); p++) {
        char text[64] = {};
        GetMenuStringA(menu, UINT(p), text, sizeof text, MF_BYPOSITION);
        std::string line = text;
        HMENU popup = GetSubMenu(menu, p);
        for (int i = 0; i < GetMenuItemCount(popup); i++) {
            MENUITEMINFOA info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
            info.dwTypeData = text;
            info.cch = sizeof text;
            GetMenuItemInfoA(popup, UINT(i), TRUE, &info);
            line += (info.fType & MFT_SEPARATOR)
                        ? std::string(" | -")
                        : " | " + std::string(text) + " " + std::to_string(info.wID);
        }
        popups.push_back(line);
    }
    DestroyMenu(menu);
    EXPECT_EQ(popups, (std::vector<std::string>{
                          "&File | &Open Bitmap... 40001 | &Save... 40006 | - | E&xit 40003",
                          "&Project | &Undo Skin... 40008 | &Make Skin! 40002 | - | &Option 40009",
                          "&Help | &About... 40005"}));
}

TEST(ResourceScript, AboutBoxShowsTheNameAndVersionAndClosesWithOk) {
    ExpectClosedByScript(RunDriven(
        "About Korvane",
        [](HWND about) {
            EXPECT_TRUE(FindWindowExA(about, nullptr, "Static", "Korvane"));
            EXPECT_EQ(FieldText(about, IDC_ABOUT_VERSION), "Version " KORVANE_VERSION);
            EXPECT_EQ(WindowText(GetDlgItem(about, IDOK)), "OK");
            Press(about, IDOK);
        },
        [] { ShowAboutBox(nullptr); }));
}

TEST(ResourceScript, IconCarriesA16And32PixelImage) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HRSRC group = FindResourceA(instance, MAKEINTRESOURCEA(IDI_KORVANE), MAKEINTRESOURCEA(14));
    ASSERT_TRUE(group) << "icon group 117";
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(instance, group)));
    ASSERT_TRUE(bytes);
    std::vector<int> sizes;
    for (int i = 0; i < (bytes[4] | bytes[5] << 8); i++) {
        const uint8_t* entry = bytes + 6 + 14 * i; // GRPICONDIRENTRY
        sizes.push_back(entry[0]);
        EXPECT_EQ(entry[6] | entry[7] << 8, 32) << "bits per pixel";
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{16, 32}));
}
