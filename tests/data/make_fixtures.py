#!/usr/bin/python3
"""Makes the picture fixtures of the tests. Run it again only to change them.

- im-*.bmp: one small 9 x 5 picture written by ImageMagick in the forms other programs produce
  (BMP3, its default BMP with a V5 header, 8-bit RLE8, 4-bit, 1-bit, 16-bit bitfields,
  32-bit with alpha), each with im-*.rgb beside it: the pixels as Pillow reads them, top row
  first, three bytes red, green, blue per pixel.
"""
import os
import struct
import subprocess
import sys

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
CONVERT = "/usr/bin/convert"


def source_picture(path):
    # 9 x 5, every pixel a different colour with distinct channels, so a flip, a shift or a
    # red/blue swap shows; 45 colours, so ImageMagick's palette form is 8-bit (RLE8).
    im = Image.new("RGB", (9, 5))
    for y in range(5):
        for x in range(9):
            im.putpixel((x, y), ((x * 29 + y * 7) % 256, (y * 53 + x * 3) % 256, (200 - x * 11 - y * 17) % 256))
    im.save(path)


def main():
    os.chdir(HERE)
    source_picture("/tmp/korvane-fixture.ppm")
    forms = {
        "im-bmp3-24.bmp": ["-type", "TrueColor", "BMP3:"],
        "im-v5-24.bmp": ["-type", "TrueColor", ""],
        "im-rle8.bmp": ["-type", "Palette", ""],
        "im-bmp3-rle8.bmp": ["-type", "Palette", "BMP3:"],
        "im-4bit.bmp": ["-colors", "16", "-type", "Palette", ""],
        "im-1bit.bmp": ["-monochrome", ""],
        "im-565.bmp": ["-define", "bmp:subtype=RGB565", ""],
        "im-555.bmp": ["-define", "bmp:subtype=RGB555", ""],
        "im-32.bmp": ["-type", "TrueColorAlpha", ""],
    }
    for name, args in forms.items():
        *options, prefix = args
        subprocess.run([CONVERT, "/tmp/korvane-fixture.ppm", *options, prefix + name], check=True)
        with Image.open(name) as im:
            rgb = im.convert("RGB").tobytes()
        with open(name[:-4] + ".rgb", "wb") as f:
            f.write(rgb)
        with open(name, "rb") as f:
            d = f.read()
        size, bits, comp = struct.unpack_from("<I", d, 14)[0], *struct.unpack_from("<HI", d, 28)
        print(f"{name}: header {size}, {bits} bits, compression {comp}", file=sys.stderr)


main()
