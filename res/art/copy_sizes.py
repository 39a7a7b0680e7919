"""The eleven pictures of the copy size dialog (RAvud): the copy on its sheet at the chosen size, with
the percentage beside it. The copier scales from the sheet's top left corner, so a reduced copy sits in
that corner and an enlarged one runs off the sheet, drawn faded beyond its edges."""

from PIL import Image, ImageDraw

from style import ACCENT, INK, NAVY, PAPER, Canvas, font, mix, text, vertical_gradient

PICTURE = (128, 96)

# Bitmap id and percentage, in the dialog's order from the default on.
COPY_SIZES = {145: 100, 146: 115, 147: 122, 148: 141, 149: 200, 150: 25, 226: 50, 227: 71, 228: 78, 219: 86,
              220: 94}

_BACKGROUND_TOP = (248, 251, 255)
_BACKGROUND_BOTTOM = (220, 231, 250)
_FRAME = (140, 162, 202)
_SHEET = (12, 11, 52, 74)            # left, top, width, height: an A-series sheet
_MARGIN = 4
_CONTENT = (_SHEET[2] - 2 * _MARGIN, _SHEET[3] - 2 * _MARGIN)   # the original at 100 %


def _content(canvas, left, top, scale, fade):
    """The original: a heading, a photograph and lines of text, at scale, faded towards the background."""
    def colour(c):
        return mix(c, _BACKGROUND_BOTTOM, fade)

    def point(x, y):
        return left + x * scale, top + y * scale

    def box(x0, y0, x1, y1):
        return (*point(x0, y0), *point(x1, y1))

    width, height = _CONTENT
    canvas.rect(box(0, 0, width, 6), fill=colour(ACCENT))
    canvas.rect(box(0, 9, width, 30), fill=colour((178, 212, 250)))
    canvas.ellipse(box(28, 12, 36, 20), fill=colour((255, 200, 64)))
    canvas.polygon([point(0, 30), point(10, 18), point(19, 25), point(26, 21), point(width, 30)],
                   fill=colour((70, 160, 90)))
    for i, shorter in enumerate((0, 6, 2, 10, 4, 0, 14, 3, 18)):
        row = 34 + 3.5 * i
        canvas.rect(box(0, row, width - shorter, row + 1.5), fill=colour(INK))


def _dashed_rectangle(image, box, colour, dash=3):
    draw = ImageDraw.Draw(image)
    left, top, right, bottom = box
    for x in range(left, right + 1, dash * 2):
        draw.line([(x, top), (min(x + dash - 1, right), top)], fill=colour)
        draw.line([(x, bottom), (min(x + dash - 1, right), bottom)], fill=colour)
    for y in range(top, bottom + 1, dash * 2):
        draw.line([(left, y), (left, min(y + dash - 1, bottom))], fill=colour)
        draw.line([(right, y), (right, min(y + dash - 1, bottom))], fill=colour)


def copy_size_picture(percent):
    scale = percent / 100
    sheet_left, sheet_top, sheet_width, sheet_height = _SHEET
    inner_left, inner_top = sheet_left + _MARGIN, sheet_top + _MARGIN
    background = vertical_gradient(PICTURE, [(0.0, _BACKGROUND_TOP), (1.0, _BACKGROUND_BOTTOM)])

    # What runs off the sheet, faded, behind it.
    outside = Canvas(background)
    if scale > 1:
        _content(outside, inner_left, inner_top, scale, 0.72)
    outside.rect((sheet_left + 2, sheet_top + 2, sheet_left + sheet_width + 2, sheet_top + sheet_height + 2),
                 fill=mix(_BACKGROUND_BOTTOM, NAVY, 0.25))
    image = outside.finish()
    label_left = 72
    image.paste(background.crop((label_left, 0, *PICTURE)), (label_left, 0))  # keep the percentage clear

    # The sheet with what the copier prints on it.
    printed = Canvas(Image.new("RGB", PICTURE, PAPER))
    _content(printed, inner_left, inner_top, scale, 0.0)
    sheet_box = (sheet_left, sheet_top, sheet_left + sheet_width, sheet_top + sheet_height)
    image.paste(printed.finish().crop(sheet_box), sheet_box[:2])
    draw = ImageDraw.Draw(image)
    draw.rectangle((sheet_box[0], sheet_box[1], sheet_box[2] - 1, sheet_box[3] - 1), outline=NAVY)
    if scale < 1:
        # Where the original would reach at full size.
        _dashed_rectangle(image, (inner_left - 1, inner_top - 1, inner_left + _CONTENT[0], inner_top + _CONTENT[1]),
                          mix(PAPER, ACCENT, 0.55))
    elif scale > 1:
        _dashed_rectangle(image, (inner_left - 1, inner_top - 1, min(inner_left + round(_CONTENT[0] * scale),
                                                                       label_left - 1),
                                  min(inner_top + round(_CONTENT[1] * scale), PICTURE[1] - 3)),
                          mix(_BACKGROUND_BOTTOM, ACCENT, 0.7))

    # The percentage, with an arrow that says larger or smaller.
    label_x = 99
    text(image, label_x, 54, f"{percent}%", font(15), NAVY)
    arrow = Canvas(image.crop((label_x - 12, 14, label_x + 12, 36)))
    if scale > 1:
        arrow.polygon([(12, 2), (21, 12), (15, 12), (15, 20), (9, 20), (9, 12), (3, 12)], fill=ACCENT)
    elif scale < 1:
        arrow.polygon([(12, 20), (21, 10), (15, 10), (15, 2), (9, 2), (9, 10), (3, 10)], fill=ACCENT)
    else:
        arrow.rect((4, 6, 20, 9), fill=ACCENT)
        arrow.rect((4, 13, 20, 16), fill=ACCENT)
    image.paste(arrow.finish(), (label_x - 12, 14))
    draw.rectangle((0, 0, PICTURE[0] - 1, PICTURE[1] - 1), outline=_FRAME)
    return image


def copy_size_pictures():
    return {bitmap_id: copy_size_picture(percent) for bitmap_id, percent in COPY_SIZES.items()}
