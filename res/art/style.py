"""The look shared by every picture: colours, fonts and a supersampled drawing surface.

Shapes are drawn four times larger over an enlarged copy of what lies behind them and then reduced, so
their edges blend into the skin without an alpha channel (bitmap resources have none). Text is drawn at
the final size, where the font's hinting keeps small captions sharp.
"""

from PIL import Image, ImageChops, ImageDraw, ImageFont

# The colour of the window body, every page and every colour button; the program paints its statics with it.
PAGE = (119, 161, 228)

NAVY = (22, 42, 92)            # outlines and dark text
TITLE_TOP = (74, 116, 200)
TITLE_MIDDLE = (46, 86, 168)
TITLE_BOTTOM = (30, 64, 138)
TRAY = (102, 144, 214)         # the recessed strip under the tabs
SHADOW = (78, 114, 184)        # the dark side of a bevel on the body
LIGHT = (176, 204, 246)        # the light side of a bevel on the body
BUTTON_TOP = (62, 104, 186)    # Exit, Default and Apply carry white text: a darker blue body
BUTTON_BOTTOM = (30, 62, 136)
PAPER = (255, 255, 255)
INK = (92, 110, 150)           # text lines on paper
ACCENT = (44, 104, 214)        # the one saturated blue of the pictograms
AMBER = (240, 178, 58)
AMBER_DARK = (168, 110, 22)
ORANGE = (246, 140, 40)
ORANGE_DARK = (206, 86, 18)
GREEN = (60, 200, 90)

SCALE = 4
_FONT_DIR = "/usr/share/fonts/truetype/dejavu/"


def font(size, bold=True, condensed=False):
    name = "DejaVuSans" + ("Condensed" if condensed else "") + ("-Bold" if bold else "") + ".ttf"
    # The basic layout keeps the hinted advances, which spaces small captions evenly.
    return ImageFont.truetype(_FONT_DIR + name, size, layout_engine=ImageFont.Layout.BASIC)


def mix(a, b, t):
    """The colour t of the way from a to b."""
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def vertical_gradient(size, stops):
    """An RGB image whose rows run through the colour stops [(position 0..1, colour), ...]."""
    width, height = size
    column = Image.new("RGB", (1, height))
    for y in range(height):
        t = (y + 0.5) / height
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if t <= p1 or (p1, c1) == stops[-1]:
                column.putpixel((0, y), mix(c0, c1, min(max((t - p0) / (p1 - p0), 0.0), 1.0)))
                break
    return column.resize((width, height), Image.NEAREST)


class Canvas:
    """A drawing surface in final pixel coordinates, rendered at SCALE times the size."""

    def __init__(self, background):
        self.size = background.size
        self.image = background.convert("RGB").resize((self.size[0] * SCALE, self.size[1] * SCALE), Image.NEAREST)
        self.draw = ImageDraw.Draw(self.image)

    @staticmethod
    def _scaled(values):
        return [round(v * SCALE) for v in values]

    def _points(self, points):
        return [(round(x * SCALE), round(y * SCALE)) for x, y in points]

    def rounded(self, box, radius, fill=None, outline=None, width=1.0):
        self.draw.rounded_rectangle(self._scaled(box), round(radius * SCALE), fill=fill, outline=outline,
                                    width=round(width * SCALE))

    def rect(self, box, fill=None, outline=None, width=1.0):
        self.draw.rectangle(self._scaled((box[0], box[1], box[2] - 1 / SCALE, box[3] - 1 / SCALE)), fill=fill,
                            outline=outline, width=round(width * SCALE))

    def ellipse(self, box, fill=None, outline=None, width=1.0):
        self.draw.ellipse(self._scaled(box), fill=fill, outline=outline, width=round(width * SCALE))

    def polygon(self, points, fill=None, outline=None, width=1.0):
        self.draw.polygon(self._points(points), fill=fill)
        if outline is not None:
            self.line(list(points) + [points[0]], outline, width)

    def line(self, points, fill, width=1.0):
        self.draw.line(self._points(points), fill=fill, width=round(width * SCALE), joint="curve")

    def shape_mask(self, paint):
        """A mask at drawing scale: paint(draw, scale) draws the shape in white."""
        mask = Image.new("L", self.image.size, 0)
        paint(ImageDraw.Draw(mask), SCALE)
        return mask

    def gradient_rounded(self, box, radius, stops):
        """A rounded rectangle filled with a vertical gradient."""
        left, top, right, bottom = self._scaled(box)
        mask = Image.new("L", (right - left, bottom - top), 0)
        ImageDraw.Draw(mask).rounded_rectangle((0, 0, right - left - 1, bottom - top - 1), round(radius * SCALE),
                                               fill=255)
        self.image.paste(vertical_gradient((right - left, bottom - top), stops), (left, top), mask)

    def finish(self):
        return self.image.reduce(SCALE)


def text(image, centre_x, baseline, caption, face, fill, shadow=None):
    """Caption centred on centre_x with its baseline at baseline, at final size."""
    draw = ImageDraw.Draw(image)
    if shadow is not None:
        draw.text((centre_x + 1, baseline + 1), caption, font=face, fill=shadow, anchor="ms")
    draw.text((centre_x, baseline), caption, font=face, fill=fill, anchor="ms")


def exact_mask(image, colour):
    """A mask of the pixels that have exactly this colour."""
    difference = ImageChops.difference(image.convert("RGB"), Image.new("RGB", image.size, colour))
    red, green, blue = difference.split()
    return ImageChops.lighter(ImageChops.lighter(red, green), blue).point(lambda v: 255 if v == 0 else 0)


def to_palette(image, keep=(), reserved=()):
    """An RGB image as a palette image without dithering (flat areas stay flat).

    Colours in keep come out exactly wherever they were exact in the image; palette indices in reserved are
    left out, so that a key index can be given a meaning of its own afterwards.
    """
    free = [i for i in range(256) if i not in reserved]
    count = len(free) - len(keep)
    quantized = image.convert("RGB").quantize(colors=count, method=Image.Quantize.MEDIANCUT,
                                              dither=Image.Dither.NONE)
    source_palette = quantized.getpalette() + [0] * 768
    lookup = [free[i] if i < count else 0 for i in range(256)]
    result = quantized.point(lookup)
    table = [0] * 768
    for i in range(count):
        table[free[i] * 3:free[i] * 3 + 3] = source_palette[i * 3:i * 3 + 3]
    for slot, colour in zip(free[count:], keep):
        table[slot * 3:slot * 3 + 3] = list(colour)
        result.paste(slot, mask=exact_mask(image, colour))
    result.putpalette(table)
    return result
