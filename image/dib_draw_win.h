#pragma once

#include <windows.h>

#include "image/dib.h"

// Paints width x height pixels of dib at (x, y) of dc, from the source point (sx, sy). The
// source y counts from the BOTTOM row of the picture, as SetDIBitsToDevice counts. With no
// picture the rectangle is filled with the raster operation alone (PatBlt) and its result
// returned; otherwise 1.
BOOL DibDraw(HDC dc, int x, int y, int width, int height, const Dib* dib, int sx, int sy,
             DWORD rop);
