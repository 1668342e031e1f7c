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

std::unique_ptr<Dib> DibScaleDown(const Dib* src, int32_t newWidth, int32_t newHeight) {
    if (!Is24(src) || newWidth > src->Width() || newHeight > src->Height()) {
        return nullptr;
    }
    auto out = DibCreateLike(src, newWidth, newHeight);
    if (!out || newWidth == 0 || newHeight == 0) {
        return out;
    }
    const int32_t w = src->Width();
    const int32_t h = src->Height();
    // The steps are 32-bit floats; a position i x step is exact in double precision, so it
    // equals the sum of i steps that the positions are defined by.
    const float rx = float(double(w) / double(newWidth));
    const float ry = float(double(h) / double(newHeight));

    std::vector<int32_t> columns(static_cast<size_t>(newWidth));
    std::vector<uint8_t> leftToo(static_cast<size_t>(newWidth));
    std::vector<int32_t> skipped; // the columns that average in their left neighbour
    for (int32_t i = 0; i < newWidth; i++) {
        columns[i] = std::min(int32_t(std::floor(double(i) * double(rx))), w - 1);
        leftToo[i] = i > 0 && columns[i] - columns[i - 1] > 1;
        if (leftToo[i]) {
            skipped.push_back(i);
        }
    }
    int32_t previousRow = 0;
    for (int32_t j = 0; j < newHeight; j++) {
        int32_t y = std::min(int32_t(std::floor(double(j) * double(ry))), h - 1);
        bool aboveToo = j > 0 && y - previousRow > 1;
        previousRow = y;
        const uint8_t* row = src->Row(y);
        const uint8_t* above = aboveToo ? src->Row(y - 1) : nullptr;
        uint8_t* to = out->Row(j);
        if (newWidth == w && !above) {
            std::memcpy(to, row, 3 * size_t(w)); // every column kept, nothing to average
            continue;
        }
        if (!above) {
            // Most rows: take each column's pixel, then average in the left neighbour of
            // the columns that follow a skip.
            for (int32_t i = 0; i < newWidth; i++) {
                std::memcpy(to + 3 * size_t(i), row + 3 * size_t(columns[i]), 3);
            }
            for (int32_t i : skipped) {
                const uint8_t* p = row + 3 * size_t(columns[i]);
                for (int c = 0; c < 3; c++) {
                    to[3 * size_t(i) + c] = uint8_t((p[c] + p[c - 3]) / 2);
                }
            }
            continue;
        }
        for (int32_t i = 0; i < newWidth; i++, to += 3) {
            const uint8_t* p = row + 3 * size_t(columns[i]);
            const uint8_t* q = above + 3 * size_t(columns[i]);
            for (int c = 0; c < 3; c++) {
                to[c] = leftToo[i] ? uint8_t((p[c] + p[c - 3] + q[c]) / 3)
                                   : uint8_t((p[c] + q[c]) / 2);
            }
        }
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
