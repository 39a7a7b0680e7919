"""Exit, Default and Apply, and the minimise and close buttons of the title bar.

These buttons get no window region, so each bitmap starts from the skin pixels behind its place and the
corners around the rounded button blend in. Exit, Default and Apply share one set of bitmaps; they stand
84 pixels apart, 4 less than their width, so each body keeps 4 pixels clear on both sides."""

from layout import (APPLY_BUTTON, CLOSE_BUTTON, COMMAND_BUTTON, COMMAND_BUTTON_DISABLED, DEFAULT_BUTTON,
                    EXIT_BUTTON, MINIMISE_BUTTON, TITLE_BUTTON)
from style import BUTTON_BOTTOM, BUTTON_TOP, NAVY, PAGE, SHADOW, Canvas, mix

WHITE = (255, 255, 255)

# Body gradients of the command buttons: a glossy upper half over a deeper lower half.
_COMMAND_STATES = {
    "normal": ([(0.0, mix(BUTTON_TOP, WHITE, 0.22)), (0.5, BUTTON_TOP), (0.5, mix(BUTTON_TOP, BUTTON_BOTTOM, 0.45)),
                (1.0, BUTTON_BOTTOM)], NAVY),
    "hover": ([(0.0, mix(BUTTON_TOP, WHITE, 0.40)), (0.5, mix(BUTTON_TOP, WHITE, 0.16)),
               (0.5, mix(BUTTON_TOP, BUTTON_BOTTOM, 0.25)), (1.0, mix(BUTTON_BOTTOM, BUTTON_TOP, 0.35))], NAVY),
    "selected": ([(0.0, mix(BUTTON_BOTTOM, NAVY, 0.55)), (0.35, BUTTON_BOTTOM),
                  (1.0, mix(BUTTON_TOP, BUTTON_BOTTOM, 0.3))], NAVY),
    "disabled": ([(0.0, (168, 182, 206)), (1.0, (136, 152, 182))], (104, 118, 146)),
}


def _crop(skin, place, size):
    return skin.crop((place[0], place[1], place[0] + size[0], place[1] + size[1]))


def command_button(skin, state):
    """One state of Exit, Default and Apply; the program writes the caption in white 10 pixels from the top."""
    size = COMMAND_BUTTON_DISABLED if state == "disabled" else COMMAND_BUTTON
    # Only Apply is ever disabled, and the disabled bitmap is the wider one.
    background = _crop(skin, APPLY_BUTTON, size)
    for place in (DEFAULT_BUTTON, EXIT_BUTTON):
        if _crop(skin, place, COMMAND_BUTTON).tobytes() != _crop(skin, APPLY_BUTTON, COMMAND_BUTTON).tobytes():
            raise ValueError("the skin behind Exit, Default and Apply must be the same for all three")
    stops, border = _COMMAND_STATES[state]
    canvas = Canvas(background)
    body = (4, 2, 84, 34)
    if state != "selected":
        canvas.rounded((4, 3, 84, 35), 8, fill=mix(PAGE, SHADOW, 0.8))  # a soft drop below the body
    if state == "hover":
        canvas.rounded((3, 1, 85, 35), 9, fill=mix(PAGE, WHITE, 0.45))  # glow
    canvas.rounded(body, 8, fill=border)
    canvas.gradient_rounded((body[0] + 1, body[1] + 1, body[2] - 1, body[3] - 1), 7, stops)
    if state in ("normal", "hover"):
        canvas.line([(body[0] + 7, body[1] + 1.5), (body[2] - 7, body[1] + 1.5)], mix(stops[0][1], WHITE, 0.5), 1)
    if state == "selected":
        canvas.line([(body[0] + 6, body[1] + 1.5), (body[2] - 6, body[1] + 1.5)], mix(NAVY, BUTTON_BOTTOM, 0.3), 1.5)
    return canvas.finish()


_TITLE_STATES = {
    # state: (fill, outline, glyph colour, glyph offset); the close button's hover turns red
    "normal": ((66, 106, 186), (138, 172, 232), WHITE, 0),
    "hover": ((104, 146, 226), (196, 218, 252), WHITE, 0),
    "selected": ((24, 50, 110), (90, 124, 196), (220, 232, 252), 1),
}
_CLOSE_HOVER = ((214, 70, 56), (250, 170, 150), WHITE, 0)


def title_button(skin, kind, state):
    """One state of the minimise ("minimise") or close ("close") button."""
    place = MINIMISE_BUTTON if kind == "minimise" else CLOSE_BUTTON
    fill, outline, glyph, shift = _CLOSE_HOVER if (kind, state) == ("close", "hover") else _TITLE_STATES[state]
    canvas = Canvas(_crop(skin, place, TITLE_BUTTON))
    canvas.rounded((1, 1, 22, 21), 5, fill=outline)
    canvas.rounded((2, 2, 21, 20), 4, fill=fill)
    if state == "selected":
        canvas.rounded((2, 2, 21, 20), 4, outline=mix(fill, NAVY, 0.6), width=1)
    if kind == "minimise":
        canvas.line([(7 + shift, 14.5 + shift), (16 + shift, 14.5 + shift)], glyph, 2)
    else:
        canvas.line([(7.5 + shift, 6.5 + shift), (15.5 + shift, 14.5 + shift)], glyph, 1.8)
        canvas.line([(15.5 + shift, 6.5 + shift), (7.5 + shift, 14.5 + shift)], glyph, 1.8)
    return canvas.finish()
