#!/usr/bin/env python3
"""Draws Sumwise's icon and writes it as res/sumwise.ico.

The picture: a page of text with a yellow seal over its lower right corner,
and a navy "#" on the seal -- a file and its digest. The yellow is the same
as the main window's Hash field.

The file holds the same picture twice over. First two images in the 16-colour
Windows palette, 32 x 32 and 16 x 16, for displays of 16 colours. Then
32-bit colour with alpha at every size Windows asks for from 100 % to 200 %
display scale and in Explorer's views: 16, 20, 24, 32, 40, 48, 64 and 256
pixels, the 256 one stored as PNG. Windows takes the true-colour image of
the size it needs instead of stretching a smaller one. The 16 x 16 images
are drawn pixel by pixel rather than scaled down, because a scaled "#"
turns to mush at that size; the others are drawn from the same shapes on
the 32-unit grid, every edge on a whole pixel so that lines stay sharp, with
only the fold's diagonal and the seal's corners smoothed by partial alpha.

The output is the same bytes on every run: no dates, and zlib at a fixed
level for the PNG.

Standard library only. Run from anywhere; the output goes beside this file:
    python3 res/make-icon.py
"""

import math
import os
import struct
import zlib

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


# True-colour inks, RGBA. The shadows are translucent, so they darken
# whatever the icon is drawn on.
RGBA = {
    "K": (0x00, 0x00, 0x00, 0xFF),
    "o": (0x80, 0x80, 0x00, 0xFF),
    "N": (0x00, 0x00, 0x80, 0xFF),
    "s": (0xC0, 0xC0, 0xC0, 0xFF),
    "g": (0x80, 0x80, 0x80, 0xFF),
    "Y": (0xFF, 0xFF, 0x00, 0xFF),
    "W": (0xFF, 0xFF, 0xFF, 0xFF),
    "shadow": (0x00, 0x00, 0x00, 0x60),
}
SUBSAMPLES = 4  # per pixel and axis, for the partial alpha of slanted edges


def draw_true_colour(n):
    """The n x n image as rows of RGBA tuples, from the 32-unit design."""
    u = n / 32.0
    s = SUBSAMPLES
    size = n * s
    canvas = [[None] * size for _ in range(size)]

    def px(v):  # a grid line on the 32-unit grid, as a whole pixel
        return int(math.floor(v * u + 0.5))

    t = max(1, px(1))  # outline width

    def paint(ink, x0, y0, x1, y1, inside=lambda x, y: True):
        """Fills the pixel box [x0, x1) x [y0, y1) where inside(x, y) holds,
        x and y being subsample centres in pixels."""
        colour = RGBA[ink]
        for sy in range(max(0, y0 * s), min(size, y1 * s)):
            y = (sy + 0.5) / s
            row = canvas[sy]
            for sx in range(max(0, x0 * s), min(size, x1 * s)):
                if inside((sx + 0.5) / s, y):
                    row[sx] = colour

    def rounded(x0, y0, x1, y1, r):
        def inside(x, y):
            cx = min(max(x, x0 + r), x1 - r)
            cy = min(max(y, y0 + r), y1 - r)
            return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
        return inside

    # Page with its top right corner folded down along a 45-degree line.
    left, top, right, bottom = px(4), px(1), px(22), px(29)
    fold = px(16) - top  # kept where x - y < fold
    diag = t * math.sqrt(2)
    paint("shadow", left + t, bottom, right + t, bottom + t)
    paint("shadow", right, px(8), right + t, bottom)
    paint("K", left, top, right, bottom, lambda x, y: x - y < fold)
    paint("W", left + t, top + t, right - t, bottom - t, lambda x, y: x - y < fold - diag)
    # The turned-down flap.
    flap_x, flap_y = px(15), px(8)
    paint("K", flap_x, top, right, flap_y, lambda x, y: x - y < fold)
    paint("s", flap_x + t, top, right, flap_y - t, lambda x, y: x - y < fold - diag)

    # Lines of text, one a grid step high, every third step; the seal covers
    # the ends of the lower ones.
    step = max(2 * t, px(3))
    ends = (12, 12, 18, 16, 18, 17, 18, 15)
    y, i = px(5), 0
    while y + t <= bottom - 2 * t:
        end = px(ends[i % len(ends)] + 1)
        if y < flap_y:
            end = min(end, flap_x - t)  # clear of the flap
        paint("g", left + 3 * t, y, min(end, right - 2 * t), y + t)
        y += step
        i += 1

    # Seal: a rounded square with a shaded lower right edge and a shadow.
    s0, s1 = px(15), px(31)
    r = max(1.0, 1.5 * u)
    paint("shadow", s0 + t, s0 + t, s1 + t, s1 + t, rounded(s0 + t, s0 + t, s1 + t, s1 + t, r))
    paint("K", s0, s0, s1, s1, rounded(s0, s0, s1, s1, r))
    paint("o", s0 + t, s0 + t, s1 - t, s1 - t, rounded(s0 + t, s0 + t, s1 - t, s1 - t, max(0.5, r - t)))
    paint("Y", s0 + t, s0 + t, s1 - 2 * t, s1 - 2 * t,
          rounded(s0 + t, s0 + t, s1 - 2 * t, s1 - 2 * t, max(0.5, r - t)))

    # The "#": two bars each way, two grid steps thick and three apart, the
    # crossing bars reaching two steps past them, centred on the yellow. The
    # bars stay one pixel thick until two steps make two whole pixels, so
    # that small sizes keep their holes.
    bar = max(1, int(math.floor(2 * u)))
    gap = max(1, px(3))
    reach = max(1, px(2))
    span = 2 * reach + 2 * bar + gap
    first = s0 + t + (s1 - 3 * t - s0 - span) // 2
    for a in (first + reach, first + reach + bar + gap):
        paint("N", a, first, a + bar, first + span)
        paint("N", first, a, first + span, a + bar)

    return [[blend(canvas, x, y) for x in range(n)] for y in range(n)]


def blend(canvas, x, y):
    """One pixel from its subsamples: alpha is their mean, colour the mean
    weighted by alpha."""
    s = SUBSAMPLES
    r = g = b = a = 0
    for sy in range(y * s, y * s + s):
        for sx in range(x * s, x * s + s):
            c = canvas[sy][sx]
            if c is not None:
                r += c[0] * c[3]
                g += c[1] * c[3]
                b += c[2] * c[3]
                a += c[3]
    if a == 0:
        return (0, 0, 0, 0)
    return (r // a, g // a, b // a, a // (s * s))


def small_true_colour():
    rgba = {None: (0, 0, 0, 0)}
    rgba.update((INK[k], v) for k, v in RGBA.items() if k in INK)
    return [[rgba[c] for c in row] for row in parse(SMALL)]


def dib(pixels):
    """One 16-colour icon image: BITMAPINFOHEADER, palette, XOR bitmap, AND mask."""
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


def dib32(pixels):
    """One true-colour icon image: BITMAPINFOHEADER, BGRA rows, AND mask.
    Windows draws it by its alpha; the mask serves only old callers."""
    h = len(pixels)
    w = len(pixels[0])
    and_stride = (w + 31) // 32 * 4
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, (w * 4 + and_stride) * h, 0, 0, 0, 0)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(and_stride)
        for x, (r, g, b, a) in enumerate(row):
            xor += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(xor) + bytes(mask)


def png(pixels):
    """RGBA PNG with no ancillary chunks (so no date), every row unfiltered."""
    h = len(pixels)
    w = len(pixels[0])

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in pixels)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def ico(images):
    """An .ico file: ICONDIR, one ICONDIRENTRY per image, then the images.
    Each image is (pixels, bits per pixel); 256 pixels wide goes as PNG."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for px, bits in images:
        w, h = len(px[0]), len(px)
        if bits == 4:
            blob, colours = dib(px), 16
        else:
            blob, colours = png(px) if w == 256 else dib32(px), 0
        out += struct.pack("<BBBBHHII", w % 256, h % 256, colours, 0, 1, bits,
                           len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b"".join(blobs)


TRUE_COLOUR_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)


def main():
    small = parse(SMALL)
    assert len(small) == 16 and all(len(r) == 16 for r in small)
    images = [(draw_large(), 4), (small, 4)]
    for n in TRUE_COLOUR_SIZES:
        images.append((small_true_colour() if n == 16 else draw_true_colour(n), 32))
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "sumwise.ico"), "wb") as f:
        f.write(ico(images))


if __name__ == "__main__":
    main()
