// The core's face to the page: a few C functions the page calls in the WebAssembly module.
// One opened picture and one made skin live here between calls, so a change of options
// makes the skin again without handing the picture over again.
//
// Options arrive as lines "name=value", the names being korvane-make's long options without
// their dashes; values are checked as the command line checks them and a refusal says why
// in the same words. Every function returns a status and leaves a message for the page in
// korvane_message(): empty, a notice (the scale was raised) or the reason of a refusal.
#include <emscripten.h>

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
#include "output/skin_options.h"
#include "output/skin_writer.h"
#include "output/wsz.h"

namespace {

// What korvane_make returns; the picture outcomes of the open calls are PictureOutcome.
enum MakeStatus { kMade = 0, kBadOption = 2, kNoPicture = 3 };

// Where the page keeps the shipped template folders in the module's file system.
constexpr const char kTemplateRoot[] = "/templates/";

struct WebOptions {
    SkinOptions skin;
    std::string templateName; // a folder under kTemplateRoot
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

// One option; false with gMessage set when the name or the value is wrong.
bool ApplyOption(const std::string& name, const std::string& v, WebOptions* o) {
    if (name == "template") {
        if (v.find('/') != std::string::npos || v == "." || v == "..") {
            gMessage = "bad value for template: '" + v + "'";
            return false;
        }
        o->templateName = v;
        return true;
    }
    switch (ApplySkinOption(name, v, &o->skin)) {
    case SkinOptionResult::Applied:
        return true;
    case SkinOptionResult::Unknown:
        gMessage = "unknown option " + name;
        return false;
    case SkinOptionResult::ControlCharacter:
        gMessage = name + " holds a control character";
        return false;
    case SkinOptionResult::BadValue:
        break;
    }
    gMessage = "bad value for " + name + ": '" + v + "'";
    return false;
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

// The work picture for these adjustments, made again only when they or the picture changed.
const Dib* WorkPicture(const SkinOptions& o) {
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
    opened.outcome = CheckPictureSize(width, height, &opened.reason);
    if (opened.outcome == PictureOutcome::Accepted) {
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
    const Dib* work = WorkPicture(o.skin);
    if (!work) {
        gMessage = kMsgLoadFailed;
        return kNoPicture;
    }
    SkinInputs in;
    if (!SetSkinInputs(o.skin, work, "", &in, &gMessage)) {
        return kBadOption;
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
    gSkinPlaylist = o.skin.playlist;
    gSkinGenBalance = o.skin.project.genBalance;
    if (PlanScale(o.skin.scale, gPicture->Width(), gPicture->Height()).raised) {
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
