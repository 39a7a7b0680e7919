"""The README's run command as a new user meets it on a machine without an X display: it starts a private display
and the program's main window shows there, every time, also right after the demo installation was made from
nothing. The window is seen the way a person would see it, on a screenshot of that display; the Exit button
then ends the program, and the command reports exit code 0 and the per-user settings file that start-up made.
The installation lives in a folder of its own under the build tree, never in the user's demo installation."""

import os
import re
import shutil
import subprocess
import threading
import time

import pytest
from PIL import Image

import desktop
from demo_installation import INSTALL_DEMO, wine_env
from test_main_window import EXIT_BUTTON, SCREENSHOTS, SKIN, TITLE, drawn_screenshot, poll
from windows_programs import BUILD, REPO

RUN = REPO / "scripts" / "run"
DEMO = BUILD / "e2e-run-command"
RUNS = 3
# The first run creates the Wine prefix from nothing, which takes long on a busy machine.
WINDOW_TIMEOUT = 240.0
END_TIMEOUT = 60.0


class RunCommand:
    """scripts/run started as from a terminal without $DISPLAY, its output collected as it comes."""

    def __init__(self):
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WINEPREFIX", "HOME")}
        env["HOME"] = os.environ.get("HOME", "/root")
        # scripts/run builds in $TOLVAN_BUILD/win: the tree these checks belong to.
        assert BUILD.name == "win", BUILD
        env["TOLVAN_BUILD"] = str(BUILD.parent)
        env["TOLVAN_DEMO"] = str(DEMO)
        self.process = subprocess.Popen(
            [str(RUN)], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True
        )
        self.lines = []
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for line in self.process.stdout:
            self.lines.append(line.rstrip("\n"))

    @property
    def output(self):
        return "\n".join(self.lines)

    def display(self):
        for line in self.lines:
            m = re.search(r"private Xvfb display \((:\d+)\)", line)
            if m:
                return m.group(1)
        return None

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(END_TIMEOUT)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.reader.join(10)


@pytest.fixture
def fresh_demo():
    if (DEMO / "prefix").exists():
        wine_env(DEMO / "prefix", "server-stop", timeout=60)
    shutil.rmtree(DEMO, ignore_errors=True)
    yield DEMO
    if (DEMO / "prefix").exists():
        wine_env(DEMO / "prefix", "server-stop", timeout=60)


def main_window(size):
    for window in desktop.visible_windows(TITLE):
        place = desktop.geometry(window)
        if place and place[2:] == size:
            return window, place
    return None


def wait_for(run, what, timeout):
    """The value of what() once it has one; None when the command ended or the time ran out first."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = what()
        if value:
            return value
        if run.process.poll() is not None:
            return what()
        time.sleep(0.1)
    return None


def test_run_command_without_a_display_shows_the_window_every_time(fresh_demo, monkeypatch):
    skin = Image.open(SKIN).convert("RGB")
    for attempt in range(1, RUNS + 1):
        run = RunCommand()
        try:
            display = wait_for(run, run.display, WINDOW_TIMEOUT)
            assert display, f"run {attempt}: no private display announced\n{run.output}"
            # The checks look at the command's own display, as a person at that screen would.
            monkeypatch.setenv("DISPLAY", display)
            found = wait_for(run, lambda: main_window(skin.size), WINDOW_TIMEOUT)
            assert found, f"run {attempt}: no main window\n{run.output}"
            window, (x, y, _, _) = found
            shot = drawn_screenshot(x, y, WINDOW_TIMEOUT)
            assert shot, f"run {attempt}: the window is not drawn\n{run.output}"
            if attempt == 1:
                SCREENSHOTS.mkdir(parents=True, exist_ok=True)
                shot.save(SCREENSHOTS / "run_command.png")
            ended = lambda: run.process.poll() is not None
            desktop.click(window, *EXIT_BUTTON)
            if not poll(ended, 10.0, pause=0.1) and main_window(skin.size):
                # As with the minimise button: a click that comes while the button is still taking the hover.
                desktop.click(window, *EXIT_BUTTON)
            if not poll(ended, END_TIMEOUT, pause=0.1):
                pytest.fail(f"run {attempt}: still running after Exit\n{run.output}")
            run.reader.join(10)
            assert run.process.returncode == 0, f"run {attempt}\n{run.output}"
            assert "Tolvan ended with exit code 0." in run.lines, run.output
            users = [p for p in (fresh_demo / "prefix" / "drive_c" / "users").iterdir() if p.name != "Public"]
            assert (users[0] / "AppData" / "Roaming" / "Kelto" / "Tolvan" / "Tolvan.dat").is_file(), run.output
        finally:
            run.stop()
            monkeypatch.delenv("DISPLAY", raising=False)


def test_without_a_display_the_program_says_so_and_fails():
    """The other half: a program started where no window can be made (a wineserver session begun without a
    display) never passes for a run that was shown. It ends with a failure code and says why on standard error."""
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    installed = subprocess.run(
        [str(INSTALL_DEMO), str(DEMO / "prefix"), str(BUILD)],
        env=env,
        stdin=subprocess.DEVNULL,
        capture_output=True,
        text=True,
        timeout=600,
    )
    assert installed.returncode == 0, installed.stdout + installed.stderr
    exe = installed.stdout.strip().splitlines()[-1]
    try:
        wine_env(DEMO / "prefix", "server-restart", env=env, check=True, timeout=60)
        done = wine_env(
            DEMO / "prefix", "exec", exe, env=env, stdin=subprocess.DEVNULL, capture_output=True, text=True,
            timeout=END_TIMEOUT,
        )
    finally:
        wine_env(DEMO / "prefix", "server-stop", env=env, timeout=60)
    print(f"exit code {done.returncode}; output: {done.stdout!r}")
    assert done.returncode == 2, done.stdout + done.stderr  # the main window could not be created
    assert "Tolvan could not open its window (system error 1400)" in done.stdout, done.stdout
