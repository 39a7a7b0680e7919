#include "driver/apinfo/list_file.h"

#include "driver/apinfo/ap_file_format.h"
#include "driver/apinfo/apinfo_api.h"

#include <span>

namespace tolvan::apinfo {

namespace {

HRESULT LastError() {
    const DWORD error = ::GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

HRESULT FromParse(ParseStatus status) {
    switch (status) {
    case ParseStatus::kOk:
        return S_OK;
    case ParseStatus::kUnknownVersion:
        return kFileVersionUnknown;
    default:
        return kFileDamaged;
    }
}

bool ReadOnly(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

} // namespace

std::string SiblingTempPath(const std::string& path) {
    return path + ".new";
}

HRESULT LoadListFile(const std::string& path, std::vector<ApEntry>& entries) {
    entries.clear();
    UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return LastError();
    return ReadList(file.Get(), entries);
}

HRESULT ReadList(HANDLE file, std::vector<ApEntry>& entries) {
    entries.clear();
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size))
        return LastError();
    if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > kMaxFileSize)
        return kFileDamaged;
    const LARGE_INTEGER start{};
    if (!::SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        return LastError();
    std::vector<uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!::ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr))
            return LastError();
        if (got == 0)
            return kFileDamaged; // shrank while we read it
        done += got;
    }
    return FromParse(ParseApFile(bytes, entries));
}

HRESULT SaveListFile(const std::string& path, const std::vector<ApEntry>& entries) {
    std::vector<uint8_t> bytes;
    if (!SerializeApFile(entries, bytes))
        return entries.size() > kMaxEntries ? kListFull : E_INVALIDARG;
    // Windows refuses to replace a read-only file; say so ourselves, since under an administrative
    // account elsewhere (root under Wine) the rename would go through.
    if (ReadOnly(path))
        return E_ACCESSDENIED;

    const std::string temp = SiblingTempPath(path);
    HRESULT hr = S_OK;
    {
        UniqueFile file(
            ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return LastError();
        DWORD put = 0;
        if (!::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr))
            hr = LastError();
        else if (put != bytes.size())
            hr = HRESULT_FROM_WIN32(ERROR_DISK_FULL);
        // On disk before the rename makes the bytes the user's file.
        else if (!::FlushFileBuffers(file.Get()))
            hr = LastError();
    }
    if (SUCCEEDED(hr) && !::MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        hr = LastError();
    if (FAILED(hr))
        ::DeleteFileA(temp.c_str());
    return hr;
}

HRESULT LockListFile(const std::string& path, UniqueFile& lock) {
    if (ReadOnly(path))
        return E_ACCESSDENIED;
    // Write access on the lock makes a file we may not change fail here rather than at the end.
    lock.Reset(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    return lock ? S_OK : LastError();
}

} // namespace tolvan::apinfo
