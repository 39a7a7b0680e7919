"""The X display as a person uses it, for the checks of real windows: finding a window, its place, the pointer,
the keyboard and screenshots. Everything goes through xdotool and ImageMagick on $DISPLAY."""

import io
import subprocess
import time

from PIL import Image

# Without a window manager nothing animates, but Wine handles input through its own message loops: short
# pauses between pointer events let each one arrive as a separate move.
STEP_PAUSE = 0.03


def xdotool(*args, check=True):
    done = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, timeout=30)
    if check and done.returncode != 0:
        raise RuntimeError(f"xdotool {' '.join(map(str, args))}: {done.stderr.strip()}")
    return done.stdout


def visible_windows(title_pattern):
    """Ids of the visible windows whose title matches the pattern; none is not an error."""
    return [int(w) for w in xdotool("search", "--onlyvisible", "--name", title_pattern, check=False).split()]


def geometry(window):
    """(x, y, width, height) of the window on the screen, or None once it is gone."""
    done = subprocess.run(
        ["xdotool", "getwindowgeometry", "--shell", str(window)], capture_output=True, text=True, timeout=30
    )
    if done.returncode != 0:
        return None
    values = dict(line.split("=", 1) for line in done.stdout.split() if "=" in line)
    try:
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
    except (KeyError, ValueError):
        return None


def focus(window):
    xdotool("windowfocus", "--sync", window)


def press_keys(window, *keys):
    focus(window)
    for key in keys:
        xdotool("key", "--clearmodifiers", key)
        time.sleep(STEP_PAUSE)


def click(window, x, y):
    """A left click at a point of the window's own coordinates."""
    xdotool("mousemove", "--window", window, x, y)
    time.sleep(STEP_PAUSE)
    xdotool("click", 1)


def drag(x, y, dx, dy, steps=10):
    """Presses at a point of the screen, moves by (dx, dy) in small steps and releases. Screen coordinates: the
    window under the pointer moves along."""
    xdotool("mousemove", x, y)
    time.sleep(STEP_PAUSE)
    xdotool("mousedown", 1)
    for i in range(1, steps + 1):
        time.sleep(STEP_PAUSE)
        # Absolute targets, so that rounding never adds up to a different distance.
        xdotool("mousemove", x + dx * i // steps, y + dy * i // steps)
    time.sleep(STEP_PAUSE)
    xdotool("mouseup", 1)


def screenshot():
    """The whole screen as an RGB image."""
    done = subprocess.run(["import", "-window", "root", "png:-"], capture_output=True, timeout=30, check=True)
    return Image.open(io.BytesIO(done.stdout)).convert("RGB")
