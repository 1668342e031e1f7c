// korvane-make: the headless front end. Makes a skin folder (and optionally a .wsz archive
// and a preview) from one picture, with the same core and the same words as the desktop
// program.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "project/messages.h"
#include "project/options.h"
#include "project/outputs.h"
#include "project/suggest.h"

namespace {

enum ExitCode { kExitOk = 0, kExitUsage = 2, kExitRefused = 3, kExitWrite = 4 };

constexpr const char kUsage[] =
    "usage: korvane-make PICTURE OUTDIR [options]\n"
    "\n"
    "Makes a classic Winamp skin from one picture (24-bit BMP, PNG or JPEG) into the\n"
    "folder OUTDIR (created if missing; files of the skin are replaced, others left\n"
    "alone). A photo larger than 1600 x 1200 is reduced to fit.\n"
    "\n"
    "Besides the classic bitmaps the skin holds eq_ex.bmp (the equalizer's shade\n"
    "mode), nums_ex.bmp (the digits with a minus sign), and gen.bmp and genex.bmp:\n"
    "the frame, controls and colours of the player's other windows (media library,\n"
    "visualisation, plug-ins). genex.bmp's list colours are the --playlist-* colours,\n"
    "as in pledit.txt.\n"
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
    "Suggest a design:\n"
    "  --auto                        place the bands on what the picture shows, choose\n"
    "                                the scale and the six colours from it; what you\n"
    "                                give yourself is kept. The choices are printed as\n"
    "                                options on one line, to repeat or to change them\n"
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
    SkinOptions skin;
    bool convert = false;
    SkinOutputs out;
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
            bool known = name == "wsz" || name == "preview" ||
                         ApplySkinOption(name, "", &o->skin) != SkinOptionResult::Unknown;
            return Usage(known ? a + " needs a value" : "unknown option " + a);
        }
        if (name == "wsz" || name == "preview") {
            // A path must name a file: an empty name writes nowhere.
            if (v.empty()) {
                return Usage(a + " needs a file name, not an empty one");
            }
            (name == "wsz" ? o->out.archive : o->out.preview) = v;
        } else {
            SkinOptionResult result = ApplySkinOption(name, v, &o->skin);
            if (result != SkinOptionResult::Applied) {
                return Usage(SkinOptionMessage(result, "--", name, v));
            }
        }
    }
    if (positional.size() != 2) {
        return Usage("give one picture and one output folder");
    }
    o->picture = positional[0];
    o->out.folder = positional[1];
    o->out.genBalance = o->skin.project.genBalance;
    if (o->out.folder.empty()) {
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

// Refuses (exit 2) a run whose outputs would overwrite one of its inputs or each other,
// before anything is read or written.
bool OutputsStandApart(const Options& o) {
    std::optional<OutputClash> clash = FindOutputClash(o.out, o.picture, o.skin.templateFolder);
    if (!clash) {
        return true;
    }
    std::fprintf(stderr, "korvane-make: %s %s %s %s %s\n", clash->output.what.c_str(),
                 clash->output.path.c_str(),
                 clash->overwrites ? "would overwrite" : "is the same file as",
                 clash->other.what.c_str(), clash->other.path.c_str());
    return false;
}

int Run(const Options& o) {
    // A folder that leaves no room for the file names is refused before anything is made.
    if (!SkinFolderPathFits(o.out.folder)) {
        std::fprintf(stderr, "korvane-make: the folder path %s is too long for its file names\n",
                     o.out.folder.c_str());
        return kExitWrite;
    }
    const std::string& templateFolder = o.skin.templateFolder;
    if (!templateFolder.empty() && !std::filesystem::is_directory(templateFolder)) {
        std::fprintf(stderr, "korvane-make: no template folder %s\n", templateFolder.c_str());
        return kExitUsage;
    }
    if (!OutputsStandApart(o)) {
        return kExitUsage;
    }

    // The picture is scaled as it is opened: the full-size picture is not needed after. A
    // suggested design chooses the scale from the picture's size.
    Project project;
    ScalePlan plan;
    auto scaleFor = [&](int32_t width, int32_t height) {
        bool choose = o.skin.suggest && !o.skin.Given("scale");
        return choose ? SuggestScale(width, height, o.skin.mode) : o.skin.scale;
    };
    OpenedPicture opened = project.OpenFileAtScale(
        o.picture, [&] { return o.convert; }, scaleFor, &plan);
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

    std::string placement;
    auto unusable = [](const std::string& path, const std::string& why) {
        std::fprintf(stderr, "korvane-make: template piece %s: %s; the built-in piece is used\n",
                     path.c_str(), why.c_str());
    };
    if (!project.Make(o.skin, "--", &placement, unusable)) {
        Say(placement.c_str());
        return kExitUsage;
    }
    if (o.skin.suggest) {
        std::printf("%s\n", SuggestedArguments(project.MadeWith()).c_str());
    }
    for (const ContrastWarning& warning : LowContrastPairs(project.MadeWith())) {
        Say(warning.Message().c_str());
    }
    WriteFault fault = WriteSkinOutputs(project, o.skin, o.out);
    switch (fault.kind) {
    case WriteFault::None:
        return kExitOk;
    case WriteFault::NoBitmap:
        SayWhy(fault.path, "no bitmap was made for it");
        break;
    case WriteFault::FolderFailed:
        std::fprintf(stderr, "korvane-make: could not create %s: %s\n", fault.path.c_str(),
                     fault.reason.c_str());
        break;
    case WriteFault::ArchiveFailed:
        SayWhy(fault.path, "the archive could not be made");
        break;
    case WriteFault::FileFailed:
        std::fprintf(stderr, "korvane-make: could not write %s: %s\n", fault.path.c_str(),
                     fault.reason.c_str());
        break;
    }
    return kExitWrite;
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
