// The Edit Title Text and Project Option dialogs as a user meets them: the real dialogs from
// the program's resources, driven through their controls while they run modally, with the
// real main window and a made skin where one is needed.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/picture_commands.h"
#include "app/resource.h"
#include "app/side_panels.h"
#include "compose/skin.h"
#include "app/project_option_dialog.h"
#include "app/title_text_dialog.h"
#include "tests/unit/test_util.h"
#include "tests/win32/app_harness.h"
#include "tests/win32/dialog_driver.h"

namespace {

// EndDialog hides the dialog and gives the owner its input back at once; the window itself
// goes only when the modal loop ends, so IsWindow cannot tell.
void ExpectStillOpen(HWND dialog) {
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_FALSE(IsWindowEnabled(gApp.mainWindow));
}

constexpr char kTitleCaption[] = "Edit Title Text";
constexpr char kOptionCaption[] = "Project Option";

std::string Text(HWND dialog, int id) {
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

int Selected(HWND dialog, int id, UINT getSelection) {
    return int(SendDlgItemMessageA(dialog, id, getSelection, 0, 0));
}

std::vector<std::string> ComboItems(HWND dialog, int id) {
    std::vector<std::string> items;
    int count = int(SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; i++) {
        char text[64] = {};
        SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
        items.push_back(text);
    }
    return items;
}

std::vector<std::string> ListItems(HWND list) {
    std::vector<std::string> items;
    int count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; i++) {
        char text[64] = {};
        SendMessageA(list, LB_GETTEXT, WPARAM(i), LPARAM(text));
        items.push_back(text);
    }
    return items;
}

// The dialog manager may turn a plain border into the sunken client edge.
bool Bordered(HWND control) {
    return (GetWindowLongA(control, GWL_STYLE) & WS_BORDER) ||
           (GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

bool SameDib(const Dib* a, const Dib* b) {
    return a && b && a->Size() == b->Size() && std::memcmp(a->Bytes(), b->Bytes(), a->Size()) == 0;
}

// The made title against a skin made afresh with the same settings: main.bmp, the four
// title bars of titlebar.bmp and the main preview must match byte for byte.
void ExpectSkinShowsTitle(const TitleSettings& title) {
    ASSERT_TRUE(gApp.SkinMade());
    SkinInputs in = CurrentSkinInputs();
    in.title = title;
    auto fresh = MakeSkin(in);
    ASSERT_TRUE(fresh);
    EXPECT_TRUE(SameDib(gApp.skin->main.get(), fresh->main.get())) << title.text;
    EXPECT_TRUE(SameDib(gApp.skin->titlebar.get(), fresh->titlebar.get())) << title.text;
    EXPECT_TRUE(SameDib(gApp.skin->mainPreview.get(), fresh->mainPreview.get())) << title.text;
}

void ExpectTitle(const TitleSettings& title, const std::string& text, int align, int color) {
    EXPECT_EQ(title.text, text);
    EXPECT_EQ(static_cast<int>(title.align), align);
    EXPECT_EQ(static_cast<int>(title.color), color);
}

TitleSettings MakeTitle(const std::string& text, int align, int color) {
    TitleSettings title;
    title.text = text;
    title.align = static_cast<TitleAlign>(align);
    title.color = static_cast<TitleColor>(color);
    return title;
}

void SetTitleFields(HWND dialog, const TitleSettings& title) {
    SetDlgItemTextA(dialog, IDC_TITLE_TEXT, title.text.c_str());
    SendDlgItemMessageA(dialog, IDC_TITLE_ALIGN, CB_SETCURSEL, WPARAM(title.align), 0);
    SendDlgItemMessageA(dialog, IDC_TITLE_COLOR, CB_SETCURSEL, WPARAM(title.color), 0);
}

// Opening a picture puts the bands back in their first order, so `order` is set after it.
void MakeSkinFromPicture(AppRun& run, std::array<int, 3> order = {0, 1, 2}) {
    run.Open(run.WritePicture("photo.bmp", *Picture(401, 300)));
    gApp.skinOrder = order;
    SendMessageA(gApp.makeSkinButton, BM_CLICK, 0, 0);
    AppRun::Pump();
    ASSERT_TRUE(gApp.SkinMade());
}

// The Skin Set panel's title button, as the user opens the dialog over a made skin.
std::function<void()> TitleButton() {
    return [] {
        SendMessageA(GetDlgItem(gApp.skinSetPanel, kTitleButtonId), BM_CLICK, 0, 0);
    };
}

std::function<void()> TitleDialogOwnedBy(HWND owner) {
    return [owner] { TitleTextDialog(owner); };
}

// What the main window must repaint after a title change: the preview's title rows where
// the Main band stands in the stack.
RECT TitleArea(int mainPosition) {
    return {30, 28 + 116 * mainPosition, 305, 44 + 116 * mainPosition};
}

RECT UpdateBox(HWND hwnd) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(hwnd, region, FALSE);
    RECT box = {};
    GetRgnBox(region, &box);
    DeleteObject(region);
    return box;
}

void ExpectSameRect(const RECT& a, const RECT& b) {
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.top, b.top);
    EXPECT_EQ(a.right, b.right);
    EXPECT_EQ(a.bottom, b.bottom);
}

} // namespace

// Edit Title Text

TEST(TitleTextDialog, ShowsTheStoredSettingsInItsLayout) {
    AppRun run;
    gApp.title = MakeTitle("Stored title", 2, 0);
    Drive drive = RunDriven(
        kTitleCaption,
        [](HWND dialog) {
            EXPECT_EQ(Text(dialog, IDC_TITLE_TEXT), "Stored title");
            EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_TITLE_TEXT, EM_GETLIMITTEXT, 0, 0), 48);
            EXPECT_EQ(ComboItems(dialog, IDC_TITLE_ALIGN),
                      (std::vector<std::string>{"Left", "Center", "Right"}));
            EXPECT_EQ(ComboItems(dialog, IDC_TITLE_COLOR), (std::vector<std::string>{"Soft", "Hard"}));
            EXPECT_EQ(Selected(dialog, IDC_TITLE_ALIGN, CB_GETCURSEL), 2);
            EXPECT_EQ(Selected(dialog, IDC_TITLE_COLOR, CB_GETCURSEL), 0);
            EXPECT_EQ(Text(dialog, IDOK), "OK");
            EXPECT_EQ(Text(dialog, IDCANCEL), "Cancel");
            EXPECT_EQ(Text(dialog, IDC_TITLE_APPLY), "&Apply");
            EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
            // Drop-down lists; the item order above shows they are not sorted.
            for (int id : {IDC_TITLE_ALIGN, IDC_TITLE_COLOR}) {
                EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
            }
            EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, IDC_TITLE_TEXT), GWL_STYLE) & ES_AUTOHSCROLL);
            EXPECT_TRUE(Bordered(GetDlgItem(dialog, IDC_TITLE_TEXT)));
            // Tab order: the buttons, the field, the alignment box, then the colour box.
            HWND next = GetNextDlgTabItem(dialog, GetDlgItem(dialog, IDC_TITLE_TEXT), FALSE);
            EXPECT_EQ(GetDlgCtrlID(next), IDC_TITLE_ALIGN);
            next = GetNextDlgTabItem(dialog, next, FALSE);
            EXPECT_EQ(GetDlgCtrlID(next), IDC_TITLE_COLOR);
            Click(dialog, IDCANCEL);
        },
        TitleDialogOwnedBy(run.Main()));
    ExpectClosedByScript(drive);
}

TEST(TitleTextDialog, OkStoresTextAlignmentAndColourWithoutAMadeSkin) {
    AppRun run;
    gApp.title = MakeTitle("old", 0, 1);
    Drive drive = RunDriven(
        kTitleCaption,
        [](HWND dialog) {
            SetTitleFields(dialog, MakeTitle("New Title", 1, 0));
            Click(dialog, IDOK);
        },
        TitleDialogOwnedBy(run.Main()));
    ExpectClosedByScript(drive);
    ExpectTitle(gApp.title, "New Title", 1, 0);
    EXPECT_FALSE(gApp.skin);

    // The stored values take effect at the next Make Skin.
    MakeSkinFromPicture(run);
    ExpectSkinShowsTitle(MakeTitle("New Title", 1, 0));
    SkinInputs in = CurrentSkinInputs();
    in.title = MakeTitle("old", 0, 1);
    EXPECT_FALSE(SameDib(gApp.skin->main.get(), MakeSkin(in)->main.get()));
}

TEST(TitleTextDialog, AfterUndoSkinOnlyTheSettingsChange) {
    AppRun run;
    MakeSkinFromPicture(run);
    SendMessageA(run.Main(), WM_COMMAND, IDM_UNDOSKIN, 0);
    AppRun::Pump();
    ASSERT_FALSE(gApp.SkinMade());
    Drive drive = RunDriven(
        kTitleCaption,
        [](HWND dialog) {
            SetTitleFields(dialog, MakeTitle("after undo", 2, 1));
            Click(dialog, IDC_TITLE_APPLY);
            ExpectStillOpen(dialog);
            ExpectTitle(gApp.title, "after undo", 2, 1);
            Click(dialog, IDOK);
        },
        TitleDialogOwnedBy(run.Main()));
    ExpectClosedByScript(drive);
    ExpectTitle(gApp.title, "after undo", 2, 1);
    EXPECT_FALSE(gApp.SkinMade());
}

TEST(TitleTextDialog, ApplyRedrawsInPlaceAndCancelKeepsWhatWasApplied) {
    AppRun run;
    MakeSkinFromPicture(run, {2, 0, 1}); // the main preview at the bottom of the stack
    const TitleSettings original = gApp.title;
    const TitleSettings applied = MakeTitle("APPLIED 1", 1, 0);
    Drive drive = RunDriven(
        kTitleCaption,
        [&](HWND dialog) {
            ValidateRect(run.Main(), nullptr);
            SetTitleFields(dialog, applied);
            Click(dialog, IDC_TITLE_APPLY);
            ExpectStillOpen(dialog);
            ExpectTitle(gApp.title, "APPLIED 1", 1, 0);
            ExpectSkinShowsTitle(applied);
            // Only the preview's title rows wait to be painted again.
            ExpectSameRect(UpdateBox(run.Main()), TitleArea(2));

            // Typed but never applied: Cancel throws it away and restores nothing.
            SetTitleFields(dialog, MakeTitle("never applied", 2, 1));
            Click(dialog, IDCANCEL);
        },
        TitleButton());
    ExpectClosedByScript(drive);
    ExpectTitle(gApp.title, "APPLIED 1", 1, 0);
    ExpectSkinShowsTitle(applied);
    EXPECT_NE(gApp.title.text, original.text);

    // On screen the preview carries the applied title.
    auto shot = Screenshot(run.Main());
    const Dib* preview = gApp.skin->mainPreview.get();
    EXPECT_TRUE(SameRect(shot.get(), 30 + 18, 28 + 2 * 116 + 4, preview, 18, 4, 220, 8));
}

TEST(TitleTextDialog, CancelAloneChangesNothing) {
    AppRun run;
    MakeSkinFromPicture(run);
    const TitleSettings before = gApp.title;
    auto mainBefore = DibDuplicate(gApp.skin->main.get());
    Drive drive = RunDriven(
        kTitleCaption,
        [](HWND dialog) {
            SetTitleFields(dialog, MakeTitle("typed only", 2, 0));
            Click(dialog, IDCANCEL);
        },
        TitleButton());
    ExpectClosedByScript(drive);
    ExpectTitle(gApp.title, before.text, static_cast<int>(before.align),
                static_cast<int>(before.color));
    EXPECT_TRUE(SameDib(gApp.skin->main.get(), mainBefore.get()));
}

TEST(TitleTextDialog, EveryAlignmentAndColourRedrawsAsMakeSkinDraws) {
    for (bool swap : {false, true}) {
        SCOPED_TRACE(swap ? "red and blue swapped" : "plain colours");
        AppRun run;
        gApp.options.swapRedBlue = swap;
        MakeSkinFromPicture(run, {1, 2, 0});
        Drive drive = RunDriven(
            kTitleCaption,
            [&](HWND dialog) {
                for (int align = 0; align < 3; align++) {
                    for (int color = 0; color < 2; color++) {
                        SCOPED_TRACE(align * 10 + color);
                        TitleSettings title = MakeTitle("Hi! 42", align, color);
                        ValidateRect(run.Main(), nullptr);
                        SetTitleFields(dialog, title);
                        Click(dialog, IDC_TITLE_APPLY);
                        ExpectStillOpen(dialog);
                        ExpectTitle(gApp.title, "Hi! 42", align, color);
                        ExpectSkinShowsTitle(title);
                        ExpectSameRect(UpdateBox(run.Main()), TitleArea(1));
                    }
                }
                Click(dialog, IDOK);
            },
            TitleButton());
        ExpectClosedByScript(drive);
    }
}

TEST(TitleTextDialog, OkRedrawsTheMadeSkinAndEnds) {
    AppRun run;
    MakeSkinFromPicture(run);
    Drive drive = RunDriven(
        kTitleCaption,
        [&](HWND dialog) {
            ValidateRect(run.Main(), nullptr);
            SetTitleFields(dialog, MakeTitle("by ok", 2, 1));
            Click(dialog, IDOK);
            ExpectSameRect(UpdateBox(run.Main()), TitleArea(0));
        },
        TitleButton());
    ExpectClosedByScript(drive);
    ExpectTitle(gApp.title, "by ok", 2, 1);
    ExpectSkinShowsTitle(MakeTitle("by ok", 2, 1));
}

TEST(TitleTextDialog, AnEmptyTextLeavesThePlainPictureInTheStrips) {
    AppRun run;
    MakeSkinFromPicture(run);
    Drive drive = RunDriven(
        kTitleCaption,
        [](HWND dialog) {
            SetTitleFields(dialog, MakeTitle("", 0, 1));
            Click(dialog, IDOK);
        },
        TitleButton());
    ExpectClosedByScript(drive);
    ExpectTitle(gApp.title, "", 0, 1);
    ExpectSkinShowsTitle(MakeTitle("", 0, 1));
    auto band = DibCreate(275, 116, 24);
    CutBand(CurrentSkinInputs(), Band::Main, band.get());
    EXPECT_TRUE(SameRect(gApp.skin->main.get(), 18, 4, band.get(), 18, 4, 220, 8));
}

TEST(TitleTextDialog, TypingStopsAt48CharactersAndOkKeeps47) {
    AppRun run;
    const std::string typed = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwx";
    ASSERT_EQ(typed.size(), 60u);
    Drive drive = RunDriven(
        kTitleCaption,
        [&](HWND dialog) {
            HWND field = GetDlgItem(dialog, IDC_TITLE_TEXT);
            SetWindowTextA(field, "");
            for (char c : typed) {
                SendMessageA(field, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 1);
            }
            EXPECT_EQ(Text(dialog, IDC_TITLE_TEXT), typed.substr(0, 48));
            Click(dialog, IDOK);
        },
        TitleDialogOwnedBy(run.Main()));
    ExpectClosedByScript(drive);
    EXPECT_EQ(gApp.title.text, typed.substr(0, 47));
}

TEST(TitleTextDialog, ALongStoredTextIsShownWholeAndCutTo47ByApply) {
    AppRun run;
    MakeSkinFromPicture(run);
    const std::string stored = "0123456789ABCDEFGHIJ0123456789abcdefghij0123456789KLMNOPQRST";
    ASSERT_EQ(stored.size(), 60u);
    gApp.title.text = stored;
    Drive drive = RunDriven(
        kTitleCaption,
        [&](HWND dialog) {
            EXPECT_EQ(Text(dialog, IDC_TITLE_TEXT), stored);
            Click(dialog, IDC_TITLE_APPLY);
            ExpectStillOpen(dialog);
            EXPECT_EQ(gApp.title.text, stored.substr(0, 47));
            Click(dialog, IDCANCEL);
        },
        TitleButton());
    ExpectClosedByScript(drive);
    EXPECT_EQ(gApp.title.text, stored.substr(0, 47));
    ExpectSkinShowsTitle(gApp.title);
}

TEST(TitleTextDialog, UnknownStoredIndexesLeaveNoSelectionAndAreStoredAsMinusOne) {
    AppRun run;
    MakeSkinFromPicture(run);
    gApp.title = MakeTitle("odd", 5, 7);
    Drive drive = RunDriven(
        kTitleCaption,
        [](HWND dialog) {
            EXPECT_EQ(Selected(dialog, IDC_TITLE_ALIGN, CB_GETCURSEL), CB_ERR);
            EXPECT_EQ(Selected(dialog, IDC_TITLE_COLOR, CB_GETCURSEL), CB_ERR);
            Click(dialog, IDOK);
        },
        TitleButton());
    ExpectClosedByScript(drive);
    ExpectTitle(gApp.title, "odd", -1, -1);
    // Drawn left-aligned and hard.
    ExpectSkinShowsTitle(MakeTitle("odd", 0, 1));
}

// Project Option

namespace {

const std::vector<std::string> kMEP = {"Main", "Equalizer", "Playlist"};

HWND OrderList(HWND dialog) { return GetDlgItem(dialog, IDC_OPTION_ORDER); }

std::function<void()> OptionDialog() {
    return [] {
        INT_PTR result = ProjectOptionDialog(gApp.mainWindow);
        EXPECT_NE(result, kAbandoned);
    };
}

std::function<void()> OptionCommand() {
    return [] { SendMessageA(gApp.mainWindow, WM_COMMAND, IDM_OPTION, 0); };
}

// SkinOrder as the list shows it: each band's index in the list.
std::array<int, 3> OrderOf(const std::vector<std::string>& items) {
    std::array<int, 3> order = {-1, -1, -1};
    for (int band = 0; band < 3; band++) {
        for (size_t i = 0; i < items.size(); i++) {
            if (items[i] == kMEP[size_t(band)]) {
                order[size_t(band)] = int(i);
            }
        }
    }
    return order;
}

} // namespace

TEST(ProjectOptionDialog, ShowsItsLayoutAndTheStoredValues) {
    AppRun run;
    Drive drive = RunDriven(
        kOptionCaption,
        [](HWND dialog) {
            EXPECT_EQ(Text(dialog, IDC_OPTION_SHOWVIS), "Show &visualization on preview");
            EXPECT_EQ(Text(dialog, IDC_OPTION_SWAPRB), "&Swaps Red and Blue color");
            EXPECT_EQ(Text(dialog, IDC_OPTION_HIDEBALANCE), "Hide &Balance Button");
            EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
            for (int id : {IDC_OPTION_SHOWVIS, IDC_OPTION_SWAPRB, IDC_OPTION_HIDEBALANCE}) {
                EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & 0xF,
                          BS_AUTOCHECKBOX)
                    << id;
            }
            LONG listStyle = GetWindowLongA(OrderList(dialog), GWL_STYLE);
            EXPECT_TRUE(listStyle & LBS_NOTIFY);
            EXPECT_TRUE(listStyle & LBS_NOINTEGRALHEIGHT);
            EXPECT_TRUE(Bordered(OrderList(dialog)));
            EXPECT_FALSE(listStyle & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
            EXPECT_EQ(ListItems(OrderList(dialog)), kMEP);
            EXPECT_EQ(Selected(dialog, IDC_OPTION_ORDER, LB_GETCURSEL), LB_ERR);
            Click(dialog, IDCANCEL);
        },
        OptionDialog());
    ExpectClosedByScript(drive);
}

TEST(ProjectOptionDialog, CheckBoxesFollowTheOptionsAndOkStoresThem) {
    for (int start = 0; start < 8; start++) {
        for (int flip = 1; flip < 8; flip++) {
            SCOPED_TRACE(start * 10 + flip);
            AppRun run;
            gApp.options.showVis = start & 1;
            gApp.options.swapRedBlue = start & 2;
            gApp.options.hideBalance = start & 4;
            const bool genBalance = (start + flip) % 2 == 0;
            gApp.options.genBalance = genBalance;
            INT_PTR result = 0;
            Drive drive = RunDriven(
                kOptionCaption,
                [&](HWND dialog) {
                    const int ids[3] = {IDC_OPTION_SHOWVIS, IDC_OPTION_SWAPRB,
                                        IDC_OPTION_HIDEBALANCE};
                    for (int bit = 0; bit < 3; bit++) {
                        EXPECT_EQ(IsDlgButtonChecked(dialog, ids[bit]),
                                  UINT((start >> bit) & 1 ? BST_CHECKED : BST_UNCHECKED))
                            << ids[bit];
                        if ((flip >> bit) & 1) {
                            Click(dialog, ids[bit]);
                        }
                    }
                    Click(dialog, IDOK);
                },
                [&] { result = ProjectOptionDialog(run.Main()); });
            ExpectClosedByScript(drive);
            EXPECT_EQ(result, IDOK);
            const int now = start ^ flip;
            EXPECT_EQ(gApp.options.showVis, bool(now & 1));
            EXPECT_EQ(gApp.options.swapRedBlue, bool(now & 2));
            EXPECT_EQ(gApp.options.hideBalance, bool(now & 4));
            EXPECT_EQ(gApp.options.genBalance, genBalance); // not this dialog's switch
            EXPECT_EQ(gApp.skinOrder, (std::array<int, 3>{0, 1, 2}));
        }
    }
}

TEST(ProjectOptionDialog, TheListFollowsSkinOrderAndOkWithoutChangesKeepsIt) {
    struct Case {
        std::array<int, 3> order;
        std::vector<std::string> items;
    } cases[] = {
        {{0, 1, 2}, {"Main", "Equalizer", "Playlist"}},
        {{1, 2, 0}, {"Playlist", "Main", "Equalizer"}},
        {{2, 0, 1}, {"Equalizer", "Playlist", "Main"}},
        {{2, 1, 0}, {"Playlist", "Equalizer", "Main"}},
        // A position no band holds is skipped.
        {{0, 2, 0}, {"Main", "Playlist", "Equalizer"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.items[0] + "," + c.items[1]);
        AppRun run;
        gApp.skinOrder = c.order;
        INT_PTR result = 0;
        Drive drive = RunDriven(
            kOptionCaption,
            [&](HWND dialog) {
                EXPECT_EQ(ListItems(OrderList(dialog)), c.items);
                Click(dialog, IDOK);
            },
            [&] { result = ProjectOptionDialog(run.Main()); });
        ExpectClosedByScript(drive);
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(gApp.skinOrder, OrderOf(c.items));
    }
}

TEST(ProjectOptionDialog, DragAndDropReordersTheBandsAsTheRulesSay) {
    struct Case {
        const char* name;
        std::array<int, 3> order;
        Target from;
        Target to;
        Ending ending;
        std::vector<std::string> items;
        int selected; // after the drop; unchecked for drops that change nothing
        bool changes;
    } cases[] = {
        {"onto a lower item", {0, 1, 2}, OnItem(0), OnItem(2), Ending::Drop,
         {"Equalizer", "Playlist", "Main"}, 2, true},
        {"onto a higher item", {0, 1, 2}, OnItem(2), OnItem(0), Ending::Drop,
         {"Playlist", "Main", "Equalizer"}, 0, true},
        {"onto the next item", {0, 1, 2}, OnItem(0), OnItem(1), Ending::Drop,
         {"Equalizer", "Main", "Playlist"}, 1, true},
        {"onto the previous item", {0, 1, 2}, OnItem(1), OnItem(0), Ending::Drop,
         {"Equalizer", "Main", "Playlist"}, 0, true},
        {"from another order", {1, 2, 0}, OnItem(0), OnItem(2), Ending::Drop,
         {"Main", "Equalizer", "Playlist"}, 2, true},
        {"onto itself", {0, 1, 2}, OnItem(1), OnItem(1), Ending::Drop, kMEP, 0, false},
        {"above the list", {0, 1, 2}, OnItem(0), At(Spot::Above), Ending::Drop,
         {"Equalizer", "Playlist", "Main"}, -1, true},
        {"below the list", {0, 1, 2}, OnItem(1), At(Spot::Below), Ending::Drop,
         {"Main", "Playlist", "Equalizer"}, -1, true},
        {"beside the list, right", {0, 1, 2}, OnItem(0), At(Spot::Right), Ending::Drop,
         {"Equalizer", "Playlist", "Main"}, -1, true},
        {"beside the list, left", {0, 1, 2}, OnItem(1), At(Spot::Left), Ending::Drop,
         {"Main", "Playlist", "Equalizer"}, -1, true},
        {"the last item outside", {0, 1, 2}, OnItem(2), At(Spot::Right), Ending::Drop,
         kMEP, -1, true},
        {"into the list below its items", {0, 1, 2}, OnItem(0), At(Spot::Gap), Ending::Drop,
         {"Equalizer", "Playlist", "Main"}, -1, true},
        {"begun below the items", {0, 1, 2}, At(Spot::Gap), OnItem(0), Ending::Drop, kMEP, 0,
         false},
        {"cancelled with Escape", {0, 1, 2}, OnItem(0), OnItem(2), Ending::Escape, kMEP, 0,
         false},
        {"cancelled with the right button", {0, 1, 2}, OnItem(0), OnItem(2),
         Ending::RightButton, kMEP, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppRun run;
        gApp.skinOrder = c.order;
        std::vector<std::string> before;
        Drive drive = RunDriven(
            kOptionCaption,
            [&](HWND dialog) {
                HWND list = OrderList(dialog);
                before = ListItems(list);
                if (c.from.spot == Spot::Gap || c.to.spot == Spot::Gap) {
                    // The list is taller than its three items, so there is room below them.
                    POINT gap = SpotPoint(list, At(Spot::Gap));
                    RECT client;
                    GetClientRect(list, &client);
                    ASSERT_LT(gap.y, client.bottom);
                    POINT screen = gap;
                    ClientToScreen(list, &screen);
                    ASSERT_EQ(LBItemFromPt(list, screen, FALSE), -1);
                }
                Drag(list, c.from, c.to, c.ending);
                EXPECT_EQ(ListItems(list), c.items);
                if (c.changes) {
                    EXPECT_EQ(int(SendMessageA(list, LB_GETCURSEL, 0, 0)), c.selected);
                }
                Click(dialog, IDOK);
            },
            OptionDialog());
        ExpectClosedByScript(drive);
        if (!c.changes) {
            EXPECT_EQ(c.items, before);
        }
        EXPECT_EQ(gApp.skinOrder, OrderOf(c.items));
    }
}

TEST(ProjectOptionDialog, SeveralDragsInOneSession) {
    AppRun run;
    Drive drive = RunDriven(
        kOptionCaption,
        [](HWND dialog) {
            HWND list = OrderList(dialog);
            Drag(list, OnItem(0), OnItem(2), Ending::Escape); // cancelled: nothing
            Drag(list, OnItem(2), OnItem(0));                 // Playlist, Main, Equalizer
            Drag(list, OnItem(1), At(Spot::Below));           // Playlist, Equalizer, Main
            Drag(list, At(Spot::Gap), OnItem(1));             // nothing
            EXPECT_EQ(ListItems(list), (std::vector<std::string>{"Playlist", "Equalizer", "Main"}));
            Click(dialog, IDOK);
        },
        OptionDialog());
    ExpectClosedByScript(drive);
    EXPECT_EQ(gApp.skinOrder, (std::array<int, 3>{2, 1, 0}));
}

TEST(ProjectOptionDialog, CancelKeepsTheOldOrderAndSwitches) {
    AppRun run;
    gApp.skinOrder = {1, 2, 0};
    gApp.options.showVis = true;
    INT_PTR result = 0;
    Drive drive = RunDriven(
        kOptionCaption,
        [](HWND dialog) {
            Drag(OrderList(dialog), OnItem(0), OnItem(2));
            EXPECT_NE(ListItems(OrderList(dialog)),
                      (std::vector<std::string>{"Playlist", "Main", "Equalizer"}));
            Click(dialog, IDC_OPTION_SHOWVIS);
            Click(dialog, IDC_OPTION_SWAPRB);
            Click(dialog, IDCANCEL);
        },
        [&] { result = ProjectOptionDialog(run.Main()); });
    ExpectClosedByScript(drive);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(gApp.skinOrder, (std::array<int, 3>{1, 2, 0}));
    EXPECT_TRUE(gApp.options.showVis);
    EXPECT_FALSE(gApp.options.swapRedBlue);

    // Closing the dialog from its system menu is a Cancel too.
    drive = RunDriven(
        kOptionCaption,
        [](HWND dialog) {
            Click(dialog, IDC_OPTION_HIDEBALANCE);
            SendMessageA(dialog, WM_CLOSE, 0, 0);
        },
        [&] { result = ProjectOptionDialog(run.Main()); });
    ExpectClosedByScript(drive);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(gApp.options.hideBalance);
}

TEST(ProjectOptionDialog, OkFromTheMenuMakesTheSkinAgain) {
    AppRun run;
    MakeSkinFromPicture(run);
    ASSERT_FALSE(gApp.options.swapRedBlue);
    // A stale template path: the menu command reads the selection again before making.
    gApp.templatePath = "Z:\\nowhere\\";
    gApp.skin->main->Bytes()[gApp.skin->main->PixelOffset()] ^= 0x5A; // a mark the re-make wipes
    Drive drive = RunDriven(
        kOptionCaption,
        [](HWND dialog) {
            Click(dialog, IDC_OPTION_SWAPRB);
            Drag(OrderList(dialog), OnItem(0), OnItem(2)); // Equalizer, Playlist, Main
            Click(dialog, IDOK);
        },
        OptionCommand());
    ExpectClosedByScript(drive);
    EXPECT_TRUE(gApp.options.swapRedBlue);
    EXPECT_EQ(gApp.skinOrder, (std::array<int, 3>{2, 0, 1}));
    EXPECT_EQ(gApp.templatePath, "");
    ASSERT_TRUE(gApp.SkinMade());
    auto fresh = MakeSkin(CurrentSkinInputs());
    EXPECT_TRUE(SameDib(gApp.skin->main.get(), fresh->main.get()));
    EXPECT_TRUE(SameDib(gApp.skin->mainPreview.get(), fresh->mainPreview.get()));
    EXPECT_TRUE(SameDib(gApp.skin->eqmain.get(), fresh->eqmain.get()));

    // The previews are stacked in the new order.
    auto shot = Screenshot(run.Main());
    EXPECT_TRUE(SameRect(shot.get(), 30, 28 + 2 * 116, gApp.skin->mainPreview.get(), 0, 0, 275, 116));
    EXPECT_TRUE(
        SameRect(shot.get(), 30, 28, gApp.skin->equalizerPreview.get(), 0, 0, 275, 116));
}

TEST(ProjectOptionDialog, CancelFromTheMenuKeepsTheMadeSkin) {
    AppRun run;
    MakeSkinFromPicture(run);
    gApp.templatePath = "Z:\\nowhere\\";
    uint8_t& mark = gApp.skin->main->Bytes()[gApp.skin->main->PixelOffset()];
    mark ^= 0x5A;
    const uint8_t marked = mark;
    Drive drive = RunDriven(
        kOptionCaption,
        [](HWND dialog) {
            Click(dialog, IDC_OPTION_SWAPRB);
            Click(dialog, IDCANCEL);
        },
        OptionCommand());
    ExpectClosedByScript(drive);
    EXPECT_FALSE(gApp.options.swapRedBlue);
    EXPECT_EQ(gApp.templatePath, "Z:\\nowhere\\");
    ASSERT_TRUE(gApp.SkinMade());
    EXPECT_EQ(gApp.skin->main->Bytes()[gApp.skin->main->PixelOffset()], marked);
}

TEST(ProjectOptionDialog, OkFromTheMenuWithoutAMadeSkinOnlyStores) {
    AppRun run;
    run.Open(run.WritePicture("photo.bmp", *Picture(401, 300)));
    ASSERT_FALSE(gApp.SkinMade());
    gApp.templatePath = "Z:\\nowhere\\";
    Drive drive = RunDriven(
        kOptionCaption,
        [](HWND dialog) {
            Click(dialog, IDC_OPTION_HIDEBALANCE);
            Drag(OrderList(dialog), OnItem(2), OnItem(0));
            Click(dialog, IDOK);
        },
        OptionCommand());
    ExpectClosedByScript(drive);
    EXPECT_TRUE(gApp.options.hideBalance);
    EXPECT_EQ(gApp.skinOrder, (std::array<int, 3>{1, 2, 0}));
    EXPECT_FALSE(gApp.SkinMade());
    EXPECT_EQ(gApp.templatePath, "Z:\\nowhere\\");
}
