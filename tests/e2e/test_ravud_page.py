"""The RAvud page of the installed program on a print spooler of its own (a private CUPS daemon started by these
checks, scripts/cups), used through the X server as a person would: which printers it lists (never a fax, never a
name another entry begins, never a name too long for its record), the copy size dialog stepped with the pointer,
what Apply stores (read back with an independent reader, olefile), what leaves Apply disabled, and the inert page
without printers. The checks run in the order written; each one builds on the state the previous one left."""

import struct

import pytest

import desktop
from demo_installation import demo_installation
from test_copy_page import TAB_GAP, TAB_LEFT, TAB_SIZE, TAB_TOP, NO_PRINTER, Spooler, click_screen, probe
from test_main_window import WAIT, poll
from windows_programs import BUILD

SPOOLER = BUILD / "e2e-ravud-page-cups"
RAVUD_STREAM = ["TV-610", "Setting", "TolClass2000"]
RECORD_SIZE = 1134
BLOB_SIZE = 214
EXTRA_LEN = 20 + 1106  # dwExtraLen
DM_SIZE, DM_COPIES = 36, 54

# RAvud takes the sixth place from the left: DUzar, listed before it, sits at the right end of the row.
RAVUD_TAB = (TAB_LEFT + 5 * (TAB_SIZE[0] + TAB_GAP) + TAB_SIZE[0] // 2, TAB_TOP + TAB_SIZE[1] // 2)
# Printers whose names begin others' or are too long for the record, beside an ordinary one and a fax.
LONG_NAME = "Reception_Printer_With_A_Long_Name"  # 34 characters
QUEUES = ["Office_Laser", "Office", "Office_Laser_Duplex", "Team_FAX", LONG_NAME]

SAME_SIZE = "Same size as the original (100%)"  # string 145, value 7
SLIGHTLY_SMALLER = "Reduce slightly, so that nothing is cut off at the edges (94%)"  # string 220, value 6


@pytest.fixture(scope="module")
def spooler():
    cups = Spooler(SPOOLER)
    cups("start")
    try:
        for queue in QUEUES:
            cups("add", queue, "generic.ppd")
        cups("default", "Office_Laser")
        yield cups
    finally:
        cups("stop")


@pytest.fixture(scope="module")
def installation(spooler, monkeypatch_module):
    monkeypatch_module.setenv("CUPS_SERVER", spooler.socket)
    with demo_installation("e2e-ravud-page") as installed:
        installed.env["CUPS_SERVER"] = spooler.socket
        yield installed


@pytest.fixture(scope="module")
def monkeypatch_module():
    with pytest.MonkeyPatch.context() as patch:
        yield patch


def ravud_blob(installation):
    """(dwExtraLen, copy size, printer, driver, device-mode part) of the RAvud job as olefile reads it."""
    import olefile

    with olefile.OleFileIO(str(installation.user_folder / "Tolvan.dat")) as ole:
        data = ole.openstream(RAVUD_STREAM).read()
    (extra_len,) = struct.unpack_from("<I", data, EXTRA_LEN)
    blob = data[RECORD_SIZE:]
    (copy_size,) = struct.unpack_from("<H", blob, 0)

    def name(at):
        return blob[at : at + 32].split(b"\0", 1)[0].decode("latin-1")

    return extra_len, copy_size, name(2), name(34), blob[66:BLOB_SIZE]


def page(program):
    return probe(program, "ravud")


def show_ravud_page(program, window):
    desktop.click(window, *RAVUD_TAB)
    assert poll(lambda: (page(program) or {}).get("page_visible") == "1", WAIT), "the RAvud page did not show"
    return page(program)


def copy_size_dialog(program):
    shown = poll(lambda: probe(program, "copysize"), WAIT)
    assert shown, "the copy size dialog did not open"
    return shown


def click_until(program, button, text):
    """Clicks a button of the copy size dialog and waits until it shows the description."""
    click_screen(copy_size_dialog(program)[button])
    shown = poll(lambda: (probe(program, "copysize") or {}).get("text") == text and probe(program, "copysize"), WAIT)
    assert shown, f"after {button}: {probe(program, 'copysize')}"
    return shown


def close_copy_size_dialog(program, button):
    click_screen(copy_size_dialog(program)[button])
    assert poll(lambda: probe(program, "copysize") is None, WAIT), "the copy size dialog stayed open"


def test_lists_names_that_begin_others_but_no_fax_and_no_name_too_long(program, installation):
    window = program.start()
    shown = show_ravud_page(program, window)
    printers = shown["printers"].split("|")
    print("RAvud page lists:", printers)
    # The spooler lists Office before the names it begins: each of them is listed, since no entry listed before
    # it begins with its name. (The other order, in which the shorter name is left out, is checked natively.)
    assert printers == ["Office", "Office_Laser", "Office_Laser_Duplex"], printers
    assert shown["properties_enabled"] == "1" and shown["copy_size_enabled"] == "1"
    # The Copy page lists every printer but the fax, the long name included.
    copy = probe(program, "copy")["printers"].split("|")
    assert sorted(copy) == sorted(["Office_Laser", "Office", "Office_Laser_Duplex", LONG_NAME]), copy
    # The default printer's entry is the first that begins with its name; nothing is changed or stored.
    assert shown["selected"] == "1"
    assert shown["apply_enabled"] == "0"
    assert ravud_blob(installation)[2] == ""


def test_copy_size_dialog_steps_round_and_only_a_change_enables_apply(program, installation):
    window = program.start()
    before = ravud_blob(installation)
    assert before[1] == 0, "the template stores 0"
    shown = show_ravud_page(program, window)

    # A stored 0 opens as same size; eleven steps forward come back to it, one step back gives value 6.
    click_screen(shown["copy_size_rect"])
    assert copy_size_dialog(program)["text"] == SAME_SIZE
    seen = []
    for _ in range(11):
        previous = copy_size_dialog(program)
        click_screen(previous["next_rect"])
        now = poll(lambda: (lambda d: d and d["text"] != previous["text"] and d)(probe(program, "copysize")), WAIT)
        assert now, f"next did not step from {previous['text']}"
        seen.append(now["text"])
    print("copy sizes stepped through:", seen)
    assert len(set(seen)) == 11 and seen[-1] == SAME_SIZE
    click_until(program, "previous_rect", SLIGHTLY_SMALLER)
    # Cancel changes nothing.
    close_copy_size_dialog(program, "cancel_rect")
    assert page(program)["apply_enabled"] == "0"

    # OK on the stored value changes nothing either.
    click_screen(page(program)["copy_size_rect"])
    assert copy_size_dialog(program)["text"] == SAME_SIZE
    close_copy_size_dialog(program, "ok_rect")
    assert page(program)["apply_enabled"] == "0"
    assert ravud_blob(installation) == before

    # OK on another value: Apply stores it with the printer, its driver and its device-mode part.
    click_screen(page(program)["copy_size_rect"])
    click_until(program, "previous_rect", SLIGHTLY_SMALLER)
    close_copy_size_dialog(program, "ok_rect")
    assert poll(lambda: page(program)["apply_enabled"] == "1", WAIT), "a new copy size did not enable Apply"
    click_screen(page(program)["apply_rect"])
    stored = poll(lambda: (lambda b: b[1] == 6 and b)(ravud_blob(installation)), WAIT)
    assert stored, ravud_blob(installation)
    extra_len, copy_size, printer, driver, dev_mode = stored
    assert extra_len == BLOB_SIZE
    assert printer == "Office_Laser" and driver == "Office_Laser"
    assert dev_mode[:32].split(b"\0", 1)[0] == b"Office_Laser"
    (dm_size,) = struct.unpack_from("<H", dev_mode, DM_SIZE)
    assert dm_size >= 148
    assert program.running()


def test_without_printers_the_page_warns_and_stays_inert(program, installation, spooler):
    spooler("stop")
    window = program.start()
    desktop.click(window, *RAVUD_TAB)
    warning = poll(lambda: probe(program, "message"), WAIT)
    assert warning and warning.get("text", "").startswith(NO_PRINTER), warning
    print("warning shown:", warning.get("text"))
    boxes = [w for w in desktop.visible_windows("^Tolvan$") if w != window]
    assert boxes
    desktop.press_keys(boxes[0], "Return")
    assert poll(lambda: probe(program, "message") is None, WAIT), "the warning stayed open"

    state = page(program)
    assert state["page_visible"] == "1"
    assert state["printers"] == ""
    assert state["properties_enabled"] == "0" and state["copy_size_enabled"] == "0"
    click_screen(state["scan_mode_rect"])
    desktop.press_keys(window, "Down", "Return")
    changed = poll(lambda: page(program)["scan_mode"] != state["scan_mode"] and page(program), WAIT)
    assert changed, "the scan mode did not change"
    assert changed["apply_enabled"] == "0"
