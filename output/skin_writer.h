#pragma once

// The skin file set: which files a skin folder holds, in which order they are written, which
// bitmap goes into which file, and the exact bytes of the two text files.
//
// A skin folder holds up to nineteen files. Sixteen bitmaps are always written; balance.bmp is
// written only when the project asks for it, otherwise the volume bitmap carries the balance
// slider in its top three frames (players fall back to volume.bmp for the balance control).
// The bitmaps are 24-bit BMP files exactly as DibEncodeFile makes them; viscolor.txt and
// pledit.txt are plain text with CR LF line ends. genex.bmp and pledit.txt are both written from
// the playlist style the set is made with, so its colour pixels always describe the pledit.txt
// beside it.
//
// SkinFileSet describes the set once; the folder writer here and the archive writer (wsz.h)
// both write what it lists, so a folder and a .wsz of the same skin hold the same bytes.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "compose/skin.h"
#include "image/dib.h"
#include "output/safe_write.h"

enum class SkinFileContent {
    Bitmap,       // the SkinSet bitmap named by `bitmap`, as it is
    Volume,       // the volume bitmap; without balance.bmp the combined volume bitmap
    Balance,      // the balance bitmap; written only with genBalance
    VisColors,    // VisColorText of the SkinSet's visColors
    PlaylistText, // PlaylistText of the style
    GenericControls, // GenexWithColors of the genex bitmap and the style
};

struct SkinFileEntry {
    const char* name; // lower case, as players look it up
    SkinFileContent content;
    std::unique_ptr<Dib> SkinSet::*bitmap; // nullptr for the text files
    int32_t width;                         // the size composition makes; 0 for text files
    int32_t height;
};

// Every member a skin folder can hold, in the order of writing.
inline constexpr std::array<SkinFileEntry, 19> kSkinFileTable = {{
    {"main.bmp", SkinFileContent::Bitmap, &SkinSet::main, 275, 116},
    {"titlebar.bmp", SkinFileContent::Bitmap, &SkinSet::titlebar, 344, 87},
    {"cbuttons.bmp", SkinFileContent::Bitmap, &SkinSet::cbuttons, 136, 36},
    {"shufrep.bmp", SkinFileContent::Bitmap, &SkinSet::shufrep, 92, 85},
    {"monoster.bmp", SkinFileContent::Bitmap, &SkinSet::monoster, 58, 24},
    {"posbar.bmp", SkinFileContent::Bitmap, &SkinSet::posbar, 307, 10},
    {"numbers.bmp", SkinFileContent::Bitmap, &SkinSet::numbers, 99, 13},
    {"nums_ex.bmp", SkinFileContent::Bitmap, &SkinSet::numsEx, 108, 13},
    {"text.bmp", SkinFileContent::Bitmap, &SkinSet::text, 155, 18},
    {"playpaus.bmp", SkinFileContent::Bitmap, &SkinSet::playpaus, 42, 9},
    {"volume.bmp", SkinFileContent::Volume, &SkinSet::volume, 68, 433},
    {"balance.bmp", SkinFileContent::Balance, &SkinSet::balance, 68, 433},
    {"viscolor.txt", SkinFileContent::VisColors, nullptr, 0, 0},
    {"eqmain.bmp", SkinFileContent::Bitmap, &SkinSet::eqmain, 275, 315},
    {"eq_ex.bmp", SkinFileContent::Bitmap, &SkinSet::eqex, 275, 82},
    {"pledit.bmp", SkinFileContent::Bitmap, &SkinSet::pledit, 280, 190},
    {"pledit.txt", SkinFileContent::PlaylistText, nullptr, 0, 0},
    {"gen.bmp", SkinFileContent::Bitmap, &SkinSet::gen, 178, 103},
    {"genex.bmp", SkinFileContent::GenericControls, &SkinSet::genex, 112, 59},
}};

// The longest file path the program hands to the file system: MAX_PATH (260) less the
// terminator, so the same folder works with the ANSI file functions of Windows.
constexpr size_t kMaxSkinPathLength = 259;

// viscolor.txt: one line "red,green,blue" CR LF per entry, index 0 first, decimal without
// leading zeros; nothing after the last CR LF.
std::string VisColorText(const VisColorTable& table);

// pledit.txt: "[Text]", then Normal, Current, NormalBG and SelectedBG as "#RRGGBB" in
// upper-case hex, each line ending in CR LF, and last "Font=" with the face name and no line
// end.
std::string PlaylistText(const PlaylistStyle& style);

// "RRGGBB" in upper case, red first, whatever the byte order of ColorRef: how pledit.txt
// and the command line write a colour.
std::string HexColor(ColorRef color);

// The path of a member inside folder (with or without a trailing '/' or '\').
std::string SkinFilePath(const std::string& folder, const char* name);

// The volume bitmap that also carries the balance slider: a copy of volume whose 68 x 13
// rectangles at (0, 0), (0, 30) and (0, 60) are the balance bitmap's 68 x 13 rectangle at
// (0, 0). Neither input is changed. nullptr when either bitmap is missing, since a volume
// bitmap without its balance frames is not what the skin asked for. The caller owns the
// result.
std::unique_ptr<Dib> CombinedVolume(const Dib* volume, const Dib* balance);

// One member of the set as it goes to disk or into an archive.
struct SkinFile {
    const char* name;           // from kSkinFileTable
    std::vector<uint8_t> bytes; // the whole file; empty when its bitmap is missing
};

// The members to write, in the order of kSkinFileTable: nineteen with genBalance, eighteen
// without (no balance.bmp, and volume.bmp is the combined volume bitmap). A missing bitmap
// stays in the list with no bytes, so every writer reports it by name.
std::vector<SkinFile> SkinFileSet(const SkinSet& skin, const PlaylistStyle& style, bool genBalance);

enum class SkinWriteStatus {
    Written,     // every member of the set was written
    Incomplete,  // the members in `failed` were not written; the others were
    NoFolder,    // an empty folder path; nothing was written
    PathTooLong, // the folder leaves no room for a file name; nothing was written
};

struct SkinWriteResult {
    SkinWriteStatus status = SkinWriteStatus::NoFolder;
    // The members this save did not write, in the order of the set. Empty exactly when
    // everything was written; for a refused folder, or a file that could not be written
    // (which keeps the whole set from being replaced), it names the whole set.
    std::vector<std::string> failed;
    // The file that could not be written and the operating system's reason; empty when
    // only missing bitmaps kept members out.
    FileFault fault;
};

// True when every member's path inside folder fits kMaxSkinPathLength. The Save dialog can
// ask this before it creates the folder.
bool SkinFolderPathFits(const std::string& folder);

// Writes the set into an existing folder (with or without a trailing '/' or '\') as one
// transaction (safe_write.h). Each member replaces a file of the same name; other files in
// the folder, a balance.bmp left by an earlier save among them, are left alone, and no folder
// is created. A member whose bitmap is missing is left out and the others are written; a
// member that cannot be written keeps the whole set from replacing anything.
SkinWriteResult WriteSkinFolder(const std::string& folder, const SkinSet& skin,
                                const PlaylistStyle& style, bool genBalance);
