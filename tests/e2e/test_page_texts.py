"""What the pages of the installed program say, seen through the X server as a person sees it: the hint line and
the tool tips follow the real pointer over the page's statics (the resolution caption and the two labels of the
scan settings), and on a German or French system no label, button or entry of the main window or of any of its
pages is left in English. Window texts are read by window-probe from another process of the prefix; screenshots of
the main window in each language are left in the build tree's screenshots folder."""

import dataclasses
import re
import time

import pytest

import desktop
from demo_installation import demo_installation
from test_main_window import SCREENSHOTS, Program, poll
from windows_programs import REPO

# Each wait ends as soon as its condition holds; the bound only has to outlast a loaded machine.
WAIT = 60.0

RESOLUTION_CAPTION_ID = 1042
SCAN_MODE_LABEL_ID = 1068
RESOLUTION_LABEL_ID = 1069
SCAN_MODE_LIST_ID = 1040

# The hint over the resolution caption names the resolution it shows.
RESOLUTION_HINTS = {
    "150 dpi": "150 dpi: small files and quick scans, good for e-mail and for viewing on screen.",
    "300 dpi": "300 dpi: the usual choice for documents, printing and text recognition.",
    "600 dpi": "600 dpi: fine detail for photos and small print. Files are about four times as large as at 300 dpi.",
    "1200 dpi": "1200 dpi: the finest detail, for enlarging small originals. Scanning takes longer and files are very "
    "large.",
}
LABEL_TIPS = {
    SCAN_MODE_LABEL_ID: "Scan mode: color, grayscale, or black and white",
    RESOLUTION_LABEL_ID: "Resolution in dots per inch (dpi)",
}

PO_DIR = REPO / "driver" / "data" / "po"
LANGUAGES = {"de": "de_DE.UTF-8", "fr": "fr_FR.UTF-8"}
# Windows whose text is the user's data or a name rather than the program's wording: the selected entry of a
# combo box and the entries of every list but the scan modes (format, program and printer names), the File page's
# target path; and the job tabs, whose window texts are the jobs' names, carried but never drawn.
NAMED_CLASSES = {"combobox", "msctls_trackbar32", "edit"}
JOB_TAB_KEYS = {f"main/{tab}" for tab in (1014, 1015, 1016, 1019, 1020, 1021, 1027)}


@pytest.fixture(scope="session")
def installation():
    with demo_installation("e2e-page-texts") as installed:
        yield installed


def run_on(installation, locale):
    """A program on a system of that locale; stopped by the caller."""
    return Program(dataclasses.replace(installation, env=dict(installation.env, LC_ALL=locale)))


def probe_lines(program, command):
    """The probe's output lines, or None when it found nothing (yet)."""
    done = program.run_probe(command)
    if done.returncode != 0:
        return None
    return done.stdout.splitlines()


def shown_page(program):
    """The pointer probe's values of the shown page: rectangles as tuples, everything else as text."""
    lines = probe_lines(program, "pointer")
    if lines is None:
        return None
    values = {"tool_tip": []}
    for line in lines:
        key, sep, value = line.partition("=")
        if not sep:
            continue
        if key == "tool_tip":
            values[key].append(value)
        elif key.endswith("_rect") or key.startswith("rect_"):
            values[key] = tuple(int(n) for n in value.split(","))
        else:
            values[key] = value
    return values


def point_at(x, y):
    """Moves the real pointer to a screen point in two steps, as a hand arrives there."""
    desktop.xdotool("mousemove", x - 3, y - 3)
    time.sleep(desktop.STEP_PAUSE)
    desktop.xdotool("mousemove", x, y)


def middle(rect):
    left, top, right, bottom = rect
    return (left + right) // 2, (top + bottom) // 2


def hint_becomes(program, expected):
    """Waits until the hint line shows the expected text; returns the last text seen."""
    seen = poll(lambda: (shown_page(program) or {}).get("hint") == expected, WAIT)
    return expected if seen else (shown_page(program) or {}).get("hint")


def test_hint_and_tool_tips_follow_the_real_pointer_over_the_page_statics(installation):
    program = run_on(installation, "C.UTF-8")
    try:
        program.start()
        page = poll(lambda: shown_page(program), WAIT)
        assert page, "no page shown"
        # A corner of the page that no control covers: the page's own hint.
        left, top, right, bottom = page["page_rect"]
        point_at(right - 3, bottom - 3)
        page_hint = poll(lambda: (shown_page(program) or {}).get("hint"), WAIT)
        print(f"hint over the page: {page_hint!r}")

        caption = page[f"text_{RESOLUTION_CAPTION_ID}"]
        assert caption in RESOLUTION_HINTS, caption
        point_at(*middle(page[f"rect_{RESOLUTION_CAPTION_ID}"]))
        seen = hint_becomes(program, RESOLUTION_HINTS[caption])
        assert seen == RESOLUTION_HINTS[caption], f"over {caption!r} the hint line says {seen!r}"
        assert seen != page_hint

        for label, tip in LABEL_TIPS.items():
            point_at(*middle(page[f"rect_{label}"]))
            seen = hint_becomes(program, tip)
            assert seen == tip, f"over label {label} the hint line says {seen!r}"
            shown = poll(lambda: tip in (shown_page(program) or {}).get("tool_tip", []), WAIT)
            assert shown, f"no tool tip over label {label}: {shown_page(program)['tool_tip']!r}"
        # Back on the page, its own hint returns.
        point_at(right - 3, bottom - 3)
        assert hint_becomes(program, page_hint) == page_hint
    finally:
        program.stop()


def window_texts(program):
    """{key: (class, text)} of every window of the main window and its pages, and {key: entry} of the scan mode
    lists, as window-probe reads them."""
    lines = poll(lambda: probe_lines(program, "texts"), WAIT)
    assert lines, "window-probe found no main window"
    classes, texts, entries = {}, {}, {}
    for line in lines:
        key, _, value = line.partition("\t")
        parts = key.split("/")
        if value.startswith("class="):
            classes[key] = value[len("class=") :].lower()
        elif len(parts) == 3:
            if parts[1] == str(SCAN_MODE_LIST_ID):
                entries[key] = value
        else:
            texts[key] = value
    return {key: (classes[key], text) for key, text in texts.items()}, entries


def deliberately_same(language):
    """The texts whose translation into the language is the English text itself, on purpose ("OK", "150 dpi")."""
    po = (PO_DIR / f"{language}.po").read_text(encoding="utf-8")
    return {m.group(1) for m in re.finditer(r'^msgid "(.+)"\nmsgstr "(.+)"$', po, re.M) if m.group(1) == m.group(2)}


def program_texts(installation, locale, screenshot=None):
    program = run_on(installation, locale)
    try:
        window = program.start()
        texts = window_texts(program)
        if screenshot:
            SCREENSHOTS.mkdir(parents=True, exist_ok=True)
            x, y, width, height = desktop.geometry(window)
            desktop.screenshot().crop((x, y, x + width, y + height)).save(SCREENSHOTS / screenshot)
        return texts
    finally:
        program.stop()


@pytest.fixture(scope="session")
def english(installation):
    return program_texts(installation, "C.UTF-8")


@pytest.mark.parametrize("language", sorted(LANGUAGES))
def test_no_text_of_any_page_is_left_in_english(installation, english, language):
    english_texts, english_entries = english
    texts, entries = program_texts(installation, LANGUAGES[language], f"main_window_{language}.png")
    assert texts.keys() == english_texts.keys(), "the windows differ between the languages"
    assert entries.keys() == english_entries.keys(), "the scan mode lists differ between the languages"
    same = deliberately_same(language)

    def left_in_english(key, text, translated):
        return re.search("[A-Za-z]", text) and translated == text and text not in same

    untranslated = [
        f"{key}: {text!r}"
        for key, (kind, text) in english_texts.items()
        if kind not in NAMED_CLASSES and key not in JOB_TAB_KEYS and left_in_english(key, text, texts[key][1])
    ]
    untranslated += [
        f"{key}: {text!r}" for key, text in english_entries.items() if left_in_english(key, text, entries[key])
    ]
    print(f"{language}: {len(texts)} windows, {len(entries)} scan mode entries")
    assert not untranslated, f"left in English under {LANGUAGES[language]}:\n" + "\n".join(untranslated)
