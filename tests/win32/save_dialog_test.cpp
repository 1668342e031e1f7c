// The Save dialog and the Save command as a user meets them, driven through the real dialog's
// controls, every message answered by the test; also the menu, About box and icon.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "app/about_box.h"
#include "app/app_state.h"
#include "app/resource.h"
#include "app/save_dialog.h"
#include "image/bmp_file.h"
#include "output/skin_writer.h"
#include "tests/unit/test_util.h"
#include "tests/win32/app_harness.h"
#include "tests/win32/dialog_driver.h"

namespace {

// OK with both fields' selections collapsed first, so a refusal that forgets to select the
// field's text shows.
void PressOk(HWND dialog) {
    for (int id : {IDC_SAVE_WINAMPDIR, IDC_SAVE_SKINNAME}) {
        SendDlgItemMessageA(dialog, id, EM_SETSEL, 1, 1);
    }
    Press(dialog, IDOK);
}

// The warning for a skin folder the system would not make: its path, then the system's words.
std::string NotMade(const std::string& path, DWORD error) {
    std::string words(256, '\0');
    words.resize(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                error, 0, words.data(), DWORD(words.size()), nullptr));
    return "Error Creating Directory " + path +
           " !\nPlease set your skins directory in Winamp program.\n" +
           words.substr(0, words.find_last_not_of("\r\n ") + 1);
}

void MakeFolders(const std::string& base, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        ASSERT_TRUE(CreateDirectoryA((base + name).c_str(), nullptr)) << name;
    }
}

// A run of the program whose folder holds "Winamp": a dummy winamp.exe, a winamp.ini without
// SkinDir, and a skins folder holding the skin Dusk. Run again, SetUp puts all that back.
class SaveTest : public testing::Test {
  protected:
    void SetUp() override {
        RemoveTree(winamp_);
        MakeFolders(winamp_, {"", "\\skins", "\\skins\\Dusk"});
        WriteText(winamp_ + "\\winamp.exe", "MZ");
        WriteText(skins_ + "\\Dusk\\main.bmp", "picture");
        SetSkinDirLine("");
        gApp.winampDir = winamp_;
        gApp.picturePath.clear();
        gApp.templatePath.clear();
    }

    std::string Path(const std::string& name) const { return run_.Folder() + "\\" + name; }

    void SetSkinDirLine(const std::string& line) {
        WriteText(winamp_ + "\\winamp.ini", "[Winamp]\r\nvolume=200\r\n" + line + "\r\n");
    }

    int RunSaveDialog(Script script) {
        int result = 0;
        auto open = [&] { result = SaveDialog(run_.Main()); };
        RunScript("Save...", open, std::move(script));
        return result;
    }

    // The Save command; returns whether the dialog showed.
    bool RunSaveCommand(Script script) {
        Drive drive = RunDriven("Save...", std::move(script), [&] { SaveSkinSet(run_.Main()); });
        EXPECT_FALSE(drive.leftOpen || drive.timedOut);
        return drive.ran;
    }

    AppRun run_;
    const std::string winamp_ = Path("Winamp"), skins_ = winamp_ + "\\skins";
};

} // namespace

// OK makes the skin folder where Winamp looks: the SkinDir of winamp.ini, else the Winamp
// folder's skins. Every refusal: one warning owned by the dialog, the dialog still open, the
// field at fault focused with its text selected, the name left to be corrected, nothing made.
struct OkRow {
    const char* what;
    std::function<void()> prepare;
    std::string dir, name;
    int field; // 0: saved, into the folder `message`
    std::string message;
    DWORD error = 0; // the message is the folder-creation failure for this path and error
    UINT buttons = MB_OK;
};

TEST_F(SaveTest, OkSavesWhereWinampLooksOrWarnsAtTheFieldAtFault) {
    // Skins folder + name may take 246 characters: every member's path (names up to twelve)
    // stays within 259. This deep folder's last level is missing.
    std::string deep = Path("");
    while (deep.size() < 220) {
        deep += "deeper\\";
    }
    const std::string fits(246 - deep.size(), 'n'); // skins folder and name: 246 characters
    const std::string& w = winamp_;
    const std::string mine = Path("My Skins");
    const int N = IDC_SAVE_SKINNAME, D = IDC_SAVE_WINAMPDIR;
    const std::string wrongName = "Wrong skin name...";
    const std::string noWinamp =
        "Could not find WINAMP.EXE !\nYou can search for Winamp's directory using browse button.";
    const std::string over =
        "Skin file would replace the picture or template it is made from...\n" + skins_ +
        "\\Dusk\\main.bmp\nPlease choose another skin name.";
    MakeFolders(Path(""),
                {"Winamp 5", "Nested", "Nested\\bin", "My Skins", "rel", "Upper", "Upper\\skins"});
    for (const char* exe : {"Winamp 5\\winamp.exe", "Nested\\bin\\winamp.exe",
                            "Nested\\winamp.exe.bak", "Upper\\WINAMP.EXE"}) {
        WriteText(Path(exe), "MZ");
    }
    auto skinDir = [&](const std::string& line) { return [=, this] { SetSkinDirLine(line); }; };
    std::vector<OkRow> rows;
    for (const char* forbidden : {".Sunset", "Sun,set", "Sunset:", ";Sunset", "Sun<set", "Sunset>",
                                  "|Sunset", "Sun/set", "Sunset\\"}) {
        rows.push_back({"forbidden character", nullptr, w, forbidden, N, wrongName});
    }
    // clang-format off
    rows.insert(rows.end(), {
        {"SkinDir ending in \\", skinDir("SkinDir=" + mine + "\\"), w, "One", 0, mine + "\\One"},
        {"SkinDir", skinDir("SkinDir=" + mine), w, "Two", 0, mine + "\\Two"},
        {"SkinDir empty", skinDir("SkinDir="), w, "Three", 0, skins_ + "\\Three"},
        {"no SkinDir", skinDir("Other=1"), w + "\\", "Sun set 2!-(x)", 0, skins_ + "\\Sun set 2!-(x)"},
        {"SkinDir as it stands", skinDir("skindir=rel"), w, "Five", 0, "rel\\Five"},
        {"no winamp.ini; WINAMP.EXE", nullptr, Path("Upper"), "Six", 0, Path("Upper\\skins\\Six")},
        {"empty name", nullptr, w, "", N, wrongName},
        {"another Winamp folder, kept", nullptr, Path("Winamp 5"), "x/y", N, wrongName},
        {"folder checked first", nullptr, run_.Folder(), "bad.name", D, noWinamp},
        {"missing folder", nullptr, Path("Missing"), "Dusk", D, noWinamp},
        {"winamp.exe in a sub-folder", nullptr, Path("Nested"), "Dusk", D, noWinamp},
        {"existing, answered No", nullptr, w, "Dusk", N, "Skin name already exist...\nDo you want to overwrite it?", 0, MB_YESNO},
        {"only the last level is made", [&] { RemoveTree(skins_); }, w, "Dusk", N, skins_ + "\\Dusk", ERROR_PATH_NOT_FOUND},
        {"empty: the drive's root", nullptr, "", "Dusk", N, "\\skins\\Dusk", ERROR_PATH_NOT_FOUND},
        {"refused by the system", nullptr, w, "Sun*", N, skins_ + "\\Sun*", ERROR_INVALID_NAME},
        {"longest path that fits", skinDir("SkinDir=" + deep), w, fits, N, deep + fits, ERROR_PATH_NOT_FOUND},
        {"path too long", skinDir("SkinDir=" + deep), w, fits + "n", N, "Skin folder path too long...\n" + deep + fits +
             "n\nPlease choose a shorter skin name or skins directory."},
        {"the open picture", [&] { gApp.picturePath = skins_ + "\\Dusk\\.\\MAIN.BMP"; }, w, "Dusk", N, over},
        {"the template", [&] { gApp.templatePath = skins_ + "\\..\\skins\\Dusk\\"; }, w, "Dusk", N, over},
    });
    // clang-format on
    for (const OkRow& r : rows) {
        SCOPED_TRACE(std::string(r.what) + ": " + r.name);
        if (r.dir.empty() && (Exists("\\winamp.ini") || Exists("\\skins"))) {
            continue; // this drive's root holds a Winamp setup of its own
        }
        SetUp();
        if (r.prepare) {
            r.prepare();
        }
        const std::vector<std::string> before = FolderEntries(skins_);
        run_.ClearMessages();
        run_.Answer(IDNO);
        int result = RunSaveDialog([&](HWND dialog) {
            TypeInto(dialog, D, r.dir);
            TypeInto(dialog, N, r.name);
            PressOk(dialog);
            if (!r.field) {
                return;
            }
            ASSERT_EQ(run_.Messages().size(), 1u) << "exactly one message per refusal";
            HWND field = GetDlgItem(dialog, r.field);
            DWORD start = 1, end = 0;
            SendMessageA(field, EM_GETSEL, WPARAM(&start), LPARAM(&end));
            const ShownMessage& s = run_.Messages()[0];
            EXPECT_EQ(std::tuple(s.text, s.caption, s.owner, s.type, IsWindowVisible(dialog),
                                 GetFocus(), start, end, FieldText(dialog, N)),
                      std::tuple(r.error ? NotMade(r.message, r.error) : r.message,
                                 std::string("Warning..!"), dialog,
                                 UINT(r.buttons | MB_ICONEXCLAMATION), TRUE, field, DWORD(0),
                                 DWORD(GetWindowTextLengthA(field)), r.name));
            Press(dialog, IDCANCEL);
        });
        // A Winamp folder that passes its check is kept, whatever follows.
        const std::string kept = r.field != D && !r.dir.empty() ? r.dir : winamp_;
        if (r.field) {
            EXPECT_EQ(std::tuple(result, gApp.winampDir, FolderEntries(skins_)),
                      std::tuple(0, kept, before));
        } else {
            EXPECT_EQ(std::tuple(result, gApp.winampDir, run_.Messages().size(),
                                 gApp.skinFolderPath, IsFolder(r.message)),
                      std::tuple(1, kept, 0u, r.message, true));
        }
    }
}

// The dialog opens with the Winamp folder, an empty name holding the focus, the check box as
// stored, OK as the default button and Tab going OK, Cancel, directory, Browse.., name, check
// box. The check box is taken on OK, and on Yes to the overwrite question after a No, never
// on Cancel or on closing the dialog.
TEST_F(SaveTest, OpensAsStoredAndTakesTheCheckBoxOnlyWithOk) {
    const std::vector<int> tabOrder = {
        IDOK, IDCANCEL, IDC_SAVE_WINAMPDIR, IDC_SAVE_BROWSE, IDC_SAVE_SKINNAME, IDC_SAVE_GENBALANCE,
        IDOK};
    enum End { Ok, Cancel, Close };
    for (int i = 0; i < 12; i++) {
        const int before = i & 1, click = i >> 1 & 1, end = i / 4;
        SCOPED_TRACE(testing::Message() << before << click << end);
        gApp.options.genBalance = before;
        run_.ClearMessages();
        run_.Answer(IDNO);
        run_.Answer(IDYES);
        int result = RunSaveDialog([&](HWND dialog) {
            std::vector<int> tabs = {IDOK};
            while (tabs.size() < tabOrder.size()) {
                tabs.push_back(
                    GetDlgCtrlID(GetNextDlgTabItem(dialog, GetDlgItem(dialog, tabs.back()), 0)));
            }
            LRESULT code = SendDlgItemMessageA(dialog, IDOK, WM_GETDLGCODE, 0, 0);
            EXPECT_EQ(std::tuple(FieldText(dialog, IDC_SAVE_WINAMPDIR),
                                 FieldText(dialog, IDC_SAVE_SKINNAME),
                                 IsDlgButtonChecked(dialog, IDC_SAVE_GENBALANCE),
                                 GetDlgCtrlID(GetFocus()), bool(code & DLGC_DEFPUSHBUTTON), tabs),
                      std::tuple(winamp_, std::string(), UINT(before), IDC_SAVE_SKINNAME, true,
                                 tabOrder));
            TypeInto(dialog, IDC_SAVE_SKINNAME, "Dusk");
            // OK is answered No to the overwrite question, then Yes.
            for (int id : {end == Ok ? IDOK : 0, click ? IDC_SAVE_GENBALANCE : 0}) {
                if (id) {
                    Press(dialog, id);
                }
            }
            SendMessageA(end == Close ? dialog : GetDlgItem(dialog, end == Ok ? IDOK : IDCANCEL),
                         end == Close ? WM_CLOSE : BM_CLICK, 0, 0);
        });
        EXPECT_EQ(std::tuple(result, gApp.options.genBalance, run_.Messages().size()),
                  std::tuple(int(end == Ok), bool(end == Ok ? before ^ click : before),
                             end == Ok ? 2u : 0u));
    }
}

// Browse opens the system's folder browser with our title line; Cancel there leaves the
// field as typed, OK puts the chosen folder in it, and neither checks or keeps anything.
TEST_F(SaveTest, BrowsePutsTheChosenFolderIntoTheDirectoryField) {
    std::string chosen = Path("Picked");
    ASSERT_TRUE(CreateDirectoryA(chosen.c_str(), nullptr));
    int result = RunSaveDialog([&](HWND dialog) {
        auto browse = [&] { Press(dialog, IDC_SAVE_BROWSE); };
        TypeInto(dialog, IDC_SAVE_WINAMPDIR, "typed by hand");
        for (bool ok : {false, true}) {
            Script pick = [&](HWND browser) {
                EXPECT_TRUE(
                    FindWindowExA(browser, nullptr, "Static", "Select your Winamp's directory..."));
                EXPECT_TRUE(!ok || ChooseFolder(browser, chosen));
                Press(browser, ok ? IDOK : IDCANCEL);
            };
            RunScript(nullptr, browse, pick, dialog);
            const std::string field = FieldText(dialog, IDC_SAVE_WINAMPDIR);
            EXPECT_EQ(_stricmp(field.c_str(), ok ? chosen.c_str() : "typed by hand"), 0) << field;
        }
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(std::tuple(result, gApp.winampDir, run_.Messages().size()),
              std::tuple(0, winamp_, 0u));
}

// What the Save command passes to the writer (the bytes are the writer's tests' and the new
// user's): nothing without a made skin, nothing on Cancel; on OK the set the check box asks
// for, with the playlist's settings, saying nothing and giving the cursor back.
TEST_F(SaveTest, SaveWritesTheSetTheCheckBoxAndPlaylistAskForOrReplacesNothing) {
    auto cancel = [](HWND dialog) {
        TypeInto(dialog, IDC_SAVE_SKINNAME, "Dusk");
        Press(dialog, IDCANCEL);
    };
    run_.Open(run_.WritePicture("photo.bmp", *Picture(400, 300)));
    EXPECT_FALSE(RunSaveCommand(cancel));
    Click(gApp.makeSkinButton);
    EXPECT_TRUE(RunSaveCommand(cancel));
    EXPECT_EQ(FolderEntries(skins_), std::vector<std::string>{"Dusk"});
    // Playlist choices made after Make Skin reach pledit.txt and genex.bmp's colours alike.
    gApp.playlist.fontName = "Tahoma";
    gApp.playlist.normalBack = Rgb(1, 2, 3);
    HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    for (bool genBalance : {true, false}) {
        gApp.options.genBalance = !genBalance;
        std::string name = genBalance ? "With Balance" : "Without Balance";
        EXPECT_TRUE(RunSaveCommand([&](HWND dialog) {
            TypeInto(dialog, IDC_SAVE_SKINNAME, name);
            Press(dialog, IDC_SAVE_GENBALANCE);
            SetCursor(cross);
            PressOk(dialog);
        }));
        std::string folder = skins_ + "\\" + name;
        std::vector<uint8_t> pledit = ReadBytes(folder + "\\pledit.txt");
        auto genex = DibReadFile((folder + "\\genex.bmp").c_str());
        EXPECT_EQ(std::tuple(GetCursor() == cross, run_.Messages().size(),
                             FolderEntries(folder).size(), Exists(folder + "\\balance.bmp"),
                             std::string(pledit.end() - std::min<size_t>(11, pledit.size()),
                                         pledit.end()),
                             genex ? DibGetPixel(genex.get(), 48, 0) : 0u),
                  std::tuple(true, 0u, kSkinFileTable.size() - !genBalance, genBalance,
                             std::string("Font=Tahoma"), Rgb(1, 2, 3)));
    }

    // A file that cannot be replaced (a folder in its place, then a file held unshared) keeps
    // the whole set from replacing anything: one warning to the main window names every file
    // and ends with the system's reason, and the old skin stays.
    std::string folder = skins_ + "\\Dusk", text = folder + "\\text.bmp";
    WriteText(folder + "\\main.bmp", "old");
    std::string names;
    for (const SkinFile& file : SkinFileSet(*gApp.skin, gApp.playlist, gApp.options.genBalance)) {
        names += (names.empty() ? "" : "\n") + std::string(file.name);
    }
    ASSERT_TRUE(CreateDirectoryA(text.c_str(), nullptr));
    for (bool held : {false, true}) {
        SCOPED_TRACE(held);
        if (held) {
            ASSERT_TRUE(RemoveDirectoryA(text.c_str()));
            WriteText(text, "old");
        }
        // Opened without sharing, the file cannot be replaced until it is closed.
        HANDLE handle =
            held ? CreateFileA(text.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                 : INVALID_HANDLE_VALUE;
        ASSERT_EQ(handle == INVALID_HANDLE_VALUE, !held);
        run_.ClearMessages();
        run_.Answer(IDYES);
        EXPECT_TRUE(RunSaveCommand([](HWND dialog) {
            TypeInto(dialog, IDC_SAVE_SKINNAME, "Dusk");
            PressOk(dialog);
        }));
        if (held) {
            CloseHandle(handle);
        }
        ASSERT_EQ(run_.Messages().size(), 2u) << "the overwrite question, then one warning";
        std::string expected = "These skin files could not be written in\n" + folder + " :\n\n" +
                               names + "\n\ntext.bmp: " + (held ? "" : "a folder has that name");
        const ShownMessage& s = run_.Messages()[1];
        EXPECT_EQ(std::tuple(s.text.substr(0, expected.size()),
                             !held || s.text.size() > expected.size() + 2, s.type, s.owner,
                             ReadBytes(folder + "\\main.bmp"), FolderEntries(folder).size()),
                  std::tuple(expected, true, UINT(MB_OK | MB_ICONEXCLAMATION), run_.Main(),
                             std::vector<uint8_t>({'o', 'l', 'd'}), 2u));
    }
}

// The menu holds every command with its mnemonic, the About box shows the version, and the icon
// carries a 16 and a 32 pixel image. Each popup as one line: its title, then every item's text
// and command ("-" a separator); each image of the icon as "size/bits per pixel".
TEST(ResourceScript, MenuAboutBoxAndIconAreWhatTheUserSees) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDM_MAIN));
    std::vector<std::string> popups;
    for (int p = 0; p < GetMenuItemCount(menu); p++) {
        char text[64] = {};
        GetMenuStringA(menu, UINT(p), text, sizeof text, MF_BYPOSITION);
        std::string line = text;
        HMENU popup = GetSubMenu(menu, p);
        for (int i = 0; i < GetMenuItemCount(popup); i++) {
            GetMenuStringA(popup, UINT(i), text, sizeof text, MF_BYPOSITION);
            UINT id = GetMenuItemID(popup, i); // 0: a separator
            line += id ? " | " + std::string(text) + " " + std::to_string(id) : std::string(" | -");
        }
        popups.push_back(line);
    }
    DestroyMenu(menu);
    ACCEL key = {};
    EXPECT_EQ(
        CopyAcceleratorTableA(LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN)), &key, 1), 1);
    EXPECT_EQ(std::tuple(key.fVirt, key.key, key.cmd),
              std::tuple(BYTE(FVIRTKEY | FCONTROL), WORD('D'), WORD(IDM_SUGGEST)));
    EXPECT_EQ(popups, (std::vector<std::string>{
                          "&File | &Open Bitmap... 40001 | &Save... 40006 | - | E&xit 40003",
                          "&Project | &Undo Skin... 40008 | &Make Skin! 40002 | Suggest "
                          "&Design\tCtrl+D 40010 | - | &Option 40009",
                          "&Help | &About... 40005"}));

    auto show = [] { ShowAboutBox(nullptr); };
    RunScript("About Korvane", show, [](HWND about) {
        EXPECT_EQ(std::tuple(bool(FindWindowExA(about, nullptr, "Static", "Korvane")),
                             FieldText(about, IDC_ABOUT_VERSION), FieldText(about, IDOK)),
                  std::tuple(true, std::string("Version " KORVANE_VERSION), std::string("OK")));
        Press(about, IDOK);
    });

    HRSRC group = FindResourceA(instance, MAKEINTRESOURCEA(IDI_KORVANE), MAKEINTRESOURCEA(14));
    ASSERT_TRUE(group) << "icon group 117";
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(instance, group)));
    std::vector<std::string> images;
    for (int i = 0; i < (bytes[4] | bytes[5] << 8); i++) {
        const uint8_t* entry = bytes + 6 + 14 * i; // GRPICONDIRENTRY
        images.push_back(std::to_string(entry[0]) + "/" + std::to_string(entry[6] | entry[7] << 8));
    }
    std::sort(images.begin(), images.end());
    EXPECT_EQ(images, (std::vector<std::string>{"16/32", "32/32"}));
}
