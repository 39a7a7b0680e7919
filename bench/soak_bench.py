#!/usr/bin/env python3
"""Soak: the installed program through many cycles of real input (xdotool): the pointer hovers over a page's
controls, a tab is clicked (the next one each cycle) and Default is clicked. Before the first and after the last
cycle (and at every tenth of the way) window-probe.exe (tests/e2e), run in the same prefix, reads the program's GDI
objects and windows, and /proc its private memory. Prints the counts at the start (after one warm-up round of every
tab) and at the end, and their growth.
  soak_bench.py BUILD_DIR [CYCLES]
Needs $DISPLAY and $TOLVAN_BENCH_CUPS_DEMO (the demo's spooler); scripts/bench provides them."""

import os
import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import bench_wine  # noqa: E402

# Client positions of the fixed layout: the tab row (52 x 52 buttons at y 52), two points on the page's scan
# settings, and the Default button.
TAB_CENTRES = [(29 + 60 * slot + 26, 78) for slot in range(6)] + [(457 - 73 + 26, 78)]
PAGE_POINTS = [(140, 130), (170, 160)]
DEFAULT_BUTTON = (226, 363)
ROUND = len(TAB_CENTRES)
BATCH = 14  # cycles per xdotool call


def cycle_commands(window, cycle):
    tab = TAB_CENTRES[cycle % ROUND]
    moves = []
    for point in [tab, None, *PAGE_POINTS, DEFAULT_BUTTON, None]:
        if point is None:
            moves += ["click", "1", "sleep", "0.02"]
        else:
            moves += ["mousemove", "--window", str(window), str(point[0]), str(point[1]), "sleep", "0.01"]
    return moves


class Sample:
    def __init__(self, cycle, probe_line, private_kib, written_kib):
        values = dict(item.split("=") for item in probe_line.split())
        self.cycle = cycle
        self.gdi = int(values["gdi"])
        self.windows = int(values["windows"])
        self.gui_gdi = int(values["gui_gdi"])
        self.gui_user = int(values["gui_user"])
        self.private_kib = private_kib
        self.written_kib = written_kib


def main():
    build = Path(sys.argv[1]).resolve()
    cycles = int(sys.argv[2]) if len(sys.argv) > 2 else 700
    if not os.environ.get("DISPLAY"):
        sys.exit("soak_bench.py: needs an X display ($DISPLAY)")
    demo = bench_wine.Installation(build, "bench-startup", os.environ.get("TOLVAN_BENCH_CUPS_DEMO", ""))
    probe = [bench_wine.WINE, str(build / "tests" / "e2e" / "window-probe.exe"), "resources"]
    subject = bench_wine.Subject("Tolvan.exe", demo, demo.exe, "Tolvan")
    env = dict(demo.env, TOLVAN_RESOURCE_COUNTS="1")
    process = subprocess.Popen([bench_wine.WINE, demo.exe], env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    samples = []
    try:
        _, _, window, warned = subject.wait_for_main(process, time.perf_counter())
        if warned:
            sys.exit("soak_bench.py: the program warned at start-up; the soak needs every page available")

        def sample(cycle):
            line = subprocess.run(probe, env=demo.env, capture_output=True, text=True, check=True).stdout.strip()
            samples.append(Sample(cycle, line, *bench_wine.memory_kib(process.pid)))

        def run(first, count):
            for start in range(first, first + count, BATCH):
                commands = []
                for cycle in range(start, min(start + BATCH, first + count)):
                    commands += cycle_commands(window, cycle)
                subprocess.run(["xdotool", *commands], check=True)
                # A box in front of the window would take the clicks: every page must stay available.
                if len(bench_wine.visible("Tolvan")) != 1:
                    sys.exit(f"soak_bench.py: a second Tolvan window appeared by cycle {start}")

        run(0, ROUND)  # one warm-up round: every page shown once, every bitmap drawn once
        began = time.perf_counter()
        sample(0)
        step = max(cycles // 10, ROUND)
        done = 0
        while done < cycles:
            count = min(step, cycles - done)
            run(ROUND + done, count)
            done += count
            sample(done)
        took = time.perf_counter() - began
    finally:
        process.kill()
        process.wait()
        bench_wine.wait_until_gone("Tolvan")
        demo.stop()

    first, last = samples[0], samples[-1]
    print(f"soak: {cycles} cycles of hover, tab switch and Default through xdotool in {took:.0f} s, "
          f"after one warm-up round of {ROUND}")
    print(f"  GDI objects (counted in the program)   start {first.gdi:6d}  end {last.gdi:6d}  "
          f"growth {last.gdi - first.gdi:+d}  ratio {bench_wine.ratio(last.gdi, first.gdi):.3f}")
    print(f"  windows (counted in the program)       start {first.windows:6d}  end {last.windows:6d}  "
          f"growth {last.windows - first.windows:+d}  ratio {bench_wine.ratio(last.windows, first.windows):.3f}")
    print(f"  GetGuiResources GDI / USER             start {first.gui_gdi}/{first.gui_user}  "
          f"end {last.gui_gdi}/{last.gui_user}" + ("  (Wine answers 0: not usable here)"
                                                     if not (last.gui_gdi or last.gui_user) else ""))
    # All private pages move by a megabyte or two whenever another process of the session maps or drops a library
    # the program reads; what the process made itself does not, so that is the figure growth shows in.
    for label, key in (("private memory", "private_kib"), ("  of it made by the process", "written_kib")):
        memory = [getattr(s, key) for s in samples if getattr(s, key)]
        if memory:
            later = statistics.median(memory[len(memory) // 2:])
            print(f"  {label:37s}  start {memory[0] / 1024:6.1f} MB  end {memory[-1] / 1024:6.1f} MB"
                  f"  median of the second half {later / 1024:.1f} MB  ratio end/start {bench_wine.ratio(memory[-1], memory[0]):.3f}")
    print("  every tenth: cycle gdi windows private-MB made-MB")
    for s in samples:
        print(f"    {s.cycle:6d} {s.gdi:6d} {s.windows:6d} {(s.private_kib or 0) / 1024:8.1f} {(s.written_kib or 0) / 1024:8.1f}")


if __name__ == "__main__":
    main()
