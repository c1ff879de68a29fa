#!/usr/bin/env python3
# Writes bitmaps/exif_badge.bmp, the 14 x 7 badge drawn on the thumbnail cells of photos with an
# Exif block: a red field with the white letters E, X, I, F, five pixels high with one pixel of
# red around and between them (the I is one pixel wide, so that the four letters fit in 14).
# Only needed to regenerate the file: python3 res/make_exif_badge.py
import os
import struct

GLYPHS = [
    ["###", "#..", "##.", "#..", "###"],  # E
    ["#.#", "#.#", ".#.", "#.#", "#.#"],  # X
    ["#", "#", "#", "#", "#"],            # I
    ["###", "#..", "##.", "#..", "#.."],  # F
]
RED = (0x20, 0x20, 0xD0)  # blue, green, red
WHITE = (0xFF, 0xFF, 0xFF)
WIDTH, HEIGHT = 14, 7

pixels = [[RED] * WIDTH for _ in range(HEIGHT)]
x = 1
for glyph in GLYPHS:
    for dy, line in enumerate(glyph):
        for dx, c in enumerate(line):
            if c == "#":
                pixels[1 + dy][x + dx] = WHITE
    x += len(glyph[0]) + 1
assert x == WIDTH + 1

stride = (WIDTH * 3 + 3) // 4 * 4
rows = b""
for y in reversed(range(HEIGHT)):  # bottom row first
    row = b"".join(bytes(p) for p in pixels[y])
    rows += row + b"\0" * (stride - len(row))
info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "bitmaps", "exif_badge.bmp")
with open(out, "wb") as f:
    f.write(header + info + rows)
print("wrote", out)
