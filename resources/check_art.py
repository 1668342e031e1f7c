#!/usr/bin/env python3
"""Check the built-in template pieces.

    python3 resources/check_art.py [BMPDIR]

Without BMPDIR the pieces are generated twice into temporary folders (which
also checks that the generator is deterministic).  Every file is checked for
its BMP form (headers, full colour table, biSizeImage, file length), its size
and depth, its colours (shaded pieces hold only the colour codes and the two
see-through blues), and a number of layout facts that the composer and the
players rely on.  Prints one line per failure and exits 1 if there was any.
Standard library only.
"""

import os
import struct
import sys
import tempfile

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, 'art'))
sys.path.insert(0, HERE)

import artgen                 # noqa: E402
from glyph_table import CELLS  # noqa: E402

EXPECTED = {
    104: (136, 36, 4), 105: (27, 43, 4), 106: (40, 87, 4), 107: (60, 9, 4),
    108: (92, 85, 4), 109: (58, 24, 4), 110: (108, 13, 4), 111: (155, 18, 4),
    112: (42, 9, 4), 123: (89, 11, 8), 139: (275, 116, 4),
    140: (248, 10, 4), 152: (275, 116, 4), 154: (209, 129, 8),
    155: (280, 110, 4), 156: (17, 18, 8), 157: (172, 24, 4),
    158: (113, 21, 4), 159: (11, 23, 8), 160: (253, 75, 4),
    162: (113, 19, 8), 163: (275, 82, 4), 164: (178, 87, 4),
    165: (112, 59, 4),
}

BLUE, NAVY = (0, 0, 255), (0, 0, 128)
BLACK, GREY, SILVER, WHITE = (0, 0, 0), (128, 128, 128), (192, 192, 192), \
    (255, 255, 255)
DKGREEN, YELLOW, OLIVE, LIME, MAGENTA = (0, 128, 0), (255, 255, 0), \
    (128, 128, 0), (0, 255, 0), (255, 0, 255)
CODE_COLOURS = {BLACK, GREY, SILVER, WHITE, DKGREEN, YELLOW, OLIVE, LIME,
                MAGENTA, BLUE, NAVY}
SEE_THROUGH = {BLUE, NAVY}

failures = []


def fail(pid, msg):
    failures.append('%s: %s' % (pid, msg))


class Bmp:
    """A 4- or 8-bit BMP read into rows of (r, g, b), top row first."""

    def __init__(self, pid, data):
        self.ok = False
        if len(data) < 54:
            fail(pid, 'file too short')
            return
        bf_type, bf_size, r1, r2, off = struct.unpack_from('<2sIHHI', data, 0)
        (bi_size, w, h, planes, bits, comp, size_image, xppm, yppm, clr_used,
         clr_imp) = struct.unpack_from('<IiiHHIIiiII', data, 14)
        self.w, self.h, self.bits = w, h, bits
        if bf_type != b'BM':
            fail(pid, 'signature %r' % bf_type)
        if bf_size != len(data):
            fail(pid, 'bfSize %d, file length %d' % (bf_size, len(data)))
        if r1 or r2:
            fail(pid, 'reserved fields not zero')
        if bi_size != 40:
            fail(pid, 'biSize %d' % bi_size)
        if planes != 1:
            fail(pid, 'biPlanes %d' % planes)
        if bits not in (4, 8):
            fail(pid, 'biBitCount %d' % bits)
            return
        if comp != 0:
            fail(pid, 'biCompression %d' % comp)
        if clr_used != 0:
            fail(pid, 'biClrUsed %d (the table must be full)' % clr_used)
        if h <= 0 or w <= 0:
            fail(pid, 'size %d x %d (must be bottom-up)' % (w, h))
            return
        entries = 1 << bits
        stride = ((w * bits + 31) // 32) * 4
        if off != 54 + 4 * entries:
            fail(pid, 'bfOffBits %d, expected %d' % (off, 54 + 4 * entries))
        if size_image != stride * h:
            fail(pid, 'biSizeImage %d, expected %d' % (size_image,
                                                        stride * h))
        if len(data) != 54 + 4 * entries + stride * h:
            fail(pid, 'file length %d, expected %d'
                 % (len(data), 54 + 4 * entries + stride * h))
            return
        self.table = []
        for i in range(entries):
            b, g, r, z = data[54 + 4 * i:58 + 4 * i]
            if z:
                fail(pid, 'colour table entry %d reserved byte %d' % (i, z))
            self.table.append((r, g, b))
        self.index = []
        base = 54 + 4 * entries
        for y in range(h):
            row = data[base + (h - 1 - y) * stride:base + (h - y) * stride]
            if bits == 8:
                self.index.append(list(row[:w]))
            else:
                self.index.append([(row[x // 2] >> (4 if x % 2 == 0 else 0))
                                   & 15 for x in range(w)])
        self.px = [[self.table[i] for i in row] for row in self.index]
        self.ok = True

    def at(self, x, y):
        return self.px[y][x]

    def region(self, x, y, w, h):
        return [self.px[j][i] for j in range(y, y + h)
                for i in range(x, x + w)]


def all_are(pid, bmp, rect, colours, what):
    x, y, w, h = rect
    bad = [(i, j) for j in range(y, y + h) for i in range(x, x + w)
           if bmp.at(i, j) not in colours]
    if bad:
        fail(pid, '%s %r: %d pixels wrong, first at %r (%r)'
             % (what, rect, len(bad), bad[0], bmp.at(*bad[0])))


def some_are(pid, bmp, rect, colours, what):
    if not any(v in colours for v in bmp.region(*rect)):
        fail(pid, '%s %r: none found' % (what, rect))


def none_are(pid, bmp, rect, colours, what):
    bad = [v for v in bmp.region(*rect) if v in colours]
    if bad:
        fail(pid, '%s %r: %d unexpected pixels' % (what, rect, len(bad)))


# ----------------------------------------------------------------------
# per-piece facts
# ----------------------------------------------------------------------

def check_main(b):
    pid = 139
    fields = ((22, 24, 80, 37), (110, 25, 157, 10), (109, 41, 19, 10),
              (154, 41, 14, 10))
    for f in fields:
        all_are(pid, b, f, {DKGREEN}, 'display field')
        x, y, w, h = f
        ring = [(i, y - 1) for i in range(x, x + w)] + \
               [(i, y + h) for i in range(x, x + w)] + \
               [(x - 1, j) for j in range(y, y + h)] + \
               [(x + w, j) for j in range(y, y + h)]
        if any(b.at(i, j) == DKGREEN for i, j in ring):
            fail(pid, 'display field %r spills over its edge' % (f,))
    # places whose picture is copied out before another piece dresses it
    for rect, what in (((6, 3, 9, 9), 'menu button spot'),
                       ((244, 3, 9, 9), 'minimize button spot'),
                       ((254, 3, 9, 9), 'shade button spot'),
                       ((264, 3, 9, 9), 'close button spot'),
                       ((10, 22, 8, 43), 'clutter bar spot'),
                       ((16, 88, 114, 18), 'control buttons spot'),
                       ((136, 89, 22, 16), 'eject spot'),
                       ((164, 89, 74, 15), 'shuffle / repeat spot'),
                       ((219, 58, 46, 12), 'EQ / PL spot'),
                       ((212, 41, 56, 12), 'mono / stereo spot')):
        all_are(pid, b, rect, SEE_THROUGH, what)
    some_are(pid, b, (131, 43, 15, 6), {WHITE}, 'kbps label')
    some_are(pid, b, (131, 43, 16, 7), {BLACK}, 'kbps label shadow')
    some_are(pid, b, (171, 43, 12, 6), {WHITE}, 'kHz label')
    all_are(pid, b, (18, 76, 244, 1), {DKGREEN}, 'position groove')


def check_digits(b):
    pid = 110
    all_are(pid, b, (20, 6, 5, 1), {YELLOW}, 'minus strip of the 2')
    none_are(pid, b, (9, 6, 5, 1), {YELLOW}, 'no-minus strip of the 1')
    all_are(pid, b, (90, 0, 9, 13), SEE_THROUGH, 'blank eleventh cell')
    for d in range(10):
        some_are(pid, b, (9 * d, 0, 9, 13), {YELLOW}, 'digit %d' % d)
    all_are(pid, b, (0, 0, 108, 13), {YELLOW} | SEE_THROUGH, 'digit colours')
    # nums_ex.bmp's minus cell: the 2's middle bar and nothing else
    all_are(pid, b, (101, 6, 5, 1), {YELLOW}, 'minus cell bar')
    if sum(v == YELLOW for v in b.region(99, 0, 9, 13)) != 5:
        fail(pid, 'minus cell holds more than its bar')


def ink(b, x, y):
    return b.at(x, y) == YELLOW


def cell_ink_columns(b, cx, cy):
    return {x for x in range(cx, cx + 5) for y in range(cy, cy + 6)
            if ink(b, x, y)}


def check_font(b):
    pid = 111
    all_are(pid, b, (0, 0, 155, 18), {YELLOW} | SEE_THROUGH, 'font colours')
    for ch, (x, y, w) in sorted(CELLS.items()):
        if x < 0 or y < 0 or x + w > 155 or y + 6 > 18:
            fail(pid, 'cell of %r reaches outside the font' % ch)
            continue
        if ch in ' |~':
            continue
        cols = {i for i in range(x, x + w) for j in range(y, y + 6)
                if ink(b, i, j)}
        if not cols:
            fail(pid, 'cell of %r (%d, %d, %d) has no ink' % (ch, x, y, w))
            continue
        own = (x // 5) * 5
        if ch == '.':
            # the full stop borrows the first dot of the ellipsis cell
            if ink(b, x + w - 1, y + 5) or max(cols) != x:
                fail(pid, "full stop window holds more than one dot")
            continue
        inside = cell_ink_columns(b, own, y)
        if not inside <= set(range(x, x + w)):
            fail(pid, 'ink of %r lies outside its window %d..%d: %s'
                 % (ch, x, x + w - 1, sorted(inside)))
        if not cols <= set(range(own, own + 5)):
            fail(pid, 'window of %r reaches ink of a neighbour' % ch)
    # what players need
    for cx, cy, what in ((140, 0, 'blank cell 28'), (145, 0, 'blank cell 29'),
                         (150, 0, 'space cell')):
        all_are(pid, b, (cx, cy, 5, 6), SEE_THROUGH, what)
    all_are(pid, b, (25, 12, 130, 6), SEE_THROUGH, 'unused cells of row 2')
    for cx, cy, what in ((20, 12, 'asterisk'), (150, 6, 'number sign')):
        cols = cell_ink_columns(b, cx, cy)
        if not cols or max(cols) > cx + 3:
            fail(pid, '%s at (%d, %d) must keep its ink in columns 0-3'
                 % (what, cx, cy))
    if cell_ink_columns(b, 80, 6) - {80, 81}:
        fail(pid, 'apostrophe ink outside x 80-81')
    if cell_ink_columns(b, 140, 6) - {140, 141, 142, 143}:
        fail(pid, 'equals sign ink outside x 140-143')
    for cx in range(0, 150, 5):
        if cx in (140, 145):
            continue
        if not cell_ink_columns(b, cx, 0):
            fail(pid, 'row 0 cell at x %d is empty' % cx)
    for cx in range(0, 155, 5):
        if not cell_ink_columns(b, cx, 6):
            fail(pid, 'row 1 cell at x %d is empty' % cx)
    for cx in range(0, 25, 5):
        if not cell_ink_columns(b, cx, 12):
            fail(pid, 'row 2 cell at x %d is empty' % cx)


def check_playpaus(b):
    pid = 112
    all_are(pid, b, (0, 0, 42, 9), {YELLOW} | SEE_THROUGH, 'mark colours')
    all_are(pid, b, (0, 0, 1, 9), SEE_THROUGH, 'column 0 of the play cell')
    all_are(pid, b, (27, 0, 9, 9), SEE_THROUGH, 'unused cell')
    for rect, what in (((1, 0, 8, 9), 'play'), ((9, 0, 9, 9), 'pause'),
                       ((18, 0, 9, 9), 'stop'), ((36, 0, 3, 9), 'idle'),
                       ((39, 0, 3, 9), 'busy')):
        some_are(pid, b, rect, {YELLOW}, what + ' mark')


def check_caption(b):
    pid = 105
    for x, y in ((0, 0), (9, 0), (18, 0), (0, 9), (9, 9), (18, 9),
                 (0, 18), (9, 18), (0, 27), (9, 27)):
        some_are(pid, b, (x, y, 9, 9), {DKGREEN}, 'button symbol')
        some_are(pid, b, (x, y, 9, 9), {LIME}, 'button edge')
    some_are(pid, b, (17, 36, 9, 7), {LIME}, 'shade-mode thumbs')
    none_are(pid, b, (0, 36, 26, 7), {BLACK, WHITE, GREY, SILVER, DKGREEN},
             'shade-mode position bar (fixed colours only)')


def check_option(b):
    pid = 106
    some_are(pid, b, (0, 0, 8, 43), {LIME}, 'clutter letters')
    none_are(pid, b, (9, 1, 6, 41), CODE_COLOURS - SEE_THROUGH,
             'empty clutter column')
    for i, (top, hgt) in enumerate(((3, 8), (11, 7), (18, 7), (25, 8),
                                    (33, 7))):
        some_are(pid, b, (8 * i + 1, 44 + top, 6, hgt), {MAGENTA},
                 'pressed clutter letter %d' % i)
    all_are(pid, b, (0, 43, 40, 1), SEE_THROUGH, 'row 43')


def check_shufrep(b):
    pid = 108
    for y, lit in ((0, False), (15, False), (30, True), (45, True)):
        for x, w in ((0, 28), (28, 47)):
            if lit:
                some_are(pid, b, (x, y, w, 15), {MAGENTA}, 'lit lamp')
            else:
                none_are(pid, b, (x, y, w, 15), {MAGENTA}, 'unlit lamp')
    for y, lit in ((61, False), (73, True)):
        for x in (0, 23, 46, 69):
            if lit:
                some_are(pid, b, (x, y, 23, 12), {MAGENTA}, 'lit EQ / PL')
            else:
                none_are(pid, b, (x, y, 23, 12), {MAGENTA}, 'unlit EQ / PL')
    all_are(pid, b, (0, 60, 92, 1), SEE_THROUGH, 'row 60')
    all_are(pid, b, (0, 0, 1, 60), SEE_THROUGH, 'column shared with shuffle')
    all_are(pid, b, (74, 0, 1, 60), SEE_THROUGH, 'column shared with repeat')


def check_stereo(b):
    pid = 109
    all_are(pid, b, (0, 12, 58, 12), SEE_THROUGH, 'unlit row')
    some_are(pid, b, (0, 0, 29, 12), {WHITE}, 'stereo mark')
    some_are(pid, b, (29, 0, 27, 12), {WHITE}, 'mono mark')
    all_are(pid, b, (0, 0, 58, 1), {NAVY}, 'cell border')


def check_eq_main(b):
    pid = 152
    all_are(pid, b, (21, 38, 14, 63), {DKGREEN}, 'preamp trough floor')
    for i in range(10):
        all_are(pid, b, (78 + 18 * i, 38, 14, 63), {DKGREEN},
                'band trough floor %d' % i)
    all_are(pid, b, (86, 17, 113, 19), {DKGREEN}, 'graph field')
    for rect, what in (((14, 18, 58, 12), 'ON / AUTO spot'),
                       ((217, 18, 44, 12), 'PRESETS spot'),
                       ((264, 3, 9, 9), 'close button spot')):
        all_are(pid, b, rect, SEE_THROUGH, what)


def check_eq_btn(b):
    pid = 157
    for y in (0, 12):
        none_are(pid, b, (10, y, 58, 12), {MAGENTA}, 'unlit row')
        some_are(pid, b, (69, y, 58, 12), {MAGENTA}, 'lit lamps')
        some_are(pid, b, (128, y, 44, 12), {YELLOW}, 'PRESETS')
    some_are(pid, b, (0, 0, 9, 9), {DKGREEN}, 'close')
    some_are(pid, b, (0, 9, 9, 9), {DKGREEN}, 'close pressed')


def check_eq_graph(b):
    some_are(158, b, (0, 0, 113, 19), {OLIVE}, 'grid')
    all_are(158, b, (0, 20, 113, 1), {LIME}, 'preamp line')


def check_pl_main(b):
    pid = 155
    for rect, what in (((52, 42, 9, 9), 'pressed close'),
                       ((62, 42, 9, 9), 'pressed shade'),
                       ((150, 42, 9, 9), 'pressed unshade')):
        some_are(pid, b, rect, {DKGREEN}, what)
    for y in (0, 21):
        some_are(pid, b, (26, y, 100, 20), {YELLOW, OLIVE}, 'title word')
        some_are(pid, b, (153 + 14, y + 3, 9, 9), {DKGREEN}, 'close button')
    some_are(pid, b, (72, 42, 77, 29), {DKGREEN}, 'shade-mode text field')
    # the stock running-time field, and the mini time's colon at x 18 of
    # its cells (the player draws only the digits)
    all_are(pid, b, (126 + 4, 72 + 9, 93, 8), {DKGREEN}, 'running time')
    all_are(pid, b, (126 + 84, 72 + 24, 1, 1), {YELLOW}, 'mini-time colon')
    all_are(pid, b, (126 + 84, 72 + 26, 1, 1), {YELLOW}, 'mini-time colon')
    all_are(pid, b, (126 + 66, 72 + 23, 18, 6), {DKGREEN}, 'mini-time field')


def check_pl_menu(b):
    pid = 160
    groups = ((0, 48, 3), (54, 100, 4), (104, 150, 3), (154, 200, 3),
              (204, 250, 3))
    for x, bar, n in groups:
        for k in range(n):
            some_are(pid, b, (x + 2, 19 * k + 2, 18, 14), {YELLOW},
                     'menu label')
            some_are(pid, b, (x + 25, 19 * k + 2, 18, 14), {MAGENTA},
                     'highlighted label')
        some_are(pid, b, (bar, 0, 3, 19 * n - 1), {LIME}, 'menu bar')


def check_eq_ex(b):
    pid = 163
    for y in (0, 15):
        for x in (254, 264):
            some_are(pid, b, (x, y + 3, 9, 9), {DKGREEN}, 'bar button')
    for x in (1, 11):
        all_are(pid, b, (x, 30, 9, 7), {DKGREEN, YELLOW}, 'thumbs')
    for x, y in ((1, 38), (1, 47), (11, 38), (11, 47)):
        some_are(pid, b, (x, y, 9, 9), {DKGREEN}, 'button')


def check_gen(b):
    pid = 164
    for y in (0, 21):
        # the title field's inside is plain display colour in the rows both
        # Winamp (4-10) and Webamp (2-8) write the title on, in the title
        # piece and the inner parts of the two ends
        all_are(pid, b, (52, y + 2, 25, 9), {DKGREEN}, 'title field')
        all_are(pid, b, (44, y + 2, 7, 9), {DKGREEN}, 'field in the left end')
        all_are(pid, b, (78, y + 2, 7, 9), {DKGREEN}, 'field in the right end')
        some_are(pid, b, (144, y + 3, 9, 9), {DKGREEN}, 'close button')
    some_are(pid, b, (148, 42, 9, 9), {DKGREEN}, 'pressed close button')
    some_are(pid, b, (105, 58, 20, 12), {WHITE}, 'resize grip')


def check_genex(b):
    pid = 165
    for y in (0, 16):
        # players stretch the middle: every column there the same
        cols = {tuple(b.at(x, j) for j in range(y, y + 15))
                for x in range(4, 43)}
        if len(cols) != 1:
            fail(pid, 'button at y %d is not plain across its middle' % y)
        all_are(pid, b, (4, y + 4, 39, 7), {DKGREEN}, 'button face')
    for x in (0, 14, 28, 42):
        for y in (31, 45):
            some_are(pid, b, (x, y, 14, 14), {YELLOW}, 'scroll arrow')
    for x in (56, 70):
        rows = {tuple(b.at(i, j) for i in range(x, x + 14))
                for j in range(35, 55)}
        if len(rows) != 1:
            fail(pid, 'vertical thumb at x %d is not plain along it' % x)
    all_are(pid, b, (47, 0, 65, 31), SEE_THROUGH, 'colour pixels and spare')


def check_keyed(pid, b):
    used = {v for row in b.px for v in row}
    if len(used) > 256:
        fail(pid, 'too many colours')
    top = max(i for row in b.index for i in row)
    if any(b.table[i] != (0, 0, 0) for i in range(top + 1, 256)):
        fail(pid, 'unused colour table entries are not zero')

    def solid(rect, what):
        none_are(pid, b, rect, SEE_THROUGH, what)

    def clear(rect, what):
        all_are(pid, b, rect, SEE_THROUGH, what)

    if pid == 123:
        solid((1, 1, 27, 8), 'position knob')
        solid((31, 1, 27, 8), 'pressed position knob')
        solid((61, 1, 12, 9), 'pressed volume knob')
        solid((76, 1, 12, 9), 'volume knob')
        clear((29, 0, 1, 11), 'gap between position knobs')
        clear((0, 10, 59, 1), 'row under the position knobs')
    elif pid == 154:
        for k in range(28):
            solid((4 + 15 * (k % 14), 1 + 65 * (k // 14), 5, 61),
                  'slider bar %d' % k)
        first = b.at(6, 30)
        last = b.at(4 + 15 * 13 + 2, 66 + 30)
        if not (first[1] > first[0] and last[0] > last[1]):
            fail(pid, 'slider bars should run from green to red')
    elif pid == 159:
        solid((1, 1, 9, 9), 'slider knob')
        solid((1, 13, 9, 9), 'pressed slider knob')
        clear((0, 11, 11, 1), 'row between the knobs')
    elif pid == 156:
        solid((1, 1, 6, 16), 'scroll knob')
        solid((10, 1, 6, 16), 'pressed scroll knob')
        clear((8, 0, 1, 18), 'column between the knobs')
    elif pid == 162:
        from pieces import EQ_GRAPH_COLORS
        for x in range(113):
            col = [y for y in range(19) if b.at(x, y) not in SEE_THROUGH]
            if not col:
                fail(pid, 'curve has a hole at column %d' % x)
            for y in col:
                if b.at(x, y) != EQ_GRAPH_COLORS[y]:
                    fail(pid, 'curve pixel (%d, %d) not in its row colour'
                         % (x, y))
        if b.at(0, 0) in SEE_THROUGH and b.at(0, 1) in SEE_THROUGH:
            fail(pid, 'curve should start high at the left')


CHECKS = {139: check_main, 110: check_digits, 111: check_font,
          112: check_playpaus, 105: check_caption, 106: check_option,
          108: check_shufrep, 109: check_stereo, 152: check_eq_main,
          157: check_eq_btn, 158: check_eq_graph, 155: check_pl_main,
          160: check_pl_menu, 163: check_eq_ex, 164: check_gen,
          165: check_genex}


def check_dir(d):
    for pid, (w, h, bits) in sorted(EXPECTED.items()):
        path = os.path.join(d, '%d.bmp' % pid)
        if not os.path.exists(path):
            fail(pid, 'missing %s' % path)
            continue
        with open(path, 'rb') as f:
            b = Bmp(pid, f.read())
        if not b.ok:
            continue
        if (b.w, b.h, b.bits) != (w, h, bits):
            fail(pid, 'is %d x %d, %d bits; expected %d x %d, %d bits'
                 % (b.w, b.h, b.bits, w, h, bits))
            continue
        if bits == 4:
            bad = [c for c in b.table if c not in CODE_COLOURS]
            if bad:
                fail(pid, 'colour table holds non-code colours %r' % bad)
            used = {v for row in b.px for v in row}
            if not used <= CODE_COLOURS:
                fail(pid, 'pixels outside the colour codes: %r'
                     % sorted(used - CODE_COLOURS))
            if pid in CHECKS:
                CHECKS[pid](b)
            elif pid == 140:
                all_are(pid, b, (0, 0, 248, 10), {BLUE}, 'posbar')
            else:
                if used <= SEE_THROUGH:
                    fail(pid, 'piece is empty')
        else:
            check_keyed(pid, b)


def check_high_contrast():
    """The shipped High Contrast folder is what the generator draws now."""
    import subprocess
    shipped = os.path.join(HERE, '..', 'templates', 'High Contrast')
    with tempfile.TemporaryDirectory() as t:
        # a separate run: the flag changes the drawing module's state
        subprocess.run([sys.executable, os.path.join(HERE, 'artgen.py'),
                        '--high-contrast', t], check=True)
        for name in sorted(artgen.TEMPLATE_NAMES.values()):
            drawn = open(os.path.join(t, name), 'rb').read()
            path = os.path.join(shipped, name)
            if not os.path.exists(path) or open(path, 'rb').read() != drawn:
                fail('High Contrast', '%s differs from the drawing; run '
                     'artgen.py --high-contrast "templates/High Contrast"'
                     % name)


def main(argv):
    check_high_contrast()
    if len(argv) > 1:
        check_dir(argv[1])
    else:
        with tempfile.TemporaryDirectory() as t:
            a, b = os.path.join(t, 'a'), os.path.join(t, 'b')
            artgen.main(['artgen', a])
            artgen.main(['artgen', b])
            for pid in EXPECTED:
                fa, fb = (os.path.join(x, '%d.bmp' % pid) for x in (a, b))
                if open(fa, 'rb').read() != open(fb, 'rb').read():
                    fail(pid, 'generator output differs between two runs')
            check_dir(a)
    for f in failures:
        print('FAIL', f)
    if failures:
        print('%d failure(s)' % len(failures))
        return 1
    print('ok: %d pieces' % len(EXPECTED))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
