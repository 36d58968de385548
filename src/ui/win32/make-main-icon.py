#!/usr/bin/env python3
"""Writes MainIcon.ico: the stub's 32 x 32, 16-colour icon, two disks of a
set, one behind the other. Run it again after changing the drawing; the
build uses the committed output."""

import struct
import sys

SIZE = 32
# The standard 16-colour palette, in the order the icon stores it.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, TEAL, SILVER, GREY, NAVY, RED, YELLOW, WHITE = 0, 6, 7, 8, 4, 9, 11, 15


def disk(pixels, left, top, body, edge):
    """A 24 x 24 disk: body with an edge, a shutter at the top, a label below."""
    for y in range(top, top + 24):
        for x in range(left, left + 24):
            border = x in (left, left + 23) or y in (top, top + 23)
            pixels[y][x] = edge if border else body
    pixels[top + 1][left + 22] = None  # the cut corner
    pixels[top][left + 23] = None
    for y in range(top + 1, top + 9):
        for x in range(left + 6, left + 18):
            pixels[y][x] = SILVER
        for x in range(left + 13, left + 16):
            pixels[y][x] = GREY if y > top + 2 else SILVER
    for y in range(top + 13, top + 23):
        for x in range(left + 3, left + 21):
            pixels[y][x] = WHITE
    for x in range(left + 5, left + 19):
        pixels[top + 15][x] = RED
        pixels[top + 18][x] = GREY
        pixels[top + 20][x] = GREY


def drawing():
    pixels = [[None] * SIZE for _ in range(SIZE)]
    disk(pixels, 8, 0, TEAL, BLACK)
    disk(pixels, 0, 8, NAVY, BLACK)
    for y, x in ((26, 27), (27, 27), (28, 27), (27, 26), (27, 28)):  # a spark: the set is whole
        pixels[y][x] = YELLOW
    return pixels


def icon(pixels):
    colour_rows, mask_rows = [], []
    for row in reversed(pixels):  # bitmaps are stored bottom row first
        indexes = [0 if p is None else p for p in row]
        colour_rows.append(bytes(indexes[i] << 4 | indexes[i + 1] for i in range(0, SIZE, 2)))
        bits = 0
        for p in row:
            bits = bits << 1 | (p is None)
        mask_rows.append(struct.pack(">I", bits))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    image = header + palette + b"".join(colour_rows) + b"".join(mask_rows)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4,
                                                           len(image), 22)
    return directory + image


if __name__ == "__main__":
    target = sys.argv[1] if len(sys.argv) > 1 else "MainIcon.ico"
    with open(target, "wb") as out:
        out.write(icon(drawing()))
