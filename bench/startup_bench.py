#!/usr/bin/env python3
"""Start-up to a visible window: Tolvan.exe as the driver's installer leaves it, against the platform's floor,
a bare dialog that shows the same skin bitmap (bare-dialog.exe). Both run alternately in one prefix with one warm
wineserver and one X display; each sample is the time from starting the process until xdotool first finds its
window visible. Prints both medians and their ratio.
  startup_bench.py BUILD_DIR [ITERATIONS] [WARMUP]
Needs $DISPLAY; scripts/bench provides one."""

import os
import shlex
import statistics
import subprocess
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
WINE = "/usr/lib/wine/wine64"
WINE_ENV = REPO / "scripts" / "wine-env"
INSTALL_DEMO = REPO / "scripts" / "install-demo"
SIZE = (457, 392)
TIMEOUT = 30.0


def visible(title):
    done = subprocess.run(
        ["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"], capture_output=True, text=True
    )
    return [int(w) for w in done.stdout.split()]


def size_of(window):
    done = subprocess.run(["xdotool", "getwindowgeometry", "--shell", str(window)], capture_output=True, text=True)
    values = dict(line.split("=", 1) for line in done.stdout.split() if "=" in line)
    return int(values.get("WIDTH", 0)), int(values.get("HEIGHT", 0))


def wait_until_gone(title):
    deadline = time.monotonic() + TIMEOUT
    while visible(title) and time.monotonic() < deadline:
        time.sleep(0.01)


class Subject:
    def __init__(self, name, command, title, env):
        self.name, self.command, self.title, self.env = name, command, title, env
        self.first = []  # to the first visible window of its title
        self.main = []  # to the window of the skin's size
        self.warnings = 0

    def run_once(self, record):
        """Starts the program, waits for its window, ends it. Start-up warnings in front of the window are answered
        at once with Enter; their time stays in the sample, and they are counted."""
        start = time.perf_counter()
        process = subprocess.Popen(
            self.command, env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL
        )
        first = main = None
        answered = set()
        try:
            while main is None:
                now = time.perf_counter()
                if now - start > TIMEOUT or process.poll() is not None:
                    raise RuntimeError(f"{self.name}: no window (exit code {process.poll()})")
                for window in visible(self.title):
                    first = first or now
                    if size_of(window) == SIZE:
                        main = now
                        break
                    if window not in answered:
                        answered.add(window)
                        subprocess.run(["xdotool", "windowfocus", "--sync", str(window), "key", "Return"])
        finally:
            process.kill()
            process.wait()
            wait_until_gone(self.title)
        if record:
            self.first.append(first - start)
            self.main.append(main - start)
            self.warnings += bool(answered)


def wine_vars(prefix):
    out = subprocess.run(
        [str(WINE_ENV), "--prefix", str(prefix), "vars"], capture_output=True, text=True, check=True
    ).stdout
    env = dict(os.environ)
    for word in shlex.split(out):
        name, sep, value = word.partition("=")
        if sep:
            env[name] = value
    return env


def main():
    build = Path(sys.argv[1]).resolve()
    iterations = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    warmup = int(sys.argv[3]) if len(sys.argv) > 3 else 2
    if not os.environ.get("DISPLAY"):
        sys.exit("startup_bench.py: needs an X display ($DISPLAY)")

    # A prefix of its own, kept between runs: the installation is laid anew, the prefix is made once.
    prefix = build / "bench-startup" / "prefix"
    installed = subprocess.run(
        [str(INSTALL_DEMO), str(prefix), str(build)], capture_output=True, text=True, check=True
    ).stdout
    exe = installed.strip().splitlines()[-1]
    env = wine_vars(prefix)
    subprocess.run([str(WINE_ENV), "--prefix", str(prefix), "server-restart"], check=True)
    try:
        tolvan = Subject("Tolvan.exe", [WINE, exe], "Tolvan", env)
        bare = Subject("bare-dialog.exe", [WINE, str(build / "bench" / "bare-dialog.exe")], "Bare dialog", env)
        for i in range(warmup + iterations):
            # Alternating which goes first keeps a slow phase of the machine from landing on one of them only.
            for subject in (tolvan, bare) if i % 2 else (bare, tolvan):
                subject.run_once(record=i >= warmup)
    finally:
        subprocess.run([str(WINE_ENV), "--prefix", str(prefix), "server-stop"])

    floor = statistics.median(bare.main)
    print(f"start-up to a visible window, median of {iterations} runs each (warm wineserver, Xvfb)")
    print(f"  bare-dialog.exe (floor)        {floor * 1000:8.1f} ms")
    print(f"  Tolvan.exe, its first window   {statistics.median(tolvan.first) * 1000:8.1f} ms")
    print(f"  Tolvan.exe, its main window    {statistics.median(tolvan.main) * 1000:8.1f} ms")
    if tolvan.warnings:
        print(f"  ({tolvan.warnings} of {iterations} runs showed a start-up warning first, answered at once)")
    print(f"ratio Tolvan/bare: first window {statistics.median(tolvan.first) / floor:.2f}, "
          f"main window {statistics.median(tolvan.main) / floor:.2f}")


if __name__ == "__main__":
    main()
