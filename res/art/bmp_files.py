"""BMP and ICO writers.

The program cuts window regions from 8-bit bitmaps by reading the resource bytes itself, so those files
must be exactly what it expects: a 40-byte BITMAPINFOHEADER, a full 256-entry colour table, uncompressed
rows stored bottom-up. Pillow's writers choose header versions and compression on their own, so the
bytes are laid out here.
"""

import struct

from PIL import Image

FILE_HEADER_SIZE = 14
INFO_HEADER_SIZE = 40
PIXELS_PER_METRE = 2835  # 72 dpi, what Windows itself writes


def _info_header(width, height, bit_count, image_size, colours_used):
    return struct.pack("<IiiHHIIiiII", INFO_HEADER_SIZE, width, height, 1, bit_count, 0, image_size,
                       PIXELS_PER_METRE, PIXELS_PER_METRE, colours_used, 0)


def _file_header(total_size, pixel_offset):
    return b"BM" + struct.pack("<IHHI", total_size, 0, 0, pixel_offset)


def _bottom_up_rows(data, row_bytes, stride, height):
    pad = b"\0" * (stride - row_bytes)
    return b"".join(data[y * row_bytes:(y + 1) * row_bytes] + pad for y in reversed(range(height)))


def bmp8_bytes(image):
    """An image of mode "P" as an 8-bit BMP; palette indices are kept as they are."""
    if image.mode != "P":
        raise ValueError("8-bit bitmaps are written from palette images")
    width, height = image.size
    palette = image.getpalette()[:768]
    palette += [0] * (768 - len(palette))
    colour_table = b"".join(bytes((palette[i + 2], palette[i + 1], palette[i], 0)) for i in range(0, 768, 3))
    stride = (width + 3) & ~3
    pixels = _bottom_up_rows(image.tobytes(), width, stride, height)
    offset = FILE_HEADER_SIZE + INFO_HEADER_SIZE + len(colour_table)
    return (_file_header(offset + len(pixels), offset) + _info_header(width, height, 8, len(pixels), 256) +
            colour_table + pixels)


def bmp24_bytes(image):
    width, height = image.size
    bgr = image.convert("RGB").tobytes("raw", "BGR")
    stride = (width * 3 + 3) & ~3
    pixels = _bottom_up_rows(bgr, width * 3, stride, height)
    offset = FILE_HEADER_SIZE + INFO_HEADER_SIZE
    return _file_header(offset + len(pixels), offset) + _info_header(width, height, 24, len(pixels), 0) + pixels


def _icon_image_bytes(image):
    """One icon image in the classic DIB form: 32-bit colour with alpha, then the 1-bit AND mask."""
    rgba = image.convert("RGBA")
    size = rgba.width
    colour = _bottom_up_rows(rgba.tobytes("raw", "BGRA"), size * 4, size * 4, size)
    mask_stride = ((size + 31) // 32) * 4
    alpha = rgba.getchannel("A").tobytes()
    mask_rows = []
    for y in reversed(range(size)):
        row = bytearray(mask_stride)
        for x in range(size):
            if alpha[y * size + x] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask_rows.append(bytes(row))
    mask = b"".join(mask_rows)
    # The height counts the colour rows and the mask rows together.
    return _info_header(size, size * 2, 32, len(colour) + len(mask), 0) + colour + mask


def ico_bytes(images):
    """A multi-size .ico from square RGBA images, smallest first."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for image in images:
        blob = _icon_image_bytes(image)
        side = image.width if image.width < 256 else 0
        entries.append(struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def read_bmp8(data):
    """The palette image of an 8-bit BMP written by bmp8_bytes (used to check a mask after writing)."""
    width, height = struct.unpack_from("<ii", data, FILE_HEADER_SIZE + 4)
    offset = struct.unpack_from("<I", data, 10)[0]
    stride = (width + 3) & ~3
    rows = [data[offset + y * stride:offset + y * stride + width] for y in range(height)]
    return Image.frombytes("P", (width, height), b"".join(reversed(rows)))
