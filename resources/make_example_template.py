#!/usr/bin/env python3
"""Write the example template folder "Brushed Steel".

    python3 resources/make_example_template.py [OUTDIR]

OUTDIR defaults to templates/Brushed Steel/ next to resources/.  The folder
is a model for users who want to draw their own template and a fixture for
the tests.  It shows both ways a folder file can work:

  4-bit files are colour codes, shaded over the user's picture exactly like
  the built-in pieces (same legend as resources/art/codes.txt):
    main.bmp      brushed faceplate of the main window
    eq_main.bmp   the same faceplate for the equalizer

  8-bit and 24-bit files are keyed full-colour images, copied as they are
  except pure blue 0000FF and navy 000080, where the picture shows:
    button.bmp    brushed-metal transport keys with coloured symbols (24-bit)
    posvol.bmp    amber gel knobs of the position, volume and balance
                  sliders (8-bit)
    eq_trbtn.bmp  amber gel knob of the equalizer sliders (8-bit)

Every other piece falls back to the built-in one.  Standard library only;
the output is the same byte for byte on every run.
"""

import os
import struct
import sys

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, 'art'))

from draw import Canvas, CODE_RGB, KEY, mix   # noqa: E402
import pieces                                  # noqa: E402

NAME = 'Brushed Steel'
DEFAULT_OUT = os.path.join(os.path.dirname(HERE), 'templates', NAME)
LABEL = pieces.LABEL


# ----------------------------------------------------------------------
# BMP writers: 14-byte file header, 40-byte BITMAPINFOHEADER, no
# compression, bottom-up rows padded to 4 bytes, full colour table for the
# palette depths, biSizeImage filled in.
# ----------------------------------------------------------------------

# colour table of the 4-bit files: the eleven codes, the rest unused (zero)
CODE_ORDER = ('K', ',', 'D', 'O', 'G', 'S', '.', 'L', 'Y', 'M', 'W')


def _stride(w, bits):
    return ((w * bits + 31) // 32) * 4


def _bmp(w, h, bits, table, rows):
    # biClrUsed 0: the table is the full 16 or 256 entries of the depth
    off = 14 + 40 + len(table)
    fh = struct.pack('<2sIHHI', b'BM', off + len(rows), 0, 0, off)
    ih = struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, 0, len(rows),
                     0, 0, 0, 0)
    return fh + ih + bytes(table) + bytes(rows)


def encode4(c):
    index = {ch: i for i, ch in enumerate(CODE_ORDER)}
    table = bytearray(16 * 4)
    for i, ch in enumerate(CODE_ORDER):
        r, g, b = CODE_RGB[ch]
        table[4 * i:4 * i + 4] = bytes((b, g, r, 0))
    rows = bytearray()
    for y in range(c.h - 1, -1, -1):
        line = bytearray(_stride(c.w, 4))
        for x in range(c.w):
            v = c.px[y][x]
            if v not in index:
                raise ValueError('(%d, %d) is not a colour code: %r'
                                 % (x, y, v))
            line[x // 2] |= index[v] << (4 if x % 2 == 0 else 0)
        rows += line
    return _bmp(c.w, c.h, 4, table, rows)


def _check_rgb(c):
    for y in range(c.h):
        for x in range(c.w):
            v = c.px[y][x]
            if not (isinstance(v, tuple) and len(v) == 3):
                raise ValueError('(%d, %d) is not an RGB colour: %r'
                                 % (x, y, v))


def encode8(c):
    _check_rgb(c)
    colours = [KEY]
    seen = {KEY}
    for row in c.px:
        for v in row:
            if v not in seen:
                seen.add(v)
                colours.append(v)
    if len(colours) > 256:
        raise ValueError('%d colours do not fit an 8-bit table'
                         % len(colours))
    index = {v: i for i, v in enumerate(colours)}
    table = bytearray(256 * 4)
    for i, (r, g, b) in enumerate(colours):
        table[4 * i:4 * i + 4] = bytes((b, g, r, 0))
    rows = bytearray()
    for y in range(c.h - 1, -1, -1):
        line = bytearray(_stride(c.w, 8))
        for x in range(c.w):
            line[x] = index[c.px[y][x]]
        rows += line
    return _bmp(c.w, c.h, 8, table, rows)


def encode24(c):
    _check_rgb(c)
    rows = bytearray()
    for y in range(c.h - 1, -1, -1):
        line = bytearray(_stride(c.w, 24))
        for x in range(c.w):
            r, g, b = c.px[y][x]
            line[3 * x:3 * x + 3] = bytes((b, g, r))
        rows += line
    return _bmp(c.w, c.h, 24, b'', rows)


# ----------------------------------------------------------------------
# small helpers
# ----------------------------------------------------------------------

class Rng:
    """xorshift32: the same numbers on every machine and Python version."""

    def __init__(self, seed):
        self.s = seed & 0xFFFFFFFF or 1

    def next(self):
        s = self.s
        s ^= (s << 13) & 0xFFFFFFFF
        s ^= s >> 17
        s ^= (s << 5) & 0xFFFFFFFF
        self.s = s
        return s

    def below(self, n):
        return self.next() % n


def clamp(v):
    return 0 if v < 0 else 255 if v > 255 else int(v)


def safe(rgb):
    """Never hand out a key colour by accident in a keyed image."""
    r, g, b = (clamp(round(v)) for v in rgb)
    if (r, g) == (0, 0) and b in (0x80, 0xFF):
        b -= 1
    return (r, g, b)


def rounded(x, y, w, h, r):
    """Inside test of a rounded rectangle in pixel-centre coordinates."""
    def inside(px, py):
        if px < x or py < y or px >= x + w or py >= y + h:
            return False
        cx = min(max(px, x + r), x + w - r)
        cy = min(max(py, y + r), y + h - r)
        return (px - cx) ** 2 + (py - cy) ** 2 <= r * r
    return inside


def polygon(points):
    def inside(px, py):
        hit = False
        n = len(points)
        for k in range(n):
            x0, y0 = points[k]
            x1, y1 = points[(k + 1) % n]
            if (y0 > py) != (y1 > py):
                xc = x0 + (py - y0) * (x1 - x0) / (y1 - y0)
                if px < xc:
                    hit = not hit
        return hit
    return inside


def union(*shapes):
    return lambda px, py: any(s(px, py) for s in shapes)


def coverage(shape, x, y, n=4):
    """Share of pixel (x, y) covered by shape, n x n samples."""
    hit = 0
    for j in range(n):
        for i in range(n):
            if shape(x + (i + 0.5) / n, y + (j + 0.5) / n):
                hit += 1
    return hit / (n * n)


# ----------------------------------------------------------------------
# shaded faceplates (4-bit colour codes)
# ----------------------------------------------------------------------

def brush(c, x0, y0, w, h, seed, density=0.11):
    """Brushed-metal grain: long horizontal hairlines of lighten (S) and
    darken (G) codes, drawn only where the canvas is still blue.  Each row
    leans light or dark, so the lines group the way a brushed sheet
    catches the light."""
    rng = Rng(seed)
    for y in range(y0, y0 + h):
        lean = rng.below(3)            # 0 light, 1 dark, 2 even
        x = x0 - rng.below(40)
        while x < x0 + w:
            if rng.below(1000) < density * 1000:
                roll = rng.below(10)
                light = roll < (7 if lean == 0 else 3 if lean == 1 else 5)
                code, n = ('S' if light else 'G'), 6 + rng.below(50)
            else:
                code, n = None, 4 + rng.below(24)
            if code:
                for i in range(n):
                    if x0 <= x + i < x0 + w and c.get(x + i, y) == '.':
                        c.set(x + i, y, code)
            x += n


def clear(c, x, y, w, h):
    c.fill(x, y, w, h, '.')


def chamfer(c, x, y, w, h, code='.'):
    """Knock the four corner pixels off a box (a rounded look)."""
    for px, py in ((x, y), (x + w - 1, y), (x, y + h - 1),
                   (x + w - 1, y + h - 1)):
        c.set(px, py, code)


def plate(c, x, y, w, h):
    """A recessed smoked plate: the picture darkened, a dark rim on the
    top and left and a light one on the bottom and right, round corners."""
    c.fill(x, y, w, h, 'G')
    c.frame(x, y, w, h, 'K', 'W')
    chamfer(c, x, y, w, h)


def plates(c, rects):
    """Several boxes joined into one recessed plate: darkened inside, dark
    rim where the outline faces up or left, light where it faces down or
    right, corners rounded."""
    inside = set()
    for (x, y, w, h) in rects:
        for j in range(h):
            for i in range(w):
                inside.add((x + i, y + j))
    for (px, py) in sorted(inside):
        up, left = (px, py - 1) in inside, (px - 1, py) in inside
        down, right = (px, py + 1) in inside, (px + 1, py) in inside
        if not (up or left or down or right):
            continue
        if (not up and not left) or (not up and not right) or \
                (not down and not left) or (not down and not right):
            continue                        # a rounded corner
        if not up or not left:
            code = 'K'
        elif not down or not right:
            code = 'W'
        else:
            code = 'G'
        c.set(px, py, code)


def seat(c, x, y, w, h):
    """A thin engraved ring just outside a control that dresses itself."""
    c.frame(x - 1, y - 1, w + 2, h + 2, 'K', 'W')
    chamfer(c, x - 1, y - 1, w + 2, h + 2)


SCREW = ('.SWS.',
         'SWSKG',
         'WSKSG',
         'SKSGK',
         '.GKK.')


def screw(c, x, y):
    for j, row in enumerate(SCREW):
        for i, ch in enumerate(row):
            if ch != '.':
                c.set(x + i, y + j, ch)


def window_edge(c, w, h):
    """Outline, bevel and a header band darker than the body."""
    c.frame(0, 0, w, h, 'K', 'K', soft=False)
    c.frame(1, 1, w - 2, h - 2, 'W', 'G')
    c.frame(2, 2, w - 4, h - 4, 'S', 'K')
    for px, py in ((1, 1), (w - 2, 1), (1, h - 2), (w - 2, h - 2)):
        c.set(px, py, 'K')
    # header: rows 3-12 darkened with light pinstripes, a bright lip at 13
    for yy in range(3, 13):
        c.hline(3, yy, w - 6, 'G' if yy % 3 else 'S')
    c.hline(3, 13, w - 6, 'W')
    c.hline(3, 14, w - 6, 'K')


def header_slot(c, x, y, w, h):
    """A hole in the header for the title writer or the title buttons."""
    clear(c, x, y, w, h)
    c.frame(x - 1, y - 1, w + 2, h + 2, 'K', 'W')


def main_piece():
    c = Canvas(275, 116)
    window_edge(c, 275, 116)

    # the title strip (18, 4) 220 x 8 is the title writer's; the buttons
    # (6, 3), (244, 3), (254, 3), (264, 3) are dressed by the caption piece
    header_slot(c, 18, 4, 220, 8)
    for bx in (6, 244, 254, 264):
        clear(c, bx, 3, 9, 9)
    c.vline(5, 3, 10, 'K')
    c.vline(243, 3, 10, 'K')

    # display: one smoked plate round the visualisation well, and one round
    # the song title, bit rate, sample rate and mono / stereo lights
    plate(c, 19, 20, 86, 45)
    plate(c, 106, 21, 165, 34)
    for (x, y, w, h) in pieces.MAIN_FIELDS.values():
        c.well(x, y, w, h)
    c.text(LABEL, 'KBPS', 131, 43, ink='W', shadow='K')
    c.text(LABEL, 'KHZ', 171, 43, ink='W', shadow='K')
    # mono / stereo: their cells keep the plate's darkening; the stereo
    # piece writes the words
    c.frame(211, 40, 58, 14, 'K', 'S')

    # clutter bar seat
    seat(c, 10, 22, 8, 43)

    # volume (107, 57) 68 x 13 and balance (177, 57) 38 x 13: a channel
    # painted in the display colour with tick marks above and below
    c.frame(108, 61, 66, 5, 'K', 'W')
    c.hline(109, 62, 64, 'D')
    c.hline(109, 63, 64, 'D')
    c.hline(109, 64, 64, 'G')
    for i in range(9):
        tx = 110 + 8 * i
        hgt = 1 + i // 3
        c.vline(tx, 60 - hgt, hgt, 'K')
        c.vline(tx, 66, hgt, 'W')
    c.frame(178, 61, 36, 5, 'K', 'W')
    c.hline(179, 62, 34, 'D')
    c.hline(179, 63, 34, 'D')
    c.hline(179, 64, 34, 'G')
    for tx, hgt in ((180, 1), (195, 3), (196, 3), (211, 1)):
        c.vline(tx, 60 - hgt, hgt, 'K')
        c.vline(tx, 66, hgt, 'W')

    # EQ / PL buttons (219, 58) 46 x 12: dressed by the shufrep piece
    clear(c, 219, 58, 46, 12)
    seat(c, 219, 58, 46, 12)

    # position bar (16, 72) 248 x 10: a deep channel with a hairline in the
    # display colour and a tick every tenth
    c.fill(15, 71, 250, 12, 'G')
    c.frame(15, 71, 250, 12, 'K', 'W', soft=False)
    c.frame(16, 72, 248, 10, 'K', 'S')
    c.hline(18, 76, 244, 'D')
    c.hline(18, 77, 244, 'K')
    for i in range(11):
        tx = 17 + round(i * 245 / 10)
        c.set(tx, 73, 'S')
        c.set(tx, 80, 'S')

    # transport tray: the keys of button.bmp sit on a darkened tray whose
    # corners show between the rounded keys
    c.fill(14, 86, 118, 22, 'G')
    c.frame(14, 86, 118, 22, 'K', 'W')
    chamfer(c, 14, 86, 118, 22)
    c.fill(134, 87, 26, 20, 'G')
    c.frame(134, 87, 26, 20, 'K', 'W')
    chamfer(c, 134, 87, 26, 20)

    # shuffle and repeat (164, 89) 74 x 15: dressed by the shufrep piece
    clear(c, 164, 89, 74, 15)
    seat(c, 164, 89, 74, 15)

    # about badge (253, 91) 13 x 15
    c.fill(254, 92, 11, 13, 'S')
    c.blit(pieces.icon('badge-k'), 257, 95, ink='K', shadow='W')
    c.frame(253, 91, 13, 15, 'W', 'K')
    chamfer(c, 253, 91, 13, 15, 'G')

    # screws in the body's corners
    for sx, sy in ((5, 16), (265, 16), (6, 75), (266, 75)):
        screw(c, sx, sy)

    # grain last, so that it fills only what is still plain picture; then
    # the spots dressed by other pieces are cleared again
    brush(c, 3, 15, 269, 98, seed=0x5EED139)
    for (x, y, w, h) in ((10, 22, 8, 43), (219, 58, 46, 12),
                         (164, 89, 74, 15)):
        clear(c, x, y, w, h)
    return c


EQ_BANDS = pieces.EQ_BANDS


def eq_main_piece():
    c = Canvas(275, 116)
    window_edge(c, 275, 116)

    # title: engraved word in a slot of the header; close (264, 3) is the
    # eq_btn piece's, the shade toggle (254, 3) is drawn here
    word = 'EQUALIZER'
    ww = LABEL.width(word)
    tx = (275 - ww) // 2
    header_slot(c, tx - 4, 4, ww + 8, 8)
    c.text(LABEL, word, tx, 5, ink='W', shadow='K')
    clear(c, 254, 3, 9, 9)
    clear(c, 264, 3, 9, 9)
    c.vline(253, 3, 10, 'K')
    pieces.small_button(c, 254, 3, pieces.icon('tb-shade'))

    # ON / AUTO (14, 18) 58 x 12 and PRESETS (217, 18) 44 x 12: seats only
    clear(c, 14, 18, 58, 12)
    seat(c, 14, 18, 58, 12)
    clear(c, 217, 18, 44, 12)
    seat(c, 217, 18, 44, 12)

    # the graph's window (86, 17) 113 x 19 on a smoked plate
    # the graph's window (86, 17) 113 x 19 sits on a tab of the slider
    # plate; the troughs are dark channels under the bars with tick marks
    # either side.  The player copies the preamp trough's inside as the
    # background of every slider frame (bar at the frame's columns 4-8).
    plates(c, [(16, 35, 24, 69)])
    plates(c, [(73, 35, 186, 69), (83, 15, 119, 21)])
    c.well(86, 17, 113, 19)
    for tx in [20] + [77 + 18 * i for i in range(10)]:
        c.fill(tx, 37, 16, 65, 'G')
        c.frame(tx, 37, 16, 65, 'K', 'W')
        c.fill(tx + 4, 38, 7, 63, 'K')
        c.fill(tx + 5, 38, 5, 63, 'D')
        for k in range(9):
            ty = 39 + round(k * 60 / 8)
            w = 3 if k in (0, 4, 8) else 2
            c.hline(tx + 1, ty, w, 'S')
            c.hline(tx + 15 - w, ty, w, 'S')

    # scale between the preamp and the bands
    for s, y in (('+12', 38), ('0', 67), ('-12', 96)):
        c.text(LABEL, s, 64 - LABEL.width(s), y, ink='W', shadow='K')
    c.text_center(LABEL, 'PREAMP', 12, 105, 32, ink='W', shadow='K')
    for i, s in enumerate(EQ_BANDS):
        c.text_center(LABEL, s, 77 + 18 * i, 105, 16, ink='W', shadow='K')

    for sx, sy in ((5, 16), (265, 16), (5, 105), (265, 105)):
        screw(c, sx, sy)

    brush(c, 3, 15, 269, 98, seed=0x5EED152)
    clear(c, 14, 18, 58, 12)
    clear(c, 217, 18, 44, 12)
    return c


# ----------------------------------------------------------------------
# keyed full-colour pieces
# ----------------------------------------------------------------------

STEEL = {
    'rim': (24, 26, 31),
    'top': (232, 234, 238),
    'bottom': (142, 147, 156),
    'lip': (252, 252, 253),
    'shadow': (88, 92, 101),
}

ACCENT = {
    'prev': (30, 150, 230),
    'next': (30, 150, 230),
    'play': (40, 190, 70),
    'pause': (240, 160, 20),
    'stop': (220, 46, 36),
    'eject': (150, 90, 230),
}


def grain(seed, w):
    """A row of smooth horizontal noise in -1..1 (brushed streaks)."""
    rng = Rng(seed)
    knots = [rng.below(2001) / 1000.0 - 1 for _ in range(w // 4 + 3)]
    out = []
    for x in range(w):
        k, t = divmod(x, 4)
        t /= 4.0
        out.append(knots[k] + (knots[k + 1] - knots[k]) * t)
    return out


def symbol_shape(kind, cx, cy):
    """The transport symbols as shapes around the key's centre."""
    if kind == 'play':
        return polygon([(cx - 3, cy - 4.5), (cx + 4.5, cy), (cx - 3, cy + 4.5)])
    if kind == 'pause':
        return union(rounded(cx - 4, cy - 4, 3, 8, 0.8),
                     rounded(cx + 1, cy - 4, 3, 8, 0.8))
    if kind == 'stop':
        return rounded(cx - 4, cy - 4, 8, 8, 1.2)
    if kind == 'prev':
        return union(rounded(cx - 5.5, cy - 4, 2, 8, 0.5),
                     polygon([(cx - 3.5, cy), (cx + 0.5, cy - 4),
                              (cx + 0.5, cy + 4)]),
                     polygon([(cx + 0.5, cy), (cx + 4.5, cy - 4),
                              (cx + 4.5, cy + 4)]))
    if kind == 'next':
        return union(rounded(cx + 3.5, cy - 4, 2, 8, 0.5),
                     polygon([(cx + 3.5, cy), (cx - 0.5, cy - 4),
                              (cx - 0.5, cy + 4)]),
                     polygon([(cx - 0.5, cy), (cx - 4.5, cy - 4),
                              (cx - 4.5, cy + 4)]))
    if kind == 'eject':
        return union(polygon([(cx - 5, cy + 1), (cx, cy - 4.5),
                              (cx + 5, cy + 1)]),
                     rounded(cx - 5, cy + 2.5, 10, 2, 0.5))
    raise ValueError(kind)


def steel_key(c, x, y, w, h, kind, pressed, seed):
    """A brushed-steel key with rounded corners and a gel-coloured symbol
    sunk into it.  Outside the rounded outline the key colour lets the
    tray show."""
    outline = rounded(x + 0.5, y + 0.5, w - 1, h - 1, 3.0)
    inner = rounded(x + 1.5, y + 1.5, w - 3, h - 3, 2.2)
    top, bottom = STEEL['top'], STEEL['bottom']
    lip, shadow = STEEL['lip'], STEEL['shadow']
    if pressed:
        top, bottom = (104, 108, 118), (158, 162, 170)
        lip, shadow = (70, 74, 82), (206, 209, 214)
    dx = dy = 1 if pressed else 0
    sym = symbol_shape(kind, x + w / 2.0 + dx, y + h / 2.0 + dy)
    # the engraving: a dark cut up-left and a light edge down-right
    cut = symbol_shape(kind, x + w / 2.0 + dx - 0.7, y + h / 2.0 + dy - 0.7)
    edge = symbol_shape(kind, x + w / 2.0 + dx + 0.8, y + h / 2.0 + dy + 0.8)
    gel = ACCENT[kind]
    if pressed:
        gel = mix(gel, (255, 255, 255), 0.2)
    gel_top, gel_bottom = mix(gel, (255, 255, 255), 0.25), mix(gel, (0, 0, 0),
                                                             0.3)
    for j in range(h):
        row = grain(seed * 131 + j, w)
        t = j / (h - 1.0)
        base = mix(top, bottom, t)
        for i in range(w):
            px, py = x + i, y + j
            if coverage(outline, px, py) < 0.5:
                continue
            if coverage(inner, px, py) < 0.5:
                c.set(px, py, STEEL['rim'])
                continue
            v = row[i] * 9
            col = tuple(ch + v for ch in base)
            # inner lip and shadow one pixel inside the rim
            if coverage(inner, px, py - 1) < 0.5 or \
                    coverage(inner, px - 1, py) < 0.5:
                col = mix(col, lip, 0.7)
            elif coverage(inner, px, py + 1) < 0.5 or \
                    coverage(inner, px + 1, py) < 0.5:
                col = mix(col, shadow, 0.7)
            e = coverage(edge, px, py)
            if e:
                col = mix(col, (255, 255, 255), 0.55 * e)
            k = coverage(cut, px, py)
            if k:
                col = mix(col, (16, 18, 24), 0.9 * k)
            s = coverage(sym, px, py)
            if s:
                g = mix(gel_top, gel_bottom, min(1.0, max(0.0, (py - y - 4)
                                                          / (h - 8.0))))
                col = mix(col, g, s)
            c.set(px, py, safe(col))


def button_piece():
    c = Canvas(136, 36, bg=KEY)
    keys = (('prev', 0, 23), ('play', 23, 23), ('pause', 46, 23),
            ('stop', 69, 23), ('next', 92, 22))
    for row, pressed in ((0, False), (18, True)):
        for n, (kind, x, w) in enumerate(keys):
            steel_key(c, x, row, w, 18, kind, pressed, seed=11 + n)
    steel_key(c, 114, 0, 22, 16, 'eject', False, seed=17)
    steel_key(c, 114, 16, 22, 16, 'eject', True, seed=17)
    return c


AMBER = {
    'rim': (70, 30, 6),
    'top': (255, 214, 120),
    'mid': (246, 150, 30),
    'bottom': (178, 82, 10),
    'glint': (255, 250, 232),
}


def gel_knob(c, x, y, w, h, pressed=False, grip='v'):
    """A glossy amber capsule: dark rim, warm gradient, a soft white glint
    across the upper half, grip lines in the middle.  Pressed knobs glow
    brighter.  Colours are rounded to steps of 4 so that the 8-bit tables
    stay small."""
    r = min(w, h) / 2.0 - 0.3
    outline = rounded(x + 0.3, y + 0.3, w - 0.6, h - 0.6, r)
    inner = rounded(x + 1.3, y + 1.3, w - 2.6, h - 2.6, r - 1)
    glint = rounded(x + 2.5, y + 1.6, w - 5, (h - 2) * 0.38, r - 2)
    top, mid, bottom = AMBER['top'], AMBER['mid'], AMBER['bottom']
    if pressed:
        top, mid, bottom = (255, 236, 170), (255, 190, 60), (214, 112, 16)
    for j in range(h):
        t = (j + 0.5) / h
        base = mix(top, mid, t / 0.5) if t < 0.5 else \
            mix(mid, bottom, (t - 0.5) / 0.5)
        for i in range(w):
            px, py = x + i, y + j
            a = coverage(outline, px, py)
            if a < 0.4:
                continue
            col = base
            if coverage(inner, px, py) < 0.5:
                col = AMBER['rim']
            else:
                g = coverage(glint, px, py)
                if g:
                    col = mix(col, AMBER['glint'], 0.6 * g)
            c.set(px, py, tuple(min(252, (v + 2) // 4 * 4)
                                for v in safe(col)))
    grip_col = (120, 50, 8)
    lite = (255, 226, 160)
    if grip == 'v':
        mid_x = x + w // 2
        for gx in (mid_x - 3, mid_x, mid_x + 3):
            for gy in range(y + 3, y + h - 3):
                c.set(gx - 1, gy, grip_col)
                c.set(gx, gy, lite)
    elif grip == 'h':
        mid_y = y + h // 2
        for gy in (mid_y - 2, mid_y + 1):
            for gx in range(x + 3, x + w - 3):
                c.set(gx, gy, grip_col)
                c.set(gx, gy + 1, lite)


def posvol_piece():
    c = Canvas(89, 11, bg=KEY)
    gel_knob(c, 0, 0, 29, 10)
    gel_knob(c, 30, 0, 29, 10, pressed=True)
    # the player reads the pressed volume thumb at (60, 0) and the resting
    # one at (75, 0)
    gel_knob(c, 60, 0, 14, 11, pressed=True, grip='h')
    gel_knob(c, 75, 0, 14, 11, grip='h')
    return c


def eq_trbtn_piece():
    c = Canvas(11, 23, bg=KEY)
    gel_knob(c, 0, 0, 11, 11, grip='h')
    gel_knob(c, 0, 12, 11, 11, pressed=True, grip='h')
    return c


# ----------------------------------------------------------------------
# the folder
# ----------------------------------------------------------------------

FILES = (
    ('main.bmp', main_piece, encode4),
    ('eq_main.bmp', eq_main_piece, encode4),
    ('button.bmp', button_piece, encode24),
    ('posvol.bmp', posvol_piece, encode8),
    ('eq_trbtn.bmp', eq_trbtn_piece, encode8),
)

README = """\
Brushed Steel - an example Korvane template
===========================================

A template folder changes how Korvane dresses your picture when it makes a
skin. Copy this folder under a new name inside Korvane's "templates" folder
(the one beside korvane.ini), change or replace its files, and pick the new
name in the Template panel. Folders whose name starts with a dot are not
listed.

File names
----------
Each file replaces one built-in piece. Korvane looks for these names:

  main.bmp      275 x 116  main window body
  caption.bmp    27 x 43   title-bar buttons, shade-mode position bar
  smallbtn.bmp   60 x 9    shade-mode transport icons
  option.bmp     40 x 87   the O A I D V side bar
  button.bmp    136 x 36   transport buttons (normal row, pressed row)
  shufrep.bmp    92 x 85   repeat, shuffle, EQ and PL toggles
  stereo.bmp     58 x 24   stereo / mono lights
  posbar.bmp    248 x 10   position bar background
  posvol.bmp     89 x 11   position knobs, volume / balance knobs
  eq_main.bmp   275 x 116  equalizer body
  eq_btn.bmp    172 x 24   equalizer close, ON, AUTO, PRESETS
  eq_graph.bmp  113 x 21   equalizer graph grid and preamp line
  eq_track.bmp  209 x 129  equalizer slider bars
  eq_trbtn.bmp   11 x 23   equalizer slider knob
  pl_main.bmp   280 x 110  playlist frame pieces
  pl_menu.bmp   253 x 75   playlist menu buttons
  pl_btn.bmp     17 x 18   playlist scroll knob
  eq_ex.bmp     275 x 82   equalizer shade mode: bars, thumbs, buttons
  nums_ex.bmp   108 x 13   time digits 0-9, a blank cell and the minus sign
  gen.bmp       178 x 103  frame of the generic windows (media library, video,
                           plug-ins): title pieces, sides, bottom, close button
  genex.bmp     112 x 59   their push button, scroll arrows and scroll thumbs

A file must be at least as large as listed and keep the same layout as the
built-in piece: the same cells at the same positions. Any file that is
missing (or that Korvane cannot use, such as a 1-, 16- or 32-bit BMP)
falls back to the built-in piece, so a template may hold just one file.
Use plain uncompressed Windows BMP files.

gen.bmp and genex.bmp: Korvane writes the title font into gen.bmp's rows 88
to 102 before the file is applied, so a file that is see-through there keeps
Korvane's letters; one that covers them brings its own font, which players
measure letter by letter up to the next pixel of the colour at (0, 88) and
(0, 96). The colour pixels on genex.bmp's top row from x 48 always come from
Korvane: they are written last, from the playlist colours.

How a file works depends on its colour depth
--------------------------------------------

4-bit (16-colour) file: COLOUR CODES. Each pixel tells Korvane what to do
with the picture under it:

  black   000000  darken strongly
  grey    808080  darken a little
  silver  C0C0C0  lighten a little
  white   FFFFFF  lighten strongly
  green   008000  paint the display colour (display fields, unlit lamps)
  yellow  FFFF00  paint the text colour (digits, letters, symbols)
  olive   808000  paint a fixed grey
  lime    00FF00  paint a fixed silver
  magenta FF00FF  paint bright green (lit lamps)
  blue    0000FF  leave the picture as it is
  navy    000080  leave the picture as it is

Any other colour also leaves the picture alone. So the picture always
shows, lightened, darkened or untouched, except where a code paints.

8-bit (256-colour) or 24-bit file: a KEYED full-colour image. Every pixel
is copied into the skin exactly as drawn, except pure blue 0000FF and navy
000080, which are see-through: the picture shows there.

What this folder holds
----------------------
  main.bmp      4-bit   brushed faceplate, smoked display plates, a deep
                        position channel, a tray under the transport keys
  eq_main.bmp   4-bit   the same faceplate for the equalizer, with ladder
                        troughs for the sliders
  button.bmp    24-bit  brushed-steel keys with coloured symbols; blue
                        round the rounded corners lets the tray show
  posvol.bmp    8-bit   amber gel knobs for position, volume and balance
  eq_trbtn.bmp  8-bit   amber gel knob for the equalizer sliders

Everything else (title-bar buttons, toggles, playlist...) is built-in.
"""


def main(argv):
    out = argv[1] if len(argv) > 1 else DEFAULT_OUT
    os.makedirs(out, exist_ok=True)
    for name, make, encode in FILES:
        with open(os.path.join(out, name), 'wb') as f:
            f.write(encode(make()))
    with open(os.path.join(out, 'README.txt'), 'w', newline='\r\n') as f:
        f.write(README)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
