// What one Apply costs: a write batch of one job record through the settings store (shadow, flush and rename
// included), against the same writes made directly through ole32 on the same file, and against what replacing a
// file of that size crash-safely costs at the least (its bytes written beside it, flushed and renamed over it).
//   bench-write-batch [ITERATIONS] [WARMUP]
#include "settings/settings_store.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace tolvan;

namespace {

constexpr char kModel[] = "TV-610";
constexpr wchar_t kModelWide[] = L"TV-610";
constexpr uint32_t kJob = 0x100;
constexpr wchar_t kJobStream[] = L"TolClass100";

HRESULT StoreBatch(CSettingsStore& store, const char* path, const JobRecord& record) {
    HRESULT hr = store.Open(path, StgMode::kReadWrite);
    if (SUCCEEDED(hr))
        hr = store.OpenModel(kModel, StgMode::kReadWrite);
    if (SUCCEEDED(hr))
        hr = store.WriteJob(nullptr, kJob, &record, nullptr);
    const HRESULT closed = store.Close();
    return FAILED(hr) ? hr : closed;
}

HRESULT BareBatch(const wchar_t* path, const JobRecord& record) {
    ComPtr<IStorage> root, model, setting;
    ComPtr<IStream> stream;
    HRESULT hr = ::StgOpenStorage(path, nullptr, StgMode::kReadWrite, nullptr, 0, root.Put());
    if (SUCCEEDED(hr))
        hr = root->OpenStorage(kModelWide, nullptr, StgMode::kReadWrite, nullptr, 0, model.Put());
    if (SUCCEEDED(hr))
        hr = model->OpenStorage(L"Setting", nullptr, StgMode::kReadWrite, nullptr, 0, setting.Put());
    if (SUCCEEDED(hr))
        hr = setting->CreateStream(kJobStream, StgMode::kCreateWrite, 0, 0, stream.Put());
    ULONG written = 0;
    if (SUCCEEDED(hr))
        hr = stream->Write(&record, kJobRecordSize, &written);
    if (SUCCEEDED(hr) && written != kJobRecordSize)
        hr = STG_E_MEDIUMFULL;
    stream.Reset();
    setting.Reset();
    model.Reset();
    root.Reset();
    return hr;
}

// The bare sequence followed by what durability costs at the least: the file's bytes flushed to the disk. The
// store's batch cannot be cheaper than this and still survive a power loss.
HRESULT BareFlushedBatch(const wchar_t* path, const JobRecord& record) {
    HRESULT hr = BareBatch(path, record);
    if (FAILED(hr))
        return hr;
    const HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return HRESULT_FROM_WIN32(::GetLastError());
    if (!::FlushFileBuffers(file))
        hr = HRESULT_FROM_WIN32(::GetLastError());
    ::CloseHandle(file);
    return hr;
}

// The floor of any batch that survives a power loss and leaves the old file or the new one: the new bytes written
// into a file beside the old one, flushed, and renamed over it.
HRESULT ReplaceWhole(const wchar_t* path, const std::vector<uint8_t>& image) {
    const std::wstring shadow = std::wstring(path) + L".new";
    const HANDLE file =
        ::CreateFileW(shadow.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return HRESULT_FROM_WIN32(::GetLastError());
    DWORD put = 0;
    HRESULT hr = S_OK;
    if (!::WriteFile(file, image.data(), static_cast<DWORD>(image.size()), &put, nullptr) || !::FlushFileBuffers(file))
        hr = HRESULT_FROM_WIN32(::GetLastError());
    ::CloseHandle(file);
    if (SUCCEEDED(hr) && !::MoveFileExW(shadow.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        hr = HRESULT_FROM_WIN32(::GetLastError());
    return hr;
}

std::vector<uint8_t> FileBytes(const char* path) {
    std::vector<uint8_t> bytes;
    if (FILE* f = std::fopen(path, "rb")) {
        uint8_t chunk[4096];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;)
            bytes.insert(bytes.end(), chunk, chunk + n);
        std::fclose(f);
    }
    return bytes;
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

[[noreturn]] void Fail(const char* what, HRESULT hr) {
    std::fprintf(stderr, "bench-write-batch: %s failed (0x%08lx)\n", what, static_cast<unsigned long>(hr));
    std::exit(1);
}

} // namespace

int main(int argc, char** argv) {
    const int iterations = argc > 1 ? std::atoi(argv[1]) : 200;
    const int warmup = argc > 2 ? std::atoi(argv[2]) : 20;
    if (iterations <= 0 || warmup < 0) {
        std::fprintf(stderr, "usage: bench-write-batch [ITERATIONS] [WARMUP]\n");
        return 2;
    }
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    char folder[MAX_PATH];
    const DWORD length = ::GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH - 40)
        Fail("GetTempPath", HRESULT_FROM_WIN32(::GetLastError()));
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%stolvan-bench-%lu.dat", folder, ::GetCurrentProcessId());
    wchar_t widePath[MAX_PATH];
    if (!::MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH))
        Fail("MultiByteToWideChar", HRESULT_FROM_WIN32(::GetLastError()));

    JobRecord record{};
    record.bColorModes = 7;
    record.wResolution = record.wDefResolution = 300;
    record.ap.wApSize = kApEntrySize;
    record.ap.dwJobMask = kJob;
    std::strcpy(record.ap.szApName, "Bench application");
    std::strcpy(record.ap.szExt, ".JPG");

    // The file is made the way the program makes it, with the model and "Setting" already in place.
    CSettingsStore store;
    ::DeleteFileA(path);
    HRESULT hr = store.Open(path, StgMode::kCreateReadWrite);
    if (SUCCEEDED(hr))
        hr = store.WriteJob(kModel, kJob, &record, nullptr);
    const HRESULT closed = store.Close();
    if (FAILED(hr) || FAILED(closed))
        Fail("creating the file", FAILED(hr) ? hr : closed);
    // The floor replaces a file of its own with the same bytes each time.
    const std::vector<uint8_t> image = FileBytes(path);
    char floorPath[MAX_PATH];
    std::snprintf(floorPath, sizeof floorPath, "%s.floor", path);
    wchar_t wideFloorPath[MAX_PATH];
    if (image.empty() || !::MultiByteToWideChar(CP_ACP, 0, floorPath, -1, wideFloorPath, MAX_PATH))
        Fail("reading the file", E_FAIL);

    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    auto timeOne = [&](auto&& batch, const char* what) {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        const HRESULT result = batch();
        ::QueryPerformanceCounter(&end);
        if (FAILED(result))
            Fail(what, result);
        return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    };
    auto storeBatch = [&] {
        ++record.dwStored; // every batch writes different bytes, as an Apply would
        return StoreBatch(store, path, record);
    };
    auto bareBatch = [&] {
        ++record.dwStored;
        return BareBatch(widePath, record);
    };
    auto flushedBatch = [&] {
        ++record.dwStored;
        return BareFlushedBatch(widePath, record);
    };
    auto replaceWhole = [&] { return ReplaceWhole(wideFloorPath, image); };

    for (int i = 0; i < warmup; ++i) {
        timeOne(storeBatch, "a store batch");
        timeOne(bareBatch, "a bare batch");
        timeOne(flushedBatch, "a flushed bare batch");
        timeOne(replaceWhole, "a replace");
    }
    std::vector<double> storeTimes, bareTimes, flushedTimes, replaceTimes;
    for (int i = 0; i < iterations; ++i) {
        // Alternating which goes first keeps any after-effect of one batch on the next out of the ratio.
        if (i % 2) {
            storeTimes.push_back(timeOne(storeBatch, "a store batch"));
            bareTimes.push_back(timeOne(bareBatch, "a bare batch"));
            flushedTimes.push_back(timeOne(flushedBatch, "a flushed bare batch"));
            replaceTimes.push_back(timeOne(replaceWhole, "a replace"));
        } else {
            replaceTimes.push_back(timeOne(replaceWhole, "a replace"));
            flushedTimes.push_back(timeOne(flushedBatch, "a flushed bare batch"));
            bareTimes.push_back(timeOne(bareBatch, "a bare batch"));
            storeTimes.push_back(timeOne(storeBatch, "a store batch"));
        }
    }

    // The last batch must have left a readable file holding the last record.
    JobRecord back{};
    hr = store.Open(path, StgMode::kRead);
    if (SUCCEEDED(hr))
        hr = store.ReadJob(kModel, kJob, &back, nullptr);
    store.Close();
    if (FAILED(hr) || std::memcmp(&back, &record, kJobRecordSize) != 0)
        Fail("reading the last record back", FAILED(hr) ? hr : E_FAIL);
    ::DeleteFileA(path);
    ::DeleteFileA(floorPath);
    ::CoUninitialize();

    const double bare = Median(bareTimes), stored = Median(storeTimes), flushed = Median(flushedTimes),
                 replaced = Median(replaceTimes);
    std::printf("write batch of one %zu-byte record, %d runs each after %d warm-up, interleaved\n", kJobRecordSize,
                iterations, warmup);
    std::printf("  bare ole32 (open, write, release)        median %9.1f us\n", bare);
    std::printf("  CSettingsStore (shadow, flush, rename)   median %9.1f us\n", stored);
    std::printf("  bare ole32, then the file flushed        median %9.1f us\n", flushed);
    std::printf("  the file's %zu bytes written beside it, flushed and renamed over it: median %.1f us\n", image.size(),
                replaced);
    std::printf("  ratio store / bare                       %9.2f\n", stored / bare);
    std::printf("  ratio store / bare and flushed           %9.2f\n", stored / flushed);
    std::printf("  ratio store / written, flushed, renamed  %9.2f\n", stored / replaced);
    return 0;
}
