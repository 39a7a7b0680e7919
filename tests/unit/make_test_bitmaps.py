#!/usr/bin/env python3
"""Writes the solid-colour bitmaps of the control tests: NAME.bmp for each NAME=WIDTHxHEIGHT:RRGGBB argument,
as 24-bit bottom-up BMP files, into the folder given first. The tests read the colours back from the loaded
bitmaps, so they are stated only here and in the build file."""
import struct
import sys
from pathlib import Path


def write_bmp(path: Path, width: int, height: int, rgb: int) -> None:
    row = bytes([rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF]) * width
    row += b"\0" * (-len(row) % 4)
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    path.write_bytes(header + info + pixels)


def main() -> None:
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    for item in sys.argv[2:]:
        name, rest = item.split("=")
        size, colour = rest.split(":")
        width, height = (int(n) for n in size.split("x"))
        write_bmp(folder / f"{name}.bmp", width, height, int(colour, 16))


if __name__ == "__main__":
    main()
