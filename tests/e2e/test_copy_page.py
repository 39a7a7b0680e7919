"""The Copy page of the installed program on a print spooler of its own (a private CUPS daemon started by these
checks, scripts/cups), used through the X server as a person would: the first run stores the default printer with
its whole device mode, fax queues are never offered, the print dialog opened with the Properties button changes
the device mode only when the user changes something, a printer removed between two starts gives way to the new
default, and without a spooler the page warns and stays inert. The record is read back with an independent
reader (olefile). The checks run in the order written; each one builds on the state the previous one left."""

import os
import struct
import subprocess
import time

import olefile
import pytest
from PIL import Image

import desktop
from demo_installation import demo_installation
from test_main_window import SCREENSHOTS, WAIT, poll
from windows_programs import BUILD, REPO

CUPS = REPO / "scripts" / "cups"
SPOOLER = BUILD / "e2e-copy-page-cups"
MODEL = "TV-610"  # the driver template's model
COPY_STREAM = [MODEL, "Setting", "TolClass200"]

RECORD_SIZE = 1134
EXE_DIR = 338  # szExeDir: the printer's name on this page
EXTRA_LEN = 20 + 1106  # dwExtraLen
DM_SIZE, DM_DRIVER_EXTRA, DM_COPIES = 36, 38, 54

# The tabs of the demo template's seven jobs start with Email, Office and File: Copy is the fourth.
TAB_TOP, TAB_LEFT, TAB_GAP = 52, 29, 8
TAB_SIZE = Image.open(BUILD / "art" / "bitmap_176.bmp").size
COPY_TAB = (TAB_LEFT + 3 * (TAB_SIZE[0] + TAB_GAP) + TAB_SIZE[0] // 2, TAB_TOP + TAB_SIZE[1] // 2)


NO_PRINTER = "No printer is installed"  # the beginning of warning 1071
PRINTER_LIST_HINT = "Choose the printer that prints the copies."
PROPERTIES_HINT = "Change the settings of the chosen printer, such as paper size, quality and number of copies."
PRINT_DIALOG = "^Print$"


class Spooler:
    """The checks' own CUPS daemon; its queues change between starts of the program."""

    def __init__(self, folder):
        self.folder = folder
        self.socket = subprocess.run(
            [str(CUPS), "--dir", str(folder), "server"], capture_output=True, text=True, check=True
        ).stdout.strip()

    def __call__(self, *args):
        done = subprocess.run(
            [str(CUPS), "--dir", str(self.folder), *args],
            stdin=subprocess.DEVNULL,
            capture_output=True,
            text=True,
            timeout=120,
        )
        assert done.returncode == 0, f"cups {' '.join(args)}: {done.stdout}{done.stderr}"


@pytest.fixture(scope="session")
def spooler():
    if not os.environ.get("DISPLAY"):
        pytest.fail("the Copy page checks need an X display ($DISPLAY)")
    cups = Spooler(SPOOLER)
    cups("start")
    try:
        cups("add", "Colour_Inkjet", "deskjet.ppd")
        cups("add", "Office_Laser", "generic.ppd")
        cups("add", "Team_FAX", "generic.ppd")
        cups("default", "Office_Laser")
        yield cups
    finally:
        cups("stop")


@pytest.fixture(scope="session")
def installation(spooler):
    # Every Wine process of the installation, its set-up included, sees this spooler and no other.
    previous = os.environ.get("CUPS_SERVER")
    os.environ["CUPS_SERVER"] = spooler.socket
    try:
        with demo_installation("e2e-copy-page") as installed:
            installed.env["CUPS_SERVER"] = spooler.socket
            yield installed
    finally:
        if previous is None:
            os.environ.pop("CUPS_SERVER", None)
        else:
            os.environ["CUPS_SERVER"] = previous


def copy_record(installation):
    """(printer name, dwExtraLen, blob) of the Copy job as olefile reads it, or None while the file is missing or
    held by the program."""
    try:
        with olefile.OleFileIO(str(installation.user_folder / "Tolvan.dat")) as ole:
            data = ole.openstream(COPY_STREAM).read()
    except OSError:
        return None
    if len(data) < RECORD_SIZE:
        return None
    name = data[EXE_DIR : EXE_DIR + 260].split(b"\0", 1)[0].decode("latin-1")
    (extra_len,) = struct.unpack_from("<I", data, EXTRA_LEN)
    return name, extra_len, data[RECORD_SIZE:]


def device_mode(blob):
    """(device name, dmSize + dmDriverExtra, dmCopies) of a stored device mode."""
    size, extra = struct.unpack_from("<HH", blob, DM_SIZE)
    (copies,) = struct.unpack_from("<h", blob, DM_COPIES)
    return blob[:32].split(b"\0", 1)[0].decode("latin-1"), size + extra, copies


def probe(program, command):
    """The probe's key=value lines as a dict (rectangles as tuples), or None when it found nothing."""
    done = program.run_probe(command)
    if done.returncode != 0:
        return None
    values = {}
    for line in done.stdout.splitlines():
        key, sep, value = line.partition("=")
        if sep:
            values[key] = tuple(int(n) for n in value.split(",")) if key.endswith("_rect") else value
    return values


def page(program):
    return probe(program, "copy")


def point_at(rect):
    """Moves the pointer to the middle of a rectangle in screen coordinates, in two steps, as a hand would."""
    left, top, right, bottom = rect
    desktop.xdotool("mousemove", (left + right) // 2 - 2, (top + bottom) // 2 - 2)
    time.sleep(desktop.STEP_PAUSE)
    desktop.xdotool("mousemove", (left + right) // 2, (top + bottom) // 2)


def click_screen(rect):
    """A left click in the middle of a rectangle in screen coordinates."""
    point_at(rect)
    time.sleep(desktop.STEP_PAUSE)
    desktop.xdotool("click", 1)


def show_copy_page(program, window):
    desktop.click(window, *COPY_TAB)
    assert poll(lambda: (page(program) or {}).get("page_visible") == "1", WAIT), "the Copy page did not show"


def print_dialog():
    windows = poll(lambda: desktop.visible_windows(PRINT_DIALOG), WAIT)
    assert windows, "the print dialog did not open"
    return windows[0]


def screen_report():
    """What is on the display: every visible window's name and place, the pointer, and a screenshot's file."""
    ids = desktop.xdotool("search", "--onlyvisible", "--name", ".", check=False).split()
    windows = [(desktop.xdotool("getwindowname", w, check=False).strip(), desktop.geometry(w)) for w in ids]
    SCREENSHOTS.mkdir(parents=True, exist_ok=True)
    shot = SCREENSHOTS / "copy_page_no_print_dialog.png"
    desktop.screenshot().save(shot)
    return f"windows {windows}; pointer {desktop.xdotool('getmouselocation').strip()}; screenshot {shot}"


def open_print_dialog(program):
    """Clicks the Properties button until the print dialog shows, at most twice. Now and then, only in whole test
    runs and never in a module run alone, a click after the previous dialog closed opens nothing; the cause is not
    found yet. A second click is made only after the first one showed nothing for the whole wait, and the check
    prints what the page and the screen held then, so that such a run leaves its evidence."""
    for attempt in (1, 2):
        state = page(program)
        click_screen(state["properties_rect"])
        if poll(lambda: desktop.visible_windows(PRINT_DIALOG), WAIT):
            return
        report = f"click {attempt} on Properties opened no print dialog; page {state}; {screen_report()}"
        print(report)
    raise AssertionError(report)


def answer_print_dialog(program, copies=None):
    """Confirms the open print dialog with Enter, after typing a number of copies into its field."""
    dialog = print_dialog()
    if copies is not None:
        field = poll(lambda: probe(program, "print"), WAIT)
        assert field, "no copies field in the print dialog"
        click_screen(field["copies_rect"])
        desktop.press_keys(dialog, "End", "BackSpace", "BackSpace", "BackSpace", "BackSpace", str(copies))
        assert poll(lambda: (probe(program, "print") or {}).get("copies") == str(copies), WAIT)
    desktop.press_keys(dialog, "Return")
    assert poll(lambda: not desktop.visible_windows(PRINT_DIALOG), WAIT), "the print dialog stayed open"
    # The dialog's window is gone from the screen a moment before its owner is enabled again; a click in that
    # moment is lost.
    assert poll(lambda: (page(program) or {}).get("window_ready") == "1", WAIT), "the main window took no input again"


def test_first_run_stores_the_default_printer_and_never_offers_a_fax(program, installation):
    window = program.start()
    # The page stored its record while the window was built: the default printer and its whole device mode.
    record = copy_record(installation)
    assert record is not None
    name, extra_len, blob = record
    assert name == "Office_Laser"
    assert extra_len == len(blob) > 0
    assert device_mode(blob)[:2] == ("Office_Laser", len(blob))

    show_copy_page(program, window)
    shown = page(program)
    assert shown["printers"].split("|") == ["Colour_Inkjet", "Office_Laser"]
    assert shown["selected"] == "1"
    assert shown["properties_enabled"] == "1"
    assert shown["apply_enabled"] == "0"

    # The pointer over the printer list and over the Properties button: each one's hint, and the button's tool tip.
    point_at(shown["printer_list_rect"])
    assert poll(lambda: page(program)["hint"] == PRINTER_LIST_HINT, WAIT), page(program)["hint"]
    assert page(program)["tool_tips"] == "0"
    point_at(shown["properties_rect"])
    assert poll(lambda: page(program)["hint"] == PROPERTIES_HINT, WAIT), page(program)["hint"]
    assert poll(lambda: page(program)["tool_tips"] == "1", WAIT), "no tool tip over the Properties button"
    SCREENSHOTS.mkdir(parents=True, exist_ok=True)
    x, y, width, height = desktop.geometry(window)
    desktop.screenshot().crop((x, y, x + width, y + height)).save(SCREENSHOTS / "copy_page.png")


def test_properties_changes_the_record_only_when_the_user_changes_something(program, installation):
    window = program.start()
    before = copy_record(installation)
    show_copy_page(program, window)

    # Confirmed as it was: nothing to apply.
    open_print_dialog(program)
    answer_print_dialog(program)
    assert page(program)["apply_enabled"] == "0"

    # Three copies: Apply is offered and stores them.
    open_print_dialog(program)
    answer_print_dialog(program, copies=3)
    assert poll(lambda: page(program)["apply_enabled"] == "1", WAIT), "a changed device mode did not enable Apply"
    assert copy_record(installation) == before, "nothing is written before Apply"
    click_screen(page(program)["apply_rect"])

    def applied():
        record = copy_record(installation)
        return record and record[0] == "Office_Laser" and device_mode(record[2])[2] == 3 and record

    record = poll(applied, WAIT)
    assert record, copy_record(installation)
    assert record[1] == len(record[2]) == device_mode(record[2])[1]
    assert program.running()


def test_a_removed_printer_gives_way_to_the_new_default_unapplied(program, installation, spooler):
    spooler("remove", "Office_Laser")
    spooler("default", "Colour_Inkjet")
    window = program.start()
    # The page changed its record without telling: the first tab knows nothing of it, the file neither.
    state = page(program)
    assert state["apply_enabled"] == "0"
    assert copy_record(installation)[0] == "Office_Laser"

    show_copy_page(program, window)
    state = page(program)
    assert state["printers"].split("|") == ["Colour_Inkjet"]
    assert state["apply_enabled"] == "1", "shown again, the changed page offers Apply"
    click_screen(state["apply_rect"])

    def applied():
        record = copy_record(installation)
        return record and record[0] == "Colour_Inkjet" and record

    record = poll(applied, WAIT)
    assert record, copy_record(installation)
    name, extra_len, blob = record
    assert extra_len == len(blob) == device_mode(blob)[1]
    assert device_mode(blob)[0] == "Colour_Inkjet"


def test_without_a_spooler_the_page_warns_and_stays_inert(program, installation, spooler):
    spooler("stop")
    window = program.start()
    desktop.click(window, *COPY_TAB)
    warning = poll(lambda: probe(program, "message"), WAIT)
    assert warning and warning.get("text", "").startswith(NO_PRINTER), warning
    boxes = [w for w in desktop.visible_windows("^Tolvan$") if w != window]
    assert boxes
    desktop.press_keys(boxes[0], "Return")
    assert poll(lambda: probe(program, "message") is None, WAIT), "the warning stayed open"

    state = page(program)
    assert state["page_visible"] == "1"
    assert state["printers"] == ""
    assert state["properties_enabled"] == "0"
    # Another scan mode, chosen with the pointer and the keyboard, gives nothing to apply.
    click_screen(state["scan_mode_rect"])
    desktop.press_keys(window, "Down", "Return")
    changed = poll(lambda: page(program)["scan_mode"] != state["scan_mode"] and page(program), WAIT)
    assert changed, "the scan mode did not change"
    assert changed["apply_enabled"] == "0"
    assert copy_record(installation)[0] == "Colour_Inkjet"
