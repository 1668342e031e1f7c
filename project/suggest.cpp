#include "project/suggest.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace {

// The picture is judged in cells of 8 x 8 pixels: averaging 64 pixels takes the grain out of
// a noisy photo, and a 1600 x 1200 picture becomes 30,000 cells, quick to search.
constexpr int32_t kCell = 8;

constexpr double kReadsWell = 4.5;

// ---- Colour arithmetic ------------------------------------------------------------------
// Only +, -, * and / on doubles below (and image/color's rounded table), which every build
// rounds alike, so the native program, the Windows one and the page suggest the same colours
// to the bit.

struct Hsl {
    double h = 0; // 0 to 6, in sixths of the circle
    double s = 0;
    double l = 0;
};

Hsl ToHsl(double r, double g, double b) {
    double hi = std::max({r, g, b});
    double lo = std::min({r, g, b});
    Hsl c;
    c.l = (hi + lo) / 2;
    double d = hi - lo;
    if (d <= 0) {
        return c;
    }
    c.s = c.l > 0.5 ? d / (2 - hi - lo) : d / (hi + lo);
    if (hi == r) {
        c.h = (g - b) / d + (g < b ? 6 : 0);
    } else if (hi == g) {
        c.h = (b - r) / d + 2;
    } else {
        c.h = (r - g) / d + 4;
    }
    return c;
}

Hsl ToHsl(ColorRef c) {
    return ToHsl(RedOf(c) / 255.0, GreenOf(c) / 255.0, BlueOf(c) / 255.0);
}

ColorRef FromHsl(const Hsl& c) {
    double q = c.l < 0.5 ? c.l * (1 + c.s) : c.l + c.s - c.l * c.s;
    double p = 2 * c.l - q;
    auto channel = [&](double t) {
        t = t < 0 ? t + 6 : t >= 6 ? t - 6 : t;
        double v = t < 1 ? p + (q - p) * t : t < 3 ? q : t < 4 ? p + (q - p) * (4 - t) : p;
        return uint32_t(std::clamp(int(v * 255 + 0.5), 0, 255));
    };
    return Rgb(channel(c.h + 2), channel(c.h), channel(c.h - 2));
}

// The colour of hue and saturation c whose lightness lies nearest `from` in the direction
// of `toward` (0 or 1) and reads at `target` or more on every background; the end of that
// direction when none does.
ColorRef ReadableOn(Hsl c, double from, double toward, double target,
                    std::initializer_list<ColorRef> backgrounds) {
    auto worst = [&](double l) {
        c.l = l;
        return LeastContrast(FromHsl(c), backgrounds);
    };
    if (worst(from) >= target) {
        c.l = from;
        return FromHsl(c);
    }
    double near = from;
    double far = toward;
    if (worst(far) < target) {
        c.l = far;
        return FromHsl(c);
    }
    for (int step = 0; step < 24; step++) {
        double mid = (near + far) / 2;
        (worst(mid) >= target ? far : near) = mid;
    }
    c.l = far;
    return FromHsl(c);
}

// ---- What the picture shows -------------------------------------------------------------

struct Cell {
    int32_t r = 0, g = 0, b = 0; // mean colour
    int64_t interest = 0;
};

struct CellGrid {
    int32_t columns = 0;
    int32_t rows = 0;
    std::vector<Cell> cells;
    const Cell& At(int32_t x, int32_t y) const {
        return cells[size_t(y) * size_t(columns) + size_t(x)];
    }
    Cell& At(int32_t x, int32_t y) { return cells[size_t(y) * size_t(columns) + size_t(x)]; }
};

// Mean colours of the cells, and how much each has to show: the change of brightness to its
// neighbours (edges, texture, faces), with the picture's typical change taken off so that
// grain and flat areas alike count for nothing, plus its colourfulness, and a mild
// preference for the middle of the picture.
CellGrid Survey(const Dib& work) {
    CellGrid grid;
    grid.columns = work.Width() / kCell;
    grid.rows = work.Height() / kCell;
    grid.cells.resize(size_t(grid.columns) * size_t(grid.rows));
    std::vector<int32_t> sums(size_t(grid.columns) * 3);
    for (int32_t cy = 0; cy < grid.rows; cy++) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int32_t y = cy * kCell; y < (cy + 1) * kCell; y++) {
            const uint8_t* p = work.Row(y);
            for (int32_t cx = 0; cx < grid.columns; cx++) {
                int32_t b = 0, g = 0, r = 0;
                for (int32_t i = 0; i < kCell; i++, p += 3) {
                    b += p[0];
                    g += p[1];
                    r += p[2];
                }
                sums[size_t(cx) * 3] += r;
                sums[size_t(cx) * 3 + 1] += g;
                sums[size_t(cx) * 3 + 2] += b;
            }
        }
        for (int32_t cx = 0; cx < grid.columns; cx++) {
            Cell& cell = grid.At(cx, cy);
            cell.r = sums[size_t(cx) * 3] / (kCell * kCell);
            cell.g = sums[size_t(cx) * 3 + 1] / (kCell * kCell);
            cell.b = sums[size_t(cx) * 3 + 2] / (kCell * kCell);
        }
    }
    auto luma = [](const Cell& c) { return 2 * c.r + 5 * c.g + c.b; }; // eight times
    std::vector<int64_t> detail(grid.cells.size());
    for (int32_t cy = 0; cy < grid.rows; cy++) {
        for (int32_t cx = 0; cx < grid.columns; cx++) {
            int32_t here = luma(grid.At(cx, cy));
            int32_t right = luma(grid.At(std::min(cx + 1, grid.columns - 1), cy));
            int32_t below = luma(grid.At(cx, std::min(cy + 1, grid.rows - 1)));
            detail[size_t(cy) * size_t(grid.columns) + size_t(cx)] =
                std::abs(here - right) + std::abs(here - below);
        }
    }
    std::vector<int64_t> sorted = detail;
    std::nth_element(sorted.begin(), sorted.begin() + ptrdiff_t(sorted.size() / 2), sorted.end());
    const int64_t floor = sorted[sorted.size() / 2];
    const int64_t halfW = std::max<int64_t>(1, grid.columns / 2);
    const int64_t halfH = std::max<int64_t>(1, grid.rows / 2);
    for (int32_t cy = 0; cy < grid.rows; cy++) {
        for (int32_t cx = 0; cx < grid.columns; cx++) {
            Cell& cell = grid.At(cx, cy);
            int64_t chroma =
                std::max({cell.r, cell.g, cell.b}) - std::min({cell.r, cell.g, cell.b});
            int64_t d = detail[size_t(cy) * size_t(grid.columns) + size_t(cx)] - floor;
            int64_t value = std::max<int64_t>(0, d) + chroma;
            // 1024 in the middle down to 768 in the corners.
            int64_t dx = (cx - halfW) * 1024 / halfW;
            int64_t dy = (cy - halfH) * 1024 / halfH;
            int64_t weight = 1024 - (dx * dx + dy * dy) / 8192;
            cell.interest = value * weight;
        }
    }
    return grid;
}

struct Rect {
    int32_t x = 0, y = 0, w = 0, h = 0;
    bool Overlaps(const Rect& o) const { return Overlap(o) > 0; }
    int64_t Overlap(const Rect& o) const {
        int64_t across = std::min(x + w, o.x + o.w) - std::max(x, o.x);
        int64_t down = std::min(y + h, o.y + o.h) - std::max(y, o.y);
        return across > 0 && down > 0 ? across * down : 0;
    }
};

// Summed interest over any rectangle of cells.
class InterestSums {
  public:
    explicit InterestSums(const CellGrid& grid)
        : columns_(grid.columns + 1), sums_(size_t(grid.columns + 1) * size_t(grid.rows + 1)) {
        for (int32_t y = 0; y < grid.rows; y++) {
            for (int32_t x = 0; x < grid.columns; x++) {
                At(x + 1, y + 1) = grid.At(x, y).interest + At(x, y + 1) + At(x + 1, y) - At(x, y);
            }
        }
    }
    int64_t Sum(int32_t x, int32_t y, int32_t w, int32_t h) const {
        return At(x + w, y + h) - At(x, y + h) - At(x + w, y) + At(x, y);
    }

  private:
    int64_t& At(int32_t x, int32_t y) { return sums_[size_t(y) * size_t(columns_) + size_t(x)]; }
    int64_t At(int32_t x, int32_t y) const {
        return sums_[size_t(y) * size_t(columns_) + size_t(x)];
    }
    int32_t columns_;
    std::vector<int64_t> sums_;
};

// The place for a w x h window over the picture where it shows the most, covering as little
// of `avoid` as it can; the first of equals, so the answer is always the same.
BandPosition BestPlace(const CellGrid& grid, const InterestSums& sums, int32_t pictureW,
                       int32_t pictureH, int32_t w, int32_t h, const std::vector<Rect>& avoid) {
    const int32_t wc = w / kCell;
    const int32_t hc = h / kCell;
    BandPosition best{true, 0, 0};
    int64_t bestScore = -1;
    int64_t bestCovered = 0;
    for (int32_t cy = 0; cy + hc <= grid.rows; cy++) {
        for (int32_t cx = 0; cx + wc <= grid.columns; cx++) {
            Rect place = {std::min(cx * kCell, pictureW - w), std::min(cy * kCell, pictureH - h), w,
                          h};
            int64_t covered = 0;
            for (const Rect& r : avoid) {
                covered += r.Overlap(place);
            }
            int64_t score = sums.Sum(cx, cy, wc, hc);
            if (bestScore < 0 || covered < bestCovered ||
                (covered == bestCovered && score > bestScore)) {
                best = {true, place.x, place.y};
                bestScore = score;
                bestCovered = covered;
            }
        }
    }
    return best;
}

// The mean colour and the most vivid hues of the cells under some rectangles.
struct Palette {
    ColorRef mean = 0;
    double meanLuminance = 0;
    ColorRef accents[2] = {0xFFFFFF, 0xFFFFFF};
    bool vivid[2] = {false, false};
};

Palette Colours(const CellGrid& grid, const std::vector<Rect>& areas) {
    constexpr int kHues = 24;
    struct Bin {
        int64_t weight = 0, r = 0, g = 0, b = 0;
    };
    std::array<Bin, kHues> bins{};
    int64_t r = 0, g = 0, b = 0, count = 0;
    for (int32_t cy = 0; cy < grid.rows; cy++) {
        for (int32_t cx = 0; cx < grid.columns; cx++) {
            Rect cell = {cx * kCell, cy * kCell, kCell, kCell};
            if (std::none_of(areas.begin(), areas.end(),
                             [&](const Rect& a) { return a.Overlaps(cell); })) {
                continue;
            }
            const Cell& c = grid.At(cx, cy);
            r += c.r;
            g += c.g;
            b += c.b;
            count++;
            int32_t chroma = std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b});
            if (chroma < 24) {
                continue; // grey: no hue worth taking
            }
            Hsl hsl = ToHsl(c.r / 255.0, c.g / 255.0, c.b / 255.0);
            Bin& bin = bins[size_t(std::min(kHues - 1, int(hsl.h * kHues / 6)))];
            bin.weight += chroma;
            bin.r += int64_t(c.r) * chroma;
            bin.g += int64_t(c.g) * chroma;
            bin.b += int64_t(c.b) * chroma;
        }
    }
    Palette p;
    if (count == 0) {
        return p;
    }
    p.mean = Rgb(uint32_t(r / count), uint32_t(g / count), uint32_t(b / count));
    p.meanLuminance = Luminance(p.mean);
    p.accents[0] = p.accents[1] = p.mean;
    // The strongest hue, then the strongest at least a quarter of the circle away from it.
    int first = -1;
    int second = -1;
    for (int i = 0; i < kHues; i++) {
        if (bins[size_t(i)].weight > 0 &&
            (first < 0 || bins[size_t(i)].weight > bins[size_t(first)].weight)) {
            first = i;
        }
    }
    for (int i = 0; first >= 0 && i < kHues; i++) {
        int apart = std::min((i - first + kHues) % kHues, (first - i + kHues) % kHues);
        if (apart >= kHues / 4 && bins[size_t(i)].weight * 8 >= bins[size_t(first)].weight &&
            (second < 0 || bins[size_t(i)].weight > bins[size_t(second)].weight)) {
            second = i;
        }
    }
    for (int k = 0; k < 2; k++) {
        int i = k == 0 ? first : second;
        if (i >= 0) {
            const Bin& bin = bins[size_t(i)];
            p.accents[k] = Rgb(uint32_t(bin.r / bin.weight), uint32_t(bin.g / bin.weight),
                               uint32_t(bin.b / bin.weight));
            p.vivid[k] = true;
        }
    }
    return p;
}

// A background in the picture's own hue, dark for a dark picture and light for a light
// one, kept calm (little saturation) so text reads on it.
ColorRef Background(const Palette& p, bool dark, double lightness) {
    Hsl c = ToHsl(p.mean);
    c.s = std::min(c.s, dark ? 0.45 : 0.35);
    c.l = dark ? lightness : 1 - lightness;
    return FromHsl(c);
}

// A text colour from an accent of the picture (its mean colour when it has none), made
// lively, at least as light as `beyond` (as dark, on a light background), then as much
// lighter (darker) as it needs to read on the backgrounds.
ColorRef TextColour(ColorRef accent, bool vivid, bool dark, double beyond,
                    std::initializer_list<ColorRef> backgrounds) {
    Hsl c = ToHsl(accent);
    c.s = vivid ? std::max(c.s, 0.65) : std::min(c.s, 0.3);
    double from = dark ? std::max(std::clamp(c.l, 0.55, 0.75), beyond)
                       : std::min(std::clamp(c.l, 0.25, 0.45), beyond);
    return ReadableOn(c, std::clamp(from, 0.0, 1.0), dark ? 1.0 : 0.0, kReadsWell + 1, backgrounds);
}

Rect BandRect(const BandPosition& p, int32_t height) {
    return {p.x, p.y, kBandWidth, height};
}

} // namespace

int SuggestScale(int32_t width, int32_t height, AdjustmentMode mode) {
    const int share = width > 600 ? int(int64_t(100) * 600 / width) : 100;
    // Never so small that the scale would have to be raised; Continuous needs its 348 rows,
    // and free mode likes them too, to keep the bands apart.
    const int least =
        LeastScale(width, height, mode == AdjustmentMode::Tile ? kBandHeight : kFrameHeight);
    return least < 0 ? 100 : std::max(share, least);
}

SkinOptions SuggestDesign(Project& project, const SkinOptions& given) {
    SkinOptions o = given;
    if (!project.HasPicture()) {
        return o;
    }
    if (!o.Given("scale") && project.Picture()) {
        o.scale = SuggestScale(project.Picture()->Width(), project.Picture()->Height(), o.mode);
    }
    const Dib* work = project.Adjust({o.scale, o.brightness, o.contrast});
    if (!work) {
        return o;
    }
    o.scale = project.PlanScale(o.scale).scale;
    const int32_t w = work->Width();
    const int32_t h = work->Height();
    const CellGrid grid = Survey(*work);
    const InterestSums sums(grid);

    // Where the bands go, and the rectangles each band shows.
    std::array<Rect, 3> shown;
    if (o.mode == AdjustmentMode::Free) {
        static constexpr const char* kBands[3] = {"main", "equalizer", "playlist"};
        std::vector<Rect> placed;
        for (int band = 0; band < 3; band++) {
            if (o.Given(kBands[band])) {
                placed.push_back(BandRect(o.bands[band], kBandHeight));
            }
        }
        for (int band = 0; band < 3; band++) {
            if (!o.Given(kBands[band])) {
                o.bands[band] = BestPlace(grid, sums, w, h, kBandWidth, kBandHeight, placed);
                placed.push_back(BandRect(o.bands[band], kBandHeight));
            }
            shown[size_t(band)] = BandRect(o.bands[band], kBandHeight);
        }
    } else {
        const bool continuous = o.mode == AdjustmentMode::Continuous;
        const int32_t height = continuous && h >= kFrameHeight ? kFrameHeight : kBandHeight;
        if (!o.Given("at")) {
            o.at = BestPlace(grid, sums, w, h, kBandWidth, height, {});
        }
        for (size_t band = 0; band < 3; band++) {
            Rect r = BandRect(o.at, kBandHeight);
            r.y += height == kFrameHeight ? kBandHeight * o.order[band] : 0;
            shown[band] = r;
        }
    }

    // The display takes its colours from what the main window shows, the playlist from
    // what the playlist shows; dark pictures get dark backgrounds, light ones light.
    const Palette display = Colours(grid, {shown[0]});
    const Palette playlist = Colours(grid, {shown[2]});
    const Palette whole = Colours(grid, {{0, 0, w, h}});
    auto dark = [](const Palette& p) { return p.meanLuminance < 0.4; };
    if (!o.Given("back-color")) {
        o.colors.back = Background(display, dark(display), 0.09);
    }
    if (!o.Given("text-color")) {
        const Palette& from = display.vivid[0] ? display : whole;
        o.colors.text = TextColour(from.accents[0], from.vivid[0], dark(display),
                                   dark(display) ? 0.65 : 0.35, {o.colors.back});
    }
    const bool darkList = dark(playlist);
    if (!o.Given("playlist-normal-bg")) {
        o.playlist.normalBack = Background(playlist, darkList, 0.1);
    }
    if (!o.Given("playlist-selected-bg")) {
        o.playlist.selectedBack = Background(playlist, darkList, 0.24);
    }
    const ColorRef backs[2] = {o.playlist.normalBack, o.playlist.selectedBack};
    const Palette& accents = playlist.vivid[0] ? playlist : whole;
    if (!o.Given("playlist-normal")) {
        o.playlist.normalText = TextColour(accents.accents[0], accents.vivid[0], darkList,
                                           darkList ? 0 : 1, {backs[0], backs[1]});
    }
    if (!o.Given("playlist-current")) {
        // The playing title stands out: in the picture's second hue when it has one, and
        // lighter than the other titles on a dark playlist, darker on a light one.
        bool second = accents.vivid[1];
        double normal = ToHsl(o.playlist.normalText).l;
        o.playlist.currentText =
            TextColour(accents.accents[second ? 1 : 0], accents.vivid[second ? 1 : 0], darkList,
                       darkList ? normal + 0.12 : normal - 0.12, {backs[0], backs[1]});
    }
    return o;
}

std::string SuggestedArguments(const SkinOptions& o) {
    std::string line;
    auto add = [&](const std::string& name, const std::string& value) {
        if (!o.Given(name)) {
            line += (line.empty() ? "--" : " --") + name + " " + value;
        }
    };
    auto position = [](const BandPosition& p) {
        return std::to_string(p.x) + "," + std::to_string(p.y);
    };
    if (o.mode == AdjustmentMode::Free) {
        add("main", position(o.bands[0]));
        add("equalizer", position(o.bands[1]));
        add("playlist", position(o.bands[2]));
    } else {
        add("at", position(o.at));
    }
    add("scale", std::to_string(o.scale));
    add("text-color", HexColor(o.colors.text));
    add("back-color", HexColor(o.colors.back));
    add("playlist-normal", HexColor(o.playlist.normalText));
    add("playlist-current", HexColor(o.playlist.currentText));
    add("playlist-normal-bg", HexColor(o.playlist.normalBack));
    add("playlist-selected-bg", HexColor(o.playlist.selectedBack));
    return line;
}

std::string ContrastWarning::Message() const {
    // Cut, not rounded, so a pair just short of 4.5:1 never reads as 4.5:1.
    char line[160];
    std::snprintf(line, sizeof line,
                  "Low contrast: %s on %s reads %.1f:1 (4.5:1 or more reads well)", text.c_str(),
                  background.c_str(), std::floor(ratio * 10) / 10);
    return line;
}

std::vector<ContrastWarning> LowContrastPairs(const SkinOptions& o) {
    struct Pair {
        const char* text;
        ColorRef textColor;
        const char* background;
        ColorRef backColor;
    };
    const Pair pairs[] = {
        {"display text", o.colors.text, "back", o.colors.back},
        {"playlist text", o.playlist.normalText, "playlist back", o.playlist.normalBack},
        {"playlist text", o.playlist.normalText, "selected back", o.playlist.selectedBack},
        {"current title", o.playlist.currentText, "playlist back", o.playlist.normalBack},
        {"current title", o.playlist.currentText, "selected back", o.playlist.selectedBack},
    };
    std::vector<ContrastWarning> warnings;
    for (const Pair& p : pairs) {
        double ratio = ContrastRatio(p.textColor, p.backColor);
        if (ratio < kReadsWell) {
            warnings.push_back({p.text, p.background, ratio});
        }
    }
    return warnings;
}
