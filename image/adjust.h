#pragma once

// Scale, brightness and contrast: the three adjustments the user applies to the picture
// before skins are cut from it. All work on 24-bit pictures; each is one pass.

#include <vector>

#include "image/dib.h"

// The scale actually used for a requested one, and the picture size it gives. A scale that
// would leave the picture smaller than one skin band is raised to the least scale that fits
// (raised is then true and the user is told); a scale above 100 is limited to 100, since a
// picture is only ever reduced.
struct ScalePlan {
    int scale = 100;
    int32_t width = 0;
    int32_t height = 0;
    bool raised = false;
};
ScalePlan PlanScale(int requestedScale, int32_t sourceWidth, int32_t sourceHeight);

// A reduced copy: each result pixel takes its source pixel, averaged with the pixel to its
// left where columns were skipped and with the pixel above where rows were skipped. nullptr
// for a missing or non-24-bit source, or a size larger than the source. The caller owns the
// result.
std::unique_ptr<Dib> DibScaleDown(const Dib* src, int32_t newWidth, int32_t newHeight);

// The same filter one result row at a time, for a reader that never holds the whole source
// (bmp_file.h's reduced read). Rows are counted from the top.
class ScaleDownRows {
  public:
    ScaleDownRows(int32_t width, int32_t height, int32_t newWidth, int32_t newHeight);
    // The source row result row j is taken from, and whether the row above it is averaged
    // in too (where source rows were skipped).
    int32_t SourceRow(int32_t j) const;
    bool TakesRowAbove(int32_t j) const;
    // Result row from source row `row` and, when TakesRowAbove, the row above it (else null).
    void Row(const uint8_t* row, const uint8_t* above, uint8_t* to) const;

  private:
    int32_t width_;
    int32_t height_;
    int32_t newWidth_;
    float ry_;
    std::vector<int32_t> columns_;
    std::vector<uint8_t> leftToo_;
};

// Adds amount x 128 / 100 (at most 127 either way) to every byte, saturating. Amounts
// outside -100..100 change nothing.
void DibAdjustBrightness(Dib* dib, int amount);

// Pushes every byte away from 127 (amount > 0) or pulls it toward 127 (amount < 0) by the
// factor 32/9e-6 x a^3 + a/90 + 1 of a = |amount|. Amounts outside -100..100 change nothing.
void DibAdjustContrast(Dib* dib, int amount);
