"""The message file builder (driver/multilng/msgbuild.py) on small PO files: what goes into
Tolvan.msg, in which bytes, and which sources it refuses. The output is read back here with a
reader written from FORMAT.md, independent of the builder's writer."""

import os
import struct
import subprocess
import sys
from pathlib import Path

import pytest

MSGBUILD = os.environ.get(
    "TOLVAN_MSGBUILD", str(Path(__file__).resolve().parents[2] / "driver" / "multilng" / "msgbuild.py")
)

HEADER = """msgid ""
msgstr ""
"Language: {language}\\n"
"MIME-Version: 1.0\\n"
"Content-Type: text/plain; charset={charset}\\n"
"Content-Transfer-Encoding: 8bit\\n"

"""


def po_file(tmp_path, body, language="de", charset="UTF-8", name=None):
    path = tmp_path / (name or f"{language}.po")
    path.write_text(HEADER.format(language=language, charset=charset) + body, encoding="utf-8")
    return path


def run_build(tmp_path, *po, max_bytes=0):
    out = tmp_path / "Tolvan.msg"
    if out.exists():
        out.unlink()
    result = subprocess.run(
        [sys.executable, MSGBUILD, "--output", str(out), "--max-bytes", str(max_bytes), *map(str, po)],
        capture_output=True,
        text=True,
    )
    return result, out


def build(tmp_path, *po, max_bytes=0):
    result, out = run_build(tmp_path, *po, max_bytes=max_bytes)
    assert result.returncode == 0, result.stderr
    return out.read_bytes()


def read_message_file(data):
    """{code: (primary language, code page, [(source bytes, translation bytes)])}"""
    magic, version, count, size, reserved = struct.unpack_from("<4sHHII", data, 0)
    assert (magic, version, size, reserved) == (b"TLMS", 1, len(data), 0)
    languages = {}
    for i in range(count):
        code, primary, code_page, at, entries = struct.unpack_from("<4sHHII", data, 16 + 16 * i)
        pairs = []
        for e in range(entries):
            so, sl, to, tl = struct.unpack_from("<IIII", data, at + 16 * e)
            assert data[so + sl] == 0 and data[to + tl] == 0
            pairs.append((data[so : so + sl], data[to : to + tl]))
        languages[code.rstrip(b"\0").decode("ascii")] = (primary, code_page, pairs)
    return languages


def test_translated_entries_go_in_sorted_and_in_the_ansi_code_page(tmp_path):
    de = po_file(
        tmp_path,
        'msgid "Color"\nmsgstr "Farbe"\n\n'
        'msgid "Apply"\nmsgstr "Übernehmen"\n\n'
        'msgid "Col"\nmsgstr "Spalte"\n\n'
        # untranslated and fuzzy entries are left out, as gettext leaves them
        'msgid "Untranslated"\nmsgstr ""\n\n'
        '#, fuzzy\nmsgid "Unsure"\nmsgstr "Unsicher"\n\n'
        # obsolete entries are ignored
        '#~ msgid "Gone"\n#~ msgstr "Weg"\n',
    )
    fr = po_file(tmp_path, 'msgid "Apply"\nmsgstr "Appliquer"\n', language="fr")
    languages = read_message_file(build(tmp_path, de, fr))
    assert list(languages) == ["de", "fr"]
    assert languages["de"][:2] == (0x07, 1252)
    assert languages["fr"][:2] == (0x0C, 1252)
    assert languages["de"][2] == [(b"Apply", b"\xdcbernehmen"), (b"Col", b"Spalte"), (b"Color", b"Farbe")]
    assert languages["fr"][2] == [(b"Apply", b"Appliquer")]


def test_po_escapes_and_continued_strings(tmp_path):
    de = po_file(
        tmp_path,
        'msgid ""\n"Two "\n"lines\\n"\n"and a \\"quote\\" \\\\ \\t."\n'
        'msgstr "Zwei Zeilen\\nund ein \\"Zitat\\" \\\\ \\t."\n\n'
        '#. comment\n#: res/strings.rc\n#, c-format\nmsgid "File %s"\nmsgstr "Datei %s"\n',
    )
    pairs = read_message_file(build(tmp_path, de))["de"][2]
    assert pairs == [
        (b"File %s", b"Datei %s"),
        (b'Two lines\nand a "quote" \\ \t.', b'Zwei Zeilen\nund ein "Zitat" \\ \t.'),
    ]


def test_same_sources_give_the_same_bytes(tmp_path):
    de = po_file(tmp_path, 'msgid "B"\nmsgstr "b"\n\nmsgid "A"\nmsgstr "a"\n')
    first = build(tmp_path, de)
    assert build(tmp_path, de) == first


@pytest.mark.parametrize(
    "body, language, charset, reason",
    [
        ('msgid "Arrow"\nmsgstr "Pfeil →"\n', "de", "UTF-8", "U+2192"),
        ('msgid "Name"\nmsgstr "Őr"\n', "de", "UTF-8", "U+0150"),
        ('msgid "A"\nmsgstr "x"\n\nmsgid "A"\nmsgstr "y"\n', "de", "UTF-8", "duplicate msgid"),
        ('msgctxt "menu"\nmsgid "A"\nmsgstr "x"\n', "de", "UTF-8", "msgctxt"),
        ('msgid "file"\nmsgid_plural "files"\nmsgstr[0] "Datei"\nmsgstr[1] "Dateien"\n', "de", "UTF-8", "plural"),
        ('msgid "A"\nmsgstr "x"\n', "xx", "UTF-8", "Language"),
        ('msgid "A"\nmsgstr "x"\n', "de", "ISO-8859-1", "charset"),
        ('msgid "A"\nmsgstr "x\\q"\n', "de", "UTF-8", "escape"),
        ('msgid "A"\nmsgstr "x\n', "de", "UTF-8", "quoted"),
        ('msgid "A"\nmsgstr "x"\nmsgstr "y"\n', "de", "UTF-8", "twice"),
        ('msgid "A"\n\nmsgid "B"\nmsgstr "b"\n', "de", "UTF-8", "without msgid or msgstr"),
    ],
)
def test_refuses_sources_it_cannot_build_faithfully(tmp_path, body, language, charset, reason):
    result, out = run_build(tmp_path, po_file(tmp_path, body, language=language, charset=charset))
    assert result.returncode == 1
    assert reason in result.stderr
    assert not out.exists()


def test_refuses_texts_longer_than_the_limit(tmp_path):
    de = po_file(tmp_path, f'msgid "Long"\nmsgstr "{"Ü" * 10}"\n')
    assert read_message_file(build(tmp_path, de, max_bytes=10))["de"][2] == [(b"Long", b"\xdc" * 10)]
    result, _ = run_build(tmp_path, de, max_bytes=9)
    assert result.returncode == 1 and "more than 9" in result.stderr


def test_refuses_two_files_of_one_language(tmp_path):
    a = po_file(tmp_path, 'msgid "A"\nmsgstr "a"\n', name="a.po")
    b = po_file(tmp_path, 'msgid "B"\nmsgstr "b"\n', name="b.po")
    result, _ = run_build(tmp_path, a, b)
    assert result.returncode == 1 and "second catalogue" in result.stderr
