#include "compose/template.h"

#include "image/bmp_file.h"

namespace {

const TemplatePlacement kPlacements[] = {
    {kPieceMain, 0, "main.bmp", 0, 0, 275, 116, 0, 0},
    {kPieceCaption, 0, "caption.bmp", 0, 0, 27, 43, 0, 0},
    {kPieceSmallButtons, 0, "smallbtn.bmp", 192, 44, 60, 9, 0, 0},
    {kPieceOption, 0, "option.bmp", 304, 0, 40, 87, 0, 0},
    {kPieceButton, 0, "button.bmp", 0, 0, 136, 36, 0, 0},
    {kPieceShufRep, 0, "shufrep.bmp", 0, 0, 92, 85, 0, 0},
    {kPieceStereo, 0, "stereo.bmp", 0, 0, 58, 24, 0, 0},
    {kPiecePosBar, 0, "posbar.bmp", 0, 0, 248, 10, 0, 0},
    {kPieceEqButtons, 1, "eq_btn.bmp", 0, 116, 9, 18, 0, 0},
    {kPieceEqButtons, 2, "eq_btn.bmp", 10, 119, 117, 12, 10, 0},
    {kPieceEqButtons, 3, "eq_btn.bmp", 128, 119, 117, 12, 10, 12},
    {kPieceEqButtons, 4, "eq_btn.bmp", 224, 164, 44, 24, 128, 0},
    {kPieceEqGraph, 0, "eq_graph.bmp", 0, 294, 113, 21, 0, 0},
    {kPieceEqMain, 0, "eq_main.bmp", 0, 0, 275, 116, 0, 0},
    {kPiecePlMain, 0, "pl_main.bmp", 0, 0, 280, 110, 0, 0},
    {kPiecePlMenu, 0, "pl_menu.bmp", 0, 111, 253, 75, 0, 0},
    {kPieceEqShade, 0, "eq_ex.bmp", 0, 0, 275, 82, 0, 0},
    {kPieceDigitsMask, 0, "nums_ex.bmp", 0, 0, 108, 13, 0, 0},
    {kPieceGen, 0, "gen.bmp", 0, 0, 178, 103, 0, 0},
    {kPieceGenEx, 0, "genex.bmp", 0, 0, 112, 59, 0, 0},
    {kPiecePosVol, 1, "posvol.bmp", 248, 0, 59, 10, 0, 0},
    {kPiecePosVol, 2, "posvol.bmp", 0, 422, 29, 11, 60, 0},
    {kPieceEqTrack, 0, "eq_track.bmp", 13, 164, 209, 129, 0, 0},
    {kPieceEqTrackButton, 0, "eq_trbtn.bmp", 0, 164, 11, 23, 0, 0},
    {kPiecePlButton, 0, "pl_btn.bmp", 52, 53, 17, 18, 0, 0},
};

enum class Shade : uint8_t {
    None,
    Dark50,
    Dark30,
    Light30,
    Light50,
    Back,
    Text,
    Grey,
    Silver,
    Lamp,
};

Shade ShadeFor(ColorRef code) {
    switch (code) {
    case 0x000000:
        return Shade::Dark50;
    case 0x808080:
        return Shade::Dark30;
    case 0xC0C0C0:
        return Shade::Light30;
    case 0xFFFFFF:
        return Shade::Light50;
    case 0x008000:
        return Shade::Back;
    case 0x00FFFF:
        return Shade::Text;
    case 0x008080:
        return Shade::Grey;
    case 0x00FF00:
        return Shade::Silver;
    case 0xFF00FF:
        return Shade::Lamp;
    default:
        return Shade::None;
    }
}

void ApplyShade(uint8_t* bgr, Shade shade, const ShadeColors& colors) {
    switch (shade) {
    case Shade::None:
        break;
    case Shade::Dark50:
        ShadeBgr(bgr, -50);
        break;
    case Shade::Dark30:
        ShadeBgr(bgr, -30);
        break;
    case Shade::Light30:
        ShadeBgr(bgr, 30);
        break;
    case Shade::Light50:
        ShadeBgr(bgr, 50);
        break;
    case Shade::Back:
        PutBgr(bgr, colors.back);
        break;
    case Shade::Text:
        PutBgr(bgr, colors.text);
        break;
    case Shade::Grey:
        PutBgr(bgr, 0x808080);
        break;
    case Shade::Silver:
        PutBgr(bgr, 0xC0C0C0);
        break;
    case Shade::Lamp:
        PutBgr(bgr, 0x00FF00);
        break;
    }
}

bool IsKey(ColorRef c) { return c == 0xFF0000 || c == 0x800000; }

} // namespace

std::span<const TemplatePlacement> TemplatePlacements() { return kPlacements; }

const TemplatePlacement* FindTemplatePlacement(uint16_t id, int variant) {
    for (const TemplatePlacement& p : kPlacements) {
        if (p.id == id && p.variant == variant) {
            return &p;
        }
    }
    return nullptr;
}

void ShadeTemplate(Dib* dst, int32_t dx, int32_t dy, int32_t width, int32_t height,
                   const Dib* mask, int32_t sx, int32_t sy, const ShadeColors& colors) {
    if (!dst || !mask || height < 1 || dst->BitCount() != 24) {
        return;
    }
    // A palette mask is decided once per colour-table entry, not once per pixel.
    Shade byIndex[256] = {};
    for (int i = 0; i < mask->ColorCount(); i++) {
        byIndex[i] = ShadeFor(mask->TableColor(i));
    }
    const int bits = mask->BitCount();
    const Span rows = ClipSpan(dy, dst->Height(), sy, mask->Height(), height);
    const Span cols = ClipSpan(dx, dst->Width(), sx, mask->Width(), width);
    for (int32_t j = 0; j < rows.n; j++) {
        const int32_t y = rows.b + j;
        const uint8_t* m = mask->Row(y);
        uint8_t* d = dst->Row(rows.a + j) + 3 * size_t(cols.a);
        for (int32_t i = 0; i < cols.n; i++) {
            const int32_t x = cols.b + i;
            Shade shade;
            if (bits == 4) {
                shade = byIndex[x % 2 == 0 ? m[x / 2] >> 4 : m[x / 2] & 0x0F];
            } else if (bits == 8) {
                shade = byIndex[m[x]];
            } else if (bits == 24) {
                const uint8_t* p = m + 3 * size_t(x);
                shade = ShadeFor(Rgb(p[2], p[1], p[0]));
            } else {
                shade = ShadeFor(DibGetPixel(mask, x, y));
            }
            ApplyShade(d + 3 * size_t(i), shade, colors);
        }
    }
}

void CopyTemplateKeyed(Dib* dst, int32_t dx, int32_t dy, int32_t width, int32_t height,
                       const Dib* tpl, int32_t sx, int32_t sy) {
    if (!dst || !tpl || width < 1 || dst->BitCount() != 24) {
        return;
    }
    const Span rows = ClipSpan(dy, dst->Height(), sy, tpl->Height(), height);
    const Span cols = ClipSpan(dx, dst->Width(), sx, tpl->Width(), width);
    for (int32_t j = 0; j < rows.n; j++) {
        uint8_t* d = dst->Row(rows.a + j) + 3 * size_t(cols.a);
        for (int32_t i = 0; i < cols.n; i++) {
            ColorRef color = DibGetPixel(tpl, cols.b + i, rows.b + j);
            if (!IsKey(color)) {
                PutBgr(d + 3 * size_t(i), color);
            }
        }
    }
}

std::unique_ptr<Dib> ReadTemplateFile(const char* path, std::string* reasonOut) {
    BmpRead read = BmpReadFile(path);
    std::string reason;
    if (!read.dib) {
        reason = read.notFound ? "" : read.reason;
    } else if (read.bitCount != 4 && read.bitCount != 8 && read.bitCount != 24) {
        reason = std::to_string(read.bitCount) + "-bit; a piece is 4-, 8- or 24-bit";
        read.dib.reset();
    }
    if (reasonOut) {
        *reasonOut = reason;
    }
    return std::move(read.dib);
}

PieceSource::PieceSource(std::string folder) : folder_(std::move(folder)) {
    if (!folder_.empty() && folder_.back() != '/' && folder_.back() != '\\') {
        folder_ += '/';
    }
}

std::unique_ptr<Dib> PieceSource::FolderFile(const TemplatePlacement& placement) const {
    if (folder_.empty()) {
        return nullptr;
    }
    std::string path = folder_ + placement.fileName;
    std::string reason;
    std::unique_ptr<Dib> dib = ReadTemplateFile(path.c_str(), &reason);
    if (!dib && !reason.empty() && report_) {
        report_(path, reason);
    }
    return dib;
}

void ApplyTemplate(Dib* dib, uint16_t id, int variant, const PieceSource& source,
                   const ShadeColors& colors) {
    const TemplatePlacement* p = FindTemplatePlacement(id, variant);
    if (!p || !dib) {
        return;
    }
    bool keyed;
    std::unique_ptr<Dib> piece = source.FolderFile(*p);
    if (piece) {
        keyed = piece->BitCount() != 4; // a folder file chooses by its own depth
    } else {
        piece = DibLoadResource(id);
        keyed = size_t(p - kPlacements) >= kFirstKeyedPlacement;
    }
    if (keyed) {
        CopyTemplateKeyed(dib, p->x, p->y, p->width, p->height, piece.get(), p->sx, p->sy);
    } else {
        ShadeTemplate(dib, p->x, p->y, p->width, p->height, piece.get(), p->sx, p->sy, colors);
    }
}
