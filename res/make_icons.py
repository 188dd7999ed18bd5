#!/usr/bin/python3
"""Draws tavrel's icons and writes them as .ico files into the folder given.

Everything is drawn here, so the build makes the same bytes every time:
the application emblem (a white letter A with an orange rule on a blue
rounded square) and the gear wheel are shapes sampled 8 x 8 times per pixel;
the letters of the toolbar buttons are pixel art.
"""
import math
import struct
import sys
from pathlib import Path

TRANSPARENT = (0, 0, 0, 0)
BLUE = (0x1F, 0x5F, 0xA8, 255)
WHITE = (255, 255, 255, 255)
ORANGE = (0xF2, 0x9A, 0x1D, 255)
DARK = (0x20, 0x20, 0x20, 255)
GREY = (0x40, 0x40, 0x48, 255)
RED = (0xD0, 0x20, 0x20, 255)

LETTER_B = """
................
..#########.....
..###....###....
..###.....###...
..###.....###...
..###....###....
..#########.....
..###....####...
..###.....###...
..###.....###...
..###.....###...
..###....####...
..##########....
................
................
................
"""

LETTER_I = """
................
.......#######..
.........###....
.........###....
........###.....
........###.....
........###.....
.......###......
.......###......
.......###......
......###.......
......###.......
....#######.....
................
................
................
"""

LETTER_A = """
................
......####......
......####......
.....##..##.....
.....##..##.....
....###..###....
....##....##....
...###....###...
...##########...
..############..
..###......###..
..##........##..
.###........###.
................
................
................
"""

# The background-colour button: the letter sits on a red square.
LETTER_A_ON_SQUARE = """
RRRRRRRRRRRRRRRR
RRRRRR####RRRRRR
RRRRRR####RRRRRR
RRRRR##RR##RRRRR
RRRRR##RR##RRRRR
RRRR###RR###RRRR
RRRR##RRRR##RRRR
RRR###RRRR###RRR
RRR##########RRR
RR############RR
RR###RRRRRR###RR
RR##RRRRRRRR##RR
R###RRRRRRRR###R
RRRRRRRRRRRRRRRR
RRRRRRRRRRRRRRRR
RRRRRRRRRRRRRRRR
"""


def pixel_art(art, colours):
    rows = [line for line in art.strip("\n").split("\n")]
    return [[colours.get(ch, TRANSPARENT) for ch in row] for row in rows]


def rasterize(size, paint, samples=8):
    """paint(x, y) gives the colour at a point of the unit square, or None."""
    image = []
    for py in range(size):
        row = []
        for px in range(size):
            hits = []
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / size
                    y = (py + (sy + 0.5) / samples) / size
                    hits.append(paint(x, y))
            row.append(average(hits))
        image.append(row)
    return image


def average(colours):
    covered = [c for c in colours if c is not None]
    if not covered:
        return TRANSPARENT
    alpha = len(covered) / len(colours)
    r, g, b = (round(sum(c[i] for c in covered) / len(covered)) for i in range(3))
    return (r, g, b, round(255 * alpha))


def inside_polygon(x, y, points):
    inside = False
    for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


def inside_rounded_square(x, y, margin, radius):
    low, high = margin + radius, 1 - margin - radius
    dx = max(low - x, 0, x - high)
    dy = max(low - y, 0, y - high)
    return dx * dx + dy * dy <= radius * radius


A_OUTLINE = [(0.43, 0.16), (0.57, 0.16), (0.80, 0.74), (0.66, 0.74), (0.61, 0.60),
             (0.39, 0.60), (0.34, 0.74), (0.20, 0.74)]
A_COUNTER = [(0.50, 0.31), (0.57, 0.49), (0.43, 0.49)]


def emblem(x, y):
    if not inside_rounded_square(x, y, 0.03, 0.18):
        return None
    if inside_polygon(x, y, A_OUTLINE) and not inside_polygon(x, y, A_COUNTER):
        return WHITE
    if 0.20 <= x <= 0.80 and 0.80 <= y <= 0.87:
        return ORANGE
    return BLUE


def gear(x, y, teeth=8):
    dx, dy = x - 0.5, y - 0.5
    r = math.hypot(dx, dy)
    if r < 0.15:
        return None
    if r < 0.34:
        return GREY
    if r >= 0.49:
        return None
    step = 2 * math.pi / teeth
    angle = math.atan2(dy, dx) % step
    half_tooth = 0.055 / r
    return GREY if min(angle, step - angle) <= half_tooth else None


def bmp_rows(image):
    return list(reversed(image))


def and_mask(image):
    width = len(image[0])
    stride = (width + 31) // 32 * 4
    data = b""
    for row in bmp_rows(image):
        bits = 0
        for x, colour in enumerate(row):
            if colour[3] == 0:
                bits |= 1 << (stride * 8 - 1 - x)
        data += bits.to_bytes(stride, "big")
    return data


def encode_32bit(image):
    height, width = len(image), len(image[0])
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in bmp_rows(image) for (r, g, b, a) in row)
    return header + pixels + and_mask(image), 32, 0


def encode_4bit(image):
    """16 colours; partly covered pixels become fully opaque or fully clear."""
    height, width = len(image), len(image[0])
    solid = [[c if c[3] >= 128 else TRANSPARENT for c in row] for row in image]
    palette = [(0, 0, 0)]
    for row in solid:
        for c in row:
            if c[3] and c[:3] not in palette:
                palette.append(c[:3])
    assert len(palette) <= 16, "too many colours for a 16-colour image"
    palette += [(0, 0, 0)] * (16 - len(palette))
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    stride = (width * 4 + 31) // 32 * 4
    pixels = b""
    for row in bmp_rows(solid):
        nibbles = [palette.index(c[:3]) if c[3] else 0 for c in row]
        packed = bytes(nibbles[i] << 4 | (nibbles[i + 1] if i + 1 < width else 0) for i in range(0, width, 2))
        pixels += packed.ljust(stride, b"\0")
    return header + table + pixels + and_mask(solid), 4, 16


def write_ico(path, encoded):
    directory = struct.pack("<HHH", 0, 1, len(encoded))
    offset = 6 + 16 * len(encoded)
    entries, blobs = b"", b""
    for (data, bits, colours), size in encoded:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits, len(data), offset)
        blobs += data
        offset += len(data)
    path.write_bytes(directory + entries + blobs)


def icon(*images, encoder=encode_32bit):
    return [(encoder(image), len(image)) for image in images]


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    letter_a_square = pixel_art(LETTER_A_ON_SQUARE, {"#": DARK, "R": RED})
    icons = {
        "app.ico": icon(rasterize(16, emblem), rasterize(32, emblem)),
        "app_small.ico": icon(rasterize(16, emblem)),
        "menu.ico": icon(rasterize(14, gear)),
        "bold.ico": icon(pixel_art(LETTER_B, {"#": DARK})),
        "italic.ico": icon(pixel_art(LETTER_I, {"#": DARK})),
        "font_color.ico": icon(pixel_art(LETTER_A, {"#": RED})),
        "background_color.ico": icon(letter_a_square) + icon(letter_a_square, encoder=encode_4bit),
    }
    for name, images in icons.items():
        write_ico(out / name, images)


if __name__ == "__main__":
    main()
