#!/usr/bin/env python3
"""Draws Korvane's program icon: a little player window whose display shows a sunset
picture with equalizer bars standing in front of it (a picture turned into a skin).

Writes korvane.ico with a 16 x 16 and a 32 x 32 image, each 32-bit BGRA with the 1-bit AND
mask that older systems use. With --png FILE it also writes both sizes side by side,
enlarged 8 times, to look at. Standard library only.

    python3 resources/make_icon.py [ICO] [--png PREVIEW.png]
"""

import argparse
import os
import struct
import zlib

TRANSPARENT = (0, 0, 0, 0)

FRAME = (16, 22, 32)            # outline of the window
TITLE_LEFT = (44, 190, 200)     # title bar gradient, teal to blue
TITLE_RIGHT = (40, 100, 210)
TITLE_SHINE = (170, 240, 245)
SKY = [(58, 28, 113), (170, 60, 120), (230, 110, 110), (255, 176, 120)]  # top to bottom
SUN = (255, 226, 102)
BAR_LOW = (60, 220, 90)         # equalizer segments by height
BAR_MID = (245, 208, 32)
BAR_HIGH = (240, 80, 60)
BAR_EDGE = (12, 40, 20)


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def sky_colour(t):
    """The sunset gradient at t (0 top, 1 bottom)."""
    t = min(max(t, 0.0), 1.0) * (len(SKY) - 1)
    i = min(int(t), len(SKY) - 2)
    return lerp(SKY[i], SKY[i + 1], t - i)


class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [[TRANSPARENT] * size for _ in range(size)]

    def put(self, x, y, rgb, alpha=255):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = (rgb[0], rgb[1], rgb[2], alpha)

    def rect(self, x0, y0, x1, y1, rgb):
        """Fills the inclusive rectangle."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, rgb)


def draw(size):
    """One icon image; the layout is set per size so each pixel is placed on purpose."""
    c = Canvas(size)
    if size == 32:
        left, top, right, bottom = 1, 3, 30, 28
        title_rows = (5, 7)
        display = (3, 9, 28, 26)
        sun = (23, 15, 3.6)
        bars = [(5, 9), (9, 14), (13, 7), (17, 12)]  # (x, height), 3 pixels wide
        bar_width = 3
    else:
        left, top, right, bottom = 0, 1, 15, 14
        title_rows = (2, 3)
        display = (1, 5, 14, 13)
        sun = (12, 8, 1.8)
        bars = [(2, 5), (5, 8), (8, 4)]
        bar_width = 2

    # The window: outline with its four corner pixels cut, so it reads as rounded.
    c.rect(left, top, right, bottom, FRAME)
    for x, y in ((left, top), (right, top), (left, bottom), (right, bottom)):
        c.put(x, y, TRANSPARENT[:3], 0)

    # Title bar, with a light line along its top like a classic player's caption.
    for y in range(title_rows[0], title_rows[1] + 1):
        for x in range(left + 1, right):
            t = (x - left - 1) / max(1, right - left - 2)
            colour = lerp(TITLE_LEFT, TITLE_RIGHT, t)
            if y == title_rows[0]:
                colour = lerp(colour, TITLE_SHINE, 0.45)
            c.put(x, y, colour)

    # The picture: a sunset sky with the sun low on the right.
    dx0, dy0, dx1, dy1 = display
    sx, sy, radius = sun
    for y in range(dy0, dy1 + 1):
        for x in range(dx0, dx1 + 1):
            colour = sky_colour((y - dy0) / max(1, dy1 - dy0))
            d = ((x - sx) ** 2 + (y - sy) ** 2) ** 0.5
            if d <= radius:
                colour = SUN
            elif d <= radius + 1:
                colour = lerp(SUN, colour, d - radius)
            c.put(x, y, colour)

    # Equalizer bars standing on the display's bottom edge, green low, yellow, red on top.
    tallest = max(h for _, h in bars)
    for x, height in bars:
        for i in range(height):
            y = dy1 - i
            level = i / max(1, tallest - 1)
            colour = BAR_LOW if level < 0.5 else BAR_MID if level < 0.8 else BAR_HIGH
            for k in range(bar_width):
                c.put(x + k, y, colour)
        # A dark cap line on top keeps the bars apart from a light sky.
        for k in range(bar_width):
            c.put(x + k, dy1 - height, BAR_EDGE)
    return c


def ico_image(canvas):
    """The icon image as stored in a .ico: BITMAPINFOHEADER (height doubled for the two
    masks), BGRA rows bottom first, then the AND mask rows padded to 4 bytes."""
    size = canvas.size
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(canvas.pixels):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(canvas.pixels):
        line = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(xor) + bytes(mask)


def ico_file(canvases):
    images = [ico_image(c) for c in canvases]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, image in zip(canvases, images):
        data += struct.pack("<BBBBHHII", canvas.size, canvas.size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return data + b"".join(images)


def png_file(width, height, rows):
    """A truecolour PNG with alpha from rows of (r, g, b, a)."""
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def preview(canvases, zoom=8, gap=16):
    """Both sizes enlarged on a checkerboard, so see-through pixels show."""
    width = sum(c.size * zoom for c in canvases) + gap * (len(canvases) + 1)
    height = max(c.size * zoom for c in canvases) + 2 * gap
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            shade = 200 if ((x // 8) + (y // 8)) % 2 else 235
            row.append((shade, shade, shade, 255))
        rows.append(row)
    left = gap
    for c in canvases:
        for y in range(c.size * zoom):
            for x in range(c.size * zoom):
                r, g, b, a = c.pixels[y // zoom][x // zoom]
                if a:
                    rows[gap + y][left + x] = (r, g, b, 255)
        left += c.size * zoom + gap
    return png_file(width, height, rows)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description="Draws Korvane's program icon.")
    parser.add_argument("ico", nargs="?", default=os.path.join(here, "korvane.ico"))
    parser.add_argument("--png", help="also write an enlarged preview here")
    args = parser.parse_args()
    canvases = [draw(16), draw(32)]
    with open(args.ico, "wb") as f:
        f.write(ico_file(canvases))
    if args.png:
        with open(args.png, "wb") as f:
            f.write(preview(canvases))


if __name__ == "__main__":
    main()
