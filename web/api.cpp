// The core's face to the page: a few C functions the page calls in the WebAssembly module.
// One opened picture and one made skin live here between calls, so a change of options
// makes the skin again without handing the picture over again.
//
// Options arrive as lines "name=value", the names being korvane-make's long options without
// their dashes; values are checked as the command line checks them and a refusal says why
// in the same words. The page words its messages itself, from the statuses and the numbers
// these functions answer; korvane_message() holds the core's own words of the last refusal
// (the decoder's reason for an unreadable picture), or the text a function documents.
#include <emscripten.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "image/photo.h"
#include "project/messages.h"
#include "project/options.h"
#include "project/project.h"
#include "project/suggest.h"

namespace {

// What korvane_make returns; the picture outcomes of the open calls are PictureOutcome.
// kBadOption covers a band placed outside the picture; kNoContinuous a picture too short for
// the Continuous frame at the scale asked for.
enum MakeStatus { kMade = 0, kBadOption = 2, kNoPicture = 3, kNoContinuous = 4 };

// Where the page keeps the shipped template folders in the module's file system.
constexpr const char kTemplateRoot[] = "/templates/";

Project gProject;
std::string gMessage;
std::vector<uint8_t> gOutput;
int32_t gOpenedWidth = 0; // the size of the last picture offered, as its file gives it
int32_t gOpenedHeight = 0;

// The options of the page's lines; false with gMessage set when a name or a value is wrong.
// A template is named by its folder under kTemplateRoot.
bool ParseOptions(const char* text, SkinOptions* o) {
    if (!ApplySkinOptionLines(text ? text : "", o, &gMessage)) {
        return false;
    }
    const std::string& name = o->templateFolder;
    if (name.find('/') != std::string::npos || name == "." || name == "..") {
        gMessage = "bad value for template: '" + name + "'";
        return false;
    }
    o->templateFolder = name.empty() ? name : kTemplateRoot + name;
    return true;
}

int Opened(const OpenedPicture& opened) {
    gMessage = opened.reason;
    gOpenedWidth = opened.width;
    gOpenedHeight = opened.height;
    return int(opened.outcome);
}

// "name=lo,hi" for each bounded option, then the picture and band sizes the page lays out.
std::string LimitLines() {
    std::string lines;
    for (const char* name : {"scale", "brightness", "contrast", "title", "playlist-font"}) {
        int lo = 0, hi = 0;
        SkinOptionLimits(name, &lo, &hi);
        lines += std::string(name) + "=" + std::to_string(lo) + "," + std::to_string(hi) + "\n";
    }
    auto pair = [](int32_t a, int32_t b) { return std::to_string(a) + "," + std::to_string(b); };
    lines += "smallest=" + pair(kMinPictureWidth, kMinPictureHeight) + "\n";
    lines += "largest=" + pair(kMaxPictureWidth, kMaxPictureHeight) + "\n";
    lines += "band=" + pair(kBandWidth, kBandHeight) + "\n";
    lines += "frame=" + pair(kBandWidth, kFrameHeight) + "\n";
    lines += "photo-pixels=" + std::to_string(kMaxPhotoPixels) + "\n";
    return lines;
}

} // namespace

extern "C" {

// A whole .bmp file, read by the same reader as the desktop program. convert says yes to
// the question about a picture that is not 24-bit. Returns a PictureOutcome; on anything
// but Accepted the picture opened before stays.
EMSCRIPTEN_KEEPALIVE int korvane_open_bmp(const uint8_t* bytes, int size, int convert) {
    return Opened(gProject.OpenBytes(std::span<const uint8_t>(bytes, size_t(size)),
                                     [&] { return convert != 0; }));
}

// A picture the browser decoded: width x height pixels of red, green, blue, alpha, top row
// first. Alpha is ignored, as the colours are taken as they are. Returns a PictureOutcome,
// with the size checks of the .bmp road.
EMSCRIPTEN_KEEPALIVE int korvane_open_rgba(const uint8_t* rgba, int width, int height) {
    return Opened(gProject.OpenRgba(rgba, width, height));
}

// Makes the skin of the opened picture with these options. Returns a MakeStatus; on
// anything but kMade the skin made before stays.
EMSCRIPTEN_KEEPALIVE int korvane_make(const char* options) {
    gMessage.clear();
    SkinOptions o;
    if (!ParseOptions(options, &o)) {
        return kBadOption;
    }
    if (!gProject.HasPicture()) {
        gMessage = "Open a picture first.";
        return kNoPicture;
    }
    if (!o.templateFolder.empty() && !std::filesystem::is_directory(o.templateFolder)) {
        gMessage = "no template folder " + o.templateFolder.substr(sizeof kTemplateRoot - 1);
        return kBadOption;
    }
    if (!gProject.Make(o, "", &gMessage)) {
        return !gProject.Work()               ? kNoPicture
               : gMessage == kMsgNoContinuous ? kNoContinuous
                                              : kBadOption;
    }
    return kMade;
}

// Checks one "name=value" line as korvane_make would take it, without making anything. Returns
// a SkinOptionResult (a template name that is no folder name is a BadValue).
EMSCRIPTEN_KEEPALIVE int korvane_check(const char* line) {
    std::string text = line ? line : "";
    size_t eq = text.find('=');
    if (eq == std::string::npos) {
        return int(SkinOptionResult::BadValue);
    }
    SkinOptions o;
    SkinOptionResult result = ApplySkinOption(text.substr(0, eq), text.substr(eq + 1), &o);
    if (result == SkinOptionResult::Applied && !ParseOptions("", &o)) {
        return int(SkinOptionResult::BadValue); // a template that is no folder name
    }
    return int(result);
}

// The scale Make uses for this one asked for: raised to keep one band, limited to 100.
EMSCRIPTEN_KEEPALIVE int korvane_used_scale(int scale) {
    return gProject.PlanScale(scale).scale;
}

// The least scale the open picture takes the bands of a mode at, Continuous when continuous is
// not 0; -1 when the picture is too short for the Continuous frame even at 100.
EMSCRIPTEN_KEEPALIVE int korvane_smallest_scale(int continuous) {
    return gProject.SmallestScale(continuous ? AdjustmentMode::Continuous : AdjustmentMode::Tile);
}

// How much of a title the engraving shows: returns the number of its bytes engraved, and
// leaves the bytes the skin font has no glyph for in korvane_message().
EMSCRIPTEN_KEEPALIVE int korvane_title_fit(const char* text) {
    TitleFit fit = FitTitleText(text ? text : "");
    gMessage = fit.missing;
    return int(fit.shown);
}

// What opening a PNG or JPEG file makes of it, from its header, for the page that decodes it
// with the browser's codecs: eight 32-bit numbers in korvane_output(), the PhotoKind, whether
// the header was read, too many pixels, too small, the size as shown and the size it is
// reduced to. Returns their size in bytes.
EMSCRIPTEN_KEEPALIVE int korvane_plan_photo(const uint8_t* bytes, int size) {
    PhotoPlan plan =
        PlanPhoto(std::span<const uint8_t>(bytes, size_t(size)),
                  {kMaxPictureWidth, kMaxPictureHeight}, {kMinPictureWidth, kMinPictureHeight});
    const int32_t values[8] = {int32_t(plan.kind), plan.headerRead,   plan.tooLarge,
                               plan.tooSmall,      plan.width,        plan.height,
                               plan.fitted.width,  plan.fitted.height};
    gOutput.assign(reinterpret_cast<const uint8_t*>(values),
                   reinterpret_cast<const uint8_t*>(values) + sizeof values);
    return int(sizeof values);
}

// The size of the last picture offered to the open calls, as its file gives it (0 when the
// file did not say).
EMSCRIPTEN_KEEPALIVE int korvane_opened_width() {
    return gOpenedWidth;
}
EMSCRIPTEN_KEEPALIVE int korvane_opened_height() {
    return gOpenedHeight;
}

// The .wsz archive of the last skin made, the one korvane-make writes, into
// korvane_output(). Returns its size, 0 when there is no skin or it could not be packed.
EMSCRIPTEN_KEEPALIVE int korvane_archive() {
    gOutput = gProject.Archive();
    return int(gOutput.size());
}

// The members of the last skin made, as the folder and the archive hold them, into
// korvane_output() for the live preview, which hands them to the player without zipping:
// a 32-bit count, then per member a 16-bit name length, the name, a 32-bit size and the
// bytes, all little-endian. Returns the size, 0 when there is no skin or a member is missing.
EMSCRIPTEN_KEEPALIVE int korvane_skin_files() {
    gOutput.clear();
    std::vector<SkinFile> files = gProject.SkinFiles();
    if (files.empty()) {
        return 0;
    }
    gOutput.resize(4);
    PutLe32(gOutput.data(), uint32_t(files.size()));
    for (const SkinFile& file : files) {
        if (file.bytes.empty()) {
            gOutput.clear();
            return 0;
        }
        size_t at = gOutput.size();
        size_t nameLength = std::strlen(file.name);
        gOutput.resize(at + 6 + nameLength + file.bytes.size());
        PutLe16(&gOutput[at], uint16_t(nameLength));
        std::memcpy(&gOutput[at + 2], file.name, nameLength);
        PutLe32(&gOutput[at + 2 + nameLength], uint32_t(file.bytes.size()));
        std::memcpy(&gOutput[at + 6 + nameLength], file.bytes.data(), file.bytes.size());
    }
    return int(gOutput.size());
}

// The work picture (after scale, brightness, contrast) of the last make as red, green, blue,
// alpha pixels, top row first, into korvane_output(). Returns its serial number, which
// changes only when the work picture does, or 0 when there is none.
EMSCRIPTEN_KEEPALIVE int korvane_work_rgba() {
    gOutput.clear();
    const Dib* work = gProject.Work();
    if (!work) {
        return 0;
    }
    const int32_t w = work->Width();
    const int32_t h = work->Height();
    gOutput.resize(size_t(w) * size_t(h) * 4);
    uint8_t* to = gOutput.data();
    for (int32_t y = 0; y < h; y++) {
        const uint8_t* from = work->Row(y);
        for (int32_t x = 0; x < w; x++, from += 3, to += 4) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
            to[3] = 255;
        }
    }
    return gProject.WorkSerial();
}

// The size of the work picture at this scale, width x 65536 + height, so the page can keep
// the bands inside it before it asks for a skin; 0 when no picture is open.
EMSCRIPTEN_KEEPALIVE int korvane_scaled_size(int scale) {
    if (!gProject.HasPicture()) {
        return 0;
    }
    ScalePlan plan = gProject.PlanScale(scale);
    return plan.width * 65536 + plan.height;
}

EMSCRIPTEN_KEEPALIVE int korvane_work_width() {
    return gProject.Work() ? gProject.Work()->Width() : 0;
}
EMSCRIPTEN_KEEPALIVE int korvane_work_height() {
    return gProject.Work() ? gProject.Work()->Height() : 0;
}
EMSCRIPTEN_KEEPALIVE int korvane_work_serial() {
    return gProject.WorkSerial();
}

// Every option with its default as "name=value" lines, and the bounds of the options and
// the pictures, so the page starts from the core's own values instead of copies of them.
EMSCRIPTEN_KEEPALIVE const char* korvane_defaults() {
    static const std::string lines = SkinOptionLines(SkinOptions());
    return lines.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* korvane_limits() {
    static const std::string lines = LimitLines();
    return lines.c_str();
}

// The options the last skin was made with, as "name=value" lines: with auto, what the
// suggestion chose, for the page's controls.
EMSCRIPTEN_KEEPALIVE const char* korvane_made_options() {
    static std::string lines;
    lines = SkinOptionLines(gProject.MadeWith());
    return lines.c_str();
}

// The colour pairs of the last skin made that read below 4.5:1, one message a line; empty
// when every pair reads.
EMSCRIPTEN_KEEPALIVE const char* korvane_contrast_warnings() {
    static std::string lines;
    lines.clear();
    for (const ContrastWarning& warning : LowContrastPairs(gProject.MadeWith())) {
        lines += warning.Message() + "\n";
    }
    return lines.c_str();
}

EMSCRIPTEN_KEEPALIVE const uint8_t* korvane_output() {
    return gOutput.data();
}
EMSCRIPTEN_KEEPALIVE const char* korvane_message() {
    return gMessage.c_str();
}

} // extern "C"
