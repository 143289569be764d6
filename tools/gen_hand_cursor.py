#!/usr/bin/env python3
"""Draws the clock's grab cursor and writes res/hand.cur.

A monochrome cursor: a pointing hand, white with a black outline, hot spot
at the tip of the index finger; 32 x 32, and 48 x 48 and 64 x 64 for the
display scales of 150 % and 200 % (tools/cursor_scale.py). The clock uses
the system's hand cursor and falls back to this one where the system has
none. Python 3 standard library only; the output is committed:

    python3 tools/gen_hand_cursor.py
"""

import os

import cursor_scale

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


def main():
    images = []
    for percent, size in cursor_scale.SIZES.items():
        grid = cursor_scale.scaled(HAND, percent)
        hx, hy = cursor_scale.scaled_hot(HOT_X, HOT_Y, percent)
        image = cursor_scale.mono_image(grid, lambda n: (0, n, 0, 0, 2, 2))
        images.append((size, hx, hy, image))
    with open(os.path.join(ROOT, "res", "hand.cur"), "wb") as f:
        f.write(cursor_scale.cursor_file(images, 0))


if __name__ == "__main__":
    main()
