#pragma once

// Template pieces: the small bitmaps that give a skin its controls, frames and labels. The
// picture supplies the texture; a piece decides, pixel by pixel, where it is darkened,
// lightened, painted or left alone ("shaded" pieces, read as colour codes), or where a
// full-colour image covers it ("keyed" pieces, blue and navy see-through).
//
// Pieces are built into the program and may be replaced, file by file, by a template
// folder; anything missing or unusable in the folder falls back to the built-in piece.

#include <functional>
#include <span>
#include <string>

#include "image/dib.h"

// Piece ids are the ids of the built-in bitmaps.
enum PieceId : uint16_t {
    kPieceButton = 104,
    kPieceCaption = 105,
    kPieceOption = 106,
    kPieceSmallButtons = 107,
    kPieceShufRep = 108,
    kPieceStereo = 109,
    kPieceDigitsMask = 110,
    kPieceFontMask = 111,
    kPiecePlayPauseMask = 112,
    kPiecePosVol = 123,
    kPieceMain = 139,
    kPiecePosBar = 140,
    kPieceEqMain = 152,
    kPieceEqTrack = 154,
    kPiecePlMain = 155,
    kPiecePlButton = 156,
    kPieceEqButtons = 157,
    kPieceEqGraph = 158,
    kPieceEqTrackButton = 159,
    kPiecePlMenu = 160,
    kPieceEqCurve = 162,
    kPieceEqShade = 163,
    kPieceGen = 164,
    kPieceGenEx = 165,
};

// Where ApplyTemplate puts a piece: the destination rectangle in the skin bitmap and the
// top-left source point in the piece.
struct TemplatePlacement {
    uint16_t id;
    int variant; // 0 for pieces applied whole; 1.. for pieces applied in parts
    const char* fileName; // the file that replaces it in a template folder
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
    int32_t sx;
    int32_t sy;
};

// Placements in their fixed order; from kFirstKeyedPlacement on, the built-in pieces are
// full-colour images, before it colour codes.
std::span<const TemplatePlacement> TemplatePlacements();
constexpr size_t kFirstKeyedPlacement = 20;
const TemplatePlacement* FindTemplatePlacement(uint16_t id, int variant);

// The two colours that shaded pieces paint with: the display fields and unlit lamps (dark
// green in a piece), and the digits, letters and symbols (yellow in a piece).
struct ShadeColors {
    ColorRef back = 0x000000;
    ColorRef text = 0xFFFFFF;
};

// Applies the colour codes of mask pixel (sx + i, sy + j) to dst pixel (dx + i, dy + j):
//   black -50, grey -30, silver +30, white +50 (DibShadePixel steps);
//   dark green paints colors.back, yellow paints colors.text, olive paints grey 808080,
//   lime paints silver C0C0C0, magenta paints the lit-lamp green 00FF00;
//   every other colour, blue and navy above all, leaves the picture showing.
// Mask pixels outside the mask count as see-through.
void ShadeTemplate(Dib* dst, int32_t dx, int32_t dy, int32_t width, int32_t height,
                   const Dib* mask, int32_t sx, int32_t sy, const ShadeColors& colors);

// Copies tpl pixels unchanged except pure blue (0, 0, 255) and navy (0, 0, 128), which
// leave dst as it is. Pixels outside tpl count as see-through.
void CopyTemplateKeyed(Dib* dst, int32_t dx, int32_t dy, int32_t width, int32_t height,
                       const Dib* tpl, int32_t sx, int32_t sy);

// A template folder file: 4-, 8- and 24-bit pictures are usable, anything else (1, 16,
// 32 bits, unreadable) is refused with nullptr, and reasonOut (may be null) gets why; a file
// that is not there leaves it empty. The caller owns the result.
std::unique_ptr<Dib> ReadTemplateFile(const char* path, std::string* reasonOut = nullptr);

// Where pieces come from: the built-in set alone, or a template folder in front of it.
class PieceSource {
  public:
    PieceSource() = default;
    explicit PieceSource(std::string folder);

    const std::string& Folder() const { return folder_; }
    // Told of every folder file that is there but cannot be used, with the reason; the
    // piece then falls back to the built-in one as it does for a missing file.
    using UnusableReport = std::function<void(const std::string& path, const std::string& why)>;
    void ReportUnusable(UnusableReport report) { report_ = std::move(report); }
    // The folder's usable file for a placement, or nullptr. The caller owns the result.
    std::unique_ptr<Dib> FolderFile(const TemplatePlacement& placement) const;

  private:
    std::string folder_; // empty, or ending in a path separator
    UnusableReport report_;
};

// Applies piece (id, variant) to dib at its placement. A folder file is shaded when it is a
// 4-bit picture and copied keyed otherwise, whatever the piece; a built-in piece is shaded
// or keyed by its placement. Each call loads the piece afresh.
void ApplyTemplate(Dib* dib, uint16_t id, int variant, const PieceSource& source,
                   const ShadeColors& colors);
