"""A write batch killed at any moment leaves the settings file as it was before the batch or as the
batch made it: never a file that does not open, never one job of one batch beside another job of
an older one, never a damaged bystander."""

import os
import random
import signal
import subprocess
import time

from compound_files import RECORD_SIZE, read_compound_file, stored_form
from windows_programs import (
    MODEL,
    STORE_PROBE,
    WINE,
    make_template,
    probe,
    probe_write,
    wine_environment,
    win_path,
)

ITERATIONS = int(os.environ.get("TOLVAN_KILL_ITERATIONS", "300"))
STORE_CHECK_EVERY = 25
LONGEST_DELAY = 0.040
MARKER_TIMEOUT = 30.0

# store-probe hammer writes these two jobs in every batch: one in "Setting", one in "ProBtn".
JOBS = (
    (0x100, (MODEL, "Setting", "TolClass100")),
    (0x01000000, (MODEL, "Setting", "ProBtn", "TolClass1000000")),
)
GENERATION_OFFSET = 16  # dwStored


def generation_job(generation, job):
    """Record and blob of one job in generation g, as store-probe hammer builds them."""
    record = bytearray((i * 31 + job * 101 + generation * 7) & 0xFF for i in range(RECORD_SIZE))
    record[GENERATION_OFFSET : GENERATION_OFFSET + 4] = generation.to_bytes(4, "little")
    extra_len = 0 if job == 0 else 1 + generation * 613 % 6000
    record[1126:1130] = extra_len.to_bytes(4, "little")
    blob = bytes((i + generation * 13 + 5) & 0xFF for i in range(extra_len))
    return stored_form(record), blob


def check_file(file, bystanders):
    """Asserts the invariants on the file as it lies after a kill; returns the generation it holds."""
    streams, _ = read_compound_file(file)
    for _, path in JOBS:
        assert len(streams.get(path, b"")) >= RECORD_SIZE, f"{path} is missing or cut short"
    first = streams[JOBS[0][1]]
    generation = int.from_bytes(first[GENERATION_OFFSET : GENERATION_OFFSET + 4], "little")
    for job, (_, path) in enumerate(JOBS):
        record, blob = generation_job(generation, job)
        assert streams[path] == record + blob, f"{path} does not hold generation {generation}"
    others = {p: content for p, content in streams.items() if p not in {path for _, path in JOBS}}
    assert others == bystanders
    return generation


def check_with_store(file, generation):
    for job, (mask, _) in enumerate(JOBS):
        record, blob = generation_job(generation, job)
        rc, result = probe("read", win_path(file), MODEL, hex(mask))
        assert rc == 0, result["output"]
        assert (result["record"], result["blob"]) == (record, blob)


def start_hammer(env, file, marker, generation):
    # Started without wine-env's wrapper, so that the process we kill is the Windows program itself. Its
    # output goes nowhere: processes Wine starts on demand would inherit a pipe and keep it open.
    return subprocess.Popen(
        [str(WINE), str(STORE_PROBE), "hammer", win_path(file), MODEL, win_path(marker), str(generation)],
        env=env,
        stdin=subprocess.DEVNULL,
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
    )


def wait_for_marker(process, marker):
    deadline = time.monotonic() + MARKER_TIMEOUT
    while not marker.exists():
        assert process.poll() is None, f"store-probe hammer ended with {process.returncode}"
        assert time.monotonic() < deadline, "store-probe hammer never started writing"
        time.sleep(0.001)


def test_killed_write_batches(tmp_path):
    file = make_template(tmp_path)
    marker = tmp_path / "hammering"
    # A batch works on this copy until it renames it over the file: left behind, it shows a kill inside a batch.
    shadow = tmp_path / (file.name + ".new")
    # Generation 0, written by two ordinary batches, is where the kills start from.
    for job, (mask, _) in enumerate(JOBS):
        record, blob = generation_job(0, job)
        rc, result = probe_write(file, MODEL, mask, record, blob)
        assert rc == 0, result["output"]
    streams, _ = read_compound_file(file)
    bystanders = {p: content for p, content in streams.items() if p not in {path for _, path in JOBS}}
    assert check_file(file, bystanders) == 0

    seed = int(os.environ.get("TOLVAN_KILL_SEED", time.time_ns()))
    rng = random.Random(seed)
    env = wine_environment()
    generation = 0
    unchanged = advanced = inside_batch = 0
    started = time.monotonic()
    for iteration in range(ITERATIONS):
        context = f"iteration {iteration}, TOLVAN_KILL_SEED={seed}"
        marker.unlink(missing_ok=True)
        process = start_hammer(env, file, marker, generation + 1)
        try:
            wait_for_marker(process, marker)
            time.sleep(rng.uniform(0, LONGEST_DELAY))
        finally:
            process.send_signal(signal.SIGKILL)
            process.wait()
        try:
            now = check_file(file, bystanders)
            # Committed batches are never taken back.
            assert now >= generation
            if iteration % STORE_CHECK_EVERY == STORE_CHECK_EVERY - 1:
                check_with_store(file, now)
        except Exception as fault:  # olefile refusing the file counts as much as a wrong byte
            raise AssertionError(f"{context}: {fault!r}") from fault
        inside_batch += shadow.exists()
        unchanged += now == generation
        advanced += now > generation
        generation = now
    elapsed = time.monotonic() - started
    print(
        f"\n{ITERATIONS} kills in {elapsed:.1f} s (seed {seed}): {inside_batch} inside a batch; "
        f"{unchanged} found no batch committed, {advanced} a newer generation; last generation {generation}"
    )
    # Kills must land inside batches and hammers must get batches through, or the test proved nothing.
    assert inside_batch > ITERATIONS // 4 and advanced > 0
