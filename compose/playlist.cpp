#include "compose/recipe.h"
#include "compose/stages.h"

namespace {

// One group of menu buttons: a 3-pixel bar, then 22 x 18 tiles in two columns (normal and
// pressed), one row per item.
struct MenuGroup {
    int32_t barX;
    int32_t barSourceX;
    int32_t barSourceY;
    int32_t barHeight;
    int32_t tileX;       // first column; the pressed column is 23 to the right
    int32_t tileSourceX; // band column of the tiles
    int items;           // 3, or 4 for the second group
};

constexpr MenuGroup kMenuGroups[5] = {
    {48, 11, 49, 54, 0, 14, 3},     {100, 40, 32, 72, 54, 43, 4},
    {150, 69, 49, 54, 104, 72, 3},  {200, 98, 49, 54, 154, 101, 3},
    {250, 228, 49, 54, 204, 231, 3},
};

// Tile rows in the order they are copied, with the band row under each.
constexpr std::pair<int32_t, int32_t> kTileRows[4] = {{149, 86}, {130, 68}, {111, 50}, {168, 32}};

void MakePlaylistPreview(SkinSet& s, const SkinInputs& in) {
    const Dib* pl = s.pledit.get();
    Dib* v = (s.playlistPreview = DibCreateLike(s.mainBand.get(), 275, 116)).get();
    Copy(v, 87, 0, 100, 20, pl, 26, 0);
    Copy(v, 0, 0, 25, 20, pl, 0, 0);
    Copy(v, 250, 0, 25, 20, pl, 153, 0);
    Copy(v, 0, 78, 125, 38, pl, 0, 72);
    Copy(v, 125, 78, 150, 38, pl, 126, 72);
    for (int32_t x : {25, 37, 62, 187, 200, 225}) {
        Copy(v, x, 0, 25, 20, pl, 127, 0);
    }
    Copy(v, 0, 20, 12, 29, pl, 0, 42);
    Copy(v, 0, 49, 12, 29, pl, 0, 42);
    Copy(v, 255, 20, 20, 29, pl, 31, 42);
    Copy(v, 255, 49, 20, 29, pl, 31, 42);
    Copy(v, 260, 20, 8, 18, pl, 52, 53);
    DibFillRect(v, {12, 20, 255, 78}, in.colors.back); // the list area
}

} // namespace

void MakePlaylistSkin(SkinSet& s, const SkinInputs& in) {
    CutBand(in, Band::Playlist, s.mainBand.get());
    const Dib* band = s.mainBand.get();
    Dib* pl = (s.pledit = DibCreateLike(band, 280, 190)).get();
    DibFillRect(pl, {0, 0, 280, 190}, 0xFFFFFF); // what no step writes stays white
    Copy(pl, 26, 0, 100, 20, band, 87, 0);
    Copy(pl, 26, 21, 100, 20, band, 87, 0);
    Copy(pl, 52, 42, 9, 9, band, 264, 3);
    Copy(pl, 62, 42, 9, 9, band, 255, 3);
    Copy(pl, 150, 42, 9, 9, band, 255, 3);
    Copy(pl, 0, 42, 12, 29, band, 0, 20);
    Copy(pl, 31, 42, 20, 29, band, 255, 20);
    for (auto [x, sx] : {std::pair{127, 62}, {0, 0}, {153, 250}}) {
        Copy(pl, x, 0, 25, 20, band, sx, 0);
        Copy(pl, x, 21, 25, 20, band, sx, 0);
    }
    Copy(pl, 0, 72, 125, 38, band, 0, 78);
    Copy(pl, 126, 72, 150, 38, band, 125, 78);
    Copy(pl, 179, 0, 25, 38, band, 125, 78);
    Copy(pl, 205, 0, 75, 38, band, 150, 78);
    for (const MenuGroup& g : kMenuGroups) {
        Copy(pl, g.barX, 111, 3, g.barHeight, band, g.barSourceX, g.barSourceY);
        for (int item = 0; item < g.items; item++) {
            auto [y, sy] = kTileRows[item];
            Copy(pl, g.tileX, y, 22, 18, band, g.tileSourceX, sy);
            Copy(pl, g.tileX + 23, y, 22, 18, band, g.tileSourceX, sy);
        }
    }
    Copy(pl, 72, 42, 25, 14, band, 0, 0);
    Copy(pl, 72, 57, 25, 14, band, 25, 0);
    Copy(pl, 99, 42, 50, 14, band, 225, 0);
    Copy(pl, 99, 57, 50, 14, band, 225, 0);
    ApplyTemplate(pl, kPiecePlMain, 0, in.pieces, in.colors);
    ApplyTemplate(pl, kPiecePlMenu, 0, in.pieces, in.colors);
    ApplyTemplate(pl, kPiecePlButton, 0, in.pieces, in.colors);
    // The bottom bar shows the first tile of each menu group, finished.
    for (auto [x, sx] : {std::pair{14, 0}, {43, 54}, {72, 104}, {101, 154}, {232, 204}}) {
        Copy(pl, x, 80, 22, 18, pl, sx, 149);
    }
    MakePlaylistPreview(s, in);
}
