#!/usr/bin/env python3
"""Draws Sumwise's icon and writes it as res/sumwise.ico.

The picture: a page of text with a yellow seal over its lower right corner,
and a navy "#" on the seal -- a file and its digest. The yellow is the same
as the main window's Hash field.

The file holds two images, 32 x 32 and 16 x 16, both 4 bits per pixel in the
16-colour Windows palette, so it looks the same on every display depth and
in the About box's icon control. The 16 x 16 image is drawn pixel by pixel
rather than scaled down, because a scaled "#" turns to mush at that size.

Standard library only. Run from anywhere; the output goes beside this file:
    python3 res/make-icon.py
"""

import os
import struct

# The standard 16-colour palette, in the order every 4-bit DIB expects.
PALETTE = [
    (0x00, 0x00, 0x00),  # 0 black
    (0x80, 0x00, 0x00),  # 1 maroon
    (0x00, 0x80, 0x00),  # 2 green
    (0x80, 0x80, 0x00),  # 3 olive
    (0x00, 0x00, 0x80),  # 4 navy
    (0x80, 0x00, 0x80),  # 5 purple
    (0x00, 0x80, 0x80),  # 6 teal
    (0xC0, 0xC0, 0xC0),  # 7 silver
    (0x80, 0x80, 0x80),  # 8 gray
    (0xFF, 0x00, 0x00),  # 9 red
    (0x00, 0xFF, 0x00),  # 10 lime
    (0xFF, 0xFF, 0x00),  # 11 yellow
    (0x00, 0x00, 0xFF),  # 12 blue
    (0xFF, 0x00, 0xFF),  # 13 fuchsia
    (0x00, 0xFF, 0xFF),  # 14 aqua
    (0xFF, 0xFF, 0xFF),  # 15 white
]

# Pixel letters used by the drawings; None is transparent.
INK = {
    ".": None,
    "K": 0,   # outline
    "o": 3,   # seal's shaded edge
    "N": 4,   # the "#"
    "s": 7,   # fold, light lines
    "g": 8,   # text lines, shadow
    "Y": 11,  # seal
    "W": 15,  # paper
}

# At 16 px every pixel counts, so this one is drawn by hand.
SMALL = """
.KKKKKKKK.......
.KWWWWWWKK......
.KWWWWWWKsK.....
.KWggggWKKKK....
.KWWWWWWWWWKg...
.KWgggggggWKg...
.KWWWWWKKKKKKK..
.KWgggKYYYYYYYK.
.KWWWWKYYNYNYYKg
.KWgggKYNNNNNYKg
.KWWWWKYYNYNYYKg
.KWgggKYNNNNNYKg
.KWWWWKYYNYNYYKg
.KKKKKKYYYYYYYKg
..gggggKKKKKKKg.
........ggggggg.
"""


def parse(drawing):
    rows = [line for line in drawing.strip("\n").split("\n")]
    return [[INK[ch] for ch in row] for row in rows]


def draw_large():
    """The 32 x 32 image, drawn from shapes so the proportions stay exact."""
    n = 32
    px = [[None] * n for _ in range(n)]

    def put(x, y, c):
        if 0 <= x < n and 0 <= y < n:
            px[y][x] = c

    def fill(x0, y0, x1, y1, c):  # inclusive corners
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                put(x, y, c)

    # Page: outline from (4, 1) to (21, 28); the top right corner folds down
    # along the diagonal x - y == 14.
    left, top, right, bottom, fold = 4, 1, 21, 28, 6
    diag = right - fold - top  # x - y on the fold's diagonal
    fill(left + 1, bottom + 1, right + 1, bottom + 1, INK["g"])  # shadow
    fill(right + 1, top + fold + 1, right + 1, bottom + 1, INK["g"])
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if x - y > diag:
                continue  # cut away by the fold
            edge = x in (left, right) or y in (top, bottom) or x - y == diag
            put(x, y, INK["K"] if edge else INK["W"])
    # The turned-down flap, a triangle below the diagonal.
    fx = right - fold
    for y in range(top, top + fold + 1):
        for x in range(fx, right + 1):
            if x - y >= diag:
                continue
            edge = x == fx or y == top + fold
            put(x, y, INK["K"] if edge else INK["s"])

    # Lines of text; the seal covers the ends of the lower ones.
    for y, x1 in ((5, 12), (8, 12), (11, 18), (14, 16), (17, 18), (20, 17),
                  (23, 18), (26, 15)):
        fill(left + 3, y, x1, y, INK["g"])

    # Seal: rounded square from (15, 15) to (30, 30) with a shaded lower
    # right edge and a shadow.
    s0, s1 = 15, 30
    fill(s0 + 2, s1 + 1, s1, s1 + 1, INK["g"])
    fill(s1 + 1, s0 + 2, s1 + 1, s1, INK["g"])
    fill(s0 + 1, s0 + 1, s1 - 1, s1 - 1, INK["Y"])
    fill(s0 + 1, s0, s1 - 1, s0, INK["K"])
    fill(s0 + 1, s1, s1 - 1, s1, INK["K"])
    fill(s0, s0 + 1, s0, s1 - 1, INK["K"])
    fill(s1, s0 + 1, s1, s1 - 1, INK["K"])
    fill(s0 + 1, s1 - 1, s1 - 1, s1 - 1, INK["o"])
    fill(s1 - 1, s0 + 1, s1 - 1, s1 - 1, INK["o"])
    put(s0 + 1, s0 + 1, INK["K"])  # round the corners
    put(s1 - 1, s0 + 1, INK["K"])
    put(s0 + 1, s1 - 1, INK["K"])
    put(s1 - 1, s1 - 1, INK["K"])

    # The "#": two bars each way, two pixels thick, on a yellow margin.
    fill(19, 18, 20, 27, INK["N"])
    fill(24, 18, 25, 27, INK["N"])
    fill(17, 20, 27, 21, INK["N"])
    fill(17, 24, 27, 25, INK["N"])
    return px


def dib(pixels):
    """One icon image: BITMAPINFOHEADER, palette, XOR bitmap, AND mask."""
    h = len(pixels)
    w = len(pixels[0])
    xor_stride = (w * 4 + 31) // 32 * 4
    and_stride = (w + 31) // 32 * 4
    header = struct.pack(
        "<IiiHHIIiiII",
        40,           # biSize
        w,
        2 * h,        # XOR and AND bitmaps stacked
        1,            # biPlanes
        4,            # biBitCount
        0,            # BI_RGB
        (xor_stride + and_stride) * h,
        0, 0,
        16,           # biClrUsed
        0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):  # DIBs store the bottom row first
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, c in enumerate(row):
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)  # transparent: screen shows through
                c = 0
            line[x // 2] |= c << (4 if x % 2 == 0 else 0)
        xor += line
        mask += bits
    return header + palette + bytes(xor) + bytes(mask)


def ico(images):
    """An .ico file: ICONDIR, one ICONDIRENTRY per image, then the images."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for px in images:
        blob = dib(px)
        w, h = len(px[0]), len(px)
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 16, 0, 1, 4,
                           len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b"".join(blobs)


def main():
    small = parse(SMALL)
    assert len(small) == 16 and all(len(r) == 16 for r in small)
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "sumwise.ico"), "wb") as f:
        f.write(ico([draw_large(), small]))


if __name__ == "__main__":
    main()
