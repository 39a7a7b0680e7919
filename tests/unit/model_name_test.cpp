// The model storage's name on its way through the 64-byte ANSI buffer: a name with characters the code page
// lacks comes back with question marks, and the store must still reach the storage it enumerated, on reads,
// on writes and on the Apply path's reopen; a name with no terminator in its field is refused before it is read.
#include "main_window_host.h"
#include "settings_content.h"

#include "settings/job_table.h"
#include "settings/settings_store.h"
#include "tests/native/compound_file_image.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tolvan::test {
namespace {

// Two Cyrillic names, so outside code page 1252, that come out of it as the same question marks.
const std::wstring kModel = L"\x041C\x043E\x0434\x0435\x043B\x044C";
const std::wstring kLookAlike = L"\x041C\x0430\x0434\x0435\x043B\x044C";

constexpr DWORD kCreate = STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
constexpr DWORD kReadOnly = STGM_READ | STGM_SHARE_EXCLUSIVE;

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

bool SurvivesTheCodePage(const std::wstring& name) {
    char ansi[64] = {};
    BOOL lossy = FALSE;
    ::WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, ansi, sizeof ansi, nullptr, &lossy);
    return !lossy;
}

void WriteStream(IStorage* parent, const wchar_t* name, const Bytes& content) {
    ComPtr<IStream> stream;
    ASSERT_EQ(parent->CreateStream(name, kCreate, 0, 0, stream.Put()), S_OK);
    ASSERT_EQ(stream->Write(content.data(), static_cast<ULONG>(content.size()), nullptr), S_OK);
}

// A settings file whose model storages have wide names, each with the File job (as never stored) beside a
// stream of another job; the first name given is the one the enumeration meets first.
void WriteWideModels(const std::string& file, std::initializer_list<std::wstring> models, const JobRecord& record) {
    ComPtr<IStorage> root;
    ASSERT_EQ(::StgCreateDocfile(Wide(file).c_str(), kCreate, 0, root.Put()), S_OK);
    for (const std::wstring& model : models) {
        ComPtr<IStorage> storage, setting;
        ASSERT_EQ(root->CreateStorage(model.c_str(), kCreate, 0, 0, storage.Put()), S_OK);
        WriteStream(storage.Get(), L"SpecInfo", SpecInfo(JobMask::kFile));
        ASSERT_EQ(storage->CreateStorage(L"Setting", kCreate, 0, 0, setting.Put()), S_OK);
        WriteStream(setting.Get(), L"TolClass40", RecordBytes(record));
        WriteStream(setting.Get(), L"TolClass100", RecordBytes(PatternRecord(0x31)));
    }
}

// The names of the root's storages and the File job's stream in one of them, read with ole32 alone.
std::vector<std::wstring> RootStorages(const std::string& file) {
    std::vector<std::wstring> names;
    ComPtr<IStorage> root;
    ComPtr<IEnumSTATSTG> elements;
    if (FAILED(::StgOpenStorage(Wide(file).c_str(), nullptr, kReadOnly, nullptr, 0, root.Put())) ||
        FAILED(root->EnumElements(0, nullptr, 0, elements.Put())))
        return names;
    STATSTG stat{};
    while (elements->Next(1, &stat, nullptr) == S_OK) {
        if (stat.type == STGTY_STORAGE)
            names.emplace_back(stat.pwcsName);
        ::CoTaskMemFree(stat.pwcsName);
    }
    return names;
}

Bytes FileJobIn(const std::string& file, const std::wstring& model) {
    ComPtr<IStorage> root, storage, setting;
    ComPtr<IStream> stream;
    Bytes content(kJobRecordSize + 16);
    ULONG got = 0;
    if (FAILED(::StgOpenStorage(Wide(file).c_str(), nullptr, kReadOnly, nullptr, 0, root.Put())) ||
        FAILED(root->OpenStorage(model.c_str(), nullptr, kReadOnly, nullptr, 0, storage.Put())) ||
        FAILED(storage->OpenStorage(L"Setting", nullptr, kReadOnly, nullptr, 0, setting.Put())) ||
        FAILED(setting->OpenStream(L"TolClass40", nullptr, kReadOnly, 0, stream.Put())) ||
        FAILED(stream->Read(content.data(), static_cast<ULONG>(content.size()), &got)))
        return {};
    content.resize(got);
    return content;
}

class ModelNameTest : public testing::Test {
protected:
    void SetUp() override {
        if (SurvivesTheCodePage(kModel))
            GTEST_SKIP() << "code page " << ::GetACP() << " holds Cyrillic; the round trip loses nothing here";
    }
    ScratchFolder folder;
    std::string file = folder.File("Tolvan.dat");
    CSettingsStore store;
};

TEST_F(ModelNameTest, NameOutsideTheCodePageReadsAndWritesItsOwnStorage) {
    const JobRecord stored = PatternRecord(0x52);
    // Two storages whose names come out of the code page alike: the store keeps to the one it enumerated.
    WriteWideModels(file, {kModel, kLookAlike}, stored);
    const std::vector<std::wstring> storages = RootStorages(file);
    ASSERT_EQ(storages.size(), 2u);
    const std::wstring first = storages[0];
    const std::wstring second = storages[1];

    ASSERT_EQ(store.Open(file.c_str(), StgMode::kReadWrite), S_OK);
    char name[kModelNameBytes];
    std::memset(name, 0x7F, sizeof name);
    ASSERT_EQ(store.FirstModelName(name), S_OK);
    ASSERT_NE(std::memchr(name, 0, sizeof name), nullptr);
    EXPECT_EQ(std::string(name), "??????");

    uint8_t info[kSpecInfoSize] = {};
    EXPECT_EQ(store.ReadSpecInfo(name, info), S_OK);
    EXPECT_EQ(Bytes(info, info + kSpecInfoSize), SpecInfo(JobMask::kFile));
    JobRecord record{};
    ASSERT_EQ(store.ReadJob(name, JobMask::kFile, &record, nullptr), S_OK);
    EXPECT_EQ(RecordBytes(record), RecordBytes(stored));

    // The first save's path: the write with the name reopens the same storage for writing.
    JobRecord changed = record;
    changed.wResolution = 600;
    changed.dwStored = 1;
    ASSERT_EQ(store.WriteJob(name, JobMask::kFile, &changed, nullptr), S_OK);
    ASSERT_EQ(store.Close(), S_OK);
    EXPECT_EQ(FileJobIn(file, first), RecordBytes(changed));
    EXPECT_EQ(FileJobIn(file, second), RecordBytes(stored));

    // Apply's path: a new batch reopens the model by the name the window kept, without enumerating again.
    changed.wResolution = 1200;
    ASSERT_EQ(store.Open(file.c_str(), StgMode::kReadWrite), S_OK);
    ASSERT_EQ(store.OpenModel(name, StgMode::kReadWrite), S_OK);
    ASSERT_EQ(store.WriteJob(nullptr, JobMask::kFile, &changed, nullptr), S_OK);
    ASSERT_EQ(store.Close(), S_OK);
    EXPECT_EQ(FileJobIn(file, first), RecordBytes(changed));
    EXPECT_EQ(FileJobIn(file, second), RecordBytes(stored));
    EXPECT_EQ(RootStorages(file), storages) << "no storage named with question marks was created";
}

TEST_F(ModelNameTest, OnlyTheEnumeratedNameIsReopenedByItsStoredForm) {
    WriteWideModels(file, {kModel}, PatternRecord(0x11));
    {
        ComPtr<IStorage> root, plain;
        ASSERT_EQ(::StgOpenStorage(Wide(file).c_str(), nullptr, kCreate & ~STGM_CREATE, nullptr, 0, root.Put()), S_OK);
        ASSERT_EQ(root->CreateStorage(L"Plain", kCreate, 0, 0, plain.Put()), S_OK);
        WriteStream(plain.Get(), L"SpecInfo", SpecInfo(JobMask::kEmail));
    }
    ASSERT_EQ(store.Open(file.c_str(), StgMode::kRead), S_OK);
    char name[kModelNameBytes];
    HRESULT hr = store.FirstModelName(name);
    while (hr == S_OK && std::string(name) != "??????")
        hr = store.NextModelName(name);
    ASSERT_EQ(hr, S_OK);
    // Every other name is looked up as it stands, whatever was enumerated last.
    uint8_t info[kSpecInfoSize];
    ASSERT_EQ(store.ReadSpecInfo("Plain", info), S_OK);
    EXPECT_EQ(Bytes(info, info + kSpecInfoSize), SpecInfo(JobMask::kEmail));
    ASSERT_EQ(store.ReadSpecInfo(name, info), S_OK);
    EXPECT_EQ(Bytes(info, info + kSpecInfoSize), SpecInfo(JobMask::kFile));
    EXPECT_EQ(store.OpenModel("?????", StgMode::kRead), STG_E_FILENOTFOUND);
}

// Element names are at most 31 characters; the longest one goes through the buffer whole, and a field with no
// terminator at all never reaches ole32's enumeration.
TEST_F(ModelNameTest, NameLengthAtAndPastItsField) {
    const std::string longest(31, 'L');
    CompoundFileBuilder(file).Stream({longest.c_str(), "SpecInfo"}, SpecInfo(0x40)).Finish();
    ASSERT_EQ(store.Open(file.c_str(), StgMode::kRead), S_OK);
    char name[kModelNameBytes];
    ASSERT_EQ(store.FirstModelName(name), S_OK);
    EXPECT_EQ(std::string(name), longest);
    uint8_t info[kSpecInfoSize];
    EXPECT_EQ(store.ReadSpecInfo(name, info), S_OK);
    store.Close();

    Bytes bytes = FileBytes(file);
    const CompoundImageView view(bytes);
    const std::size_t at = view.EntryAt(view.Find(longest));
    for (std::size_t i = 0; i < 64; i += 2)
        Put16(bytes, at + i, 'L');
    Put16(bytes, at + entry::kNameLength, 64);
    ASSERT_TRUE(WriteFileBytes(file, bytes));
    EXPECT_EQ(store.Open(file.c_str(), StgMode::kRead), STG_E_DOCFILECORRUPT);
    EXPECT_EQ(store.Open(file.c_str(), StgMode::kReadWrite), STG_E_DOCFILECORRUPT);
    EXPECT_EQ(FileBytes(file), bytes);
}

// The whole start-up path: the main window keeps the ANSI name, and the File page's first save, made with it,
// lands in the model storage the tabs were read from.
TEST_F(ModelNameTest, FirstSaveThroughTheMainWindowLandsInTheModelStorage) {
    Installation installation;
    JobRecord record = StoredRecord(SettingsContent::Read(installation.TemplateFile()).jobs.at(JobMask::kFile));
    ASSERT_EQ(record.dwStored, 0u);
    WriteWideModels(installation.SettingsFile(), {kModel}, record);

    Watchdog watchdog("starting over a Cyrillic model name", 20);
    CRecordingApp app(installation);
    {
        MainWindowRun run(app);
        ASSERT_TRUE(run.Shown());
        ASSERT_EQ(run.Tabs().Count(), 1u);
    }
    const JobRecord saved = StoredRecord(FileJobIn(installation.SettingsFile(), kModel));
    EXPECT_EQ(saved.dwStored, 1u);
    EXPECT_EQ(saved.ap.dwJobMask, JobMask::kFile);
    EXPECT_EQ(RootStorages(installation.SettingsFile()), std::vector<std::wstring>{kModel});
}

} // namespace
} // namespace tolvan::test
