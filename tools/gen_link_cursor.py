#!/usr/bin/env python3
"""Draws the hand cursor shown over links in the About box: res/link.cur.

    32 x 32 pixels, 1 bit per pixel (AND mask and XOR image), hot spot on the
    tip of the pointing finger; also 48 x 48 and 64 x 64 for the display
    scales of 150 % and 200 % (tools/cursor_scale.py).

Python 3 standard library only. The output is committed; run this again after
changing the drawing:

    python3 tools/gen_link_cursor.py
"""

import os

import cursor_scale

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


def cursor_bytes():
    images = []
    for percent, size in cursor_scale.SIZES.items():
        grid = cursor_scale.scaled(HAND, percent)
        hx, hy = cursor_scale.scaled_hot(HOT_X, HOT_Y, percent)
        images.append((size, hx, hy, cursor_scale.mono_image(grid, lambda n: (0, 0, 0, 0, 2, 0))))
    return cursor_scale.cursor_file(images, 2)


def main():
    path = os.path.join(ROOT, "res", "link.cur")
    with open(path, "wb") as f:
        f.write(cursor_bytes())
    print("wrote", path)


if __name__ == "__main__":
    main()
