"""The Application page of the installed program, used through the X server: the first run stores the demo's
default program, a person picks another program and format and applies them, and the application job's record is
read back from the per-user settings file by an independent reader (olefile); then the person removes a program
they had added, with a real click on the page's delete button, which shows only for such a program. The program
runs in a prefix of its own under the build tree, installed once per session by scripts/install-demo, with a
per-user catalogue that holds one program the user added before; a screenshot of the page is left in the build
tree's screenshots folder."""

import shutil
import struct
import zlib

import pytest

import desktop
from demo_installation import demo_installation, field_text
from test_main_window import SCREENSHOTS, WAIT, poll

ENTRY_SIZE = 1114

# Client points of the fixed layout: the middle of the application job's tab, and, on the page at (30, 120), the
# middles of the application list, the format list and the delete button, and of the Apply button.
APPLICATION_TAB = (29 + 4 * 60 + 26, 52 + 26)
APPLICATION_LIST = (30 + 198, 120 + 86)
FORMAT_LIST = (30 + 138, 120 + 115)
DELETE_BUTTON = (30 + 348, 120 + 115)
APPLY_BUTTON = (266 + 44, 345 + 18)

# The demo's default program (found through App Paths), Paint.NET (found in its folder), and the program the user
# added, in the order of the catalogue and so of the list.
PAINT = (4157, "Paint", "mspaint.exe", "C:\\Program Files\\Paint\\")
PAINT_NET = (4162, "Paint.NET", "paintdotnet.exe", "C:\\Program Files\\paint.net\\")
ADDED = (4200, "scanview.exe", "scanview.exe", "C:\\Program Files\\Scan View\\")
LISTED = ["Paint", "Internet Explorer", "Paint.NET", "scanview.exe"]


def read_list(path):
    """The entries of an application list file (driver/apinfo/FORMAT.md), checked as the module checks them."""
    data = path.read_bytes()
    magic, version, size, count = struct.unpack_from("<4sHHI", data, 0)
    assert (magic, version, size) == (b"TVAI", 1, ENTRY_SIZE), path
    assert len(data) == 16 + count * ENTRY_SIZE, path
    assert struct.unpack_from("<I", data, len(data) - 4)[0] == zlib.crc32(data[:-4]), path
    return [data[12 + i * ENTRY_SIZE : 12 + (i + 1) * ENTRY_SIZE] for i in range(count)]


def write_list(path, entries):
    body = struct.pack("<4sHHI", b"TVAI", 1, ENTRY_SIZE, len(entries)) + b"".join(entries)
    path.write_bytes(body + struct.pack("<I", zlib.crc32(body)))


def entry_name(entry):
    return field_text(entry, 26, 260)


def user_entry(ap_id, name, exe, folder):
    """A program the user added, as the page's add command makes it."""
    entry = bytearray(ENTRY_SIZE)
    struct.pack_into("<HIIIIIHH", entry, 0, ENTRY_SIZE, 0x01000000, 0, 0, 0x7F, 0x1, 95, ap_id)
    for offset, size, value in ((26, 260, name), (286, 32, exe), (318, 260, folder)):
        entry[offset : offset + len(value)] = value.encode("latin-1")
    return bytes(entry)


@pytest.fixture(scope="session")
def installation():
    with demo_installation("e2e-application-page") as installed:
        # The user added a program in an earlier session: it is installed, and the per-user catalogue (the driver's
        # with the user's entry) lists it, so that start-up's search finds it.
        prefix = installed.prefix
        _, _, exe, _ = ADDED
        folder = prefix / "drive_c" / "Program Files" / "Scan View"
        folder.mkdir(parents=True, exist_ok=True)
        shutil.copy(prefix / "drive_c" / "windows" / "notepad.exe", folder / exe)
        installed.user_folder.mkdir(parents=True, exist_ok=True)
        catalogue = read_list(installed.driver_folder / "APInfo.dat")
        write_list(installed.user_folder / "APInfo.dat", catalogue + [user_entry(*ADDED)])
        yield installed


def application_record(installation):
    """The application job's stream as olefile reads it: (dwStored, (wApId, szApName, szExeName, szExeDir),
    dwFormat, szExt), or None while the file is missing or held by the program."""
    data = installation.job_stream("TolClass1")
    if data is None or len(data) < 1134:
        return None
    (stored,) = struct.unpack_from("<I", data, 16)
    (fmt,) = struct.unpack_from("<I", data, 20 + 18)
    (ap_id,) = struct.unpack_from("<H", data, 20 + 24)
    program = (ap_id, field_text(data, 46, 260), field_text(data, 306, 32), field_text(data, 338, 260))
    return stored, program, fmt, field_text(data, 1118, 8)


def listed(installation, name):
    """The names of the destination applications in one of the user's list files."""
    entries = read_list(installation.user_folder / name)
    return [entry_name(e) for e in entries if struct.unpack_from("<I", e, 2)[0] & 0x01000000]


def choose(window, point, *keys):
    """Opens a drop-down list with a click and moves through it with the keys, as a person would."""
    desktop.click(window, *point)
    desktop.press_keys(window, *keys, "Return")


def test_a_chosen_program_is_applied_and_the_users_own_is_removed(program, installation):
    window = program.start()
    # The first run stored the record at once, with the default program where the demo registered it.
    first = application_record(installation)
    assert first == (1, PAINT, 0x1, ".BMP"), first
    assert listed(installation, "InApInfo.dat") == LISTED

    desktop.click(window, *APPLICATION_TAB)
    choose(window, APPLICATION_LIST, "Down", "Down")  # Paint.NET
    choose(window, FORMAT_LIST, "p")  # PNG
    SCREENSHOTS.mkdir(parents=True, exist_ok=True)
    x, y, width, height = desktop.geometry(window)
    desktop.screenshot().crop((x, y, x + width, y + height)).save(SCREENSHOTS / "application_page.png")
    assert application_record(installation) == first, "nothing is written before Apply"

    desktop.click(window, *APPLY_BUTTON)
    applied = (1, PAINT_NET, 0x20, ".PNG")
    assert poll(lambda: application_record(installation) == applied, WAIT), application_record(installation)

    # The driver's programs have no delete button: a click where it would be removes nothing.
    desktop.click(window, *DELETE_BUTTON)
    choose(window, APPLICATION_LIST, "Down")  # scanview.exe, the user's own
    assert listed(installation, "APInfo.dat")[-1] == "scanview.exe"

    desktop.click(window, *DELETE_BUTTON)
    assert poll(lambda: "scanview.exe" not in listed(installation, "APInfo.dat"), WAIT), "the program stays listed"
    # The installed programs' list is written after the catalogue, a moment later on a loaded machine.
    assert poll(lambda: listed(installation, "InApInfo.dat") == LISTED[:-1], WAIT), listed(installation, "InApInfo.dat")
    # The record named the removed program: the page took the default one again, to be applied.
    desktop.click(window, *APPLY_BUTTON)
    assert poll(lambda: application_record(installation) == (1, PAINT, 0x20, ".PNG"), WAIT), application_record(
        installation
    )
    assert program.running()
