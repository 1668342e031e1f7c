// The Edit Title Text and Project Option dialogs, driven through their controls over the real
// main window.
#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "app/app_state.h"
#include "app/picture_commands.h"
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
bool StillOpen(HWND dialog) {
    return IsWindowVisible(dialog) && !IsWindowEnabled(gApp.mainWindow);
}

// Whether the made skin is one made afresh from the program's settings (with `title` when
// given): main.bmp, titlebar.bmp, eqmain.bmp and the main preview, byte for byte.
bool AsMadeAfresh(const TitleSettings* title = nullptr) {
    SkinInputs in = CurrentSkinInputs();
    in.title = title ? *title : in.title;
    auto fresh = MakeSkin(in);
    const SkinSet* s = gApp.skin.get();
    return gApp.SkinMade() && BlockOf(s->main.get()) == BlockOf(fresh->main.get()) &&
           BlockOf(s->titlebar.get()) == BlockOf(fresh->titlebar.get()) &&
           BlockOf(s->eqmain.get()) == BlockOf(fresh->eqmain.get()) &&
           BlockOf(s->mainPreview.get()) == BlockOf(fresh->mainPreview.get());
}

TitleSettings MakeTitle(const std::string& text, int align, int color) {
    return {text, static_cast<TitleAlign>(align), static_cast<TitleColor>(color)};
}

// A title as "text|alignment|colour".
std::string Desc(const TitleSettings& t) {
    return t.text + "|" + std::to_string(int(t.align)) + "|" + std::to_string(int(t.color));
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
    Click(gApp.makeSkinButton);
    ASSERT_TRUE(gApp.SkinMade());
}

} // namespace

// The dialog shows the stored settings (a long stored text whole, an unknown choice as no
// selection); OK keeps at most 47 characters and stores an unknown choice as -1, drawn as
// Left and Hard; over a made skin it redraws the title, and an empty text leaves the plain
// picture.
TEST(TitleTextDialog, ShowsTheStoredSettingsAndOkOrApplyStoreAndDrawThem) {
    const std::string sixty = "0123456789ABCDEFGHIJ0123456789abcdefghij0123456789KLMNOPQRST";
    const std::string first47 = sixty.substr(0, 47);
    const std::tuple<TitleSettings, std::string, std::string, TitleSettings> cases[] = {
        // stored, shown, kept, drawn
        {MakeTitle("Stored", 2, 0), "Stored|2|0", "Stored|2|0", MakeTitle("Stored", 2, 0)},
        {MakeTitle("odd", 5, 7), "odd|-1|-1", "odd|-1|-1", MakeTitle("odd", 0, 1)},
        {MakeTitle(sixty, 1, 1), sixty + "|1|1", first47 + "|1|1", MakeTitle(first47, 1, 1)},
        {MakeTitle("", 1, 0), "|1|0", "|1|0", MakeTitle("", 1, 0)},
    };
    AppRun run;
    MakeSkinFromPicture(run, {2, 0, 1});
    const std::tuple titleRows = {30L, 260L, 305L, 276L}; // where the band order puts them
    auto titleButton = [] { Click(GetDlgItem(gApp.skinSetPanel, kTitleButtonId)); };
    for (const auto& [stored, shown, kept, drawn] : cases) {
        SCOPED_TRACE(stored.text);
        gApp.title = stored;
        RunScript("Edit Title Text", titleButton, [&](HWND dialog) {
            HWND align = GetDlgItem(dialog, IDC_TITLE_ALIGN);
            HWND color = GetDlgItem(dialog, IDC_TITLE_COLOR);
            const std::string seen = Desc(MakeTitle(FieldText(dialog, IDC_TITLE_TEXT),
                                                    int(SendMessageA(align, CB_GETCURSEL, 0, 0)),
                                                    int(SendMessageA(color, CB_GETCURSEL, 0, 0))));
            EXPECT_EQ(std::tuple(seen, ComboItems(align), ComboItems(color),
                                 GetNextDlgTabItem(dialog, GetDlgItem(dialog, IDC_TITLE_TEXT), 0),
                                 GetNextDlgTabItem(dialog, align, 0)),
                      std::tuple(shown, std::vector<std::string>{"Left", "Center", "Right"},
                                 std::vector<std::string>{"Soft", "Hard"}, align, color));
            Press(dialog, IDOK);
        });
        EXPECT_EQ(std::tuple(Desc(gApp.title), AsMadeAfresh(&drawn)), std::tuple(kept, true));
    }

    // Apply does what OK does, invalidating only the preview's title rows, and leaves the dialog
    // open; Cancel keeps what was applied and drops what was only typed.
    RunScript("Edit Title Text", titleButton, [&](HWND dialog) {
        for (int i = 0; i < 6; i++) {
            const TitleSettings title = MakeTitle("Hi! 42", i / 2, i % 2);
            ValidateRect(run.Main(), nullptr);
            SetTitleFields(dialog, title);
            Press(dialog, IDC_TITLE_APPLY);
            RECT box = {}; // what the main window has yet to repaint
            GetUpdateRect(run.Main(), &box, FALSE);
            EXPECT_EQ(std::tuple(StillOpen(dialog), Desc(gApp.title),
                                 std::tuple(box.left, box.top, box.right, box.bottom),
                                 AsMadeAfresh(&title)),
                      std::tuple(true, Desc(title), titleRows, true));
        }
        SetTitleFields(dialog, MakeTitle("never applied", 0, 0));
        Press(dialog, IDCANCEL);
    });
    const TitleSettings applied = MakeTitle("Hi! 42", 2, 1);
    EXPECT_EQ(std::tuple(Desc(gApp.title), AsMadeAfresh(&applied)),
              std::tuple(Desc(applied), true));

    // Without a made skin (after Undo Skin, as before the first) the dialog only stores, and
    // typing stops at 48 characters; the next Make Skin draws the stored title.
    Click(gApp.makeSkinButton);
    auto open = [&] { TitleTextDialog(run.Main()); };
    RunScript("Edit Title Text", open, [&](HWND dialog) {
        HWND field = GetDlgItem(dialog, IDC_TITLE_TEXT);
        SetWindowTextA(field, "");
        for (char c : sixty) {
            SendMessageA(field, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 1);
        }
        SendDlgItemMessageA(dialog, IDC_TITLE_ALIGN, CB_SETCURSEL, 2, 0);
        Press(dialog, IDC_TITLE_APPLY);
        EXPECT_EQ(std::tuple(FieldText(dialog, IDC_TITLE_TEXT), StillOpen(dialog), gApp.SkinMade()),
                  std::tuple(sixty.substr(0, 48), true, false));
        Press(dialog, IDOK);
    });
    Click(gApp.makeSkinButton);
    const TitleSettings typed = MakeTitle(first47, 2, 1);
    EXPECT_EQ(std::tuple(Desc(gApp.title), AsMadeAfresh(&typed)), std::tuple(Desc(typed), true));
}

namespace {

// The order list's lines as initials, top to bottom: "MEP" is Main, Equalizer, Playlist.
std::string Initials(HWND dialog) {
    std::string initials;
    HWND list = GetDlgItem(dialog, IDC_OPTION_ORDER);
    for (WPARAM i = 0; i < WPARAM(SendMessageA(list, LB_GETCOUNT, 0, 0)); i++) {
        char item[64] = {};
        SendMessageA(list, LB_GETTEXT, i, LPARAM(item));
        const std::string name = item;
        initials += name == "Main" || name == "Equalizer" || name == "Playlist" ? item[0] : '?';
    }
    return initials;
}

// SkinOrder as initials show it: each band's place in the list.
std::array<int, 3> OrderOf(const std::string& initials) {
    return {int(initials.find('M')), int(initials.find('E')), int(initials.find('P'))};
}

void RunOptionDialog(Script script) {
    auto menu = [] { SendMessageA(gApp.mainWindow, WM_COMMAND, IDM_OPTION, 0); };
    RunScript("Project Option", menu, std::move(script));
}

} // namespace

// The check boxes show the stored switches and OK stores what they show (Gen_Balance is not
// this dialog's); the list shows the bands top to bottom in SkinOrder, a position no band
// holds skipped. Without a made skin, OK makes none.
TEST(ProjectOptionDialog, ShowsTheStoredOptionsAndOkStoresThem) {
    AppRun run;
    run.Open(run.WritePicture("photo.bmp", *Picture(401, 300)));
    // The options at the start and those clicked (bits: visualization, red and blue, balance
    // button), SkinOrder and the list it shows.
    const std::tuple<int, int, std::array<int, 3>, std::string> cases[] = {
        {0, 7, {0, 1, 2}, "MEP"}, {7, 7, {1, 2, 0}, "PME"}, {1, 2, {2, 0, 1}, "EPM"},
        {2, 4, {2, 1, 0}, "PEM"}, {4, 1, {0, 2, 0}, "MPE"},
    };
    const int ids[3] = {IDC_OPTION_SHOWVIS, IDC_OPTION_SWAPRB, IDC_OPTION_HIDEBALANCE};
    const std::string labels[3] = {"Show &visualization on preview", "&Swaps Red and Blue color",
                                   "Hide &Balance Button"};
    for (const auto& [start, flip, order, shown] : cases) {
        SCOPED_TRACE(start * 10 + flip);
        gApp.options = {bool(start & 1), bool(start & 2), bool(start & 4), bool(flip & 1)};
        gApp.skinOrder = order;
        RunOptionDialog([&](HWND dialog) {
            std::string seen = Initials(dialog), expected = shown;
            for (int bit = 0; bit < 3; bit++) {
                seen += " " + FieldText(dialog, ids[bit]) + "=" +
                        std::to_string(IsDlgButtonChecked(dialog, ids[bit]));
                expected += " " + labels[bit] + "=" + std::to_string(start >> bit & 1);
                if (flip >> bit & 1) {
                    Press(dialog, ids[bit]);
                }
            }
            EXPECT_EQ(
                std::tuple(seen, SendDlgItemMessageA(dialog, IDC_OPTION_ORDER, LB_GETCURSEL, 0, 0)),
                std::tuple(expected, LRESULT(LB_ERR)));
            Press(dialog, IDOK);
        });
        const ProjectOptions& o = gApp.options;
        EXPECT_EQ(
            std::tuple(o.showVis | o.swapRedBlue << 1 | o.hideBalance << 2 | o.genBalance << 3,
                       gApp.skinOrder, bool(gApp.skin)),
            std::tuple((start ^ flip) | (flip & 1) << 3, OrderOf(shown), false));
    }
}

// A drop on an item moves the dragged band there (and selects it); a drop off the items (above,
// below or beside the list, or below its items) puts it last; a drop on itself, a drag begun
// below the items, Escape or the right button change nothing. Then several drags in one session.
TEST(ProjectOptionDialog, DragAndDropReordersTheBands) {
    // Where the drag begins and ends, the list after and its selection (-1: unchecked).
    const struct Case {
        const char* name;
        int from, to;
        Ending ending = Ending::Drop;
        std::string after;
        int selected = -1;
    } cases[] = {
        {.name = "onto a lower item", .from = 0, .to = 2, .after = "EPM", .selected = 2},
        {.name = "onto a higher item", .from = 2, .to = 0, .after = "PME", .selected = 0},
        {.name = "onto the next item", .from = 0, .to = 1, .after = "EMP", .selected = 1},
        {.name = "onto the previous item", .from = 1, .to = 0, .after = "EMP", .selected = 0},
        {.name = "onto itself", .from = 1, .to = 1, .after = "MEP"},
        {.name = "above the list", .from = 0, .to = kAbove, .after = "EPM"},
        {.name = "beside the list, right", .from = 0, .to = kRight, .after = "EPM"},
        {.name = "the last item outside", .from = 2, .to = kRight, .after = "MEP"},
        {.name = "begun below the items", .from = kGap, .to = 0, .after = "MEP"},
        {.name = "Escape key", .from = 0, .to = 2, .ending = Ending::Escape, .after = "MEP"},
        {.name = "right button", .from = 0, .to = 2, .ending = Ending::RightButton, .after = "MEP"},
    };
    AppRun run;
    for (const auto& [name, from, to, ending, after, selected] : cases) {
        SCOPED_TRACE(name);
        gApp.skinOrder = {0, 1, 2};
        RunOptionDialog([&](HWND dialog) {
            Drag(GetDlgItem(dialog, IDC_OPTION_ORDER), from, to, ending);
            LRESULT now = SendDlgItemMessageA(dialog, IDC_OPTION_ORDER, LB_GETCURSEL, 0, 0);
            EXPECT_EQ(std::tuple(Initials(dialog), selected < 0 ? -1 : now),
                      std::tuple(after, LRESULT(selected)));
            Press(dialog, IDOK);
        });
        EXPECT_EQ(gApp.skinOrder, OrderOf(after));
    }
    gApp.skinOrder = {0, 1, 2};
    RunOptionDialog([](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_OPTION_ORDER);
        Drag(list, 0, 2, Ending::Escape); // nothing
        Drag(list, 2, 0);                 // PME
        Drag(list, 1, kBelow);            // PEM
        Drag(list, kGap, 1);              // nothing
        Press(dialog, IDOK);
    });
    EXPECT_EQ(gApp.skinOrder, (std::array<int, 3>{2, 1, 0}));
}

// OK over a made skin stores and makes the skin again (reading the template choice afresh)
// with the previews stacked in the new order; Cancel or closing the dialog keeps everything,
// the made skin included.
TEST(ProjectOptionDialog, OkRemakesTheSkinCancelKeepsEverything) {
    // The closing message and button; whether the dialog's settings are stored and the skin remade.
    const std::tuple<UINT, WPARAM, bool> cases[] = {
        {BM_CLICK, IDOK, true}, {BM_CLICK, IDCANCEL, false}, {WM_CLOSE, 0, false}};
    for (const auto& [message, id, remade] : cases) {
        SCOPED_TRACE(id);
        AppRun run;
        MakeSkinFromPicture(run);
        const uint8_t mark = gApp.skin->main->Bytes()[gApp.skin->main->PixelOffset()] ^= 0x5A;
        gApp.templatePath = "Z:\\nowhere\\"; // stale: a re-make reads the selection again
        RunOptionDialog([&](HWND dialog) {
            Press(dialog, IDC_OPTION_SWAPRB);
            Drag(GetDlgItem(dialog, IDC_OPTION_ORDER), 0, 2); // EPM
            SendMessageA(id ? GetDlgItem(dialog, int(id)) : dialog, message, 0, 0);
        });
        // Remade as afresh, the main preview at the bottom and the equalizer's at the top; kept
        // with the mark on its first pixel.
        const SkinSet* s = gApp.skin.get();
        auto shot = Screenshot(run.Main());
        const bool stacked =
            remade &&
            SameRect(shot.get(), 30, 28 + 2 * 116, s->mainPreview.get(), 0, 0, 275, 116) &&
            SameRect(shot.get(), 30, 28, s->equalizerPreview.get(), 0, 0, 275, 116);
        EXPECT_EQ(std::tuple(gApp.options.swapRedBlue, gApp.skinOrder, gApp.templatePath,
                             AsMadeAfresh(), s->main->Bytes()[s->main->PixelOffset()] == mark,
                             stacked),
                  std::tuple(remade, OrderOf(remade ? "EPM" : "MEP"),
                             std::string(remade ? "" : "Z:\\nowhere\\"), remade, !remade, remade));
    }
}
