#!/usr/bin/env python3
"""Draws the clock's grab cursor and writes res/hand.cur.

A 32 x 32 monochrome cursor: a pointing hand, white with a black outline,
hot spot at the tip of the index finger. The clock uses the system's hand
cursor and falls back to this one where the system has none. Python 3
standard library only; the output is committed:

    python3 tools/gen_hand_cursor.py
"""

import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# 'k' black outline, 'w' white fill, '.' transparent.
HAND = [
    ".....kk.........",
    "....kwwk........",
    "....kwwk........",
    "....kwwk........",
    "....kwwk........",
    "....kwwkkk......",
    "....kwwkwwkkk...",
    "....kwwkwwkwwkk.",
    ".kk.kwwkwwkwwkwk",
    "kwwkkwwwwwwwwkwk",
    "kwwwkwwwwwwwwwwk",
    ".kwwwwwwwwwwwwwk",
    "..kwwwwwwwwwwwwk",
    "..kwwwwwwwwwwwk.",
    "...kwwwwwwwwwwk.",
    "...kwwwwwwwwwk..",
    "....kwwwwwwwwk..",
    "....kwwwwwwwwk..",
    "....kkkkkkkkkk..",
]
HOT_X, HOT_Y = 5, 0
SIZE = 32


def main():
    rows = [row.ljust(SIZE, ".") for row in HAND] + ["." * SIZE] * (SIZE - len(HAND))
    xor_rows, and_rows = [], []
    for row in rows:
        xor_bits = and_bits = 0
        for x, c in enumerate(row):
            bit = 1 << (SIZE - 1 - x)
            if c == ".":
                and_bits |= bit          # screen shows through
            elif c == "w":
                xor_bits |= bit          # white
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    # Bottom-up rows: XOR mask then AND mask.
    image = b"".join(reversed(xor_rows)) + b"".join(reversed(and_rows))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(image), 0, 0, 2, 2)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    data = header + palette + image
    directory = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOT_X, HOT_Y,
                                                          len(data), 6 + 16)
    with open(os.path.join(ROOT, "res", "hand.cur"), "wb") as f:
        f.write(directory + data)


if __name__ == "__main__":
    main()
