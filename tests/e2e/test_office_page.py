"""The Office page of the installed program, used through the X server: on the demo installation the first run
stores the Office job with the recognition program of the system's language, Tesseract OCR (4108) on an English
system and its Chinese set-up (4107) on a Traditional Chinese one, where RTF and XLS are not offered; a format
chosen with the keyboard and applied is what the file then holds. The job's record and blob are read back by an
independent reader (olefile); the page's lists are read by window-probe from another process of the prefix. A
screenshot of the page is left in the build tree's screenshots folder."""

import contextlib
import dataclasses
import struct
import subprocess

import pytest

import desktop
from demo_installation import demo_installation, field_text, wine_env
from test_main_window import SCREENSHOTS, WINDOW_PROBE, Program, poll

# Generous: the waits end as soon as their condition holds, and the machine may be loaded.
PATIENCE = 60.0

FORMAT_LIST_ID = 1050
RECOGNITION_LIST_ID = 1092

# Client points of the fixed layout: the Office tab (the second), and on the page, which sits at (30, 120), the
# middles of the recognition list and the format list; the Apply button.
OFFICE_TAB = (29 + 60 + 26, 52 + 26)
RECOGNITION_LIST = (30 + 198, 120 + 86)
FORMAT_LIST = (30 + 138, 120 + 115)
APPLY_BUTTON = (266 + 44, 345 + 18)

TESSERACT_FOLDER = "C:\\Program Files\\Tesseract-OCR\\"
WORDPAD = (4109, "WordPad", "wordpad.exe")
NOTEPAD = (4111, "Notepad", "notepad.exe")
DOC, TXT = 0x1000, 0x200


@pytest.fixture(scope="session")
def installation():
    with demo_installation("e2e-office-page") as installed:
        yield installed


@dataclasses.dataclass
class OfficeJob:
    stored: int
    format: int
    ext: str
    document: tuple  # (wApId, szApName, szExeName) of the document program
    recognition: tuple  # (id, folder) from the blob


def office_job(installation):
    """The Office job as olefile reads it, or None while the file is missing or held by the program."""
    data = installation.job_stream("TolClass2")
    if data is None or len(data) < 1134 + 262:
        return None
    (stored,) = struct.unpack_from("<I", data, 16)
    (fmt,) = struct.unpack_from("<I", data, 20 + 18)
    (ap_id,) = struct.unpack_from("<H", data, 20 + 24)
    (extra_len,) = struct.unpack_from("<I", data, 20 + 1106)
    assert extra_len == 262, extra_len
    (recognition_id,) = struct.unpack_from("<H", data, 1134)
    return OfficeJob(
        stored=stored,
        format=fmt,
        ext=field_text(data, 1118, 8),
        document=(ap_id, field_text(data, 46, 260), field_text(data, 306, 32)),
        recognition=(recognition_id, field_text(data, 1136, 260)),
    )


def items(installation, control_id):
    """The entries of the shown page's combo box, and the selected one, as another process of the prefix sees
    them."""
    done = wine_env(
        installation.prefix, "exec", WINDOW_PROBE, "items", control_id,
        stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=60,
    )
    if done.returncode == 1:  # no such control shown (yet)
        return [], None
    assert done.returncode == 0, done.stdout + done.stderr
    lines = done.stdout.splitlines()
    selected = [line[1:] for line in lines if line.startswith("*")]
    return [line.lstrip("*") for line in lines], (selected[0] if selected else None)


@contextlib.contextmanager
def office_page_on(installation, language):
    """The program's first run on a system of that locale (the per-user settings file starts from the driver's
    template), with its Office page shown by a click on the tab; yields the program and its window."""
    (installation.user_folder / "Tolvan.dat").unlink(missing_ok=True)
    program = Program(dataclasses.replace(installation, env=dict(installation.env, LC_ALL=language)))
    try:
        window = program.start()
        desktop.click(window, *OFFICE_TAB)
        assert poll(lambda: items(installation, RECOGNITION_LIST_ID)[0], PATIENCE), "the Office page did not show"
        yield program, window
    finally:
        program.stop()


def test_english_system_stores_the_general_recognition_program(installation):
    with office_page_on(installation, "C.UTF-8") as (_, window):
        job = office_job(installation)
        assert job == OfficeJob(1, DOC, ".DOC", WORDPAD, (4108, TESSERACT_FOLDER)), job
        assert items(installation, RECOGNITION_LIST_ID) == (
            ["Tesseract OCR (Chinese)", "Tesseract OCR"], "Tesseract OCR")
        assert items(installation, FORMAT_LIST_ID) == (["TXT", "RTF", "XLS", "DOC"], "DOC")

        SCREENSHOTS.mkdir(parents=True, exist_ok=True)
        x, y, width, height = desktop.geometry(window)
        desktop.screenshot().crop((x, y, x + width, y + height)).save(SCREENSHOTS / "office_page.png")


def test_traditional_chinese_system_stores_the_chinese_program_without_rtf_or_xls(installation):
    with office_page_on(installation, "zh_TW.UTF-8") as (program, window):
        first = office_job(installation)
        assert first == OfficeJob(1, DOC, ".DOC", WORDPAD, (4107, TESSERACT_FOLDER)), first
        assert items(installation, RECOGNITION_LIST_ID)[1] == "Tesseract OCR (Chinese)"
        assert items(installation, FORMAT_LIST_ID) == (["TXT", "DOC"], "DOC")

        # Plain text, chosen as a person would: the list opened with a click, the entry picked by its letter.
        desktop.click(window, *FORMAT_LIST)
        desktop.press_keys(window, "t", "Return")
        assert poll(lambda: items(installation, FORMAT_LIST_ID)[1] == "TXT", PATIENCE)
        assert office_job(installation) == first, "nothing is written before Apply"
        desktop.click(window, *APPLY_BUTTON)
        applied = OfficeJob(1, TXT, ".TXT", NOTEPAD, (4107, TESSERACT_FOLDER))
        assert poll(lambda: office_job(installation) == applied, PATIENCE), office_job(installation)
        assert program.running()
