"""Tolvan's main window as the driver's installer leaves the program, used through the X server as a person
would: where the window appears and its outline, Enter and Escape keeping it open, the Exit button, the close
button and the system's close command ending it, dragging it by its background, and the auto-crop option with
its file. The program runs in a prefix of its own under the build tree, installed once per session by
scripts/install-demo; screenshots of the window are left in the build tree's screenshots folder."""

import configparser
import os
import subprocess
import tempfile
import time
from pathlib import Path

import pytest
from PIL import Image

import desktop
from demo_installation import demo_installation, wine_env
from windows_programs import BUILD, WINE

WINDOW_PROBE = Path(os.environ.get("TOLVAN_WINDOW_PROBE", BUILD / "tests" / "e2e" / "window-probe.exe"))
SKIN = BUILD / "art" / "bitmap_182.bmp"
SCREENSHOTS = BUILD / "screenshots"

TITLE = "^Tolvan$"
# Client points of the fixed layout: the middle of the Exit and close buttons, and a point of the skin's title
# band that no control covers.
EXIT_BUTTON = (350 + 44, 345 + 18)
CLOSE_BUTTON = (412 + 11, 16 + 11)
MINIMIZE_BUTTON = (389 + 11, 16 + 11)
HELP_TITLE = "^Scanner buttons help$"  # the help file's own title
BACKGROUND = (250, 20)
COMPLEXREGION = 3

# Upper bounds only: every wait ends as soon as its condition holds, and a loaded machine can take long.
START_TIMEOUT = 120.0
WAIT = 60.0
# The program's exit codes.
EXIT_REASONS = {0: "closed", 1: "no application list", 2: "no main window could be made", 3: "the main window gave up"}
END_TIMEOUT = 60.0


@pytest.fixture(scope="session")
def installation():
    if not os.environ.get("DISPLAY"):
        pytest.fail("the main window checks need an X display ($DISPLAY)")
    with demo_installation("e2e-main-window") as installed:
        yield installed


def poll(condition, timeout, pause=0.02):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(pause)


def drawn_screenshot(x, y, timeout=WAIT):
    """A screenshot once the main window at x, y has painted its skin, or None when it has not within timeout: a
    window is mapped, and found, a moment before its first paint reaches the screen, longer on a loaded machine."""
    skin = Image.open(SKIN).convert("RGB").getpixel(BACKGROUND)

    def drawn():
        shot = desktop.screenshot()
        return shot if shot.getpixel((x + BACKGROUND[0], y + BACKGROUND[1])) == skin else None

    return poll(drawn, timeout, pause=0.2)


class Program:
    """One run of Tolvan.exe in the installation's prefix."""

    def __init__(self, installation):
        self.installation = installation
        self.process = None
        self.size = Image.open(SKIN).size

    def start(self):
        """Starts the program and returns the X window of its main window once that is visible."""
        assert not desktop.visible_windows(TITLE), "a Tolvan window from before is still there"
        self.launch()
        answered = set()
        deadline = time.monotonic() + START_TIMEOUT
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                code = self.process.returncode
                pytest.fail(
                    f"Tolvan ended ({code}: {EXIT_REASONS.get(code, 'unknown')}) before its window showed; "
                    f"it said: {self.said()!r}"
                )
            for window in desktop.visible_windows(TITLE):
                place = desktop.geometry(window)
                if place and place[2:] == self.size:
                    return window
                if place and window not in answered:
                    # A start-up warning (a job that has nothing to work with in this prefix, such as no e-mail
                    # program) comes before the window, under the same title; Enter answers it.
                    answered.add(window)
                    box = self.run_probe("message")
                    print(f"answering a box with Enter: {box.stdout.strip()!r}")
                    desktop.press_keys(window, "Return")
            time.sleep(0.02)
        pytest.fail(f"no {self.size[0]}x{self.size[1]} window titled Tolvan within {START_TIMEOUT} s")

    def launch(self):
        # What the program says on its standard error (why it ended) goes to a file, never to a pipe that Wine's
        # helper processes would hold open.
        self.output = tempfile.TemporaryFile()
        self.process = subprocess.Popen(
            [str(WINE), self.installation.exe],
            env=self.installation.env,
            stdin=subprocess.DEVNULL,
            stdout=self.output,
            stderr=subprocess.STDOUT,
        )

    def said(self):
        self.output.seek(0)
        return self.output.read().decode("utf-8", "replace").strip()

    def running(self):
        return self.process.poll() is None

    def wait_for_end(self):
        try:
            code = self.process.wait(END_TIMEOUT)
        except subprocess.TimeoutExpired:
            pytest.fail(f"Tolvan still runs {END_TIMEOUT} s later")
        assert poll(lambda: not desktop.visible_windows(TITLE), WAIT), "the window outlived the program"
        return code

    def run_probe(self, command):
        return wine_env(
            self.installation.prefix,
            "exec",
            WINDOW_PROBE,
            command,
            stdin=subprocess.DEVNULL,
            capture_output=True,
            text=True,
            timeout=60,
        )

    def state(self):
        done = self.run_probe("state")
        assert done.returncode == 0, done.stdout + done.stderr
        values = {}
        for line in done.stdout.splitlines():
            key, sep, value = line.partition("=")
            if sep:
                numbers = tuple(int(n) for n in value.split(","))
                values[key] = numbers[0] if len(numbers) == 1 else numbers
        return values

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait(END_TIMEOUT)
        poll(lambda: not desktop.visible_windows(TITLE), WAIT)


def auto_crop_value(file):
    options = configparser.ConfigParser(strict=False, interpolation=None)
    options.read_string(file.read_bytes().decode("latin-1"))
    return options.get("Tolvan", "bAutoCrop", fallback=None)


def test_window_is_centred_and_cut_to_its_mask(program):
    window = program.start()
    x, y, width, height = desktop.geometry(window)
    state = program.state()
    assert state["window"] == (x, y, x + width, y + height), "Windows and the X server disagree on the place"
    # Centred by the full-screen metrics, which leave out the taskbar's work area and a caption's height: close to
    # the middle of the work area, and a little lower by at most a caption.
    assert x == (state["cxfullscreen"] - width) // 2
    assert y == (state["cyfullscreen"] - height) // 2
    work_left, work_top, work_right, work_bottom = state["work_area"]
    assert abs(2 * x + width - (work_left + work_right)) <= 1
    assert abs(2 * y + height - (work_top + work_bottom)) <= 2 * 32
    assert state["region_type"] == COMPLEXREGION
    assert state["region_box"] == (0, 0, width, height)

    # Inside the outline the skin is drawn as it is; its corners are cut away and show what lies behind.
    shot = drawn_screenshot(x, y)
    assert shot, "the window is not drawn"
    skin = Image.open(SKIN).convert("RGB")
    outside = shot.getpixel((0, 0))  # the bare root window
    for cx, cy in ((0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1)):
        assert skin.getpixel((cx, cy)) != outside, "the skin's corner has the background's colour: proves nothing"
        assert shot.getpixel((x + cx, y + cy)) == outside, f"corner {cx},{cy} is drawn"

    SCREENSHOTS.mkdir(parents=True, exist_ok=True)
    shot.crop((x, y, x + width, y + height)).save(SCREENSHOTS / "main_window.png")


def test_enter_and_escape_keep_the_window_open(program):
    window = program.start()
    desktop.focus(window)
    assert program.state()["foreground"] == 1, "the keys would not reach the window"
    desktop.press_keys(window, "Return", "Escape", "Return", "Escape")
    time.sleep(0.5)
    assert program.running()
    assert window in desktop.visible_windows(TITLE)


@pytest.mark.parametrize("how", ["Exit button", "close button", "system close command"])
def test_each_way_out_ends_the_program_without_a_question(program, how):
    window = program.start()
    if how == "Exit button":
        desktop.click(window, *EXIT_BUTTON)
    elif how == "close button":
        desktop.click(window, *CLOSE_BUTTON)
    else:
        # What Alt+F4 sends; a bare X server does not pass the key itself to Wine.
        done = program.run_probe("close")
        assert done.returncode == 0, done.stdout + done.stderr
    # A question would keep the process waiting for an answer.
    assert program.wait_for_end() == 0


def test_minimise_button_and_restore(program):
    window = program.start()
    minimised = lambda: program.state()["iconic"] == 1
    desktop.click(window, *MINIMIZE_BUTTON)
    if not poll(minimised, 5.0, pause=0.1):
        # Under load the first click may come while the button is still taking the hover; a second one must do.
        desktop.click(window, *MINIMIZE_BUTTON)
        assert poll(minimised, WAIT, pause=0.1), "the window was not minimised"
    done = program.run_probe("restore")
    assert done.returncode == 0, done.stdout + done.stderr
    assert poll(lambda: program.state()["iconic"] == 0, WAIT, pause=0.1), "the window was not restored"
    assert program.running()


def test_f1_opens_the_help_file(program):
    window = program.start()
    desktop.focus(window)
    desktop.press_keys(window, "F1")
    assert poll(lambda: desktop.visible_windows(HELP_TITLE), WAIT, pause=0.1), "no help window"
    assert program.running()
    for help_window in desktop.visible_windows(HELP_TITLE):
        desktop.xdotool("windowclose", str(help_window), check=False)


def test_dragging_the_background_moves_the_window(program):
    window = program.start()
    x, y, width, height = desktop.geometry(window)
    desktop.drag(x + BACKGROUND[0], y + BACKGROUND[1], 60, 40)
    moved = (x + 60, y + 40, width, height)
    assert poll(lambda: desktop.geometry(window) == moved, WAIT), desktop.geometry(window)
    assert program.state()["window"] == (x + 60, y + 40, x + 60 + width, y + 40 + height)
    assert program.running()


def test_a_missing_options_file_is_copied_from_the_driver_and_each_click_is_written_at_once(program, installation):
    options = installation.options_file
    options.unlink(missing_ok=True)
    window = program.start()
    assert options.read_bytes() == (installation.driver_folder / "Splash.dat").read_bytes()
    state = program.state()
    assert (state["auto_crop_visible"], state["auto_crop_checked"]) == (1, 0)

    left, top, _, bottom = state["auto_crop_rect"]
    for expected in ("1", "0"):
        desktop.click(window, left + 6, (top + bottom) // 2)
        assert poll(lambda: auto_crop_value(options) == expected, WAIT), options.read_text("latin-1")
        assert program.state()["auto_crop_checked"] == int(expected)
    assert program.running()


@pytest.mark.parametrize(
    "content, visible",
    [
        (b"[Tolvan]\r\nbAutoCrop=1\r\n; the user's own, not the driver's\r\n", 1),
        (b"[Tolvan]\r\n", 0),
        (b"[Tolvan]\r\nbAutoCrop=100\r\n", 0),
        (b"[Other]\r\nbAutoCrop=1\r\n", 0),
    ],
    ids=["checked", "no key", "not offered", "other section"],
)
def test_an_existing_options_file_decides_the_box_and_is_never_replaced(program, installation, content, visible):
    options = installation.options_file
    options.parent.mkdir(parents=True, exist_ok=True)
    options.write_bytes(content)
    program.start()
    state = program.state()
    assert state["auto_crop_visible"] == visible
    if visible:
        assert state["auto_crop_checked"] == 1
    assert options.read_bytes() == content
