// The Save dialog and the Save command as a user meets them: the real dialog from the
// program's resources, driven through its controls while it runs modally, every message
// answered by the test. Also the rest of the resource script: menu, About box and icon.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/about_box.h"
#include "app/app_state.h"
#include "app/message_box.h"
#include "app/resource.h"
#include "app/save_dialog.h"
#include "compose/skin.h"
#include "image/bmp_file.h"
#include "image/messages.h"
#include "output/skin_writer.h"
#include "tests/unit/test_util.h"
#include "tests/win32/app_harness.h"

namespace {

// Message boxes: recorded and answered by the test

struct Shown {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

std::vector<Shown> gShown;
std::deque<int> gAnswers;

int RecordMessage(HWND owner, const char* text, const char* caption, UINT type) {
    gShown.push_back({owner, text ? text : "", caption ? caption : "", type});
    if (gAnswers.empty()) {
        return IDOK;
    }
    int answer = gAnswers.front();
    gAnswers.pop_front();
    return answer;
}

// Driving a modal dialog from inside its own message loop
//
// A thread timer fires inside whatever modal loop runs on this thread. Once the dialog
// looked for is visible, the script runs against it, synchronously. A dialog still open on
// the next tick after its script, or one that never shows, is ended by the driver and the
// test fails: nothing waits for a person.

constexpr UINT kTickMs = 10;
constexpr int kPatienceTicks = 500;
constexpr INT_PTR kAbandoned = 0x7AB;

class DialogDriver;
std::vector<DialogDriver*> gDrivers;
UINT_PTR gTimer = 0;

struct DialogQuery {
    const char* caption; // match by caption, or
    HWND owner;          // by owner when caption is nullptr
    HWND except;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM lParam) {
    auto* query = reinterpret_cast<DialogQuery*>(lParam);
    char className[16] = {};
    GetClassNameA(hwnd, className, sizeof className);
    if (std::strcmp(className, "#32770") != 0 || !IsWindowVisible(hwnd) || hwnd == query->except) {
        return TRUE;
    }
    if (query->caption) {
        char caption[128] = {};
        GetWindowTextA(hwnd, caption, sizeof caption);
        if (std::strcmp(caption, query->caption) != 0) {
            return TRUE;
        }
    } else if (GetWindow(hwnd, GW_OWNER) != query->owner) {
        return TRUE;
    }
    query->found = hwnd;
    return FALSE;
}

HWND FindVisibleDialog(const char* caption, HWND owner, HWND except = nullptr) {
    DialogQuery query{caption, owner, except, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

BOOL CALLBACK EndEveryDialog(HWND hwnd, LPARAM except) {
    char className[16] = {};
    GetClassNameA(hwnd, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0 && hwnd != reinterpret_cast<HWND>(except)) {
        EndDialog(hwnd, kAbandoned);
    }
    return TRUE;
}

class DialogDriver {
  public:
    using Script = std::function<void(HWND dialog)>;

    DialogDriver(const char* caption, HWND owner, Script script)
        : caption_(caption), owner_(owner), script_(std::move(script)) {
        gDrivers.push_back(this);
        if (!gTimer) {
            gTimer = SetTimer(nullptr, 0, kTickMs, &DialogDriver::Tick);
        }
    }

    ~DialogDriver() {
        gDrivers.erase(std::find(gDrivers.begin(), gDrivers.end(), this));
        if (gDrivers.empty() && gTimer) {
            KillTimer(nullptr, gTimer);
            gTimer = 0;
        }
    }

    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    bool Ran() const { return state_ != State::Waiting; }
    bool LeftOpen() const { return leftOpen_; }
    bool TimedOut() const { return timedOut_; }

  private:
    enum class State { Waiting, Running, Done };

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (gDrivers.empty()) {
            return;
        }
        gDrivers.back()->Step();
    }

    void Step() {
        switch (state_) {
        case State::Waiting:
            if (HWND dialog = FindVisibleDialog(caption_, owner_)) {
                dialog_ = dialog;
                state_ = State::Running;
                script_(dialog);
                state_ = State::Done;
            } else if (++ticks_ > kPatienceTicks) {
                timedOut_ = true;
                EnumThreadWindows(GetCurrentThreadId(), EndEveryDialog, 0);
            }
            break;
        case State::Running:
            // The script waits on a dialog nobody drives (a message box that bypassed the
            // hook, say): end it so the script can go on and the test can fail.
            if (++ticks_ > kPatienceTicks) {
                timedOut_ = true;
                EnumThreadWindows(GetCurrentThreadId(), EndEveryDialog,
                                  reinterpret_cast<LPARAM>(dialog_));
            }
            break;
        case State::Done:
            if (IsWindow(dialog_)) {
                leftOpen_ = true;
                EndDialog(dialog_, kAbandoned);
            }
            break;
        }
    }

    const char* caption_;
    HWND owner_;
    Script script_;
    State state_ = State::Waiting;
    HWND dialog_ = nullptr;
    int ticks_ = 0;
    bool leftOpen_ = false;
    bool timedOut_ = false;
};

// What the user does and sees in the dialog

std::string Text(HWND dialog, int id) {
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void Type(HWND dialog, int id, const std::string& text) {
    SetDlgItemTextA(dialog, id, text.c_str());
}

void Click(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// OK as a user presses it. Both fields' selections are collapsed first, so a refusal that
// forgets to select the field's text shows.
void PressOk(HWND dialog) {
    for (int id : {IDC_SAVE_WINAMPDIR, IDC_SAVE_SKINNAME}) {
        SendDlgItemMessageA(dialog, id, EM_SETSEL, 1, 1);
    }
    Click(dialog, IDOK);
}

bool Checked(HWND dialog) {
    return IsDlgButtonChecked(dialog, IDC_SAVE_GENBALANCE) == BST_CHECKED;
}

void ExpectFocusedWithTextSelected(HWND dialog, int id) {
    HWND field = GetDlgItem(dialog, id);
    EXPECT_EQ(GetFocus(), field) << "focus is not in field " << id;
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, static_cast<DWORD>(GetWindowTextLengthA(field))) << "field " << id;
}

// One warning owned by the dialog, then the user back in the field at fault with its
// text selected, and the dialog still open.
void ExpectRefused(HWND dialog, size_t shownBefore, int field, const std::string& text,
                   UINT buttons = MB_OK) {
    ASSERT_EQ(gShown.size(), shownBefore + 1) << "exactly one message per refusal";
    const Shown& shown = gShown.back();
    EXPECT_EQ(shown.text, text);
    EXPECT_EQ(shown.caption, "Warning..!");
    EXPECT_EQ(shown.owner, dialog);
    EXPECT_EQ(shown.type, buttons | MB_ICONEXCLAMATION);
    EXPECT_TRUE(IsWindowVisible(dialog)) << "a refusal keeps the dialog open";
    ExpectFocusedWithTextSelected(dialog, field);
}

std::string Fill(const char* pattern, const std::string& value) {
    std::string text = pattern;
    text.replace(text.find("%s"), 2, value);
    return text;
}

// The folder-creation warning for a missing parent: the system's words for it come last.
std::string PathNotFound(const std::string& warning) {
    char words[256] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             ERROR_PATH_NOT_FOUND, 0, words, sizeof words, nullptr);
    while (n > 0 && (words[n - 1] == '\r' || words[n - 1] == '\n')) {
        n--;
    }
    return warning + "\n" + std::string(words, n);
}

// Files and folders

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
        WriteText(winamp_ + "\\winamp.ini", "[Winamp]\r\nvolume=200\r\n");

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

    std::string Path(const std::string& name) const { return folder_ + "\\" + name; }

    void SetSkinDirLine(const std::string& line) {
        WriteText(winamp_ + "\\winamp.ini", "[Winamp]\r\nvolume=200\r\n" + line + "\r\n");
    }

    int RunSaveDialog(DialogDriver::Script script) {
        DialogDriver driver("Save...", nullptr, std::move(script));
        int result = SaveDialog(owner_);
        EXPECT_TRUE(driver.Ran()) << "the Save dialog never showed";
        EXPECT_FALSE(driver.LeftOpen()) << "the Save dialog was left waiting for a person";
        EXPECT_FALSE(driver.TimedOut());
        return result;
    }

    // The Save command; returns whether the dialog showed.
    bool RunSaveCommand(DialogDriver::Script script) {
        DialogDriver driver("Save...", nullptr, std::move(script));
        SaveSkinSet(owner_);
        EXPECT_FALSE(driver.LeftOpen()) << "the Save dialog was left waiting for a person";
        EXPECT_FALSE(driver.TimedOut());
        return driver.Ran();
    }

    std::string previousDir_;
    std::string folder_;
    std::string winamp_;
    std::string skins_;
    HWND owner_ = nullptr;
};

} // namespace

// FindWinampExe and IsValidSkinName

TEST_F(SaveTest, WinampIsFoundOnlyInTheFolderNamed) {
    ASSERT_TRUE(CreateDirectoryA(Path("Empty").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(Path("Upper").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(Path("Nested").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(Path("Nested\\bin").c_str(), nullptr));
    WriteText(Path("Upper\\WINAMP.EXE"), "MZ");
    WriteText(Path("Nested\\bin\\winamp.exe"), "MZ");
    WriteText(Path("Empty\\winamp.exe.bak"), "MZ");

    EXPECT_TRUE(FindWinampExe(winamp_.c_str()));
    EXPECT_TRUE(FindWinampExe((winamp_ + "\\").c_str()));
    EXPECT_TRUE(FindWinampExe(Path("Upper").c_str())) << "file names ignore case";
    EXPECT_FALSE(FindWinampExe(Path("Empty").c_str()));
    EXPECT_FALSE(FindWinampExe(Path("Nested").c_str())) << "sub-folders are not searched";
    EXPECT_FALSE(FindWinampExe(Path("Missing").c_str()));
    EXPECT_FALSE(FindWinampExe(""));
    EXPECT_FALSE(FindWinampExe(nullptr));
}

TEST(SkinName, EveryForbiddenCharacterIsRefusedWherever) {
    for (char c : std::string(".,:;<>|/\\")) {
        for (const std::string& name : {std::string(1, c) + "Dusk", "Du" + std::string(1, c) + "sk",
                                        "Dusk" + std::string(1, c)}) {
            EXPECT_FALSE(IsValidSkinName(name.c_str(), static_cast<int>(name.size()))) << name;
        }
    }
}

TEST(SkinName, OtherCharactersPassAndOnlyTheGivenLengthCounts) {
    for (const char* name :
         {"Dusk", "Sun set 2", "Wow!-(x)", "a_b+c=d", "*?", "\xE9t\xE9", "'\""}) {
        EXPECT_TRUE(IsValidSkinName(name, static_cast<int>(std::strlen(name)))) << name;
    }
    EXPECT_TRUE(IsValidSkinName("Dusk.bmp", 4)) << "the dot lies beyond the length";
    EXPECT_FALSE(IsValidSkinName("Dusk.bmp", 5));
    EXPECT_TRUE(IsValidSkinName("", 0));
    EXPECT_TRUE(IsValidSkinName(".", 0));
    EXPECT_TRUE(IsValidSkinName(".", -1));
}

// The dialog

TEST_F(SaveTest, OpensWithTheWinampFolderAndTheFocusInTheEmptyName) {
    for (bool genBalance : {true, false}) {
        SCOPED_TRACE(genBalance);
        gApp.options.genBalance = genBalance;
        int result = RunSaveDialog([&](HWND dialog) {
            EXPECT_EQ(Text(dialog, IDC_SAVE_WINAMPDIR), winamp_);
            EXPECT_EQ(Text(dialog, IDC_SAVE_SKINNAME), "");
            EXPECT_EQ(Checked(dialog), genBalance);
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_SAVE_SKINNAME));
            Type(dialog, IDC_SAVE_SKINNAME, "Left over");
            Click(dialog, IDCANCEL);
        });
        EXPECT_EQ(result, 0);
        EXPECT_EQ(gApp.options.genBalance, genBalance);
    }
    EXPECT_TRUE(gShown.empty());
    EXPECT_TRUE(FolderEntries(skins_).empty());
}

TEST_F(SaveTest, ClosingTheDialogIsCancel) {
    int result = RunSaveDialog([](HWND dialog) {
        Type(dialog, IDC_SAVE_SKINNAME, "Dusk");
        SendMessageA(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(FolderEntries(skins_).empty());
}

TEST_F(SaveTest, ForbiddenOrMissingNamesAreRefusedIntoTheNameField) {
    int result = RunSaveDialog([&](HWND dialog) {
        for (char c : std::string(".,:;<>|/\\")) {
            std::string name = "Sun" + std::string(1, c) + "set";
            SCOPED_TRACE(name);
            Type(dialog, IDC_SAVE_SKINNAME, name);
            size_t before = gShown.size();
            PressOk(dialog);
            ExpectRefused(dialog, before, IDC_SAVE_SKINNAME, kMsgWrongSkinName);
            EXPECT_EQ(Text(dialog, IDC_SAVE_SKINNAME), name) << "the name is left to be corrected";
        }
        Type(dialog, IDC_SAVE_SKINNAME, "");
        size_t before = gShown.size();
        PressOk(dialog);
        ExpectRefused(dialog, before, IDC_SAVE_SKINNAME, kMsgWrongSkinName);
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(FolderEntries(skins_).empty());
}

TEST_F(SaveTest, NamesWithSpacesDigitsAndOtherPunctuationAreSaved) {
    int result = RunSaveDialog([](HWND dialog) {
        Type(dialog, IDC_SAVE_SKINNAME, "Sun set 2!-(x)");
        PressOk(dialog);
    });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(gShown.empty());
    EXPECT_EQ(gApp.skinFolderPath, skins_ + "\\Sun set 2!-(x)");
    EXPECT_TRUE(IsFolder(gApp.skinFolderPath));
}

TEST_F(SaveTest, AFolderWithoutWinampIsRefusedIntoTheDirectoryField) {
    ASSERT_TRUE(CreateDirectoryA(Path("NoWinamp").c_str(), nullptr));
    for (const std::string& dir : {Path("NoWinamp"), Path("Missing")}) {
        SCOPED_TRACE(dir);
        int result = RunSaveDialog([&](HWND dialog) {
            Type(dialog, IDC_SAVE_WINAMPDIR, dir);
            Type(dialog, IDC_SAVE_SKINNAME, "bad.name");
            size_t before = gShown.size();
            PressOk(dialog);
            // The directory is checked first; the bad name is not reached.
            ExpectRefused(dialog, before, IDC_SAVE_WINAMPDIR, kMsgNoWinampExe);
            Click(dialog, IDCANCEL);
        });
        EXPECT_EQ(result, 0);
        EXPECT_EQ(gApp.winampDir, winamp_);
    }
}

TEST_F(SaveTest, ACheckedWinampFolderIsKeptAfterCancel) {
    std::string other = Path("Winamp 5");
    ASSERT_TRUE(CreateDirectoryA(other.c_str(), nullptr));
    WriteText(other + "\\winamp.exe", "MZ");
    gApp.options.genBalance = true;
    int result = RunSaveDialog([&](HWND dialog) {
        Type(dialog, IDC_SAVE_WINAMPDIR, other);
        Type(dialog, IDC_SAVE_SKINNAME, "x/y");
        Click(dialog, IDC_SAVE_GENBALANCE);
        size_t before = gShown.size();
        PressOk(dialog);
        ExpectRefused(dialog, before, IDC_SAVE_SKINNAME, kMsgWrongSkinName);
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(gApp.winampDir, other);
    EXPECT_TRUE(gApp.options.genBalance) << "the check box counts only with OK";
}

TEST_F(SaveTest, EmptyDirectoryFieldLooksAtTheRootOfTheCurrentDrive) {
    if (Exists("\\winamp.ini") || Exists("\\skins")) {
        GTEST_SKIP() << "this drive's root holds a Winamp setup of its own";
    }
    int result = RunSaveDialog([&](HWND dialog) {
        Type(dialog, IDC_SAVE_WINAMPDIR, "");
        Type(dialog, IDC_SAVE_SKINNAME, "Dusk");
        size_t before = gShown.size();
        PressOk(dialog);
        // No winamp.exe check; the skins folder is "skins" at the root, which is missing.
        ExpectRefused(dialog, before, IDC_SAVE_SKINNAME,
                      PathNotFound(Fill(kMsgCreateDirFailed, "\\skins\\Dusk")));
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(gApp.winampDir, winamp_) << "an empty field does not replace the Winamp folder";
    EXPECT_EQ(gApp.skinFolderPath, "\\skins\\Dusk");
}

TEST_F(SaveTest, ADirectoryEndingInABackslashGetsNoSecondOne) {
    for (const std::string& dir : {winamp_, winamp_ + "\\"}) {
        SCOPED_TRACE(dir);
        int result = RunSaveDialog([&](HWND dialog) {
            Type(dialog, IDC_SAVE_WINAMPDIR, dir);
            Type(dialog, IDC_SAVE_SKINNAME, "Dusk " + std::to_string(dir.size()));
            PressOk(dialog);
        });
        EXPECT_EQ(result, 1);
        EXPECT_EQ(gApp.skinFolderPath, skins_ + "\\Dusk " + std::to_string(dir.size()));
        EXPECT_TRUE(IsFolder(gApp.skinFolderPath));
        EXPECT_EQ(gApp.winampDir, dir) << "the field as typed";
    }
    EXPECT_TRUE(gShown.empty());
}

TEST_F(SaveTest, SkinDirOfWinampIniIsTheSkinsFolder) {
    ASSERT_TRUE(CreateDirectoryA(Path("My Skins").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(Path("rel").c_str(), nullptr));
    struct Case {
        std::string line;
        std::string name;
        std::string expected;
    };
    const Case cases[] = {
        {"SkinDir=" + Path("My Skins") + "\\", "One", Path("My Skins") + "\\One"},
        {"SkinDir=" + Path("My Skins"), "Two", Path("My Skins") + "\\Two"},
        {"SkinDir=", "Three", skins_ + "\\Three"},
        {"Other=1", "Four", skins_ + "\\Four"},
        // Used as it stands, not joined to the Winamp folder: relative to the working folder.
        {"skindir=rel", "Five", "rel\\Five"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        SetSkinDirLine(c.line);
        int result = RunSaveDialog([&](HWND dialog) {
            Type(dialog, IDC_SAVE_SKINNAME, c.name);
            PressOk(dialog);
        });
        EXPECT_EQ(result, 1);
        EXPECT_EQ(gApp.skinFolderPath, c.expected);
        EXPECT_TRUE(IsFolder(c.expected));
    }
    EXPECT_TRUE(IsFolder(Path("rel\\Five")));
    EXPECT_TRUE(gShown.empty());
}

TEST_F(SaveTest, AnExistingFolderIsOverwrittenOnlyAfterYes) {
    ASSERT_TRUE(CreateDirectoryA((skins_ + "\\Dusk").c_str(), nullptr));
    gApp.options.genBalance = true;
    gAnswers = {IDNO, IDYES};
    int result = RunSaveDialog([&](HWND dialog) {
        Type(dialog, IDC_SAVE_SKINNAME, "Dusk");
        size_t before = gShown.size();
        PressOk(dialog);
        ExpectRefused(dialog, before, IDC_SAVE_SKINNAME, kMsgSkinExists, MB_YESNO);
        Click(dialog, IDC_SAVE_GENBALANCE);
        PressOk(dialog);
        EXPECT_EQ(gShown.size(), before + 2);
        EXPECT_EQ(gShown.back().text, kMsgSkinExists);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(gApp.skinFolderPath, skins_ + "\\Dusk");
    EXPECT_FALSE(gApp.options.genBalance) << "Yes takes the check box as OK does";
}

TEST_F(SaveTest, AMissingSkinsFolderCannotTakeTheSkin) {
    ASSERT_TRUE(RemoveDirectoryA(skins_.c_str()));
    int result = RunSaveDialog([&](HWND dialog) {
        Type(dialog, IDC_SAVE_SKINNAME, "Dusk");
        size_t before = gShown.size();
        PressOk(dialog);
        ExpectRefused(dialog, before, IDC_SAVE_SKINNAME,
                      PathNotFound(Fill(kMsgCreateDirFailed, skins_ + "\\Dusk")));
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(Exists(skins_)) << "only the last level is ever made";
}

TEST_F(SaveTest, NamesWindowsRefusesEndInErrorCreatingDirectory) {
    int result = RunSaveDialog([&](HWND dialog) {
        Type(dialog, IDC_SAVE_SKINNAME, "Sun*");
        size_t before = gShown.size();
        PressOk(dialog);
        // The system's reason comes as one more line, whatever its words.
        const std::string said = gShown.empty() ? "" : gShown.back().text;
        const std::string ours = Fill(kMsgCreateDirFailed, skins_ + "\\Sun*") + "\n";
        ASSERT_EQ(said.substr(0, ours.size()), ours);
        const std::string reason = said.substr(ours.size());
        EXPECT_FALSE(reason.empty());
        EXPECT_EQ(reason.find('\n'), std::string::npos) << reason;
        ExpectRefused(dialog, before, IDC_SAVE_SKINNAME, ours + reason);
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
}

TEST_F(SaveTest, GenBalanceIsTakenFromTheCheckBox) {
    struct Case {
        bool before;
        bool click;
        bool after;
    };
    const Case cases[] = {
        {true, false, true}, {true, true, false}, {false, false, false}, {false, true, true}};
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n);
        gApp.options.genBalance = c.before;
        int result = RunSaveDialog([&](HWND dialog) {
            Type(dialog, IDC_SAVE_SKINNAME, "Dusk " + std::to_string(n));
            if (c.click) {
                Click(dialog, IDC_SAVE_GENBALANCE);
            }
            PressOk(dialog);
        });
        EXPECT_EQ(result, 1);
        EXPECT_EQ(gApp.options.genBalance, c.after);
        n++;
    }
}

TEST_F(SaveTest, AFolderTooLongForItsFileNamesIsRefusedBeforeItIsMade) {
    // Every member's path must stay within 259 characters; the longest member names have
    // twelve characters, so skins folder + name may take 246.
    std::string skinsDir = Path("");
    while (skinsDir.size() < 220) {
        skinsDir += "deeper\\";
    }
    SetSkinDirLine("SkinDir=" + skinsDir);
    const std::string fits(246 - skinsDir.size(), 'n');
    const std::string tooLong(247 - skinsDir.size(), 'n');
    int result = RunSaveDialog([&](HWND dialog) {
        Type(dialog, IDC_SAVE_SKINNAME, fits);
        size_t before = gShown.size();
        PressOk(dialog);
        // Long enough to fit: it gets as far as making the folder, whose parent is missing.
        ExpectRefused(dialog, before, IDC_SAVE_SKINNAME,
                      PathNotFound(Fill(kMsgCreateDirFailed, skinsDir + fits)));

        Type(dialog, IDC_SAVE_SKINNAME, tooLong);
        before = gShown.size();
        PressOk(dialog);
        ExpectRefused(dialog, before, IDC_SAVE_SKINNAME,
                      Fill(kMsgSkinPathTooLong, skinsDir + tooLong));
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
}

// A skin folder that holds the open picture or is the chosen template would overwrite what
// the skin is made from: refused in the dialog, however the path is spelled.
TEST_F(SaveTest, AFolderHoldingThePictureOrTheTemplateIsRefused) {
    std::string folder = skins_ + "\\Dusk";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    WriteText(folder + "\\main.bmp", "picture");
    WriteText(folder + "\\shufrep.bmp", "piece");
    struct Case {
        std::string picture;
        std::string templateFolder;
        std::string clash;
    };
    for (const Case& c : {Case{folder + "\\.\\MAIN.BMP", "", folder + "\\main.bmp"},
                          Case{"", folder + "\\..\\Dusk\\", folder + "\\main.bmp"}}) {
        gApp.picturePath = c.picture;
        gApp.templatePath = c.templateFolder;
        int result = RunSaveDialog([&](HWND dialog) {
            Type(dialog, IDC_SAVE_SKINNAME, "Dusk");
            size_t before = gShown.size();
            PressOk(dialog);
            ExpectRefused(dialog, before, IDC_SAVE_SKINNAME, Fill(kMsgSkinOverInput, c.clash));
            Click(dialog, IDCANCEL);
        });
        EXPECT_EQ(result, 0);
    }
    gApp.picturePath.clear();
    gApp.templatePath.clear();
    EXPECT_EQ(ReadBytes(folder + "\\main.bmp"),
              std::vector<uint8_t>({'p', 'i', 'c', 't', 'u', 'r', 'e'}));
}

TEST_F(SaveTest, BrowseOpensAtTheDesktopAndCancelChangesNothing) {
    int result = RunSaveDialog([&](HWND dialog) {
        Type(dialog, IDC_SAVE_WINAMPDIR, "typed by hand");
        bool titled = false;
        DialogDriver browse(nullptr, dialog, [&](HWND browser) {
            // The browser shows our title line among its children.
            for (HWND child = GetWindow(browser, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                char text[128] = {};
                GetWindowTextA(child, text, sizeof text);
                titled = titled || std::strcmp(text, kBrowseWinampTitle) == 0;
            }
            Click(browser, IDCANCEL);
        });
        Click(dialog, IDC_SAVE_BROWSE);
        EXPECT_TRUE(browse.Ran()) << "the folder browser never showed";
        EXPECT_FALSE(browse.LeftOpen());
        EXPECT_TRUE(titled);
        EXPECT_EQ(Text(dialog, IDC_SAVE_WINAMPDIR), "typed by hand");
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(gShown.empty()) << "nothing is checked on Browse";
}

TEST_F(SaveTest, BrowsePutsTheChosenFolderIntoTheDirectoryField) {
    std::string chosen = Path("Picked");
    ASSERT_TRUE(CreateDirectoryA(chosen.c_str(), nullptr));
    int result = RunSaveDialog([&](HWND dialog) {
        DialogDriver browse(nullptr, dialog, [&](HWND browser) {
            SendMessageA(browser, BFFM_SETSELECTIONA, TRUE,
                         reinterpret_cast<LPARAM>(chosen.c_str()));
            Click(browser, IDOK);
        });
        Click(dialog, IDC_SAVE_BROWSE);
        EXPECT_TRUE(browse.Ran());
        EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE,
                                 Text(dialog, IDC_SAVE_WINAMPDIR).c_str(), -1, chosen.c_str(), -1),
                  CSTR_EQUAL)
            << Text(dialog, IDC_SAVE_WINAMPDIR);
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(gApp.winampDir, winamp_) << "Browse alone checks and keeps nothing";
}

// The Save command

TEST_F(SaveTest, SaveDoesNothingWithoutAMadeSkin) {
    EXPECT_FALSE(RunSaveCommand([](HWND dialog) { Click(dialog, IDCANCEL); }));
    gApp.skin = MadeSkin();
    gApp.skin->mainPreview.reset();
    EXPECT_FALSE(RunSaveCommand([](HWND dialog) { Click(dialog, IDCANCEL); }));
    EXPECT_TRUE(gShown.empty());
    EXPECT_TRUE(FolderEntries(skins_).empty());
}

TEST_F(SaveTest, CancelWritesNothing) {
    gApp.skin = MadeSkin();
    EXPECT_TRUE(RunSaveCommand([](HWND dialog) {
        Type(dialog, IDC_SAVE_SKINNAME, "Dusk");
        Click(dialog, IDCANCEL);
    }));
    EXPECT_TRUE(FolderEntries(skins_).empty());
    EXPECT_TRUE(gShown.empty());
}

TEST_F(SaveTest, SaveWritesTheWholeSetIntoTheNewSkinFolder) {
    gApp.skin = MadeSkin();
    ASSERT_TRUE(gApp.SkinMade());
    gApp.playlist.fontName = "Tahoma";
    gApp.playlist.selectedBack = Rgb(0x12, 0xAB, 0x05);
    for (bool genBalance : {true, false}) {
        SCOPED_TRACE(genBalance);
        gApp.options.genBalance = !genBalance;
        std::string name = genBalance ? "With Balance" : "Without Balance";
        EXPECT_TRUE(RunSaveCommand([&](HWND dialog) {
            Type(dialog, IDC_SAVE_SKINNAME, name);
            Click(dialog, IDC_SAVE_GENBALANCE);
            PressOk(dialog);
        }));
        EXPECT_TRUE(gShown.empty()) << "a complete save says nothing";
        std::string folder = skins_ + "\\" + name;

        std::vector<std::string> expectedNames;
        for (const SkinFile& file : SkinFileSet(*gApp.skin, gApp.playlist, genBalance)) {
            expectedNames.push_back(file.name);
            EXPECT_EQ(ReadBytes(folder + "\\" + file.name), file.bytes) << file.name;
        }
        std::sort(expectedNames.begin(), expectedNames.end());
        EXPECT_EQ(FolderEntries(folder), expectedNames);
        EXPECT_EQ(expectedNames.size(), kSkinFileTable.size() - (genBalance ? 0 : 1));

        // The check box decides between the two volume bitmaps.
        std::vector<uint8_t> volume = ReadBytes(folder + "\\volume.bmp");
        if (genBalance) {
            EXPECT_EQ(volume, DibEncodeFile(gApp.skin->volume.get()));
            EXPECT_EQ(ReadBytes(folder + "\\balance.bmp"), DibEncodeFile(gApp.skin->balance.get()));
        } else {
            EXPECT_EQ(volume,
                      DibEncodeFile(
                          CombinedVolume(gApp.skin->volume.get(), gApp.skin->balance.get()).get()));
            EXPECT_FALSE(Exists(folder + "\\balance.bmp"));
        }
        std::vector<uint8_t> pledit = ReadBytes(folder + "\\pledit.txt");
        std::string text(pledit.begin(), pledit.end());
        EXPECT_NE(text.find("SelectedBG=#12AB05\r\n"), std::string::npos) << text;
        EXPECT_EQ(text.substr(text.size() - 11), "Font=Tahoma");
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
    struct Case {
        const char* obstacle;
        std::string lastLine;
    };
    // A folder where text.bmp belongs; then a text.bmp that another program holds open
    // without sharing.
    for (const Case& c :
         {Case{"folder", "text.bmp: a folder has that name"}, Case{"held", "text.bmp: "}}) {
        SCOPED_TRACE(c.obstacle);
        HANDLE held = INVALID_HANDLE_VALUE;
        if (std::string(c.obstacle) == "folder") {
            ASSERT_TRUE(CreateDirectoryA((folder + "\\text.bmp").c_str(), nullptr));
        } else {
            ASSERT_TRUE(RemoveDirectoryA((folder + "\\text.bmp").c_str()));
            WriteText(folder + "\\text.bmp", "old");
            held = CreateFileA((folder + "\\text.bmp").c_str(), GENERIC_READ, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(held, INVALID_HANDLE_VALUE);
        }
        gShown.clear();
        gAnswers = {IDYES};
        EXPECT_TRUE(RunSaveCommand([](HWND dialog) {
            Type(dialog, IDC_SAVE_SKINNAME, "Dusk");
            PressOk(dialog);
        }));
        if (held != INVALID_HANDLE_VALUE) {
            CloseHandle(held);
        }

        ASSERT_EQ(gShown.size(), 2u) << "the overwrite question, then one warning";
        EXPECT_EQ(gShown[0].text, kMsgSkinExists);
        const Shown& warning = gShown[1];
        std::string expected = kMsgSaveIncomplete;
        expected.replace(expected.find("%s"), 2, folder);
        expected.replace(expected.find("%s"), 2, names);
        EXPECT_EQ(warning.text.substr(0, expected.size() + 2 + c.lastLine.size()),
                  expected + "\n\n" + c.lastLine);
        EXPECT_GT(warning.text.size(), expected.size() + 12) << "the reason is there";
        EXPECT_EQ(warning.caption, "Warning..!");
        EXPECT_EQ(warning.type, UINT(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(warning.owner, owner_) << "the warning belongs to the main window";
        EXPECT_EQ(ReadBytes(folder + "\\main.bmp"), std::vector<uint8_t>({'o', 'l', 'd'}));
        EXPECT_EQ(FolderEntries(folder).size(), 2u) << "no temporary, no new file";
    }
}

TEST_F(SaveTest, TheCursorIsGivenBackAfterSaving) {
    gApp.skin = MadeSkin();
    HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
    SetCursor(cross);
    EXPECT_TRUE(RunSaveCommand([](HWND dialog) {
        Type(dialog, IDC_SAVE_SKINNAME, "Dusk");
        SetCursor(LoadCursorA(nullptr, IDC_CROSS));
        PressOk(dialog);
    }));
    EXPECT_EQ(GetCursor(), cross);
    EXPECT_EQ(FolderEntries(skins_ + "\\Dusk").size(), kSkinFileTable.size());
}

// The rest of the resource script

namespace {

struct MenuLine {
    const char* text; // nullptr for a separator
    UINT id;
};

std::vector<MenuLine> Lines(HMENU popup, std::vector<std::string>& texts) {
    std::vector<MenuLine> lines;
    for (int i = 0; i < GetMenuItemCount(popup); i++) {
        char text[64] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(popup, UINT(i), TRUE, &info);
        texts.push_back(text);
        lines.push_back({(info.fType & MFT_SEPARATOR) ? nullptr : texts.back().c_str(), info.wID});
    }
    return lines;
}

} // namespace

TEST(ResourceScript, MenuHoldsEveryCommandWithItsMnemonic) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDM_MAIN));
    ASSERT_TRUE(menu);
    struct Popup {
        const char* title;
        std::vector<std::pair<std::string, UINT>> items; // "" for a separator
    };
    const Popup expected[] = {
        {"&File", {{"&Open Bitmap...", 40001}, {"&Save...", 40006}, {"", 0}, {"E&xit", 40003}}},
        {"&Project",
         {{"&Undo Skin...", 40008}, {"&Make Skin!", 40002}, {"", 0}, {"&Option", 40009}}},
        {"&Help", {{"&About...", 40005}}},
    };
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    for (int p = 0; p < 3; p++) {
        char title[32] = {};
        GetMenuStringA(menu, UINT(p), title, sizeof title, MF_BYPOSITION);
        EXPECT_STREQ(title, expected[p].title);
        HMENU popup = GetSubMenu(menu, p);
        ASSERT_TRUE(popup);
        std::vector<std::string> texts;
        texts.reserve(16);
        std::vector<MenuLine> lines = Lines(popup, texts);
        ASSERT_EQ(lines.size(), expected[p].items.size()) << title;
        for (size_t i = 0; i < lines.size(); i++) {
            const auto& [text, id] = expected[p].items[i];
            if (text.empty()) {
                EXPECT_EQ(lines[i].text, nullptr) << title << " item " << i << " is a separator";
            } else {
                ASSERT_NE(lines[i].text, nullptr) << title << " item " << i;
                EXPECT_EQ(lines[i].text, text);
                EXPECT_EQ(lines[i].id, id) << text;
            }
        }
    }
    DestroyMenu(menu);
}

TEST_F(SaveTest, TheRunningDialogShowsItsControlsInTabOrder) {
    RunSaveDialog([](HWND dialog) {
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDOK, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON,
                  DLGC_DEFPUSHBUTTON);

        // Tab goes OK, Cancel, directory, Browse.., name, check box, and round again.
        const int order[] = {IDOK,
                             IDCANCEL,
                             IDC_SAVE_WINAMPDIR,
                             IDC_SAVE_BROWSE,
                             IDC_SAVE_SKINNAME,
                             IDC_SAVE_GENBALANCE,
                             IDOK};
        for (size_t i = 0; i + 1 < std::size(order); i++) {
            EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, order[i]), FALSE),
                      GetDlgItem(dialog, order[i + 1]))
                << "after " << order[i];
        }
        Click(dialog, IDCANCEL);
    });
}

TEST(ResourceScript, AboutBoxShowsTheNameAndVersionAndClosesWithOk) {
    bool shown = false;
    DialogDriver driver("About Korvane", nullptr, [&](HWND about) {
        std::vector<std::string> texts;
        for (HWND child = GetWindow(about, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            char text[128] = {};
            GetWindowTextA(child, text, sizeof text);
            texts.push_back(text);
        }
        auto has = [&](const std::string& text) {
            return std::find(texts.begin(), texts.end(), text) != texts.end();
        };
        EXPECT_TRUE(has("Korvane"));
        EXPECT_TRUE(has("Version " KORVANE_VERSION));
        EXPECT_EQ(Text(about, IDC_ABOUT_VERSION), "Version " KORVANE_VERSION);
        HWND ok = GetDlgItem(about, IDOK);
        ASSERT_TRUE(ok);
        char okText[16] = {};
        GetWindowTextA(ok, okText, sizeof okText);
        EXPECT_STREQ(okText, "OK");
        shown = true;
        Click(about, IDOK);
    });
    ShowAboutBox(nullptr);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(driver.LeftOpen()) << "OK closes the About box";
    EXPECT_FALSE(driver.TimedOut());
}

TEST(ResourceScript, IconCarriesA16And32PixelImage) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HRSRC group = FindResourceA(instance, MAKEINTRESOURCEA(IDI_KORVANE), MAKEINTRESOURCEA(14));
    ASSERT_TRUE(group) << "icon group 117";
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(instance, group)));
    ASSERT_TRUE(bytes);
    int count = bytes[4] | bytes[5] << 8;
    std::vector<int> sizes;
    for (int i = 0; i < count; i++) {
        const uint8_t* entry = bytes + 6 + 14 * i; // GRPICONDIRENTRY
        sizes.push_back(entry[0]);
        EXPECT_EQ(entry[6] | entry[7] << 8, 32) << "bits per pixel";
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{16, 32}));

    for (int size : {16, 32}) {
        HICON icon = static_cast<HICON>(
            LoadImageA(instance, MAKEINTRESOURCEA(IDI_KORVANE), IMAGE_ICON, size, size, 0));
        ASSERT_TRUE(icon) << size;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap = {};
        GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        EXPECT_EQ(bitmap.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}
