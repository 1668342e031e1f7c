#include "image/adjust.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "image/picture.h"

namespace {

bool Is24(const Dib* dib) { return dib && dib->BitCount() == 24; }

// Runs fn over the pixel bytes of every row, leaving the row padding alone. Rows without
// padding are one run of bytes, which lets the compiler vectorise fn's loop.
template <typename Fn> void ForEachPixelRun(Dib* dib, Fn fn) {
    size_t rowBytes = 3 * size_t(dib->Width());
    if (rowBytes == dib->Stride()) {
        fn(dib->Bytes() + dib->PixelOffset(), dib->PixelBytes());
        return;
    }
    for (int32_t y = 0; y < dib->Height(); y++) {
        fn(dib->Row(y), rowBytes);
    }
}

// Table lookups eight bytes at a time: one load and one store per eight, which the
// vectoriser would otherwise turn into slow emulated gathers.
void MapBytes(Dib* dib, const uint8_t table[256]) {
    ForEachPixelRun(dib, [table](uint8_t* p, size_t n) {
        size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            uint64_t v;
            std::memcpy(&v, p + i, 8);
            uint64_t mapped = 0;
#pragma GCC unroll 8
            for (int k = 0; k < 64; k += 8) {
                mapped |= uint64_t(table[(v >> k) & 0xFF]) << k;
            }
            std::memcpy(p + i, &mapped, 8);
        }
        for (; i < n; i++) {
            p[i] = table[p[i]];
        }
    });
}

} // namespace

ScalePlan PlanScale(int requestedScale, int32_t sourceWidth, int32_t sourceHeight) {
    ScalePlan plan;
    plan.scale = std::min(requestedScale, 100);
    if (sourceWidth <= 0 || sourceHeight <= 0) {
        plan.width = plan.height = 0;
        return plan;
    }
    auto apply = [&](int s) {
        plan.width = int32_t(int64_t(s) * sourceWidth / 100);
        plan.height = int32_t(int64_t(s) * sourceHeight / 100);
    };
    auto tooSmall = [&] {
        return plan.width < kMinPictureWidth || plan.height < kMinPictureHeight;
    };
    apply(plan.scale);
    if (!tooSmall()) {
        return plan;
    }
    plan.raised = true;
    int s = plan.width < kMinPictureWidth ? 100 * kMinPictureWidth / sourceWidth : 0;
    if (plan.height < kMinPictureHeight && 100 * kMinPictureHeight / sourceHeight > s) {
        s = 100 * kMinPictureHeight / sourceHeight;
    }
    apply(s);
    if (tooSmall()) {
        s++;
    }
    // Only a source smaller than a band could ask for more than 100; it is never enlarged.
    plan.scale = std::min(s, 100);
    apply(plan.scale);
    return plan;
}

ScaleDownRows::ScaleDownRows(int32_t width, int32_t height, int32_t newWidth, int32_t newHeight)
    : width_(width), height_(height), newWidth_(newWidth),
      // The steps are 32-bit floats; a position i x step is exact in double precision, so it
      // equals the sum of i steps that the positions are defined by.
      ry_(float(double(height) / double(newHeight))), columns_(size_t(std::max(newWidth, 0))),
      leftToo_(size_t(std::max(newWidth, 0))) {
    const float rx = float(double(width) / double(newWidth));
    for (int32_t i = 0; i < newWidth; i++) {
        columns_[i] = std::min(int32_t(std::floor(double(i) * double(rx))), width - 1);
        leftToo_[i] = i > 0 && columns_[i] - columns_[i - 1] > 1;
    }
}

int32_t ScaleDownRows::SourceRow(int32_t j) const {
    return std::min(int32_t(std::floor(double(j) * double(ry_))), height_ - 1);
}

bool ScaleDownRows::TakesRowAbove(int32_t j) const {
    return j > 0 && SourceRow(j) - SourceRow(j - 1) > 1;
}

void ScaleDownRows::Row(const uint8_t* row, const uint8_t* above, uint8_t* to) const {
    if (newWidth_ == width_ && !above) {
        std::memcpy(to, row, 3 * size_t(width_)); // every column kept, nothing to average
        return;
    }
    // The tables are read through restricted pointers and each pixel's bytes into locals:
    // a store through `to` could otherwise alias them and force every load again.
    const int32_t* __restrict columns = columns_.data();
    const uint8_t* __restrict leftToo = leftToo_.data();
    const uint8_t* __restrict p = row;
    const uint8_t* __restrict q = above;
    uint8_t* __restrict out = to;
    for (int32_t i = 0; i < newWidth_; i++, out += 3) {
        const size_t at = 3 * size_t(columns[i]);
        unsigned b = p[at], g = p[at + 1], r = p[at + 2];
        if (!q) {
            // A column that follows a skip averages in its left neighbour.
            if (leftToo[i]) {
                b = (b + p[at - 3]) / 2;
                g = (g + p[at - 2]) / 2;
                r = (r + p[at - 1]) / 2;
            }
        } else if (leftToo[i]) {
            // Where rows were skipped too, the pixel above joins in.
            b = (b + p[at - 3] + q[at]) / 3;
            g = (g + p[at - 2] + q[at + 1]) / 3;
            r = (r + p[at - 1] + q[at + 2]) / 3;
        } else {
            b = (b + q[at]) / 2;
            g = (g + q[at + 1]) / 2;
            r = (r + q[at + 2]) / 2;
        }
        out[0] = uint8_t(b);
        out[1] = uint8_t(g);
        out[2] = uint8_t(r);
    }
}

std::unique_ptr<Dib> DibScaleDown(const Dib* src, int32_t newWidth, int32_t newHeight) {
    if (!Is24(src) || newWidth > src->Width() || newHeight > src->Height()) {
        return nullptr;
    }
    auto out = DibCreateLike(src, newWidth, newHeight, false);
    if (!out || newWidth == 0 || newHeight == 0) {
        return out;
    }
    ScaleDownRows rows(src->Width(), src->Height(), newWidth, newHeight);
    for (int32_t j = 0; j < newHeight; j++) {
        int32_t y = rows.SourceRow(j);
        rows.Row(src->Row(y), rows.TakesRowAbove(j) ? src->Row(y - 1) : nullptr, out->Row(j));
    }
    return out;
}

void DibAdjustBrightness(Dib* dib, int amount) {
    if (!Is24(dib) || amount < -100 || amount > 100) {
        return;
    }
    int k = std::clamp(amount * 128 / 100, -127, 127);
    // Written as the wrap-around test of a saturating add or subtract, which compilers turn
    // into one vector instruction per 16 or 32 bytes.
    if (k > 0) {
        const uint8_t add = uint8_t(k);
        ForEachPixelRun(dib, [=](uint8_t* p, size_t n) {
            for (size_t i = 0; i < n; i++) {
                uint8_t v = uint8_t(p[i] + add);
                p[i] = v < p[i] ? 255 : v;
            }
        });
    } else if (k < 0) {
        const uint8_t sub = uint8_t(-k);
        ForEachPixelRun(dib, [=](uint8_t* p, size_t n) {
            for (size_t i = 0; i < n; i++) {
                uint8_t v = uint8_t(p[i] - sub);
                p[i] = v > p[i] ? 0 : v;
            }
        });
    }
}

void DibAdjustContrast(Dib* dib, int amount) {
    if (!Is24(dib) || amount < -100 || amount > 100) {
        return;
    }
    // The factor is a polynomial in float coefficients, evaluated in double and kept as a
    // float; d x f is then exact in double, so each floor below is the exact one.
    const float a = float(std::abs(amount));
    const float cubic = 3.5555556e-6f;
    const float linear = 0.011111111f;
    const double ad = a;
    const float f = float(double(cubic) * ad * ad * ad + double(linear) * ad + 1.0);
    uint8_t table[256];
    for (int b = 0; b < 256; b++) {
        int d = b <= 127 ? 127 - b : b - 127;
        int t = int(std::floor(double(d) * double(f)));
        int e = t - d;
        int v;
        if (b <= 127) {
            v = amount >= 0 ? std::max(b - e, 0) : std::min(b + e, 127);
        } else {
            v = amount >= 0 ? std::min(b + e, 255) : std::max(b - e, 127);
        }
        table[b] = uint8_t(v);
    }
    MapBytes(dib, table);
}
