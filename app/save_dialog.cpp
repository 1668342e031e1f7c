#include "app/save_dialog.h"

#include <shlobj.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/message_box.h"
#include "app/resource.h"
#include "files/file_system.h"
#include "output/skin_writer.h"
#include "project/outputs.h"

namespace {

// The Save dialog's and the Save command's words.
constexpr const char kMsgNoWinampExe[] =
    "Could not find WINAMP.EXE !\nYou can search for Winamp's directory using browse button.";
constexpr const char kMsgWrongSkinName[] = "Wrong skin name...";
constexpr const char kMsgSkinExists[] = "Skin name already exist...\nDo you want to overwrite it?";
// %s: the full path of the skin folder that could not be created.
constexpr const char kMsgCreateDirFailed[] =
    "Error Creating Directory %s !\nPlease set your skins directory in Winamp program.";
// %s: the full path of the skin folder.
constexpr const char kMsgSkinPathTooLong[] =
    "Skin folder path too long...\n%s\nPlease choose a shorter skin name or skins directory.";
// %s: the file of the skin that is the open picture or a template file.
constexpr const char kMsgSkinOverInput[] =
    "Skin file would replace the picture or template it is made from...\n%s\nPlease choose "
    "another skin name.";
// First %s: the skin folder; second %s: the files not written, one per line.
constexpr const char kMsgSaveIncomplete[] = "These skin files could not be written in\n%s :\n\n%s";
constexpr const char kBrowseWinampTitle[] = "Select your Winamp's directory...";

constexpr char kSkinNameForbiddenChars[] = ".,:;<>|/";
constexpr char kWinampExeName[] = "winamp.exe";
constexpr char kWinampIniName[] = "winamp.ini";
constexpr char kWinampIniSection[] = "Winamp";
constexpr char kSkinDirKey[] = "SkinDir";
constexpr char kDefaultSkinsFolder[] = "skins\\";

// The fields hold at most 255 characters; the terminator makes 256.
constexpr int kFieldCapacity = 256;
constexpr DWORD kSearchResultCapacity = 256;
constexpr DWORD kSkinDirCapacity = MAX_PATH;

// What the dialog starts from and what it leaves; SaveDialog copies it to and from gApp so
// the dialog procedure never touches program state directly.
struct SaveDialogData {
    std::string winampDir;      // shown at start; replaced once the field passes the check
    bool genBalance = true;     // the check box at start; its state when the dialog ends with OK
    std::string skinFolderPath; // the skin name, then the full folder path
};

HINSTANCE ResourceInstance() {
    // The dialog templates are linked into the program itself.
    return gApp.instance ? gApp.instance : GetModuleHandleA(nullptr);
}

// Puts each value in place of the next "%s" of pattern, in order. Paths may hold '%', so
// the values are not passed through printf.
std::string FillIn(const char* pattern, const std::vector<std::string>& values) {
    std::string text;
    size_t next = 0;
    for (const char* p = pattern; *p; p++) {
        if (p[0] == '%' && p[1] == 's' && next < values.size()) {
            text += values[next++];
            p++;
        } else {
            text += *p;
        }
    }
    return text;
}

std::string FieldText(HWND dlg, int id) {
    char buffer[kFieldCapacity] = {};
    UINT length = GetDlgItemTextA(dlg, id, buffer, kFieldCapacity);
    return std::string(buffer, length);
}

void FocusField(HWND dlg, int id) {
    HWND field = GetDlgItem(dlg, id);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
}

// A refused OK: the warning, then the user is put back into the field at fault with its
// whole text selected, ready to be typed over.
void Refuse(HWND dlg, int id, const std::string& message) {
    ShowWarning(dlg, message.c_str());
    FocusField(dlg, id);
}

void Accept(HWND dlg, SaveDialogData* data) {
    data->genBalance = IsDlgButtonChecked(dlg, IDC_SAVE_GENBALANCE) == BST_CHECKED;
    EndDialog(dlg, 1);
}

std::string ReadSkinsDirectory(const std::string& ini, const std::string& fallback) {
    char buffer[kSkinDirCapacity] = {};
    DWORD length = GetPrivateProfileStringA(kWinampIniSection, kSkinDirKey, fallback.c_str(),
                                            buffer, kSkinDirCapacity, ini.c_str());
    // A key that is present but empty would otherwise make the skins folder the root.
    if (length == 0) {
        return fallback;
    }
    return std::string(buffer, length);
}

// The first file of the skin in folder that is the open picture or a piece of the chosen
// template, compared by the files the paths name; empty when there is none. Every file a
// skin folder can hold is checked, balance.bmp too.
std::string SkinFileOverInput(const std::string& folder) {
    std::optional<OutputClash> clash =
        FindOutputClash({folder, {}, {}, true}, gApp.picturePath, gApp.templatePath);
    return clash ? clash->output.path : std::string();
}

void OnOk(HWND dlg, SaveDialogData* data) {
    std::string dir = FieldText(dlg, IDC_SAVE_WINAMPDIR);
    // An empty field is not checked: the skins folder is then looked up from the root of
    // the current drive.
    if (!dir.empty()) {
        if (!FindWinampExe(dir.c_str())) {
            Refuse(dlg, IDC_SAVE_WINAMPDIR, kMsgNoWinampExe);
            return;
        }
        // Kept even if a later step fails or the user cancels: the folder is known good.
        data->winampDir = dir;
    }

    std::string name = FieldText(dlg, IDC_SAVE_SKINNAME);
    data->skinFolderPath = name;
    if (name.empty() || !IsValidSkinName(name.c_str(), static_cast<int>(name.size()))) {
        Refuse(dlg, IDC_SAVE_SKINNAME, kMsgWrongSkinName);
        return;
    }

    if (dir.empty() || dir.back() != '\\') {
        dir += '\\';
    }
    const std::string ini = dir + kWinampIniName;
    // SkinDir is used as it stands: Winamp writes it as a full path.
    std::string skinsDir = ReadSkinsDirectory(ini, dir + kDefaultSkinsFolder);
    if (skinsDir.back() != '\\') {
        skinsDir += '\\';
    }
    const std::string folder = skinsDir + name;
    data->skinFolderPath = folder;

    // Refused before the folder is made, so a name that leaves no room for the file names
    // does not leave an empty folder behind, and the user can shorten it here.
    if (!SkinFolderPathFits(folder)) {
        Refuse(dlg, IDC_SAVE_SKINNAME, FillIn(kMsgSkinPathTooLong, {folder}));
        return;
    }

    // The picture and the template stay what the skin was made from.
    std::string clash = SkinFileOverInput(folder);
    if (!clash.empty()) {
        Refuse(dlg, IDC_SAVE_SKINNAME, FillIn(kMsgSkinOverInput, {clash}));
        return;
    }

    // Only the last level is made: a skins folder that does not exist means Winamp is not
    // set up the way the user thinks, and that is what the message says.
    if (CreateDirectoryA(folder.c_str(), nullptr)) {
        Accept(dlg, data);
        return;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS) {
        if (ShowWarning(dlg, kMsgSkinExists, MB_YESNO) == IDYES) {
            Accept(dlg, data);
        } else {
            FocusField(dlg, IDC_SAVE_SKINNAME);
        }
        return;
    }
    // The system's words come last: a read-only folder is not fixed in Winamp's settings.
    Refuse(dlg, IDC_SAVE_SKINNAME,
           FillIn(kMsgCreateDirFailed, {folder}) + "\n" + SystemReason(error) + ".");
}

void OnBrowse(HWND dlg) {
    // The shell's folder browser is a COM client; the call is balanced whether it
    // initialised COM here or found it already running.
    HRESULT com = CoInitialize(nullptr);
    char displayName[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = dlg;
    info.pidlRoot = nullptr; // the desktop
    info.pszDisplayName = displayName;
    info.lpszTitle = kBrowseWinampTitle;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
    if (chosen) {
        char path[MAX_PATH] = {};
        if (SHGetPathFromIDListA(chosen, path)) {
            SetDlgItemTextA(dlg, IDC_SAVE_WINAMPDIR, path);
        }
        // The browser allocates the list with the shell's task allocator; it is ours to free.
        CoTaskMemFree(chosen);
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
}

void OnInitDialog(HWND dlg, SaveDialogData* data) {
    SetWindowLongPtrA(dlg, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    SetDlgItemTextA(dlg, IDC_SAVE_WINAMPDIR, data->winampDir.c_str());
    CheckDlgButton(dlg, IDC_SAVE_GENBALANCE, data->genBalance ? BST_CHECKED : BST_UNCHECKED);
    // The name field starts empty on every run: each run builds the dialog afresh from its
    // template, where the field has no text.
}

void OnCommand(HWND dlg, SaveDialogData* data, int id) {
    switch (id) {
    case IDOK:
        OnOk(dlg, data);
        break;
    case IDCANCEL:
        EndDialog(dlg, 0);
        break;
    case IDC_SAVE_BROWSE:
        OnBrowse(dlg);
        break;
    }
}

INT_PTR CALLBACK SaveDialogProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* data = reinterpret_cast<SaveDialogData*>(GetWindowLongPtrA(dlg, GWLP_USERDATA));
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dlg, reinterpret_cast<SaveDialogData*>(lParam));
        return TRUE;
    case WM_SHOWWINDOW:
        // The name is what the user has to type on every save, so it gets the focus.
        if (wParam) {
            SetFocus(GetDlgItem(dlg, IDC_SAVE_SKINNAME));
        }
        return FALSE;
    case WM_COMMAND:
        if (data) {
            OnCommand(dlg, data, LOWORD(wParam));
        }
        return TRUE;
    }
    return FALSE;
}

} // namespace

bool FindWinampExe(const char* dir) {
    // An empty search path would make SearchPathA look through the system folders.
    if (!dir || !*dir) {
        return false;
    }
    char found[kSearchResultCapacity] = {};
    return SearchPathA(dir, kWinampExeName, nullptr, kSearchResultCapacity, found, nullptr) != 0;
}

bool IsValidSkinName(const char* name, int length) {
    if (length < 1) {
        return true;
    }
    if (!name) {
        return false;
    }
    for (int i = 0; i < length; i++) {
        char c = name[i];
        // memchr over the listed characters only, so a terminator in the name never
        // matches the list's own.
        if (c == '\\' ||
            std::memchr(kSkinNameForbiddenChars, c, sizeof kSkinNameForbiddenChars - 1)) {
            return false;
        }
    }
    return true;
}

int SaveDialog(HWND owner) {
    SaveDialogData data;
    data.winampDir = gApp.winampDir;
    data.genBalance = gApp.options.genBalance;
    INT_PTR result = DialogBoxParamA(ResourceInstance(), MAKEINTRESOURCEA(IDD_SAVE), owner,
                                     SaveDialogProc, reinterpret_cast<LPARAM>(&data));
    // The Winamp folder and the last folder path stand whatever the outcome; the check box
    // counts only when the dialog ended with OK.
    gApp.winampDir = data.winampDir;
    gApp.skinFolderPath = data.skinFolderPath;
    if (result != 1) {
        return 0;
    }
    gApp.options.genBalance = data.genBalance;
    return 1;
}

void SaveSkinSet(HWND owner) {
    if (!gApp.SkinMade()) {
        return;
    }
    if (SaveDialog(owner) != 1) {
        return;
    }
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    SkinWriteResult result =
        WriteSkinFolder(gApp.skinFolderPath, *gApp.skin, gApp.playlist, gApp.options.genBalance);
    SetCursor(previous);

    switch (result.status) {
    case SkinWriteStatus::Written:
        break;
    case SkinWriteStatus::NoFolder:
    case SkinWriteStatus::PathTooLong:
        // The dialog refuses such a folder already; the writer checks again before the
        // first file, and nothing has been written.
        ShowWarning(owner, FillIn(kMsgSkinPathTooLong, {gApp.skinFolderPath}).c_str());
        break;
    case SkinWriteStatus::Incomplete: {
        std::string names;
        for (const std::string& name : result.failed) {
            if (!names.empty()) {
                names += '\n';
            }
            names += name;
        }
        std::string text = FillIn(kMsgSaveIncomplete, {gApp.skinFolderPath, names});
        // The operating system's reason, when a file could not be written (rather than a
        // bitmap missing), is the last line.
        if (!result.fault.reason.empty()) {
            const std::string& path = result.fault.path;
            text += "\n\n" + path.substr(path.find_last_of("\\/") + 1) + ": " + result.fault.reason;
        }
        ShowWarning(owner, text.c_str());
        break;
    }
    }
}
