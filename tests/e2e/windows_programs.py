"""Running the Windows tools under Wine from the checks: where they are, the paths they see,
and store-probe's output as values."""

import os
import shlex
import subprocess
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
# CTest passes these in; the defaults fit a run from the source tree after the usual build.
BUILD = Path(os.environ.get("TOLVAN_BUILD", REPO / "build" / "win"))
WINE_ENV = Path(os.environ.get("TOLVAN_WINE_ENV", REPO / "scripts" / "wine-env"))
STORE_PROBE = Path(os.environ.get("TOLVAN_STORE_PROBE", BUILD / "tests" / "e2e" / "store-probe.exe"))
MAKE_TEMPLATE = Path(os.environ.get("TOLVAN_MAKE_TEMPLATE", BUILD / "tools" / "make-template.exe"))
# The loader that wine-env runs; the kill test starts it itself so that the process it kills is the program.
WINE = Path(os.environ.get("TOLVAN_WINE", "/usr/lib/wine/wine64"))

MODEL = "TV-E2E"
# Email, File and Copy in "Setting"; the template adds "SpecInfo" and an empty "ProBtn".
TEMPLATE = f"""
[model]
name = {MODEL}
jobs = Email File Copy
[job Email]
wResolution = 150
szExt = .JPG
[job File]
szFilePrefix = Image
[job Copy]
extra = 20
"""


def win_path(path):
    """The host path as the Windows programs see it, through Wine's Z: drive."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def run_windows(exe, *args):
    """Runs a Windows program through wine-env; returns its exit code and output."""
    done = subprocess.run(
        [str(WINE_ENV), "--build", str(BUILD), "exec", str(exe), *map(str, args)],
        stdin=subprocess.DEVNULL,
        capture_output=True,
        text=True,
        timeout=120,
    )
    return done.returncode, done.stdout + done.stderr


def wine_environment():
    """The environment wine-env gives Windows programs, for starting one directly."""
    done = subprocess.run([str(WINE_ENV), "--build", str(BUILD), "vars"], capture_output=True, text=True, check=True)
    env = dict(os.environ)
    for word in shlex.split(done.stdout):
        name, sep, value = word.partition("=")
        if sep:
            env[name] = value
    return env


def probe(*args):
    """Runs store-probe; returns its exit code and its key=value lines (models as a list)."""
    rc, output = run_windows(STORE_PROBE, *args)
    values = {"models": [], "output": output}
    for line in output.splitlines():
        key, sep, value = line.partition("=")
        if not sep:
            continue
        if key == "model":
            values["models"].append(value)
        elif key in ("record", "blob"):
            values[key] = bytes.fromhex(value)
        elif key == "extra_len":
            values[key] = int(value)
        else:
            values[key] = int(value, 16)
    return rc, values


def probe_write(file, model, mask, record, blob=b""):
    """One write batch of one job through the store."""
    args = ["write", win_path(file), model, hex(mask), bytes(record).hex()]
    if blob:
        args.append(bytes(blob).hex())
    return probe(*args)


def make_template(folder, description=TEMPLATE):
    """A settings file as the driver's template is made: by make-template from a description."""
    text = Path(folder) / "template.txt"
    text.write_text(description)
    out = Path(folder) / "Tolvan.dat"
    rc, output = run_windows(MAKE_TEMPLATE, win_path(text), win_path(out))
    assert rc == 0, output
    return out
