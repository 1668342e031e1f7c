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

The skin bitmaps come from the program itself (korvane-make, built by
`make build`); this script only lays them out the way a player crops them.
"""

import math
import os
import subprocess
import sys
import tempfile

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
# pieces applied to a picture, and the player's crops
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


KEYED = {123, 154, 156, 159, 162}

KORVANE_MAKE = [os.path.join(HERE, '..', 'build', 'native', 'korvane-make'),
                os.path.join(HERE, '..', 'bin', 'korvane-make')]
SKIN_BITMAPS = ('main', 'titlebar', 'cbuttons', 'shufrep', 'monoster', 'posbar',
                'volume', 'balance', 'numbers', 'text', 'playpaus', 'eqmain',
                'pledit')


def make_skin(scheme, template=None):
    """The skin bitmaps exactly as the program makes them: korvane-make cuts the
    scheme's 275 x 348 picture as three consecutive bands (main, equalizer,
    playlist) from its top-left, with the scheme's display colours and, when
    given, a template folder in front of the built-in pieces."""
    exe = next((p for p in KORVANE_MAKE if os.access(p, os.X_OK)), None)
    if not exe:
        sys.exit('preview_art: build korvane-make first (make build)')
    hexc = '%02X%02X%02X'.__mod__
    with tempfile.TemporaryDirectory() as work:
        picture = os.path.join(work, 'picture.bmp')
        scheme.picture.save(picture)
        skin = os.path.join(work, 'skin')
        args = [exe, picture, skin, '--mode', 'continuous', '--at', '0,0',
                '--text-color', hexc(scheme.text),
                '--back-color', hexc(scheme.back)]
        if template:
            args += ['--template', template]
        subprocess.run(args, check=True)
        return {name: Image.open(os.path.join(skin, name + '.bmp')).convert('RGB')
                for name in SKIN_BITMAPS}


# ----------------------------------------------------------------------
# what a player draws
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
    bm = make_skin(grey)
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
        bm = make_skin(sc)
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
        bm = make_skin(sc, folder)
        ref = make_skin(sc)
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
