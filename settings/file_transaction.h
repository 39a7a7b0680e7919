// Makes a batch of writes to the settings file all-or-nothing. While the batch runs, the
// user's file is held open without sharing (so other processes stay out, as with a direct
// exclusive open) and the shadow beside it is held empty; the caller builds the new file in
// memory from the bytes Begin read, and Commit writes it into the shadow whole, flushes it and
// renames it over the original in one step. A crash or kill at any moment therefore leaves
// either the old file or the complete new one; a stale shadow is simply overwritten by the
// next batch.
#pragma once

#include "ui/unique_handle.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tolvan {

class CFileTransaction {
public:
    CFileTransaction() = default;
    ~CFileTransaction() { Abandon(); }
    CFileTransaction(const CFileTransaction&) = delete;
    CFileTransaction& operator=(const CFileTransaction&) = delete;

    // Locks path, makes the empty shadow and reads the file into contents. A missing file fails
    // with STG_E_FILENOTFOUND unless createMissing is set; then the batch starts from nothing and
    // the file only appears when the batch commits. A file of more than maxContents bytes is not
    // read: contents stays empty with tooLarge set.
    HRESULT Begin(const std::wstring& path, bool createMissing, std::vector<uint8_t>& contents, size_t maxContents,
                  bool& tooLarge);
    // Writes image into the shadow, flushes it and puts it in place of the original.
    HRESULT Commit(std::span<const uint8_t> image);
    // Drops the shadow; the original keeps its bytes.
    void Abandon();

    bool Active() const { return !m_path.empty(); }

    static std::wstring ShadowPathFor(const std::wstring& path) { return path + L".new"; }

private:
    void Unlock();

    std::wstring m_path;
    std::wstring m_shadow;
    UniqueFile m_lock;
    UniqueFile m_shadowFile;
    bool m_createdOriginal = false;
};

// The storage error that StgOpenStorage reports for the same Win32 failure.
HRESULT StorageErrorFromWin32(DWORD error);

} // namespace tolvan
