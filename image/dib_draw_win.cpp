#include "image/dib_draw_win.h"

BOOL DibDraw(HDC dc, int x, int y, int width, int height, const Dib* dib, int sx, int sy,
             DWORD rop) {
    if (!dib) {
        return PatBlt(dc, x, y, width, height, rop);
    }
    // The block is a BITMAPINFOHEADER followed by its colour table and the rows, which is
    // exactly what SetDIBitsToDevice takes as bitmap info and bits. All rows are handed over:
    // GDI draws only source rows that lie inside the band of scan lines it was given, so a
    // band of just `height` rows would leave a view scrolled up from the bottom blank.
    const auto* info = reinterpret_cast<const BITMAPINFO*>(dib->Bytes());
    SetDIBitsToDevice(dc, x, y, DWORD(width), DWORD(height), sx, sy, 0, UINT(dib->Height()),
                      dib->Bytes() + dib->PixelOffset(), info, DIB_RGB_COLORS);
    return 1;
}
