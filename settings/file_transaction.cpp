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

// Copies from into to, keeping the bytes in contents while they are no more than maxContents.
HRESULT CopyContents(HANDLE from, HANDLE to, std::vector<uint8_t>& contents, size_t maxContents, bool& tooLarge) {
    contents.clear();
    tooLarge = false;
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(from, start, nullptr, FILE_BEGIN))
        return LastStorageError();
    // A settings file fits the first read whole; the loop is for anything larger.
    uint8_t chunk[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(from, chunk, sizeof chunk, &got, nullptr))
            return LastStorageError();
        if (got == 0)
            return S_OK;
        DWORD put = 0;
        if (!::WriteFile(to, chunk, got, &put, nullptr))
            return LastStorageError();
        if (put != got)
            return STG_E_MEDIUMFULL;
        if (!tooLarge && contents.size() + got <= maxContents) {
            contents.insert(contents.end(), chunk, chunk + got);
        } else {
            tooLarge = true;
            contents.clear();
        }
    }
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

    const std::wstring shadow = ShadowPathFor(path);
    UniqueFile copy(
        ::CreateFileW(shadow.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    HRESULT hr = copy ? CopyContents(lock.Get(), copy.Get(), contents, maxContents, tooLarge) : LastStorageError();
    copy.Reset();
    if (FAILED(hr)) {
        ::DeleteFileW(shadow.c_str());
        lock.Reset();
        if (created)
            ::DeleteFileW(path.c_str());
        return hr;
    }
    m_path = path;
    m_shadow = shadow;
    m_lock = std::move(lock);
    m_createdOriginal = created;
    return S_OK;
}

HRESULT CFileTransaction::Commit() {
    if (!Active())
        return E_FAIL;
    HRESULT hr = S_OK;
    {
        // The storage functions closed their handle when the last reference went; flushing through a handle
        // of our own puts the bytes on disk before the rename makes them the user's file.
        UniqueFile copy(
            ::CreateFileW(m_shadow.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!copy || !::FlushFileBuffers(copy.Get()))
            hr = LastStorageError();
    }
    if (SUCCEEDED(hr)) {
        // Released just before the rename: Windows refuses to replace a file that is still open.
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
    m_lock.Reset();
    ::DeleteFileW(m_shadow.c_str());
    if (m_createdOriginal)
        ::DeleteFileW(m_path.c_str());
    m_createdOriginal = false;
    m_path.clear();
    m_shadow.clear();
}

} // namespace tolvan
