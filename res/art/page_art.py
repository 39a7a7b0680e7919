"""Pictures on the job pages: the page background, the slider of the RAvud page and the Copy page's
round Properties button."""

from PIL import Image

import pictograms
from layout import PAGE_PLACE
from style import AMBER, AMBER_DARK, BUTTON_BOTTOM, BUTTON_TOP, NAVY, PAGE, Canvas, mix, to_palette

WHITE = (255, 255, 255)

SLIDER_CHANNEL = (158, 9)
SLIDER_THUMB = (9, 13)
PROPERTIES_BUTTON = (36, 36)
PROPERTIES_KEY_INDEX = 238  # palette index of the pixels outside the round button


def page_background():
    """Flat page colour: labels, sliders and combo boxes paint their own backgrounds in it, so any
    pattern here would show their rectangles."""
    return Image.new("RGB", PAGE_PLACE[2:], PAGE)


def slider_channel():
    """The groove. The slider cuts it to its channel rectangle from the top left and does not stretch it,
    so it reads as a groove at any cut: the dark shadow is in the first row and the ends are square."""
    width, height = SLIDER_CHANNEL
    canvas = Canvas(Image.new("RGB", SLIDER_CHANNEL, mix(PAGE, NAVY, 0.45)))
    canvas.rect((0, 0, width, 1), fill=mix(PAGE, NAVY, 0.75))
    canvas.rect((0, 1, width, 2), fill=mix(PAGE, NAVY, 0.6))
    canvas.rect((0, height - 1, width, height), fill=mix(PAGE, WHITE, 0.55))
    canvas.rect((0, 0, 1, height - 1), fill=mix(PAGE, NAVY, 0.7))
    return canvas.finish()


def slider_thumb():
    """A pointer towards the tick marks below the channel."""
    canvas = Canvas(Image.new("RGB", SLIDER_THUMB, PAGE))
    outline = [(0.5, 0.5), (8.5, 0.5), (8.5, 8.5), (4.5, 12.5), (0.5, 8.5)]
    canvas.polygon(outline, fill=NAVY)
    canvas.polygon([(1.5, 1.5), (7.5, 1.5), (7.5, 8.1), (4.5, 11.1), (1.5, 8.1)], fill=mix(BUTTON_TOP, WHITE, 0.5))
    canvas.rect((1.5, 1.5, 7.5, 5), fill=mix(BUTTON_TOP, WHITE, 0.8))
    return canvas.finish()


_PROPERTIES_STATES = {
    # state: body gradient, border, picture offset
    "normal": ([(0.0, mix(BUTTON_TOP, WHITE, 0.3)), (0.5, BUTTON_TOP), (1.0, BUTTON_BOTTOM)], NAVY, 0),
    "hover": ([(0.0, mix(BUTTON_TOP, WHITE, 0.5)), (0.5, mix(BUTTON_TOP, WHITE, 0.2)), (1.0, BUTTON_TOP)], NAVY, 0),
    "selected": ([(0.0, mix(BUTTON_BOTTOM, NAVY, 0.5)), (1.0, BUTTON_TOP)], NAVY, 1),
    "disabled": ([(0.0, (186, 196, 214)), (1.0, (150, 164, 190))], (118, 130, 154), 0),
}


def _round_button_coverage():
    coverage = Canvas(Image.new("RGB", PROPERTIES_BUTTON, (0, 0, 0)))
    coverage.ellipse((0, 0, *PROPERTIES_BUTTON), fill=WHITE)
    return coverage.finish().convert("L")


def _gear(canvas, x, y, radius, colour, edge):
    for i in range(8):
        canvas.line([(x, y), (x + radius * (1.0 if i % 2 == 0 else 0.95) * _COS[i], y + radius * _SIN[i])], edge, 2.2)
    canvas.ellipse((x - radius * 0.78, y - radius * 0.78, x + radius * 0.78, y + radius * 0.78), fill=colour,
                   outline=edge, width=0.8)
    canvas.ellipse((x - radius * 0.3, y - radius * 0.3, x + radius * 0.3, y + radius * 0.3), fill=edge)


_COS = [1, 0.7071, 0, -0.7071, -1, -0.7071, 0, 0.7071]
_SIN = [0, 0.7071, 1, 0.7071, 0, -0.7071, -1, -0.7071]


def properties_button(state):
    """One state of the Copy page's Properties button: a printer with a gear on a round body. The program
    cuts the button's region from the normal state by PROPERTIES_KEY_INDEX, so every state is this circle."""
    stops, border, shift = _PROPERTIES_STATES[state]
    canvas = Canvas(Image.new("RGB", PROPERTIES_BUTTON, PAGE))
    canvas.ellipse((0, 0, *PROPERTIES_BUTTON), fill=border)
    canvas.gradient_rounded((1, 1, 35, 35), 17, stops)
    canvas.line([(11, 3), (25, 3)], mix(stops[0][1], WHITE, 0.4), 1)
    pictograms.printer(canvas, 4 + shift, 4 + shift)
    _gear(canvas, 25 + shift, 25 + shift, 6, AMBER, AMBER_DARK)
    image = canvas.finish()
    if state == "disabled":
        grey = image.convert("L").point(lambda v: round(120 + v * 0.45)).convert("RGB")
        image = Image.composite(grey, image, _round_button_coverage())
    return image


def properties_button_palette(image):
    """The 8-bit form with the key index outside the circle (where the circle covers less than half)."""
    result = to_palette(image, keep=[PAGE], reserved=[PROPERTIES_KEY_INDEX])
    outside = _round_button_coverage().point(lambda v: 255 if v < 128 else 0)
    result.paste(PROPERTIES_KEY_INDEX, mask=outside)
    palette = result.getpalette()
    palette[PROPERTIES_KEY_INDEX * 3:PROPERTIES_KEY_INDEX * 3 + 3] = list(PAGE)
    result.putpalette(palette)
    return result
