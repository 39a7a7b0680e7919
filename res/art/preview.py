#!/usr/bin/python3
"""Puts the drawn bitmaps together the way the main window shows them, for looking at the art without
running the program.

    preview.py ART_FOLDER OUT.png [--scale N]

The window is cut to its region over a dark desktop, with the Email tab selected, the Office tab under
the mouse, Apply disabled, and the Copy page's round button and the RAvud page's slider on the page."""

import sys

from PIL import Image, ImageDraw, ImageFont

from bmp_files import read_bmp8
from layout import (APPLY_BUTTON, CLOSE_BUTTON, DEFAULT_BUTTON, DUZAR_TAB_LEFT, EXIT_BUTTON, MINIMISE_BUTTON,
                    PAGE_PLACE, TAB_TOP, WINDOW, tab_left)


def _load(folder, bitmap_id):
    return Image.open(f"{folder}/bitmap_{bitmap_id}.bmp").convert("RGB")


def compose(folder):
    window = _load(folder, 182)
    window.paste(_load(folder, 191), PAGE_PLACE[:2])
    for n, bitmap_id in enumerate((171, 241, 176, 186, 204)):
        window.paste(_load(folder, bitmap_id), (tab_left(n), TAB_TOP))
    window.paste(_load(folder, 167), (DUZAR_TAB_LEFT, TAB_TOP))
    window.paste(_load(folder, 179), MINIMISE_BUTTON)
    window.paste(_load(folder, 170), CLOSE_BUTTON)
    window.paste(_load(folder, 197), DEFAULT_BUTTON)
    window.paste(_load(folder, 194).crop((0, 0, 88, 36)), APPLY_BUTTON)
    window.paste(_load(folder, 196), EXIT_BUTTON)
    # The captions the program writes over these three: white, centred, 10 pixels from the top.
    caption_font = ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf", 12)
    draw = ImageDraw.Draw(window)
    for (left, top), caption in ((DEFAULT_BUTTON, "Default"), (APPLY_BUTTON, "Apply"), (EXIT_BUTTON, "Exit")):
        draw.text((left + 44, top + 10), caption, font=caption_font, fill=(255, 255, 255), anchor="mt")

    # The round button cut by its own key, as the program cuts it.
    with open(f"{folder}/bitmap_245.bmp", "rb") as source:
        key = read_bmp8(source.read()).point(lambda v: 0 if v == 238 else 255, "L")
    window.paste(_load(folder, 245), (PAGE_PLACE[0] + 340, PAGE_PLACE[1] + 20), key)
    window.paste(_load(folder, 214), (PAGE_PLACE[0] + 120, PAGE_PLACE[1] + 100))
    window.paste(_load(folder, 213), (PAGE_PLACE[0] + 170, PAGE_PLACE[1] + 99))

    with open(f"{folder}/bitmap_215.bmp", "rb") as source:
        inside = read_bmp8(source.read()).point(lambda v: 0 if v == 255 else 255, "L")
    desktop = Image.new("RGB", (WINDOW[0] + 24, WINDOW[1] + 24), (58, 64, 72))
    desktop.paste(window, (12, 12), inside)
    return desktop


def main(arguments):
    if len(arguments) not in (2, 4):
        print(__doc__, file=sys.stderr)
        return 2
    image = compose(arguments[0])
    scale = int(arguments[3]) if len(arguments) == 4 else 1
    if scale != 1:
        image = image.resize((image.width * scale, image.height * scale), Image.NEAREST)
    image.save(arguments[1], optimize=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
