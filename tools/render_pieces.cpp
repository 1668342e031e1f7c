// Applies every template piece at its placement to a picture and writes the dressed
// bitmaps, so the artwork can be looked at as the program itself applies it:
//   render_pieces PICTURE.bmp OUTDIR [TEMPLATE_FOLDER]
// The picture (24-bit, at least 280 x 315) is cut at its top-left corner.
#include <cstdio>
#include <string>

#include "compose/template.h"
#include "image/bmp_file.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: render_pieces PICTURE.bmp OUTDIR [TEMPLATE_FOLDER]\n");
        return 2;
    }
    auto picture = DibReadFile(argv[1]);
    if (!picture || picture->BitCount() != 24 || picture->Width() < 280 ||
        picture->Height() < 315) {
        std::fprintf(stderr, "render_pieces: %s is not a 24-bit picture of 280 x 315 or more\n",
                     argv[1]);
        return 3;
    }
    PieceSource source = argc > 3 ? PieceSource(argv[3]) : PieceSource();
    const ShadeColors colors{0x202020, 0x40E0FF};
    struct Target {
        const char* name;
        int32_t width;
        int32_t height;
    } targets[] = {{"main", 275, 116},  {"titlebar", 344, 87}, {"cbuttons", 136, 36},
                   {"shufrep", 92, 85}, {"monoster", 58, 24},  {"posbar", 307, 10},
                   {"volume", 68, 433}, {"eqmain", 275, 315},  {"pledit", 280, 190},
                   {"eq_ex", 275, 82},  {"gen", 178, 103},    {"genex", 112, 59},
                   {"nums_ex", 108, 13}};
    int failures = 0;
    for (const Target& t : targets) {
        auto dib = DibCreateLike(picture.get(), t.width, t.height);
        DibCopyRect(dib.get(), 0, 0, t.width, t.height, picture.get(), 0, 0);
        std::string name = t.name;
        for (const TemplatePlacement& p : TemplatePlacements()) {
            bool here = (name == "main" && p.id == kPieceMain) ||
                        (name == "titlebar" && (p.id == kPieceCaption || p.id == kPieceOption ||
                                                p.id == kPieceSmallButtons)) ||
                        (name == "cbuttons" && p.id == kPieceButton) ||
                        (name == "shufrep" && p.id == kPieceShufRep) ||
                        (name == "monoster" && p.id == kPieceStereo) ||
                        (name == "posbar" &&
                         (p.id == kPiecePosBar || (p.id == kPiecePosVol && p.variant == 1))) ||
                        (name == "volume" && p.id == kPiecePosVol && p.variant == 2) ||
                        (name == "eqmain" && (p.id == kPieceEqMain || p.id == kPieceEqButtons ||
                                              p.id == kPieceEqGraph || p.id == kPieceEqTrack ||
                                              p.id == kPieceEqTrackButton)) ||
                        (name == "eq_ex" && p.id == kPieceEqShade) ||
                        (name == "gen" && p.id == kPieceGen) ||
                        (name == "genex" && p.id == kPieceGenEx) ||
                        (name == "nums_ex" && p.id == kPieceDigitsMask) ||
                        (name == "pledit" &&
                         (p.id == kPiecePlMain || p.id == kPiecePlMenu || p.id == kPiecePlButton));
            if (here) {
                ApplyTemplate(dib.get(), p.id, p.variant, source, colors);
            }
        }
        for (uint16_t mask : {kPieceDigitsMask, kPieceFontMask, kPiecePlayPauseMask}) {
            if (name == "main") {
                auto piece = DibLoadResource(mask);
                int32_t y = mask == kPieceDigitsMask ? 0 : mask == kPieceFontMask ? 20 : 40;
                auto strip = DibCreateLike(picture.get(), piece->Width(), piece->Height());
                DibCopyRect(strip.get(), 0, 0, piece->Width(), piece->Height(), picture.get(), 0,
                            200 + y);
                ShadeTemplate(strip.get(), 0, 0, piece->Width(), piece->Height(), piece.get(), 0, 0,
                              colors);
                std::string path = std::string(argv[2]) + "/mask-" + std::to_string(mask) + ".bmp";
                failures += !DibWriteFile(path.c_str(), strip.get());
            }
        }
        std::string path = std::string(argv[2]) + "/" + name + ".bmp";
        failures += !DibWriteFile(path.c_str(), dib.get());
    }
    return failures == 0 ? 0 : 4;
}
