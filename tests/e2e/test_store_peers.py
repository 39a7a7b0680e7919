"""The settings store against compound-file implementations that share no code with it: what it
writes must read back byte for byte with olefile, and what the cfb package writes must read
correctly through the store."""

import pytest

from compound_files import (
    RECORD_SIZE,
    pattern_blob,
    pattern_record,
    read_compound_file,
    stored_form,
    write_with_peer,
)
from windows_programs import MODEL, make_template, probe, probe_write, win_path

STG_E_FILENOTFOUND = 0x80030002


def setting(name):
    return (MODEL, "Setting", name)


class TestWhatTheStoreWrites:
    def test_each_batch_changes_exactly_its_job_stream(self, tmp_path):
        file = make_template(tmp_path)
        expected, storages = read_compound_file(file)
        assert (MODEL, "Setting", "ProBtn") in storages

        writes = [
            # mask, stream path, record, blob
            (0x100, setting("TolClass100"), pattern_record(1), b""),
            (0x200, setting("TolClass200"), pattern_record(2, 300), pattern_blob(2, 300)),
            # Past 4096 bytes a stream leaves the small-stream area for sectors of its own.
            (0x2000, setting("TolClass2000"), pattern_record(3, 5000), pattern_blob(3, 5000)),
            (0x01000000, setting("ProBtn") + ("TolClass1000000",), pattern_record(4, 40), pattern_blob(4, 40)),
            (0xFF000000, setting("TolClassff000000"), pattern_record(5), b""),
            # A stream rewritten shorter keeps nothing of its old tail, whichever area it moves between.
            (0x2000, setting("TolClass2000"), pattern_record(6), b""),
            (0x200, setting("TolClass200"), pattern_record(7, 4200), pattern_blob(7, 4200)),
        ]
        for mask, path, record, blob in writes:
            rc, result = probe_write(file, MODEL, mask, record, blob)
            assert rc == 0, result["output"]
            expected[path] = stored_form(record) + blob
            streams, _ = read_compound_file(file)
            assert streams == expected, f"after writing {mask:#x}"
            assert streams[path][1130:1132] == b"\0\0"
        # Records without a blob are exactly one record long.
        assert len(expected[setting("TolClass100")]) == RECORD_SIZE
        assert len(expected[setting("TolClass2000")]) == RECORD_SIZE

    def test_missing_storages(self, tmp_path):
        file = write_with_peer(tmp_path, "bare.dat", [("Note", b"keep me")])
        before, _ = read_compound_file(file)

        # A missing model and "Setting" are created on the way ...
        record = pattern_record(8, 10)
        rc, result = probe_write(file, "Fresh", 0x40, record, pattern_blob(8, 10))
        assert rc == 0, result["output"]
        streams, _ = read_compound_file(file)
        assert streams == {**before, ("Fresh", "Setting", "TolClass40"): stored_form(record) + pattern_blob(8, 10)}

        # ... a missing "ProBtn" is not, and the failed batch leaves the file as it was.
        rc, result = probe_write(file, "Fresh", 0x02000000, pattern_record(9))
        assert rc == 1 and result["write"] == STG_E_FILENOTFOUND, result["output"]
        assert read_compound_file(file)[0] == streams

    def test_a_missing_file_is_not_created(self, tmp_path):
        file = tmp_path / "absent.dat"
        rc, result = probe_write(file, MODEL, 0x100, pattern_record(1))
        assert rc == 1 and result["open"] == STG_E_FILENOTFOUND, result["output"]
        assert list(tmp_path.iterdir()) == []


# A file as another implementation lays it out: streams in the root ahead of the models, two
# models whose name order and length order disagree, small and large streams, a "ProBtn" stream.
SHORT_NAME_MODEL = "ZZ-100"
LONG_NAME_MODEL = "AA-2000"
PEER_JOBS = {
    # (model, mask): (stream path below the model, record, blob)
    (SHORT_NAME_MODEL, 0x100): ("Setting/TolClass100", pattern_record(11), b""),
    (SHORT_NAME_MODEL, 0x200): ("Setting/TolClass200", pattern_record(12, 5000), pattern_blob(12, 5000)),
    (SHORT_NAME_MODEL, 0x2): ("Setting/TolClass2", pattern_record(13, 262), pattern_blob(13, 262)),
    (SHORT_NAME_MODEL, 0xFF000000): ("Setting/TolClassff000000", pattern_record(14), b""),
    (SHORT_NAME_MODEL, 0x01000000): ("Setting/ProBtn/TolClass1000000", pattern_record(15, 40), pattern_blob(15, 40)),
    (LONG_NAME_MODEL, 0x100): ("Setting/TolClass100", pattern_record(16, 7), pattern_blob(16, 7)),
}
# Streams that hold less than their record claims: a blob cut short, and a stream shorter than a record.
CUT_BLOB = pattern_record(17, 10000)
SHORT_STREAM = pattern_record(18)[:500]


@pytest.fixture(scope="module")
def peer_file(tmp_path_factory):
    folder = tmp_path_factory.mktemp("peer")
    entries = [("AB", b"\1\2"), ("Note", b"root stream")]
    for model in (SHORT_NAME_MODEL, LONG_NAME_MODEL):
        entries.append((model + "/SpecInfo", bytes(6) + (0x340).to_bytes(4, "little") + bytes(4)))
    for (model, _), (path, record, blob) in PEER_JOBS.items():
        entries.append((f"{model}/{path}", bytes(record) + blob))
    entries.append((LONG_NAME_MODEL + "/Setting/TolClass40", bytes(CUT_BLOB) + pattern_blob(17, 100)))
    entries.append((LONG_NAME_MODEL + "/Setting/TolClass1000", SHORT_STREAM))
    entries.append((LONG_NAME_MODEL + "/Setting/ProBtn", None))
    return write_with_peer(folder, "peer.dat", entries)


class TestWhatThePeerWrites:
    def test_models_are_the_storages_of_the_root(self, peer_file):
        rc, result = probe("models", win_path(peer_file))
        assert rc == 0, result["output"]
        # Compound files keep names in (length, upper-case) order, and ole32 enumerates in that order: the
        # shorter name first, although it sorts later alphabetically. The root streams are skipped.
        assert result["models"] == [SHORT_NAME_MODEL, LONG_NAME_MODEL]

    @pytest.mark.parametrize("model,mask", list(PEER_JOBS), ids=[f"{m}-{k:#x}" for m, k in PEER_JOBS])
    def test_records_and_blobs(self, peer_file, model, mask):
        _, record, blob = PEER_JOBS[(model, mask)]
        rc, result = probe("read", win_path(peer_file), model, hex(mask))
        assert rc == 0, result["output"]
        assert result["record"] == stored_form(record)
        assert result["extra_len"] == len(blob)
        assert result["blob"] == blob

    def test_blob_buffers_of_another_size(self, peer_file):
        _, _, blob = PEER_JOBS[(SHORT_NAME_MODEL, 0x200)]
        rc, result = probe("read", win_path(peer_file), SHORT_NAME_MODEL, "0x200", "100")
        assert rc == 0 and result["blob"] == blob[:100], result["output"]
        rc, result = probe("read", win_path(peer_file), SHORT_NAME_MODEL, "0x200", "6000")
        assert rc == 0 and result["blob"] == blob + bytes(1000), result["output"]

    def test_streams_holding_less_than_they_claim(self, peer_file):
        # The blob length is a number from the file: it is cut to what the stream holds.
        rc, result = probe("read", win_path(peer_file), LONG_NAME_MODEL, "0x40")
        assert rc == 0, result["output"]
        assert result["extra_len"] == 100
        assert result["blob"] == pattern_blob(17, 100)
        assert result["record"][:1126] == CUT_BLOB[:1126]
        # A stream shorter than a record fills what it has and leaves the rest of the caller's (zeroed) record.
        rc, result = probe("read", win_path(peer_file), LONG_NAME_MODEL, "0x1000")
        assert rc == 0, result["output"]
        assert result["record"] == SHORT_STREAM + bytes(RECORD_SIZE - len(SHORT_STREAM))
        assert result["extra_len"] == 0

    def test_writing_into_a_peer_file_keeps_everything_else(self, peer_file, tmp_path):
        file = tmp_path / "copy.dat"
        file.write_bytes(peer_file.read_bytes())
        expected, _ = read_compound_file(file)
        writes = [
            (LONG_NAME_MODEL, 0x100, ("Setting", "TolClass100"), pattern_record(19, 3), pattern_blob(19, 3)),
            (SHORT_NAME_MODEL, 0x01000000, ("Setting", "ProBtn", "TolClass1000000"), pattern_record(20), b""),
        ]
        for model, mask, path, record, blob in writes:
            rc, result = probe_write(file, model, mask, record, blob)
            assert rc == 0, result["output"]
            expected[(model,) + path] = stored_form(record) + blob
        assert read_compound_file(file)[0] == expected
