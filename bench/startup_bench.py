#!/usr/bin/env python3
"""Start-up to a visible window: Tolvan.exe as the driver's installer leaves it, against two floors of the
platform: a bare dialog that shows the same skin bitmap (bare-dialog.exe), and the same dialog holding the
program's seven pages, created hidden from their templates with nothing set up on them (bare-pages.exe). Every
subject runs alternately with the others, each in its prefix with one warm wineserver, all on one X display; each
sample is the time from starting the process until xdotool first finds its window visible.

Printed: the medians and the program's ratios to both floors; the program's own per-step timing (TOLVAN_STARTUP_TRACE); the private
memory of all three once their window shows; and growth: the program on a second installation whose catalogue holds
1000 more installed applications and whose spooler has 50 printers, against the demo installation's start-up.
  startup_bench.py BUILD_DIR [ITERATIONS] [WARMUP]
Needs $DISPLAY, and in $TOLVAN_BENCH_CUPS_DEMO and $TOLVAN_BENCH_CUPS_GROWTH the CUPS_SERVER values of the two
installations' spoolers; scripts/bench provides them."""

import os
import random
import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import bench_wine  # noqa: E402


def print_steps(label, traces):
    """The median time of every step since the process was created, and since the step before."""
    if not traces:
        return
    names = [name for _, name in traces[0]]
    print(f"  {label}: per step, median of {len(traces)} runs (ms since the process was created | this step)")
    previous = 0.0
    for index, name in enumerate(names):
        times = [t[index][0] for t in traces if len(t) > index and t[index][1] == name]
        at = statistics.median(times)
        print(f"    {name:<24} {at:8.1f} | {at - previous:7.1f}")
        previous = at


def main():
    build = Path(sys.argv[1]).resolve()
    iterations = int(sys.argv[2]) if len(sys.argv) > 2 else 15
    warmup = int(sys.argv[3]) if len(sys.argv) > 3 else 2
    if not os.environ.get("DISPLAY"):
        sys.exit("startup_bench.py: needs an X display ($DISPLAY)")
    demo_cups = os.environ.get("TOLVAN_BENCH_CUPS_DEMO", "")
    growth_cups = os.environ.get("TOLVAN_BENCH_CUPS_GROWTH", "")

    demo = bench_wine.Installation(build, "bench-startup", demo_cups)
    growth = bench_wine.Installation(build, "bench-growth", growth_cups)
    growth.add_installed_applications(bench_wine.GROWTH_APPLICATIONS)
    try:
        tolvan = bench_wine.Subject("Tolvan.exe", demo, demo.exe, "Tolvan", trace=True)
        bare = bench_wine.Subject("bare-dialog.exe", demo, str(build / "bench" / "bare-dialog.exe"), "Bare dialog")
        pages = bench_wine.Subject("bare-pages.exe", demo, str(build / "bench" / "bare-pages.exe"), "Bare dialog")
        large = bench_wine.Subject("Tolvan.exe (growth)", growth, growth.exe, "Tolvan", trace=True)
        subjects = [bare, pages, tolvan, large]
        for i in range(warmup + iterations):
            # Each round takes the subjects in an order of its own (the same orders on every run of the benchmark),
            # so that neither a slow phase of the machine nor the subject that ran just before lands on one of them
            # only: rotating one fixed order made each subject always follow the same other one, and the same
            # program measured in two places of such an order differed by about 35 ms.
            order = subjects[:]
            random.Random(i).shuffle(order)
            for subject in order:
                subject.run_once(record=i >= warmup)
    finally:
        demo.stop()
        growth.stop()

    floor = statistics.median(bare.main)
    own = statistics.median(tolvan.main)
    first = statistics.median(tolvan.first)
    controls_floor = statistics.median(pages.main)
    print(f"start-up to a visible window, median of {iterations} runs each (warm wineserver, Xvfb, "
          f"{demo.printers()} printers)")
    print(f"  bare-dialog.exe (floor)        {floor * 1000:8.1f} ms")
    print(f"  bare-pages.exe (with pages)    {controls_floor * 1000:8.1f} ms")
    print(f"  Tolvan.exe, its first window   {first * 1000:8.1f} ms")
    print(f"  Tolvan.exe, its main window    {own * 1000:8.1f} ms")
    if tolvan.warnings:
        print(f"  ({tolvan.warnings} of {iterations} runs showed a start-up warning first, answered at once)")
    print(f"ratio Tolvan/bare: first window {bench_wine.ratio(first, floor):.2f}, "
          f"main window {bench_wine.ratio(own, floor):.2f}")
    print(f"ratio Tolvan/bare with pages: first window {bench_wine.ratio(first, controls_floor):.2f}, "
          f"main window {bench_wine.ratio(own, controls_floor):.2f}")
    print(f"ratio bare with pages/bare: {bench_wine.ratio(controls_floor, floor):.2f}")
    print_steps("Tolvan.exe", tolvan.traces)

    print(f"private memory once the window shows, median of {iterations} runs")
    for heading, attribute in (("", "memory"), ("  of which made by the process itself (written and anonymous pages; "
                                                "clean pages read from its files left out)", "written")):
        if heading:
            print(heading)
        bare_mb, pages_mb, own_mb = (statistics.median(getattr(s, attribute)) / 1024 for s in (bare, pages, tolvan))
        print(f"  bare-dialog.exe (floor)        {bare_mb:8.1f} MB")
        print(f"  bare-pages.exe (with pages)    {pages_mb:8.1f} MB")
        print(f"  Tolvan.exe                     {own_mb:8.1f} MB")
        print(f"difference Tolvan - bare: {own_mb - bare_mb:.1f} MB, ratio {bench_wine.ratio(own_mb, bare_mb):.2f}")

    grown = statistics.median(large.main)
    print(f"growth: {bench_wine.GROWTH_APPLICATIONS} more installed applications and {growth.printers()} printers, "
          f"median of {iterations} runs")
    print(f"  Tolvan.exe, demo installation  {own * 1000:8.1f} ms")
    print(f"  Tolvan.exe, grown installation {grown * 1000:8.1f} ms")
    print(f"ratio grown/demo: {bench_wine.ratio(grown, own):.2f}")
    print_steps("Tolvan.exe (growth)", large.traces)


if __name__ == "__main__":
    main()
