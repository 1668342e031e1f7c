#include "app/picture_commands.h"

#include <commdlg.h>

#include "app/app_state.h"
#include "app/message_box.h"
#include "app/panel_kit.h"
#include "app/resource.h"
#include "app/side_panels.h"
#include "app/template_panel.h"
#include "app/workspace.h"
#include "project/messages.h"
#include "project/suggest.h"

namespace {

// The wait cursor for the length of one command; the previous cursor comes back when it
// goes out of scope, or earlier through Restore() when a message box is about to show.
class WaitCursor {
  public:
    WaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { Restore(); }
    void Restore() {
        if (!restored_) {
            SetCursor(previous_);
            restored_ = true;
        }
    }

  private:
    HCURSOR previous_;
    bool restored_ = false;
};

void SetBandOffsets(OffsetPoint offset, OffsetPoint limits, BOOL repaint) {
    for (int i = 0; i < 3; i++) {
        SendMessageA(gApp.workspaces[i], WSM_SETOFFSET, WPARAM(&offset), repaint);
        SendMessageA(gApp.workspaces[i], WSM_SETLIMITS, WPARAM(&limits), 0);
    }
}

// The failure ends of an open: nothing is shown, the old adjustments stay.
void DropRefusedPicture() {
    FreeBitmaps(true);
    gApp.shownPicture = nullptr;
    UpdateWorkspaceVisibility();
}

} // namespace

void SetWorkspaceCursor(LPCSTR cursor) {
    if (gApp.workspaces[0]) {
        SetClassLongPtrA(gApp.workspaces[0], GCLP_HCURSOR,
                         reinterpret_cast<LONG_PTR>(LoadCursor(nullptr, cursor)));
    }
}

bool ChoosePictureFile(HWND owner, std::string* pathOut) {
    char path[MAX_PATH] = {};
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = "Pictures (*.bmp;*.png;*.jpg;*.jpeg)\0*.bmp;*.png;*.jpg;*.jpeg\0"
                      "Bitmap (*.bmp)\0*.bmp\0"
                      "PNG (*.png)\0*.png\0"
                      "JPEG (*.jpg;*.jpeg)\0*.jpg;*.jpeg\0"
                      "All files (*.*)\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrInitialDir = gApp.lastPicDir.c_str();
    ofn.lpstrTitle = "Open Bitmap File";
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (GetOpenFileNameA(&ofn) != TRUE) {
        return false;
    }
    *pathOut = path;
    return true;
}

void OpenPicturePath(HWND owner, const std::string& path) {
    WaitCursor wait;
    FreeBitmaps(true); // the old picture and skin go as soon as a file is chosen

    auto ask = [&] {
        wait.Restore();
        return ShowWarning(owner, kMsgAskConvert, MB_YESNO) == IDYES;
    };
    OpenedPicture opened = gApp.project.OpenFile(path, ask);
    switch (opened.outcome) {
    case PictureOutcome::Declined:
        DropRefusedPicture();
        return;
    case PictureOutcome::TooSmall:
    case PictureOutcome::TooLarge:
    case PictureOutcome::TooManyPixels:
        wait.Restore();
        ShowWarning(owner, PictureOutcomeMessage(opened.outcome));
        DropRefusedPicture();
        return;
    case PictureOutcome::ReadFailed:
        ShowWarning(owner, kMsgLoadFailed);
        break;
    case PictureOutcome::Accepted: {
        const std::string notice = PictureReducedNotice(opened);
        UpdatePictureRange();
        gApp.picturePath = path;
        size_t slash = path.find_last_of("\\/");
        if (slash != std::string::npos) {
            gApp.lastPicDir = path.substr(0, slash);
        }
        gApp.shownPicture = gApp.WorkPicture();
        SetWorkspaceCursor(IDC_CROSS);
        if (!notice.empty()) {
            wait.Restore();
            UpdateWorkspaceVisibility(); // the reduced picture shows behind the notice
            ShowMessage(owner, notice.c_str(), kInformationCaption, MB_OK | MB_ICONINFORMATION);
        }
        break;
    }
    }
    // The common end of a load and of an unreadable file.
    UpdateWorkspaceVisibility();
    gApp.brightness = 0;
    gApp.contrast = 0;
    gApp.scale = 100;
    gApp.given.erase("scale");
    SendMessageA(gApp.imageSetPanel, ISM_RELOADFIELDS, 0, 0);
    gApp.skinOrder = {0, 1, 2};
}

void FreeBitmaps(bool alsoPictures) {
    if (alsoPictures) {
        gApp.project.Close();
    }
    gApp.skin.reset();
    gApp.shownPicture = nullptr;
}

void RevertSkin() {
    if (!gApp.SkinMade()) {
        return;
    }
    FreeBitmaps(false);
    gApp.shownPicture = gApp.WorkPicture();
    UpdateWorkspaceVisibility();
    SetWorkspaceCursor(IDC_CROSS);
}

void UpdateWorkspaceVisibility() {
    const POINT o = PreviewOrigin();
    RECT area = {o.x, o.y, o.x + kBandWidth, o.y + kFrameHeight};
    InvalidateRect(gApp.mainWindow, &area, TRUE);
    bool showBands = false;
    bool showFrame = false;
    if (!gApp.SkinMade()) {
        if (gApp.adjustmentMode == AdjustmentMode::Continuous || !gApp.shownPicture) {
            showFrame = true;
        } else {
            showBands = true;
        }
    }
    ShowWindow(gApp.workspaces[3], showFrame ? SW_SHOW : SW_HIDE);
    EnableWindow(gApp.modeBox, gApp.shownPicture && gApp.shownPicture == gApp.WorkPicture());
    if (showFrame) {
        InvalidateRect(gApp.workspaces[3], nullptr, TRUE);
    }
    for (int i = 0; i < 3; i++) {
        ShowWindow(gApp.workspaces[i], showBands ? SW_SHOW : SW_HIDE);
    }
    // The Skin Set panel goes with a made skin on show; otherwise (a picture, or nothing at
    // all) the Image Set panel.
    bool skinShown = gApp.shownPicture != gApp.WorkPicture();
    ShowWindow(gApp.skinSetPanel, skinShown ? SW_SHOW : SW_HIDE);
    ShowWindow(gApp.imageSetPanel, skinShown ? SW_HIDE : SW_SHOW);
}

void UpdatePictureRange() {
    const int32_t w = gApp.PictureWidth();
    const int32_t h = gApp.PictureHeight();
    if (h < kFrameHeight) {
        SetBandOffsets({0, h - kBandHeight}, {kBandWidth - w, h - kBandHeight}, FALSE);
        if (gApp.adjustmentMode == AdjustmentMode::Continuous) {
            gApp.adjustmentMode = AdjustmentMode::Tile;
        }
        SendMessageA(gApp.modeBox, CB_SETCURSEL, WPARAM(gApp.adjustmentMode), 0);
    } else if (gApp.adjustmentMode != AdjustmentMode::Continuous) {
        SetBandOffsets({0, h - kBandHeight}, {kBandWidth - w, h - kBandHeight}, TRUE);
    } else {
        OffsetPoint offset = {0, h - kFrameHeight};
        OffsetPoint limits = {kBandWidth - w, h - kFrameHeight};
        SendMessageA(gApp.workspaces[3], WSM_SETOFFSET, WPARAM(&offset), TRUE);
        SendMessageA(gApp.workspaces[3], WSM_SETLIMITS, WPARAM(&limits), 0);
    }
}

SkinInputs CurrentSkinInputs() {
    SkinInputs in;
    in.picture = gApp.WorkPicture();
    in.mode = gApp.adjustmentMode;
    in.order = gApp.skinOrder;
    for (size_t i = 0; i < 3; i++) {
        OffsetPoint p = GetWorkspaceOffset(gApp.workspaces[i]);
        in.bandOffsets[i] = {p.x, p.y};
    }
    OffsetPoint frame = GetWorkspaceOffset(gApp.workspaces[3]);
    in.frameOffset = {frame.x, frame.y};
    in.colors = gApp.colors;
    in.options = gApp.options;
    in.title = gApp.title;
    in.pieces = PieceSource(gApp.templatePath);
    return in;
}

void MakeSkinNow() {
    if (!gApp.WorkPicture()) {
        return;
    }
    WaitCursor wait;
    FreeBitmaps(false);
    gApp.skin = MakeSkin(CurrentSkinInputs());
    gApp.shownPicture = gApp.skin ? gApp.skin->mainPreview.get() : nullptr;
    UpdateWorkspaceVisibility();
    SetWorkspaceCursor(IDC_ARROW);
}

void ToggleMakeSkin() {
    if (gApp.WorkPicture() && !gApp.SkinMade()) {
        ReadTemplateSelection();
        MakeSkinNow();
    } else {
        RevertSkin();
    }
    ShowCommandState();
}

void SuggestDesignNow(HWND owner) {
    if (!gApp.WorkPicture()) {
        return;
    }
    RevertSkin();
    SkinOptions asked;
    asked.given = gApp.given;
    asked.given.insert({"mode", "order", "scale"});
    asked.mode = gApp.adjustmentMode;
    asked.order = gApp.skinOrder;
    asked.brightness = gApp.brightness;
    asked.contrast = gApp.contrast;
    asked.colors = gApp.colors;
    asked.playlist = gApp.playlist;
    // The scale is applied first, as the Apply button does, so the picture on show is
    // always the project's work picture.
    const Dib* picture = gApp.project.Picture();
    asked.scale = gApp.given.count("scale")
                      ? gApp.scale
                      : SuggestScale(picture->Width(), picture->Height(), asked.mode);
    ApplyAdjustments(owner, asked.scale, gApp.brightness, gApp.contrast);
    asked.scale = gApp.scale;
    const SkinOptions o = SuggestDesign(gApp.project, asked);

    // Picture pixels to workspace offsets: x left, y up from the bottom row.
    const int32_t h = gApp.PictureHeight();
    auto place = [&](HWND workspace, const BandPosition& p, int32_t height) {
        OffsetPoint offset = {-p.x, h - height - p.y};
        SendMessageA(workspace, WSM_SETOFFSET, WPARAM(&offset), TRUE);
    };
    if (o.mode == AdjustmentMode::Continuous) {
        place(gApp.workspaces[3], o.at, kFrameHeight);
    } else {
        for (size_t band = 0; band < 3; band++) {
            place(gApp.workspaces[band], o.mode == AdjustmentMode::Free ? o.bands[band] : o.at,
                  kBandHeight);
        }
    }
    gApp.colors = o.colors;
    gApp.playlist = o.playlist;
    SendMessageA(gApp.skinSetPanel, SSM_SHOWCOLORS, 0, 0);
    ReadTemplateSelection();
    MakeSkinNow();
    ShowCommandState();
}

void ShowCommandState() {
    const bool made = gApp.SkinMade();
    SetWindowTextA(gApp.makeSkinButton, made ? kUndoSkinText : kMakeSkinText);
    EnableWindow(gApp.makeSkinButton, gApp.WorkPicture() != nullptr);
    HMENU menu = GetMenu(gApp.mainWindow);
    EnableMenuItem(menu, IDM_SAVE, MF_BYCOMMAND | (made ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_UNDOSKIN, MF_BYCOMMAND | (made ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_MAKESKIN,
                   MF_BYCOMMAND | (gApp.WorkPicture() && !made ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_SUGGEST, MF_BYCOMMAND | (gApp.WorkPicture() ? MF_ENABLED : MF_GRAYED));
}

void ApplyAdjustments(HWND owner, int scale, int brightness, int contrast) {
    if (!gApp.WorkPicture()) {
        return;
    }
    if (scale == gApp.scale && brightness == gApp.brightness && contrast == gApp.contrast) {
        SendMessageA(gApp.imageSetPanel, ISM_RELOADFIELDS, 0, 0);
        return;
    }
    ScalePlan plan = gApp.project.PlanScale(scale);
    if (plan.raised) {
        ShowWarning(owner, kMsgScaleRaised);
    }
    WaitCursor wait;
    FreeBitmaps(false);
    // Brightness always comes before contrast; values outside -100..100 change nothing
    // but are still kept.
    gApp.shownPicture = gApp.project.Adjust({plan.scale, brightness, contrast});
    bool scaleChanged = plan.scale != gApp.scale;
    gApp.scale = plan.scale;
    gApp.brightness = brightness;
    gApp.contrast = contrast;
    if (scaleChanged) {
        UpdatePictureRange(); // a new size: back to the top-left corner
    }
    if (gApp.adjustmentMode == AdjustmentMode::Continuous) {
        InvalidateRect(gApp.workspaces[3], nullptr, TRUE);
    } else {
        UpdateWorkspaceVisibility();
    }
    wait.Restore();
    SendMessageA(gApp.imageSetPanel, ISM_RELOADFIELDS, 0, 0);
}

void SetAdjustmentMode(AdjustmentMode mode) {
    if (mode == gApp.adjustmentMode) {
        return;
    }
    const int32_t w = gApp.PictureWidth();
    const int32_t h = gApp.PictureHeight();
    if (mode == AdjustmentMode::Continuous && h < kFrameHeight) {
        ShowWarning(gApp.mainWindow, kMsgNoContinuous);
        SendMessageA(gApp.modeBox, CB_SETCURSEL, WPARAM(gApp.adjustmentMode), 0);
        return;
    }
    if (mode == AdjustmentMode::Continuous) {
        OffsetPoint offset = {0, h - kFrameHeight};
        OffsetPoint limits = {kBandWidth - w, h - kFrameHeight};
        SendMessageA(gApp.workspaces[3], WSM_SETOFFSET, WPARAM(&offset), TRUE);
        SendMessageA(gApp.workspaces[3], WSM_SETLIMITS, WPARAM(&limits), 0);
        ShowWindow(gApp.workspaces[3], SW_SHOW);
        for (int i = 0; i < 3; i++) {
            ShowWindow(gApp.workspaces[i], SW_HIDE);
        }
    } else {
        SetBandOffsets({0, h - kBandHeight}, {kBandWidth - w, h - kBandHeight}, TRUE);
        ShowWindow(gApp.workspaces[3], SW_HIDE);
        for (int i = 0; i < 3; i++) {
            ShowWindow(gApp.workspaces[i], SW_SHOW);
        }
    }
    gApp.adjustmentMode = mode;
}
