#!/usr/bin/env python3
"""Writes the region masks of the region tests into the folder given: 8-bit palette BMP files laid out by hand,
so that the colour table's length, the key and the row padding are exactly what each test needs."""
import struct
import sys
from pathlib import Path

OPAQUE = 0


def palette_bmp(rows, key, colours):
    """rows from the top down, '#' opaque and '.' the key; stored bottom-up with opaque row padding."""
    width, height = len(rows[0]), len(rows)
    stride = (width + 3) // 4 * 4
    pixels = b"".join(
        bytes(key if c == "." else OPAQUE for c in row) + bytes([OPAQUE] * (stride - width)) for row in reversed(rows)
    )
    table = b"".join(struct.pack("<BBBB", i * 40 % 256, i * 90 % 256, i * 150 % 256, 0) for i in range(colours))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 2835, 2835, colours % 256, 0)
    offset = 14 + len(info) + len(table)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + info + table + pixels


def rgb_bmp(width, height):
    row = b"\x80" * (width * 3)
    row += b"\0" * (-len(row) % 4)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(row) * height, 2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 54 + len(row) * height, 0, 0, 54) + info + row * height


def main():
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    # Key 2 in a table of three colours: a run inside a row, a one-pixel run, a run to the right border, an empty
    # row, and a width of 10 that leaves two padding bytes per row.
    shapes = ["..##....#.", "#.........", "..........", "######.###"]
    (folder / "mask_shapes.bmp").write_bytes(palette_bmp(shapes, key=2, colours=3))
    # 100 one-pixel runs per row over 60 rows, key 255 in a full table: more runs than a region takes.
    many = "".join("#" if x % 2 == 0 else "." for x in range(199))
    (folder / "mask_many.bmp").write_bytes(palette_bmp([many] * 60, key=255, colours=256))
    (folder / "mask_rgb.bmp").write_bytes(rgb_bmp(8, 4))


if __name__ == "__main__":
    main()
