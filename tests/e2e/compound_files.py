"""The two independent compound-file implementations the store is compared with (olefile
reads, the cfb package writes), and job record bytes as the file holds them."""

import json
import os
import subprocess
from pathlib import Path

import olefile
import pytest

from windows_programs import REPO

PEER_DIR = Path(os.environ.get("TOLVAN_PEER_DIR", REPO / "tests" / "peer"))

RECORD_SIZE = 1134
EXTRA_LEN_OFFSET = 1126
EXTRA_LOW_OFFSET = 1130


def pattern_record(seed, extra_len=0):
    """A record whose every byte depends on seed, including the two bytes the store stores as 0."""
    record = bytearray((i * 7 + seed * 13 + 1) & 0xFF for i in range(RECORD_SIZE))
    record[EXTRA_LEN_OFFSET : EXTRA_LEN_OFFSET + 4] = extra_len.to_bytes(4, "little")
    return record


def pattern_blob(seed, length):
    return bytes((i * 3 + seed) & 0xFF for i in range(length))


def stored_form(record):
    """The record as the file holds it: the lower half of the blob reference is always 0."""
    stored = bytearray(record)
    stored[EXTRA_LOW_OFFSET : EXTRA_LOW_OFFSET + 2] = b"\0\0"
    return bytes(stored)


def read_compound_file(path):
    """Every stream of the file by its element path, and the set of storage paths, read with olefile."""
    with olefile.OleFileIO(str(path)) as ole:
        streams = {tuple(p): ole.openstream(p).read() for p in ole.listdir(streams=True, storages=False)}
        storages = {tuple(p) for p in ole.listdir(streams=False, storages=True)}
    return streams, storages


def write_with_peer(folder, name, entries):
    """Builds a compound file with the cfb package. entries: (path, bytes) for streams, (path, None) for
    empty storages."""
    if not (PEER_DIR / "node_modules" / "cfb").is_dir():
        pytest.fail(f"the peer writer is not installed: run `npm ci` in {PEER_DIR} (scripts/setup does)")
    description = Path(folder) / (name + ".json")
    entries = [{"path": p, "storage": True} if c is None else {"path": p, "hex": bytes(c).hex()} for p, c in entries]
    description.write_text(json.dumps({"entries": entries}))
    out = Path(folder) / name
    subprocess.run(
        ["node", str(PEER_DIR / "write_compound_file.js"), str(description), str(out)],
        stdin=subprocess.DEVNULL,
        check=True,
        timeout=60,
    )
    return out
