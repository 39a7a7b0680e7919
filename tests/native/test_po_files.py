"""The translations against the program's texts: every PO file passes msgfmt's checks, translates
every text of the string table (registry key paths excepted) and holds nothing else, and every
translation fits the program's buffers and keeps the printf arguments of its text.

The PO files are compiled with msgfmt and read back with Python's gettext, so these checks do not
depend on the message file builder's own PO reader.
"""

import gettext
import os
import re
import subprocess
from pathlib import Path

import pytest

SOURCE = Path(os.environ.get("TOLVAN_SOURCE", Path(__file__).resolve().parents[2]))
PO_DIR = SOURCE / "driver" / "data" / "po"
PO_FILES = sorted(PO_DIR.glob("*.po"))
# Windows text buffers hold 260 bytes, tool tip buffers 256, each with a terminator.
MAX_BYTES = 255
SCAN_MODE_IDS = ("IDS_SCAN_MODE_COLOR", "IDS_SCAN_MODE_GRAY", "IDS_SCAN_MODE_BLACK_WHITE")

RC_ESCAPES = {"\\\\": "\\", "\\n": "\n", "\\t": "\t", '""': '"', '\\"': '"'}


def rc_unquote(body):
    return re.sub(r'\\\\|\\n|\\t|""|\\"', lambda m: RC_ESCAPES[m.group(0)], body)


def string_table():
    """{resource name: text} of res/strings.rc, in file order."""
    text = (SOURCE / "res" / "strings.rc").read_text(encoding="ascii")
    block = re.search(r"^STRINGTABLE\s*\nBEGIN\n(.*?)^END", text, re.S | re.M)
    assert block, "res/strings.rc has no STRINGTABLE block"
    table = {}
    for line in block.group(1).splitlines():
        line = line.strip()
        if not line or line.startswith("//"):
            continue
        m = re.fullmatch(r'(IDS_\w+)\s+"((?:[^"\\]|\\.|"")*)"', line)
        assert m, f"unexpected line in the string table: {line}"
        assert m.group(1) not in table, f"{m.group(1)} twice"
        table[m.group(1)] = rc_unquote(m.group(2))
    return table


def is_key_path(name):
    return name.endswith("_KEY")


def resource_texts():
    """Every quoted text of the resource scripts, dialogs included."""
    texts = set()
    for rc in (SOURCE / "res").glob("*.rc"):
        for m in re.finditer(r'"((?:[^"\\\n]|\\.|"")*)"', rc.read_text(encoding="latin-1")):
            texts.add(rc_unquote(m.group(1)))
    return texts


def printf_conversions(text):
    return re.findall(r"%[-+ #0]*(?:\d+|\*)?(?:\.(?:\d+|\*))?(?:hh|h|ll|l|L|z|j|t)?[diouxXeEfgGcsp%]", text)


def msgfmt(*args):
    return subprocess.run(["msgfmt", *map(str, args)], capture_output=True, text=True)


@pytest.fixture(scope="module")
def table():
    return string_table()


@pytest.fixture(scope="module", params=PO_FILES, ids=lambda p: p.name)
def catalog(request, tmp_path_factory):
    po = request.param
    mo = tmp_path_factory.mktemp(po.stem) / (po.stem + ".mo")
    result = msgfmt("--statistics", "-o", mo, po)
    assert result.returncode == 0, f"msgfmt {po.name}:\n{result.stderr}"
    with open(mo, "rb") as f:
        translations = gettext.GNUTranslations(f)
    messages = {k: v for k, v in translations._catalog.items() if k != ""}
    return po, messages, result.stderr


def test_there_are_german_and_french_translations():
    assert {p.stem for p in PO_FILES} >= {"de", "fr"}


def test_po_files_pass_msgfmt_and_are_complete(catalog):
    po, _, statistics = catalog
    check = msgfmt("--check", "-o", os.devnull, po)
    assert check.returncode == 0, f"msgfmt --check {po.name}:\n{check.stderr}"
    # msgfmt counts fuzzy and untranslated entries in its statistics; there must be neither.
    assert "fuzzy" not in statistics and "untranslated" not in statistics, statistics


def test_po_files_hold_no_obsolete_entries(catalog):
    po, _, _ = catalog
    obsolete = [n for n, line in enumerate(po.read_text(encoding="utf-8").splitlines(), 1) if line.startswith("#~")]
    assert not obsolete, f"{po.name}: obsolete entries at lines {obsolete}"


def test_every_string_table_text_is_translated(table, catalog):
    po, messages, _ = catalog
    missing = [name for name, text in table.items() if not is_key_path(name) and not messages.get(text)]
    assert not missing, f"{po.name} lacks translations of {missing}"


def test_registry_key_paths_are_never_translated(table, catalog):
    po, messages, _ = catalog
    keys = [name for name, text in table.items() if is_key_path(name) and text in messages]
    assert not keys, f"{po.name} translates the registry key paths {keys}"


def test_po_files_hold_no_stale_texts(table, catalog):
    po, messages, _ = catalog
    known = {text for name, text in table.items() if not is_key_path(name)} | resource_texts()
    stale = sorted(set(messages) - known)
    assert not stale, f"{po.name} translates texts that the program no longer has: {stale}"


def test_po_files_translate_the_same_texts():
    sets = {}
    for po in PO_FILES:
        ids = re.findall(r'^msgid "(.*)"$', po.read_text(encoding="utf-8"), re.M)
        sets[po.name] = set(ids)
    first = next(iter(sets.values()))
    for name, ids in sets.items():
        assert ids == first, f"{name} differs: {sorted(ids ^ first)}"


def test_translations_keep_the_printf_arguments(catalog):
    po, messages, _ = catalog
    for source, translation in messages.items():
        assert printf_conversions(translation) == printf_conversions(source), (po.name, source)


def test_texts_fit_the_buffers_in_the_ansi_code_page(table, catalog):
    po, messages, _ = catalog
    for name, text in table.items():
        assert len(text.encode("cp1252")) <= MAX_BYTES, name
    for source, translation in messages.items():
        try:
            data = translation.encode("cp1252")
        except UnicodeEncodeError as e:
            pytest.fail(f"{po.name}: {translation!r} cannot be shown in code page 1252: {e}")
        assert 0 < len(data) <= MAX_BYTES, (po.name, source, len(data))


def test_scan_modes_stay_apart_in_the_prefix_search(table, catalog):
    # The scan mode list finds its entries by a case-insensitive prefix search.
    po, messages, _ = catalog
    for texts in ([table[i] for i in SCAN_MODE_IDS], [messages[table[i]] for i in SCAN_MODE_IDS]):
        lowered = [t.lower() for t in texts]
        for a in lowered:
            for b in lowered:
                assert a == b or not b.startswith(a), (po.name, texts)
