// korvane-make: the headless front end. Makes a skin folder (and optionally a .wsz archive
// and a preview) from one picture, with the same core and the same words as the desktop
// program.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "compose/skin.h"
#include "compose/template.h"
#include "files/path_identity.h"
#include "image/adjust.h"
#include "image/bmp_file.h"
#include "image/messages.h"
#include "image/picture.h"
#include "output/safe_write.h"
#include "output/skin_options.h"
#include "output/skin_writer.h"
#include "output/wsz.h"

namespace {

enum ExitCode { kExitOk = 0, kExitUsage = 2, kExitRefused = 3, kExitWrite = 4 };

constexpr const char kUsage[] =
    "usage: korvane-make PICTURE OUTDIR [options]\n"
    "\n"
    "Makes a classic Winamp skin from one picture (24-bit BMP, PNG or JPEG) into the\n"
    "folder OUTDIR (created if missing; files of the skin are replaced, others left\n"
    "alone). A photo larger than 1600 x 1200 is reduced to fit.\n"
    "\n"
    "Where the bands are cut (positions are picture pixels from the top-left):\n"
    "  --mode free|tile|continuous   tile (default): one position for all three bands;\n"
    "                                free: one per band; continuous: one 275 x 348 frame\n"
    "  --at X,Y                      the band (tile) or the frame (continuous); default 0,0\n"
    "  --main X,Y --equalizer X,Y --playlist X,Y   each band in free mode\n"
    "  --order A,B,C                 continuous: the bands top to bottom, from main,\n"
    "                                equalizer, playlist (default main,equalizer,playlist)\n"
    "Picture:\n"
    "  --scale N                     percent, 0 to 100, raised to the least that fits\n"
    "  --brightness N --contrast N   -100 to 100\n"
    "  --convert                     convert a picture that is not 24-bit\n"
    "Skin:\n"
    "  --template DIR                a template folder in front of the built-in pieces\n"
    "  --title TEXT                  default \"created by Korvane\"; \"\" for none\n"
    "  --title-align left|center|right   --title-color soft|hard (default left, hard)\n"
    "  --text-color RRGGBB --back-color RRGGBB   display colours (default FFFFFF, 000000)\n"
    "  --playlist-font NAME          default Arial\n"
    "  --playlist-normal RRGGBB --playlist-current RRGGBB\n"
    "  --playlist-normal-bg RRGGBB --playlist-selected-bg RRGGBB\n"
    "  --show-vis --swap-rb --hide-balance --no-balance-file\n"
    "Also write:\n"
    "  --wsz FILE                    the skin as a .wsz archive\n"
    "  --preview FILE.bmp            the three previews stacked, 275 x 348\n"
    "\n"
    "Files are replaced only when every one of them has been written: a run that fails\n"
    "leaves the old ones as they were. No output may be the picture, a template file or\n"
    "another output.\n"
    "\n"
    "Exit status: 0 made, 2 usage error (an output that would overwrite an input among\n"
    "them), 3 picture refused, 4 a file could not be written (nothing was replaced).\n";

struct Options {
    std::string picture;
    std::string outDir;
    SkinOptions skin;
    bool convert = false;
    std::string templateDir;
    std::string wsz;
    std::string preview;
};

int Usage(const std::string& message) {
    std::fprintf(stderr, "korvane-make: %s\nTry 'korvane-make --help'.\n", message.c_str());
    return kExitUsage;
}

// Message-box texts carry line breaks; on a terminal they read as one sentence per line.
void Say(const char* text) {
    std::fprintf(stderr, "korvane-make: %s\n", text);
}

// The line that follows the program's own words: which file, and what is wrong with it.
void SayWhy(const std::string& path, const std::string& reason) {
    std::fprintf(stderr, "korvane-make: %s: %s\n", path.c_str(), reason.c_str());
}

// Returns kExitOk, or the exit code of a usage error already reported (-1 for --help).
int ParseArguments(int argc, char** argv, Options* o) {
    std::vector<std::string> positional;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= argc) {
                return false;
            }
            *out = argv[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            return -1;
        }
        if (a.rfind("--", 0) != 0) {
            positional.push_back(a);
            continue;
        }
        std::string name = a.substr(2);
        if (name == "convert") {
            o->convert = true;
            continue;
        }
        if (IsSkinSwitch(name)) {
            ApplySkinOption(name, "true", &o->skin);
            continue;
        }
        if (!value(&v)) {
            bool known = name == "template" || name == "wsz" || name == "preview" ||
                         ApplySkinOption(name, "", &o->skin) != SkinOptionResult::Unknown;
            return Usage(known ? a + " needs a value" : "unknown option " + a);
        }
        if (name == "template") {
            o->templateDir = v;
        } else if (name == "wsz" || name == "preview") {
            // A path must name a file: an empty name writes nowhere.
            if (v.empty()) {
                return Usage(a + " needs a file name, not an empty one");
            }
            (name == "wsz" ? o->wsz : o->preview) = v;
        } else {
            SkinOptionResult result = ApplySkinOption(name, v, &o->skin);
            if (result == SkinOptionResult::Unknown) {
                return Usage("unknown option " + a);
            }
            if (result == SkinOptionResult::ControlCharacter) {
                return Usage(a + " holds a control character");
            }
            if (result == SkinOptionResult::BadValue) {
                return Usage("bad value for " + a + ": '" + v + "'");
            }
        }
    }
    if (positional.size() != 2) {
        return Usage("give one picture and one output folder");
    }
    o->picture = positional[0];
    o->outDir = positional[1];
    if (o->outDir.empty()) {
        return Usage("the output folder needs a name, not an empty one");
    }
    const SkinOptions& skin = o->skin;
    bool bandGiven = skin.bands[0].given || skin.bands[1].given || skin.bands[2].given;
    if (bandGiven && skin.mode != AdjustmentMode::Free) {
        return Usage("--main, --equalizer and --playlist place bands in --mode free; use --at");
    }
    if (skin.at.given && skin.mode == AdjustmentMode::Free) {
        return Usage("--mode free places each band with --main, --equalizer and --playlist");
    }
    return kExitOk;
}

// The three previews stacked in their band order, as the desktop program shows them.
std::unique_ptr<Dib> StackedPreview(const SkinSet& skin, const std::array<int, 3>& order) {
    auto stacked = DibCreate(kBandWidth, kFrameHeight, 24);
    const Dib* previews[3] = {skin.mainPreview.get(), skin.equalizerPreview.get(),
                              skin.playlistPreview.get()};
    for (int band = 0; band < 3; band++) {
        DibCopyRect(stacked.get(), 0, kBandHeight * order[size_t(band)], kBandWidth, kBandHeight,
                    previews[band], 0, 0);
    }
    return stacked;
}

// A file the run reads or writes, for the check that no output lands on an input or on
// another output.
struct NamedPath {
    std::string what; // "the picture", "the archive", ...
    std::string path;
    PathIdentity identity;
};

// Refuses (exit 2) a run whose outputs would overwrite one of its inputs or each other,
// before anything is read or written. Paths are compared by the files they name.
bool OutputsStandApart(const Options& o) {
    std::vector<NamedPath> inputs;
    std::vector<NamedPath> outputs;
    auto add = [](std::vector<NamedPath>& list, const std::string& what, const std::string& path) {
        list.push_back({what, path, IdentifyPath(path)});
    };
    add(inputs, "the picture", o.picture);
    if (!o.templateDir.empty()) {
        PieceSource pieces(o.templateDir);
        std::set<std::string> seen;
        for (const TemplatePlacement& p : TemplatePlacements()) {
            if (seen.insert(p.fileName).second) {
                add(inputs, "the template piece", pieces.Folder() + p.fileName);
            }
        }
    }
    for (const SkinFileEntry& entry : kSkinFileTable) {
        if (entry.content != SkinFileContent::Balance || o.skin.project.genBalance) {
            add(outputs, "the skin file", SkinFilePath(o.outDir, entry.name));
        }
    }
    if (!o.wsz.empty()) {
        add(outputs, "the archive", o.wsz);
    }
    if (!o.preview.empty()) {
        add(outputs, "the preview", o.preview);
    }
    for (size_t i = 0; i < outputs.size(); i++) {
        const NamedPath& out = outputs[i];
        for (const NamedPath& in : inputs) {
            if (SamePath(out.identity, in.identity)) {
                std::fprintf(stderr, "korvane-make: %s %s would overwrite %s %s\n",
                             out.what.c_str(), out.path.c_str(), in.what.c_str(), in.path.c_str());
                return false;
            }
        }
        for (size_t j = 0; j < i; j++) {
            if (SamePath(out.identity, outputs[j].identity)) {
                std::fprintf(stderr, "korvane-make: %s %s is the same file as %s %s\n",
                             out.what.c_str(), out.path.c_str(), outputs[j].what.c_str(),
                             outputs[j].path.c_str());
                return false;
            }
        }
    }
    return true;
}

// Creates the output folder and the folders above it that are missing, and remembers which
// it made, so a run that fails can take them away again.
class MadeFolders {
  public:
    bool Make(const std::string& folder, std::string* reasonOut) {
        namespace fs = std::filesystem;
        std::vector<fs::path> missing;
        std::error_code ec;
        for (fs::path p = fs::path(folder); !p.empty() && !fs::exists(p, ec); p = p.parent_path()) {
            missing.push_back(p);
            if (p == p.parent_path()) {
                break;
            }
        }
        for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
            if (!fs::create_directory(*it, ec) && ec) {
                *reasonOut = ec.message();
                Undo();
                return false;
            }
            made_.push_back(*it);
        }
        return true;
    }

    // Removes the folders made, deepest first, as long as they are empty.
    void Undo() {
        std::error_code ec;
        for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
            std::filesystem::remove(*it, ec);
        }
        made_.clear();
    }

  private:
    std::vector<std::filesystem::path> made_;
};

int Run(const Options& o) {
    // A folder that leaves no room for the file names is refused before anything is made.
    if (!SkinFolderPathFits(o.outDir)) {
        std::fprintf(stderr, "korvane-make: the folder path %s is too long for its file names\n",
                     o.outDir.c_str());
        return kExitWrite;
    }
    if (!o.templateDir.empty() && !std::filesystem::is_directory(o.templateDir)) {
        std::fprintf(stderr, "korvane-make: no template folder %s\n", o.templateDir.c_str());
        return kExitUsage;
    }
    if (!OutputsStandApart(o)) {
        return kExitUsage;
    }

    // The picture is scaled as it is opened: the full-size picture is not needed after.
    ScalePlan plan;
    OpenedPicture opened = OpenPictureFileScaled(
        o.picture.c_str(), [&] { return o.convert; }, o.skin.scale, &plan);
    if (opened.outcome == PictureOutcome::Declined) {
        Say(kMsgAskConvert);
        std::fprintf(stderr, "korvane-make: %s is %d-bit; pass --convert to convert it.\n",
                     o.picture.c_str(), opened.bitCount);
        return kExitRefused;
    }
    if (opened.outcome != PictureOutcome::Accepted) {
        Say(PictureOutcomeMessage(opened.outcome));
        if (!opened.reason.empty()) {
            SayWhy(o.picture, opened.reason);
        }
        return kExitRefused;
    }
    if (opened.reduced) {
        Say(PictureReducedNotice(opened).c_str());
    }

    if (plan.raised) {
        Say(kMsgScaleRaised);
    }
    // Scaled as it was opened; brightness, then contrast, follow.
    std::unique_ptr<Dib> work = std::move(opened.picture);
    if (o.skin.brightness != 0) {
        DibAdjustBrightness(work.get(), o.skin.brightness);
    }
    if (o.skin.contrast != 0) {
        DibAdjustContrast(work.get(), o.skin.contrast);
    }

    SkinInputs in;
    std::string placement;
    if (!SetSkinInputs(o.skin, work.get(), "--", &in, &placement)) {
        Say(placement.c_str());
        return kExitUsage;
    }
    in.pieces = PieceSource(o.templateDir);
    // A piece is loaded once per placement; each unusable file is told once.
    std::set<std::string> told;
    in.pieces.ReportUnusable([&](const std::string& path, const std::string& why) {
        if (told.insert(path).second) {
            std::fprintf(stderr,
                         "korvane-make: template piece %s: %s; the built-in piece is used\n",
                         path.c_str(), why.c_str());
        }
    });

    std::unique_ptr<SkinSet> skin = MakeSkin(in);
    std::vector<SkinFile> files = SkinFileSet(*skin, o.skin.playlist, o.skin.project.genBalance);
    for (const SkinFile& file : files) {
        if (file.bytes.empty()) {
            SayWhy(SkinFilePath(o.outDir, file.name), "no bitmap was made for it");
            return kExitWrite;
        }
    }
    // The archive is deflated in the background while the folder's files are written.
    std::optional<ZipArchiveJob> archiveJob;
    if (!o.wsz.empty()) {
        archiveJob.emplace(files);
    }

    // Everything the run writes is one set: a fault anywhere replaces nothing.
    MadeFolders folders;
    std::string reason;
    if (!folders.Make(o.outDir, &reason)) {
        std::fprintf(stderr, "korvane-make: could not create %s: %s\n", o.outDir.c_str(),
                     reason.c_str());
        return kExitWrite;
    }
    std::optional<FileTransaction> transaction(std::in_place);
    for (const SkinFile& file : files) {
        transaction->Write(SkinFilePath(o.outDir, file.name), file.bytes);
    }
    if (archiveJob) {
        std::vector<uint8_t> archive = archiveJob->Finish();
        if (archive.empty()) {
            transaction.reset(); // its temporaries go before the folders made for them
            folders.Undo();
            SayWhy(o.wsz, "the archive could not be made");
            return kExitWrite;
        }
        transaction->Write(o.wsz, archive);
    }
    if (!o.preview.empty()) {
        transaction->Write(o.preview, DibEncodeFile(StackedPreview(*skin, o.skin.order).get()));
    }
    if (!transaction->Commit()) {
        std::fprintf(stderr, "korvane-make: could not write %s: %s\n",
                     transaction->Fault().path.c_str(), transaction->Fault().reason.c_str());
        folders.Undo();
        return kExitWrite;
    }
    return kExitOk;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    int parsed = ParseArguments(argc, argv, &options);
    if (parsed < 0) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    if (parsed != kExitOk) {
        return parsed;
    }
    return Run(options);
}
