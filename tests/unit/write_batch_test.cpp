// The store's write batch against ole32 working directly on a copy of the file: whatever way the batch goes about
// it, the user's file ends up with exactly the bytes ole32 writes for the same edit, and a batch that cannot start
// or finish says why with the code a direct open gives and leaves the file as it was.
#include "compound_file.h"

#include "../native/compound_file_image.h"
#include "settings/compound_file_check.h"
#include "settings/job_table.h"
#include "settings/settings_store.h"
#include "settings/stream_name.h"

#include <gtest/gtest.h>

#include <string>

namespace tolvan::test {
namespace {

struct Edit {
    uint32_t mask;
    JobRecord record;
    Bytes extra;
};

Edit MakeEdit(uint32_t mask, uint8_t seed, uint32_t extraLength) {
    Edit edit{mask, PatternRecord(seed, extraLength), Bytes(extraLength)};
    for (size_t i = 0; i < edit.extra.size(); ++i)
        edit.extra[i] = static_cast<uint8_t>(seed ^ (i * 13));
    return edit;
}

HRESULT OpenOrCreate(IStorage* parent, const wchar_t* name, ComPtr<IStorage>& out) {
    const HRESULT hr = parent->OpenStorage(name, nullptr, StgMode::kReadWrite, nullptr, 0, out.Put());
    return hr == STG_E_FILENOTFOUND ? parent->CreateStorage(name, StgMode::kCreateReadWrite, 0, 0, out.Put()) : hr;
}

// The edit made by ole32 in direct mode on a file holding before's bytes, completed with the padding its last
// sector lacks (ole32 reads the missing bytes as zeros); no before: a new compound file.
Bytes Ole32Writes(const std::string& scratch, const Bytes* before, const char* model, const Edit& edit) {
    ComPtr<IStorage> root;
    if (before) {
        Bytes padded = *before;
        padded.resize(padded.size() + CheckCompoundFile(padded).missingPadding, 0);
        EXPECT_TRUE(WriteFileBytes(scratch, padded));
        EXPECT_EQ(::StgOpenStorage(Wide(scratch).c_str(), nullptr, StgMode::kReadWrite, nullptr, 0, root.Put()), S_OK);
    } else {
        EXPECT_EQ(::StgCreateDocfile(Wide(scratch).c_str(), StgMode::kCreateReadWrite, 0, root.Put()), S_OK);
    }
    ComPtr<IStorage> modelStorage, setting;
    ComPtr<IStream> stream;
    if (!root || FAILED(OpenOrCreate(root.Get(), Wide(model).c_str(), modelStorage)) ||
        FAILED(OpenOrCreate(modelStorage.Get(), L"Setting", setting)) ||
        FAILED(
            setting->CreateStream(Wide(JobStreamName(edit.mask)).c_str(), StgMode::kCreateWrite, 0, 0, stream.Put()))) {
        ADD_FAILURE() << "ole32 could not make the edit";
        return {};
    }
    const Bytes record = RecordBytes(edit.record);
    EXPECT_EQ(stream->Write(record.data(), static_cast<ULONG>(record.size()), nullptr), S_OK);
    if (!edit.extra.empty()) {
        EXPECT_EQ(stream->Write(edit.extra.data(), static_cast<ULONG>(edit.extra.size()), nullptr), S_OK);
    }
    stream.Reset();
    setting.Reset();
    modelStorage.Reset();
    root.Reset();
    return FileBytes(scratch);
}

class WriteBatchTest : public testing::Test {
protected:
    ScratchFolder folder;
    std::string file = folder.File("Tolvan.dat");
    std::string scratch = folder.File("ole32.dat");
    CSettingsStore store;

    // One batch of the store on before's bytes (none: no file, the batch creates it), against ole32's own edit.
    void ExpectOle32sBytes(const Bytes* before, const char* model, const Edit& edit) {
        if (before) {
            ASSERT_TRUE(WriteFileBytes(file, *before));
        } else {
            ::DeleteFileA(file.c_str());
        }
        ASSERT_EQ(store.Open(file.c_str(), before ? StgMode::kReadWrite : StgMode::kCreateReadWrite), S_OK);
        ASSERT_EQ(store.WriteJob(model, edit.mask, &edit.record, edit.extra.empty() ? nullptr : edit.extra.data()),
                  S_OK);
        ASSERT_EQ(store.Close(), S_OK);
        const Bytes written = FileBytes(file);
        EXPECT_EQ(written, Ole32Writes(scratch, before, model, edit)) << written.size() << " bytes";
        EXPECT_EQ(::GetFileAttributesA((file + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
    }

    // The file as it is and (when its last sector has padding to leave out) without that padding.
    void ExpectOle32sBytesWholeAndShort(const Bytes& whole, const char* model, const Edit& edit) {
        ExpectOle32sBytes(&whole, model, edit);
        const std::size_t end = CompoundImageView(whole).DataEnd();
        ASSERT_NE(end % CompoundImageView(whole).SectorSize(), 0u) << "no padding to leave out";
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(end));
        ASSERT_GT(CheckCompoundFile(cut).missingPadding, 0u);
        ExpectOle32sBytes(&cut, model, edit);
    }
};

TEST_F(WriteBatchTest, TemplateGetsTheBytesOle32Writes) {
    const Bytes whole = FileBytes(TOLVAN_TEMPLATE_FILE);
    ASSERT_FALSE(whole.empty());
    ASSERT_TRUE(WriteFileBytes(file, whole));
    char model[kModelNameBytes] = {};
    ASSERT_EQ(store.Open(file.c_str(), StgMode::kRead), S_OK);
    ASSERT_EQ(store.FirstModelName(model), S_OK);
    store.Close();

    // A record replaced in place, one grown by a blob, and one that leaves the mini stream for whole sectors.
    ExpectOle32sBytesWholeAndShort(whole, model, MakeEdit(JobMask::kEmail, 3, 0));
    ExpectOle32sBytesWholeAndShort(whole, model, MakeEdit(JobMask::kOffice, 4, 262));
    ExpectOle32sBytesWholeAndShort(whole, model, MakeEdit(JobMask::kCopy, 5, 6000));
}

TEST_F(WriteBatchTest, OtherFilesGetTheBytesOle32Writes) {
    WriteSettingsFile(file, {JobMask::kEmail, JobMask::kFile});
    const Bytes small = FileBytes(file);
    ExpectOle32sBytesWholeAndShort(small, "Model", MakeEdit(JobMask::kFile, 6, 0));
    ExpectOle32sBytesWholeAndShort(small, "Model", MakeEdit(JobMask::kRAvud, 7, 214));
    // A model and "Setting" the file lacks are created.
    ExpectOle32sBytesWholeAndShort(small, "Other", MakeEdit(JobMask::kEmail, 8, 0));

    // A file the batch creates.
    ExpectOle32sBytes(nullptr, "Model", MakeEdit(JobMask::kEmail, 9, 0));
    ExpectOle32sBytes(nullptr, "Model", MakeEdit(JobMask::kCopy, 10, 5000));
}

// Every way a batch fails to start gives the code a direct open of the file would, and leaves the file as it was.
TEST_F(WriteBatchTest, BatchesThatCannotStartLeaveTheFileAndSayWhy) {
    WriteSettingsFile(file, {JobMask::kEmail});
    const Bytes before = FileBytes(file);
    const std::string shadow = file + ".new";
    // The file is compared once whoever holds it has let go.
    auto expectRefused = [&](HRESULT expected, const char* what) {
        EXPECT_EQ(store.Open(file.c_str(), StgMode::kReadWrite), expected) << what;
        EXPECT_FALSE(store.IsOpen()) << what;
    };

    {
        CSettingsStore other;
        ASSERT_EQ(other.Open(file.c_str(), StgMode::kReadWrite), S_OK);
        expectRefused(STG_E_SHAREVIOLATION, "held by another batch");
    }
    EXPECT_EQ(FileBytes(file), before);
    {
        CSettingsStore reader;
        ASSERT_EQ(reader.Open(file.c_str(), StgMode::kRead), S_OK);
        expectRefused(STG_E_SHAREVIOLATION, "held by a reader");
    }
    EXPECT_EQ(FileBytes(file), before);
    {
        UniqueFile held(::CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        expectRefused(STG_E_SHAREVIOLATION, "held open by another program for reading");
    }
    EXPECT_EQ(FileBytes(file), before);
    {
        // A shadow that another program holds cannot be replaced.
        UniqueFile held(
            ::CreateFileA(shadow.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        expectRefused(STG_E_SHAREVIOLATION, "shadow held");
    }
    EXPECT_EQ(FileBytes(file), before);
    ::DeleteFileA(shadow.c_str());
    ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    expectRefused(STG_E_ACCESSDENIED, "read-only");
    ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(FileBytes(file), before);
    EXPECT_EQ(::GetFileAttributesA(shadow.c_str()), INVALID_FILE_ATTRIBUTES);

    // Files that are not whole compound files: the batch never writes them.
    for (const Bytes& broken : {Bytes(), Bytes(3000, 0x42), Bytes(before.begin(), before.begin() + 700)}) {
        ASSERT_TRUE(WriteFileBytes(file, broken));
        EXPECT_EQ(store.Open(file.c_str(), StgMode::kReadWrite), STG_E_DOCFILECORRUPT) << broken.size();
        EXPECT_EQ(FileBytes(file), broken);
        EXPECT_EQ(::GetFileAttributesA(shadow.c_str()), INVALID_FILE_ATTRIBUTES);
    }
}

} // namespace
} // namespace tolvan::test
