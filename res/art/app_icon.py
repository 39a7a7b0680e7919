"""The program's icon: a document scanner with its front-panel button lit, the thing the program sets up."""

from PIL import Image

from style import ACCENT, NAVY, ORANGE, ORANGE_DARK, PAPER, Canvas, mix

ICON_SIZES = (16, 32, 48)


def draw_scanner(canvas, left, top, side):
    """The scanner in the square (left, top, side): a sheet in the feeder, the body, the lit button."""
    def at(x, y):
        return left + x * side, top + y * side

    def box(x0, y0, x1, y1):
        return (*at(x0, y0), *at(x1, y1))

    small = side < 24
    line = max(side / 32, 0.75)
    # The sheet standing in the feeder, slightly tilted back.
    sheet = [at(0.26, 0.30), at(0.34, 0.04), at(0.80, 0.04), at(0.72, 0.30)]
    canvas.polygon(sheet, fill=PAPER, outline=NAVY, width=line)
    if not small:
        for i, length in enumerate((0.30, 0.22, 0.26)):
            y = 0.11 + 0.055 * i
            canvas.line([at(0.41, y), at(0.41 + length, y)], mix(PAPER, NAVY, 0.45), side / 40)
    # Body: a light top face over a blue front.
    canvas.gradient_rounded(box(0.04, 0.26, 0.96, 0.90), 0.12 * side,
                            [(0.0, (236, 243, 254)), (0.45, (206, 220, 244)), (0.46, ACCENT), (1.0, (28, 70, 160))])
    canvas.rounded(box(0.04, 0.26, 0.96, 0.90), 0.12 * side, outline=NAVY, width=line)
    # The slot the sheet goes into.
    canvas.rounded(box(0.20, 0.33, 0.80, 0.39), 0.02 * side, fill=mix(NAVY, ACCENT, 0.3))
    # The front-panel button, lit.
    canvas.ellipse(box(0.66, 0.56, 0.86, 0.76), fill=ORANGE, outline=ORANGE_DARK, width=line)
    if not small:
        canvas.ellipse(box(0.70, 0.59, 0.78, 0.66), fill=mix(ORANGE, PAPER, 0.6))
        canvas.rounded(box(0.14, 0.63, 0.54, 0.69), 0.03 * side, fill=mix(ACCENT, PAPER, 0.45))


def icon_images():
    images = []
    for size in ICON_SIZES:
        # Drawn over white and over black; the difference between the two gives each pixel's coverage.
        layers = []
        for backdrop in ((255, 255, 255), (0, 0, 0)):
            canvas = Canvas(Image.new("RGB", (size, size), backdrop))
            draw_scanner(canvas, 0, 0, size)
            layers.append(canvas.finish())
        images.append(_with_alpha(*layers))
    return images


def _with_alpha(on_white, on_black):
    result = Image.new("RGBA", on_white.size)
    white, black = on_white.load(), on_black.load()
    pixels = result.load()
    for y in range(on_white.height):
        for x in range(on_white.width):
            w, b = white[x, y], black[x, y]
            alpha = 255 - max(w[i] - b[i] for i in range(3))
            if alpha <= 0:
                pixels[x, y] = (0, 0, 0, 0)
            else:
                pixels[x, y] = tuple(min(255, round(b[i] * 255 / alpha)) for i in range(3)) + (alpha,)
    return result
