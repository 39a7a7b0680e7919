// The settings store on the command line, for the end-to-end checks that compare it with
// independent compound-file readers and writers and that kill it in the middle of a batch.
//   store-probe write FILE MODEL MASK RECORD_HEX [BLOB_HEX]   one write batch
//   store-probe read FILE MODEL MASK [BUFFER_LEN]              one read batch
//   store-probe models FILE                                    the model names, in enumeration order
//   store-probe hammer FILE MODEL MARKER FIRST_GENERATION      write batches until killed
//   store-probe hold FILE MARKER RELEASE                       holds the file open until RELEASE exists
// Exit code: 0 done, 1 the store reported a failure, 2 bad arguments.
#include "settings/settings_store.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

using namespace tolvan;

namespace {

using Bytes = std::vector<uint8_t>;

int Usage() {
    std::fprintf(stderr, "usage: store-probe write FILE MODEL MASK RECORD_HEX [BLOB_HEX]\n"
                         "       store-probe read FILE MODEL MASK [BUFFER_LEN]\n"
                         "       store-probe models FILE\n"
                         "       store-probe hammer FILE MODEL MARKER FIRST_GENERATION\n"
                         "       store-probe hold FILE MARKER RELEASE\n");
    return 2;
}

bool ParseHex(std::string_view text, Bytes& out) {
    if (text.size() % 2)
        return false;
    out.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        int value = 0;
        for (char c : text.substr(i, 2)) {
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0)
                return false;
            value = value * 16 + digit;
        }
        out.push_back(static_cast<uint8_t>(value));
    }
    return true;
}

bool ParseU32(const char* text, uint32_t& out) {
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 0);
    if (!*text || *end || value > 0xFFFFFFFFull)
        return false;
    out = static_cast<uint32_t>(value);
    return true;
}

void PrintHex(const char* label, const uint8_t* data, size_t size) {
    std::printf("%s=", label);
    for (size_t i = 0; i < size; ++i)
        std::printf("%02x", data[i]);
    std::printf("\n");
}

void PrintResult(const char* step, HRESULT hr) {
    std::printf("%s=0x%08lx\n", step, static_cast<unsigned long>(hr));
}

int Write(const char* file, const char* model, uint32_t mask, const Bytes& record, const Bytes& blob) {
    JobRecord stored{};
    std::memcpy(&stored, record.data(), kJobRecordSize);
    CSettingsStore store;
    HRESULT hr = store.Open(file, StgMode::kReadWrite);
    PrintResult("open", hr);
    if (FAILED(hr))
        return 1;
    hr = store.WriteJob(model, mask, &stored, blob.empty() ? nullptr : blob.data());
    PrintResult("write", hr);
    const HRESULT closed = store.Close();
    PrintResult("close", closed);
    return FAILED(hr) || FAILED(closed) ? 1 : 0;
}

// Reads twice, as the program does for a blob of unknown size: first without a buffer to learn the
// stored length, then into a zeroed buffer of that length or of the length the caller asked for.
int Read(const char* file, const char* model, uint32_t mask, const uint32_t* bufferLength) {
    CSettingsStore store;
    HRESULT hr = store.Open(file, StgMode::kRead);
    PrintResult("open", hr);
    if (FAILED(hr))
        return 1;
    JobRecord record{};
    hr = store.ReadJob(model, mask, &record, nullptr);
    PrintResult("read", hr);
    if (FAILED(hr))
        return 1;
    std::printf("extra_len=%lu\n", static_cast<unsigned long>(record.ap.dwExtraLen));
    PrintHex("record", reinterpret_cast<const uint8_t*>(&record), kJobRecordSize);

    Bytes blob(bufferLength ? *bufferLength : record.ap.dwExtraLen, 0);
    JobRecord again{};
    again.ap.dwExtraLen = static_cast<uint32_t>(blob.size());
    hr = store.ReadJob(model, mask, &again, blob.data());
    PrintResult("read_blob", hr);
    PrintHex("blob", blob.data(), blob.size());
    return FAILED(hr) ? 1 : 0;
}

int Models(const char* file) {
    CSettingsStore store;
    HRESULT hr = store.Open(file, StgMode::kRead);
    PrintResult("open", hr);
    if (FAILED(hr))
        return 1;
    char name[kModelNameBytes];
    for (hr = store.FirstModelName(name); hr == S_OK; hr = store.NextModelName(name))
        std::printf("model=%s\n", name);
    PrintResult("end", hr);
    return FAILED(hr) ? 1 : 0;
}

// Creates an empty marker file for the checks to wait on.
bool Touch(const char* marker) {
    const HANDLE h = ::CreateFileA(marker, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(h);
    return true;
}

// Holds the file the way the program holds it during a read or write batch: opened for writing, so that every
// other opener is refused. Marks when it holds the file, and lets go once the release file exists.
int Hold(const char* file, const char* marker, const char* release) {
    CSettingsStore store;
    const HRESULT hr = store.Open(file, StgMode::kReadWrite);
    PrintResult("open", hr);
    if (FAILED(hr) || !Touch(marker))
        return 1;
    while (::GetFileAttributesA(release) == INVALID_FILE_ATTRIBUTES)
        ::Sleep(20);
    return FAILED(store.Close()) ? 1 : 0;
}

// Generation g of the two hammered jobs; the checks compute the same bytes on their side.
JobRecord GenerationRecord(uint32_t generation, uint32_t job, Bytes& blob) {
    JobRecord record;
    auto* bytes = reinterpret_cast<uint8_t*>(&record);
    for (uint32_t i = 0; i < kJobRecordSize; ++i)
        bytes[i] = static_cast<uint8_t>(i * 31 + job * 101 + generation * 7);
    record.dwStored = generation;
    // The second job's blob crosses the 4096-byte line between small and regular streams as g varies.
    record.ap.dwExtraLen = job == 0 ? 0 : 1 + generation * 613 % 6000;
    blob.resize(record.ap.dwExtraLen);
    for (uint32_t i = 0; i < blob.size(); ++i)
        blob[i] = static_cast<uint8_t>(i + generation * 13 + 5);
    return record;
}

// Runs until killed; a batch that fails (the file still locked by a process killed a moment ago) is
// tried again with the same generation, so every committed generation is complete.
int Hammer(const char* file, const char* model, const char* marker, uint32_t generation) {
    constexpr uint32_t kMasks[2] = {0x100, 0x01000000};
    bool marked = false;
    for (;;) {
        CSettingsStore store;
        HRESULT hr = store.Open(file, StgMode::kReadWrite);
        if (SUCCEEDED(hr) && !marked) {
            // Shared, and tried again on the next round: the probe killed a moment ago may still hold its own
            // marker open until Wine notices that it is gone.
            marked = Touch(marker);
        }
        for (uint32_t job = 0; job < 2 && SUCCEEDED(hr); ++job) {
            Bytes blob;
            const JobRecord record = GenerationRecord(generation, job, blob);
            hr = store.WriteJob(model, kMasks[job], &record, blob.data());
        }
        const HRESULT closed = store.Close();
        if (SUCCEEDED(hr) && SUCCEEDED(closed))
            ++generation;
        else
            ::Sleep(2);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    const std::string_view command = argv[1];
    uint32_t mask = 0;
    if (command == "write" && (argc == 6 || argc == 7) && ParseU32(argv[4], mask)) {
        Bytes record, blob;
        if (!ParseHex(argv[5], record) || record.size() != kJobRecordSize)
            return Usage();
        if (argc == 7 && !ParseHex(argv[6], blob))
            return Usage();
        // The store writes as many blob bytes as the record claims; the probe supplies exactly that many.
        uint32_t claimed = 0;
        std::memcpy(&claimed, record.data() + kApEntryOffset + offsetof(ApEntry, dwExtraLen), sizeof claimed);
        if (claimed != blob.size()) {
            std::fprintf(stderr, "store-probe: the record claims %lu blob bytes, %zu given\n",
                         static_cast<unsigned long>(claimed), blob.size());
            return 2;
        }
        return Write(argv[2], argv[3], mask, record, blob);
    }
    if (command == "read" && (argc == 5 || argc == 6) && ParseU32(argv[4], mask)) {
        uint32_t bufferLength = 0;
        if (argc == 6 && (!ParseU32(argv[5], bufferLength) || bufferLength > 16u * 1024 * 1024))
            return Usage();
        return Read(argv[2], argv[3], mask, argc == 6 ? &bufferLength : nullptr);
    }
    if (command == "models" && argc == 3)
        return Models(argv[2]);
    uint32_t generation = 0;
    if (command == "hammer" && argc == 6 && ParseU32(argv[5], generation))
        return Hammer(argv[2], argv[3], argv[4], generation);
    if (command == "hold" && argc == 5)
        return Hold(argv[2], argv[3], argv[4]);
    return Usage();
}
