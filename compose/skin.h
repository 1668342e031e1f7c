#pragma once

// Make Skin: from one picture and the template pieces, every bitmap a classic player reads
// as a skin, the visualisation colours and three previews. Everything comes in through
// SkinInputs and goes out in a SkinSet; no window is needed. The playlist's colours are not an
// input: they can change after the skin is made, and go into the skin's files as it is saved
// (pledit.txt and the colour pixels of genex.bmp, GenexWithColors).

#include <array>
#include <memory>
#include <string>

#include "compose/template.h"
#include "image/dib.h"

// How the bands are placed on the picture: Free and Tile cut each band at its own offset
// (Tile keeps the three offsets equal), Continuous cuts three consecutive 116-row slices of
// one 275 x 348 frame.
enum class AdjustmentMode { Free = 0, Tile = 1, Continuous = 2 };

enum class Band { Main = 0, Equalizer = 1, Playlist = 2 };

constexpr int32_t kBandWidth = 275;
constexpr int32_t kBandHeight = 116;
constexpr int32_t kFrameHeight = 3 * kBandHeight;

// A workspace offset: x <= 0 shifts the picture left by -x; y >= 0 says how far the bottom
// of the view lies above the picture's bottom row (y = H - 116 shows the picture's top).
struct WorkspaceOffset {
    int32_t x = 0;
    int32_t y = 0;
};

struct ProjectOptions {
    bool showVis = false;     // sample spectrum bars in the main preview
    bool swapRedBlue = false; // every made bitmap with red and blue exchanged
    bool hideBalance = false; // the balance knobs show the picture
    bool genBalance = true;   // write balance.bmp (otherwise volume.bmp carries it)
};

enum class TitleAlign { Left = 0, Center = 1, Right = 2 };
enum class TitleColor { Soft = 0, Hard = 1 };

struct TitleSettings {
    std::string text = "created by Korvane";
    TitleAlign align = TitleAlign::Left;
    TitleColor color = TitleColor::Hard;
};

struct SkinInputs {
    const Dib* picture = nullptr; // the 24-bit work picture; nothing is made without it
    AdjustmentMode mode = AdjustmentMode::Tile;
    // The band position 0..2 (top to bottom) of Main, Equalizer and Playlist in the
    // Continuous frame and in the preview area.
    std::array<int, 3> order = {0, 1, 2};
    std::array<WorkspaceOffset, 3> bandOffsets; // Main, Equalizer, Playlist
    WorkspaceOffset frameOffset;                // the Continuous frame
    ShadeColors colors;                         // MainBackColor, MainTextColor
    ProjectOptions options;
    TitleSettings title;
    PieceSource pieces;
};

using VisColorTable = std::array<ColorRef, 24>;

// The playlist editor's colours and font as pledit.txt carries them.
struct PlaylistStyle {
    ColorRef normalText = Rgb(0, 255, 0);
    ColorRef currentText = Rgb(255, 255, 255);
    ColorRef normalBack = Rgb(0, 0, 0);
    ColorRef selectedBack = Rgb(0, 0, 192);
    std::string fontName = "Arial";
};

struct SkinSet {
    std::unique_ptr<Dib> main;     // 275 x 116
    std::unique_ptr<Dib> titlebar; // 344 x 87
    std::unique_ptr<Dib> cbuttons; // 136 x 36
    std::unique_ptr<Dib> shufrep;  // 92 x 85
    std::unique_ptr<Dib> monoster; // 58 x 24
    std::unique_ptr<Dib> posbar;   // 307 x 10
    std::unique_ptr<Dib> volume;   // 68 x 433
    std::unique_ptr<Dib> balance;  // 68 x 433
    std::unique_ptr<Dib> numbers;  // 99 x 13
    std::unique_ptr<Dib> numsEx;   // 108 x 13, the digits with a minus cell
    std::unique_ptr<Dib> text;     // 155 x 18
    std::unique_ptr<Dib> playpaus; // 42 x 9
    std::unique_ptr<Dib> eqmain;   // 275 x 315
    std::unique_ptr<Dib> eqex;     // 275 x 82, the equalizer's shade mode
    std::unique_ptr<Dib> pledit;   // 280 x 190
    std::unique_ptr<Dib> gen;      // 178 x 103, the generic windows' frame and title font
    std::unique_ptr<Dib> genex;    // 112 x 59, their controls; no colour pixels yet
    std::unique_ptr<Dib> mainPreview;      // 275 x 116 each
    std::unique_ptr<Dib> equalizerPreview;
    std::unique_ptr<Dib> playlistPreview;
    std::unique_ptr<Dib> mainBand;   // the last band cut (working picture)
    std::unique_ptr<Dib> visPreview; // 76 x 16 sample bars
    VisColorTable visColors = {};
    bool redBlueSwapped = false; // the bitmaps were made with red and blue exchanged
};

// The whole skin; nullptr when there is no picture. The caller owns the result.
std::unique_ptr<SkinSet> MakeSkin(const SkinInputs& in);

VisColorTable MakeVisColors(ColorRef back, ColorRef text);

// genex.bmp as a player reads it: the skin's genex bitmap with the colours of the generic
// windows in the pixels (48 + 2 i, 0) of row 0, derived from the playlist style: the lists
// take its colours, and the colours the skin chooses itself (window, buttons, headers, scroll
// bars, selection bars) read at 4.5:1 on what they are drawn on. Follows the skin's red/blue
// swap. nullptr when the skin has no genex bitmap. The caller owns the result.
std::unique_ptr<Dib> GenexWithColors(const SkinSet& skin, const PlaylistStyle& style);

// What the engraved title shows of a text: the characters the skin font has no glyph for, in
// their order (they are left out), and how many characters of the text are engraved before the
// title strip is full (the last of them may be cut by the strip's edge).
struct TitleFit {
    std::string missing;
    size_t shown = 0;
};
TitleFit FitTitleText(const std::string& text);

// Engraves the title into the title strips of main.bmp and titlebar.bmp. With redraw (the
// title changed after the skin was made) the strip also goes into the main preview and
// follows the red/blue swap the made bitmaps already had.
void DrawTitleText(SkinSet& skin, const SkinInputs& in, bool redraw);
