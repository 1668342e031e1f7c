"""Small drawing kit for Korvane's built-in template pieces.

A piece is a Canvas: a grid of one-character colour codes (shaded pieces) or of
(r, g, b) tuples (keyed full-colour pieces).  Everything here is plain
Python so that the generator runs with the standard library alone.

Colour codes of a shaded piece (see codes.txt for the same legend):

    .  blue      0000FF  see-through: the picture shows unchanged
    ,  navy      000080  see-through as well (used for cell borders)
    K  black     000000  darken strongly
    G  grey      808080  darken a little
    S  silver    C0C0C0  lighten a little
    W  white     FFFFFF  lighten strongly
    D  dkgreen   008000  paint the display colour (fields, unlit lamps)
    Y  yellow    FFFF00  paint the text colour (digits, letters, symbols)
    O  olive     808000  paint fixed grey 808080
    L  lime      00FF00  paint fixed silver C0C0C0
    M  magenta   FF00FF  paint bright green (lit lamps)
"""

import os

ART_DIR = os.path.dirname(os.path.abspath(__file__))

CODE_RGB = {
    '.': (0x00, 0x00, 0xFF),
    ',': (0x00, 0x00, 0x80),
    'K': (0x00, 0x00, 0x00),
    'G': (0x80, 0x80, 0x80),
    'S': (0xC0, 0xC0, 0xC0),
    'W': (0xFF, 0xFF, 0xFF),
    'D': (0x00, 0x80, 0x00),
    'Y': (0xFF, 0xFF, 0x00),
    'O': (0x80, 0x80, 0x00),
    'L': (0x00, 0xFF, 0x00),
    'M': (0xFF, 0x00, 0xFF),
}

KEY = (0x00, 0x00, 0xFF)        # see-through in keyed pieces
KEY2 = (0x00, 0x00, 0x80)


class Canvas:
    """A w x h grid, (0, 0) at the top-left, drawn on a background value."""

    def __init__(self, w, h, bg='.'):
        self.w = w
        self.h = h
        self.bg = bg
        self.px = [[bg] * w for _ in range(h)]

    # -- single pixels -------------------------------------------------
    def set(self, x, y, c):
        if c is None:
            return
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def get(self, x, y):
        return self.px[y][x]

    # -- lines and boxes -----------------------------------------------
    def hline(self, x, y, n, c):
        for i in range(n):
            self.set(x + i, y, c)

    def vline(self, x, y, n, c):
        for j in range(n):
            self.set(x, y + j, c)

    def fill(self, x, y, w, h, c):
        for j in range(h):
            for i in range(w):
                self.set(x + i, y + j, c)

    def frame(self, x, y, w, h, tl, br, soft=True):
        """One-pixel ring: top and left edges in tl, bottom and right in br.

        soft=True leaves the top-right and bottom-left corners alone, which
        joins two-tone edges without a hard stair step.
        """
        if w <= 0 or h <= 0:
            return
        r, b = x + w - 1, y + h - 1
        end = w - 1 if soft else w
        self.hline(x, y, end, tl)
        self.vline(x, y, h - 1 if soft else h, tl)
        start = 1 if soft else 0
        self.hline(x + start, b, w - start, br)
        self.vline(r, y + start, h - start, br)
        if not soft:
            self.set(r, y, tl)
            self.set(x, b, br)

    def bevel(self, x, y, w, h, style='raised'):
        """Two-pixel bevel.  raised: light top-left, dark bottom-right;
        sunken: the reverse; 'thin-raised' / 'thin-sunken': one ring only."""
        if style == 'raised':
            self.frame(x, y, w, h, 'W', 'K')
            self.frame(x + 1, y + 1, w - 2, h - 2, 'S', 'G')
        elif style == 'sunken':
            self.frame(x, y, w, h, 'G', 'W')
            self.frame(x + 1, y + 1, w - 2, h - 2, 'K', 'S')
        elif style == 'pressed':
            self.frame(x, y, w, h, 'K', 'W')
            self.frame(x + 1, y + 1, w - 2, h - 2, 'G', 'S')
        elif style == 'thin-raised':
            self.frame(x, y, w, h, 'W', 'K')
        elif style == 'thin-sunken':
            self.frame(x, y, w, h, 'K', 'W')
        elif style == 'soft-raised':
            self.frame(x, y, w, h, 'S', 'G')
        elif style == 'soft-sunken':
            self.frame(x, y, w, h, 'G', 'S')
        else:
            raise ValueError(style)

    def well(self, x, y, w, h, inside='D'):
        """A display field: the field itself (x, y, w, h) painted `inside`,
        with a sunken one-pixel edge just outside it."""
        self.frame(x - 1, y - 1, w + 2, h + 2, 'K', 'W')
        self.fill(x, y, w, h, inside)

    def trough(self, x, y, w, h, inside='D'):
        """A slider trough occupying exactly (x, y, w, h): a dark top-left and
        a light bottom-right edge around a painted floor."""
        self.frame(x, y, w, h, 'K', 'W')
        self.fill(x + 1, y + 1, w - 2, h - 2, inside)

    # -- maps and text -------------------------------------------------
    def blit(self, sprite, x, y, ink=None, shadow=None, skip='.', halo=None):
        """Draw a Sprite with its top-left at (x, y).

        Map characters: '.' leaves the canvas alone, '#' is ink (drawn in
        `ink`), any other character is a literal colour code.  With a shadow
        colour every ink pixel first casts a shadow one pixel down-right; a
        halo colour rings every ink pixel first (all eight neighbours).
        """
        rows = sprite.rows
        if halo is not None:
            for j, row in enumerate(rows):
                for i, ch in enumerate(row):
                    if ch == '#':
                        for dj in (-1, 0, 1):
                            for di in (-1, 0, 1):
                                self.set(x + i + di, y + j + dj, halo)
        if shadow is not None:
            for j, row in enumerate(rows):
                for i, ch in enumerate(row):
                    if ch == '#':
                        self.set(x + i + 1, y + j + 1, shadow)
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch == skip:
                    continue
                if ch == '#':
                    self.set(x + i, y + j, ink if ink is not None else 'Y')
                else:
                    self.set(x + i, y + j, ch)

    def paste(self, other, x, y):
        for j in range(other.h):
            for i in range(other.w):
                self.set(x + i, y + j, other.px[j][i])

    def copy_rect(self, dx, dy, w, h, sx, sy):
        block = [[self.px[sy + j][sx + i] for i in range(w)] for j in range(h)]
        for j in range(h):
            for i in range(w):
                self.set(dx + i, dy + j, block[j][i])

    def text(self, font, s, x, y, ink='W', shadow='K', spacing=1):
        """Write s with a variable-width Font; returns the pen position."""
        pen = x
        for ch in s:
            if ch == ' ':
                pen += font.space
                continue
            g = font.glyph(ch)
            self.blit(g, pen, y, ink=ink, shadow=shadow)
            pen += g.w + spacing
        return pen

    def text_center(self, font, s, x, y, w, **kw):
        tw = font.width(s, kw.get('spacing', 1))
        return self.text(font, s, x + (w - tw) // 2, y, **kw)


# ----------------------------------------------------------------------
# Map files
# ----------------------------------------------------------------------

class Sprite:
    def __init__(self, name, rows):
        self.name = name
        self.rows = rows
        self.h = len(rows)
        self.w = max((len(r) for r in rows), default=0)
        for r in rows:
            if len(r) != self.w:
                raise ValueError('sprite %r: ragged rows' % name)


def _content_lines(path):
    with open(path, encoding='utf-8') as f:
        for raw in f:
            line = raw.rstrip('\n').rstrip()
            if line.startswith(';'):
                continue
            yield line


def load_sprites(filename):
    """Named sprites: a line 'sprite NAME' followed by the map rows, ended by
    an empty line.  Lines starting with ';' are comments."""
    path = os.path.join(ART_DIR, filename)
    sprites = {}
    name, rows = None, []
    for line in list(_content_lines(path)) + ['']:
        if name is None:
            if line.startswith('sprite '):
                name = line.split(None, 1)[1].strip()
                rows = []
            elif line.strip():
                raise ValueError('%s: stray line %r' % (filename, line))
            continue
        if line.strip() == '':
            if name in sprites:
                raise ValueError('%s: %s twice' % (filename, name))
            sprites[name] = Sprite(name, rows)
            name = None
        else:
            rows.append(line.strip())
    return sprites


def load_cell_rows(filename):
    """Banks of glyph cells written side by side.

    A header line '[col,row] name name ...' starts a bank: consecutive cells
    from that cell position.  The next lines hold the cell maps side by side,
    separated by single spaces, one line per pixel row, until an empty line.
    Returns {(col, row): (name, Sprite)}.
    """
    path = os.path.join(ART_DIR, filename)
    cells = {}
    header, lines = None, []

    def flush():
        pos, names = header
        col, row = pos
        grid = [ln.split(' ') for ln in lines]
        n = len(names)
        for ln in grid:
            if len(ln) != n:
                raise ValueError('%s: bank %r row has %d cells, expected %d'
                                 % (filename, pos, len(ln), n))
        for k, nm in enumerate(names):
            key = (col + k, row)
            if key in cells:
                raise ValueError('%s: cell %r twice' % (filename, key))
            cells[key] = (nm, Sprite(nm, [ln[k] for ln in grid]))

    for line in list(_content_lines(path)) + ['']:
        if header is None:
            if line.startswith('['):
                close = line.index(']')
                c, r = line[1:close].split(',')
                header = ((int(c), int(r)), line[close + 1:].split())
                lines = []
            elif line.strip():
                raise ValueError('%s: stray line %r' % (filename, line))
            continue
        if line.strip() == '':
            flush()
            header = None
        else:
            lines.append(line.strip())
    return cells


class Font:
    """A variable-width label font read from a file of glyph banks:
    'glyphs c c c ...' then the rows, each glyph as wide as its map."""

    def __init__(self, filename, space=2):
        path = os.path.join(ART_DIR, filename)
        self.glyphs = {}
        self.space = space
        chars, lines = None, []
        for line in list(_content_lines(path)) + ['']:
            if chars is None:
                if line.startswith('glyphs '):
                    chars = line.split()[1:]
                    lines = []
                elif line.strip():
                    raise ValueError('%s: stray line %r' % (filename, line))
                continue
            if line.strip() == '':
                grid = [ln.split(' ') for ln in lines]
                for k, name in enumerate(chars):
                    ch = {'plus': '+', 'minus': '-', 'colon': ':',
                          'dot': '.', 'slash': '/'}.get(name, name)
                    self.glyphs[ch] = Sprite(ch, [ln[k] for ln in grid])
                chars = None
            else:
                lines.append(line.strip())

    def glyph(self, ch):
        if ch in self.glyphs:
            return self.glyphs[ch]
        if ch.upper() in self.glyphs:
            return self.glyphs[ch.upper()]
        raise KeyError('label font has no glyph %r' % ch)

    def width(self, s, spacing=1):
        w = 0
        for k, ch in enumerate(s):
            if ch == ' ':
                w += self.space
                continue
            w += self.glyph(ch).w
            if k < len(s) - 1 and s[k + 1] != ' ':
                w += spacing
        return w


# ----------------------------------------------------------------------
# Full-colour helpers (keyed pieces)
# ----------------------------------------------------------------------

def mix(a, b, t):
    return tuple(int(round(a[k] + (b[k] - a[k]) * t)) for k in range(3))


def scale(c, f):
    return tuple(max(0, min(255, int(round(v * f)))) for v in c)
