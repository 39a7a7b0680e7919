"""The drawn bitmaps against what the program does with them.

The program sizes its window and buttons from the bitmaps but places them at fixed points, cuts two
window regions out of 8-bit bitmaps by reading their bytes itself, and paints its static controls in the
page colour over the skin; each of these can go wrong in the art alone."""

import os
import struct
import subprocess
import sys

import pytest
from PIL import Image

ART = os.environ["TOLVAN_ART_DIR"]
DRAW_ART = os.environ["TOLVAN_DRAW_ART"]
PAGE = (119, 161, 228)

TABS = {  # job: the ids of its states, in the order normal, selected, disabled, hover (None: none)
    "email": (173, 171, 201, 172), "office": (237, 240, None, 241), "file": (176, 174, 193, 175),
    "copy": (186, 184, 199, 185), "application": (204, 242, None, 203), "duzar": (167, 202, 192, 190),
    "sized copy": (250, 251, 252, 253)}
TAB_IDS = [i for ids in TABS.values() for i in ids if i]
COPY_SIZE_IDS = [145, 146, 147, 148, 149, 150, 219, 220, 226, 227, 228]
SIZES = {182: (457, 392), 215: (457, 392), 191: (401, 142), 213: (9, 13), 214: (158, 9),
         197: (88, 36), 195: (88, 36), 196: (88, 36), 194: (90, 36),
         **{i: (23, 22) for i in (179, 177, 178, 170, 168, 169)},
         **{i: (52, 52) for i in TAB_IDS}}
# Where the program puts what it sizes from these bitmaps: (left, top, bitmap ids).
PLACES = [(182, 345, (197, 195, 196)), (266, 345, (197, 195, 194, 196)), (350, 345, (197, 195, 196)),
          (389, 16, (179, 177, 178)), (412, 16, (170, 168, 169))]
PLACES += [(left, 52, TAB_IDS) for left in (29, 89, 149, 209, 269, 371, 384)]


def bmp(bitmap_id):
    with open(os.path.join(ART, f"bitmap_{bitmap_id}.bmp"), "rb") as source:
        return source.read()


def header(data):
    """biSize, width, height, bit count, compression, colours used of a BMP file."""
    size, width, height, _, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    return size, width, height, bits, compression, struct.unpack_from("<I", data, 46)[0]


def indices(data):
    """Rows of palette indices, top row first, read as the program reads them."""
    _, width, height, _, _, used = header(data)
    start = 14 + 40 + 4 * (used or 256)
    stride = (width + 3) & ~3
    rows = [data[start + y * stride:start + y * stride + width] for y in range(height)]
    return rows[::-1]


def runs(rows, key):
    count = 0
    for row in rows:
        inside = False
        for value in row:
            if value != key and not inside:
                count += 1
            inside = value != key
    return count


@pytest.mark.parametrize("bitmap_id", sorted(SIZES) + COPY_SIZE_IDS + [245, 246, 247, 248])
def test_bitmap_loads_at_its_size(bitmap_id):
    with Image.open(os.path.join(ART, f"bitmap_{bitmap_id}.bmp")) as image:
        image.load()
        assert image.size == SIZES.get(bitmap_id, image.size)
    if bitmap_id in COPY_SIZE_IDS:
        assert image.size == Image.open(os.path.join(ART, "bitmap_145.bmp")).size
    if bitmap_id in (246, 247, 248):
        assert image.size == Image.open(os.path.join(ART, "bitmap_245.bmp")).size


@pytest.mark.parametrize("bitmap_id", [182, 215, 245])
def test_region_sources_are_plain_bottom_up_8_bit(bitmap_id):
    size, width, height, bits, compression, used = header(bmp(bitmap_id))
    assert (size, bits, compression) == (40, 8, 0)
    assert height > 0  # bottom-up
    assert used in (0, 256)


def test_window_region_has_round_corners_and_holds_every_control():
    rows = indices(bmp(215))
    width, height = len(rows[0]), len(rows)
    for x, y in ((0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1), (2, 2), (width - 3, 2)):
        assert rows[y][x] == 255, (x, y)
    assert all(rows[height // 2][x] != 255 for x in range(width))  # the outline is not cut into the sides
    for left, top, ids in PLACES:
        w, h = SIZES[ids[0]]
        assert all(rows[y][x] != 255 for y in range(top, top + h) for x in range(left, left + w)), (left, top)
    assert runs(rows, 255) <= 5000  # the program drops runs beyond that


def test_properties_button_is_a_region_of_its_own():
    rows = indices(bmp(245))
    side = len(rows)
    assert rows[0][0] == rows[0][-1] == rows[-1][0] == rows[-1][-1] == 238
    assert rows[side // 2][side // 2] != 238
    assert all(rows[side // 2][x] != 238 for x in range(1, side - 1))
    for bitmap_id in (246, 247, 248):  # drawn through the region of 245: the same circle
        assert [[v == 238 for v in row] for row in indices(bmp(bitmap_id))] == [[v == 238 for v in row]
                                                                                  for row in rows]


def test_pictures_meet_the_skin_without_seams():
    skin = Image.open(os.path.join(ART, "bitmap_182.bmp")).convert("RGB")
    for left, top, ids in PLACES:
        for bitmap_id in ids:
            picture = Image.open(os.path.join(ART, f"bitmap_{bitmap_id}.bmp")).convert("RGB")
            w, h = picture.size
            w = min(w, 88) if bitmap_id == 194 else w  # the disabled Apply bitmap is cut to the button
            for x, y in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
                assert picture.getpixel((x, y)) == skin.getpixel((left + x, top + y)), (bitmap_id, left, x, y)
    # The frames and the hint line are painted in the page colour over the skin.
    for x, y in ((30, 280), (420, 320), (30, 130), (420, 260)):
        assert skin.getpixel((x, y)) == PAGE
    assert set(Image.open(os.path.join(ART, "bitmap_191.bmp")).convert("RGB").getdata()) == {PAGE}


def test_icon_has_the_three_sizes_and_art_rc_names_every_file():
    with open(os.path.join(ART, "icon_230.ico"), "rb") as source:
        data = source.read()
    reserved, kind, count = struct.unpack_from("<HHH", data)
    assert (reserved, kind) == (0, 1)
    assert sorted(data[6 + 16 * i] for i in range(count)) == [16, 32, 48]
    with open(os.path.join(ART, "art.rc")) as source:
        lines = [line.split() for line in source if line[:1].isdigit()]
    named = {(int(number), kind, name.strip('"')) for number, kind, name in lines}
    assert (230, "ICON", "icon_230.ico") in named
    for bitmap_id in list(SIZES) + COPY_SIZE_IDS + [245, 246, 247, 248]:
        assert (bitmap_id, "BITMAP", f"bitmap_{bitmap_id}.bmp") in named
    assert all(os.path.exists(os.path.join(ART, name)) for _, _, name in named)


def test_drawing_twice_gives_the_same_bytes(tmp_path):
    outputs = []
    for run in ("first", "second"):
        subprocess.run([sys.executable, "-B", DRAW_ART, str(tmp_path / run)], check=True)
        outputs.append({name: (tmp_path / run / name).read_bytes() for name in sorted(os.listdir(tmp_path / run))})
    assert outputs[0] == outputs[1]
    assert len(outputs[0]) == len(os.listdir(ART))
