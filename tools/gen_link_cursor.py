#!/usr/bin/env python3
"""Draws the hand cursor shown over links in the About box: res/link.cur.

    32 x 32 pixels, 1 bit per pixel (AND mask and XOR image), hot spot on the
    tip of the pointing finger.

Python 3 standard library only. The output is committed; run this again after
changing the drawing:

    python3 tools/gen_link_cursor.py
"""

import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# 'k' black outline, 'w' white fill, '.' transparent.
HAND = [
    "......kk........",
    ".....kwwk.......",
    ".....kwwk.......",
    ".....kwwk.......",
    ".....kwwk.......",
    ".....kwwkkk.....",
    ".....kwwkwwkkk..",
    ".....kwwkwwkwwkk",
    ".kk..kwwkwwkwwkwk",
    "kwwk.kwwwwwwwwkwk",
    "kwwwkkwwwwwwwwwwk",
    ".kwwwkwwwwwwwwwwk",
    "..kwwwwwwwwwwwwwk",
    "..kwwwwwwwwwwwwwk",
    "...kwwwwwwwwwwwk.",
    "...kwwwwwwwwwwwk.",
    "....kwwwwwwwwwk..",
    "....kwwwwwwwwwk..",
    ".....kwwwwwwwk...",
    ".....kwwwwwwwk...",
    ".....kkkkkkkkk...",
]
HOT_X, HOT_Y = 6, 0
SIZE = 32


def cursor_bytes():
    # Rows bottom-up, 4 bytes (32 bits) each.
    xor_rows, and_rows = [], []
    for y in range(SIZE - 1, -1, -1):
        line = HAND[y] if y < len(HAND) else ""
        xor_bits = and_bits = 0
        for x in range(SIZE):
            c = line[x] if x < len(line) else "."
            bit = 1 << (31 - x)
            if c == ".":
                and_bits |= bit            # screen shows through
            elif c == "w":
                xor_bits |= bit            # white (palette entry 1)
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, HOT_X, HOT_Y, len(image), 6 + 16)
    return directory + entry + image


def main():
    path = os.path.join(ROOT, "res", "link.cur")
    with open(path, "wb") as f:
        f.write(cursor_bytes())
    print("wrote", path)


if __name__ == "__main__":
    main()
