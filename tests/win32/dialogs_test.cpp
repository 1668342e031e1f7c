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
#include "app/project_option_dialog.h"
#include "app/resource.h"
#include "app/side_panels.h"
#include "app/title_text_dialog.h"
#include "compose/skin.h"
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

// A combo box's or list's lines, top to bottom.
std::vector<std::string> Items(HWND box, UINT getCount, UINT getText) {
    std::vector<std::string> items(size_t(SendMessageA(box, getCount, 0, 0)));
    for (size_t i = 0; i < items.size(); i++) {
        char text[64] = {};
        SendMessageA(box, getText, WPARAM(i), LPARAM(text));
        items[i] = text;
    }
    return items;
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

// A title as "text|alignment|colour".
std::string Desc(const TitleSettings& t) {
    return t.text + "|" + std::to_string(int(t.align)) + "|" + std::to_string(int(t.color));
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
    return [] { SendMessageA(GetDlgItem(gApp.skinSetPanel, kTitleButtonId), BM_CLICK, 0, 0); };
}

// The edges of what a window has yet to repaint.
std::vector<LONG> UpdateBox(HWND hwnd) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(hwnd, region, FALSE);
    RECT box = {};
    GetRgnBox(region, &box);
    DeleteObject(region);
    return {box.left, box.top, box.right, box.bottom};
}

} // namespace

// Edit Title Text

// The dialog shows the stored settings (a long stored text whole, an unknown choice as no
// selection); OK keeps at most 47 characters and stores an unknown choice as -1, drawn as
// Left and Hard.
TEST(TitleTextDialog, ShowsTheStoredSettingsAndOkStoresThem) {
    const std::string sixty = "0123456789ABCDEFGHIJ0123456789abcdefghij0123456789KLMNOPQRST";
    struct Case {
        TitleSettings stored;
        int alignShown, colorShown;
        std::string kept;
        TitleSettings drawn;
    } cases[] = {
        {MakeTitle("Stored", 2, 0), 2, 0, "Stored|2|0", MakeTitle("Stored", 2, 0)},
        {MakeTitle("odd", 5, 7), CB_ERR, CB_ERR, "odd|-1|-1", MakeTitle("odd", 0, 1)},
        {MakeTitle(sixty, 1, 1), 1, 1, sixty.substr(0, 47) + "|1|1",
         MakeTitle(sixty.substr(0, 47), 1, 1)},
    };
    AppRun run;
    MakeSkinFromPicture(run);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.text);
        gApp.title = c.stored;
        ExpectClosedByScript(RunDriven(
            kTitleCaption,
            [&](HWND dialog) {
                EXPECT_EQ(FieldText(dialog, IDC_TITLE_TEXT), c.stored.text);
                EXPECT_EQ(Items(GetDlgItem(dialog, IDC_TITLE_ALIGN), CB_GETCOUNT, CB_GETLBTEXT),
                          (std::vector<std::string>{"Left", "Center", "Right"}));
                EXPECT_EQ(Items(GetDlgItem(dialog, IDC_TITLE_COLOR), CB_GETCOUNT, CB_GETLBTEXT),
                          (std::vector<std::string>{"Soft", "Hard"}));
                EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_TITLE_ALIGN, CB_GETCURSEL, 0, 0),
                          c.alignShown);
                EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_TITLE_COLOR, CB_GETCURSEL, 0, 0),
                          c.colorShown);
                // Tab order: the field, the alignment box, then the colour box.
                HWND next = GetNextDlgTabItem(dialog, GetDlgItem(dialog, IDC_TITLE_TEXT), FALSE);
                EXPECT_EQ(GetDlgCtrlID(next), IDC_TITLE_ALIGN);
                EXPECT_EQ(GetDlgCtrlID(GetNextDlgTabItem(dialog, next, FALSE)), IDC_TITLE_COLOR);
                Press(dialog, IDOK);
            },
            TitleButton()));
        EXPECT_EQ(Desc(gApp.title), c.kept);
        ExpectSkinShowsTitle(c.drawn);
    }
}

// Apply stores and redraws the made skin in place (every alignment and colour, with red and
// blue swapped or not) and invalidates only the preview's title rows; Cancel keeps what was
// applied and drops what was only typed; OK does what Apply does and ends; an empty text
// leaves the plain picture in the strips.
TEST(TitleTextDialog, ApplyAndOkRedrawInPlaceAndCancelKeepsWhatWasApplied) {
    for (bool swap : {false, true}) {
        SCOPED_TRACE(swap ? "red and blue swapped" : "plain colours");
        AppRun run;
        gApp.options.swapRedBlue = swap;
        const std::array<int, 3> order = swap ? std::array{1, 2, 0} : std::array{2, 0, 1};
        MakeSkinFromPicture(run, order);
        const std::vector<LONG> titleArea = {30, 28 + 116 * order[0], 305, 44 + 116 * order[0]};
        ExpectClosedByScript(RunDriven(
            kTitleCaption,
            [&](HWND dialog) {
                for (int align = 0; align < 3; align++) {
                    for (int color = 0; color < 2; color++) {
                        SCOPED_TRACE(align * 10 + color);
                        ValidateRect(run.Main(), nullptr);
                        SetTitleFields(dialog, MakeTitle("Hi! 42", align, color));
                        Press(dialog, IDC_TITLE_APPLY);
                        ExpectStillOpen(dialog);
                        EXPECT_EQ(Desc(gApp.title), Desc(MakeTitle("Hi! 42", align, color)));
                        ExpectSkinShowsTitle(gApp.title);
                        EXPECT_EQ(UpdateBox(run.Main()), titleArea);
                    }
                }
                SetTitleFields(dialog, MakeTitle("never applied", 0, 0));
                Press(dialog, IDCANCEL);
            },
            TitleButton()));
        EXPECT_EQ(Desc(gApp.title), "Hi! 42|2|1");
        ExpectSkinShowsTitle(gApp.title);
        auto shot = Screenshot(run.Main());
        EXPECT_TRUE(SameRect(shot.get(), 30 + 18, 28 + 116 * order[0] + 4,
                             gApp.skin->mainPreview.get(), 18, 4, 220, 8));

        for (const char* text : {"by ok", ""}) {
            ExpectClosedByScript(RunDriven(
                kTitleCaption,
                [&](HWND dialog) {
                    ValidateRect(run.Main(), nullptr);
                    SetTitleFields(dialog, MakeTitle(text, 1, 0));
                    Press(dialog, IDOK);
                    EXPECT_EQ(UpdateBox(run.Main()), titleArea);
                },
                TitleButton()));
            EXPECT_EQ(Desc(gApp.title), text + std::string("|1|0"));
            ExpectSkinShowsTitle(gApp.title);
        }
        auto band = DibCreate(275, 116, 24);
        CutBand(CurrentSkinInputs(), Band::Main, band.get());
        if (swap) {
            DibSwapRedBlue(band.get());
        }
        EXPECT_TRUE(SameRect(gApp.skin->main.get(), 18, 4, band.get(), 18, 4, 220, 8));
    }
}

// Without a made skin (none yet, or after Undo Skin) the dialog only stores: typing stops at
// 48 characters and OK keeps 47; the next Make Skin draws the stored title.
TEST(TitleTextDialog, WithoutAMadeSkinOnlyTheSettingsChange) {
    AppRun run;
    const std::string typed = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwx";
    ExpectClosedByScript(RunDriven(
        kTitleCaption,
        [&](HWND dialog) {
            HWND field = GetDlgItem(dialog, IDC_TITLE_TEXT);
            SetWindowTextA(field, "");
            for (char c : typed) {
                SendMessageA(field, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 1);
            }
            EXPECT_EQ(FieldText(dialog, IDC_TITLE_TEXT), typed.substr(0, 48));
            SendDlgItemMessageA(dialog, IDC_TITLE_ALIGN, CB_SETCURSEL, 1, 0);
            Press(dialog, IDOK);
        },
        [&] { TitleTextDialog(run.Main()); }));
    EXPECT_EQ(gApp.title.text, typed.substr(0, 47));
    EXPECT_FALSE(gApp.skin);
    MakeSkinFromPicture(run);
    ExpectSkinShowsTitle(MakeTitle(typed.substr(0, 47), 1, 1));

    SendMessageA(run.Main(), WM_COMMAND, IDM_UNDOSKIN, 0);
    AppRun::Pump();
    ExpectClosedByScript(RunDriven(
        kTitleCaption,
        [](HWND dialog) {
            SetTitleFields(dialog, MakeTitle("after undo", 2, 0));
            Press(dialog, IDC_TITLE_APPLY);
            ExpectStillOpen(dialog);
            EXPECT_EQ(Desc(gApp.title), "after undo|2|0");
            Press(dialog, IDOK);
        },
        [&] { TitleTextDialog(run.Main()); }));
    EXPECT_FALSE(gApp.SkinMade());
}

// Project Option

namespace {

// The order list's lines as initials, top to bottom: "MEP" is Main, Equalizer, Playlist.
std::string Initials(HWND dialog) {
    std::string initials;
    for (const std::string& item :
         Items(GetDlgItem(dialog, IDC_OPTION_ORDER), LB_GETCOUNT, LB_GETTEXT)) {
        initials += item == "Main" || item == "Equalizer" || item == "Playlist" ? item[0] : '?';
    }
    return initials;
}

// SkinOrder as initials show it: each band's place in the list.
std::array<int, 3> OrderOf(const std::string& initials) {
    return {int(initials.find('M')), int(initials.find('E')), int(initials.find('P'))};
}

std::function<void()> OptionDialog() {
    return [] { EXPECT_EQ(ProjectOptionDialog(gApp.mainWindow), IDOK); };
}

} // namespace

// The check boxes show the stored switches and OK stores what they show (Gen_Balance is not
// this dialog's); the list shows the bands top to bottom in SkinOrder, a position no band
// holds skipped.
TEST(ProjectOptionDialog, ShowsTheStoredOptionsAndOkStoresThem) {
    AppRun run;
    struct Case {
        int start, flip; // bits: visualization, red and blue, balance button
        std::array<int, 3> order;
        std::string shown;
    } cases[] = {
        {0, 7, {0, 1, 2}, "MEP"}, {7, 7, {1, 2, 0}, "PME"}, {1, 2, {2, 0, 1}, "EPM"},
        {2, 4, {2, 1, 0}, "PEM"}, {4, 1, {0, 2, 0}, "MPE"}, {5, 3, {0, 1, 2}, "MEP"},
        {3, 6, {0, 1, 2}, "MEP"}, {6, 5, {0, 1, 2}, "MEP"},
    };
    const int ids[3] = {IDC_OPTION_SHOWVIS, IDC_OPTION_SWAPRB, IDC_OPTION_HIDEBALANCE};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start * 10 + c.flip);
        gApp.options = {};
        gApp.options.showVis = c.start & 1;
        gApp.options.swapRedBlue = c.start & 2;
        gApp.options.hideBalance = c.start & 4;
        gApp.options.genBalance = c.flip & 1;
        gApp.skinOrder = c.order;
        ExpectClosedByScript(RunDriven(
            kOptionCaption,
            [&](HWND dialog) {
                EXPECT_EQ(FieldText(dialog, IDC_OPTION_SHOWVIS), "Show &visualization on preview");
                EXPECT_EQ(FieldText(dialog, IDC_OPTION_SWAPRB), "&Swaps Red and Blue color");
                EXPECT_EQ(FieldText(dialog, IDC_OPTION_HIDEBALANCE), "Hide &Balance Button");
                EXPECT_EQ(Initials(dialog), c.shown);
                EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_OPTION_ORDER, LB_GETCURSEL, 0, 0),
                          LB_ERR);
                for (int bit = 0; bit < 3; bit++) {
                    EXPECT_EQ(IsDlgButtonChecked(dialog, ids[bit]), UINT(c.start >> bit & 1));
                    if (c.flip >> bit & 1) {
                        Press(dialog, ids[bit]);
                    }
                }
                Press(dialog, IDOK);
            },
            OptionDialog()));
        const int now = c.start ^ c.flip;
        EXPECT_EQ(gApp.options.showVis, bool(now & 1));
        EXPECT_EQ(gApp.options.swapRedBlue, bool(now & 2));
        EXPECT_EQ(gApp.options.hideBalance, bool(now & 4));
        EXPECT_EQ(gApp.options.genBalance, bool(c.flip & 1));
        EXPECT_EQ(gApp.skinOrder, OrderOf(c.shown));
    }
}

// A drop on an item moves the dragged band there; a drop off the items (above, below or
// beside the list, or below its items) puts it last; a drop on itself, a drag begun below
// the items, Escape or the right button change nothing.
TEST(ProjectOptionDialog, DragAndDropReordersTheBands) {
    struct Case {
        const char* name;
        Target from, to;
        std::string after;
        int selected = -1; // after the drop; -1: unchecked
        std::array<int, 3> order = {0, 1, 2};
        Ending ending = Ending::Drop;
    } cases[] = {
        {"onto a lower item", OnItem(0), OnItem(2), "EPM", 2},
        {"onto a higher item", OnItem(2), OnItem(0), "PME", 0},
        {"onto the next item", OnItem(0), OnItem(1), "EMP", 1},
        {"onto the previous item", OnItem(1), OnItem(0), "EMP", 0},
        {"from another order", OnItem(0), OnItem(2), "MEP", 2, {1, 2, 0}},
        {"onto itself", OnItem(1), OnItem(1), "MEP"},
        {"above the list", OnItem(0), At(Spot::Above), "EPM"},
        {"below the list", OnItem(1), At(Spot::Below), "MPE"},
        {"beside the list, right", OnItem(0), At(Spot::Right), "EPM"},
        {"beside the list, left", OnItem(1), At(Spot::Left), "MPE"},
        {"the last item outside", OnItem(2), At(Spot::Right), "MEP"},
        {"into the list below its items", OnItem(0), At(Spot::Gap), "EPM"},
        {"begun below the items", At(Spot::Gap), OnItem(0), "MEP"},
        {"cancelled with Escape", OnItem(0), OnItem(2), "MEP", -1, {0, 1, 2}, Ending::Escape},
        {"cancelled with the right button",
         OnItem(0),
         OnItem(2),
         "MEP",
         -1,
         {0, 1, 2},
         Ending::RightButton},
    };
    AppRun run;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gApp.skinOrder = c.order;
        ExpectClosedByScript(RunDriven(
            kOptionCaption,
            [&](HWND dialog) {
                Drag(GetDlgItem(dialog, IDC_OPTION_ORDER), c.from, c.to, c.ending);
                EXPECT_EQ(Initials(dialog), c.after);
                if (c.selected >= 0) {
                    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_OPTION_ORDER, LB_GETCURSEL, 0, 0),
                              c.selected);
                }
                Press(dialog, IDOK);
            },
            OptionDialog()));
        EXPECT_EQ(gApp.skinOrder, OrderOf(c.after));
    }
    // Several drags in one session, one of them cancelled.
    gApp.skinOrder = {0, 1, 2};
    ExpectClosedByScript(RunDriven(
        kOptionCaption,
        [](HWND dialog) {
            HWND list = GetDlgItem(dialog, IDC_OPTION_ORDER);
            Drag(list, OnItem(0), OnItem(2), Ending::Escape); // nothing
            Drag(list, OnItem(2), OnItem(0));                 // PME
            Drag(list, OnItem(1), At(Spot::Below));           // PEM
            Drag(list, At(Spot::Gap), OnItem(1));             // nothing
            Press(dialog, IDOK);
        },
        OptionDialog()));
    EXPECT_EQ(gApp.skinOrder, (std::array<int, 3>{2, 1, 0}));
}

// From the menu: OK over a made skin stores and makes the skin again (reading the template
// choice afresh) with the previews stacked in the new order; OK without a made skin only
// stores; Cancel or closing the dialog keeps everything, the made skin included.
TEST(ProjectOptionDialog, OkFromTheMenuRemakesTheSkinCancelKeepsEverything) {
    struct Case {
        bool made;
        std::function<void(HWND)> close;
        bool stored, remade;
    } cases[] = {
        {true, [](HWND d) { Press(d, IDOK); }, true, true},
        {false, [](HWND d) { Press(d, IDOK); }, true, false},
        {true, [](HWND d) { Press(d, IDCANCEL); }, false, false},
        {true, [](HWND d) { SendMessageA(d, WM_CLOSE, 0, 0); }, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.made) + std::to_string(c.stored));
        AppRun run;
        if (c.made) {
            MakeSkinFromPicture(run);
        } else {
            run.Open(run.WritePicture("photo.bmp", *Picture(401, 300)));
        }
        gApp.templatePath = "Z:\\nowhere\\"; // stale: a re-make reads the selection again
        uint8_t mark = 0;
        if (c.made) {
            mark = gApp.skin->main->Bytes()[gApp.skin->main->PixelOffset()] ^= 0x5A;
        }
        ExpectClosedByScript(RunDriven(
            kOptionCaption,
            [&](HWND dialog) {
                Press(dialog, IDC_OPTION_SWAPRB);
                Drag(GetDlgItem(dialog, IDC_OPTION_ORDER), OnItem(0), OnItem(2)); // EPM
                c.close(dialog);
            },
            [] { SendMessageA(gApp.mainWindow, WM_COMMAND, IDM_OPTION, 0); }));
        EXPECT_EQ(gApp.options.swapRedBlue, c.stored);
        EXPECT_EQ(gApp.skinOrder, OrderOf(c.stored ? "EPM" : "MEP"));
        EXPECT_EQ(gApp.templatePath, c.remade ? "" : "Z:\\nowhere\\");
        EXPECT_EQ(gApp.SkinMade(), c.made);
        if (!c.made) {
            continue;
        }
        auto fresh = MakeSkin(CurrentSkinInputs());
        EXPECT_EQ(SameDib(gApp.skin->main.get(), fresh->main.get()), c.remade);
        if (!c.remade) {
            EXPECT_EQ(gApp.skin->main->Bytes()[gApp.skin->main->PixelOffset()], mark);
            continue;
        }
        EXPECT_TRUE(SameDib(gApp.skin->eqmain.get(), fresh->eqmain.get()));
        auto shot = Screenshot(run.Main());
        EXPECT_TRUE(
            SameRect(shot.get(), 30, 28 + 2 * 116, gApp.skin->mainPreview.get(), 0, 0, 275, 116));
        EXPECT_TRUE(
            SameRect(shot.get(), 30, 28, gApp.skin->equalizerPreview.get(), 0, 0, 275, 116));
    }
}
