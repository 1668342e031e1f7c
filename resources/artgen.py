#!/usr/bin/env python3
"""Build Korvane's built-in template pieces as BMP files.

    python3 resources/artgen.py OUTDIR [ID ...]
    python3 resources/artgen.py --high-contrast FOLDER

writes OUTDIR/<id>.bmp for every built-in piece (or only the ids given), or
the High Contrast template folder's files under their template names.
The artwork lives in resources/art/ (maps, fonts, and the drawing program
pieces.py); this script only turns the drawn canvases into bitmaps.

Each file is a plain Windows BMP: 14-byte file header, 40-byte
BITMAPINFOHEADER, no compression, a full colour table (16 entries for the
4-bit shaded pieces, 256 for the 8-bit keyed ones, unused entries zero),
bottom-up rows padded to 4 bytes, biSizeImage filled in.  The output is the
same byte for byte on every run.
"""

import os
import struct
import sys

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, 'art'))

import draw      # noqa: E402
import pieces    # noqa: E402

# The one colour table of every 4-bit piece.  Index order is fixed; entries
# 11-15 are unused and stay zero.
TABLE4 = ('K', ',', 'D', 'O', 'G', 'S', '.', 'L', 'Y', 'M', 'W')

PIECE_IDS = tuple(sorted(pieces.PIECES))


def _header(w, h, bits, table_entries, pixel_bytes):
    table_size = 4 * table_entries
    off = 14 + 40 + table_size
    fh = struct.pack('<2sIHHI', b'BM', off + pixel_bytes, 0, 0, off)
    ih = struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, 0, pixel_bytes,
                     0, 0, 0, 0)
    return fh + ih


def stride(w, bits):
    return ((w * bits + 31) // 32) * 4


def encode4(canvas):
    index = {ch: i for i, ch in enumerate(TABLE4)}
    table = bytearray(16 * 4)
    for i, ch in enumerate(TABLE4):
        r, g, b = draw.CODE_RGB[ch]
        table[4 * i:4 * i + 4] = bytes((b, g, r, 0))
    st = stride(canvas.w, 4)
    rows = bytearray()
    for y in range(canvas.h - 1, -1, -1):
        line = bytearray(st)
        for x in range(canvas.w):
            ch = canvas.px[y][x]
            if ch not in index:
                raise ValueError('pixel (%d, %d) has no code: %r' % (x, y, ch))
            v = index[ch]
            if x % 2 == 0:
                line[x // 2] |= v << 4
            else:
                line[x // 2] |= v
        rows += line
    return _header(canvas.w, canvas.h, 4, 16, len(rows)) + table + rows


def encode8(canvas):
    # colour table: the two keys first, then every other colour in order of
    # first appearance from the top-left; deterministic for a given drawing
    colours = [draw.KEY, draw.KEY2]
    seen = set(colours)
    for row in canvas.px:
        for v in row:
            if not (isinstance(v, tuple) and len(v) == 3):
                raise ValueError('keyed piece holds a non-RGB pixel %r' % (v,))
            if v not in seen:
                seen.add(v)
                colours.append(v)
    if len(colours) > 256:
        raise ValueError('keyed piece has %d colours' % len(colours))
    index = {v: i for i, v in enumerate(colours)}
    table = bytearray(256 * 4)
    for i, (r, g, b) in enumerate(colours):
        table[4 * i:4 * i + 4] = bytes((b, g, r, 0))
    st = stride(canvas.w, 8)
    rows = bytearray()
    for y in range(canvas.h - 1, -1, -1):
        line = bytearray(st)
        for x in range(canvas.w):
            line[x] = index[canvas.px[y][x]]
        rows += line
    return _header(canvas.w, canvas.h, 8, 256, len(rows)) + table + rows


def render(pid):
    canvas, depth = pieces.build(pid)
    return encode4(canvas) if depth == 4 else encode8(canvas)


# The files of a template folder, by piece id (the replaceable pieces).
TEMPLATE_NAMES = {
    139: 'main.bmp', 105: 'caption.bmp', 107: 'smallbtn.bmp',
    106: 'option.bmp', 104: 'button.bmp', 108: 'shufrep.bmp',
    109: 'stereo.bmp', 140: 'posbar.bmp', 157: 'eq_btn.bmp',
    158: 'eq_graph.bmp', 152: 'eq_main.bmp', 155: 'pl_main.bmp',
    160: 'pl_menu.bmp', 163: 'eq_ex.bmp', 123: 'posvol.bmp',
    154: 'eq_track.bmp', 159: 'eq_trbtn.bmp', 156: 'pl_btn.bmp',
    110: 'nums_ex.bmp', 164: 'gen.bmp', 165: 'genex.bmp',
}


def main(argv):
    if len(argv) < 2 or argv[1] in ('-h', '--help'):
        sys.stderr.write(__doc__)
        return 2
    if argv[1] == '--high-contrast' and len(argv) == 3:
        pieces.HIGH_CONTRAST = True
        os.makedirs(argv[2], exist_ok=True)
        for pid, name in sorted(TEMPLATE_NAMES.items()):
            with open(os.path.join(argv[2], name), 'wb') as f:
                f.write(render(pid))
        return 0
    out = argv[1]
    ids = [int(a) for a in argv[2:]] or list(PIECE_IDS)
    os.makedirs(out, exist_ok=True)
    for pid in ids:
        data = render(pid)
        with open(os.path.join(out, '%d.bmp' % pid), 'wb') as f:
            f.write(data)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
