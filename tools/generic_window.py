#!/usr/bin/python3
"""Draw a generic window (media library, visualisation, plug-ins) the way a
player builds it from a skin folder's gen.bmp and genex.bmp, to look at:

    /usr/bin/python3 tools/generic_window.py SKINDIR OUT.png [TITLE]

No player at hand draws one whole, so this follows the layout of gen.bmp and
genex.bmp as players read them: the title row laid out corner, fillers, left
end, title pieces, right end, fillers, corner, the title written with gen.bmp's
font (letters measured by the delimiter rule), the sides and bottom, and inside
a list with a header, a selected row, a scroll bar and a push button, in the
colours of genex.bmp's row 0.  The focused window is drawn above the
unfocused one, three times enlarged.  Needs PIL.
"""

import sys

from PIL import Image, ImageDraw, ImageFont

WIDTH, HEIGHT = 300, 200


def letters(gen, y):
    """The title font of the row at y: {letter: sprite}, by the delimiter
    rule a player uses."""
    delimiter = gen.getpixel((0, y))
    font, x = {}, 1
    for letter in 'ABCDEFGHIJKLMNOPQRSTUVWXYZ':
        end = x
        while end < gen.width and gen.getpixel((end, y)) != delimiter:
            end += 1
        font[letter] = gen.crop((x, y, end, y + 7))
        x = end + 1
    return font


def tile(win, piece, x0, x1, y):
    x = x0
    while x < x1:
        part = piece.crop((0, 0, min(piece.width, x1 - x), piece.height))
        win.paste(part, (x, y))
        x += piece.width


def stretched(sprite, w, h, edge, horizontal=True):
    """A sprite whose `edge` pixels at each end are kept and whose middle is
    stretched to w x h."""
    if horizontal:
        mid = sprite.crop((edge, 0, sprite.width - edge, sprite.height))
        out = Image.new('RGB', (w, h))
        out.paste(sprite.crop((0, 0, edge, h)), (0, 0))
        out.paste(mid.resize((w - 2 * edge, h), Image.NEAREST), (edge, 0))
        out.paste(sprite.crop((sprite.width - edge, 0, sprite.width, h)),
                  (w - edge, 0))
        return out
    return stretched(sprite.transpose(Image.TRANSPOSE), h, w, edge) \
        .transpose(Image.TRANSPOSE)


def frame(gen, title, focused):
    win = Image.new('RGB', (WIDTH, HEIGHT), (255, 0, 255))
    y = 0 if focused else 21
    piece = {name: gen.crop((x, y, x + 25, y + 20)) for name, x in (
        ('corner-l', 0), ('left-end', 26), ('title', 52), ('right-end', 78),
        ('filler', 104), ('corner-r', 130))}
    font = letters(gen, 88 if focused else 96)
    width = sum(font[c].width if c in font else 5 for c in title.upper())
    n = max(1, -(-width // 25))
    middle = 50 + 25 * n
    left = (WIDTH - 50 - middle) // 2 + 25
    tile(win, piece['filler'], 25, WIDTH - 25, 0)
    win.paste(piece['corner-l'], (0, 0))
    win.paste(piece['corner-r'], (WIDTH - 25, 0))
    win.paste(piece['left-end'], (left, 0))
    tile(win, piece['title'], left + 25, left + 25 + 25 * n, 0)
    win.paste(piece['right-end'], (left + 25 + 25 * n, 0))
    pen = left + 25 + (25 * n - width) // 2
    for c in title.upper():
        if c in font:
            win.paste(font[c], (pen, 4))
            pen += font[c].width
        else:
            pen += 5
    # sides every 29 rows, their lowest pieces just above the bottom
    for x, w, sx, lx in ((0, 11, 127, 158), (WIDTH - 8, 8, 139, 170)):
        side = gen.crop((sx, 42, sx + w, 71))
        for yy in range(20, HEIGHT - 14 - 24, 29):
            win.paste(side.crop((0, 0, w, min(29, HEIGHT - 38 - yy))), (x, yy))
        win.paste(gen.crop((lx, 42, lx + w, 66)), (x, HEIGHT - 14 - 24))
    tile(win, gen.crop((127, 72, 152, 86)), 0, WIDTH, HEIGHT - 14)
    win.paste(gen.crop((0, 42, 125, 56)), (0, HEIGHT - 14))
    win.paste(gen.crop((0, 57, 125, 71)), (WIDTH - 125, HEIGHT - 14))
    return win


def content(win, genex, focused):
    col = [genex.getpixel((48 + 2 * i, 0)) for i in range(22)]
    (item_bg, item_fg, window_bg, button_fg, window_fg, divider, _,
     head_bg, head_fg, head_hi, head_lo, _, head_dead, sb1, sb2, _, _,
     sb_dead, sel_fg, sel_bg, sel_fg2, sel_bg2) = col
    d = ImageDraw.Draw(win)
    text = ImageFont.load_default()
    x0, y0, x1, y1 = 11, 20, WIDTH - 8, HEIGHT - 14
    d.rectangle((x0, y0, x1 - 1, y1 - 1), fill=window_bg)
    d.text((x0 + 4, y0 + 3), 'Local Media', fill=window_fg, font=text)
    d.line((x0 + 4, y0 + 16, x1 - 5, y0 + 16), fill=divider)
    # the list: header, rows, a vertical scroll bar
    lx0, ly0, lx1, ly1 = x0 + 4, y0 + 20, x1 - 5, y1 - 24
    d.rectangle((lx0, ly0, lx1 - 1, ly1 - 1), fill=item_bg)
    d.rectangle((lx0, ly0, lx1 - 15, ly0 + 13), fill=head_bg)
    d.line((lx0, ly0, lx1 - 15, ly0), fill=head_hi)
    d.line((lx0, ly0 + 13, lx1 - 15, ly0 + 13), fill=head_lo)
    d.line((lx0 + 120, ly0, lx0 + 120, ly0 + 13), fill=head_lo)
    d.text((lx0 + 3, ly0 + 1), 'Artist', fill=head_fg, font=text)
    d.text((lx0 + 123, ly0 + 1), 'Title', fill=head_fg, font=text)
    rows = ('Test Artist', 'Other Artist', 'Someone Else', 'A Band',
            'Fourth Row', 'Last One')
    for k, name in enumerate(rows):
        y = ly0 + 15 + 13 * k
        if y + 12 > ly1:
            break
        fg = item_fg
        if k == 1:
            bg, fg = (sel_bg, sel_fg) if focused else (sel_bg2, sel_fg2)
            d.rectangle((lx0, y, lx1 - 15, y + 12), fill=bg)
        d.text((lx0 + 3, y), name, fill=fg, font=text)
        d.text((lx0 + 123, y), 'Track %d' % (k + 1), fill=fg, font=text)
    sx = lx1 - 14
    for yy in range(ly0, ly1):
        d.line((sx, yy, sx + 13, yy), fill=sb1 if yy % 2 else sb2)
    win.paste(genex.crop((0, 31, 14, 45)), (sx, ly0))
    win.paste(genex.crop((14, 31, 28, 45)), (sx, ly1 - 14))
    thumb = stretched(genex.crop((56, 31, 70, 59)), 14, 40, 4,
                      horizontal=False)
    win.paste(thumb, (sx, ly0 + 20))
    d.rectangle((sx, ly1 - 14 - 1, sx + 13, ly1 - 14 - 1), fill=sb_dead)
    # two push buttons under the list, the second pressed
    for k, label in enumerate(('Play', 'Enqueue')):
        y = 0 if k == 0 else 16
        b = stretched(genex.crop((0, y, 47, y + 15)), 60, 15, 4)
        bx = lx0 + 66 * k
        win.paste(b, (bx, y1 - 19))
        tw = d.textlength(label, font=text)
        d.text((bx + (60 - tw) // 2 + k, y1 - 18 + k), label, fill=button_fg,
               font=text)


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    gen = Image.open(argv[1] + '/gen.bmp').convert('RGB')
    genex = Image.open(argv[1] + '/genex.bmp').convert('RGB')
    title = argv[3] if len(argv) > 3 else 'Media Library'
    sheet = Image.new('RGB', (WIDTH, 2 * HEIGHT + 6), (96, 96, 96))
    for k, focused in enumerate((True, False)):
        win = frame(gen, title, focused)
        content(win, genex, focused)
        sheet.paste(win, (0, k * (HEIGHT + 6)))
    sheet.resize((sheet.width * 3, sheet.height * 3), Image.NEAREST) \
        .save(argv[2])
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
