#include "settings/file_transaction.h"

#include <objbase.h>

namespace tolvan {

HRESULT StorageErrorFromWin32(DWORD error) {
    // The storage facility reuses the Win32 codes below 0x100 (STG_E_FILENOTFOUND is 2, STG_E_ACCESSDENIED 5,
    // STG_E_SHAREVIOLATION 32 ...), so callers see what a direct open would have told them.
    if (error != 0 && error < 0x100)
        return MAKE_SCODE(SEVERITY_ERROR, FACILITY_STORAGE, error);
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

namespace {

HRESULT LastStorageError() {
    return StorageErrorFromWin32(::GetLastError());
}

// Reads the whole file behind from's start into contents, unless it holds more than maxContents bytes.
HRESULT ReadContents(HANDLE from, std::vector<uint8_t>& contents, size_t maxContents, bool& tooLarge) {
    contents.clear();
    tooLarge = false;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(from, &size))
        return LastStorageError();
    if (static_cast<unsigned long long>(size.QuadPart) > maxContents) {
        tooLarge = true;
        return S_OK;
    }
    contents.resize(static_cast<size_t>(size.QuadPart));
    size_t have = 0;
    while (have < contents.size()) {
        DWORD got = 0;
        if (!::ReadFile(from, contents.data() + have, static_cast<DWORD>(contents.size() - have), &got, nullptr))
            return LastStorageError();
        if (got == 0)
            break;
        have += got;
    }
    contents.resize(have);
    return S_OK;
}

} // namespace

HRESULT CFileTransaction::Begin(const std::wstring& path, bool createMissing, std::vector<uint8_t>& contents,
                                size_t maxContents, bool& tooLarge) {
    Abandon();
    // Windows refuses to open a read-only file for writing; say so ourselves, since a process with
    // administrative rights elsewhere (root under Wine) would otherwise be let through and replace it.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return STG_E_ACCESSDENIED;
    // Write access on the lock makes a read-only file fail here, as a direct read-write open would.
    UniqueFile lock(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    bool created = false;
    if (!lock) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND || !createMissing)
            return StorageErrorFromWin32(error);
        lock.Reset(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!lock)
            return LastStorageError();
        created = true;
    }

    // The shadow is made now, so that a folder or a shadow that another program holds refuses the batch before
    // anything is written, as it did when the batch worked on the shadow itself.
    const std::wstring shadow = ShadowPathFor(path);
    UniqueFile shadowFile(
        ::CreateFileW(shadow.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    HRESULT hr = shadowFile ? ReadContents(lock.Get(), contents, maxContents, tooLarge) : LastStorageError();
    if (FAILED(hr)) {
        if (shadowFile) {
            shadowFile.Reset();
            ::DeleteFileW(shadow.c_str());
        }
        lock.Reset();
        if (created)
            ::DeleteFileW(path.c_str());
        return hr;
    }
    m_path = path;
    m_shadow = shadow;
    m_lock = std::move(lock);
    m_shadowFile = std::move(shadowFile);
    m_createdOriginal = created;
    return S_OK;
}

HRESULT CFileTransaction::Commit(std::span<const uint8_t> image) {
    if (!Active())
        return E_FAIL;
    // One write of the whole image and a flush of the same handle: the bytes are on disk before the rename makes
    // them the user's file.
    HRESULT hr = S_OK;
    DWORD put = 0;
    if (image.size() > MAXDWORD)
        hr = STG_E_MEDIUMFULL;
    else if (!::WriteFile(m_shadowFile.Get(), image.data(), static_cast<DWORD>(image.size()), &put, nullptr))
        hr = LastStorageError();
    else if (put != image.size())
        hr = STG_E_MEDIUMFULL;
    else if (!::FlushFileBuffers(m_shadowFile.Get()))
        hr = LastStorageError();
    // Both released just before the rename: Windows neither renames nor replaces a file that is still open.
    m_shadowFile.Reset();
    if (SUCCEEDED(hr)) {
        m_lock.Reset();
        if (!::MoveFileExW(m_shadow.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            hr = LastStorageError();
        } else {
            // The shadow is the user's file now: nothing is left to drop.
            m_createdOriginal = false;
            m_path.clear();
            m_shadow.clear();
        }
    }
    Abandon();
    return hr;
}

void CFileTransaction::Abandon() {
    if (!Active())
        return;
    m_shadowFile.Reset();
    m_lock.Reset();
    ::DeleteFileW(m_shadow.c_str());
    if (m_createdOriginal)
        ::DeleteFileW(m_path.c_str());
    m_createdOriginal = false;
    m_path.clear();
    m_shadow.clear();
}

} // namespace tolvan
