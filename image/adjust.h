#pragma once

// Scale, brightness and contrast: the three adjustments the user applies to the picture
// before skins are cut from it. All work on 24-bit pictures; each is one pass.

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

// Adds amount x 128 / 100 (at most 127 either way) to every byte, saturating. Amounts
// outside -100..100 change nothing.
void DibAdjustBrightness(Dib* dib, int amount);

// Pushes every byte away from 127 (amount > 0) or pulls it toward 127 (amount < 0) by the
// factor 32/9e-6 x a^3 + a/90 + 1 of a = |amount|. Amounts outside -100..100 change nothing.
void DibAdjustContrast(Dib* dib, int amount);
