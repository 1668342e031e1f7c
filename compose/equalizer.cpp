#include "compose/recipe.h"
#include "compose/stages.h"
#include "image/bmp_file.h"

namespace {

// The graph line colours, top (red) to bottom (green).
constexpr ColorRef kEqGraphColors[19] = {
    0x1008EF, 0x2152EF, 0x217BEF, 0x299CEF, 0x299CEF, 0x299CEF, 0x29BDEF,
    0x31D6EF, 0x31D6EF, 0x31E7EF, 0x31E7D6, 0x39EFCE, 0x39EFAD, 0x39EFAD,
    0x31EF9C, 0x31E76B, 0x21C642, 0x10BD31, 0x089C18,
};

// The equalizer window as a player shows it, with a symmetric sample curve.
void MakeEqualizerPreview(SkinSet& s) {
    const Dib* eq = s.eqmain.get();
    Dib* v = (s.equalizerPreview = DibCreateLike(s.mainBand.get(), 275, 116)).get();
    Copy(v, 0, 0, 275, 116, eq, 0, 0);
    Copy(v, 0, 0, 275, 14, eq, 0, 134);
    Copy(v, 14, 18, 58, 12, eq, 69, 119);
    Copy(v, 217, 18, 44, 12, eq, 224, 164);
    Copy(v, 86, 17, 113, 19, eq, 0, 294);
    Copy(v, 86, 26, 113, 1, eq, 0, 314);
    Copy(v, 21, 38, 14, 63, eq, 13, 229);
    Copy(v, 22, 64, 11, 11, eq, 0, 164);
    const std::pair<int32_t, int32_t> bars[10] = {{208, 229}, {118, 229}, {13, 229},  {163, 164},
                                                  {58, 164},  {58, 164},  {163, 164}, {13, 229},
                                                  {118, 229}, {208, 229}};
    const std::pair<int32_t, int32_t> knobs[10] = {{79, 39},  {97, 50},  {115, 64}, {133, 70},
                                                   {151, 78}, {169, 78}, {187, 70}, {205, 64},
                                                   {223, 50}, {241, 39}};
    for (int i = 0; i < 10; i++) {
        Copy(v, 78 + 18 * i, 38, 14, 63, eq, bars[i].first, bars[i].second);
    }
    for (const auto& [x, y] : knobs) {
        Copy(v, x, y, 11, 11, eq, 0, 164);
    }
    auto curve = DibLoadResource(kPieceEqCurve);
    CopyTemplateKeyed(v, 86, 17, 113, 19, curve.get(), 0, 0);
}

// The equalizer's shade mode: the top of the band framed like the main window's shade bar,
// focused at row 0 and unfocused at row 15; the thumbs and pressed buttons below take the
// band's texture too before the piece dresses them.
void MakeEqualizerShade(SkinSet& s, const SkinInputs& in) {
    const Dib* band = s.mainBand.get();
    Dib* ex = (s.eqex = DibCreateLike(band, 275, 82)).get();
    Copy(ex, 0, 0, 275, 14, band, 0, 0);
    ShadeFrame(ex, {0, 0, 274, 13}, 25, -50);
    ShadeFrame(ex, {1, 1, 273, 12}, 50, -25);
    Copy(ex, 0, 15, 275, 14, ex, 0, 0);
    Copy(ex, 0, 14, 275, 1, band, 0, 14);
    Copy(ex, 0, 29, 275, 53, band, 0, 29);
    ApplyTemplate(ex, kPieceEqShade, 0, in.pieces, in.colors);
}

} // namespace

void MakeEqualizerSkin(SkinSet& s, const SkinInputs& in) {
    CutBand(in, Band::Equalizer, s.mainBand.get());
    Dib* eq = (s.eqmain = DibCreateLike(s.mainBand.get(), 275, 315)).get();
    const PieceSource& pieces = in.pieces;
    const ShadeColors& colors = in.colors;
    // What no step writes stays white.
    DibFillRect(eq, {0, 0, 275, 315}, 0xFFFFFF);
    Copy(eq, 0, 0, 275, 116, s.mainBand.get(), 0, 0);
    ApplyTemplate(eq, kPieceEqMain, 0, pieces, colors);
    for (int32_t x : {10, 69, 128, 187}) {
        Copy(eq, x, 119, 58, 12, eq, 14, 18);
    }
    Copy(eq, 224, 164, 44, 12, eq, 217, 18);
    Copy(eq, 224, 176, 44, 12, eq, 217, 18);
    Copy(eq, 0, 294, 113, 19, eq, 86, 17);
    Copy(eq, 0, 314, 113, 1, eq, 86, 26);
    Copy(eq, 0, 116, 9, 9, eq, 264, 3);
    Copy(eq, 0, 125, 9, 9, eq, 264, 3);
    for (int variant = 1; variant <= 4; variant++) {
        ApplyTemplate(eq, kPieceEqButtons, variant, pieces, colors);
    }
    ApplyTemplate(eq, kPieceEqGraph, 0, pieces, colors);
    Copy(eq, 0, 134, 275, 14, eq, 0, 0);
    Copy(eq, 0, 149, 275, 14, eq, 0, 0);
    Copy(eq, 264, 137, 9, 9, eq, 0, 116);
    Copy(eq, 264, 152, 9, 9, eq, 0, 116);
    for (int32_t x = 13; x <= 208; x += 15) {
        Copy(eq, x, 164, 14, 64, eq, 21, 38); // the preamp trough under each slider bar
    }
    Copy(eq, 13, 229, 209, 64, eq, 13, 164);
    Copy(eq, 0, 164, 11, 11, eq, 22, 63);
    Copy(eq, 0, 176, 11, 11, eq, 22, 63);
    ApplyTemplate(eq, kPieceEqTrack, 0, pieces, colors);
    ApplyTemplate(eq, kPieceEqTrackButton, 0, pieces, colors);
    for (int32_t i = 0; i < 19; i++) {
        DibSetPixel(eq, 115, 294 + i, kEqGraphColors[i]);
    }
    MakeEqualizerShade(s, in);
    MakeEqualizerPreview(s);
}
