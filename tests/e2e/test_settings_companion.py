"""tolvancfg, the console companion, in demo installations the way an administrator meets it: on a settings file
the program made, on files from an independent writer (cfb), on damaged settings files and damaged export files
(a message naming file, line and field; the settings file keeps its bytes), across two users (byte-identical job
streams), and on a file that another process holds as the program does during its batches."""

import json
import os
import subprocess
import time

import pytest

import damaged_files
from compound_files import read_compound_file, write_with_peer
from demo_installation import demo_installation, wine_env
from test_main_window import Program
from windows_programs import STORE_PROBE, WINE_ENV, win_path

MODEL = "TV-610"  # the driver template's model
IN_USE, DAMAGED, INVALID = 3, 4, 5  # exit codes (README)


def tolvancfg(installation, *args):
    """Runs the installed companion as that installation's user; returns its exit code and what it printed."""
    exe = installation.exe.replace("Tolvan.exe", "tolvancfg.exe")
    done = wine_env(
        installation.prefix, "exec", exe, *args, stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=120
    )
    print(f"tolvancfg {' '.join(map(str, args))} -> {done.returncode}\n{done.stdout}{done.stderr}")
    return done.returncode, done.stdout + done.stderr


def settings_file(installation):
    return installation.user_folder / "Tolvan.dat"


def job_streams(file):
    streams, _ = read_compound_file(file)
    return {path: data for path, data in streams.items() if path[:2] == (MODEL, "Setting")}


@pytest.fixture(scope="module")
def user_a():
    """A user whose settings file the program made: started once, its window shown, then ended."""
    if not os.environ.get("DISPLAY"):
        pytest.fail("the program needs an X display ($DISPLAY)")
    with demo_installation("e2e-companion-a") as installed:
        program = Program(installed)
        try:
            program.start()
        finally:
            program.stop()
        yield installed


@pytest.fixture(scope="module")
def user_b():
    """A user on another PC who never started the program."""
    with demo_installation("e2e-companion-b") as installed:
        yield installed


@pytest.fixture(scope="module")
def exported(user_a, tmp_path_factory):
    file = tmp_path_factory.mktemp("export") / "settings.txt"
    rc, output = tolvancfg(user_a, "export", win_path(file))
    assert rc == 0, output
    return file


@pytest.fixture
def kept_settings(user_b):
    """Puts user B's settings folder back as it was after the test."""
    folder = user_b.user_folder
    before = {p: p.read_bytes() for p in folder.glob("*")} if folder.exists() else {}
    yield folder
    for p in folder.glob("*"):
        if p not in before:
            p.unlink()
    for p, data in before.items():
        p.write_bytes(data)


def test_the_programs_file_is_shown_in_words_and_is_sound(user_a):
    rc, output = tolvancfg(user_a, "check")
    assert rc == 0 and "sound" in output, output
    rc, output = tolvancfg(user_a, "show")
    assert rc == 0, output
    assert f"Model: {MODEL}" in output
    # The demo's mail program, which the Email page chose and saved at the program's first start.
    assert "Mail program:        Windows Mail" in output
    rc, output = tolvancfg(user_a, "show", "--json")
    shown = json.loads(output[output.index("{") : output.rindex("}") + 1])
    assert shown["model"] == MODEL
    assert [job["job"] for job in shown["jobs"]] == ["Email", "Office", "File", "Copy", "VAVizi", "DUzar", "RAvud"]
    email = shown["jobs"][0]
    assert email["description"]["mailProgram"].startswith("Windows Mail")
    assert email["fields"]["dwStored"] == 1


def test_an_export_imported_by_another_user_gives_the_same_job_streams(user_a, user_b, exported, tmp_path):
    assert not settings_file(user_b).exists()
    rc, output = tolvancfg(user_b, "import", win_path(exported), "--dry-run")
    assert rc == 0, output
    assert not settings_file(user_b).exists(), "a dry run made the settings file"

    rc, output = tolvancfg(user_b, "import", win_path(exported))
    assert rc == 0, output
    streams_a, streams_b = job_streams(settings_file(user_a)), job_streams(settings_file(user_b))
    assert len(streams_a) == 7
    assert streams_b == streams_a
    # And back: the second user's export is the first one's, to the byte.
    again = tmp_path / "again.txt"
    rc, output = tolvancfg(user_b, "export", win_path(again))
    assert rc == 0, output
    assert again.read_bytes() == exported.read_bytes()


def test_a_file_from_the_independent_writer(user_a, user_b, exported, kept_settings, tmp_path):
    # The program's streams, laid out by cfb, with a stream in the root ahead of the model as another writer may.
    streams, _ = read_compound_file(settings_file(user_a))
    entries = [("Note", b"not a model")]
    entries += [("/".join(path), data) for path, data in streams.items()]
    peer = write_with_peer(tmp_path, "peer.dat", entries)
    kept_settings.mkdir(parents=True, exist_ok=True)
    (kept_settings / "Tolvan.dat").write_bytes(peer.read_bytes())

    rc, output = tolvancfg(user_b, "check")
    assert rc == 0, output
    out = tmp_path / "peer.txt"
    rc, output = tolvancfg(user_b, "export", win_path(out))
    assert rc == 0, output
    assert out.read_bytes() == exported.read_bytes()


DAMAGE = damaged_files.damages(MODEL)


@pytest.mark.parametrize("damage", DAMAGE.keys())
def test_a_damaged_settings_file_is_reported_and_left_as_it_is(user_b, exported, kept_settings, tmp_path, damage):
    damaged = DAMAGE[damage]((user_b.driver_folder / "Tolvan.dat").read_bytes())
    kept_settings.mkdir(parents=True, exist_ok=True)
    (kept_settings / "Tolvan.dat").write_bytes(damaged)
    names = sorted(p.name for p in kept_settings.iterdir())
    out = tmp_path / "out.txt"
    for command in (["check"], ["show"], ["export", win_path(out)], ["import", win_path(exported)],
                    ["set", "Email", "wQuality", "90"]):
        rc, output = tolvancfg(user_b, *command)
        assert rc == DAMAGED and "damaged" in output, (command, output)
        assert (kept_settings / "Tolvan.dat").read_bytes() == damaged, command
        assert sorted(p.name for p in kept_settings.iterdir()) == names, "a backup or shadow was left"
    assert not out.exists()


def cut_in_a_section(text):
    return text[: text.index("wQuality", text.index("[job File]"))]


def drop_a_blob_byte(text):
    """The RAvud job's blob (the last one) a byte shorter than its record says."""
    at = text.rindex("extra = ") + len("extra = ")
    return text[:at] + text[at + 2 :]


EXPORT_DAMAGE = {
    # name: (change, text on the fault's line, field)
    "truncated": (cut_in_a_section, "[job File]", ""),
    "wrong type": (lambda t: t.replace("wResolution = 300", "wResolution = fine", 1), "wResolution = fine",
                   "wResolution"),
    "overlong string": (lambda t: t.replace('szFilePrefix = "Image"', 'szFilePrefix = "' + "x" * 300 + '"', 1),
                        'szFilePrefix = "xxx', "szFilePrefix"),
    "unknown section": (lambda t: t.replace("[job Copy]", "[job Fax]"), "[job Fax]", ""),
    "outside its table": (lambda t: t.replace("wResolution = 300", "wResolution = 200", 1), "wResolution = 200",
                          "wResolution"),
    "blob of the wrong length": (drop_a_blob_byte, "dwExtraLen = 0xd6", "dwExtraLen"),
    "another model": (lambda t: t.replace(f'model "{MODEL}"', 'model "TV-999"'), "tolvan-settings", "model"),
    "unknown field": (lambda t: t.replace("wQuality", "wSharpness", 1), "wSharpness", "wSharpness"),
}


@pytest.mark.parametrize("damage", EXPORT_DAMAGE.keys())
def test_a_damaged_export_is_refused_with_file_line_and_field(user_a, exported, tmp_path, damage):
    change, marker, field = EXPORT_DAMAGE[damage]
    text = change(exported.read_text())
    file = tmp_path / "edited.txt"
    file.write_text(text)
    line = text[: text.index(marker)].count("\n") + 1
    before = settings_file(user_a).read_bytes()
    for dry_run in ([], ["--dry-run"]):
        rc, output = tolvancfg(user_a, "import", win_path(file), *dry_run)
        assert rc == INVALID, output
        assert f"{win_path(file)}:{line}: {field + ': ' if field else ''}" in output
        assert "nothing was imported" in output
        assert settings_file(user_a).read_bytes() == before


def test_set_changes_one_field_and_refuses_what_no_page_allows(user_a):
    file = settings_file(user_a)
    email = (MODEL, "Setting", "TolClass100")
    before = job_streams(file)
    rc, output = tolvancfg(user_a, "set", "Email", "wResolution", "600")
    assert rc == 0, output
    after = job_streams(file)
    assert after[email][12:14] == (600).to_bytes(2, "little")
    assert after[email][:12] + after[email][14:] == before[email][:12] + before[email][14:]
    assert {k: v for k, v in after.items() if k != email} == {k: v for k, v in before.items() if k != email}

    changed = file.read_bytes()
    for args, message in (
        (["Email", "wResolution", "700"], "Email: wResolution: not a resolution"),
        (["Email", "szApName", '"' + "x" * 260 + '"'], "Email: szApName: longer than"),
        (["Fax", "wResolution", "300"], "Fax: not a job"),
    ):
        rc, output = tolvancfg(user_a, "set", *args)
        assert rc == INVALID and message in output, output
        assert file.read_bytes() == changed
    rc, output = tolvancfg(user_a, "set", "Email", "wResolution", str(int.from_bytes(before[email][12:14], "little")))
    assert rc == 0, output
    assert job_streams(file) == before


def test_a_held_file_is_left_alone_with_a_clear_message(user_a, exported, tmp_path):
    """While the file is held as the program holds it for a batch (opened for writing, shared with nobody), every
    command says so and ends with its own exit code; the file keeps its bytes."""
    file = settings_file(user_a)
    before = file.read_bytes()
    held, release = tmp_path / "held", tmp_path / "release"
    holder = subprocess.Popen(
        [str(WINE_ENV), "--prefix", str(user_a.prefix), "exec", str(STORE_PROBE), "hold",
         win_path(file), win_path(held), win_path(release)],
        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
    )
    try:
        deadline = time.monotonic() + 120
        while not held.exists():
            assert holder.poll() is None, "the holder ended before it held the file"
            assert time.monotonic() < deadline, "the holder did not take the file"
            time.sleep(0.05)
        for command in (["set", "Email", "wQuality", "90"], ["import", win_path(exported)], ["show"], ["check"]):
            rc, output = tolvancfg(user_a, *command)
            assert rc == IN_USE and "open in another program" in output, (command, output)
    finally:
        release.touch()
        holder.wait(120)
    assert file.read_bytes() == before

