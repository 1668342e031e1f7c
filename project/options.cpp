#include "project/options.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "project/messages.h"

namespace {

constexpr const char* kBandNames[3] = {"main", "equalizer", "playlist"};

struct Limits {
    const char* name;
    int lo;
    int hi;
};
constexpr Limits kLimits[] = {{"scale", 0, 100},
                              {"brightness", -100, 100},
                              {"contrast", -100, 100},
                              {"title", 0, 79},
                              {"playlist-font", 1, 31}};

bool Within(const std::string& name, int64_t v) {
    int lo = 0, hi = 0;
    return SkinOptionLimits(name, &lo, &hi) && v >= lo && v <= hi;
}

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

bool ParseNumber(const std::string& name, const std::string& s, int* out) {
    int lo = 0, hi = 0;
    return SkinOptionLimits(name, &lo, &hi) && ParseInt(s, lo, hi, out);
}

bool ParsePosition(const std::string& s, BandPosition* out) {
    size_t comma = s.find(',');
    int x, y;
    if (comma == std::string::npos || !ParseInt(s.substr(0, comma), 0, 1 << 20, &x) ||
        !ParseInt(s.substr(comma + 1), 0, 1 << 20, &y)) {
        return false;
    }
    *out = {true, x, y};
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

bool ParseSwitch(const std::string& s, bool* out) {
    if (s != "true" && s != "false") {
        return false;
    }
    *out = s == "true";
    return true;
}

int BandIndex(const std::string& name) {
    for (int i = 0; i < 3; i++) {
        if (name == kBandNames[i]) {
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

bool HasControlCharacter(const std::string& s) {
    return std::any_of(s.begin(), s.end(),
                       [](char c) { return (unsigned char)c < 0x20 || c == 0x7F; });
}

// The workspace offset of a band or frame whose top-left picture pixel is p, after checking
// that it stays inside the picture.
bool ToOffset(const std::string& what, const BandPosition& p, int32_t w, int32_t h,
              int32_t bandHeight, WorkspaceOffset* out, std::string* messageOut) {
    int32_t maxX = w - kBandWidth;
    int32_t maxY = h - bandHeight;
    if (p.x > maxX || p.y > maxY) {
        char text[200];
        std::snprintf(text, sizeof text,
                      "%s %d,%d leaves the %d x %d picture: X can be 0 to %d and Y 0 to %d",
                      what.c_str(), p.x, p.y, w, h, maxX, maxY);
        *messageOut = text;
        return false;
    }
    *out = {-p.x, maxY - p.y};
    return true;
}

} // namespace

bool SkinOptionLimits(const std::string& name, int* lo, int* hi) {
    for (const Limits& l : kLimits) {
        if (name == l.name) {
            *lo = l.lo;
            *hi = l.hi;
            return true;
        }
    }
    return false;
}

bool IsSkinSwitch(const std::string& name) {
    return name == "auto" || name == "show-vis" || name == "swap-rb" || name == "hide-balance" ||
           name == "no-balance-file";
}

SkinOptionResult ApplySkinOption(const std::string& name, const std::string& v,
                                 SkinOptions* options) {
    SkinOptions o = *options;
    bool ok = true;
    bool off = false;
    if (name == "mode") {
        ok = v == "free" || v == "tile" || v == "continuous";
        o.mode = v == "free"   ? AdjustmentMode::Free
                 : v == "tile" ? AdjustmentMode::Tile
                               : AdjustmentMode::Continuous;
    } else if (name == "at") {
        ok = ParsePosition(v, &o.at);
    } else if (BandIndex(name) >= 0) {
        ok = ParsePosition(v, &o.bands[BandIndex(name)]);
    } else if (name == "order") {
        ok = ParseOrder(v, &o.order);
    } else if (name == "scale") {
        ok = ParseNumber(name, v, &o.scale);
    } else if (name == "brightness") {
        ok = ParseNumber(name, v, &o.brightness);
    } else if (name == "contrast") {
        ok = ParseNumber(name, v, &o.contrast);
    } else if (name == "template") {
        o.templateFolder = v;
    } else if (name == "title") {
        ok = Within(name, int64_t(v.size()));
        o.title.text = v;
    } else if (name == "title-align") {
        ok = v == "left" || v == "center" || v == "right";
        o.title.align = v == "center"  ? TitleAlign::Center
                        : v == "right" ? TitleAlign::Right
                                       : TitleAlign::Left;
    } else if (name == "title-color") {
        ok = v == "soft" || v == "hard";
        o.title.color = v == "soft" ? TitleColor::Soft : TitleColor::Hard;
    } else if (name == "text-color") {
        ok = ParseColor(v, &o.colors.text);
    } else if (name == "back-color") {
        ok = ParseColor(v, &o.colors.back);
    } else if (name == "playlist-font") {
        ok = Within(name, int64_t(v.size()));
        o.playlist.fontName = v;
    } else if (name == "playlist-normal") {
        ok = ParseColor(v, &o.playlist.normalText);
    } else if (name == "playlist-current") {
        ok = ParseColor(v, &o.playlist.currentText);
    } else if (name == "playlist-normal-bg") {
        ok = ParseColor(v, &o.playlist.normalBack);
    } else if (name == "playlist-selected-bg") {
        ok = ParseColor(v, &o.playlist.selectedBack);
    } else if (name == "auto") {
        ok = ParseSwitch(v, &o.suggest);
    } else if (name == "show-vis") {
        ok = ParseSwitch(v, &o.project.showVis);
    } else if (name == "swap-rb") {
        ok = ParseSwitch(v, &o.project.swapRedBlue);
    } else if (name == "hide-balance") {
        ok = ParseSwitch(v, &o.project.hideBalance);
    } else if (name == "no-balance-file") {
        ok = ParseSwitch(v, &off);
        o.project.genBalance = !off;
    } else {
        return SkinOptionResult::Unknown;
    }
    if ((name == "title" || name == "playlist-font") && HasControlCharacter(v)) {
        return SkinOptionResult::ControlCharacter;
    }
    if (!ok) {
        return SkinOptionResult::BadValue;
    }
    o.given.insert(name);
    *options = o;
    return SkinOptionResult::Applied;
}

std::string SkinOptionMessage(SkinOptionResult result, const std::string& optionPrefix,
                              const std::string& name, const std::string& value) {
    switch (result) {
    case SkinOptionResult::Applied:
        return {};
    case SkinOptionResult::Unknown:
        return "unknown option " + optionPrefix + name;
    case SkinOptionResult::ControlCharacter:
        return optionPrefix + name + " holds a control character";
    case SkinOptionResult::BadValue:
        break;
    }
    return "bad value for " + optionPrefix + name + ": '" + value + "'";
}

bool ApplySkinOptionLines(const std::string& all, SkinOptions* o, std::string* messageOut) {
    for (size_t start = 0; start < all.size();) {
        size_t end = std::min(all.find('\n', start), all.size());
        const std::string line = all.substr(start, end - start);
        start = end + 1;
        const size_t eq = line.find('=');
        if (eq == std::string::npos) {
            *messageOut = "an option needs a value: " + line;
            return false;
        }
        const std::string name = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        SkinOptionResult result = ApplySkinOption(name, value, o);
        if (result != SkinOptionResult::Applied) {
            *messageOut = SkinOptionMessage(result, "", name, value);
            return false;
        }
    }
    return true;
}

std::string SkinOptionLines(const SkinOptions& o) {
    static constexpr const char* kModes[] = {"free", "tile", "continuous"};
    static constexpr const char* kAligns[] = {"left", "center", "right"};
    auto position = [](const BandPosition& p) {
        return std::to_string(p.x) + "," + std::to_string(p.y);
    };
    std::string order[3];
    for (size_t band = 0; band < 3; band++) {
        order[size_t(o.order[band])] = kBandNames[band];
    }
    std::string lines = std::string("mode=") + kModes[int(o.mode)] + "\n";
    lines += "at=" + position(o.at) + "\n";
    for (size_t band = 0; band < 3; band++) {
        lines += std::string(kBandNames[band]) + "=" + position(o.bands[band]) + "\n";
    }
    lines += "order=" + order[0] + "," + order[1] + "," + order[2] + "\n";
    lines += "scale=" + std::to_string(o.scale) + "\n";
    lines += "brightness=" + std::to_string(o.brightness) + "\n";
    lines += "contrast=" + std::to_string(o.contrast) + "\n";
    lines += "template=" + o.templateFolder + "\n";
    lines += "title=" + o.title.text + "\n";
    lines += std::string("title-align=") + kAligns[int(o.title.align)] + "\n";
    lines +=
        std::string("title-color=") + (o.title.color == TitleColor::Soft ? "soft" : "hard") + "\n";
    lines += "text-color=" + HexColor(o.colors.text) + "\n";
    lines += "back-color=" + HexColor(o.colors.back) + "\n";
    lines += "playlist-font=" + o.playlist.fontName + "\n";
    lines += "playlist-normal=" + HexColor(o.playlist.normalText) + "\n";
    lines += "playlist-current=" + HexColor(o.playlist.currentText) + "\n";
    lines += "playlist-normal-bg=" + HexColor(o.playlist.normalBack) + "\n";
    lines += "playlist-selected-bg=" + HexColor(o.playlist.selectedBack) + "\n";
    auto flag = [](bool on) { return on ? "true" : "false"; };
    lines += std::string("auto=") + flag(o.suggest) + "\n";
    lines += std::string("show-vis=") + flag(o.project.showVis) + "\n";
    lines += std::string("swap-rb=") + flag(o.project.swapRedBlue) + "\n";
    lines += std::string("hide-balance=") + flag(o.project.hideBalance) + "\n";
    lines += std::string("no-balance-file=") + flag(!o.project.genBalance) + "\n";
    return lines;
}

bool SetSkinInputs(const SkinOptions& o, const Dib* work, const char* optionPrefix, SkinInputs* in,
                   std::string* messageOut) {
    in->picture = work;
    in->mode = o.mode;
    in->order = o.order;
    in->colors = o.colors;
    in->options = o.project;
    in->title = o.title;
    in->pieces = PieceSource(o.templateFolder);
    const int32_t w = work->Width();
    const int32_t h = work->Height();
    const std::string prefix = optionPrefix;
    if (o.mode == AdjustmentMode::Continuous) {
        if (h < kFrameHeight) {
            *messageOut = kMsgNoContinuous;
            return false;
        }
        return ToOffset(prefix + "at", o.at, w, h, kFrameHeight, &in->frameOffset, messageOut);
    }
    for (size_t band = 0; band < 3; band++) {
        bool tile = o.mode == AdjustmentMode::Tile;
        if (!ToOffset(prefix + (tile ? "at" : kBandNames[band]), tile ? o.at : o.bands[band], w, h,
                      kBandHeight, &in->bandOffsets[band], messageOut)) {
            return false;
        }
    }
    return true;
}
