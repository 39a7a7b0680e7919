"""The pictures on the job tabs, each in the 28 x 27 pixel box above the tab's caption.

Every function draws into a Canvas with the top left corner of its box at (x, y)."""

import math

from style import (ACCENT, AMBER, AMBER_DARK, GREEN, INK, NAVY, ORANGE, ORANGE_DARK, PAPER, mix)

LINE = 1.1
PAPER_SHADE = (214, 226, 246)
PRINTER_TOP = (206, 214, 228)
PRINTER_BODY = (122, 136, 162)
PRINTER_DARK = (70, 82, 108)


def envelope(c, x, y):
    body = (x + 1, y + 5, x + 27, y + 23)
    c.rounded(body, 2, fill=PAPER, outline=NAVY, width=LINE)
    c.line([(x + 2, y + 22), (x + 11, y + 14)], mix(NAVY, PAPER, 0.45), 0.9)
    c.line([(x + 26, y + 22), (x + 17, y + 14)], mix(NAVY, PAPER, 0.45), 0.9)
    c.polygon([(x + 1.6, y + 5.6), (x + 14, y + 16), (x + 26.4, y + 5.6)], fill=PAPER_SHADE)
    c.line([(x + 1.6, y + 5.6), (x + 14, y + 16), (x + 26.4, y + 5.6)], NAVY, LINE)
    # A blue seal where the flap closes.
    c.ellipse((x + 11.5, y + 13.5, x + 16.5, y + 18.5), fill=ACCENT, outline=NAVY, width=0.8)


def document(c, x, y, lines=True):
    """A sheet with a folded corner and lines of text."""
    left, top, right, bottom = x + 5, y + 1, x + 23, y + 26
    fold = 6
    c.polygon([(left, top), (right - fold, top), (right, top + fold), (right, bottom), (left, bottom)], fill=PAPER,
              outline=NAVY, width=LINE)
    c.polygon([(right - fold, top), (right - fold, top + fold), (right, top + fold)], fill=PAPER_SHADE,
              outline=NAVY, width=0.9)
    if lines:
        c.line([(left + 3, top + 5), (right - fold - 2, top + 5)], ACCENT, 1.8)
        for i, length in enumerate((12, 10, 12, 8, 11)):
            row = top + 10 + 3 * i
            c.line([(left + 3, row), (left + 3 + length, row)], INK, 1.0)


def folder(c, x, y):
    c.polygon([(x + 1, y + 5), (x + 10, y + 5), (x + 13, y + 8), (x + 26, y + 8), (x + 26, y + 24), (x + 1, y + 24)],
              fill=AMBER_DARK, outline=mix(AMBER_DARK, NAVY, 0.5), width=LINE)
    # A sheet peeking out of the folder.
    c.rect((x + 5, y + 7, x + 22, y + 16), fill=PAPER, outline=mix(NAVY, PAPER, 0.4), width=0.8)
    c.polygon([(x + 1, y + 24), (x + 4, y + 12), (x + 27, y + 12), (x + 26, y + 24)], fill=AMBER,
              outline=mix(AMBER_DARK, NAVY, 0.5), width=LINE)
    c.line([(x + 4.8, y + 13.2), (x + 26, y + 13.2)], mix(AMBER, PAPER, 0.5), 0.9)


def printer(c, x, y, sheet=True):
    """A printer with a printed sheet coming out at the front."""
    c.rect((x + 7, y + 1, x + 21, y + 10), fill=PAPER, outline=NAVY, width=0.9)  # paper waiting at the back
    c.rounded((x + 1, y + 8, x + 27, y + 21), 3, fill=PRINTER_BODY, outline=NAVY, width=LINE)
    c.rounded((x + 2, y + 9, x + 26, y + 13), 2, fill=PRINTER_TOP)
    c.ellipse((x + 21, y + 14.5, x + 24, y + 17.5), fill=GREEN, outline=mix(GREEN, NAVY, 0.5), width=0.6)
    c.rect((x + 5, y + 17, x + 23, y + 19), fill=PRINTER_DARK)
    if sheet:
        c.rect((x + 6, y + 18, x + 22, y + 27), fill=PAPER, outline=NAVY, width=0.9)
        for i in range(2):
            c.line([(x + 8.5, y + 21 + 2.6 * i), (x + 19.5 - 3 * i, y + 21 + 2.6 * i)], INK, 0.9)


def application_window(c, x, y):
    """A program's window holding the scanned picture."""
    c.rounded((x + 1, y + 3, x + 27, y + 25), 2, fill=PAPER, outline=NAVY, width=LINE)
    c.rounded((x + 1.5, y + 3.5, x + 26.5, y + 8.5), 1.5, fill=ACCENT)
    for i in range(3):
        c.ellipse((x + 17.5 + 2.8 * i, y + 5, x + 19.5 + 2.8 * i, y + 7), fill=PAPER)
    # The picture: sky, sun and hills.
    c.rect((x + 4, y + 11, x + 24, y + 22), fill=(178, 212, 250))
    c.ellipse((x + 17, y + 12.5, x + 21, y + 16.5), fill=(255, 206, 70))
    c.polygon([(x + 4, y + 22), (x + 10, y + 15), (x + 15, y + 19), (x + 18, y + 17), (x + 24, y + 22)],
              fill=(70, 160, 90))
    c.rect((x + 4, y + 11, x + 24, y + 22), outline=mix(NAVY, PAPER, 0.4), width=0.7)


def star_application(c, x, y):
    """An application tile with a star: the one program the DUzar job hands scans to."""
    c.rounded((x + 2, y + 1, x + 26, y + 25), 6, fill=ORANGE_DARK)
    c.gradient_rounded((x + 3, y + 2, x + 25, y + 24), 5,
                       [(0.0, mix(ORANGE, PAPER, 0.35)), (0.5, ORANGE), (1.0, ORANGE_DARK)])
    centre_x, centre_y = x + 14, y + 13.5
    outer, inner = 8.5, 3.6
    points = []
    for i in range(10):
        radius = outer if i % 2 == 0 else inner
        angle = math.pi / 2 + i * math.pi / 5
        points.append((centre_x + radius * math.cos(angle), centre_y - radius * math.sin(angle)))
    c.polygon(points, fill=PAPER, outline=mix(ORANGE_DARK, NAVY, 0.3), width=0.8)


def sized_copy(c, x, y):
    """A printer with a magnifying glass over its sheet: copies at another size."""
    printer(c, x - 2, y, sheet=True)
    lens_x, lens_y, radius = x + 19, y + 18, 5.2
    c.line([(lens_x + 3.4, lens_y + 3.4), (lens_x + 8, lens_y + 8)], NAVY, 2.6)
    c.ellipse((lens_x - radius, lens_y - radius, lens_x + radius, lens_y + radius), fill=(214, 234, 255),
              outline=NAVY, width=1.4)
    c.line([(lens_x - 2.6, lens_y), (lens_x + 2.6, lens_y)], ACCENT, 1.4)
    c.line([(lens_x, lens_y - 2.6), (lens_x, lens_y + 2.6)], ACCENT, 1.4)
