// The structure check that runs before the store opens a settings file must pass every file ole32 writes:
// files of several shapes built directly, and the driver's template after write batches of the store that
// move job streams in and out of the mini stream.
#include "compound_file.h"

#include "settings/compound_file_check.h"
#include "settings/job_table.h"
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace tolvan::test {
namespace {

constexpr DWORD kCreate = STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
constexpr DWORD kOpen = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

void ExpectPasses(const std::string& file, const std::string& shape) {
    const Bytes bytes = FileBytes(file);
    ASSERT_FALSE(bytes.empty()) << shape;
    const CompoundFileCheck check = CheckCompoundFile(bytes);
    EXPECT_TRUE(check.Ok()) << shape << ": " << DescribeCompoundFileFault(check.fault) << " at " << check.where;
}

HRESULT WriteBytes(IStream* stream, const Bytes& bytes) {
    ULONG written = 0;
    return stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
}

// Streams whose size crosses the mini stream cutoff both ways, and elements destroyed after they were written,
// which leave free sectors, free mini sectors and free directory entries behind.
void WriteResizedAndDestroyed(const std::string& file) {
    ComPtr<IStorage> root;
    ASSERT_EQ(::StgCreateDocfile(Wide(file).c_str(), kCreate, 0, root.Put()), S_OK);
    for (int i = 0; i < 12; ++i) {
        ComPtr<IStream> stream;
        ASSERT_EQ(root->CreateStream(Wide("S" + std::to_string(i)).c_str(), kCreate, 0, 0, stream.Put()), S_OK);
        ASSERT_EQ(WriteBytes(stream.Get(), Bytes(300 + 700 * i, static_cast<uint8_t>(i))), S_OK);
    }
    for (int i = 0; i < 12; i += 3)
        ASSERT_EQ(root->DestroyElement(Wide("S" + std::to_string(i)).c_str()), S_OK);
    for (uint64_t size : {5000u, 100u, 9000u, 4096u, 4095u, 0u, 2000u}) {
        ComPtr<IStream> stream;
        ASSERT_EQ(root->OpenStream(L"S1", nullptr, kOpen, 0, stream.Put()), S_OK);
        ULARGE_INTEGER newSize;
        newSize.QuadPart = size;
        ASSERT_EQ(stream->SetSize(newSize), S_OK) << size;
    }
}

void WriteNested(const std::string& file, int depth) {
    ComPtr<IStorage> root;
    ASSERT_EQ(::StgCreateDocfile(Wide(file).c_str(), kCreate, 0, root.Put()), S_OK);
    std::vector<ComPtr<IStorage>> chain;
    IStorage* parent = root.Get();
    for (int i = 0; i < depth; ++i) {
        ComPtr<IStorage> child;
        ASSERT_EQ(parent->CreateStorage(Wide("Level" + std::to_string(i)).c_str(), kCreate, 0, 0, child.Put()), S_OK);
        chain.push_back(std::move(child));
        parent = chain.back().Get();
        ComPtr<IStream> stream;
        ASSERT_EQ(parent->CreateStream(L"Data", kCreate, 0, 0, stream.Put()), S_OK);
        ASSERT_EQ(WriteBytes(stream.Get(), Bytes(i % 3 ? 150 : 4500, static_cast<uint8_t>(i))), S_OK);
    }
    // Release from the innermost storage out, as a storage's children do not outlive it.
    while (!chain.empty())
        chain.pop_back();
}

TEST(CompoundFileCheckOnOle32Files, ShapesWrittenDirectly) {
    ScratchFolder folder;
    struct Shape {
        const char* name;
        std::function<void(const std::string&)> write;
    };
    const Shape shapes[] = {
        {"settings file with one job", [](const std::string& f) { WriteSettingsFile(f, {JobMask::kEmail}); }},
        {"settings file with every job",
         [](const std::string& f) {
             WriteSettingsFile(f, {JobMask::kApplication, JobMask::kOffice, JobMask::kFile, JobMask::kEmail,
                                   JobMask::kCopy, JobMask::kDUzar, JobMask::kRAvud});
         }},
        {"empty file", [](const std::string& f) { CompoundFileBuilder(f).Finish(); }},
        {"empty stream and storage",
         [](const std::string& f) {
             CompoundFileBuilder(f).Stream({"Model", "Empty"}, {}).Storage({"Other"}).Finish();
         }},
        {"5000-byte stream",
         [](const std::string& f) {
             CompoundFileBuilder(f)
                 .Stream({"Model", "SpecInfo"}, SpecInfo(JobMask::kEmail))
                 .Stream({"Model", "Big"}, Bytes(5000, 0x5A))
                 .Finish();
         }},
        {"streams around the cutoff",
         [](const std::string& f) {
             CompoundFileBuilder(f)
                 .Stream({"Below"}, Bytes(4095, 1))
                 .Stream({"At"}, Bytes(4096, 2))
                 .Stream({"Above"}, Bytes(4097, 3))
                 .Finish();
         }},
        {"300 streams",
         [](const std::string& f) {
             CompoundFileBuilder builder(f);
             for (int i = 0; i < 300; ++i)
                 builder.Stream({"Model", "Setting", ("TolClass" + std::to_string(i)).c_str()},
                                RecordBytes(PatternRecord(static_cast<uint8_t>(i))));
             builder.Finish();
         }},
        {"storages nested 40 deep", [](const std::string& f) { WriteNested(f, 40); }},
        {"streams resized and destroyed", WriteResizedAndDestroyed},
    };
    int index = 0;
    for (const Shape& shape : shapes) {
        const std::string file = folder.File(("shape" + std::to_string(index++) + ".dat").c_str());
        shape.write(file);
        ExpectPasses(file, shape.name);
    }
}

TEST(CompoundFileCheckOnOle32Files, Version4With4096ByteSectors) {
    ScratchFolder folder;
    const std::string file = folder.File("version4.dat");
    STGOPTIONS options{};
    options.usVersion = 1;
    options.ulSectorSize = 4096;
    ComPtr<IStorage> root;
    const HRESULT hr = ::StgCreateStorageEx(Wide(file).c_str(), kCreate, STGFMT_DOCFILE, 0, &options, nullptr,
                                            IID_IStorage, reinterpret_cast<void**>(root.Put()));
    if (FAILED(hr))
        GTEST_SKIP() << "this ole32 writes no 4096-byte sectors (0x" << std::hex << hr << ")";
    ComPtr<IStorage> model;
    ASSERT_EQ(root->CreateStorage(L"Model", kCreate, 0, 0, model.Put()), S_OK);
    const struct {
        const wchar_t* name;
        std::size_t size;
    } streams[] = {{L"SpecInfo", 14}, {L"Small", 1134}, {L"Big", 9000}};
    for (const auto& each : streams) {
        ComPtr<IStream> stream;
        ASSERT_EQ(model->CreateStream(each.name, kCreate, 0, 0, stream.Put()), S_OK);
        ASSERT_EQ(WriteBytes(stream.Get(), Bytes(each.size, 0x33)), S_OK);
    }
    model.Reset();
    root.Reset();

    const Bytes bytes = FileBytes(file);
    ASSERT_GE(bytes.size(), 512u);
    EXPECT_EQ(bytes[0x1A], 4) << "major version";
    EXPECT_EQ(bytes[0x1E], 12) << "sector shift";
    ExpectPasses(file, "version 4");
}

// The store's write batches work on a copy and rename it over the file; whatever they leave must pass.
TEST(CompoundFileCheckOnOle32Files, TemplateAfterStoreWriteBatches) {
    ScratchFolder folder;
    const std::string file = folder.File("Tolvan.dat");
    ASSERT_TRUE(::CopyFileA(TOLVAN_TEMPLATE_FILE, file.c_str(), FALSE));
    ExpectPasses(file, "template");

    char model[kModelNameBytes];
    {
        CSettingsStore store;
        ASSERT_EQ(store.Open(file.c_str(), StgMode::kRead), S_OK);
        ASSERT_EQ(store.FirstModelName(model), S_OK);
    }
    // Extra blobs that carry a job stream past the cutoff and back into the mini stream.
    const uint32_t extraLengths[] = {0, 3500, 6000, 200, 0, 9000, 1};
    uint8_t seed = 1;
    for (uint32_t extraLength : extraLengths) {
        for (const JobInfo& job : kJobs) {
            CSettingsStore store;
            const JobRecord record = PatternRecord(seed++, extraLength);
            const Bytes extra(extraLength, seed);
            ASSERT_EQ(store.Open(file.c_str(), StgMode::kReadWrite), S_OK);
            EXPECT_EQ(store.WriteJob(model, job.mask, &record, extra.data()), S_OK);
            EXPECT_EQ(store.Close(), S_OK);
        }
        ExpectPasses(file, "after jobs with " + std::to_string(extraLength) + " extra bytes");
    }
}

} // namespace
} // namespace tolvan::test
