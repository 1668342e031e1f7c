#pragma once

// Shorthands the skin recipes are written in: each step of a recipe is one line.

#include "image/dib.h"

// copy (dx, dy) w x h <- src (sx, sy)
inline void Copy(Dib* dst, int32_t dx, int32_t dy, int32_t w, int32_t h, const Dib* src,
                 int32_t sx, int32_t sy) {
    DibCopyRect(dst, dx, dy, w, h, src, sx, sy);
}

// fill [left, top, right, bottom) with a colour
inline void Fill(Dib* dst, int32_t left, int32_t top, int32_t right, int32_t bottom,
                 ColorRef color) {
    DibFillRect(dst, {left, top, right, bottom}, color);
}
