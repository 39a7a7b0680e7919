"""An installation of the built program in a fresh Wine prefix of its own under the build tree, made once per test
session, with a warm wineserver for the session: the demo installation of scripts/install-demo, or another way of
installing the driver package (the Windows installer)."""

import contextlib
import os
import shlex
import shutil
import subprocess

from dataclasses import dataclass
from pathlib import Path

import olefile

from windows_programs import BUILD, REPO, WINE_ENV

INSTALL_DEMO = REPO / "scripts" / "install-demo"


@dataclass
class Installation:
    prefix: Path
    exe: str  # the Windows path
    env: dict
    driver_folder: Path
    user_folder: Path

    @property
    def options_file(self):
        return self.user_folder / "Splash.dat"

    def job_stream(self, stream, model="TV-610"):
        """The bytes of a job's stream in the per-user settings file as olefile reads them (the driver template's
        model by default), or None while the file is missing or held by the program."""
        try:
            with olefile.OleFileIO(str(self.user_folder / "Tolvan.dat")) as ole:
                return ole.openstream([model, "Setting", stream]).read()
        except OSError:  # missing, held by the program, or not (yet) a compound file
            return None


def field_text(data, offset, size):
    """A zero-terminated text field of record bytes, cut at its terminator or its end."""
    return data[offset : offset + size].split(b"\0", 1)[0].decode("latin-1")


def wine_env(prefix, *args, **kwargs):
    return subprocess.run([str(WINE_ENV), "--prefix", str(prefix), *map(str, args)], **kwargs)


def run_install_demo(prefix):
    return subprocess.run(
        [str(INSTALL_DEMO), str(prefix), str(BUILD)],
        stdin=subprocess.DEVNULL,
        capture_output=True,
        text=True,
        timeout=300,
    )


def demo_installation(name):
    """Installs the demo into BUILD/name/prefix (anything there before is removed); see fresh_installation."""
    return fresh_installation(name, run_install_demo)


@contextlib.contextmanager
def fresh_installation(name, install, exe=None):
    """Removes BUILD/name, has install(prefix) make the prefix from nothing and install into it (it returns the
    finished process), and yields the Installation with a warm wineserver; the prefix's wineserver is stopped at the
    end. exe is the Windows path of the installed Tolvan.exe, by default the last line of the install's output."""
    prefix = BUILD / name / "prefix"
    failures = []
    # Creating a fresh prefix has been seen to fail now and then on a busy machine with nothing but wineboot's
    # first line in its log; a second try from scratch tells that apart from an installation that is broken.
    for _ in range(2):
        if prefix.exists():
            wine_env(prefix, "server-stop", timeout=60)
        shutil.rmtree(prefix.parent, ignore_errors=True)
        done = install(prefix)
        if done.returncode == 0:
            break
        failures.append(done.stdout + done.stderr)
    assert done.returncode == 0, "\n".join(failures)
    exe = exe or done.stdout.strip().splitlines()[-1]

    env = dict(os.environ)
    assignments = wine_env(prefix, "vars", capture_output=True, text=True, check=True).stdout
    for word in shlex.split(assignments):
        var, sep, value = word.partition("=")
        if sep:
            env[var] = value
    # The new session's first program boots it and makes its desktop, which takes long on a busy machine.
    wine_env(prefix, "server-restart", check=True, timeout=600)
    try:
        users = [p for p in (prefix / "drive_c" / "users").iterdir() if p.name != "Public"]
        assert len(users) == 1, users
        yield Installation(
            prefix=prefix,
            exe=exe,
            env=env,
            driver_folder=prefix / "drive_c" / "windows" / "Twain_32" / "ZezoRiz6" / "Tolvan",
            user_folder=users[0] / "AppData" / "Roaming" / "Kelto" / "Tolvan",
        )
    finally:
        wine_env(prefix, "server-stop", timeout=60)
