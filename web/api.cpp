// The core's face to the page: a few C functions the page calls in the WebAssembly module.
// One opened picture and one made skin live here between calls, so a change of options
// makes the skin again without handing the picture over again.
//
// Options arrive as lines "name=value", the names being korvane-make's long options without
// their dashes; values are checked as the command line checks them and a refusal says why
// in the same words. Every function returns a status and leaves a message for the page in
// korvane_message(): empty, a notice (the scale was raised) or the reason of a refusal.
#include <emscripten.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "compose/skin.h"
#include "image/adjust.h"
#include "image/messages.h"
#include "image/picture.h"
#include "output/skin_writer.h"
#include "output/wsz.h"

namespace {

// What korvane_make returns; the picture outcomes of the open calls are PictureOutcome.
enum MakeStatus { kMade = 0, kBadOption = 2, kNoPicture = 3 };

// Where the page keeps the shipped template folders in the module's file system.
constexpr const char kTemplateRoot[] = "/templates/";

struct Position {
    int32_t x = 0;
    int32_t y = 0;
};

struct WebOptions {
    AdjustmentMode mode = AdjustmentMode::Tile;
    Position at;
    Position bands[3];
    std::array<int, 3> order = {0, 1, 2};
    int scale = 100;
    int brightness = 0;
    int contrast = 0;
    std::string templateName;
    TitleSettings title;
    ShadeColors colors;
    PlaylistStyle playlist;
    ProjectOptions project;
};

std::unique_ptr<Dib> gPicture; // the opened picture, 24-bit
int gPictureSerial = 0;        // counts opened pictures, so the work picture knows its source
std::unique_ptr<Dib> gWork;    // the picture after scale, brightness and contrast
int gWorkKey[4] = {-1, -1, -1, -1};
int gWorkSerial = 0; // counts work pictures, so the page redraws only a new one
std::unique_ptr<SkinSet> gSkin;
PlaylistStyle gSkinPlaylist;
bool gSkinGenBalance = true;
std::string gMessage;
std::vector<uint8_t> gOutput;

bool ParseInt(const std::string& s, int lo, int hi, int* out) {
    if (s.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0' || errno != 0 || v < lo || v > hi) {
        return false;
    }
    *out = int(v);
    return true;
}

bool ParsePosition(const std::string& s, Position* out) {
    size_t comma = s.find(',');
    int x, y;
    if (comma == std::string::npos || !ParseInt(s.substr(0, comma), 0, 1 << 20, &x) ||
        !ParseInt(s.substr(comma + 1), 0, 1 << 20, &y)) {
        return false;
    }
    *out = {x, y};
    return true;
}

bool ParseColor(const std::string& s, ColorRef* out) {
    if (s.size() != 6 || s.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return false;
    }
    uint32_t v = uint32_t(std::strtoul(s.c_str(), nullptr, 16));
    *out = Rgb(v >> 16, v >> 8, v);
    return true;
}

bool ParseFlag(const std::string& s, bool* out) {
    if (s != "true" && s != "false") {
        return false;
    }
    *out = s == "true";
    return true;
}

int BandIndex(const std::string& name) {
    const char* names[3] = {"main", "equalizer", "playlist"};
    for (int i = 0; i < 3; i++) {
        if (name == names[i]) {
            return i;
        }
    }
    return -1;
}

// "main,equalizer,playlist" read top to bottom into the band position of each band.
bool ParseOrder(const std::string& s, std::array<int, 3>* order) {
    std::array<int, 3> result = {-1, -1, -1};
    size_t start = 0;
    for (int position = 0; position < 3; position++) {
        size_t comma = s.find(',', start);
        if ((position < 2) != (comma != std::string::npos)) {
            return false;
        }
        int band = BandIndex(s.substr(start, comma == std::string::npos ? comma : comma - start));
        if (band < 0 || result[size_t(band)] >= 0) {
            return false;
        }
        result[size_t(band)] = position;
        start = comma + 1;
    }
    *order = result;
    return true;
}

// One option; false with gMessage set when the name or the value is wrong.
bool ApplyOption(const std::string& name, const std::string& v, WebOptions* o) {
    bool ok = true;
    bool known = true;
    bool flag = false;
    if (name == "mode") {
        ok = v == "free" || v == "tile" || v == "continuous";
        o->mode = v == "free"   ? AdjustmentMode::Free
                  : v == "tile" ? AdjustmentMode::Tile
                                : AdjustmentMode::Continuous;
    } else if (name == "at") {
        ok = ParsePosition(v, &o->at);
    } else if (BandIndex(name) >= 0) {
        ok = ParsePosition(v, &o->bands[BandIndex(name)]);
    } else if (name == "order") {
        ok = ParseOrder(v, &o->order);
    } else if (name == "scale") {
        ok = ParseInt(v, 0, 100, &o->scale);
    } else if (name == "brightness") {
        ok = ParseInt(v, -100, 100, &o->brightness);
    } else if (name == "contrast") {
        ok = ParseInt(v, -100, 100, &o->contrast);
    } else if (name == "template") {
        ok = v.find('/') == std::string::npos && v != "." && v != "..";
        o->templateName = v;
    } else if (name == "title") {
        ok = v.size() <= 79;
        o->title.text = v;
    } else if (name == "title-align") {
        ok = v == "left" || v == "center" || v == "right";
        o->title.align = v == "center"  ? TitleAlign::Center
                         : v == "right" ? TitleAlign::Right
                                        : TitleAlign::Left;
    } else if (name == "title-color") {
        ok = v == "soft" || v == "hard";
        o->title.color = v == "soft" ? TitleColor::Soft : TitleColor::Hard;
    } else if (name == "text-color") {
        ok = ParseColor(v, &o->colors.text);
    } else if (name == "back-color") {
        ok = ParseColor(v, &o->colors.back);
    } else if (name == "playlist-font") {
        ok = !v.empty() && v.size() < 32;
        o->playlist.fontName = v;
    } else if (name == "playlist-normal") {
        ok = ParseColor(v, &o->playlist.normalText);
    } else if (name == "playlist-current") {
        ok = ParseColor(v, &o->playlist.currentText);
    } else if (name == "playlist-normal-bg") {
        ok = ParseColor(v, &o->playlist.normalBack);
    } else if (name == "playlist-selected-bg") {
        ok = ParseColor(v, &o->playlist.selectedBack);
    } else if (name == "show-vis") {
        ok = ParseFlag(v, &o->project.showVis);
    } else if (name == "swap-rb") {
        ok = ParseFlag(v, &o->project.swapRedBlue);
    } else if (name == "hide-balance") {
        ok = ParseFlag(v, &o->project.hideBalance);
    } else if (name == "no-balance-file") {
        ok = ParseFlag(v, &flag);
        o->project.genBalance = !flag;
    } else {
        known = false;
    }
    if (!known) {
        gMessage = "unknown option " + name;
    } else if (!ok) {
        gMessage = "bad value for " + name + ": '" + v + "'";
    }
    return known && ok;
}

bool ParseOptions(const char* text, WebOptions* o) {
    std::string all = text ? text : "";
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\n', start);
        if (end == std::string::npos) {
            end = all.size();
        }
        std::string line = all.substr(start, end - start);
        start = end + 1;
        size_t eq = line.find('=');
        if (eq == std::string::npos) {
            gMessage = "an option needs a value: " + line;
            return false;
        }
        if (!ApplyOption(line.substr(0, eq), line.substr(eq + 1), o)) {
            return false;
        }
    }
    return true;
}

// The workspace offset of a band or frame whose top-left picture pixel is p, after checking
// that it stays inside the picture.
bool ToOffset(const char* what, const Position& p, int32_t w, int32_t h, int32_t bandHeight,
              WorkspaceOffset* out) {
    int32_t maxX = w - kBandWidth;
    int32_t maxY = h - bandHeight;
    if (p.x > maxX || p.y > maxY) {
        char text[200];
        std::snprintf(text, sizeof text,
                      "%s %d,%d leaves the %d x %d picture: X can be 0 to %d and Y 0 to %d", what,
                      p.x, p.y, w, h, maxX, maxY);
        gMessage = text;
        return false;
    }
    *out = {-p.x, maxY - p.y};
    return true;
}

// The work picture for these adjustments, made again only when they or the picture changed.
const Dib* WorkPicture(const WebOptions& o) {
    int key[4] = {gPictureSerial, o.scale, o.brightness, o.contrast};
    if (gWork && std::equal(key, key + 4, gWorkKey)) {
        return gWork.get();
    }
    ScalePlan plan = PlanScale(o.scale, gPicture->Width(), gPicture->Height());
    gWork = DibScaleDown(gPicture.get(), plan.width, plan.height);
    if (!gWork) {
        return nullptr;
    }
    if (o.brightness != 0) {
        DibAdjustBrightness(gWork.get(), o.brightness);
    }
    if (o.contrast != 0) {
        DibAdjustContrast(gWork.get(), o.contrast);
    }
    std::copy(key, key + 4, gWorkKey);
    gWorkSerial++;
    return gWork.get();
}

int Accept(OpenedPicture opened) {
    const char* message = PictureOutcomeMessage(opened.outcome);
    gMessage = message ? message : "";
    if (opened.outcome == PictureOutcome::Declined) {
        gMessage = std::string(kMsgAskConvert);
    }
    if (opened.outcome == PictureOutcome::Accepted) {
        gPicture = std::move(opened.picture);
        gPictureSerial++;
        gWork.reset();
        gSkin.reset();
    }
    return int(opened.outcome);
}

} // namespace

extern "C" {

// A whole .bmp file, read by the same reader as the desktop program. convert says yes to
// the question about a picture that is not 24-bit. Returns a PictureOutcome; on anything
// but Accepted the picture opened before stays.
EMSCRIPTEN_KEEPALIVE int korvane_open_bmp(const uint8_t* bytes, int size, int convert) {
    int bitCount = 0;
    OpenedPicture opened = OpenPictureBytes(std::span<const uint8_t>(bytes, size_t(size)),
                                            [&] { return convert != 0; });
    bitCount = opened.bitCount;
    int outcome = Accept(std::move(opened));
    if (outcome == int(PictureOutcome::Declined)) {
        gMessage += "\n(The picture is " + std::to_string(bitCount) + "-bit.)";
    }
    return outcome;
}

// A picture the browser decoded: width x height pixels of red, green, blue, alpha, top row
// first. Alpha is ignored, as the colours are taken as they are. Returns a PictureOutcome,
// with the size checks of the .bmp road.
EMSCRIPTEN_KEEPALIVE int korvane_open_rgba(const uint8_t* rgba, int width, int height) {
    OpenedPicture opened;
    opened.width = width;
    opened.height = height;
    opened.bitCount = 24;
    if (width < kMinPictureWidth || height < kMinPictureHeight) {
        opened.outcome = PictureOutcome::TooSmall;
    } else if (width > kMaxPictureWidth || height > kMaxPictureHeight) {
        opened.outcome = PictureOutcome::TooLarge;
    } else {
        opened.picture = DibCreate(width, height, 24);
        for (int32_t y = 0; y < height; y++) {
            const uint8_t* from = rgba + size_t(y) * size_t(width) * 4;
            uint8_t* to = opened.picture->Row(y);
            for (int32_t x = 0; x < width; x++, from += 4, to += 3) {
                to[0] = from[2];
                to[1] = from[1];
                to[2] = from[0];
            }
        }
        opened.outcome = PictureOutcome::Accepted;
    }
    return Accept(std::move(opened));
}

// Makes the skin of the opened picture with these options. Returns a MakeStatus; on
// anything but kMade the skin made before stays.
EMSCRIPTEN_KEEPALIVE int korvane_make(const char* options) {
    gMessage.clear();
    WebOptions o;
    if (!ParseOptions(options, &o)) {
        return kBadOption;
    }
    if (!gPicture) {
        gMessage = "Open a picture first.";
        return kNoPicture;
    }
    const Dib* work = WorkPicture(o);
    if (!work) {
        gMessage = kMsgLoadFailed;
        return kNoPicture;
    }
    SkinInputs in;
    in.picture = work;
    in.mode = o.mode;
    in.order = o.order;
    in.colors = o.colors;
    in.options = o.project;
    in.title = o.title;
    const int32_t w = work->Width();
    const int32_t h = work->Height();
    if (o.mode == AdjustmentMode::Continuous) {
        if (h < kFrameHeight) {
            gMessage = kMsgNoContinuous;
            return kBadOption;
        }
        if (!ToOffset("at", o.at, w, h, kFrameHeight, &in.frameOffset)) {
            return kBadOption;
        }
    } else {
        const char* names[3] = {"main", "equalizer", "playlist"};
        for (size_t band = 0; band < 3; band++) {
            bool tile = o.mode == AdjustmentMode::Tile;
            if (!ToOffset(tile ? "at" : names[band], tile ? o.at : o.bands[band], w, h, kBandHeight,
                          &in.bandOffsets[band])) {
                return kBadOption;
            }
        }
    }
    if (!o.templateName.empty()) {
        std::string folder = kTemplateRoot + o.templateName;
        if (!std::filesystem::is_directory(folder)) {
            gMessage = "no template folder " + o.templateName;
            return kBadOption;
        }
        in.pieces = PieceSource(folder);
    }
    gSkin = MakeSkin(in);
    gSkinPlaylist = o.playlist;
    gSkinGenBalance = o.project.genBalance;
    if (PlanScale(o.scale, gPicture->Width(), gPicture->Height()).raised) {
        gMessage = kMsgScaleRaised;
    }
    return kMade;
}

// The .wsz archive of the last skin made, the one korvane-make writes, into
// korvane_output(). Returns its size, 0 when there is no skin or it could not be packed.
EMSCRIPTEN_KEEPALIVE int korvane_archive() {
    gOutput.clear();
    if (!gSkin) {
        return 0;
    }
    gOutput = EncodeSkinArchive(*gSkin, gSkinPlaylist, gSkinGenBalance);
    return int(gOutput.size());
}

// The members of the last skin made, as the folder and the archive hold them, into
// korvane_output() for the live preview, which hands them to the player without zipping:
// a 32-bit count, then per member a 16-bit name length, the name, a 32-bit size and the
// bytes, all little-endian. Returns the size, 0 when there is no skin or a member is missing.
EMSCRIPTEN_KEEPALIVE int korvane_skin_files() {
    gOutput.clear();
    if (!gSkin) {
        return 0;
    }
    std::vector<SkinFile> files = SkinFileSet(*gSkin, gSkinPlaylist, gSkinGenBalance);
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
    if (!gWork) {
        return 0;
    }
    const int32_t w = gWork->Width();
    const int32_t h = gWork->Height();
    gOutput.resize(size_t(w) * size_t(h) * 4);
    uint8_t* to = gOutput.data();
    for (int32_t y = 0; y < h; y++) {
        const uint8_t* from = gWork->Row(y);
        for (int32_t x = 0; x < w; x++, from += 3, to += 4) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
            to[3] = 255;
        }
    }
    return gWorkSerial;
}

// The size of the work picture at this scale, width x 65536 + height, so the page can keep
// the bands inside it before it asks for a skin; 0 when no picture is open.
EMSCRIPTEN_KEEPALIVE int korvane_scaled_size(int scale) {
    if (!gPicture) {
        return 0;
    }
    ScalePlan plan = PlanScale(scale, gPicture->Width(), gPicture->Height());
    return plan.width * 65536 + plan.height;
}

EMSCRIPTEN_KEEPALIVE int korvane_work_width() {
    return gWork ? gWork->Width() : 0;
}
EMSCRIPTEN_KEEPALIVE int korvane_work_height() {
    return gWork ? gWork->Height() : 0;
}
EMSCRIPTEN_KEEPALIVE int korvane_work_serial() {
    return gWork ? gWorkSerial : 0;
}
EMSCRIPTEN_KEEPALIVE const uint8_t* korvane_output() {
    return gOutput.data();
}
EMSCRIPTEN_KEEPALIVE const char* korvane_message() {
    return gMessage.c_str();
}

} // extern "C"
