"""The Email page of the installed program, used through the X server: the demo installation's mail client is
stored by the first run, then a person chooses another client and another format and applies them, and the Email
job's record is read back from the per-user settings file by an independent reader (olefile). The program runs in
a prefix of its own under the build tree, installed once per session by scripts/install-demo, with a second mail
client registered beside the demo's; a screenshot of the page is left in the build tree's screenshots folder."""

import shutil
import struct

import pytest

import desktop
from demo_installation import demo_installation, field_text, wine_env
from test_main_window import SCREENSHOTS, WAIT, poll

# Client points of the fixed layout: the page sits at (30, 120); these are the middles of the mail client list, the
# format list and the quality value on it, and of the Apply button.
MAIL_LIST = (30 + 183, 120 + 86)
FORMAT_LIST = (30 + 138, 120 + 115)
QUALITY_VALUE = (30 + 378, 120 + 114)
APPLY_BUTTON = (266 + 44, 345 + 18)
PAGE_COLOUR = (119, 161, 228)

# Where the driver's catalogue looks for the mail programs, and their registry names.
OUTLOOK_EXPRESS = ("Outlook Express", "Outlook Express", "msimn.exe")
WINDOWS_MAIL_ID, OUTLOOK_EXPRESS_ID = 4007, 4005


@pytest.fixture(scope="session")
def installation():
    with demo_installation("e2e-email-page") as installed:
        # A second mail client, so that there is one to change to: installed where the catalogue looks for it,
        # and registered with an open command.
        name, folder, program = OUTLOOK_EXPRESS
        prefix = installed.prefix
        target = prefix / "drive_c" / "Program Files" / folder
        target.mkdir(parents=True, exist_ok=True)
        shutil.copy(prefix / "drive_c" / "windows" / "notepad.exe", target / program)
        key = f"HKLM\\Software\\Clients\\Mail\\{name}\\shell\\open\\command"
        added = wine_env(
            prefix, "exec", "reg", "add", key, "/ve", "/d", "C:\\windows\\notepad.exe", "/f",
            capture_output=True, text=True, timeout=60,
        )
        assert added.returncode == 0, added.stdout + added.stderr
        yield installed


def email_record(installation):
    """The Email job's stream as olefile reads it: (dwStored, wApId, szApName, dwFormat, wQuality, szExt), or None
    while the file is missing or held by the program."""
    data = installation.job_stream("TolClass100")
    if data is None or len(data) < 1134:
        return None
    (stored,) = struct.unpack_from("<I", data, 16)
    (fmt,) = struct.unpack_from("<I", data, 20 + 18)
    quality, ap_id = struct.unpack_from("<HH", data, 20 + 22)
    return stored, ap_id, field_text(data, 46, 260), fmt, quality, field_text(data, 1118, 8)


def choose(window, point, letter):
    """Opens a drop-down list with a click and picks the entry that begins with the letter, as a person would."""
    desktop.click(window, *point)
    desktop.press_keys(window, letter, "Return")


def pixel(window, point):
    x, y, _, _ = desktop.geometry(window)
    return desktop.screenshot().getpixel((x + point[0], y + point[1]))


def test_first_run_stores_the_demo_client_and_a_change_is_applied(program, installation):
    window = program.start()
    # The first run stored the record at once: the default mail client, JPG at 95.
    first = email_record(installation)
    assert first == (1, WINDOWS_MAIL_ID, "Windows Mail", 0x8, 95, ".JPG"), first
    shown = poll(lambda: pixel(window, QUALITY_VALUE) != PAGE_COLOUR, WAIT)

    SCREENSHOTS.mkdir(parents=True, exist_ok=True)
    x, y, width, height = desktop.geometry(window)
    desktop.screenshot().crop((x, y, x + width, y + height)).save(SCREENSHOTS / "email_page.png")
    assert shown, "the JPEG quality shows with JPG"

    choose(window, MAIL_LIST, "o")
    choose(window, FORMAT_LIST, "p")
    assert poll(lambda: pixel(window, QUALITY_VALUE) == PAGE_COLOUR, WAIT), "the JPEG quality stays with PDF"
    assert email_record(installation) == first, "nothing is written before Apply"

    desktop.click(window, *APPLY_BUTTON)
    applied = (1, OUTLOOK_EXPRESS_ID, "Outlook Express", 0x400, 95, ".PDF")
    assert poll(lambda: email_record(installation) == applied, WAIT), email_record(installation)
    assert program.running()
