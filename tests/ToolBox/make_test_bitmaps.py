#!/usr/bin/python3
"""Writes the bitmaps that the toolbox tests load as resources (see test_resources.rc).

    make_test_bitmaps.py OUTPUT_FOLDER

Every picture is a plain function of (x, y), so the tests can compute what any pixel must be.
The formulas here and in tests/ToolBox/test_pictures.h must agree.
"""
import os
import struct
import sys


def stride(width, bits):
    return (width * bits + 31) // 32 * 4


def bmp(width, height, bits, table, row_bytes):
    """A bottom-up BMP: 14-byte file header, 40-byte info header, colour table, padded rows.

    row_bytes(y) gives the unpadded bytes of row y (y counted from the top)."""
    s = stride(width, bits)
    pixels = bytearray()
    for y in reversed(range(height)):
        row = bytes(row_bytes(y))
        assert len(row) <= s
        pixels += row + bytes(s - len(row))
    colors = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in table)
    offset = 14 + 40 + len(colors)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, 0, 0, 0, len(table), len(table))
    return header + info + colors + bytes(pixels)


def rgb24(width, height, color):
    def row(y):
        out = bytearray()
        for x in range(width):
            r, g, b = color(x, y)
            out += bytes((b, g, r))
        return out
    return bmp(width, height, 24, [], row)


def tile(x, y):
    return (x * 4, y * 4, 77)


def picture(x, y):
    return ((x * 19) % 256, (y * 37) % 256, 200)


# The mask: white inside (4..11, 3..8), black elsewhere; its table puts white at 0 and black at 1
# and fills the rest with colours that are neither.
MASK_W, MASK_H = 16, 12


def inside_mask(x, y):
    return 4 <= x < 12 and 3 <= y < 9


def masked_image(x, y):
    return (200, (x * 10) % 256, (y * 10) % 256) if inside_mask(x, y) else (255, 255, 255)


def mask_table():
    table = [(255, 255, 255), (0, 0, 0)]
    table += [(i, (255 - i) // 2 + 20, (i * 7) % 200 + 30) for i in range(2, 256)]
    return table


def colors_table():
    # 256 distinct colours, neither black nor white among the first few.
    return [(i, (i * 3 + 50) % 256, 255 - i) for i in range(256)]


def mono(x, y):
    return 1 if (x + 2 * y) % 3 == 0 else 0


def mono_row(y):
    out = bytearray((10 + 7) // 8)
    for x in range(10):
        if mono(x, y):
            out[x // 8] |= 0x80 >> (x % 8)
    return out


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    files = {
        "tile24.bmp": rgb24(64, 64, tile),
        "picture24.bmp": rgb24(13, 7, picture),
        "image24.bmp": rgb24(MASK_W, MASK_H, masked_image),
        "mask8.bmp": bmp(MASK_W, MASK_H, 8, mask_table(),
                         lambda y: bytes(0 if inside_mask(x, y) else 1 for x in range(MASK_W))),
        "colors8.bmp": bmp(16, 16, 8, colors_table(), lambda y: bytes(y * 16 + x for x in range(16))),
        "mono1.bmp": bmp(10, 6, 1, [(0, 0, 0), (255, 255, 255)], mono_row),
    }
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
