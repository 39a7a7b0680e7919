#!/usr/bin/python3
"""Draws every bitmap and the icon of the program into a folder, with art.rc naming them for the resource
compiler.

    draw_art.py FOLDER    write bitmap_<id>.bmp, icon_230.ico and art.rc into FOLDER
    draw_art.py --list    print the names of the files it writes, one a line

The output depends on nothing but this folder's scripts and the fonts, so two runs give the same bytes.
"""

import os
import sys

from app_icon import icon_images
from bmp_files import bmp8_bytes, bmp24_bytes, ico_bytes
from copy_sizes import COPY_SIZES, copy_size_pictures
from page_art import (page_background, properties_button, properties_button_palette, slider_channel,
                      slider_thumb)
from skin import draw_skin, region_mask
from style import PAGE, to_palette
from tabs import TABS, tab_bitmaps
from window_buttons import command_button, title_button

ICON_ID = 230
SKIN_ID = 182
SKIN_MASK_ID = 215
COMMAND_BUTTON_IDS = {"normal": 197, "selected": 195, "disabled": 194, "hover": 196}
TITLE_BUTTON_IDS = {("minimise", "normal"): 179, ("minimise", "selected"): 177, ("minimise", "hover"): 178,
                    ("close", "normal"): 170, ("close", "selected"): 168, ("close", "hover"): 169}
PAGE_BACKGROUND_ID = 191
SLIDER_THUMB_ID = 213
SLIDER_CHANNEL_ID = 214
PROPERTIES_BUTTON_IDS = {"normal": 245, "selected": 246, "hover": 247, "disabled": 248}


def bitmap_ids():
    ids = [SKIN_ID, SKIN_MASK_ID, PAGE_BACKGROUND_ID, SLIDER_THUMB_ID, SLIDER_CHANNEL_ID]
    ids += COMMAND_BUTTON_IDS.values()
    ids += TITLE_BUTTON_IDS.values()
    ids += PROPERTIES_BUTTON_IDS.values()
    ids += [bitmap_id for _, _, states in TABS.values() for bitmap_id in states.values()]
    ids += COPY_SIZES
    return sorted(ids)


def bitmap_name(bitmap_id):
    return f"bitmap_{bitmap_id}.bmp"


ICON_NAME = f"icon_{ICON_ID}.ico"


def draw_files():
    """{file name: bytes} of every picture."""
    skin = to_palette(draw_skin(), keep=[PAGE])
    skin_colours = skin.convert("RGB")  # the buttons start from the skin as it will be shown
    files = {bitmap_name(SKIN_ID): bmp8_bytes(skin), bitmap_name(SKIN_MASK_ID): bmp8_bytes(region_mask())}

    full_colour = {PAGE_BACKGROUND_ID: page_background(), SLIDER_CHANNEL_ID: slider_channel(),
                   SLIDER_THUMB_ID: slider_thumb()}
    for state, bitmap_id in COMMAND_BUTTON_IDS.items():
        full_colour[bitmap_id] = command_button(skin_colours, state)
    for (kind, state), bitmap_id in TITLE_BUTTON_IDS.items():
        full_colour[bitmap_id] = title_button(skin_colours, kind, state)
    full_colour.update(tab_bitmaps(skin_colours))
    full_colour.update(copy_size_pictures())
    for bitmap_id, image in full_colour.items():
        files[bitmap_name(bitmap_id)] = bmp24_bytes(image)

    # Every state of the round button is cut to the same circle; the normal one is where the program cuts it.
    for state, bitmap_id in PROPERTIES_BUTTON_IDS.items():
        files[bitmap_name(bitmap_id)] = bmp8_bytes(properties_button_palette(properties_button(state)))

    files[ICON_NAME] = ico_bytes(icon_images())
    files["art.rc"] = resource_script().encode("ascii")
    if sorted(files) != sorted(file_names()):
        raise AssertionError("the list of files and the drawings disagree")
    return files


def resource_script():
    lines = ["// The program's pictures, drawn by res/art/draw_art.py at build time.", ""]
    lines += [f'{bitmap_id} BITMAP "{bitmap_name(bitmap_id)}"' for bitmap_id in bitmap_ids()]
    lines += [f'{ICON_ID} ICON "{ICON_NAME}"', ""]
    return "\n".join(lines)


def file_names():
    return [bitmap_name(bitmap_id) for bitmap_id in bitmap_ids()] + [ICON_NAME, "art.rc"]


def main(arguments):
    if arguments == ["--list"]:
        print("\n".join(file_names()))
        return 0
    if len(arguments) != 1:
        print(__doc__, file=sys.stderr)
        return 2
    folder = arguments[0]
    os.makedirs(folder, exist_ok=True)
    for name, data in draw_files().items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
