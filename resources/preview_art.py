#!/usr/bin/python3
"""Preview the built-in template pieces (needs PIL: run with /usr/bin/python3).

    /usr/bin/python3 resources/preview_art.py [OUTDIR]
    /usr/bin/python3 resources/preview_art.py --template FOLDER [OUTDIR]

Builds the pieces with artgen, then writes to OUTDIR (default
/tmp/art-preview):

  piece-<id>-<name>.png   each piece 4x: raw, shaded over a neutral grey
                          picture, shaded over a colourful picture
  mock-main-<pic>.png     main window as a player draws it (normal + shade
                          mode), with title text, digits, song title
                          "KORVANE #1 *** 128 44", bit rate and sample rate
  mock-eq-<pic>.png       equalizer window as a player draws it
  mock-pl-<pic>.png       playlist editor (350 x 174) and its shade bar
  sheet-<bitmap>-<pic>.png  the composed skin bitmaps (titlebar, cbuttons...)
  font-sample.png         the font as a player and as the title writer use it

<pic> is grey (neutral, white on black), photo (colourful), night (the
colourful picture darkened, amber text) or paper (washed out, light).

With --template the mock windows are drawn with a template folder's files
in place of the built-in pieces (see template_main below).

The composition follows the recipes of the program (main, title bar, buttons,
equalizer, playlist), simplified only where nothing visual depends on it.
"""

import math
import os
import sys

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)
import artgen  # noqa: E402

ZOOM = 4
CODES = {
    (0, 0, 0): ('shade', -63), (128, 128, 128): ('shade', -37),
    (192, 192, 192): ('shade', 38), (255, 255, 255): ('shade', 64),
    (0, 128, 0): ('back', None), (255, 255, 0): ('text', None),
    (128, 128, 0): ('paint', (128, 128, 128)),
    (0, 255, 0): ('paint', (192, 192, 192)),
    (255, 0, 255): ('paint', (0, 255, 0)),
}
KEYS = ((0, 0, 255), (0, 0, 128))


def clamp(v):
    return 0 if v < 0 else 255 if v > 255 else v


class Scheme:
    def __init__(self, name, picture, back, text):
        self.name, self.picture, self.back, self.text = (name, picture,
                                                         back, text)


# ----------------------------------------------------------------------
# pictures
# ----------------------------------------------------------------------

def grey_picture(w, h):
    return Image.new('RGB', (w, h), (128, 128, 128))


def photo_picture(w, h):
    """A deterministic, photo-like colourful picture: a sky-to-sunset
    gradient, a soft sun, rolling hills, a little grain."""
    im = Image.new('RGB', (w, h))
    px = im.load()
    for y in range(h):
        for x in range(w):
            t = y / h
            r = 40 + 180 * t + 30 * math.sin(x / 37.0)
            g = 70 + 90 * math.sin(1.3 + t * 2.2) + 20 * math.cos(x / 53.0)
            b = 200 - 150 * t + 25 * math.sin((x + y) / 29.0)
            d = math.hypot(x - w * 0.7, y - h * 0.3)
            if d < 60:
                k = 1 - d / 60
                r += 90 * k
                g += 70 * k
                b -= 40 * k
            hill = h * 0.62 + 28 * math.sin(x / 41.0) + 14 * math.sin(x / 13.0)
            if y > hill:
                r, g, b = r * 0.35, g * 0.7 + 30, b * 0.3
            n = ((x * 7349 + y * 9157) ^ (x * y * 31)) % 23 - 11
            px[x, y] = (clamp(int(r + n)), clamp(int(g + n)),
                        clamp(int(b + n)))
    return im


# ----------------------------------------------------------------------
# the composer's primitives on PIL images
# ----------------------------------------------------------------------

def shade_pixel(px, x, y, d):
    r, g, b = px[x, y]
    px[x, y] = (clamp(r + d), clamp(g + d), clamp(b + d))


def shade_template(dst, dx, dy, w, h, mask, sx, sy, back, text):
    dp, mp = dst.load(), mask.load()
    for j in range(h):
        for i in range(w):
            x, y = dx + i, dy + j
            if not (0 <= x < dst.width and 0 <= y < dst.height):
                continue
            if not (0 <= sx + i < mask.width and 0 <= sy + j < mask.height):
                continue
            code = CODES.get(mp[sx + i, sy + j])
            if code is None:
                continue
            kind, v = code
            if kind == 'shade':
                shade_pixel(dp, x, y, v)
            elif kind == 'back':
                dp[x, y] = back
            elif kind == 'text':
                dp[x, y] = text
            else:
                dp[x, y] = v


def copy_keyed(dst, dx, dy, w, h, tpl, sx, sy):
    dp, tp = dst.load(), tpl.load()
    for j in range(h):
        for i in range(w):
            v = tp[sx + i, sy + j]
            if v in KEYS:
                continue
            if 0 <= dx + i < dst.width and 0 <= dy + j < dst.height:
                dp[dx + i, dy + j] = v


def copy(dst, dx, dy, w, h, src, sx, sy):
    dst.paste(src.crop((sx, sy, sx + w, sy + h)), (dx, dy))


def fill(dst, l, t, r, b, col):
    dst.paste(col, (l, t, r, b))


def frame(dst, l, t, r, b, p1, p2):
    amt = {25: 32, -25: -31, 50: 64, -50: -63, 30: 38, -30: -37}
    px = dst.load()
    for x in range(l, r + 1):
        shade_pixel(px, x, t, amt[p1])
        shade_pixel(px, x, b, amt[p2])
    for y in range(t + 1, b):
        shade_pixel(px, l, y, amt[p1])
        shade_pixel(px, r, y, amt[p2])


# ----------------------------------------------------------------------
# composition (the program's recipes)
# ----------------------------------------------------------------------

PLACEMENT = {
    (139, 0): ('main', 0, 0, 275, 116, 0, 0),
    (105, 0): ('titlebar', 0, 0, 27, 43, 0, 0),
    (107, 0): ('titlebar', 192, 44, 60, 9, 0, 0),
    (106, 0): ('titlebar', 304, 0, 40, 87, 0, 0),
    (104, 0): ('cbuttons', 0, 0, 136, 36, 0, 0),
    (108, 0): ('shufrep', 0, 0, 92, 85, 0, 0),
    (109, 0): ('monoster', 0, 0, 58, 24, 0, 0),
    (140, 0): ('posbar', 0, 0, 248, 10, 0, 0),
    (157, 1): ('eqmain', 0, 116, 9, 18, 0, 0),
    (157, 2): ('eqmain', 10, 119, 117, 12, 10, 0),
    (157, 3): ('eqmain', 128, 119, 117, 12, 10, 12),
    (157, 4): ('eqmain', 224, 164, 44, 24, 128, 0),
    (158, 0): ('eqmain', 0, 294, 113, 21, 0, 0),
    (152, 0): ('eqmain', 0, 0, 275, 116, 0, 0),
    (155, 0): ('pledit', 0, 0, 280, 110, 0, 0),
    (160, 0): ('pledit', 0, 111, 253, 75, 0, 0),
    (123, 1): ('posbar', 248, 0, 59, 10, 0, 0),
    (123, 2): ('volume', 0, 422, 29, 11, 60, 0),
    (154, 0): ('eqmain', 13, 164, 209, 129, 0, 0),
    (159, 0): ('eqmain', 0, 164, 11, 23, 0, 0),
    (156, 0): ('pledit', 52, 53, 17, 18, 0, 0),
}
KEYED = {123, 154, 156, 159, 162}


class Composer:
    def __init__(self, pieces, scheme, title='created by Korvane'):
        self.p = pieces
        self.s = scheme
        self.title = title
        self.bm = {}

    def band(self, k):
        pic = self.s.picture
        # three consecutive 116-row bands from the top-left of the picture
        return pic.crop((0, 116 * k, 275, 116 * k + 116)).copy()

    def apply(self, dib, pid, variant=0):
        _, x, y, w, h, sx, sy = PLACEMENT[(pid, variant)]
        if pid in KEYED:
            copy_keyed(dib, x, y, w, h, self.p[pid], sx, sy)
        else:
            shade_template(dib, x, y, w, h, self.p[pid], sx, sy,
                           self.s.back, self.s.text)

    def new(self, w, h, col=(0, 0, 0)):
        return Image.new('RGB', (w, h), col)

    def make(self):
        back, text = self.s.back, self.s.text
        band = self.band(0)
        main = band.copy()
        self.apply(main, 139)
        mp = main.load()
        for xy in ((73, 30), (74, 30), (73, 34), (74, 34)):
            mp[xy] = text
        T = self.new(344, 87)
        copy(T, 27, 0, 275, 14, main, 0, 0)
        copy(T, 0, 0, 9, 9, T, 33, 3)
        copy(T, 9, 0, 9, 9, T, 271, 3)
        copy(T, 18, 0, 9, 9, T, 291, 3)
        copy(T, 0, 9, 27, 9, T, 0, 0)
        copy(T, 0, 18, 9, 9, T, 281, 3)
        copy(T, 9, 18, 9, 9, T, 281, 3)
        copy(T, 0, 27, 18, 9, T, 0, 18)
        fill(T, 0, 36, 26, 43, back)
        self.apply(T, 105)
        copy(T, 33, 3, 9, 9, T, 0, 0)
        copy(T, 271, 3, 9, 9, T, 9, 0)
        copy(T, 281, 3, 9, 9, T, 0, 18)
        copy(T, 291, 3, 9, 9, T, 18, 0)
        for y in (15, 58, 73):
            copy(T, 27, y, 275, 14, T, 27, 0)
        copy(T, 27, 42, 275, 14, band, 0, 0)
        frame(T, 27, 42, 301, 55, 25, -50)
        frame(T, 28, 43, 300, 54, 50, -25)
        copy(T, 33, 45, 9, 9, T, 0, 0)
        copy(T, 271, 45, 9, 9, T, 9, 0)
        copy(T, 281, 45, 9, 9, T, 0, 27)
        copy(T, 291, 45, 9, 9, T, 18, 0)
        frame(T, 104, 44, 145, 53, -50, 50)
        fill(T, 105, 45, 145, 53, back)
        frame(T, 152, 44, 185, 53, -50, 50)
        fill(T, 153, 45, 185, 53, back)
        tp = T.load()
        for xy in ((171, 48), (172, 48), (171, 50), (172, 50)):
            tp[xy] = text
        frame(T, 252, 44, 270, 53, -50, 50)
        fill(T, 253, 45, 270, 53, back)
        self.apply(T, 107)
        copy(T, 27, 29, 275, 14, T, 27, 42)
        copy(T, 312, 0, 8, 43, main, 10, 22)
        copy(T, 304, 0, 8, 43, main, 10, 22)
        for i in range(5):
            copy(T, 304 + 8 * i, 44, 8, 43, T, 304, 0)
        self.apply(T, 106)

        C = self.new(136, 36)
        copy(C, 0, 0, 114, 18, main, 16, 88)
        copy(C, 0, 18, 114, 18, main, 16, 88)
        copy(C, 114, 0, 22, 16, main, 136, 89)
        copy(C, 114, 16, 22, 16, main, 136, 89)
        self.apply(C, 104)

        S = self.new(92, 85)
        for y in (0, 15, 30, 45):
            copy(S, 28, y, 47, 15, main, 164, 89)
            copy(S, 0, y, 28, 15, main, 210, 89)
        for y in (61, 73):
            copy(S, 0, y, 46, 12, main, 219, 58)
            copy(S, 46, y, 46, 12, main, 219, 58)
        self.apply(S, 108)

        M = self.new(58, 24)
        for y in (0, 12):
            copy(M, 0, y, 29, 12, main, 239, 41)
            copy(M, 29, y, 29, 12, main, 212, 41)
        self.apply(M, 109)

        B = self.new(307, 10)
        copy(B, 0, 0, 248, 10, main, 16, 72)
        self.apply(B, 140)
        self.apply(B, 123, 1)

        V = self.new(68, 433)
        for i in range(28):
            copy(V, 0, 15 * i, 68, 13, main, 107, 57)
        self.apply(V, 123, 2)
        BAL = V.copy()
        for i in range(28):
            copy(BAL, 9, 15 * i, 38, 13, main, 177, 57)

        N = self.new(99, 13)
        for i in range(11):
            copy(N, 9 * i, 0, 9, 13, main, 36, 26)
        shade_template(N, 0, 0, 99, 13, self.p[110], 0, 0, back, text)

        X = self.new(155, 18)
        for i in range(31):
            for j in range(3):
                copy(X, 5 * i, 6 * j, 5, 6, main, 112, 27)
        shade_template(X, 0, 0, 155, 18, self.p[111], 0, 0, back, text)

        P = self.new(42, 9)
        copy(P, 1, 0, 8, 9, main, 27, 28)
        copy(P, 36, 0, 3, 9, main, 24, 28)
        copy(P, 39, 0, 3, 9, main, 24, 28)
        copy(P, 9, 0, 9, 9, main, 26, 28)
        copy(P, 18, 0, 9, 9, main, 26, 28)
        copy(P, 27, 0, 2, 9, main, 24, 28)
        shade_template(P, 0, 0, 42, 9, self.p[112], 0, 0, back, text)

        self.bm.update(main=main, titlebar=T, cbuttons=C, shufrep=S,
                       monoster=M, posbar=B, volume=V, balance=BAL,
                       numbers=N, text=X, playpaus=P)
        self.title_text(band)
        self.make_eq()
        self.make_pl()
        return self.bm

    # title text, embossed (the "Soft" colours)
    def title_text(self, band):
        from glyph_table import CELLS
        strip = band.crop((18, 4, 238, 12)).copy()
        font = self.p[111]
        fp = font.load()
        glyph = Image.new('RGB', (220, 8), (0, 0, 255))
        pen = 0
        for ch in self.title:
            code = ord(ch)
            if code < 32 or code > 126:
                continue
            x, y, w = CELLS[ch.upper() if 'a' <= ch <= 'z' else ch]
            glyph.paste(font.crop((x, y, x + w, y + 6)), (pen, 0))
            pen += w
            if pen >= 220:
                break
        gp = glyph.load()
        relief = Image.new('RGB', (220, 8), (0, 0, 255))
        rp = relief.load()
        for y in range(8):
            for x in range(220):
                if gp[x, y] == (255, 255, 0):
                    if x + 1 < 220 and y + 1 < 8:
                        rp[x + 1, y + 1] = (128, 128, 128)
                    rp[x, y] = (192, 192, 192)
        shade_template(strip, 0, 0, 220, 8, relief, 0, 0, (0, 0, 0),
                       (0, 0, 0))
        self.bm['main'].paste(strip, (18, 4))
        for y in (4, 19, 62, 77):
            self.bm['titlebar'].paste(strip, (45, y))

    def make_eq(self):
        band = self.band(1)
        E = self.new(275, 315, (255, 255, 255))
        copy(E, 0, 0, 275, 116, band, 0, 0)
        self.apply(E, 152)
        for x in (10, 69, 128, 187):
            copy(E, x, 119, 58, 12, E, 14, 18)
        copy(E, 224, 164, 44, 12, E, 217, 18)
        copy(E, 224, 176, 44, 12, E, 217, 18)
        copy(E, 0, 294, 113, 19, E, 86, 17)
        copy(E, 0, 314, 113, 1, E, 86, 26)
        copy(E, 0, 116, 9, 9, E, 264, 3)
        copy(E, 0, 125, 9, 9, E, 264, 3)
        for v in (1, 2, 3, 4):
            self.apply(E, 157, v)
        self.apply(E, 158)
        copy(E, 0, 134, 275, 14, E, 0, 0)
        copy(E, 0, 149, 275, 14, E, 0, 0)
        copy(E, 264, 137, 9, 9, E, 0, 116)
        copy(E, 264, 152, 9, 9, E, 0, 116)
        for x in range(13, 209, 15):
            copy(E, x, 164, 14, 64, E, 21, 38)
        copy(E, 13, 229, 209, 64, E, 13, 164)
        copy(E, 0, 164, 11, 11, E, 22, 63)
        copy(E, 0, 176, 11, 11, E, 22, 63)
        self.apply(E, 154)
        self.apply(E, 159)
        ep = E.load()
        from_colors = __import__('pieces').EQ_GRAPH_COLORS
        for i, col in enumerate(from_colors):
            ep[115, 294 + i] = col
        self.bm['eqmain'] = E

    def make_pl(self):
        band = self.band(2)
        L = self.new(280, 190, (255, 255, 255))
        copy(L, 26, 0, 100, 20, band, 87, 0)
        copy(L, 26, 21, 100, 20, band, 87, 0)
        copy(L, 52, 42, 9, 9, band, 264, 3)
        copy(L, 62, 42, 9, 9, band, 255, 3)
        copy(L, 150, 42, 9, 9, band, 255, 3)
        copy(L, 0, 42, 12, 29, band, 0, 20)
        copy(L, 31, 42, 20, 29, band, 255, 20)
        for y in (0, 21):
            copy(L, 127, y, 25, 20, band, 62, 0)
            copy(L, 0, y, 25, 20, band, 0, 0)
            copy(L, 153, y, 25, 20, band, 250, 0)
        copy(L, 0, 72, 125, 38, band, 0, 78)
        copy(L, 126, 72, 150, 38, band, 125, 78)
        copy(L, 179, 0, 25, 38, band, 125, 78)
        copy(L, 205, 0, 75, 38, band, 150, 78)
        groups = ((0, 23, 48, 11, 14, 54), (54, 77, 100, 40, 43, 72),
                  (104, 127, 150, 69, 72, 54), (154, 177, 200, 98, 101, 54),
                  (204, 227, 250, 228, 231, 54))
        for x1, x2, bar, bsx, tsx, bh in groups:
            copy(L, bar, 111, 3, bh, band, bsx, 49 if bh == 54 else 32)
            ys = ((149, 86), (130, 68), (111, 50)) + (
                ((168, 32),) if bh == 72 else ())
            for dy, sy in ys:
                copy(L, x1, dy, 22, 18, band, tsx, sy)
                copy(L, x2, dy, 22, 18, band, tsx, sy)
        copy(L, 72, 42, 25, 14, band, 0, 0)
        copy(L, 72, 57, 25, 14, band, 25, 0)
        copy(L, 99, 42, 50, 14, band, 225, 0)
        copy(L, 99, 57, 50, 14, band, 225, 0)
        self.apply(L, 155)
        self.apply(L, 160)
        self.apply(L, 156)
        for dx, sx in ((14, 0), (43, 54), (72, 104), (101, 154), (232, 204)):
            copy(L, dx, 80, 22, 18, L, sx, 149)
        self.bm['pledit'] = L


# ----------------------------------------------------------------------
# drawing as a player does
# ----------------------------------------------------------------------

PLAYER_CELLS = {}


def _player_cells():
    row0 = 'ABCDEFGHIJKLMNOPQRSTUVWXYZ"@'
    for i, ch in enumerate(row0):
        PLAYER_CELLS[ch] = (5 * i, 0)
    PLAYER_CELLS[' '] = (150, 0)
    row1 = '0123456789\u2026.:()-\'!_+\\/[]^&%,=$#'
    for i, ch in enumerate(row1):
        PLAYER_CELLS[ch] = (5 * i, 6)
    PLAYER_CELLS['?'] = (15, 12)
    PLAYER_CELLS['*'] = (20, 12)
    PLAYER_CELLS['<'] = PLAYER_CELLS['[']
    PLAYER_CELLS['>'] = PLAYER_CELLS[']']


_player_cells()


def player_text(dst, x, y, s, textbmp, cells=None):
    for k, ch in enumerate(s):
        cx, cy = PLAYER_CELLS.get(ch.upper(), (150, 0))
        copy(dst, x + 5 * k, y, 5, 6, textbmp, cx, cy)


def mock_main(bm, scheme):
    W = bm['main'].copy()
    T, C, S = bm['titlebar'], bm['cbuttons'], bm['shufrep']
    copy(W, 0, 0, 275, 14, T, 27, 0)
    copy(W, 6, 3, 9, 9, T, 0, 0)
    copy(W, 244, 3, 9, 9, T, 9, 0)
    copy(W, 254, 3, 9, 9, T, 0, 18)
    copy(W, 264, 3, 9, 9, T, 18, 9)         # close shown pressed
    copy(W, 10, 22, 8, 43, T, 304, 0)
    copy(W, 10, 22 + 11, 8, 7, T, 312, 55)  # clutter A pressed
    P = bm['playpaus']
    copy(W, 26, 28, 9, 9, P, 0, 0)
    copy(W, 24, 28, 3, 9, P, 36, 0)
    N = bm['numbers']
    copy(W, 38, 32, 5, 1, N, 20, 6)
    for x, d in ((48, 1), (60, 2), (78, 3), (90, 8)):
        copy(W, x, 26, 9, 13, N, 9 * d, 0)
    X = bm['text']
    song = 'KORVANE #1 *** 128 44 (A-Z) 0:59'
    player_text(W, 111, 27, (song + ' ' * 31)[:31], X)
    player_text(W, 111, 43, '128', X)
    player_text(W, 156, 43, '44', X)
    # a few spectrum bars
    wp = W.load()
    heights = (3, 7, 11, 14, 9, 6, 12, 15, 10, 5, 8, 13, 16, 7, 4, 9, 11,
               6, 3, 2)
    for k, hgt in enumerate(heights):
        for j in range(hgt):
            col = (clamp(40 + 13 * j), clamp(200 - 8 * j), 40)
            for i in range(3):
                wp[24 + 4 * k + i, 58 - j] = col
    M = bm['monoster']
    copy(W, 212, 41, 27, 12, M, 29, 12)
    copy(W, 239, 41, 29, 12, M, 0, 0)
    V, BAL = bm['volume'], bm['balance']
    copy(W, 107, 57, 68, 13, V, 0, 15 * 20)
    copy(W, 107 + 38, 58, 14, 11, V, 15, 422)
    copy(W, 177, 57, 38, 13, BAL, 9, 0)
    copy(W, 177 + 12, 58, 14, 11, BAL, 15, 422)
    copy(W, 219, 58, 23, 12, S, 0, 73)
    copy(W, 242, 58, 23, 12, S, 23, 61)
    B = bm['posbar']
    copy(W, 16, 72, 248, 10, B, 0, 0)
    copy(W, 16 + 80, 72, 29, 10, B, 248, 0)
    copy(W, 16, 88, 114, 18, C, 0, 0)
    copy(W, 39, 88, 23, 18, C, 23, 18)      # play shown pressed
    copy(W, 136, 89, 22, 16, C, 114, 0)
    copy(W, 164, 89, 47, 15, S, 28, 30)     # shuffle on
    copy(W, 210, 89, 28, 15, S, 0, 0)       # repeat off

    # shade mode
    H = Image.new('RGB', (275, 14))
    copy(H, 0, 0, 275, 14, T, 27, 29)
    copy(H, 6, 3, 9, 9, T, 0, 0)
    copy(H, 244, 3, 9, 9, T, 9, 0)
    copy(H, 254, 3, 9, 9, T, 0, 27)
    copy(H, 264, 3, 9, 9, T, 18, 0)
    for x in (128, 134, 139, 147, 152):
        player_text(H, x, 4, ' ', X)
    player_text(H, 128, 4, '-', X)
    for x, ch in ((134, '1'), (139, '2'), (147, '3'), (152, '8')):
        player_text(H, x, 4, ch, X)
    copy(H, 226, 4, 17, 7, T, 0, 36)
    copy(H, 226 + 7, 4, 3, 7, T, 20, 36)
    hp = H.load()
    for k in range(19):
        for j in range(1 + (k * 7) % 5):
            hp[79 + 2 * k, 9 - j] = (60, 220, 60)
    out = Image.new('RGB', (275, 116 + 6 + 14), (40, 40, 40))
    out.paste(W, (0, 0))
    out.paste(H, (0, 122))
    return out


def mock_eq(bm, pieces):
    E = bm['eqmain']
    W = E.crop((0, 0, 275, 116)).copy()
    copy(W, 0, 0, 275, 14, E, 0, 134)
    copy(W, 264, 3, 9, 9, E, 0, 116)
    copy(W, 14, 18, 26, 12, E, 69, 119)     # ON, on
    copy(W, 40, 18, 32, 12, E, 36, 119)     # AUTO, off
    copy(W, 217, 18, 44, 12, E, 224, 164)
    copy(W, 86, 17, 113, 19, E, 0, 294)
    copy(W, 86, 17 + 6, 113, 1, E, 0, 314)
    copy_keyed(W, 86, 17, 113, 19, pieces[162], 0, 0)
    levels = (0.5, 0.95, 0.8, 0.55, 0.35, 0.2, 0.2, 0.35, 0.55, 0.8, 0.95)
    xs = (21,) + tuple(78 + 18 * i for i in range(10))
    for x, lv in zip(xs, levels):
        k = int(round(lv * 27))
        fx, fy = 13 + 15 * (k % 14), 164 + 65 * (k // 14)
        copy(W, x, 38, 14, 63, E, fx, fy)
        ky = int(round((1 - lv) * 51))
        copy(W, x + 1, 38 + ky, 11, 11, E, 0, 164 if x != 96 else 176)
    out = Image.new('RGB', (275, 116 + 6 + 116), (40, 40, 40))
    out.paste(W, (0, 0))
    # inactive title bar and pressed states underneath for comparison
    W2 = W.copy()
    copy(W2, 0, 0, 275, 14, E, 0, 149)
    copy(W2, 264, 3, 9, 9, E, 0, 125)
    copy(W2, 14, 18, 26, 12, E, 128, 119)
    copy(W2, 40, 18, 32, 12, E, 213, 119)
    copy(W2, 217, 18, 44, 12, E, 224, 176)
    out.paste(W2, (0, 122))
    return out


def mock_pl(bm, back=(0, 0, 0)):
    L, X = bm['pledit'], bm['text']
    n, m = 3, 2
    Wd, Ht = 275 + 25 * n, 116 + 29 * m
    W = Image.new('RGB', (Wd, Ht), back)
    copy(W, 0, 0, 25, 20, L, 0, 0)
    x = 25
    while x < Wd - 25:
        copy(W, x, 0, 25, 20, L, 127, 0)
        x += 25
    copy(W, (Wd - 100) // 2, 0, 100, 20, L, 26, 0)
    copy(W, Wd - 25, 0, 25, 20, L, 153, 0)
    y = 20
    while y < Ht - 38:
        copy(W, 0, y, 12, 29, L, 0, 42)
        copy(W, Wd - 20, y, 20, 29, L, 31, 42)
        y += 29
    copy(W, Wd - 20 + 5, 20 + 10, 8, 18, L, 52, 53)
    x = 125
    while x < Wd - 150:
        copy(W, x, Ht - 38, 25, 38, L, 179, 0)
        x += 25
    copy(W, 0, Ht - 38, 125, 38, L, 0, 72)
    copy(W, Wd - 150, Ht - 38, 150, 38, L, 126, 72)
    if Wd >= 350:
        copy(W, Wd - 150 - 75, Ht - 38, 75, 38, L, 205, 0)
    player_text(W, Wd - 150 + 7, Ht - 38 + 10, '3:12/45:08', X)
    player_text(W, Wd - 150 + 66, Ht - 38 + 23, ' 1:28', X)
    for k, s in enumerate(('1. KORVANE - FIRST LIGHT', '2. SECOND SONG',
                           '3. THIRD ONE (LIVE)')):
        player_text(W, 16, 24 + 10 * k, s, X)
    # the "add" menu opened upwards from its button
    by = Ht - 12 - 18
    for k, (sy, hi) in enumerate(((149, False), (130, True), (111, False))):
        copy(W, 14, by - 19 * k, 22, 18, L, 23 if hi else 0, sy)
    copy(W, 11, by - 38, 3, 54, L, 48, 111)
    # shade bar
    H = Image.new('RGB', (Wd, 14))
    copy(H, 0, 0, 25, 14, L, 72, 42)
    x = 25
    while x < Wd - 50:
        copy(H, x, 0, 25, 14, L, 72, 57)
        x += 25
    copy(H, Wd - 50, 0, 50, 14, L, 99, 42)
    player_text(H, 5, 4, '1. KORVANE - FIRST LIGHT', X)
    player_text(H, Wd - 50 - 2, 4, '3:12', X)
    H2 = H.copy()
    copy(H2, Wd - 50, 0, 50, 14, L, 99, 57)
    out = Image.new('RGB', (Wd, Ht + 6 + 14 + 4 + 14), (40, 40, 40))
    out.paste(W, (0, 0))
    out.paste(H, (0, Ht + 6))
    out.paste(H2, (0, Ht + 6 + 18))
    return out


def zoom(im, z=ZOOM):
    return im.resize((im.width * z, im.height * z), Image.NEAREST)


def stack(images, gap=8, bg=(40, 40, 40)):
    w = max(i.width for i in images)
    h = sum(i.height for i in images) + gap * (len(images) - 1)
    out = Image.new('RGB', (w, h), bg)
    y = 0
    for i in images:
        out.paste(i, (0, y))
        y += i.height + gap
    return out


def side(images, gap=8, bg=(40, 40, 40)):
    h = max(i.height for i in images)
    w = sum(i.width for i in images) + gap * (len(images) - 1)
    out = Image.new('RGB', (w, h), bg)
    x = 0
    for i in images:
        out.paste(i, (x, 0))
        x += i.width + gap
    return out


def main(argv):
    if len(argv) > 1 and argv[1] == '--template':
        return template_main(argv[2:])
    out = argv[1] if len(argv) > 1 else '/tmp/art-preview'
    os.makedirs(out, exist_ok=True)
    bmpdir = os.path.join(out, 'bmp')
    artgen.main(['artgen', bmpdir])
    import pieces as piece_mod
    pieces = {pid: Image.open(os.path.join(bmpdir, '%d.bmp' % pid))
              .convert('RGB') for pid in artgen.PIECE_IDS}

    grey = Scheme('grey', grey_picture(275, 348), (0, 0, 0),
                  (255, 255, 255))
    photo = Scheme('photo', photo_picture(275, 348), (0x1A, 0x2A, 0x1A),
                   (0x40, 0xFF, 0x40))

    night = Scheme('night', photo.picture.point(lambda v: v * 3 // 10),
                   (0, 0, 0), (0xFF, 0xD0, 0x40))
    paper = Scheme('paper', photo.picture.point(lambda v: 200 + v // 5),
                   (0x20, 0x30, 0x20), (0xC0, 0xFF, 0xC0))

    # per-piece sheets
    for pid, im in pieces.items():
        views = [im]
        for sc in (grey, photo):
            base = sc.picture.crop((0, 0, im.width, im.height)).copy()
            if base.size != im.size:
                base = base.resize(im.size)
            if pid in KEYED:
                copy_keyed(base, 0, 0, im.width, im.height, im, 0, 0)
            else:
                shade_template(base, 0, 0, im.width, im.height, im, 0, 0,
                               sc.back, sc.text)
            views.append(base)
        name = piece_mod.NAMES[pid].replace('/', '-').replace(' ', '-')
        sheet = stack([zoom(v) for v in views]) if im.width > 120 else \
            side([zoom(v) for v in views])
        sheet.save(os.path.join(out, 'piece-%d-%s.png' % (pid, name)))

    # font samples: fixed cells as a player draws them, and proportional
    # cells as the title writer does
    bm = Composer(pieces, grey).make()
    samples = ('THE QUICK BROWN FOX JUMPS', 'OVER THE LAZY DOG.',
               'MINIMUM WAVY HAMMER QUIZ', '0123456789 -:()[]/\\',
               '"@ !_+^&%,=$#?* \'X\' ...', 'KORVANE #1 *** 128 44')
    lines = []
    for s in samples:
        im = Image.new('RGB', (5 * len(s) + 4, 8), grey.back)
        player_text(im, 2, 1, s, bm['text'])
        lines.append(zoom(im, 6))
    from glyph_table import CELLS
    font = pieces[111]
    for s in ('The quick brown fox: "TITLE" (1999) #1 * 100% @ A&B',
              'created by Korvane = ok? [x] {y} <z> a,b;c\'d`e ^_~|$'):
        im = Image.new('RGB', (6 * len(s), 8), (0, 0, 0))
        pen = 2
        for ch in s:
            x, y, w = CELLS[ch]
            cell = font.crop((x, y, x + w, y + 6))
            cp = cell.load()
            for j in range(6):
                for i in range(w):
                    if cp[i, j] == (255, 255, 0):
                        im.putpixel((pen + i, 1 + j), (255, 255, 255))
            pen += w
        lines.append(zoom(im.crop((0, 0, pen + 2, 8)), 6))
    stack(lines, gap=4).save(os.path.join(out, 'font-sample.png'))

    for sc in (grey, photo, night, paper):
        bm = Composer(pieces, sc).make()
        mock_main(bm, sc).resize((275 * 3, 136 * 3), Image.NEAREST).save(
            os.path.join(out, 'mock-main-%s.png' % sc.name))
        zoom(mock_eq(bm, pieces), 3).save(
            os.path.join(out, 'mock-eq-%s.png' % sc.name))
        zoom(mock_pl(bm, sc.back), 3).save(
            os.path.join(out, 'mock-pl-%s.png' % sc.name))
        for key in ('titlebar', 'cbuttons', 'shufrep', 'monoster', 'numbers',
                    'text', 'playpaus', 'eqmain', 'pledit', 'posbar'):
            zoom(bm[key], 3 if bm[key].width > 150 else 5).save(
                os.path.join(out, 'sheet-%s-%s.png' % (key, sc.name)))
    print('wrote', out)
    return 0


# ----------------------------------------------------------------------
# template folders
# ----------------------------------------------------------------------

# folder file name of each piece a template folder can replace
FOLDER_FILES = {
    139: 'main.bmp', 105: 'caption.bmp', 107: 'smallbtn.bmp',
    106: 'option.bmp', 104: 'button.bmp', 108: 'shufrep.bmp',
    109: 'stereo.bmp', 140: 'posbar.bmp', 157: 'eq_btn.bmp',
    158: 'eq_graph.bmp', 152: 'eq_main.bmp', 155: 'pl_main.bmp',
    160: 'pl_menu.bmp', 123: 'posvol.bmp', 154: 'eq_track.bmp',
    159: 'eq_trbtn.bmp', 156: 'pl_btn.bmp',
}


def read_folder(folder):
    """{piece id: (RGB image, bit count)} for every usable file of a
    template folder.  Like the program, 1-, 16- and 32-bit files (and
    anything unreadable) are skipped, so the built-in piece is used."""
    found = {}
    for pid, name in FOLDER_FILES.items():
        path = os.path.join(folder, name)
        if not os.path.isfile(path):
            continue
        with open(path, 'rb') as f:
            head = f.read(30)
        if len(head) < 30 or head[:2] != b'BM':
            continue
        bits = int.from_bytes(head[28:30], 'little')
        if bits < 4 or bits == 16 or bits > 24:
            continue
        try:
            im = Image.open(path).convert('RGB')
        except OSError:
            continue
        found[pid] = (im, bits)
    return found


class FolderComposer(Composer):
    """The composer with a template folder: a 4-bit folder file is shaded
    as colour codes, an 8- or 24-bit one is copied keyed, whatever the
    piece; pieces without a file use the built-in ones."""

    def __init__(self, pieces, scheme, folder_pieces, **kw):
        Composer.__init__(self, pieces, scheme, **kw)
        self.folder = folder_pieces

    def apply(self, dib, pid, variant=0):
        if pid not in self.folder:
            return Composer.apply(self, dib, pid, variant)
        _, x, y, w, h, sx, sy = PLACEMENT[(pid, variant)]
        im, bits = self.folder[pid]
        if bits == 4:
            shade_template(dib, x, y, w, h, im, sx, sy, self.s.back,
                           self.s.text)
        else:
            copy_keyed(dib, x, y, w, h, im, sx, sy)


def template_main(args):
    """preview_art.py --template FOLDER [OUTDIR]

    Writes to OUTDIR (default /tmp/art-preview/template-<folder name>):
      mock-main-<pic>.png, mock-eq-<pic>.png, mock-pl-<pic>.png
                       the mock windows with the folder's files in place
      compare-<window>-<pic>.png
                       built-in (top) and the folder (bottom), 2x
      file-<name>.png  each folder file 4x: raw, then applied over the grey
                       and the colourful picture
    """
    if not args:
        sys.stderr.write(template_main.__doc__)
        return 2
    folder = args[0].rstrip('/')
    out = args[1] if len(args) > 1 else os.path.join(
        '/tmp/art-preview', 'template-' + os.path.basename(folder)
        .replace(' ', '-'))
    os.makedirs(out, exist_ok=True)
    bmpdir = os.path.join(out, 'builtin-bmp')
    artgen.main(['artgen', bmpdir])
    pieces = {pid: Image.open(os.path.join(bmpdir, '%d.bmp' % pid))
              .convert('RGB') for pid in artgen.PIECE_IDS}
    folder_pieces = read_folder(folder)
    print('folder files used:', ', '.join(
        '%s (%d-bit)' % (FOLDER_FILES[p], b)
        for p, (_, b) in sorted(folder_pieces.items())) or 'none')

    grey = Scheme('grey', grey_picture(275, 348), (0, 0, 0),
                  (255, 255, 255))
    photo = Scheme('photo', photo_picture(275, 348), (0x1A, 0x2A, 0x1A),
                   (0x40, 0xFF, 0x40))
    night = Scheme('night', photo.picture.point(lambda v: v * 3 // 10),
                   (0, 0, 0), (0xFF, 0xD0, 0x40))

    for pid, (im, bits) in folder_pieces.items():
        views = [im]
        for sc in (grey, photo):
            base = sc.picture.crop((0, 0, im.width, im.height)).copy()
            if bits == 4:
                shade_template(base, 0, 0, im.width, im.height, im, 0, 0,
                               sc.back, sc.text)
            else:
                copy_keyed(base, 0, 0, im.width, im.height, im, 0, 0)
            views.append(base)
        sheet = stack([zoom(v) for v in views]) if im.width > 120 else \
            side([zoom(v) for v in views])
        sheet.save(os.path.join(out, 'file-%s.png'
                                % FOLDER_FILES[pid][:-4]))

    for sc in (grey, photo, night):
        bm = FolderComposer(pieces, sc, folder_pieces).make()
        ref = Composer(pieces, sc).make()
        views = {
            'main': (mock_main(bm, sc), mock_main(ref, sc)),
            'eq': (mock_eq(bm, pieces), mock_eq(ref, pieces)),
            'pl': (mock_pl(bm, sc.back), mock_pl(ref, sc.back)),
        }
        for key, (mine, builtin) in views.items():
            zoom(mine, 3).save(os.path.join(out, 'mock-%s-%s.png'
                                            % (key, sc.name)))
            zoom(stack([builtin, mine]), 2).save(
                os.path.join(out, 'compare-%s-%s.png' % (key, sc.name)))
        for key in ('titlebar', 'cbuttons', 'shufrep', 'posbar', 'volume',
                    'eqmain'):
            im = bm[key]
            if key == 'volume':
                im = im.crop((0, 390, 68, 433))
            zoom(im, 3 if im.width > 150 else 5).save(
                os.path.join(out, 'sheet-%s-%s.png' % (key, sc.name)))
    print('wrote', out)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
