#!/usr/bin/env python3
"""Draws the full-moon pictures of the moon-phase display and writes them
into res/.

    res/colourmoon.bmp  bitmap "COLOURMOON": 64 x 64, 8 bits per pixel,
                        a warm grey ramp of 255 colours plus pure red
    res/greymoon.bmp    bitmap "GREYMOON": 64 x 64, 4 bits per pixel,
                        16 grey levels, for displays of 256 colours or fewer
    res/colourmoon150.bmp, res/greymoon150.bmp, res/colourmoon200.bmp,
    res/greymoon200.bmp
                        the same moon drawn at 96 x 96 and 128 x 128 pixels
                        (150 % and 200 %), for screens of a higher DPI

The disc is centred at column 32, row 28 with a radius of 27 pixels on black;
the program darkens it row by row outside the lit part. The moon is drawn
procedurally: bright highlands with a fine texture, the dark maria at their
places on the near side, a few bright ray craters (Tycho, Copernicus,
Kepler), gentle limb darkening and an anti-aliased edge (4 x 4 samples a
pixel). Python 3 standard library only; the outputs are committed:

    python3 tools/gen_moon.py [--preview DIR]
"""

import argparse
import math
import os
import random
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

SIZE = 64
CENTRE_X, CENTRE_Y, RADIUS = 32.0, 28.0, 27.0
SAMPLES = 4

# Maria as soft ellipses in disc coordinates (x right, y down, radius 1,
# north up as seen from the northern hemisphere): centre, half axes, depth.
MARIA = [
    ((-0.55, 0.00), (0.34, 0.50), 0.36),    # Oceanus Procellarum
    ((-0.28, -0.42), (0.30, 0.25), 0.40),   # Mare Imbrium
    ((0.17, -0.40), (0.18, 0.17), 0.40),    # Mare Serenitatis
    ((0.36, -0.10), (0.22, 0.19), 0.40),    # Mare Tranquillitatis
    ((0.70, -0.32), (0.12, 0.10), 0.42),    # Mare Crisium
    ((0.58, 0.16), (0.13, 0.18), 0.32),     # Mare Fecunditatis
    ((0.38, 0.30), (0.10, 0.10), 0.30),     # Mare Nectaris
    ((-0.20, 0.35), (0.20, 0.15), 0.30),    # Mare Nubium
    ((-0.55, 0.38), (0.11, 0.10), 0.32),    # Mare Humorum
    ((-0.05, -0.74), (0.45, 0.07), 0.22),   # Mare Frigoris
    ((0.02, -0.12), (0.16, 0.12), 0.26),    # Mare Vaporum and Sinus Medii
    ((0.25, -0.22), (0.14, 0.10), 0.30),    # the strait between Serenitatis and Tranquillitatis
]

# Bright craters: centre, radius of the bright spot, ray length.
CRATERS = [
    ((-0.14, 0.74), 0.05, 0.9),    # Tycho
    ((-0.30, -0.16), 0.045, 0.35),  # Copernicus
    ((-0.55, -0.12), 0.03, 0.25),   # Kepler
    ((-0.70, -0.40), 0.03, 0.15),   # Aristarchus
]


def smooth_step(edge0, edge1, x):
    t = min(1.0, max(0.0, (x - edge0) / (edge1 - edge0)))
    return t * t * (3.0 - 2.0 * t)


class Noise:
    """Value noise on a lattice, a few octaves: the highlands' texture."""

    def __init__(self, seed):
        rnd = random.Random(seed)
        self.grid = [[rnd.random() for _ in range(65)] for _ in range(65)]

    def value(self, x, y):
        x0, y0 = int(math.floor(x)) % 64, int(math.floor(y)) % 64
        fx, fy = x - math.floor(x), y - math.floor(y)
        g = self.grid
        a = g[y0][x0] * (1 - fx) + g[y0][x0 + 1] * fx
        b = g[y0 + 1][x0] * (1 - fx) + g[y0 + 1][x0 + 1] * fx
        return a * (1 - fy) + b * fy

    def octaves(self, x, y):
        total, amplitude, frequency = 0.0, 0.5, 4.0
        for _ in range(4):
            total += amplitude * self.value(x * frequency + 7.3, y * frequency + 3.1)
            amplitude *= 0.5
            frequency *= 2.0
        return total


def albedo(u, v, noise):
    """Brightness 0..1 of the surface at disc point (u, v), u*u + v*v <= 1."""
    a = 0.80 + 0.22 * (noise.octaves(u, v) - 0.47)
    for (cx, cy), (ax, ay), depth in MARIA:
        d = math.hypot((u - cx) / ax, (v - cy) / ay)
        # Ragged shores: the noise moves the edge.
        edge = 1.0 + 0.45 * (noise.value(u * 9 + cx * 5, v * 9 + cy * 5) - 0.5)
        a -= depth * (1.0 - smooth_step(0.35 * edge, 1.25 * edge, d))
    for (cx, cy), spot, rays in CRATERS:
        d = math.hypot(u - cx, v - cy)
        a += 0.35 * (1.0 - smooth_step(spot * 0.4, spot, d))
        if d < rays:
            angle = math.atan2(v - cy, u - cx)
            ray = max(0.0, math.sin(angle * 7.0 + cx * 10) ** 8)
            a += 0.05 * ray * (1.0 - d / rays)
    return min(1.0, max(0.12, a))


def draw_moon(scale=1):
    """The full moon as brightness values 0..1, rows top down: 64 x 64 at
    scale 1, and the same moon 1.5 or 2 times as large (96, 128 pixels), as
    sharp as the small one, for screens of a higher DPI."""
    noise = Noise(19690720)
    size = round(SIZE * scale)
    image = [[0.0] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            total = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    # Sample positions in the pixels of the 64 x 64 design.
                    px = (x + (sx + 0.5) / SAMPLES) / scale
                    py = (y + (sy + 0.5) / SAMPLES) / scale
                    # Pixel (32, 28) is the centre pixel: its middle is the disc's centre.
                    u = (px - (CENTRE_X + 0.5)) / RADIUS
                    v = (py - (CENTRE_Y + 0.5)) / RADIUS
                    r2 = u * u + v * v
                    if r2 > 1.0:
                        continue
                    mu = math.sqrt(1.0 - r2)
                    limb = 0.72 + 0.28 * mu
                    total += albedo(u, v, noise) * limb
            image[y][x] = total / (SAMPLES * SAMPLES)
    return image


def colour_palette():
    """255 warm greys from black to the brightest highland, then pure red."""
    palette = []
    for i in range(255):
        v = i / 254.0
        palette.append((round(255 * v), round(250 * v), round(236 * v)))
    palette.append((255, 0, 0))
    return palette


def grey_palette():
    return [(round(i * 17), round(i * 17), round(i * 17)) for i in range(16)]


def write_bmp(path, bits, palette, indices):
    """A bottom-up BMP with a palette; rows padded to four bytes."""
    size = len(indices)
    row_bytes = (size * bits + 31) // 32 * 4
    pixels = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(size):
            index = indices[y][x]
            if bits == 8:
                row[x] = index
            else:
                if x % 2 == 0:
                    row[x // 2] |= index << 4
                else:
                    row[x // 2] |= index
        pixels += row
    palette_bytes = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(palette_bytes)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, bits, 0, len(pixels), 2835, 2835,
                       len(palette), len(palette))
    with open(path, "wb") as f:
        f.write(header + info + palette_bytes + bytes(pixels))


def write_preview(path, palette, indices, scale=6):
    size = len(indices)
    with open(path, "wb") as f:
        f.write(b"P6 %d %d 255\n" % (size * scale, size * scale))
        for y in range(size):
            row = b"".join(bytes(palette[indices[y][x]]) * scale for x in range(size))
            f.write(row * scale)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", metavar="DIR", help="also write enlarged PPM copies")
    args = parser.parse_args()

    res = os.path.join(ROOT, "res")
    for scale, suffix in ((1, ""), (1.5, "150"), (2, "200")):
        image = draw_moon(scale)
        peak = max(max(row) for row in image)
        colour = [[min(254, round(v / peak * 254)) for v in row] for row in image]
        grey = [[min(15, round(v / peak * 15)) for v in row] for row in image]
        write_bmp(os.path.join(res, "colourmoon%s.bmp" % suffix), 8, colour_palette(), colour)
        write_bmp(os.path.join(res, "greymoon%s.bmp" % suffix), 4, grey_palette(), grey)
        if args.preview:
            os.makedirs(args.preview, exist_ok=True)
            write_preview(os.path.join(args.preview, "colourmoon%s.ppm" % suffix), colour_palette(), colour,
                          round(6 / scale))
            write_preview(os.path.join(args.preview, "greymoon%s.ppm" % suffix), grey_palette(), grey,
                          round(6 / scale))


if __name__ == "__main__":
    main()
