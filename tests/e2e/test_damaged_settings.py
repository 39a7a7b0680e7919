"""The installed program started on damaged per-user settings files: a reader of compound files that follows
their chains and tree without bounds would hang on most of them. Each time the program shows its window within
the start-up timeout (answering a start-up warning if one comes), the damaged file survives byte for byte as
the backup beside the settings file, and the settings file is the driver's template again, readable by an
independent reader (olefile)."""

import os

import olefile
import pytest

import damaged_files
from demo_installation import demo_installation

MODEL = "TV-610"  # the driver template's model


@pytest.fixture(scope="session")
def installation():
    if not os.environ.get("DISPLAY"):
        pytest.fail("the start-up checks need an X display ($DISPLAY)")
    with demo_installation("e2e-damaged-settings") as installed:
        yield installed


DAMAGE = damaged_files.damages(MODEL)


@pytest.mark.parametrize("damage", DAMAGE.keys())
def test_damaged_settings_file_is_kept_and_the_window_shows(program, installation, damage):
    template = (installation.driver_folder / "Tolvan.dat").read_bytes()
    damaged = DAMAGE[damage](template)
    assert damaged != template
    folder = installation.user_folder
    folder.mkdir(parents=True, exist_ok=True)
    for old in folder.glob("Tolvan.dat*"):
        old.unlink()
    (folder / "Tolvan.dat").write_bytes(damaged)

    program.start()  # fails the test when no window shows within the start-up timeout
    assert program.running()

    backups = sorted(p.name for p in folder.glob("Tolvan.dat*"))
    assert backups == ["Tolvan.dat", "Tolvan.dat.bak"]
    assert (folder / "Tolvan.dat.bak").read_bytes() == damaged
    with olefile.OleFileIO(str(folder / "Tolvan.dat")) as ole:
        spec_info = ole.openstream([MODEL, "SpecInfo"]).read()
    with olefile.OleFileIO(str(installation.driver_folder / "Tolvan.dat")) as ole:
        assert spec_info == ole.openstream([MODEL, "SpecInfo"]).read()
