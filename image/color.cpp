#include "image/color.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Only +, -, * and / on doubles after this table, which every build rounds alike, so the
// native programs, the Windows ones and the page choose the same colours to the bit. The one
// library function, pow, is rounded to nine decimals once, where libraries cannot differ.
const std::array<double, 256>& LinearTable() {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int c = 0; c < 256; c++) {
            double v = c / 255.0;
            double linear = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
            t[size_t(c)] = std::round(linear * 1e9) / 1e9;
        }
        return t;
    }();
    return table;
}

} // namespace

double Luminance(ColorRef c) {
    const auto& lin = LinearTable();
    return 0.2126 * lin[RedOf(c)] + 0.7152 * lin[GreenOf(c)] + 0.0722 * lin[BlueOf(c)];
}

double ContrastRatio(ColorRef a, ColorRef b) {
    double la = Luminance(a);
    double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double LeastContrast(ColorRef ink, std::initializer_list<ColorRef> grounds) {
    double least = 21.0;
    for (ColorRef ground : grounds) {
        least = std::min(least, ContrastRatio(ink, ground));
    }
    return least;
}
