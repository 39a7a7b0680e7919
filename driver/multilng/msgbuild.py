#!/usr/bin/python3
"""Builds the message file Tolvan.msg from gettext PO files, one per language.

    msgbuild.py --output Tolvan.msg [--max-bytes N] de.po fr.po ...

The layout is described in FORMAT.md beside this file. The output depends only on the inputs, so
the same sources always give the same bytes. Texts are converted from UTF-8 to the ANSI code page
of their language; a character that the code page cannot hold stops the build, since the program
would otherwise show a wrong character. Untranslated and fuzzy entries are left out: the program
then shows the English text, as gettext would.
"""

import argparse
import re
import struct
import sys

MAGIC = b"TLMS"
VERSION = 1
HEADER = struct.Struct("<4sHHII")  # magic, version, language count, file size, reserved
LANGUAGE = struct.Struct("<4sHHII")  # code, primary language id, code page, entry table offset, entry count
ENTRY = struct.Struct("<IIII")  # source offset, source length, translation offset, translation length

# Windows primary language ids and the ANSI code page that Windows uses for the language.
LANGUAGES = {
    "de": (0x07, 1252),
    "fr": (0x0C, 1252),
    "en": (0x09, 1252),
    "es": (0x0A, 1252),
    "it": (0x10, 1252),
    "nl": (0x13, 1252),
    "pt": (0x16, 1252),
}


class BuildError(Exception):
    pass


class Entry:
    def __init__(self, line):
        self.line = line
        self.flags = set()
        self.fields = {}  # keyword -> list of string pieces
        self.obsolete = False


def _unquote(text, where):
    if len(text) < 2 or text[0] != '"' or text[-1] != '"':
        raise BuildError(f"{where}: expected a quoted string")
    out = []
    i = 1
    end = len(text) - 1
    escapes = {"n": "\n", "t": "\t", "r": "\r", "a": "\a", "b": "\b", "f": "\f", "v": "\v", "\\": "\\", '"': '"'}
    while i < end:
        c = text[i]
        if c == '"':
            raise BuildError(f"{where}: unescaped quote inside a string")
        if c != "\\":
            out.append(c)
            i += 1
            continue
        if i + 1 >= end:
            raise BuildError(f"{where}: string ends with a backslash")
        e = text[i + 1]
        if e not in escapes:
            raise BuildError(f"{where}: unknown escape \\{e}")
        out.append(escapes[e])
        i += 2
    return "".join(out)


def parse_po(text, name):
    """Returns the entries of a PO file in file order."""
    entries = []
    current = None
    keyword = None
    pending_flags = set()

    def finish():
        if current is None:
            return
        if "msgid" not in current.fields or not any(k.startswith("msgstr") for k in current.fields):
            raise BuildError(f"{name}:{current.line}: entry without msgid or msgstr")
        entries.append(current)

    for number, raw in enumerate(text.split("\n"), 1):
        line = raw.strip()
        where = f"{name}:{number}"
        obsolete = line.startswith("#~")
        if obsolete:
            line = line[2:].strip()
            if not line or line[0] in "#|":
                continue
        elif line.startswith("#,"):
            pending_flags |= {f.strip() for f in line[2:].split(",") if f.strip()}
            continue
        elif line.startswith("#") or not line:
            continue
        if line.startswith('"'):
            if current is None or keyword is None:
                raise BuildError(f"{where}: string without a keyword")
            current.fields[keyword].append(_unquote(line, where))
            continue
        word, _, rest = line.partition(" ")
        if not (word in ("msgctxt", "msgid", "msgid_plural", "msgstr") or re.fullmatch(r"msgstr\[\d+\]", word)):
            raise BuildError(f"{where}: unknown keyword {word}")
        if word == "msgctxt" or (word == "msgid" and (current is None or "msgid" in current.fields)):
            finish()
            current = Entry(number)
            current.flags, pending_flags = pending_flags, set()
        elif current is None:
            raise BuildError(f"{where}: {word} before msgid")
        if word in current.fields:
            raise BuildError(f"{where}: {word} given twice")
        current.obsolete = current.obsolete or obsolete
        keyword = word
        current.fields[word] = [_unquote(rest.strip(), where)]
    finish()
    return entries


def _header_field(header, field):
    for line in header.split("\n"):
        key, sep, value = line.partition(":")
        if sep and key.strip().lower() == field.lower():
            return value.strip()
    return None


def read_catalog(path):
    """Returns (language code, {source: translation}) of one PO file, texts still as str."""
    with open(path, "rb") as f:
        data = f.read()
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as e:
        raise BuildError(f"{path}: not UTF-8 ({e})") from None
    entries = parse_po(text, path)
    header = None
    messages = {}
    for entry in entries:
        if entry.obsolete:
            continue
        if "msgctxt" in entry.fields:
            raise BuildError(f"{path}:{entry.line}: msgctxt is not supported; texts are matched by their text alone")
        if "msgid_plural" in entry.fields:
            raise BuildError(f"{path}:{entry.line}: plural forms are not supported")
        source = "".join(entry.fields["msgid"])
        translation = "".join(entry.fields["msgstr"])
        if source == "":
            if header is not None:
                raise BuildError(f"{path}:{entry.line}: second header entry")
            header = translation
            continue
        if source in messages:
            raise BuildError(f"{path}:{entry.line}: duplicate msgid {source!r}")
        if "fuzzy" in entry.flags or translation == "":
            messages[source] = None
            continue
        messages[source] = translation
    if header is None:
        raise BuildError(f"{path}: no header entry")
    content_type = _header_field(header, "Content-Type") or ""
    if "charset=utf-8" not in content_type.replace(" ", "").lower():
        raise BuildError(f"{path}: the header must declare charset=UTF-8")
    language = (_header_field(header, "Language") or "").split("_")[0].lower()
    if language not in LANGUAGES:
        raise BuildError(f"{path}: unknown or missing Language in the header ({language!r})")
    return language, {k: v for k, v in messages.items() if v is not None}


def _encode(text, code_page, path, max_bytes):
    codec = f"cp{code_page}"
    try:
        data = text.encode(codec)
    except UnicodeEncodeError as e:
        bad = text[e.start : e.end]
        raise BuildError(
            f"{path}: {bad!r} (U+{ord(bad[0]):04X}) cannot be written in code page {code_page}, in {text!r}"
        ) from None
    if b"\0" in data:
        raise BuildError(f"{path}: a text holds a zero character: {text!r}")
    if max_bytes and len(data) > max_bytes:
        raise BuildError(f"{path}: {len(data)} bytes, more than {max_bytes}: {text!r}")
    return data


def build(catalogs, max_bytes=0):
    """catalogs: list of (path, language, {source: translation}). Returns the file's bytes."""
    seen = set()
    tables = []
    for path, language, messages in catalogs:
        if language in seen:
            raise BuildError(f"{path}: a second catalogue for language {language}")
        seen.add(language)
        lang_id, code_page = LANGUAGES[language]
        pairs = sorted(
            (_encode(s, code_page, path, max_bytes), _encode(t, code_page, path, max_bytes))
            for s, t in messages.items()
        )
        for (a, _), (b, _) in zip(pairs, pairs[1:]):
            if a == b:
                raise BuildError(f"{path}: two msgids give the same bytes: {a!r}")
        tables.append((language, lang_id, code_page, pairs))

    offset = HEADER.size + LANGUAGE.size * len(tables)
    entry_offsets = []
    for _, _, _, pairs in tables:
        entry_offsets.append(offset)
        offset += ENTRY.size * len(pairs)
    pool = bytearray()
    pool_start = offset

    def put(data):
        at = pool_start + len(pool)
        pool.extend(data)
        pool.append(0)
        return at

    entry_blobs = []
    for _, _, _, pairs in tables:
        blob = bytearray()
        for source, translation in pairs:
            blob += ENTRY.pack(put(source), len(source), put(translation), len(translation))
        entry_blobs.append(bytes(blob))

    size = pool_start + len(pool)
    if size > 0xFFFFFFFF:
        raise BuildError("the message file would exceed 4 GiB")
    out = bytearray(HEADER.pack(MAGIC, VERSION, len(tables), size, 0))
    for (language, lang_id, code_page, pairs), at in zip(tables, entry_offsets):
        out += LANGUAGE.pack(language.encode("ascii"), lang_id, code_page, at, len(pairs))
    for blob in entry_blobs:
        out += blob
    out += pool
    assert len(out) == size
    return bytes(out)


def main(argv):
    parser = argparse.ArgumentParser(description="Builds Tolvan.msg from PO files.")
    parser.add_argument("--output", required=True)
    parser.add_argument(
        "--max-bytes",
        type=int,
        default=0,
        help="refuse texts longer than this many bytes in their code page (0: no limit)",
    )
    parser.add_argument("po", nargs="+")
    args = parser.parse_args(argv)
    try:
        catalogs = [(path, *read_catalog(path)) for path in args.po]
        data = build(catalogs, args.max_bytes)
    except (BuildError, OSError) as e:
        print(f"msgbuild: {e}", file=sys.stderr)
        return 1
    with open(args.output, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
