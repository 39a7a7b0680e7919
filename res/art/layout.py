"""Where the main window puts things, in client pixels. The program places its controls at these fixed
points and sizes the window and its buttons from the bitmaps, so the art is drawn around them."""

WINDOW = (457, 392)
CORNER_RADIUS = 16
TITLE_BAR_BOTTOM = 46

PAGE_FRAME = (24, 110, 410, 156)   # left, top, width, height
HINT_FRAME = (24, 270, 410, 60)
PAGE_PLACE = (30, 120, 401, 142)       # where each job page sits, the size of its background bitmap
FOOTER_TOP = 338

COMMAND_BUTTON = (88, 36)          # Exit, Default, Apply
COMMAND_BUTTON_DISABLED = (90, 36)
DEFAULT_BUTTON = (182, 345)
APPLY_BUTTON = (266, 345)
EXIT_BUTTON = (350, 345)

TITLE_BUTTON = (23, 22)
MINIMISE_BUTTON = (389, 16)
CLOSE_BUTTON = (412, 16)

TAB = (52, 52)
TAB_TOP = 52
TAB_PITCH = 60                     # tab width + 8
FIRST_TAB_LEFT = 29
SIZED_COPY_TAB_LEFT = 371          # RAvud
DUZAR_TAB_LEFT = WINDOW[0] - TAB[0] - 21
TAB_TRAY = (18, 49, 421, 57)       # the recessed strip that holds every tab position


def tab_left(n):
    """The n-th of the first five tabs (Email, Office, File, Copy, application, as far as offered)."""
    return FIRST_TAB_LEFT + TAB_PITCH * n
