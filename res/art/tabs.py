"""The job tabs: a picture of what the job does with its name under it, in four states.

Tabs get no window region and the same bitmaps serve every tab position, so each starts from the skin
behind the tab row, which is the same at every position."""

from PIL import Image

import pictograms
from layout import DUZAR_TAB_LEFT, SIZED_COPY_TAB_LEFT, TAB, TAB_TOP, tab_left
from style import NAVY, PAGE, Canvas, font, mix, text

WHITE = (255, 255, 255)

# Job: caption, picture, and the bitmap ids of its states. The DUzar and RAvud tabs share one set in the
# main window's tab table; the RAvud pictures stand apart for a tab table that tells the two apart.
TABS = {
    "email": ("Email", pictograms.envelope, {"normal": 173, "selected": 171, "disabled": 201, "hover": 172}),
    "office": ("Office", pictograms.document, {"normal": 237, "selected": 240, "hover": 241}),
    "file": ("File", pictograms.folder, {"normal": 176, "selected": 174, "disabled": 193, "hover": 175}),
    "copy": ("Copy", pictograms.printer, {"normal": 186, "selected": 184, "disabled": 199, "hover": 185}),
    "application": ("VAVizi", pictograms.application_window,
                    {"normal": 204, "selected": 242, "hover": 203}),
    "duzar": ("DUzar", pictograms.star_application, {"normal": 167, "selected": 202, "disabled": 192, "hover": 190}),
    "sized_copy": ("RAvud", pictograms.sized_copy, {"normal": 250, "selected": 251, "disabled": 252, "hover": 253}),
}

_FACE = (1, 1, 51, 51)
_RADIUS = 7
# state: border, face gradient, caption colour
_STATES = {
    "normal": ((58, 94, 166), [(0.0, (252, 253, 255)), (0.55, (230, 238, 251)), (1.0, (204, 219, 245))], NAVY),
    "hover": ((40, 110, 226), [(0.0, WHITE), (0.55, (242, 247, 255)), (1.0, (220, 233, 253))], (14, 52, 140)),
    "selected": ((24, 48, 108), [(0.0, (128, 164, 226)), (0.25, (158, 190, 240)), (1.0, (186, 208, 246))],
                 (12, 30, 76)),
    "disabled": ((146, 156, 174), [(0.0, (236, 238, 242)), (1.0, (210, 214, 222))], (138, 146, 160)),
}


def tab_background(skin):
    """The skin under the tab row; refuses a skin that differs between tab positions."""
    places = [tab_left(n) for n in range(5)] + [SIZED_COPY_TAB_LEFT, DUZAR_TAB_LEFT]
    crops = [skin.crop((x, TAB_TOP, x + TAB[0], TAB_TOP + TAB[1])) for x in places]
    if any(crop.tobytes() != crops[0].tobytes() for crop in crops):
        raise ValueError("the skin behind the tab row must be the same at every tab position")
    return crops[0]


def _greyed(image, face_mask):
    """The disabled look: the face's picture in pale grey."""
    grey = image.convert("L").point(lambda v: round(150 + v * 0.38)).convert("RGB")
    return Image.composite(grey, image, face_mask)


def draw_tab(background, caption, picture, state):
    border, face, caption_colour = _STATES[state]
    canvas = Canvas(background)
    if state == "hover":
        canvas.rounded((0, 0, 52, 52), _RADIUS + 1, fill=mix(PAGE, WHITE, 0.75))
    canvas.rounded(_FACE, _RADIUS, fill=border)
    canvas.gradient_rounded((_FACE[0] + 1, _FACE[1] + 1, _FACE[2] - 1, _FACE[3] - 1), _RADIUS - 1, face)
    if state == "selected":
        # Pressed in: a shadow along the top and left inner edges, the picture one pixel down and right.
        canvas.line([(3, 2.6), (49, 2.6)], mix(border, face[0][1], 0.45), 1.2)
        canvas.line([(2.6, 4), (2.6, 48)], mix(border, face[0][1], 0.6), 1)
        shift = 1
    else:
        canvas.line([(6, 2.5), (46, 2.5)], WHITE, 1)
        shift = 0
    picture(canvas, 12 + shift, 4 + shift)
    image = canvas.finish()
    if state == "disabled":
        face_mask = Canvas(Image.new("RGB", TAB, (0, 0, 0)))
        face_mask.rounded((_FACE[0] + 1, _FACE[1] + 1, _FACE[2] - 1, _FACE[3] - 1), _RADIUS - 1, fill=WHITE)
        image = _greyed(image, face_mask.finish().convert("L"))
    text(image, 26 + shift, 46 + shift, caption, font(10, condensed=True), caption_colour)
    return image


def tab_bitmaps(skin):
    """{bitmap id: image} for every tab state of every job."""
    background = tab_background(skin)
    return {bitmap_id: draw_tab(background, caption, picture, state)
            for caption, picture, states in TABS.values() for state, bitmap_id in states.items()}
