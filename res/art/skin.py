"""The window's skin and the mask its outline is cut from.

The region is all or nothing per pixel, so the outline gets a dark rim: a hard edge against the desktop
reads as deliberate where a soft one would show its steps."""

from PIL import Image, ImageDraw

from app_icon import draw_scanner
from layout import (CORNER_RADIUS, FOOTER_TOP, HINT_FRAME, PAGE_FRAME, TAB_TRAY, TITLE_BAR_BOTTOM, WINDOW)
from style import (LIGHT, NAVY, PAGE, SCALE, SHADOW, TITLE_BOTTOM, TITLE_MIDDLE, TITLE_TOP, TRAY, Canvas, font,
                   mix, text, vertical_gradient)

TRANSPARENT_INDEX = 255


def _outline(scale):
    mask = Image.new("L", (WINDOW[0] * scale, WINDOW[1] * scale), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, WINDOW[0] * scale - 1, WINDOW[1] * scale - 1),
                                           CORNER_RADIUS * scale, fill=255)
    return mask


def region_mask():
    """Palette index 255 outside the window, 0 inside: a pixel belongs to the window when the outline
    covers at least half of it."""
    coverage = _outline(SCALE).reduce(SCALE)
    mask = coverage.point(lambda v: 0 if v >= 128 else TRANSPARENT_INDEX).convert("P")
    palette = [0] * 768
    palette[TRANSPARENT_INDEX * 3:TRANSPARENT_INDEX * 3 + 3] = [255, 0, 255]
    mask.putpalette(palette)
    return mask


def _recessed(canvas, left, top, width, height, fill, radius=5):
    """A panel sunk into the body: shadow above and to the left, light below and to the right."""
    right, bottom = left + width, top + height
    canvas.rounded((left - 2, top - 2, right + 2, bottom + 2), radius, fill=LIGHT)
    canvas.rounded((left - 2, top - 2, right + 1, bottom + 1), radius, fill=SHADOW)
    canvas.rounded((left - 1, top - 1, right + 1, bottom + 1), radius - 1, fill=mix(SHADOW, fill, 0.5))
    canvas.rounded((left, top, right, bottom), radius - 1, fill=fill)


def _title_bar(canvas):
    inner = Image.new("L", canvas.image.size, 0)
    draw = ImageDraw.Draw(inner)
    draw.rounded_rectangle((2 * SCALE, 2 * SCALE, (WINDOW[0] - 2) * SCALE - 1, (WINDOW[1] - 2) * SCALE - 1),
                           (CORNER_RADIUS - 2) * SCALE, fill=255)
    draw.rectangle((0, TITLE_BAR_BOTTOM * SCALE, inner.width, inner.height), fill=0)
    gloss = [(0.0, TITLE_TOP), (0.48, mix(TITLE_TOP, TITLE_MIDDLE, 0.55)), (0.5, TITLE_MIDDLE), (1.0, TITLE_BOTTOM)]
    canvas.image.paste(vertical_gradient((inner.width, TITLE_BAR_BOTTOM * SCALE), gloss), (0, 0),
                       inner.crop((0, 0, inner.width, TITLE_BAR_BOTTOM * SCALE)))
    canvas.rect((2, TITLE_BAR_BOTTOM, WINDOW[0] - 2, TITLE_BAR_BOTTOM + 1), fill=NAVY)
    canvas.rect((2, TITLE_BAR_BOTTOM + 1, WINDOW[0] - 2, TITLE_BAR_BOTTOM + 2), fill=LIGHT)


def draw_skin():
    """The skin in full colour; the program turns it into 8 bits per pixel with to_palette."""
    width, height = WINDOW
    canvas = Canvas(Image.new("RGB", WINDOW, NAVY))
    canvas.rounded((0, 0, width, height), CORNER_RADIUS, fill=NAVY)
    canvas.rounded((1, 1, width - 1, height - 1), CORNER_RADIUS - 1, fill=LIGHT)
    canvas.rounded((2, 2, width - 1, height - 1), CORNER_RADIUS - 1.5, fill=SHADOW)
    canvas.rounded((2, 2, width - 2, height - 2), CORNER_RADIUS - 2, fill=PAGE)
    _title_bar(canvas)
    draw_scanner(canvas, 14, 8, 30)

    left, top, tray_width, tray_height = TAB_TRAY
    _recessed(canvas, left, top, tray_width, tray_height, TRAY, radius=7)
    _recessed(canvas, *PAGE_FRAME, PAGE)
    _recessed(canvas, *HINT_FRAME, PAGE)
    canvas.rect((16, FOOTER_TOP, width - 16, FOOTER_TOP + 1), fill=SHADOW)
    canvas.rect((16, FOOTER_TOP + 1, width - 16, FOOTER_TOP + 2), fill=LIGHT)

    skin = canvas.finish()
    text(skin, 88, 31, "Tolvan", font(19), (255, 255, 255), shadow=mix(NAVY, TITLE_BOTTOM, 0.3))
    return skin
