"""Korvane's built-in template pieces, drawn from primitives and glyph maps.

Every function `piece_NNN()` returns (canvas, depth) for resource id NNN.
Shaded pieces (depth 4) are canvases of colour codes (see codes.txt); keyed
pieces (depth 8) are canvases of (r, g, b) tuples on the blue key.

Coordinates below are the ones the composer copies from, so a change of
position here must match the recipe that applies the piece.
"""

from draw import (Canvas, Font, load_sprites, load_cell_rows, KEY, mix,
                  scale)

ICONS = load_sprites('icons.txt')
LABEL = Font('labels3x5.txt', space=2)


def icon(name):
    return ICONS[name]


# ----------------------------------------------------------------------
# shared button makers
# ----------------------------------------------------------------------

# How the pieces stay readable on any picture: every button has a crisp
# outline in the display's back colour (D) and a painted bevel, silver (L) on
# the lit edges and grey (O) on the shaded ones, with a softer picture-tinted
# ring (S / G) inside; symbols and words are the text colour (Y) ringed with
# the back colour (D).  Whatever the picture, either the light core or the
# dark rim stands out from it.  Lit lamps are bright green (M) and lit words
# turn from silver (L) to the text colour.
#
# The High Contrast template folder is drawn by the same functions with
# HIGH_CONTRAST set: the pieces whose codes the built-in set keeps fixed (the
# kbps / kHz labels, the stereo marks) are painted too, and the frames and
# ridges of the window bodies become back-colour and silver lines.
HIGH_CONTRAST = False


def face(c, x, y, w, h, pressed=False, bevel=2):
    """A button face with the picture inside: back-colour outline with
    clipped corners, painted bevel, a soft inner ring; pressed faces swap
    the bevel."""
    hi, lo = ('O', 'L') if pressed else ('L', 'O')
    if bevel == 2:
        c.frame(x + 1, y + 1, w - 2, h - 2, hi, lo)
        if HIGH_CONTRAST:
            c.fill(x + 2, y + 2, w - 4, h - 4, 'D')
        elif w > 6 and h > 6:
            c.frame(x + 2, y + 2, w - 4, h - 4, *(('G', 'S') if pressed
                                                   else ('S', 'G')))
        c.frame(x, y, w, h, 'D', 'D', soft=False)
        for (i, j) in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
            c.set(x + i, y + j, '.')
    else:
        c.frame(x, y, w, h, hi, 'D')


def outlined(c, sprite, x, y, core='Y', rim='D'):
    """A map drawn in `core` inside a one-pixel ring of `rim`."""
    c.blit(sprite, x, y, ink=core, halo=rim)


def write(c, s, x, y, core='Y', rim='D', center_w=None):
    """Words of the label font, each letter ringed, so the word sits on a
    small plate of the rim colour."""
    if center_w is not None:
        x += (center_w - LABEL.width(s)) // 2
    pen = x
    for ch in s:
        if ch == ' ':
            pen += LABEL.space
            continue
        g = LABEL.glyph(ch)
        for j, row in enumerate(g.rows):
            for i, px in enumerate(row):
                if px == '#':
                    c.fill(pen + i - 1, y + j - 1, 3, 3, rim)
        pen += g.w + 1
    pen = x
    for ch in s:
        if ch == ' ':
            pen += LABEL.space
            continue
        g = LABEL.glyph(ch)
        c.blit(g, pen, y, ink=core)
        pen += g.w + 1
    return pen


def centered(w, inner):
    return (w - inner) // 2


def symbol_button(c, x, y, w, h, sprite, pressed=False, bevel=2,
                  dx=0, dy=0, ink='W', halo='G'):
    """A face with a symbol in the middle; the symbol sinks one pixel when
    the face is pressed."""
    sx = x + centered(w, sprite.w) + dx
    sy = y + centered(h, sprite.h) + dy
    if pressed:
        sx += 1
        sy += 1
    face(c, x, y, w, h, pressed, bevel)
    outlined(c, sprite, sx, sy)


def small_button(c, x, y, sprite, pressed=False):
    """The 9 x 9 title-bar buttons: a silver face in a silver / back-colour
    ring with a back-colour 5 x 5 symbol; pressed, the face turns grey, the
    ring turns and the symbol sinks one pixel."""
    if HIGH_CONTRAST:
        # a back-colour key with a text-colour symbol
        c.fill(x + 1, y + 1, 7, 7, 'D')
        c.blit(sprite, x + 2 + pressed, y + 2 + pressed, ink='Y')
        c.frame(x, y, 9, 9, *(('D', 'L') if pressed else ('L', 'O')))
    elif pressed:
        c.fill(x + 1, y + 1, 7, 7, 'O')
        c.blit(sprite, x + 3, y + 3, ink='D')
        c.frame(x, y, 9, 9, 'D', 'L')
    else:
        c.fill(x + 1, y + 1, 7, 7, 'L')
        c.blit(sprite, x + 2, y + 2, ink='D')
        c.frame(x, y, 9, 9, 'L', 'D')


def label_lines(c, lines, x, y, w, h, ink='Y', rim='D', gap=1):
    """Words of the label font centred in a box, one line per entry."""
    lh = 5
    total = len(lines) * lh + (len(lines) - 1) * gap
    ty = y + (h - total) // 2
    for k, s in enumerate(lines):
        write(c, s, x, ty + k * (lh + gap), core=ink, rim=rim, center_w=w)


def ridge(c, x, y, n, vertical=False):
    """A groove line: back colour with a silver line under (or right of)
    it, so it shows on light and dark pictures alike."""
    if vertical:
        c.vline(x, y, n, 'D')
        c.vline(x + 1, y, n, 'L')
    else:
        c.hline(x, y, n, 'D')
        c.hline(x, y + 1, n, 'L')


# ----------------------------------------------------------------------
# 139 main: the main window's body
# ----------------------------------------------------------------------

MAIN_FIELDS = {
    'vis': (22, 24, 80, 37),
    'title': (110, 25, 157, 10),
    'kbps': (109, 41, 19, 10),
    'khz': (154, 41, 14, 10),
}


def socket(c, x, y, w, h):
    """A thin sunken seat around a group of controls (drawn just outside
    the rectangle the controls occupy)."""
    if HIGH_CONTRAST:
        c.frame(x - 1, y - 1, w + 2, h + 2, 'D', 'L')
    else:
        c.frame(x - 1, y - 1, w + 2, h + 2, 'G', 'S')


def body(c, w, h):
    """Window edge and the inset body panel."""
    if HIGH_CONTRAST:
        c.frame(0, 0, w, h, 'L', 'D')
        c.frame(1, 1, w - 2, h - 2, 'S', 'G')
        c.frame(4, 14, w - 8, h - 18, 'D', 'L')
    else:
        c.bevel(0, 0, w, h, 'raised')
        c.frame(4, 14, w - 8, h - 18, 'G', 'S')
        c.frame(5, 15, w - 10, h - 20, 'S', 'G')


def piece_139():
    c = Canvas(275, 116)
    body(c, 275, 116)

    # title bar: a recessed slot around the title strip (18, 4) 220 x 8,
    # whose inside the title writer replaces; the four buttons (6, 3),
    # (244, 3), (254, 3), (264, 3) stay untouched here, the caption piece
    # dresses them in titlebar.bmp.
    if HIGH_CONTRAST:
        c.frame(17, 3, 222, 10, 'D', 'L')
    else:
        c.frame(17, 3, 222, 10, 'G', 'S')
    for x in (16, 239):
        c.vline(x, 4, 8, 'K' if x == 16 else 'W')
    # grip ridges between the slot and the minimize button
    for x in (240, 242):
        ridge(c, x, 4, 8, vertical=True)

    # clutter bar seat (the bar itself comes from titlebar.bmp)
    socket(c, 10, 22, 8, 43)

    # display fields
    for (x, y, w, h) in MAIN_FIELDS.values():
        c.well(x, y, w, h)
    if HIGH_CONTRAST:
        write(c, 'KBPS', 131, 43)
        write(c, 'KHZ', 171, 43)
    else:
        # the labels the window has always had: white with a black shadow
        c.text(LABEL, 'KBPS', 131, 43, ink='W', shadow='K')
        c.text(LABEL, 'KHZ', 171, 43, ink='W', shadow='K')

    # mono / stereo seat
    socket(c, 212, 41, 56, 12)

    # volume and balance slots: a sunken groove the thumbs ride on
    c.frame(108, 61, 66, 4, 'K', 'W')
    ridge(c, 109, 62, 64)
    c.frame(178, 61, 36, 4, 'K', 'W')
    ridge(c, 179, 62, 34)
    # the volume wedge under the groove: rises from left to right
    for i in range(64):
        hgt = 1 + i * 3 // 64
        for j in range(hgt):
            c.set(109 + i, 68 - j, 'G')
    # balance: a centre notch
    c.vline(195, 58, 2, 'K')
    c.vline(196, 58, 2, 'W')
    c.vline(195, 67, 2, 'K')
    c.vline(196, 67, 2, 'W')

    # EQ / PL buttons seat
    socket(c, 219, 58, 46, 12)

    # position bar groove (15, 71) 250 x 12; its inside is posbar.bmp
    c.frame(15, 71, 250, 12, 'K', 'W')
    c.frame(16, 72, 248, 10, 'G', 'S')
    ridge(c, 18, 76, 244)

    # seats of the control buttons, eject, shuffle + repeat
    socket(c, 16, 88, 114, 18)
    socket(c, 136, 89, 22, 16)
    socket(c, 164, 89, 74, 15)

    # the about badge (253, 91) 13 x 15
    face(c, 253, 91, 13, 15)
    outlined(c, icon('badge-k'), 257, 95)
    return c, 4


# ----------------------------------------------------------------------
# 105 caption: title-bar buttons and the shade-mode position bar
# ----------------------------------------------------------------------

def piece_105():
    c = Canvas(27, 43)
    for row, pressed in ((0, False), (9, True)):
        small_button(c, 0, row, icon('tb-menu'), pressed)
        small_button(c, 9, row, icon('tb-minimize'), pressed)
        small_button(c, 18, row, icon('tb-close'), pressed)
    small_button(c, 0, 18, icon('tb-shade'), False)
    small_button(c, 9, 18, icon('tb-shade'), True)
    small_button(c, 0, 27, icon('tb-unshade'), False)
    small_button(c, 9, 27, icon('tb-unshade'), True)
    # shade-mode position bar: track 17 x 7 and three thumbs 3 x 7
    c.blit(icon('mini-track'), 0, 36)
    c.blit(icon('mini-thumbs'), 17, 36)
    return c, 4


# ----------------------------------------------------------------------
# 106 option: the clutter bar O A I D V
# ----------------------------------------------------------------------

CLUTTER = (('O', 3, 8), ('A', 11, 7), ('I', 18, 7), ('D', 25, 8),
           ('V', 33, 7))


def clutter_column(c, x, y, pressed_index=None, letters=True):
    """A back-colour strip in a silver / back-colour ring with the letters
    in the text colour; a pressed letter lights green in a grey seat."""
    c.fill(x + 1, y + 1, 6, 41, 'D' if letters else '.')
    if letters:
        for k, (ch, top, hgt) in enumerate(CLUTTER):
            g = LABEL.glyph(ch)
            gx = x + 1 + centered(6, g.w)
            gy = y + top + centered(hgt, 5)
            if k == pressed_index:
                c.frame(x + 1, y + top, 6, hgt, 'O', 'L')
                c.blit(g, gx + 1, gy + 1, ink='M')
            else:
                c.blit(g, gx, gy, ink='Y' if HIGH_CONTRAST else 'L')
    c.frame(x, y, 8, 43, 'L', 'D')


def piece_106():
    c = Canvas(40, 87)
    clutter_column(c, 0, 0)
    clutter_column(c, 8, 0, letters=False)
    for i in range(5):
        clutter_column(c, 8 * i, 44, pressed_index=i)
    return c, 4


# ----------------------------------------------------------------------
# 107 smallbtn: shade-mode transport icons, 60 x 9 at titlebar (192, 44)
# ----------------------------------------------------------------------

# click zones of the shade bar, in piece coordinates: prev 4-10, play 11-20,
# pause 21-29, stop 30-38, next 39-48, eject 50-59
SMALL_ICONS = (('small-prev', 4, 7), ('small-play', 11, 10),
               ('small-pause', 21, 9), ('small-stop', 30, 9),
               ('small-next', 39, 10), ('small-eject', 50, 10))


def piece_107():
    c = Canvas(60, 9)
    for name, x0, w in SMALL_ICONS:
        g = icon(name)
        if HIGH_CONTRAST:
            c.fill(x0, 1, w - 1, 7, 'D')
        outlined(c, g, x0 + centered(w - 1, g.w), 2)
    return c, 4


# ----------------------------------------------------------------------
# 104 button: the transport buttons
# ----------------------------------------------------------------------

def piece_104():
    c = Canvas(136, 36)
    faces = (('big-prev', 0, 23), ('big-play', 23, 23),
             ('big-pause', 46, 23), ('big-stop', 69, 23),
             ('big-next', 92, 22))
    for row, pressed in ((0, False), (18, True)):
        for name, x, w in faces:
            symbol_button(c, x, row, w, 18, icon(name), pressed)
    symbol_button(c, 114, 0, 22, 16, icon('big-eject'), False)
    symbol_button(c, 114, 16, 22, 16, icon('big-eject'), True)
    return c, 4


# ----------------------------------------------------------------------
# 108 shufrep: repeat, shuffle, EQ and PL toggles with their lamps
# ----------------------------------------------------------------------

def lamp(c, x, y, lit):
    c.blit(icon('lamp-on' if lit else 'lamp-off'), x, y)


def lit_ink(lit):
    """Words and symbols on toggles: silver while off, the text colour when
    on (the lamp beside them turns green)."""
    return 'Y' if lit else 'L'


def piece_108():
    c = Canvas(92, 85)
    for k, (lit, pressed) in enumerate(((False, False), (False, True),
                                        (True, False), (True, True))):
        y = 15 * k
        p = 1 if pressed else 0
        # repeat: 28 x 15 at x 0; column 0 is shared with the shuffle
        # button's last column in the window, so both leave it plain
        face(c, 1, y, 27, 15, pressed)
        lamp(c, 4 + p, y + 5 + p, lit)
        outlined(c, icon('repeat'), 12 + p, y + 4 + p, core=lit_ink(lit))
        # shuffle: 47 x 15 at x 28, face in its columns 0-45
        face(c, 28, y, 46, 15, pressed)
        lamp(c, 28 + 4 + p, y + 5 + p, lit)
        write(c, 'SHUFFLE', 28 + 12 + p, y + 5 + p, core=lit_ink(lit))
    # EQ and PL: 23 x 12, normal pair at x 0 / 23, pressed pair at 46 / 69
    for y, lit in ((61, False), (73, True)):
        for x0, pressed in ((0, False), (46, True)):
            for dx, word in ((0, 'EQ'), (23, 'PL')):
                x = x0 + dx
                p = 1 if pressed else 0
                face(c, x, y, 23, 12, pressed)
                lamp(c, x + 3 + p, y + 3 + p, lit)
                write(c, word, x + 10 + p, y + 3 + p, core=lit_ink(lit))
    return c, 4


# ----------------------------------------------------------------------
# 109 stereo: the stereo / mono marks
# ----------------------------------------------------------------------

def piece_109():
    c = Canvas(58, 24)
    for y in (0, 12):
        for x in (0, 29):
            c.frame(x, y, 29, 12, ',', ',', soft=False)
    if HIGH_CONTRAST:
        # lit: text-colour letters on a back-colour plate; unlit: the
        # reverse in silver, back-colour letters on a silver plate
        for y, ink, rim in ((0, 'Y', 'D'), (12, 'D', 'L')):
            write(c, 'STEREO', 0, y + 3, core=ink, rim=rim, center_w=28)
            write(c, 'MONO', 29, y + 3, core=ink, rim=rim, center_w=26)
        return c, 4
    c.text_center(LABEL, 'STEREO', 0, 3, 28, ink='W', shadow='K')
    # the player shows only the first 27 columns of the mono cell
    c.text_center(LABEL, 'MONO', 29, 3, 26, ink='W', shadow='K')
    return c, 4


# ----------------------------------------------------------------------
# 140 posbar: nothing; the position bar keeps the main window's groove
# ----------------------------------------------------------------------

def piece_140():
    c = Canvas(248, 10)
    if HIGH_CONTRAST:
        # the groove drawn again over whatever main.bmp left there
        c.frame(0, 0, 248, 10, 'D', 'L')
        ridge(c, 2, 4, 244)
    return c, 4


# ----------------------------------------------------------------------
# 110 digits, 111 font, 112 play / pause marks
# ----------------------------------------------------------------------

def cells_to_canvas(filename, cw, ch, w, h):
    c = Canvas(w, h)
    for (col, row), (name, sp) in load_cell_rows(filename).items():
        if sp.w != cw or sp.h != ch:
            raise ValueError('%s: cell %s is %dx%d' % (filename, name,
                                                       sp.w, sp.h))
        c.blit(sp, col * cw, row * ch, ink='Y')
    return c


# The High Contrast folder's time digits (its nums_ex.bmp): the same seven
# segments drawn two pixels thick, as rectangles (column, row, width, height)
# of a 9 x 13 cell.
BOLD_SEGMENTS = {
    'a': (1, 1, 7, 2), 'b': (6, 1, 2, 7), 'c': (6, 6, 2, 7),
    'd': (1, 11, 7, 2), 'e': (1, 6, 2, 7), 'f': (1, 1, 2, 7),
    'g': (1, 6, 7, 2),
}
BOLD_DIGITS = ('abcdef', 'bc', 'abdeg', 'abcdg', 'bcfg', 'acdfg', 'acdefg',
               'abc', 'abcdefg', 'abcdfg')


def bold_digits():
    c = Canvas(108, 13)
    for d, segments in enumerate(BOLD_DIGITS):
        x = 9 * d
        for s in segments:
            sx, sy, w, h = BOLD_SEGMENTS[s]
            c.fill(x + sx, sy, w, h, 'Y')
        for i, j in ((1, 1), (7, 1), (1, 12), (7, 12)):  # rounded corners
            c.set(x + i, j, '.')
    c.fill(99 + 2, 6, 5, 2, 'Y')  # the minus cell
    return c


def piece_110():
    # numbers.bmp uses the first eleven cells; nums_ex.bmp all twelve
    if HIGH_CONTRAST:
        return bold_digits(), 4
    return cells_to_canvas('digits.txt', 9, 13, 108, 13), 4


def piece_111():
    return cells_to_canvas('font5x6.txt', 5, 6, 155, 18), 4


def piece_112():
    c = Canvas(42, 9)
    c.blit(load_sprites('playpaus.txt')['playpaus'], 0, 0)
    return c, 4


# ----------------------------------------------------------------------
# 152 eq_main: the equalizer window's body
# ----------------------------------------------------------------------

EQ_BANDS = ('60', '170', '310', '600', '1K', '3K', '6K', '12K', '14K', '16K')


def piece_152():
    c = Canvas(275, 116)
    body(c, 275, 116)
    # title bar: the word, grooves either side; close (264, 3) stays plain
    # (eq_btn dresses it), the shade toggle (254, 3) lives in the bar art
    word = 'EQUALIZER'
    ww = LABEL.width(word)
    tx = (275 - ww) // 2
    write(c, word, tx, 5)
    for x0, x1 in ((8, tx - 4), (tx + ww + 4, 250)):
        ridge(c, x0, 5, x1 - x0)
        ridge(c, x0, 8, x1 - x0)
    small_button(c, 254, 3, icon('tb-shade'))
    # ON / AUTO (14, 18) 58 x 12 and PRESETS (217, 18) 44 x 12: seats only
    socket(c, 14, 18, 58, 12)
    socket(c, 217, 18, 44, 12)
    # the graph's window (86, 17) 113 x 19
    c.well(86, 17, 113, 19)
    # preamp and band troughs, 16 x 65
    c.trough(20, 37, 16, 65)
    for i in range(10):
        c.trough(77 + 18 * i, 37, 16, 65)
    # scale between the preamp and the bands
    for s, y in (('+12', 38), ('0', 67), ('-12', 96)):
        write(c, s, 62 - LABEL.width(s), y)
    for y in (40, 69, 98):
        ridge(c, 64, y - 1, 8)
    write(c, 'PREAMP', 12, 104, center_w=32)
    for i, s in enumerate(EQ_BANDS):
        write(c, s, 77 + 18 * i, 104, center_w=16)
    return c, 4


# ----------------------------------------------------------------------
# 157 eq_btn: close, ON, AUTO, PRESETS in their states
# ----------------------------------------------------------------------

def lamp_button(c, x, y, w, word, lit, pressed):
    p = 1 if pressed else 0
    face(c, x, y, w, 12, pressed)
    lamp(c, x + 3 + p, y + 3 + p, lit)
    tw = LABEL.width(word)
    write(c, word, x + 9 + centered(w - 11, tw) + p, y + 3 + p,
          core=lit_ink(lit))


def piece_157():
    c = Canvas(172, 24)
    small_button(c, 0, 0, icon('tb-close'))
    small_button(c, 0, 9, icon('tb-close'), True)
    for y, pressed in ((0, False), (12, True)):
        for x0, lit in ((10, False), (69, True)):
            lamp_button(c, x0, y, 26, 'ON', lit, pressed)
            lamp_button(c, x0 + 26, y, 32, 'AUTO', lit, pressed)
        p = 1 if pressed else 0
        face(c, 128, y, 44, 12, pressed)
        write(c, 'PRESETS', 128 + p, y + 3 + p, center_w=44)
    return c, 4


# ----------------------------------------------------------------------
# 158 eq_graph: the graph's dotted grid (113 x 19) and the preamp line
# ----------------------------------------------------------------------

def piece_158():
    c = Canvas(113, 21)
    dot = 'L' if HIGH_CONTRAST else 'O'
    for x in range(0, 113, 2):
        c.set(x, 0, dot)
        c.set(x, 18, dot)
        c.set(x, 9, dot)
    for x in range(0, 113, 14):
        for y in range(0, 19, 2):
            c.set(x, y, dot)
    for y in range(0, 19, 2):
        c.set(112, y, dot)
    # row 20 becomes the preamp line (eqmain row 314)
    c.hline(0, 20, 113, 'Y' if HIGH_CONTRAST else 'L')
    return c, 4


# ----------------------------------------------------------------------
# 155 pl_main: the playlist frame
# ----------------------------------------------------------------------

def pl_titlebar(c, y, active):
    """The 20-row top edge at row y: corner 0-24, title 26-125, filler
    127-151, right corner 153-177."""
    hi, lo = ('D', 'L') if active else ('O', 'S')
    # window top edge over each piece
    for x, w in ((0, 25), (26, 100), (127, 25), (153, 25)):
        c.hline(x, y, w, 'L' if HIGH_CONTRAST else 'W')
        c.hline(x, y + 1, w, 'S')
        # two ridges across the bar, cut around the title word
        for r in (6, 11):
            c.hline(x, y + r, w, hi)
            c.hline(x, y + r + 1, w, lo)
        # the list's top edge
        c.hline(x, y + 19, w, 'D' if HIGH_CONTRAST else 'K')
    # left corner: window's left edge, list edge
    c.vline(0, y, 20, 'W')
    c.vline(1, y + 1, 19, 'S')
    c.fill(2, y + 6, 3, 7, '.')
    c.vline(11, y + 19, 1, 'K')
    # title piece: clear the ridges behind the word, then write it
    word = 'PLAYLIST'
    ww = LABEL.width(word)
    tx = 26 + (100 - ww) // 2
    c.fill(tx - 4, y + 6, ww + 8, 7, '.')
    write(c, word, tx, y + 7, core=('Y' if active else 'O'))
    # right corner: shade (4, 3) and close (14, 3) buttons, right edge
    rx = 153
    c.fill(rx + 3, y + 2, 21, 11, '.')
    small_button(c, rx + 4, y + 3, icon('tb-shade'))
    small_button(c, rx + 14, y + 3, icon('tb-close'))
    c.vline(rx + 24, y, 20, 'K')
    c.vline(rx + 23, y + 1, 19, 'G')
    c.set(rx + 24, y, 'S')


def pl_left_side(c, x, y):
    c.vline(x, y, 29, 'W')
    c.vline(x + 1, y, 29, 'S')
    c.vline(x + 5, y, 29, 'G')
    c.vline(x + 6, y, 29, 'S')
    c.vline(x + 10, y, 29, 'G')
    c.vline(x + 11, y, 29, 'K')


def pl_right_side(c, x, y):
    # list edge, scroll groove for the 8-wide knob at columns 5-12, window
    # edge
    c.vline(x, y, 29, 'W')
    c.vline(x + 4, y, 29, 'K')
    c.fill(x + 5, y, 8, 29, 'G')
    c.vline(x + 13, y, 29, 'W')
    c.vline(x + 18, y, 29, 'G')
    c.vline(x + 19, y, 29, 'K')


def pl_bottom_edge(c, x, w):
    """Rows 72-109 edge of the bottom pieces: list edge on top, window edge
    at the bottom."""
    c.hline(x, 72, w, 'W')
    c.hline(x, 108, w, 'G')
    c.hline(x, 109, w, 'K')


def piece_155():
    c = Canvas(280, 110)
    pl_titlebar(c, 0, True)
    pl_titlebar(c, 21, False)

    # pressed title-bar buttons: close (52, 42), shade (62, 42), and the
    # unshade toggle of the shaded playlist (150, 42)
    small_button(c, 52, 42, icon('tb-close'), True)
    small_button(c, 62, 42, icon('tb-shade'), True)
    small_button(c, 150, 42, icon('tb-unshade'), True)

    pl_left_side(c, 0, 42)
    pl_right_side(c, 31, 42)

    # bottom-left piece (0, 72) 125 x 38: seats for the four menu buttons
    # (their faces are copied in later at x 14, 43, 72, 101, y 80)
    pl_bottom_edge(c, 0, 125)
    c.vline(0, 72, 38, 'W')
    c.vline(1, 73, 36, 'S')
    for bx in (14, 43, 72, 101):
        socket(c, bx, 80, 22, 18)

    # bottom-right piece (126, 72) 150 x 38
    bx = 126
    pl_bottom_edge(c, bx, 150)
    c.vline(bx + 149, 72, 38, 'K')
    c.vline(bx + 148, 73, 36, 'G')
    # running time: the player writes from (7, 10), up to 17 characters
    c.well(bx + 4, 72 + 9, 93, 8)
    for k, (name, _, _) in enumerate(SMALL_ICONS):  # six 10 x 10 zones
        g = icon(name)
        zx = bx + 3 + 10 * k
        outlined(c, g, zx + centered(9, g.w), 72 + 22 + centered(9, g.h))
    # mini time: five cells from (66, 23); the colon between the minutes
    # and the seconds is ours, the player draws only the digits
    c.well(bx + 66, 72 + 23, 30, 6)
    c.set(bx + 66 + 18, 72 + 23 + 1, 'Y')
    c.set(bx + 66 + 18, 72 + 23 + 3, 'Y')
    socket(c, bx + 106, 80, 22, 18)             # list menu button
    c.blit(icon('grip'), bx + 136, 72 + 24)     # resize corner

    # bottom filler tile (179, 0) 25 x 38
    c.fill(179, 0, 25, 38, '.')
    c.hline(179, 0, 25, 'W')
    c.hline(179, 36, 25, 'G')
    c.hline(179, 37, 25, 'K')
    for r in (20, 25):
        ridge(c, 179, r, 25)

    # visualiser piece (205, 0) 75 x 38
    c.fill(205, 0, 75, 38, '.')
    c.hline(205, 0, 75, 'W')
    c.hline(205, 36, 75, 'G')
    c.hline(205, 37, 75, 'K')
    c.well(205 + 3, 12, 71, 16)

    # shaded playlist: left end (72, 42), filler (72, 57), right end
    # (99, 42) focused and (99, 57) unfocused, each 14 rows
    def shade_bar(x, y, w, active, left_end=False, right_end=False):
        hi, lo = ('W', 'K') if active else ('S', 'G')
        c.hline(x, y, w, hi)
        c.hline(x, y + 13, w, lo)
        c.hline(x, y + 1, w, 'S')
        c.hline(x, y + 12, w, 'G')
        fx0 = x + (5 if left_end else 0)
        fx1 = x + (27 if right_end else w)
        c.hline(fx0, y + 2, fx1 - fx0, 'K')
        c.hline(fx0, y + 11, fx1 - fx0, 'W')
        c.fill(fx0, y + 3, fx1 - fx0, 8, 'D')
        if left_end:
            c.vline(x, y, 14, hi)
            c.vline(x + 1, y + 1, 12, 'S')
            c.vline(fx0, y + 2, 10, 'K')
        if right_end:
            c.vline(fx1, y + 2, 10, 'W')
            small_button(c, x + 29, y + 3, icon('tb-unshade'))
            small_button(c, x + 39, y + 3, icon('tb-close'))
            c.vline(x + w - 1, y, 14, lo)
            c.vline(x + w - 2, y + 1, 12, 'G')
    shade_bar(72, 42, 25, True, left_end=True)
    shade_bar(72, 57, 25, True)
    shade_bar(99, 42, 50, True, right_end=True)
    shade_bar(99, 57, 50, False, right_end=True)
    return c, 4


# ----------------------------------------------------------------------
# 160 pl_menu: the five menu groups
# ----------------------------------------------------------------------

PL_MENUS = (
    (0, 48, (('+URL',), ('+DIR',), ('+FILE',))),
    (54, 100, (('-ALL',), ('CROP',), ('-FILE',), ('MISC',))),
    (104, 150, (('INV', 'SEL'), ('SEL', 'ZERO'), ('SEL', 'ALL'))),
    (154, 200, (('SORT', 'LIST'), ('FILE', 'INFO'), ('MISC', 'OPTS'))),
    (204, 250, (('NEW', 'LIST'), ('SAVE', 'LIST'), ('LOAD', 'LIST'))),
)


def piece_160():
    c = Canvas(253, 75)
    for x, bar, items in PL_MENUS:
        for k, lines in enumerate(items):
            y = 19 * k
            face(c, x, y, 22, 18)
            label_lines(c, lines, x, y, 22, 18)
            # highlighted: pressed in, the words lit on a back-colour plate
            face(c, x + 23, y, 22, 18, pressed=True)
            c.fill(x + 26, y + 3, 17, 13, 'D')
            label_lines(c, lines, x + 24, y + 1, 22, 18, ink='M')
        hgt = 19 * len(items) - 1
        c.vline(bar, 0, hgt, 'L')
        c.vline(bar + 1, 0, hgt, 'S')
        c.vline(bar + 2, 0, hgt, 'D')
    return c, 4


# ----------------------------------------------------------------------
# 163 eq_ex: the equalizer's shade mode
# ----------------------------------------------------------------------

def piece_163():
    """The composer frames the top of the equalizer band like the main
    window's shade bar (focused at row 0, unfocused at row 15); this piece
    adds the word, the volume and balance slots, the unshade and close
    buttons, the six small thumbs (y 30) and the pressed buttons (y 38,
    47)."""
    c = Canvas(275, 82)
    for y, active in ((0, True), (15, False)):
        write(c, 'EQUALIZER', 8, y + 5, core='Y' if active else 'O')
        # volume slot (61, 4) 97 wide and balance slot (164, 4) 43 wide;
        # the thumbs ride rows 4-10
        for x, w in ((61, 97), (164, 43)):
            c.frame(x - 1, y + 6, w + 2, 4, 'D', 'L')
            c.hline(x, y + 7, w, 'O')
            c.hline(x, y + 8, w, 'O')
        c.vline(185, y + 3, 2, 'L')
        c.vline(185, y + 11, 1, 'L')
        small_button(c, 254, y + 3, icon('tb-unshade'))
        small_button(c, 264, y + 3, icon('tb-close'))
    # volume thumbs at x 1, 4, 7 and balance thumbs at x 11, 14, 17
    for x in (1, 4, 7, 11, 14, 17):
        c.fill(x, 30, 3, 7, 'D')
        c.vline(x + 1, 31, 5, 'Y')
    small_button(c, 1, 38, icon('tb-shade'), True)
    small_button(c, 1, 47, icon('tb-unshade'), True)
    small_button(c, 11, 38, icon('tb-close'))
    small_button(c, 11, 47, icon('tb-close'), True)
    return c, 4


# ----------------------------------------------------------------------
# 164 gen: the frame of the generic windows
# ----------------------------------------------------------------------

# The six 25 x 20 pieces of a title row, by their x: corner, left end, title,
# right end, filler, corner with the close button.  A player lays them out as
# corner, fillers, left end, titles, right end, fillers, corner.
GEN_CORNER_L, GEN_LEFT_END, GEN_TITLE, GEN_RIGHT_END, GEN_FILLER, \
    GEN_CORNER_R = 0, 26, 52, 78, 104, 130


def gen_edges():
    """The window's outer edge (light, dark) and the codes of the content's
    sunken edge (dark top-left, light bottom-right)."""
    if HIGH_CONTRAST:
        return ('L', 'D'), ('D', 'L')
    return ('W', 'K'), ('K', 'W')


def gen_title_row(c, y, active):
    """One title row at row y.  The title field (inside rows 2-10, in the
    display colour) runs from the left end's column 18 through the title
    piece to the right end's column 6: Winamp writes the title at row 4,
    Webamp at row 2, and both land on the plain field the font's cells
    are drawn on.  Two ridges run through the rest, the close button sits
    in the right corner."""
    (light, dark), (sunk, lit) = gen_edges()
    hi, lo = ('D', 'L') if active else ('O', 'S')
    for x in (GEN_CORNER_L, GEN_LEFT_END, GEN_TITLE, GEN_RIGHT_END,
              GEN_FILLER, GEN_CORNER_R):
        c.hline(x, y, 25, light)
        c.hline(x, y + 1, 25, 'S')
        for r in (4, 7):
            c.hline(x, y + r, 25, hi)
            c.hline(x, y + r + 1, 25, lo)
        c.hline(x, y + 19, 25, sunk)    # the content's top edge
    # left corner: the window's left edge and the content's corner
    c.hline(0, y + 19, 10, '.')
    c.fill(2, y + 2, 1, 10, '.')
    c.vline(0, y, 20, light)
    c.vline(1, y + 1, 19, 'S')
    c.set(10, y + 19, sunk)
    # the title field across the left end, the title and the right end
    x0, x1 = GEN_LEFT_END + 17, GEN_RIGHT_END + 7
    for x in range(x0, x1 + 1):
        if x in (GEN_TITLE - 1, GEN_RIGHT_END - 1):
            continue                    # the gaps between the pieces
        c.vline(x, y + 1, 11, '.')
        c.set(x, y + 1, sunk)
        c.set(x, y + 11, lit)
        if x == x0:
            c.vline(x, y + 1, 11, sunk)
        elif x == x1:
            c.vline(x, y + 2, 10, lit)
        else:
            c.vline(x, y + 2, 9, 'D')
    c.fill(x0 - 2, y + 2, 2, 10, '.')
    c.fill(x1 + 1, y + 2, 2, 10, '.')
    # right corner: close button (14, 3), the window's right edge
    rx = GEN_CORNER_R
    c.fill(rx + 12, y + 2, 12, 11, '.')
    small_button(c, rx + 14, y + 3, icon('tb-close'))
    c.vline(rx + 24, y, 20, dark)
    c.vline(rx + 23, y + 1, 19, 'G')
    c.set(rx + 24, y, 'S')
    c.hline(rx + 18, y + 19, 5, '.')
    c.set(rx + 17, y + 19, lit)


def gen_left_side(c, x, y, h):
    """11 wide: the window's left edge, a groove, the content's edge."""
    light, _ = gen_edges()[0]
    sunk = gen_edges()[1][0]
    c.vline(x, y, h, light)
    c.vline(x + 1, y, h, 'S')
    c.vline(x + 4, y, h, 'D' if HIGH_CONTRAST else 'G')
    c.vline(x + 5, y, h, 'L' if HIGH_CONTRAST else 'S')
    c.vline(x + 9, y, h, 'G')
    c.vline(x + 10, y, h, sunk)


def gen_right_side(c, x, y, h):
    """8 wide: the content's edge, a groove, the window's right edge."""
    _, dark = gen_edges()[0]
    lit = gen_edges()[1][1]
    c.vline(x, y, h, lit)
    c.vline(x + 3, y, h, 'D' if HIGH_CONTRAST else 'G')
    c.vline(x + 4, y, h, 'L' if HIGH_CONTRAST else 'S')
    c.vline(x + 6, y, h, 'G')
    c.vline(x + 7, y, h, dark)


def gen_bottom(c, x, y, w):
    """The 14-row bottom edge: the content's edge on top, a ridge, the
    window's edge at the bottom."""
    _, dark = gen_edges()[0]
    lit = gen_edges()[1][1]
    c.hline(x, y, w, lit)
    ridge(c, x, y + 6, w)
    c.hline(x, y + 12, w, 'G')
    c.hline(x, y + 13, w, dark)


def piece_164():
    """gen.bmp's frame pieces (rows 0-86); the composer draws the title
    font below them."""
    c = Canvas(178, 87)
    gen_title_row(c, 0, True)
    gen_title_row(c, 21, False)
    (light, dark), (sunk, lit) = gen_edges()

    # bottom-left (0, 42) and bottom-right (0, 57), 125 x 14 each: the
    # content's edge ends where the sides' inner edges come down (x 10 and
    # x 117), the window's edges run on to the bottom
    gen_bottom(c, 0, 42, 125)
    c.hline(0, 42, 10, '.')
    c.fill(0, 48, 3, 2, '.')
    c.vline(0, 42, 13, light)
    c.vline(1, 42, 12, 'S')
    c.set(10, 42, lit)
    gen_bottom(c, 0, 57, 125)
    c.hline(118, 57, 7, '.')
    c.fill(104, 63, 21, 2, '.')
    c.vline(124, 57, 14, dark)
    c.vline(123, 58, 12, 'G')
    c.blit(icon('grip'), 110, 58)       # the resize corner
    # bottom filler (127, 72) 25 x 14
    gen_bottom(c, 127, 72, 25)

    # sides (127, 42) and (139, 42), 29 rows; their lowest pieces (158, 42)
    # and (170, 42), 24 rows
    gen_left_side(c, 127, 42, 29)
    gen_right_side(c, 139, 42, 29)
    gen_left_side(c, 158, 42, 24)
    gen_right_side(c, 170, 42, 24)

    # the close button pressed (148, 42)
    small_button(c, 148, 42, icon('tb-close'), True)
    return c, 4


# ----------------------------------------------------------------------
# 165 genex: the controls of the generic windows
# ----------------------------------------------------------------------

def genex_face(c, x, y, w, h, pressed):
    """A key whose middle the player stretches: the face of the other keys
    around a plain display-colour plate, the same in every row and column
    the player repeats."""
    face(c, x, y, w, h, pressed)
    c.fill(x + 3, y + 3, w - 6, h - 6, 'D')


def genex_thumb(c, x, y, w, h, pressed):
    """A scroll thumb: a plate with a grip line along it."""
    genex_face(c, x, y, w, h, pressed)
    hi, lo = ('O', 'L') if pressed else ('L', 'O')
    if h > w:
        c.vline(x + w // 2 - 1, y + 4, h - 8, hi)
        c.vline(x + w // 2, y + 4, h - 8, lo)
    else:
        c.hline(x + 4, y + h // 2 - 1, w - 8, hi)
        c.hline(x + 4, y + h // 2, w - 8, lo)


def piece_165():
    """genex.bmp's controls; the colour pixels of row 0 from x 48 are the
    composer's."""
    c = Canvas(112, 59)
    # the push button (0, 0), pressed (0, 16); the player keeps 4 columns
    # at each end and stretches the rest, and writes its label in the
    # middle
    genex_face(c, 0, 0, 47, 15, False)
    genex_face(c, 0, 16, 47, 15, True)
    # scroll arrows: up, down at y 31 and left, right at y 45, resting at
    # x 0 and 14, pressed at x 28 and 42
    for y, names in ((31, ('arrow-up', 'arrow-down')),
                     (45, ('arrow-left', 'arrow-right'))):
        for k, name in enumerate(names):
            for pressed in (False, True):
                symbol_button(c, 14 * k + 28 * pressed, y, 14, 14,
                              icon(name), pressed)
    # thumbs: vertical (56, 31) and pressed (70, 31), 14 x 28; horizontal
    # (84, 31) and pressed (84, 45), 28 x 14; the player keeps 4 pixels at
    # each end
    genex_thumb(c, 56, 31, 14, 28, False)
    genex_thumb(c, 70, 31, 14, 28, True)
    genex_thumb(c, 84, 31, 28, 14, False)
    genex_thumb(c, 84, 45, 28, 14, True)
    return c, 4


# ----------------------------------------------------------------------
# keyed full-colour pieces
# ----------------------------------------------------------------------

METAL_COLOURS = {
    'edge': (28, 30, 36),
    'lite': (236, 238, 242),
    'face0': (206, 210, 218),
    'face1': (150, 156, 168),
    'dark': (92, 96, 108),
    'grip': (64, 68, 80),
}


# the High Contrast folder's knobs: white keys with black rims and grips
STARK = {
    'edge': (0, 0, 0),
    'lite': (255, 255, 255),
    'face0': (248, 248, 248),
    'face1': (214, 214, 214),
    'dark': (96, 96, 96),
    'grip': (0, 0, 0),
}


def knob(c, x, y, w, h, pressed=False, grips='v'):
    """A metal knob: dark rim with rounded corners, a vertical sheen, grip
    lines in the middle.  Pressed knobs are darker and lit from below."""
    METAL = STARK if HIGH_CONTRAST else METAL_COLOURS
    top, bot = METAL['face0'], METAL['face1']
    if pressed:
        top, bot = scale(METAL['face1'], 0.7), scale(METAL['face0'], 0.75)
    for j in range(h):
        t = j / max(1, h - 1)
        col = mix(top, bot, t)
        for i in range(w):
            c.set(x + i, y + j, col)
    # rim
    for i in range(w):
        c.set(x + i, y, METAL['edge'])
        c.set(x + i, y + h - 1, METAL['edge'])
    for j in range(h):
        c.set(x, y + j, METAL['edge'])
        c.set(x + w - 1, y + j, METAL['edge'])
    for (i, j) in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
        c.set(x + i, y + j, KEY)
    # inner highlight / shade
    hi = METAL['lite'] if not pressed else METAL['dark']
    lo = METAL['dark'] if not pressed else METAL['lite']
    for i in range(1, w - 1):
        c.set(x + i, y + 1, hi)
        c.set(x + i, y + h - 2, lo)
    for j in range(1, h - 1):
        c.set(x + 1, y + j, hi)
        c.set(x + w - 2, y + j, lo)
    c.set(x + 1, y + h - 2, mix(hi, lo, 0.5))
    c.set(x + w - 2, y + 1, mix(hi, lo, 0.5))
    # grips
    if grips == 'v':
        mid = x + w // 2
        for gx in (mid - 3, mid, mid + 3):
            for j in range(3, h - 3):
                c.set(gx, y + j, METAL['grip'])
                c.set(gx + 1, y + j, METAL['lite'])
    elif grips == 'v2':
        mid = x + w // 2
        for gx in (mid - 2, mid + 1):
            for j in range(3, h - 3):
                c.set(gx - 1, y + j, METAL['grip'])
                c.set(gx, y + j, METAL['lite'])
    elif grips == 'h':
        mid = y + h // 2
        for gy in (mid - 3, mid, mid + 3):
            for i in range(2, w - 2):
                c.set(x + i, gy - 1, METAL['grip'])
                c.set(x + i, gy, METAL['lite'])
    elif grips == 'dot':
        cx, cy = x + w // 2, y + h // 2
        c.set(cx - 1, cy - 1, METAL['grip'])
        c.set(cx, cy - 1, METAL['grip'])
        c.set(cx - 1, cy, METAL['grip'])
        c.set(cx, cy, METAL['lite'])


def piece_123():
    c = Canvas(89, 11, bg=KEY)
    knob(c, 0, 0, 29, 10)
    knob(c, 30, 0, 29, 10, pressed=True)
    # volume / balance thumbs: the player reads the pressed one at (60, 0)
    # (volume.bmp x 0) and the resting one at (75, 0) (volume.bmp x 15)
    knob(c, 60, 0, 14, 11, pressed=True, grips='v2')
    knob(c, 75, 0, 14, 11, grips='v2')
    return c, 8


# the graph's line colours, top (red) to bottom (green)
EQ_GRAPH_COLORS = (
    (239, 8, 16), (239, 82, 33), (239, 123, 33), (239, 156, 41),
    (239, 156, 41), (239, 156, 41), (239, 189, 41), (239, 214, 49),
    (239, 214, 49), (239, 231, 49), (214, 231, 49), (206, 239, 57),
    (173, 239, 57), (173, 239, 57), (156, 239, 49), (107, 231, 49),
    (66, 198, 33), (49, 189, 16), (24, 156, 8))


def level_colour(t):
    """Colour of a slider bar at level t (0 bottom, green; 1 top, red)."""
    ramp = list(reversed(EQ_GRAPH_COLORS))
    f = t * (len(ramp) - 1)
    i = min(int(f), len(ramp) - 2)
    return mix(ramp[i], ramp[i + 1], f - i)


def piece_154():
    c = Canvas(209, 129, bg=KEY)
    shade = (0.55, 0.85, 1.0, 0.8, 0.5)
    for k in range(28):
        x = 4 + 15 * (k % 14)
        y = 1 + 65 * (k // 14)
        base = level_colour(k / 27)
        for i, f in enumerate(shade):
            col = scale(base, f)
            if i == 2:
                col = mix(col, (255, 255, 255), 0.25)
            if HIGH_CONTRAST and i in (0, 4):
                col = (0, 0, 0)
            for j in range(61):
                c.set(x + i, y + j, col)
    return c, 8


def piece_159():
    c = Canvas(11, 23, bg=KEY)
    knob(c, 0, 0, 11, 11, grips='h')
    knob(c, 0, 12, 11, 11, pressed=True, grips='h')
    return c, 8


def piece_156():
    c = Canvas(17, 18, bg=KEY)
    knob(c, 0, 0, 8, 18, grips='h')
    knob(c, 9, 0, 8, 18, pressed=True, grips='h')
    return c, 8


def piece_162():
    """A sample curve for the equalizer preview: outer bands high, middle
    low, drawn in the graph's line colours."""
    c = Canvas(113, 19, bg=KEY)
    knob_y = (39, 50, 64, 70, 78, 78, 70, 64, 50, 39)
    pts = [(round(i * 112 / 9), (ky - 38) * 18 / 51)
           for i, ky in enumerate(knob_y)]

    def at(xq):
        # Catmull-Rom through the band points
        for k in range(len(pts) - 1):
            x0, y0 = pts[k]
            x1, y1 = pts[k + 1]
            if x0 <= xq <= x1:
                ym = pts[k - 1][1] if k > 0 else y0
                yp = pts[k + 2][1] if k + 2 < len(pts) else y1
                t = (xq - x0) / (x1 - x0)
                return 0.5 * ((2 * y0) + (-ym + y1) * t +
                              (2 * ym - 5 * y0 + 4 * y1 - yp) * t * t +
                              (-ym + 3 * y0 - 3 * y1 + yp) * t * t * t)
        return pts[-1][1]

    prev = None
    for x in range(113):
        y = max(0, min(18, int(round(at(x)))))
        # join to the previous column so the line has no holes
        if prev is None or abs(y - prev) <= 1:
            span = [y]
        elif y > prev:
            span = range(prev + 1, y + 1)
        else:
            span = range(y, prev)
        for yy in span:
            c.set(x, yy, EQ_GRAPH_COLORS[yy])
        prev = y
    return c, 8


PIECES = {
    104: piece_104, 105: piece_105, 106: piece_106, 107: piece_107,
    108: piece_108, 109: piece_109, 110: piece_110, 111: piece_111,
    112: piece_112, 123: piece_123, 139: piece_139, 140: piece_140,
    152: piece_152, 154: piece_154, 155: piece_155, 156: piece_156,
    157: piece_157, 158: piece_158, 159: piece_159, 160: piece_160,
    162: piece_162, 163: piece_163, 164: piece_164, 165: piece_165,
}

NAMES = {
    104: 'button', 105: 'caption', 106: 'option', 107: 'smallbtn',
    108: 'shufrep', 109: 'stereo', 110: 'digits mask', 111: 'font mask',
    112: 'play/pause mask', 123: 'posvol', 139: 'main', 140: 'posbar',
    152: 'eq_main', 154: 'eq_track', 155: 'pl_main', 156: 'pl_btn',
    157: 'eq_btn', 158: 'eq_graph', 159: 'eq_trbtn', 160: 'pl_menu',
    162: 'eq curve', 163: 'eq_ex', 164: 'gen', 165: 'genex',
}


def build(pid):
    return PIECES[pid]()
