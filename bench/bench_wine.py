"""What the Wine benchmarks share: an installation of the program in a prefix of its own (with its print spooler
and its own warm wineserver), and a subject that is started, timed to its visible window, measured and ended."""

import os
import shlex
import struct
import subprocess
import time
import zlib
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
WINE = "/usr/lib/wine/wine64"
WINE_ENV = REPO / "scripts" / "wine-env"
INSTALL_DEMO = REPO / "scripts" / "install-demo"
SIZE = (457, 392)
TIMEOUT = 60.0
GROWTH_APPLICATIONS = 1000

# The application list file (driver/apinfo/FORMAT.md).
ENTRY_SIZE = 1114
HEADER = struct.Struct("<4sHHI")
USER_APPLICATIONS = 0x01000000
APPLICATION_JOB = 0x1
USER_APPLICATION_ID = 4200


def ratio(a, b):
    return a / b if b else float("nan")


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


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def memory_kib(pid):
    """A process's private memory in KiB, from one read of its smaps: (all its private pages, clean and dirty; the
    part it made itself: its written pages and anonymous memory, without the clean pages it only read from its files,
    which the system can drop and read again at any time; Windows counts neither those nor image pages as a
    process's private bytes). (None, None) when it is gone."""
    try:
        text = Path(f"/proc/{pid}/smaps").read_text()
    except OSError:
        return None, None
    private = written = 0
    anonymous = False
    for line in text.splitlines():
        fields = line.split()
        if "-" in fields[0] and not fields[0].endswith(":"):
            # A mapping's first line: address range, permissions, offset, device, inode, then its file if any.
            anonymous = len(fields) < 6 or fields[5].startswith("[")
        elif fields[0] in ("Private_Clean:", "Private_Dirty:"):
            private += int(fields[1])
            if fields[0] == "Private_Dirty:" or anonymous:
                written += int(fields[1])
    return private, written


def user_application(number):
    """A program that the user added: Notepad under a name of its own, which the search finds installed."""
    entry = bytearray(ENTRY_SIZE)
    struct.pack_into("<HIIIIIHH", entry, 0, ENTRY_SIZE, USER_APPLICATIONS, APPLICATION_JOB, 0, 0x7F, 0x8, 95,
                     USER_APPLICATION_ID)
    for offset, text in ((26, f"Bench program {number:04d}"), (286, "notepad.exe"), (318, "C:\\windows\\"),
                         (1098, ".JPG")):
        entry[offset:offset + len(text)] = text.encode("ascii")
    return bytes(entry)


def with_entries(catalogue, entries):
    magic, version, size, count = HEADER.unpack_from(catalogue)
    body = catalogue[HEADER.size:HEADER.size + count * size] + b"".join(entries)
    head = HEADER.pack(magic, version, size, count + len(entries)) + body
    return head + struct.pack("<I", zlib.crc32(head) & 0xFFFFFFFF)


class Installation:
    """The program installed by scripts/install-demo into BUILD/NAME/prefix, which is made once and kept."""

    def __init__(self, build, name, cups_server):
        self.prefix = build / name / "prefix"
        installed = subprocess.run(
            [str(INSTALL_DEMO), str(self.prefix), str(build)], capture_output=True, text=True, check=True
        ).stdout
        self.exe = installed.strip().splitlines()[-1]
        self.cups_server = cups_server
        out = subprocess.run(
            [str(WINE_ENV), "--prefix", str(self.prefix), "vars"], capture_output=True, text=True, check=True
        ).stdout
        self.env = dict(os.environ)
        for word in shlex.split(out):
            key, sep, value = word.partition("=")
            if sep:
                self.env[key] = value
        if cups_server:
            self.env["CUPS_SERVER"] = cups_server
        self.driver = self.prefix / "drive_c" / "windows" / "Twain_32" / "ZezoRiz6" / "Tolvan"
        subprocess.run([str(WINE_ENV), "--prefix", str(self.prefix), "server-restart"], env=self.env, check=True)

    def add_installed_applications(self, count):
        """The driver's catalogue with count more programs, all installed; the per-user lists are made anew from
        it at the next start."""
        catalogue = self.driver / "APInfo.dat"
        catalogue.write_bytes(with_entries(catalogue.read_bytes(), [user_application(n) for n in range(count)]))
        for user_folder in self.prefix.glob("drive_c/users/*/AppData/Roaming/Kelto/Tolvan"):
            for name in ("APInfo.dat", "InApInfo.dat"):
                (user_folder / name).unlink(missing_ok=True)

    def printers(self):
        if not self.cups_server:
            return 0
        done = subprocess.run(["lpstat", "-p"], env=self.env, capture_output=True, text=True)
        return sum(line.startswith("printer ") for line in done.stdout.splitlines())

    def stop(self):
        subprocess.run([str(WINE_ENV), "--prefix", str(self.prefix), "server-stop"], env=self.env)


class Subject:
    def __init__(self, name, installation, exe, title, trace=False):
        self.name, self.installation, self.exe, self.title = name, installation, exe, title
        self.first = []  # to the first visible window of its title
        self.main = []  # to the window of the skin's size
        self.memory = []  # private KiB once the main window shows
        self.written = []  # the part of it the process made itself (memory_kib)
        self.traces = []  # the program's own steps: [(ms since the process was created, name)]
        self.warnings = 0
        self.trace_file = installation.prefix.parent / f"startup-trace-{os.getpid()}.txt" if trace else None

    def start(self):
        env = dict(self.installation.env)
        if self.trace_file:
            self.trace_file.unlink(missing_ok=True)
            env["TOLVAN_STARTUP_TRACE"] = windows_path(self.trace_file)
        return subprocess.Popen(
            [WINE, self.exe], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL
        )

    def wait_for_main(self, process, start):
        """Waits for the main window, answering start-up warnings in front of it at once with Enter; their time
        stays in the sample. Returns (first, main, window, warned)."""
        first = main = None
        answered = set()
        while main is None:
            now = time.perf_counter()
            if now - start > TIMEOUT or process.poll() is not None:
                raise RuntimeError(f"{self.name}: no window (exit code {process.poll()})")
            for window in visible(self.title):
                first = first or now
                if size_of(window) == SIZE:
                    main = now
                    return first, main, window, bool(answered)
                if window not in answered:
                    answered.add(window)
                    subprocess.run(["xdotool", "windowfocus", "--sync", str(window), "key", "Return"])
        return first, main, None, bool(answered)

    def read_trace(self, process):
        """The program writes its steps at its first paint, just after the window shows."""
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline and process.poll() is None:
            if self.trace_file.exists():
                lines = self.trace_file.read_text().splitlines()
                if lines and lines[-1].endswith("first paint"):
                    return [(float(ms), name) for ms, name in (line.split("\t", 1) for line in lines)]
            time.sleep(0.02)
        raise RuntimeError(f"{self.name}: no start-up trace")

    def run_once(self, record):
        start = time.perf_counter()
        process = self.start()
        try:
            first, main, _, warned = self.wait_for_main(process, start)
            trace = self.read_trace(process) if self.trace_file else None
            # Both subjects get the same moment to settle after their window shows.
            time.sleep(0.3)
            memory, written = memory_kib(process.pid)
        finally:
            process.kill()
            process.wait()
            wait_until_gone(self.title)
        if record:
            self.first.append(first - start)
            self.main.append(main - start)
            self.warnings += warned
            if memory is not None:
                self.memory.append(memory)
            if written is not None:
                self.written.append(written)
            if trace:
                self.traces.append(trace)
