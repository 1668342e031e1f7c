"""The title writer's glyph cells: character -> (x, y, width) in the font
mask (piece 111), height always 6.  This is the table the artwork is drawn
for; the program's own copy must agree with it.

Two cells differ from the older table on purpose: '#' and '*' were
exchanged there.  A player takes '*' from (20, 12) and '#' from (150, 6), so
the glyphs are drawn there and the cells here follow them.  The apostrophe
and the grave accent share (80, 6) width 2, the equals sign is (140, 6)
width 4.
"""

CELLS = {}


def _put(chars, cell):
    for ch in chars:
        CELLS[ch] = cell


for _n in range(26):
    _put(chr(65 + _n) + chr(97 + _n), (5 * _n, 0, 5))
_put('Ii', (41, 0, 4))
_put('Tt', (96, 0, 4))
for _d in range(10):
    _put(str(_d), (5 * _d, 6, 5))
_put(' |~', (142, 0, 3))
_put('!', (86, 6, 2))
_put('"', (131, 0, 4))
_put('#', (150, 6, 5))
_put('$', (146, 6, 4))
_put('%', (131, 6, 5))
_put('&', (126, 6, 5))
_put('(<', (67, 6, 3))
_put(')>', (70, 6, 3))
_put('*', (20, 12, 4))
_put('+', (95, 6, 5))
_put(',', (137, 6, 2))
_put('-', (75, 6, 5))
_put('.', (50, 6, 2))
_put('/', (105, 6, 5))
_put(':;', (61, 6, 3))
_put('?', (15, 12, 5))
_put('@', (136, 0, 7))
_put('[{', (111, 6, 3))
_put('\\', (100, 6, 5))
_put(']}', (117, 6, 3))
_put('^', (120, 6, 6))
_put('_', (90, 6, 5))
_put("'`", (80, 6, 2))
_put('=', (140, 6, 4))

assert len(CELLS) == 95, len(CELLS)
