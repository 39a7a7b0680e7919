// Makes a batch of writes to the settings file all-or-nothing. While the batch runs, the
// user's file is held open without sharing (so other processes stay out, as with a direct
// exclusive open) and every change goes to a shadow copy beside it; Commit flushes the copy
// and renames it over the original in one step. A crash or kill at any moment therefore
// leaves either the old file or the complete new one; a stale shadow is simply overwritten
// by the next batch.
#pragma once

#include "ui/unique_handle.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tolvan {

class CFileTransaction {
public:
    CFileTransaction() = default;
    ~CFileTransaction() { Abandon(); }
    CFileTransaction(const CFileTransaction&) = delete;
    CFileTransaction& operator=(const CFileTransaction&) = delete;

    // Locks path and copies it into the shadow. A missing file fails with STG_E_FILENOTFOUND
    // unless createMissing is set; then the batch starts from an empty shadow and the file
    // only appears when the batch commits. contents receives the bytes copied, so that a
    // caller can look at them without reading the file again; a file of more than maxContents
    // bytes is copied all the same, and contents then stays empty with tooLarge set.
    HRESULT Begin(const std::wstring& path, bool createMissing, std::vector<uint8_t>& contents, size_t maxContents,
                  bool& tooLarge);
    // Flushes the shadow and puts it in place of the original. The caller must have released
    // every reference into the shadow first.
    HRESULT Commit();
    // Drops the shadow; the original keeps its bytes.
    void Abandon();

    bool Active() const { return !m_path.empty(); }
    const std::wstring& ShadowPath() const { return m_shadow; }

    static std::wstring ShadowPathFor(const std::wstring& path) { return path + L".new"; }

private:
    void Unlock();

    std::wstring m_path;
    std::wstring m_shadow;
    UniqueFile m_lock;
    bool m_createdOriginal = false;
};

// The storage error that StgOpenStorage reports for the same Win32 failure.
HRESULT StorageErrorFromWin32(DWORD error);

} // namespace tolvan
