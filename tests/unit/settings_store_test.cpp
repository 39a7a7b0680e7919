// The settings store against real ole32: where records go, what a read leaves in the caller's
// record, and that a write batch never damages what the user had.
#include "compound_file.h"

#include "settings/job_table.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tolvan::test {
namespace {

constexpr char kModel[] = "Model";

class SettingsStoreTest : public testing::Test {
protected:
    ScratchFolder folder;
    std::string file = folder.File("Tolvan.dat");
    CSettingsStore store;

    HRESULT OpenForWriting() { return store.Open(file.c_str(), StgMode::kReadWrite); }
};

TEST_F(SettingsStoreTest, ModelEnumerationSkipsStreamsAndStopsAtTheEnd) {
    CompoundFileBuilder(file)
        .Stream({"AAA"}, Bytes(3, 1))
        .Stream({"BBB"}, Bytes(3, 1))
        .Storage({"ScannerOne"})
        .Storage({"ScannerTwo"})
        .Finish();
    ASSERT_EQ(store.Open(file.c_str(), StgMode::kRead), S_OK);
    char name[kModelNameBytes];
    char seen[2][kModelNameBytes] = {};
    ASSERT_EQ(store.FirstModelName(name), S_OK);
    std::memcpy(seen[0], name, sizeof name);
    ASSERT_EQ(store.NextModelName(name), S_OK);
    std::memcpy(seen[1], name, sizeof name);
    EXPECT_EQ(store.NextModelName(name), S_FALSE);
    // Both storages come back, whatever order the directory keeps them in, and no stream does.
    EXPECT_TRUE((std::string(seen[0]) == "ScannerOne" && std::string(seen[1]) == "ScannerTwo") ||
                (std::string(seen[1]) == "ScannerOne" && std::string(seen[0]) == "ScannerTwo"));
}

TEST_F(SettingsStoreTest, ModelEnumerationResults) {
    char name[kModelNameBytes];
    EXPECT_EQ(store.FirstModelName(name), E_FAIL) << "no file open";
    CompoundFileBuilder(file).Stream({"OnlyAStream"}, Bytes(5, 1)).Finish();
    ASSERT_EQ(store.Open(file.c_str(), StgMode::kRead), S_OK);
    EXPECT_EQ(store.FirstModelName(nullptr), E_POINTER);
    EXPECT_EQ(store.FirstModelName(name), S_FALSE);
    // Without an enumerator, Next starts over as First does.
    CompoundFileBuilder(folder.File("empty.dat")).Finish();
    ASSERT_EQ(store.Open(folder.File("empty.dat").c_str(), StgMode::kRead), S_OK);
    EXPECT_EQ(store.NextModelName(name), S_FALSE);
}

TEST_F(SettingsStoreTest, JobStreamsArePlacedByMask) {
    WriteSettingsFile(file, {JobMask::kEmail});
    struct Case {
        uint32_t mask;
        std::initializer_list<const char*> where;
    };
    const Case cases[] = {
        {0x1000, {kModel, "Setting", "TolClass1000"}},
        {0x01000000, {kModel, "Setting", "ProBtn", "TolClass1000000"}},
        {0xFF000000, {kModel, "Setting", "TolClassff000000"}},
        {0x2, {kModel, "Setting", "TolClass2"}},
    };
    for (const Case& c : cases) {
        const JobRecord record = PatternRecord(static_cast<uint8_t>(c.mask >> 3));
        ASSERT_EQ(OpenForWriting(), S_OK);
        EXPECT_EQ(store.WriteJob(kModel, c.mask, &record, nullptr), S_OK) << std::hex << c.mask;
        EXPECT_EQ(store.Close(), S_OK);
        EXPECT_EQ(ReadStream(file, c.where), RecordBytes(record)) << std::hex << c.mask;

        JobRecord back{};
        ASSERT_EQ(store.Open(file.c_str(), StgMode::kRead), S_OK);
        EXPECT_EQ(store.ReadJob(kModel, c.mask, &back, nullptr), S_OK);
        EXPECT_EQ(RecordBytes(back), RecordBytes(record));
        store.Close();
    }
}

TEST_F(SettingsStoreTest, ProBtnIsNeverCreated) {
    WriteSettingsFile(file, {JobMask::kEmail}, /*withProBtn=*/false);
    const Bytes before = FileBytes(file);
    const JobRecord record = PatternRecord(9);
    ASSERT_EQ(OpenForWriting(), S_OK);
    EXPECT_EQ(store.WriteJob(kModel, 0x01000000, &record, nullptr), STG_E_FILENOTFOUND);
    EXPECT_EQ(store.Close(), S_OK);
    EXPECT_EQ(FileBytes(file), before);
}

TEST_F(SettingsStoreTest, WritingCreatesAMissingModelOrSetting) {
    CompoundFileBuilder(file).Storage({"Other"}).Finish();
    const JobRecord record = PatternRecord(3);
    ASSERT_EQ(OpenForWriting(), S_OK);
    EXPECT_EQ(store.WriteJob("NewModel", JobMask::kFile, &record, nullptr), S_OK);
    ASSERT_EQ(store.Close(), S_OK);
    EXPECT_EQ(ReadStream(file, {"NewModel", "Setting", "TolClass40"}), RecordBytes(record));

    CompoundFileBuilder(file).Stream({kModel, "SpecInfo"}, SpecInfo(0x40)).Finish();
    ASSERT_EQ(OpenForWriting(), S_OK);
    EXPECT_EQ(store.WriteJob(kModel, JobMask::kFile, &record, nullptr), S_OK);
    ASSERT_EQ(store.Close(), S_OK);
    EXPECT_EQ(ReadStream(file, {kModel, "Setting", "TolClass40"}), RecordBytes(record));
    EXPECT_TRUE(HasElement(file, {kModel, "SpecInfo"}));
}

TEST_F(SettingsStoreTest, NullModelNeedsAnOpenModelStorage) {
    WriteSettingsFile(file, {JobMask::kEmail});
    JobRecord record{};
    uint8_t info[kSpecInfoSize];
    ASSERT_EQ(OpenForWriting(), S_OK);
    EXPECT_EQ(store.ReadJob(nullptr, JobMask::kEmail, &record, nullptr), STG_E_INVALIDPARAMETER);
    EXPECT_EQ(store.WriteJob(nullptr, JobMask::kEmail, &record, nullptr), STG_E_INVALIDPARAMETER);
    EXPECT_EQ(store.ReadSpecInfo(nullptr, info), STG_E_INVALIDPARAMETER);
    ASSERT_EQ(store.OpenModel(kModel, StgMode::kRead), S_OK);
    EXPECT_EQ(store.ReadSpecInfo(nullptr, info), S_OK);
    EXPECT_EQ(store.ReadJob(nullptr, JobMask::kEmail, &record, nullptr), S_OK);
}

TEST_F(SettingsStoreTest, SpecInfoMustBeFourteenBytes) {
    for (size_t size : {13u, 14u, 15u, 0u}) {
        Bytes info = SpecInfo(0x2341);
        info.resize(size, 0);
        CompoundFileBuilder(file).Stream({kModel, "SpecInfo"}, info).Finish();
        uint8_t out[kSpecInfoSize] = {};
        ASSERT_EQ(store.Open(file.c_str(), StgMode::kRead), S_OK);
        const HRESULT hr = store.ReadSpecInfo(kModel, out);
        if (size == kSpecInfoSize) {
            EXPECT_EQ(hr, S_OK);
            EXPECT_EQ(Bytes(out, out + kSpecInfoSize), info);
        } else {
            EXPECT_EQ(hr, E_FAIL) << size;
        }
        store.Close();
    }
}

TEST_F(SettingsStoreTest, ShortStreamLeavesTheRecordTailAsTheCallerHadIt) {
    const Bytes stored = RecordBytes(PatternRecord(5));
    CompoundFileBuilder(file)
        .Stream({kModel, "Setting", "TolClass100"}, Bytes(stored.begin(), stored.begin() + 600))
        .Finish();
    JobRecord record;
    std::memset(&record, 0xEE, sizeof record);
    record.ap.dwExtraLen = 0;
    ASSERT_EQ(store.Open(file.c_str(), StgMode::kRead), S_OK);
    EXPECT_EQ(store.ReadJob(kModel, JobMask::kEmail, &record, nullptr), S_OK);
    const Bytes got = RecordBytes(record);
    EXPECT_TRUE(std::equal(stored.begin(), stored.begin() + 600, got.begin()));
    EXPECT_EQ(got[700], 0xEE);
    EXPECT_EQ(got[1125], 0xEE);
    EXPECT_EQ(record.ap.dwExtraLen, 0u);
}

TEST_F(SettingsStoreTest, ExtraBlobLengthIsLearnedAndBoundedByTheStream) {
    struct Case {
        uint32_t storedLength; // what the record claims
        size_t bytesBehind;    // what the stream really holds behind the record
        uint32_t expected;     // what a read without a buffer reports
    };
    const Case cases[] = {
        {156, 156, 156},       {156, 200, 156}, {157, 156, 156}, {156, 100, 100},
        {0xFFFFFFF0u, 40, 40}, {50, 0, 0},      {0, 30, 0},
    };
    for (const Case& c : cases) {
        Bytes content = RecordBytes(PatternRecord(7, c.storedLength));
        for (size_t i = 0; i < c.bytesBehind; ++i)
            content.push_back(static_cast<uint8_t>(i + 1));
        CompoundFileBuilder(file).Stream({kModel, "Setting", "TolClass200"}, content).Finish();
        ASSERT_EQ(store.Open(file.c_str(), StgMode::kRead), S_OK);

        JobRecord record{};
        EXPECT_EQ(store.ReadJob(kModel, JobMask::kCopy, &record, nullptr), S_OK);
        EXPECT_EQ(record.ap.dwExtraLen, c.expected) << c.storedLength << " " << c.bytesBehind;
        EXPECT_EQ(record.ap.pExtraLow, 0u);

        // A caller's buffer larger than the blob keeps its tail; a smaller one is never overrun.
        for (uint32_t bufferLength : {c.expected, c.expected + 8, c.expected / 2}) {
            Bytes buffer(bufferLength + 4, 0xCC);
            JobRecord again{};
            again.ap.dwExtraLen = bufferLength;
            EXPECT_EQ(store.ReadJob(kModel, JobMask::kCopy, &again, buffer.data()), S_OK);
            EXPECT_EQ(again.ap.dwExtraLen, bufferLength);
            const uint32_t filled = std::min(bufferLength, c.expected);
            for (uint32_t i = 0; i < filled; ++i)
                ASSERT_EQ(buffer[i], static_cast<uint8_t>(i + 1));
            for (size_t i = filled; i < buffer.size(); ++i)
                ASSERT_EQ(buffer[i], 0xCC) << "byte " << i << " of a " << bufferLength << "-byte buffer";
        }
        store.Close();
    }
}

TEST_F(SettingsStoreTest, RecordsAreStoredExactlyWithTheirBlob) {
    WriteSettingsFile(file, {JobMask::kEmail});
    JobRecord plain = PatternRecord(11);
    plain.ap.pExtraLow = 0x5678; // an in-memory reference is never stored
    JobRecord office = PatternRecord(12, 262);
    Bytes blob(262);
    for (size_t i = 0; i < blob.size(); ++i)
        blob[i] = static_cast<uint8_t>(255 - i);

    ASSERT_EQ(OpenForWriting(), S_OK);
    ASSERT_EQ(store.WriteJob(kModel, JobMask::kDUzar, &plain, nullptr), S_OK);
    ASSERT_EQ(store.WriteJob(nullptr, JobMask::kOffice, &office, blob.data()), S_OK);
    ASSERT_EQ(store.Close(), S_OK);

    JobRecord expected = plain;
    expected.ap.pExtraLow = 0;
    EXPECT_EQ(ReadStream(file, {kModel, "Setting", "TolClass1000"}), RecordBytes(expected));
    Bytes officeBytes = RecordBytes(office);
    officeBytes.insert(officeBytes.end(), blob.begin(), blob.end());
    EXPECT_EQ(ReadStream(file, {kModel, "Setting", "TolClass2"}), officeBytes);

    // A length without a blob to write is refused before anything is touched.
    ASSERT_EQ(OpenForWriting(), S_OK);
    EXPECT_EQ(store.WriteJob(kModel, JobMask::kOffice, &office, nullptr), E_POINTER);
    EXPECT_EQ(store.Close(), S_OK);
    EXPECT_EQ(ReadStream(file, {kModel, "Setting", "TolClass2"}), officeBytes);
}

TEST_F(SettingsStoreTest, UninterpretedHeaderBytesSurviveAReadAndWrite) {
    WriteSettingsFile(file, {JobMask::kFile});
    const Bytes original = *ReadStream(file, {kModel, "Setting", "TolClass40"});
    JobRecord record{};
    ASSERT_EQ(OpenForWriting(), S_OK);
    ASSERT_EQ(store.ReadJob(kModel, JobMask::kFile, &record, nullptr), S_OK);
    record.wResolution = 600;
    ASSERT_EQ(store.WriteJob(kModel, JobMask::kFile, &record, nullptr), S_OK);
    ASSERT_EQ(store.Close(), S_OK);
    const Bytes written = *ReadStream(file, {kModel, "Setting", "TolClass40"});
    ASSERT_EQ(written.size(), kJobRecordSize);
    EXPECT_TRUE(std::equal(original.begin(), original.begin() + 6, written.begin()));
    EXPECT_EQ(original[7], written[7]);
    EXPECT_EQ(written[12] | written[13] << 8, 600);
}

// The first save of a page runs while the tabs are read: the model storage is open for reading, so the write
// without a model name fails and the retry with the name succeeds.
TEST_F(SettingsStoreTest, FirstSaveDuringTabBuilding) {
    WriteSettingsFile(file, {JobMask::kEmail, JobMask::kFile});
    ASSERT_EQ(OpenForWriting(), S_OK);
    char model[kModelNameBytes];
    ASSERT_EQ(store.FirstModelName(model), S_OK);
    uint8_t info[kSpecInfoSize];
    ASSERT_EQ(store.ReadSpecInfo(model, info), S_OK);
    JobRecord record{};
    ASSERT_EQ(store.ReadJob(model, JobMask::kEmail, &record, nullptr), S_OK);
    record.dwStored = 1;
    EXPECT_LT(store.WriteJob(nullptr, JobMask::kEmail, &record, nullptr), 0);
    EXPECT_EQ(store.WriteJob(model, JobMask::kEmail, &record, nullptr), S_OK);
    JobRecord file40{};
    EXPECT_EQ(store.ReadJob(model, JobMask::kFile, &file40, nullptr), S_OK);
    EXPECT_EQ(store.Close(), S_OK);
    EXPECT_EQ(ReadStream(file, {kModel, "Setting", "TolClass100"}), RecordBytes(record));
}

TEST_F(SettingsStoreTest, OpenFailuresLeaveTheFileAlone) {
    EXPECT_EQ(OpenForWriting(), STG_E_FILENOTFOUND);
    EXPECT_EQ(store.Open(file.c_str(), StgMode::kRead), STG_E_FILENOTFOUND);
    EXPECT_EQ(::GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);

    WriteSettingsFile(file, {JobMask::kEmail});
    const Bytes before = FileBytes(file);
    ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(OpenForWriting(), STG_E_ACCESSDENIED);
    ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_ARCHIVE);

    // Exclusive use: while one store has the file, another cannot open it in any mode.
    CSettingsStore other;
    ASSERT_EQ(OpenForWriting(), S_OK);
    EXPECT_LT(other.Open(file.c_str(), StgMode::kReadWrite), 0);
    EXPECT_LT(other.Open(file.c_str(), StgMode::kRead), 0);
    store.Close();
    EXPECT_EQ(other.Open(file.c_str(), StgMode::kRead), S_OK);
    other.Close();
    EXPECT_EQ(FileBytes(file), before);

    // A file that is not a compound file fails to open and is not touched.
    const Bytes junk(3000, 0x42);
    ASSERT_TRUE(WriteFileBytes(file, junk));
    EXPECT_LT(OpenForWriting(), 0);
    EXPECT_EQ(FileBytes(file), junk);
}

// Damage that makes ole32 loop for ever is refused before ole32 sees the file.
TEST_F(SettingsStoreTest, StructurallyDamagedFilesAreRefusedUntouched) {
    WriteSettingsFile(file, {JobMask::kEmail});
    Bytes bytes = FileBytes(file);
    ASSERT_GT(bytes.size(), 512u);
    bytes[30] = 12; // a 4096-byte sector in a version 3 file
    ASSERT_TRUE(WriteFileBytes(file, bytes));
    EXPECT_EQ(store.Open(file.c_str(), StgMode::kRead), STG_E_DOCFILECORRUPT);
    EXPECT_EQ(OpenForWriting(), STG_E_DOCFILECORRUPT);
    EXPECT_EQ(FileBytes(file), bytes);
    EXPECT_EQ(::GetFileAttributesA((file + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

// A reader that finds the file unusable drops its batch: whatever it wrote, the file keeps its bytes, and the
// next batch starts afresh.
TEST_F(SettingsStoreTest, DiscardLeavesTheFileAsItWas) {
    WriteSettingsFile(file, {JobMask::kEmail});
    const Bytes before = FileBytes(file);
    const JobRecord record = PatternRecord(91);
    ASSERT_EQ(OpenForWriting(), S_OK);
    ASSERT_EQ(store.WriteJob(kModel, JobMask::kFile, &record, nullptr), S_OK);
    store.Discard();
    EXPECT_FALSE(store.IsOpen());
    EXPECT_EQ(FileBytes(file), before);
    EXPECT_EQ(::GetFileAttributesA((file + ".new").c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_EQ(OpenForWriting(), S_OK);
    ASSERT_EQ(store.WriteJob(kModel, JobMask::kFile, &record, nullptr), S_OK);
    ASSERT_EQ(store.Close(), S_OK);
    EXPECT_EQ(ReadStream(file, {kModel, "Setting", "TolClass40"}), RecordBytes(record));
}

TEST_F(SettingsStoreTest, ReopeningReleasesWhatWasOpen) {
    WriteSettingsFile(file, {JobMask::kEmail});
    const std::string second = folder.File("second.dat");
    WriteSettingsFile(second, {JobMask::kFile});
    ASSERT_EQ(store.Open(file.c_str(), StgMode::kRead), S_OK);
    ASSERT_EQ(store.OpenModel(kModel, StgMode::kRead), S_OK);
    ASSERT_EQ(store.OpenSetting(StgMode::kRead), S_OK);
    ASSERT_EQ(store.OpenProBtn(StgMode::kRead), S_OK);
    ASSERT_EQ(store.Open(second.c_str(), StgMode::kRead), S_OK);
    // Everything of the first file was released, so another store may have it now.
    CSettingsStore other;
    EXPECT_EQ(other.Open(file.c_str(), StgMode::kReadWrite), S_OK);
    // A level below an unopened one is refused rather than dereferenced.
    EXPECT_EQ(store.OpenSetting(StgMode::kRead), STG_E_INVALIDPARAMETER);
}

TEST_F(SettingsStoreTest, WriteBatchesCommitOnCloseAndLeaveNoShadow) {
    WriteSettingsFile(file, {JobMask::kEmail, JobMask::kFile});
    const std::string shadow = file + ".new";
    // A shadow left by a writer that was killed is simply replaced.
    ASSERT_TRUE(WriteFileBytes(shadow, {'s', 't', 'a', 'l', 'e'}));

    const JobRecord record = PatternRecord(77);
    ASSERT_EQ(OpenForWriting(), S_OK);
    ASSERT_EQ(store.WriteJob(kModel, JobMask::kFile, &record, nullptr), S_OK);
    // Until the batch ends, the user's file holds its old bytes.
    EXPECT_NE(ReadStream(file, {kModel, "Setting", "TolClass40"}), RecordBytes(record));
    ASSERT_EQ(store.Close(), S_OK);
    EXPECT_EQ(ReadStream(file, {kModel, "Setting", "TolClass40"}), RecordBytes(record));
    EXPECT_EQ(::GetFileAttributesA(shadow.c_str()), INVALID_FILE_ATTRIBUTES);

    // Opening the next file ends the batch as Close does.
    const JobRecord next = PatternRecord(78);
    ASSERT_EQ(OpenForWriting(), S_OK);
    ASSERT_EQ(store.WriteJob(kModel, JobMask::kEmail, &next, nullptr), S_OK);
    ASSERT_EQ(store.Open(folder.File("missing.dat").c_str(), StgMode::kRead), STG_E_FILENOTFOUND);
    EXPECT_EQ(ReadStream(file, {kModel, "Setting", "TolClass100"}), RecordBytes(next));

    // A batch opened with create makes the file only when it commits.
    const std::string fresh = folder.File("fresh.dat");
    ASSERT_EQ(store.Open(fresh.c_str(), StgMode::kCreateReadWrite), S_OK);
    ASSERT_EQ(store.WriteJob(kModel, JobMask::kEmail, &next, nullptr), S_OK);
    ASSERT_EQ(store.Close(), S_OK);
    EXPECT_EQ(ReadStream(fresh, {kModel, "Setting", "TolClass100"}), RecordBytes(next));
}

} // namespace
} // namespace tolvan::test
