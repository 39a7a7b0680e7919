// What the structure check adds to opening the settings file: checking the template's bytes, against copying
// the same bytes, reading the file, and opening it with ole32, all in this process.
//   bench-compound-check [ITERATIONS] [WARMUP] [FILE]
#include "settings/compound_file_check.h"
#include "settings/settings_store.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace tolvan;

namespace {

// Each sample times this many runs, so that the clock's own cost stays out of a check of a few microseconds.
constexpr int kRunsPerSample = 50;

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

[[noreturn]] void Fail(const char* what, unsigned long code) {
    std::fprintf(stderr, "bench-compound-check: %s failed (0x%08lx)\n", what, code);
    std::exit(1);
}

bool ReadWholeFile(const char* path, std::vector<uint8_t>& bytes) {
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    DWORD read = 0;
    bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart < (1 << 26);
    if (ok) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        ok = ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size();
    }
    ::CloseHandle(file);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    const int iterations = argc > 1 ? std::atoi(argv[1]) : 200;
    const int warmup = argc > 2 ? std::atoi(argv[2]) : 20;
    const char* path = argc > 3 ? argv[3] : TOLVAN_TEMPLATE_FILE;
    if (iterations <= 0 || warmup < 0) {
        std::fprintf(stderr, "usage: bench-compound-check [ITERATIONS] [WARMUP] [FILE]\n");
        return 2;
    }
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    wchar_t widePath[MAX_PATH];
    if (!::MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH))
        Fail("MultiByteToWideChar", ::GetLastError());

    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes))
        Fail(path, ::GetLastError());
    const CompoundFileCheck verdict = CheckCompoundFile(bytes);
    if (!verdict.Ok()) {
        std::fprintf(stderr, "bench-compound-check: %s: %s\n", path, DescribeCompoundFileFault(verdict.fault));
        return 1;
    }

    // Results feed this, so that no run can be left out as unused.
    volatile uint32_t sink = 0;
    auto copy = [&] {
        std::vector<uint8_t> copied(bytes);
        sink = sink + copied[copied.size() / 2];
    };
    auto check = [&] {
        const CompoundFileCheck result = CheckCompoundFile(bytes);
        sink = sink + static_cast<uint32_t>(result.fault);
    };
    auto read = [&] {
        std::vector<uint8_t> readBytes;
        if (!ReadWholeFile(path, readBytes))
            Fail("reading the file", ::GetLastError());
        sink = sink + readBytes[readBytes.size() / 2];
    };
    auto open = [&] {
        IStorage* root = nullptr;
        const HRESULT hr = ::StgOpenStorage(widePath, nullptr, StgMode::kRead, nullptr, 0, &root);
        if (FAILED(hr))
            Fail("StgOpenStorage", static_cast<unsigned long>(hr));
        root->Release();
    };

    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    auto sample = [&](auto&& run, int runs) {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        for (int i = 0; i < runs; ++i)
            run();
        ::QueryPerformanceCounter(&end);
        return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) /
               runs;
    };
    // Opening and reading go through the file system and cost far more; fewer runs per sample keep the run short.
    constexpr int kSlowRunsPerSample = 5;
    for (int i = 0; i < warmup; ++i) {
        sample(copy, kRunsPerSample);
        sample(check, kRunsPerSample);
        sample(read, kSlowRunsPerSample);
        sample(open, kSlowRunsPerSample);
    }
    std::vector<double> copyTimes, checkTimes, readTimes, openTimes;
    for (int i = 0; i < iterations; ++i) {
        // Alternating the order keeps any after-effect of one kind of run on the next out of the ratios.
        if (i % 2) {
            checkTimes.push_back(sample(check, kRunsPerSample));
            copyTimes.push_back(sample(copy, kRunsPerSample));
        } else {
            copyTimes.push_back(sample(copy, kRunsPerSample));
            checkTimes.push_back(sample(check, kRunsPerSample));
        }
        readTimes.push_back(sample(read, kSlowRunsPerSample));
        openTimes.push_back(sample(open, kSlowRunsPerSample));
    }
    ::CoUninitialize();

    const double copied = Median(copyTimes), checked = Median(checkTimes);
    const double readTime = Median(readTimes), opened = Median(openTimes);
    std::printf("structure check of %s (%zu bytes), median of %d samples after %d warm-up\n", path, bytes.size(),
                iterations, warmup);
    std::printf("  copy the bytes (baseline)                median %9.2f us\n", copied);
    std::printf("  CheckCompoundFile                        median %9.2f us\n", checked);
    std::printf("  read the file                            median %9.2f us\n", readTime);
    std::printf("  StgOpenStorage and release               median %9.2f us\n", opened);
    std::printf("  ratio check / copy                       %9.2f\n", checked / copied);
    std::printf("  ratio check / read                       %9.2f\n", checked / readTime);
    std::printf("  ratio check / open                       %9.2f\n", checked / opened);
    return 0;
}
