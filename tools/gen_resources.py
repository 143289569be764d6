#!/usr/bin/env python3
"""Draws Jotstack's images and writes them into res/.

    res/toolbar.bmp   toolbar 128: 21 buttons of 16 x 15 pixels side by side,
                      4 bits per pixel, standard 16-colour palette, light grey
                      RGB(192,192,192) background
    res/toolbar150.bmp, res/toolbar200.bmp
                      the same buttons at 150 % (24 x 23) and 200 % (32 x 30)
                      for screens of a higher DPI, enlarged from the same
                      drawings by pixel-art rules (no blended colours)
    res/jotstack.ico  icon 128: 64, 48, 32, 24 and 16 pixels (16 to 64 for the
                      display scales from 100 % to 200 %), each in 32-bit
                      colour with alpha and in 8-bit colour for old displays

Python 3 standard library only. The outputs are committed, the build does not
run this script; run it again after changing a drawing:

    python3 tools/gen_resources.py [--preview DIR]

--preview also writes enlarged copies (PPM/PAM files) for looking at them.
"""

import argparse
import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# ---------------------------------------------------------------------------
# Toolbar
# ---------------------------------------------------------------------------

BUTTON_W, BUTTON_H = 16, 15

# The standard 16-colour palette in its Windows order. The toolbar keeps to
# it so that the grey shades can be mapped to the 3-D system colours when the
# bitmap is loaded (black, grey, light grey and white).
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# One letter per palette entry in the drawings below. '.' is the background
# in a button and "leave alone" in a sprite; 's' paints light grey on purpose.
INK = {
    'k': 0,   # black
    'm': 1,   # maroon
    'g': 2,   # green
    'o': 3,   # olive
    'n': 4,   # navy
    'p': 5,   # purple
    't': 6,   # teal
    's': 7,   # light grey (the button face)
    'd': 8,   # dark grey
    'r': 9,   # red
    'l': 10,  # lime
    'y': 11,  # yellow
    'b': 12,  # blue
    'f': 13,  # fuchsia
    'c': 14,  # aqua
    'w': 15,  # white
}
BACKGROUND = 7


class Glyph:
    """A 16 x 15 button face, built by laying sprites over each other."""

    def __init__(self):
        self.px = [[BACKGROUND] * BUTTON_W for _ in range(BUTTON_H)]

    def put(self, sprite, x=0, y=0):
        rows = sprite.strip('\n').split('\n') if isinstance(sprite, str) else sprite
        if len({len(r) for r in rows}) != 1:
            raise ValueError('ragged sprite:\n' + '\n'.join(rows))
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch == '.':
                    continue
                xx, yy = x + i, y + j
                if 0 <= xx < BUTTON_W and 0 <= yy < BUTTON_H:
                    self.px[yy][xx] = INK[ch]
        return self


def page(w, h, ear=3, lines=()):
    """A sheet of paper w x h with its top-right corner folded down by ear
    pixels, and text lines given as (row, first column, last column)."""
    rows = [['w'] * w for _ in range(h)]
    for j in range(h):
        rows[j][0] = 'k'
        if j >= ear:
            rows[j][w - 1] = 'k'
    for i in range(w):
        rows[0][i] = 'k' if i < w - ear else '.'
        rows[h - 1][i] = 'k'
    for j in range(1, ear):
        rows[j][w - ear] = 'k'                  # back edge of the flap
        for i in range(w - ear + 1, w):
            d = i - (w - ear)
            rows[j][i] = 'w' if d < j else 'k' if d == j else '.'
    for i in range(w - ear, w):
        rows[ear][i] = 'k'                      # lower edge of the flap
    for row, a, b in lines:
        for i in range(a, b + 1):
            rows[row][i] = 'd'
    return [''.join(r) for r in rows]


MAGNIFIER = """
.kkkk.....
kwwcck....
kwcccck...
kccccck...
kccccck...
.kcccck...
..kkkkmk..
......kmmk
.......kmk
........k.
"""

PENCIL = """
.....kk.
....kfrk
...kyok.
..kyok..
.kyok...
kwwk....
kwk.....
kk......
"""

FLOPPY = """
kkkkkkkkkkkkk
knnsssssssnnk
knnsssnnssnnk
knnsssnnssnnk
knnsssssssnnk
knnnnnnnnnnnk
knwwwwwwwwwnk
knwddddddwwnk
knwwwwwwwwwnk
knwdddddddwnk
knwwwwwwwwwnk
kkkkkkkkkkkkk
"""


def save_as():
    g = Glyph()
    g.put(FLOPPY, 0, 1)
    g.put(PENCIL, 8, 7)
    return g


def print_():
    return Glyph().put("""
................
....kkkkkkkk....
....kwwwwwwk....
....kwddddwk....
....kwwwwwwk....
..kkkkkkkkkkkk..
.kwwwwwwwwwwwsk.
.kssssssssssssk.
.kssssssssslgsk.
.kddddddddddddk.
.kkkkkkkkkkkkkk.
...kwwwwwwwwk...
...kwddddddwk...
...kwwwwwwwwk...
...kkkkkkkkkk...
""")


def print_preview():
    g = Glyph()
    g.put(page(10, 14, 3, [(4, 2, 6), (6, 2, 7), (8, 2, 5), (10, 2, 7)]), 1, 0)
    g.put(MAGNIFIER, 6, 5)
    return g


def cut():
    return Glyph().put("""
...k.......k....
...kk.....kk....
....kk...kk.....
....kdk.kdk.....
.....kdkdk......
.....kdkdk......
......kwk.......
......kkk.......
.....rk.kr......
....rm...rm.....
..rrrr...rrrr...
.r...rm.r...rm..
.r...rm.r...rm..
..rmmm...rmmm...
................
""")


def copy():
    g = Glyph()
    g.put(page(9, 11, 3, [(4, 2, 5), (6, 2, 6), (8, 2, 4)]), 1, 0)
    g.put(page(9, 11, 3, [(4, 2, 5), (6, 2, 6), (8, 2, 4)]), 6, 4)
    return g


def paste():
    g = Glyph().put("""
.....kkkk.......
.kkkkdyydkkkk...
.kooksssskook...
.koookkkkoook...
.kooooooooook...
.kooooooooook...
.kooooooooook...
.kooooooooook...
.kooooooooook...
.kooooooooook...
.kooooooooook...
.kooooooooook...
.kooooooooook...
.kkkkkkkkkkkk...
................
""")
    g.put(page(8, 10, 3, [(4, 2, 5), (6, 2, 4)]), 7, 5)
    return g


def undo():
    return Glyph().put("""
................
................
....k...........
...kk...........
..kbkkkkkkkk....
.kbbbbbbbbbbkk..
kbbbbbbbbbbbbbk.
.kbbbbbbbbbbbbbk
..kbkkkkkkkkbbbk
...kk.......kbbk
....k.......kbbk
...........kbbk.
..........kbbk..
.........kbbk...
.........kkk....
""")


def find():
    return Glyph().put("""
................
....kkkkk.......
...kwwcccck.....
..kwwcccccck....
..kwcccccccck...
..kcccccccck....
..kcccccccck....
..kcccccccck....
...kcccccck.....
....kkkkkkkk....
..........kmmk..
...........kmmk.
............kmmk
.............kmk
..............k.
""")


def repeat():
    g = Glyph()
    g.put(MAGNIFIER, 0, 0)
    g.put("""
....k....
....kk...
kkkkkgk..
kggggggk.
kggggggk.
kkkkkgk..
....kk...
....k....
""", 7, 7)
    return g


def replace():
    return Glyph().put("""
................
..kk............
.kkkk...........
kk..kk.rrrrr....
kk..kk.....r....
kkkkkk.....r....
kk..kk...rrrrr..
kk..kk....rrr...
.........bbbbb..
.........bb..bb.
.........bb..bb.
.........bbbbb..
.........bb..bb.
.........bb..bb.
.........bbbbb..
""")


def select_all():
    return Glyph().put("""
................
kdkdkdkdkdkdkdk.
d.............d.
k.nnnnnnnnnn..k.
d.nwwnwwwnnn..d.
k.nnnnnnnnnn..k.
d.............d.
k.nnnnnnnnnnn.k.
d.nwwwnwwnnnn.d.
k.nnnnnnnnnnn.k.
d.............d.
k.nnnnnnn.....k.
d.nwwnwwn.....d.
kdkdkdkdkdkdkdk.
................
""")


def word_wrap():
    return Glyph().put("""
................
................
................
kkkkkkkkkkbbbb..
..........bbbbb.
.............bb.
.....b.......bb.
....bb.......bb.
...bbbbbbbbbbbb.
...bbbbbbbbbbb..
....bb..........
.....b..........
................
kkkkkkkk........
................
""")


def date_time():
    return Glyph().put("""
..k...k...k.....
kkdkkkdkkkdkk...
krrrrrrrrrrrk...
krrrrrrrrrrrk...
kwwwwwwwwwwwk...
kwdwdwdwdwdwk...
kwwwwwwwwwwwk...
kwdwdwdkkkkk....
kwwwwwkwwwwwk...
kwdwdkwwwkwwwk..
kwwwwkwwwkwwwk..
kkkkkkwwwkkkwk..
.....kwwwwwwwk..
......kwwwwwk...
.......kkkkk....
""")


def repair_garbled():
    """The replacement character of broken text, and a magic wand."""
    return Glyph().put("""
......k.........
.....kkk..y.....
....kkkkk....y..
...kkwwwkk..yyy.
..kkwkkkwkk..y..
.kkkkkkkwkkk....
kkkkkkwwkkkkk..y
.kkkkkwkkkkk....
..kkkkwkkkk..ww.
...kkkkkkk..wwk.
....kkwkk..kkk..
.....kkk..kkk...
......k..kkk....
........kkk.....
.......kk.......
""")


def tab_width():
    return Glyph().put("""
................
............k...
............k...
.........k..k...
.........kk.k...
kkkkkkkkkkkkk...
.........kk.k...
.........k..k...
............k...
................
kkkkkkkkkkkkkkk.
kyykyykyykyykyk.
kyykyyyyykyyyyk.
kyyyyyyyyyyyyyk.
kkkkkkkkkkkkkkk.
""")


def font():
    return Glyph().put("""
................
....kk..........
....kk..........
...kkkk.........
...kkkk.........
..kk..kk........
..kk..kk........
..kk..kk...bbb..
.kkkkkkkk.....b.
.kk....kk..bbbb.
kk......kkb...b.
kk......kkb...b.
kkk....kkk.bbbbb
................
................
""")


def top_most():
    return Glyph().put("""
................
.....kkkkkk.....
.....kwrrrk.....
.....kwrrrk.....
......kwrk......
......kwrk......
......kwrk......
....kkkkkkkk....
...kwrrrrrrmk...
....kkkkkkkk....
.......kd.......
.......kd.......
.......kd.......
........d.......
........d.......
""")


def transparency():
    """Two windows; the front one lets the back one and the button face show
    through a checkerboard."""
    back = [list(r) for r in """
kkkkkkkkkk......
knnnnnnnnk......
kbbbbbbbbk......
kbbbbbbbbk......
kbbbbbbbbk......
kbbbbbbbbk......
kbbbbbbbbk......
kbbbbbbbbk......
kkkkkkkkkk......
................
................
................
................
""".strip('\n').split('\n')]
    x0, y0, x1, y1 = 5, 4, 14, 12          # front window, outline included
    rows = [r[:] for r in back]
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            if x in (x0, x1) or y in (y0, y1):
                rows[y][x] = 'k'
            elif y == y0 + 1:
                rows[y][x] = 'n'
            elif (x + y) % 2:
                rows[y][x] = 'w'
            else:
                rows[y][x] = 's' if back[y][x] == '.' else back[y][x]
    return Glyph().put([''.join(r) for r in rows], 0, 1)


def page_manager():
    """Index tabs over a list of pages, one of them selected."""
    return Glyph().put("""
................
.kkkk...........
kwwwwkkkkk.kkkk.
kwwwwksssskssssk
kwwwwwkkkkkkkkkk
kwwwwwwwwwwwwwwk
kwddddddddwwwwwk
kwwwwwwwwwwwwwwk
knnnnnnnnnnnnnnk
knwwwwwwwwwnnnnk
knnnnnnnnnnnnnnk
kwwwwwwwwwwwwwwk
kwdddddddwwwwwwk
kwwwwwwwwwwwwwwk
kkkkkkkkkkkkkkkk
""")


def about():
    return Glyph().put("""
................
.....kkkkk......
...kkbbbbbkk....
..kbbbbwwbbbk...
..kbbbbwwbbbk...
.kbbbbbbbbbbbk..
.kbbbbwwwbbbbk..
.kbbbbbwwbbbbk..
.kbbbbbwwbbbbk..
..kbbbbwwbbbk...
..kbbbwwwwbbk...
...kkbbbbbkk....
.....kkkkk......
................
................
""")


def user_guide():
    return Glyph().put("""
................
................
.kkkk.....kkkk..
kwwwwkk.kkwwwwk.
kwddwwwkwwddwwk.
kwwwwwwkwwwwwwk.
kwdddwwkwdddwwk.
kwwwwwwkwwwwwwk.
kwddddwkwdddwwk.
kwwwwwwkwwwwwwk.
kwdddwwkwddddwk.
kwwwwkkkkkwwwwk.
kkkkknnnnnkkkkk.
.nnnnnnnnnnnnn..
................
""")


# Button order of toolbar resource 128 (the separators are only in the
# resource, not in the bitmap).
BUTTONS = [
    ('ID_FILE_SAVE_AS', save_as),
    ('ID_FILE_PRINT', print_),
    ('ID_FILE_PRINT_PREVIEW', print_preview),
    ('ID_EDIT_CUT', cut),
    ('ID_EDIT_COPY', copy),
    ('ID_EDIT_PASTE', paste),
    ('ID_EDIT_UNDO', undo),
    ('ID_EDIT_FIND', find),
    ('ID_EDIT_REPEAT', repeat),
    ('ID_EDIT_REPLACE', replace),
    ('ID_EDIT_SELECT_ALL', select_all),
    ('ID_WORD_WRAP', word_wrap),
    ('ID_INSERT_DATE_TIME', date_time),
    ('ID_REPAIR_GARBLED', repair_garbled),
    ('ID_TAB_STOPS', tab_width),
    ('ID_SET_FONT', font),
    ('ID_TOP_MOST', top_most),
    ('ID_TRANSPARENCY', transparency),
    ('ID_PAGE_MANAGER', page_manager),
    ('ID_APP_ABOUT', about),
    ('ID_USER_GUIDE', user_guide),
]


def toolbar_pixels():
    """Palette indexes of the whole strip, top row first."""
    strip = [[] for _ in range(BUTTON_H)]
    for _, draw in BUTTONS:
        g = draw()
        for y in range(BUTTON_H):
            strip[y].extend(g.px[y])
    return strip


def scale2x(px):
    """Doubles a pixel grid (Scale2x / EPX): every pixel becomes 2 x 2, and
    where two neighbours of the same colour meet across a corner the corner
    takes their colour, so diagonal strokes stay strokes instead of stairs.
    No new colours: the result still maps onto the 3-D system colours."""
    h, w = len(px), len(px[0])

    def at(x, y):
        return px[min(max(y, 0), h - 1)][min(max(x, 0), w - 1)]

    out = [[0] * (2 * w) for _ in range(2 * h)]
    for y in range(h):
        for x in range(w):
            p, a, b, c, d = at(x, y), at(x, y - 1), at(x + 1, y), at(x - 1, y), at(x, y + 1)
            out[2 * y][2 * x] = a if c == a and c != d and a != b else p
            out[2 * y][2 * x + 1] = b if a == b and a != c and b != d else p
            out[2 * y + 1][2 * x] = c if d == c and d != b and c != a else p
            out[2 * y + 1][2 * x + 1] = d if b == d and b != a and d != c else p
    return out


def scale3x(px):
    """Triples a pixel grid (Scale3x, the same idea with 3 x 3 blocks)."""
    h, w = len(px), len(px[0])

    def at(x, y):
        return px[min(max(y, 0), h - 1)][min(max(x, 0), w - 1)]

    out = [[0] * (3 * w) for _ in range(3 * h)]
    for y in range(h):
        for x in range(w):
            A, B, C = at(x - 1, y - 1), at(x, y - 1), at(x + 1, y - 1)
            D, E, F = at(x - 1, y), at(x, y), at(x + 1, y)
            G, H, I = at(x - 1, y + 1), at(x, y + 1), at(x + 1, y + 1)
            block = [E] * 9
            if B != H and D != F:
                block[0] = D if D == B else E
                block[1] = B if (D == B and E != C) or (B == F and E != A) else E
                block[2] = F if B == F else E
                block[3] = D if (D == B and E != G) or (D == H and E != A) else E
                block[5] = F if (B == F and E != I) or (H == F and E != C) else E
                block[6] = D if D == H else E
                block[7] = H if (D == H and E != I) or (H == F and E != G) else E
                block[8] = F if H == F else E
            for j in range(3):
                for i in range(3):
                    out[3 * y + j][3 * x + i] = block[3 * j + i]
    return out


def one_and_a_half(px):
    """1.5 x: Scale3x, then every second pixel, taken where each target
    pixel's centre falls (rows and columns 1, 3, 5, ... of the tripled
    grid): a pixel of the drawing becomes one or two pixels, never a blend.
    15 rows give 23 (the last repeats the bottom edge)."""
    big = scale3x(px)
    h, w = len(px), len(px[0])
    th, tw = (3 * h + 1) // 2, (3 * w + 1) // 2
    return [[big[min(2 * y + 1, 3 * h - 1)][min(2 * x + 1, 3 * w - 1)] for x in range(tw)]
            for y in range(th)]


def toolbar_pixels_scaled(percent):
    """The strip at 150 or 200 percent, each button scaled on its own so
    that no edge bleeds into its neighbour."""
    scale = {150: one_and_a_half, 200: scale2x}[percent]
    strip = None
    for _, draw in BUTTONS:
        g = scale(draw().px)
        if strip is None:
            strip = [[] for _ in range(len(g))]
        for y, row in enumerate(g):
            strip[y].extend(row)
    return strip


def bmp_4bit(rows, palette):
    """A Windows BMP file, 4 bits per pixel, bottom-up, from index rows."""
    h, w = len(rows), len(rows[0])
    stride = ((w * 4 + 31) // 32) * 4
    bits = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for i in range(0, w, 2):
            hi = row[i]
            lo = row[i + 1] if i + 1 < w else 0
            line.append(hi << 4 | lo)
        line.extend(b'\0' * (stride - len(line)))
        bits += line
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 4, 0, len(bits),
                       2835, 2835, 16, 0)
    offset = 14 + len(info) + len(colours)
    head = struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset)
    return head + info + colours + bytes(bits)


# ---------------------------------------------------------------------------
# Icon
# ---------------------------------------------------------------------------

# 16 x 16 is drawn by hand, pixel by pixel; 24, 32, 48 and 64 are drawn from
# shapes.
ICON16_INK = {
    '.': (0, 0, 0, 0),
    'a': (0, 0, 0, 60),          # shadow
    'K': (36, 48, 92, 255),      # binding outline
    'B': (58, 96, 178, 255),     # binding
    'R': (168, 172, 184, 255),   # ring wire
    'H': (20, 28, 60, 255),      # ring hole
    'O': (90, 74, 52, 255),      # paper outline
    'W': (255, 252, 236, 255),   # paper
    'L': (196, 214, 240, 255),   # ruled line
    'T': (84, 88, 108, 255),     # handwriting
    'M': (230, 120, 120, 255),   # margin
    'r': (220, 60, 50, 255),     # tabs
    'g': (52, 160, 72, 255),
    'y': (238, 180, 30, 255),
    'x': (140, 30, 24, 255),     # tab outlines
    'h': (24, 100, 40, 255),
    'z': (160, 110, 0, 255),
}

ICON16 = """
..R.R.R.R.R.....
.KRKRKRKRKRKK...
.KHBHBHBHBHBK...
.KBBBBBBBBBBK...
.OWWWWWWWWWWO...
.OWMTTWTTTWWOrx.
.OWMLLLLLLLLOrx.
.OWMTTTWTTWWOrx.
.OWMLLLLLLLLO...
.OWMTWTTTWWWOgh.
.OWMLLLLLLLLOgh.
.OWMWWWWWWWWOgh.
.OWMLLLLLLLLO...
.OWMWWWWWWWWOyz.
.OOOOOOOOOOOOyz.
..aaaaaaaaaaa...
"""


def icon16():
    rows = ICON16.strip('\n').split('\n')
    assert len(rows) == 16 and all(len(r) == 16 for r in rows)
    return [[ICON16_INK[c] for c in r] for r in rows]


class Canvas:
    """An RGBA image drawn with supersampled shapes: every pixel is split into
    SS x SS samples so that edges on the pixel grid stay sharp and the round
    ones are smoothed."""

    SS = 4

    def __init__(self, size):
        self.n = size
        self.px = [[(0.0, 0.0, 0.0, 0.0) for _ in range(size)] for _ in range(size)]

    def fill(self, inside, colour, alpha=1.0):
        """Paints colour where inside(x, y) holds; x and y are in pixels."""
        ss = self.SS
        r, g, b = colour
        for py in range(self.n):
            for px in range(self.n):
                hits = 0
                for sy in range(ss):
                    for sx in range(ss):
                        if inside(px + (sx + 0.5) / ss, py + (sy + 0.5) / ss):
                            hits += 1
                if hits:
                    self._blend(px, py, (r, g, b), alpha * hits / (ss * ss))

    def _blend(self, x, y, rgb, a):
        dr, dg, db, da = self.px[y][x]
        oa = a + da * (1 - a)
        if oa <= 0:
            return
        mix = [(c * a + d * da * (1 - a)) / oa for c, d in zip(rgb, (dr, dg, db))]
        self.px[y][x] = (mix[0], mix[1], mix[2], oa)

    def rect(self, x0, y0, x1, y1, colour, alpha=1.0):
        self.fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour, alpha)

    def round_rect(self, x0, y0, x1, y1, rad, colour, alpha=1.0, corners='1111'):
        """A rectangle whose corners marked '1' (top-left, top-right,
        bottom-right, bottom-left) are rounded with radius rad."""
        centres = [(x0 + rad, y0 + rad, -1, -1), (x1 - rad, y0 + rad, 1, -1),
                   (x1 - rad, y1 - rad, 1, 1), (x0 + rad, y1 - rad, -1, 1)]
        round_ones = [c for c, on in zip(centres, corners) if on == '1']

        def inside(x, y):
            if not (x0 <= x < x1 and y0 <= y < y1):
                return False
            for cx, cy, sx, sy in round_ones:
                # beyond the corner's centre in both directions: inside the arc?
                if (x - cx) * sx > 0 and (y - cy) * sy > 0:
                    return (x - cx) ** 2 + (y - cy) ** 2 <= rad * rad
            return True
        self.fill(inside, colour, alpha)

    def ellipse(self, cx, cy, rx, ry, colour, alpha=1.0):
        self.fill(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1,
                  colour, alpha)

    def ring(self, cx, cy, rx, ry, width, colour, alpha=1.0):
        def inside(x, y):
            outer = ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1
            ix, iy = rx - width, ry - width
            inner = ix > 0 and iy > 0 and ((x - cx) / ix) ** 2 + ((y - cy) / iy) ** 2 < 1
            return outer and not inner
        self.fill(inside, colour, alpha)

    def rgba(self):
        return [[(round(r), round(g), round(b), round(a * 255)) for r, g, b, a in row]
                for row in self.px]


def icon_drawn(n):
    """The notepad at n pixels (24 to 64): a ruled pad with a blue binding and
    ring wires, a few lines of writing and three coloured index tabs."""
    s = n / 32.0          # one unit of the 32-pixel design
    c = Canvas(n)

    def u(v):             # design units to whole pixels
        return round(v * s)

    left, right, top, bottom = u(3), u(25), u(4), u(30)
    tab_w = u(5)
    # Shadow below and to the right.
    c.round_rect(left + u(1), top + u(2), right + tab_w + u(1), bottom + u(1.5),
                 u(1.5), (0, 0, 0), 0.22)
    # Index tabs, behind the paper.
    tabs = [((224, 70, 58), (150, 36, 28)), ((60, 168, 80), (26, 104, 44)),
            ((242, 184, 36), (170, 118, 0))]
    tab_h = u(6)
    for i, (fill, edge) in enumerate(tabs):
        y0 = top + u(6) + i * (tab_h + u(1))
        c.round_rect(right - u(2), y0, right + tab_w, y0 + tab_h, u(1.5), edge,
                     corners='0110')
        c.round_rect(right - u(2), y0 + 1, right + tab_w - 1, y0 + tab_h - 1,
                     max(u(1.5) - 1, 1), fill, corners='0110')
        # a light edge on top of the tab
        c.rect(right, y0 + 1, right + tab_w - u(1.5), y0 + 2, (255, 255, 255), 0.35)
    # Paper with outline.
    c.rect(left, top, right, bottom, (96, 80, 56))
    c.rect(left + 1, top + 1, right - 1, bottom - 1, (255, 252, 234))
    # A slight shade toward the bottom of the page.
    for yy in range(top + 1, bottom - 1):
        t = (yy - top) / (bottom - top)
        c.rect(left + 1, yy, right - 1, yy + 1, (232, 222, 184), 0.35 * t)
    # Binding across the top.
    bind_h = u(5)
    c.rect(left, top, right, top + bind_h, (36, 52, 104))
    c.rect(left + 1, top + 1, right - 1, top + bind_h - 1, (62, 100, 184))
    c.rect(left + 1, top + 1, right - 1, top + 2, (120, 156, 222))
    # Ruled lines and the red margin.
    line_gap = u(3)
    first = top + bind_h + u(3)
    margin = left + u(4)
    y = first
    writing = [0.85, 0.6, 0.9, 0.45, 0.75]   # length of each written line
    k = 0
    while y < bottom - u(2):
        c.rect(left + 1, y, right - 1, y + max(1, u(0.5)), (150, 186, 228))
        width = writing[k] if k < len(writing) else 0.0
        if width:
            x1 = margin + u(1.5) + (right - margin - u(4)) * width
            h = max(1, u(1))
            # handwriting: short strokes with small gaps
            x = margin + u(1.5)
            step = max(u(3), 3)
            while x < x1:
                seg = min(step - max(1, u(0.7)), x1 - x)
                c.rect(x, y - h - 1, x + seg, y - 1, (64, 64, 76))
                x += step
        y += line_gap
        k += 1
    c.rect(margin, top + bind_h, margin + max(1, u(0.5)), bottom - 1, (232, 120, 120))
    # Ring wires through the binding.
    rings = 6
    span = (right - left - u(4))
    for i in range(rings):
        cx = left + u(2) + span * (i + 0.5) / rings
        c.ring(cx, top + u(0.4), u(1.3), u(2.6), max(1.0, s * 0.9), (70, 74, 84))
        c.ring(cx - s * 0.25, top + u(0.4), u(1.3) - s * 0.3, u(2.6) - s * 0.3,
               max(0.6, s * 0.5), (200, 204, 214))
        c.ellipse(cx, top + u(2.4), u(0.9), u(0.9), (20, 28, 60))
    return c.rgba()


def on_window(px):
    """What a pixel looks like over a light window background, for the 8-bit
    images, which only know opaque and transparent."""
    r, g, b, a = px
    t = a / 255.0
    return tuple(round(c * t + 236 * (1 - t)) for c in (r, g, b))


def palette256(images):
    """The 8-bit palette: the 16 standard colours, then the colours the
    icons use most often."""
    counts = {}
    for img in images:
        for row in img:
            for px in row:
                if px[3] >= 128:
                    rgb = on_window(px)
                    counts[rgb] = counts.get(rgb, 0) + 1
    pal = list(PALETTE16)
    for rgb, _ in sorted(counts.items(), key=lambda kv: -kv[1]):
        if len(pal) == 256:
            break
        if rgb not in pal:
            pal.append(rgb)
    pal += [(0, 0, 0)] * (256 - len(pal))
    return pal


def nearest(pal, rgb, cache):
    """Index of the palette colour closest to rgb (weighted for the eye)."""
    hit = cache.get(rgb)
    if hit is None:
        r, g, b = rgb
        hit = min(range(len(pal)),
                  key=lambda i: (pal[i][0] - r) ** 2 * 3 + (pal[i][1] - g) ** 2 * 4
                  + (pal[i][2] - b) ** 2 * 2)
        cache[rgb] = hit
    return hit


def and_mask(img):
    """The 1-bit transparency mask of an icon image, bottom-up."""
    n = len(img)
    stride = ((n + 31) // 32) * 4
    out = bytearray()
    for row in reversed(img):
        line = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def icon_image_32(img):
    n = len(img)
    head = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(img):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    return head + bytes(xor) + and_mask(img)


def icon_image_8(img, pal, cache):
    n = len(img)
    head = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 8, 0, 0, 0, 0, 256, 0)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in pal)
    bits = bytearray()
    for row in reversed(img):
        for r, g, b, a in row:
            if a < 128:
                bits.append(0)   # black under a transparent mask bit
            else:
                bits.append(nearest(pal, on_window((r, g, b, a)), cache))
        bits.extend(b'\0' * ((4 - n % 4) % 4))
    return head + colours + bytes(bits) + and_mask(img)


def ico_file(images):
    """images: list of (size, bit count, DIB bytes)."""
    head = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b'', b''
    for size, bpp, blob in images:
        # width, height, palette size (0: none or 256), reserved, planes,
        # bits per pixel, bytes, offset
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1,
                               bpp, len(blob), offset)
        offset += len(blob)
        blobs += blob
    return head + entries + blobs


def icon_images():
    return {16: icon16(), 24: icon_drawn(24), 32: icon_drawn(32), 48: icon_drawn(48), 64: icon_drawn(64)}


# ---------------------------------------------------------------------------
# Output
# ---------------------------------------------------------------------------

def write(path, data):
    with open(path, 'wb') as f:
        f.write(data)
    print('wrote', os.path.relpath(path, ROOT), len(data), 'bytes')


def preview_strip(path, strip, k):
    h, w = len(strip), len(strip[0])
    data = bytearray()
    for row in strip:
        line = bytearray()
        for idx in row:
            line += bytes(PALETTE16[idx]) * k
        data += bytes(line) * k
    write(path, b'P6\n%d %d\n255\n' % (w * k, h * k) + bytes(data))


def preview(dirname, strip, icons):
    """Enlarged copies for looking at the drawings (PPM for the toolbar, PAM
    with alpha for the icons); convert them to PNG with any image tool."""
    os.makedirs(dirname, exist_ok=True)
    k = 8
    h, w = len(strip), len(strip[0])
    data = bytearray()
    for row in strip:
        line = bytearray()
        for idx in row:
            line += bytes(PALETTE16[idx]) * k
        data += bytes(line) * k
    write(os.path.join(dirname, 'toolbar.ppm'),
          b'P6\n%d %d\n255\n' % (w * k, h * k) + bytes(data))
    for n, img in icons.items():
        k = 256 // n
        data = bytearray()
        for row in img:
            line = bytearray()
            for px in row:
                line += bytes(px) * k
            data += bytes(line) * k
        write(os.path.join(dirname, 'icon%d.pam' % n),
              b'P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n'
              % (n * k, n * k) + bytes(data))


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    ap.add_argument('--preview', metavar='DIR', help='also write enlarged copies')
    args = ap.parse_args(argv)

    strip = toolbar_pixels()
    write(os.path.join(ROOT, 'res', 'toolbar.bmp'), bmp_4bit(strip, PALETTE16))
    scaled = {p: toolbar_pixels_scaled(p) for p in (150, 200)}
    for percent, rows in scaled.items():
        write(os.path.join(ROOT, 'res', 'toolbar%d.bmp' % percent), bmp_4bit(rows, PALETTE16))

    icons = icon_images()
    # The 8-bit palette comes from the first three sizes only, so that their
    # images stay what they were when 24 and 64 came in (for 150 % and 200 %).
    pal, cache = palette256([icons[n] for n in (16, 32, 48)]), {}
    sizes = (64, 48, 32, 24, 16)
    images = [(n, 32, icon_image_32(icons[n])) for n in sizes]
    images += [(n, 8, icon_image_8(icons[n], pal, cache)) for n in sizes]
    write(os.path.join(ROOT, 'res', 'jotstack.ico'), ico_file(images))

    if args.preview:
        preview(args.preview, strip, icons)
        for percent, rows in scaled.items():
            preview_strip(os.path.join(args.preview, 'toolbar%d.ppm' % percent), rows, 4)


if __name__ == '__main__':
    main(sys.argv[1:])
