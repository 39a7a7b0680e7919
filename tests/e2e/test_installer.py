"""The Windows installer Tolvan-setup.exe as an administrator rolling the program out meets it: a silent install
into a fresh Wine prefix lays out the driver package, the registry value "Path", the Start-menu shortcut and the
entry of the uninstaller; the installed program starts and shows its window, and the console companion beside it
checks the settings the program made; the silent uninstaller then removes all of that and leaves the per-user folder
with the user's settings as it was."""

import os
import subprocess
from pathlib import Path

import pytest

import desktop
from demo_installation import fresh_installation, wine_env
from test_main_window import EXIT_BUTTON, SCREENSHOTS, TITLE, Program, drawn_screenshot, poll
from windows_programs import BUILD, win_path

SETUP = BUILD / "Tolvan-setup.exe"
PACKAGE_FILES = BUILD / "package" / "files.txt"
INSTALL_FOLDER = r"C:\windows\Twain_32\ZezoRiz6\Tolvan"
UNINSTALLER = "Uninstall.exe"
SHORTCUT = Path("Start Menu", "Programs", "Tolvan.lnk")
DRIVER_KEY = r"HKCU\Software\Kelto\Tolvan"
UNINSTALL_ENTRY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolvan"
# Where a 32-bit installer's entry would land instead.
UNINSTALL_ENTRY_32 = r"HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Tolvan"

INSTALL_TIMEOUT = 300.0
# The uninstaller hands its work to a copy of itself outside the folder it removes and returns at once.
UNINSTALL_TIMEOUT = 120.0


def run_setup(prefix):
    """Makes the prefix from nothing and installs into it with the installer's silent switch."""
    made = wine_env(
        prefix, "prepare", stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=INSTALL_TIMEOUT
    )
    if made.returncode != 0:
        return made
    done = wine_env(
        prefix, "exec", win_path(SETUP), "/S", stdin=subprocess.DEVNULL, capture_output=True, text=True,
        timeout=INSTALL_TIMEOUT,
    )
    print(f"Tolvan-setup.exe /S ended with exit code {done.returncode}; output: {done.stdout!r}")
    return done


@pytest.fixture(scope="module")
def installation():
    if not os.environ.get("DISPLAY"):
        pytest.fail("the installer checks need an X display ($DISPLAY)")
    assert SETUP.is_file(), f"{SETUP} is missing: the build makes it"
    with fresh_installation("e2e-installer", run_setup, exe=INSTALL_FOLDER + "\\Tolvan.exe") as installed:
        yield installed


def package_files():
    return [Path(line) for line in PACKAGE_FILES.read_text().splitlines() if line]


def shortcut(installation):
    """The shortcut in the Start menu of all users."""
    return installation.prefix / "drive_c" / "ProgramData" / "Microsoft" / "Windows" / SHORTCUT


def registry(installation, key, value=None):
    """The data of a registry value as reg.exe prints it (the entry's whole listing without a value name), or
    None when there is no such key or value."""
    args = ["exec", "reg", "query", key] + (["/v", value] if value else [])
    done = wine_env(installation.prefix, *args, stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=120)
    if done.returncode != 0:
        return None
    if value is None:
        return done.stdout
    for line in done.stdout.splitlines():
        words = line.split(None, 2)
        if len(words) == 3 and words[0].lower() == value.lower():
            return words[2].strip()
    return None


def test_silent_install_lays_out_the_driver_package(installation):
    folder = installation.driver_folder
    expected = package_files()
    assert sorted(p.name for p in folder.iterdir()) == sorted([f.name for f in expected] + [UNINSTALLER])
    for built in expected:
        assert (folder / built.name).read_bytes() == built.read_bytes(), built.name

    assert registry(installation, DRIVER_KEY, "Path") == "ZezoRiz6"

    link = shortcut(installation).read_bytes()
    assert (INSTALL_FOLDER + "\\Tolvan.exe").lower().encode("utf-16-le") in link.lower(), link

    # The entry of Add/Remove Programs, in the registry view of 64-bit programs where the system looks for it.
    assert registry(installation, UNINSTALL_ENTRY, "DisplayName") == "Tolvan"
    assert registry(installation, UNINSTALL_ENTRY, "QuietUninstallString") == (
        f'"{INSTALL_FOLDER}\\{UNINSTALLER}" /S'
    )
    assert registry(installation, UNINSTALL_ENTRY, "InstallLocation") == INSTALL_FOLDER
    assert registry(installation, UNINSTALL_ENTRY_32) is None


def test_installed_program_shows_its_window_and_the_uninstaller_keeps_the_users_settings(installation):
    program = Program(installation)
    try:
        window = program.start()
        x, y, _, _ = desktop.geometry(window)
        shot = drawn_screenshot(x, y)
        assert shot, "the window is not drawn"
        SCREENSHOTS.mkdir(parents=True, exist_ok=True)
        shot.save(SCREENSHOTS / "installed_program.png")
        desktop.click(window, *EXIT_BUTTON)
        if not poll(lambda: not program.running(), 10.0, pause=0.1) and desktop.visible_windows(TITLE):
            # A click that comes while the button is still taking the hover is lost; a second one must do.
            desktop.click(window, *EXIT_BUTTON)
        assert program.wait_for_end() == 0
    finally:
        program.stop()

    user_files = {p.name: p.read_bytes() for p in installation.user_folder.iterdir()}
    assert "Tolvan.dat" in user_files, sorted(user_files)
    # The console companion installed beside the program finds the settings that the program made.
    done = wine_env(
        installation.prefix, "exec", f"{INSTALL_FOLDER}\\tolvancfg.exe", "check", stdin=subprocess.DEVNULL,
        capture_output=True, text=True, timeout=120,
    )
    print(f"tolvancfg check ended with exit code {done.returncode}; output: {done.stdout!r}")
    assert done.returncode == 0, done.stdout + done.stderr

    done = wine_env(
        installation.prefix, "exec", f"{INSTALL_FOLDER}\\{UNINSTALLER}", "/S", stdin=subprocess.DEVNULL,
        capture_output=True, text=True, timeout=120,
    )
    assert done.returncode == 0, done.stdout + done.stderr
    # Removing the entry is the uninstaller's last step.
    gone = lambda: not installation.driver_folder.exists() and registry(installation, UNINSTALL_ENTRY) is None
    assert poll(gone, UNINSTALL_TIMEOUT, pause=0.5), sorted(
        p.name for p in installation.driver_folder.parent.rglob("*")
    )
    print("the uninstaller removed the driver folder and its entry")

    assert not installation.driver_folder.parent.exists(), "the driver's folder, left empty, stays"
    assert not shortcut(installation).exists()
    assert registry(installation, DRIVER_KEY, "Path") is None
    assert {p.name: p.read_bytes() for p in installation.user_folder.iterdir()} == user_files
