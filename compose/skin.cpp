#include "compose/skin.h"
#include "compose/stages.h"
#include "compose/recipe.h"

#include "image/bmp_file.h"

namespace {

// Bar heights of the sample spectrum in the main preview, column 0 first.
constexpr int kVisHeights[76] = {
    0,  1,  5,  6,  8, 7, 8, 8,  5,  4, 8, 9, 11, 4, 3, 3, 2,  3,  4,  5,  6, 6, 7,  9,  11, 11,
    12, 13, 6,  5,  4, 7, 8, 10, 12, 4, 3, 3, 1,  2, 6, 5, 9,  13, 13, 12, 8, 9, 11, 13, 7,  4,
    5,  10, 11, 10, 8, 7, 6, 9,  8,  6, 5, 4, 2,  5, 6, 9, 13, 12, 6,  7,  6, 4, 3,  2,
};

void Mask(Dib* dib, uint16_t id, const ShadeColors& colors) {
    // The digit, font and play/pause masks always come from the program itself.
    auto mask = DibLoadResource(id);
    if (dib) {
        ShadeTemplate(dib, 0, 0, dib->Width(), dib->Height(), mask.get(), 0, 0, colors);
    }
}

// The title bar: active bar copies with their buttons, the shade-mode bar built from the
// plain picture with sunken fields, and the clutter bar in its six states.
void MakeTitleBar(SkinSet& s, const SkinInputs& in) {
    Dib* tb = (s.titlebar = DibCreateLike(s.mainBand.get(), 344, 87)).get();
    const ColorRef back = in.colors.back;
    Copy(tb, 27, 0, 275, 14, s.main.get(), 0, 0);
    Copy(tb, 0, 0, 9, 9, tb, 33, 3);
    Copy(tb, 9, 0, 9, 9, tb, 271, 3);
    Copy(tb, 18, 0, 9, 9, tb, 291, 3);
    Copy(tb, 0, 9, 27, 9, tb, 0, 0);
    Copy(tb, 0, 18, 9, 9, tb, 281, 3);
    Copy(tb, 9, 18, 9, 9, tb, 281, 3);
    Copy(tb, 0, 27, 18, 9, tb, 0, 18);
    Fill(tb, 0, 36, 26, 43, back);
    ApplyTemplate(tb, kPieceCaption, 0, in.pieces, in.colors);
    Copy(tb, 33, 3, 9, 9, tb, 0, 0);
    Copy(tb, 271, 3, 9, 9, tb, 9, 0);
    Copy(tb, 281, 3, 9, 9, tb, 0, 18);
    Copy(tb, 291, 3, 9, 9, tb, 18, 0);
    for (int32_t y : {15, 58, 73}) {
        Copy(tb, 27, y, 275, 14, tb, 27, 0);
    }
    Copy(tb, 27, 42, 275, 14, s.mainBand.get(), 0, 0);
    ShadeFrame(tb, {27, 42, 301, 55}, 25, -50);
    ShadeFrame(tb, {28, 43, 300, 54}, 50, -25);
    Copy(tb, 33, 45, 9, 9, tb, 0, 0);
    Copy(tb, 271, 45, 9, 9, tb, 9, 0);
    Copy(tb, 281, 45, 9, 9, tb, 0, 27);
    Copy(tb, 291, 45, 9, 9, tb, 18, 0);
    ShadeFrame(tb, {104, 44, 145, 53}, -50, 50);
    Fill(tb, 105, 45, 145, 53, back);
    ShadeFrame(tb, {152, 44, 185, 53}, -50, 50);
    Fill(tb, 153, 45, 185, 53, back);
    for (auto [x, y] : {std::pair{171, 48}, {172, 48}, {171, 50}, {172, 50}}) {
        DibSetPixel(tb, x, y, in.colors.text); // the colon of the small time
    }
    ShadeFrame(tb, {252, 44, 270, 53}, -50, 50);
    Fill(tb, 253, 45, 270, 53, back);
    ApplyTemplate(tb, kPieceSmallButtons, 0, in.pieces, in.colors);
    Copy(tb, 27, 29, 275, 14, tb, 27, 42);
    Copy(tb, 312, 0, 8, 43, s.main.get(), 10, 22);
    Copy(tb, 304, 0, 8, 43, s.main.get(), 10, 22);
    for (int32_t i = 0; i < 5; i++) {
        Copy(tb, 304 + 8 * i, 44, 8, 43, tb, 304, 0);
    }
    ApplyTemplate(tb, kPieceOption, 0, in.pieces, in.colors);
}

// The button, lamp, slider and font bitmaps, each textured with the part of main.bmp that
// lies under it in the player.
void MakeMainParts(SkinSet& s, const SkinInputs& in) {
    const Dib* main = s.main.get();
    const PieceSource& pieces = in.pieces;
    const ShadeColors& colors = in.colors;

    Dib* cb = (s.cbuttons = DibCreateLike(main, 136, 36)).get();
    Copy(cb, 0, 0, 114, 18, main, 16, 88);
    Copy(cb, 0, 18, 114, 18, main, 16, 88);
    Copy(cb, 114, 0, 22, 16, main, 136, 89);
    Copy(cb, 114, 16, 22, 16, main, 136, 89);
    ApplyTemplate(cb, kPieceButton, 0, pieces, colors);

    Dib* sr = (s.shufrep = DibCreateLike(main, 92, 85)).get();
    for (int32_t y : {0, 15, 30, 45}) {
        Copy(sr, 28, y, 47, 15, main, 164, 89);
    }
    for (int32_t y : {0, 15, 30, 45}) {
        Copy(sr, 0, y, 28, 15, main, 210, 89);
    }
    Copy(sr, 0, 61, 46, 12, main, 219, 58);
    Copy(sr, 0, 73, 46, 12, main, 219, 58);
    Copy(sr, 46, 61, 46, 12, main, 219, 58);
    Copy(sr, 46, 73, 46, 12, main, 219, 58);
    ApplyTemplate(sr, kPieceShufRep, 0, pieces, colors);

    Dib* ms = (s.monoster = DibCreateLike(main, 58, 24)).get();
    Copy(ms, 0, 0, 29, 12, main, 239, 41);
    Copy(ms, 0, 12, 29, 12, main, 239, 41);
    Copy(ms, 29, 0, 29, 12, main, 212, 41);
    Copy(ms, 29, 12, 29, 12, main, 212, 41);
    ApplyTemplate(ms, kPieceStereo, 0, pieces, colors);

    Dib* pb = (s.posbar = DibCreateLike(main, 307, 10)).get();
    Copy(pb, 0, 0, 248, 10, main, 16, 72);
    ApplyTemplate(pb, kPiecePosBar, 0, pieces, colors);
    ApplyTemplate(pb, kPiecePosVol, 1, pieces, colors);

    Dib* vol = (s.volume = DibCreateLike(main, 68, 433)).get();
    for (int32_t i = 0; i < 28; i++) {
        Copy(vol, 0, 15 * i, 68, 13, main, 107, 57);
    }
    ApplyTemplate(vol, kPiecePosVol, 2, pieces, colors);
    Dib* bal = (s.balance = DibDuplicate(vol)).get();
    for (int32_t i = 0; i < 28; i++) {
        Copy(bal, 9, 15 * i, 38, 13, main, 177, 57);
    }
    if (in.options.hideBalance) {
        Copy(bal, 0, 422, 14, 11, main, 188, 58);
        Copy(bal, 15, 422, 14, 11, main, 188, 58);
    }

    Dib* num = (s.numbers = DibCreateLike(s.mainBand.get(), 99, 13)).get();
    for (int32_t i = 0; i <= 10; i++) {
        Copy(num, 9 * i, 0, 9, 13, main, 36, 26);
    }
    Mask(num, kPieceDigitsMask, colors);
    // nums_ex.bmp: the same cells and a twelfth, the minus sign, dressed by the digits'
    // own piece (or a template folder's nums_ex.bmp).
    Dib* numsEx = (s.numsEx = DibCreateLike(s.mainBand.get(), 108, 13)).get();
    for (int32_t i = 0; i <= 11; i++) {
        Copy(numsEx, 9 * i, 0, 9, 13, main, 36, 26);
    }
    ApplyTemplate(numsEx, kPieceDigitsMask, 0, pieces, colors);

    Dib* txt = (s.text = DibCreateLike(s.mainBand.get(), 155, 18)).get();
    for (int32_t i = 0; i <= 30; i++) {
        for (int32_t j = 0; j <= 2; j++) {
            Copy(txt, 5 * i, 6 * j, 5, 6, main, 112, 27);
        }
    }
    Mask(txt, kPieceFontMask, colors);

    Dib* pp = (s.playpaus = DibCreateLike(s.mainBand.get(), 42, 9)).get();
    Copy(pp, 1, 0, 8, 9, main, 27, 28);
    Copy(pp, 36, 0, 3, 9, main, 24, 28);
    Copy(pp, 39, 0, 3, 9, main, 24, 28);
    Copy(pp, 9, 0, 9, 9, main, 26, 28);
    Copy(pp, 18, 0, 9, 9, main, 26, 28);
    Copy(pp, 27, 0, 2, 9, main, 24, 28);
    Mask(pp, kPiecePlayPauseMask, colors);
}

void MakeVisPreview(SkinSet& s, const SkinInputs& in) {
    s.visColors = MakeVisColors(in.colors.back, in.colors.text);
    Dib* vis = (s.visPreview = DibCreateLike(s.mainBand.get(), 76, 16)).get();
    Fill(vis, 0, 0, 76, 16, in.colors.back);
    for (int32_t c = 0; c < 76; c++) {
        int h = kVisHeights[c];
        for (int j = 0; j < h; j++) {
            DibSetPixel(vis, c, 15 - j, s.visColors[size_t(h + 2 - j)]);
        }
    }
}

// The finished main window as a player shows it playing: time 00:41, 128 kbps, 44 kHz.
void MakeMainPreview(SkinSet& s, const SkinInputs& in) {
    Dib* v = (s.mainPreview = DibDuplicate(s.main.get())).get();
    Copy(v, 0, 0, 275, 14, s.titlebar.get(), 27, 0);
    Copy(v, 10, 22, 8, 43, s.titlebar.get(), 312, 0);
    Copy(v, 16, 88, 114, 18, s.cbuttons.get(), 0, 0);
    Copy(v, 136, 89, 22, 16, s.cbuttons.get(), 114, 0);
    Copy(v, 164, 89, 47, 15, s.shufrep.get(), 28, 0);
    Copy(v, 210, 89, 28, 15, s.shufrep.get(), 0, 0);
    Copy(v, 219, 58, 46, 12, s.shufrep.get(), 0, 73);
    Copy(v, 239, 41, 29, 12, s.monoster.get(), 0, 0);
    Copy(v, 16, 72, 248, 10, s.posbar.get(), 0, 0);
    Copy(v, 32, 72, 29, 10, s.posbar.get(), 248, 0);
    Copy(v, 152, 58, 14, 11, s.volume.get(), 15, 422);
    Copy(v, 188, 58, 14, 11, s.balance.get(), 15, 422);
    Copy(v, 24, 28, 3, 9, s.playpaus.get(), 36, 0);
    Copy(v, 27, 28, 8, 9, s.playpaus.get(), 1, 0);
    Copy(v, 36, 26, 9, 13, s.numbers.get(), 90, 0);
    Copy(v, 48, 26, 9, 13, s.numbers.get(), 0, 0);
    Copy(v, 60, 26, 9, 13, s.numbers.get(), 0, 0);
    Copy(v, 78, 26, 9, 13, s.numbers.get(), 36, 0);
    Copy(v, 90, 26, 9, 13, s.numbers.get(), 9, 0);
    DrawSkinText(v, 111, 43, "128", 15, s.text.get());
    DrawSkinText(v, 156, 43, "44", 10, s.text.get());
    if (in.options.showVis) {
        Copy(v, 24, 43, 76, 16, s.visPreview.get(), 0, 0);
    }
}

} // namespace

void CutBand(const SkinInputs& in, Band kind, Dib* band) {
    if (!in.picture || !band) {
        return;
    }
    const int32_t h = in.picture->Height();
    WorkspaceOffset offset;
    int32_t top;
    if (in.mode == AdjustmentMode::Continuous) {
        offset = in.frameOffset;
        top = h - kFrameHeight - offset.y + kBandHeight * in.order[size_t(kind)];
    } else {
        offset = in.bandOffsets[size_t(kind)];
        top = h - kBandHeight - offset.y;
    }
    DibCopyRect(band, 0, 0, kBandWidth, kBandHeight, in.picture, -offset.x, top);
}

void ShadeFrame(Dib* dib, const DibRect& r, int p1, int p2) {
    for (int32_t x = r.left; x <= r.right; x++) {
        DibShadePixel(dib, x, r.top, p1);
        DibShadePixel(dib, x, r.bottom, p2);
    }
    for (int32_t y = r.top + 1; y <= r.bottom - 1; y++) {
        DibShadePixel(dib, r.left, y, p1);
        DibShadePixel(dib, r.right, y, p2);
    }
}

VisColorTable MakeVisColors(ColorRef back, ColorRef text) {
    // The gradient runs from 7/32 to 22/32 of the way from the back to the text colour,
    // channel by channel, truncating toward zero (so it can run downward too).
    auto gradient = [&](int k) {
        uint32_t channels[3];
        for (int c = 0; c < 3; c++) {
            int bg = int((back >> (8 * c)) & 0xFF);
            int fg = int((text >> (8 * c)) & 0xFF);
            channels[c] = uint32_t(bg + (fg - bg) * (7 + k) / 32) & 0xFF;
        }
        return Rgb(channels[0], channels[1], channels[2]);
    };
    VisColorTable t;
    t[0] = t[1] = back;
    for (int k = 0; k < 16; k++) {
        t[size_t(2 + k)] = gradient(k);
    }
    t[18] = text;
    t[19] = gradient(2);
    t[20] = gradient(4);
    t[21] = gradient(12);
    t[22] = gradient(10);
    t[23] = text; // the spectrum's peak dots
    return t;
}

std::unique_ptr<SkinSet> MakeSkin(const SkinInputs& in) {
    if (!in.picture) {
        return nullptr;
    }
    auto skin = std::make_unique<SkinSet>();
    SkinSet& s = *skin;
    s.mainBand = DibCreateLike(in.picture, kBandWidth, kBandHeight);
    CutBand(in, Band::Main, s.mainBand.get());
    s.main = DibDuplicate(s.mainBand.get());
    ApplyTemplate(s.main.get(), kPieceMain, 0, in.pieces, in.colors);
    for (auto [x, y] : {std::pair{73, 30}, {74, 30}, {73, 34}, {74, 34}}) {
        DibSetPixel(s.main.get(), x, y, in.colors.text); // the colon of the time
    }
    MakeTitleBar(s, in);
    MakeMainParts(s, in);
    DrawTitleText(s, in, false);
    MakeVisPreview(s, in);
    MakeEqualizerSkin(s, in);
    MakePlaylistSkin(s, in);
    MakeGenericSkin(s, in);
    MakeMainPreview(s, in);
    if (in.options.swapRedBlue) {
        for (Dib* dib :
             {s.mainPreview.get(), s.main.get(), s.titlebar.get(), s.cbuttons.get(),
              s.shufrep.get(), s.monoster.get(), s.posbar.get(), s.numbers.get(), s.numsEx.get(),
              s.text.get(), s.playpaus.get(), s.volume.get(), s.balance.get(), s.eqmain.get(),
              s.eqex.get(), s.pledit.get(), s.gen.get(), s.genex.get(), s.equalizerPreview.get(),
              s.playlistPreview.get()}) {
            DibSwapRedBlue(dib);
        }
        s.redBlueSwapped = true;
    }
    return skin;
}
