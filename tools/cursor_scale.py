"""Cursor images for the display scales: the 32 x 32 drawing of a cursor
enlarged to 48 x 48 (150 %) and 64 x 64 (200 %) by the same pixel-art rules
as the toolbar (tools/gen_resources.py), with the hot spot on the same pixel
of the drawing. Used by gen_hand_cursor.py and gen_link_cursor.py."""

import struct

from gen_resources import one_and_a_half, scale2x

SIZES = {100: 32, 150: 48, 200: 64}


def padded(rows, size=32):
    """The drawing as a full size x size grid of 'k', 'w' and '.'."""
    grid = [list(row.ljust(size, ".")[:size]) for row in rows]
    grid += [["."] * size for _ in range(size - len(grid))]
    return grid


def scaled(rows, percent):
    grid = padded(rows)
    if percent == 150:
        return one_and_a_half(grid)
    if percent == 200:
        return scale2x(grid)
    return grid


def scaled_hot(x, y, percent):
    """The first pixel of the enlarged drawing that shows the hot-spot pixel:
    at 200 % pixel n becomes 2n and 2n + 1, at 150 % the pixels whose
    centres fall on it."""
    if percent == 200:
        return 2 * x, 2 * y
    if percent == 150:
        def first(n):
            return min(t for t in range(48) if (2 * t + 1) // 3 == n)
        return first(x), first(y)
    return x, y


def mono_image(grid, header_fields):
    """A 1-bit cursor image: header, black-and-white palette, XOR mask
    (white where 'w') and AND mask (transparent where '.'), rows bottom-up
    and padded to 32 bits. header_fields: the last six fields of the
    BITMAPINFOHEADER after the bit count, as the cursor's script writes them,
    given the image bytes' length."""
    n = len(grid)
    stride = (n + 31) // 32 * 4
    xor_rows, and_rows = [], []
    for row in reversed(grid):
        xor_line, and_line = bytearray(stride), bytearray(stride)
        for x, c in enumerate(row):
            if c == ".":
                and_line[x // 8] |= 0x80 >> (x % 8)
            elif c == "w":
                xor_line[x // 8] |= 0x80 >> (x % 8)
        xor_rows.append(bytes(xor_line))
        and_rows.append(bytes(and_line))
    bits = b"".join(xor_rows) + b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 1, *header_fields(len(bits)))
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    return header + palette + bits


def cursor_file(images, colour_count):
    """A .cur file: images is a list of (size, hot x, hot y, image bytes)."""
    directory = struct.pack("<HHH", 0, 2, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for size, hx, hy, blob in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, colour_count, 0, hx, hy, len(blob), offset)
        offset += len(blob)
        blobs += blob
    return directory + entries + blobs
