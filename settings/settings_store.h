// Opens the per-user settings file (a compound file) and reads and writes the model's
// capability block and the job records. The file is open only for one batch of reads or one
// batch of writes: Open ... Close. Results are COM result codes.
#pragma once

#include "settings/file_transaction.h"
#include "settings/job_record.h"
#include "settings/job_writer.h"
#include "settings/memory_lock_bytes.h"
#include "settings/stream_name.h"
#include "ui/com_ptr.h"

#include <objbase.h>

#include <cstdint>
#include <string>

namespace tolvan {

namespace StgMode {
inline constexpr DWORD kRead = 0x10;              // STGM_READ | STGM_SHARE_EXCLUSIVE
inline constexpr DWORD kReadWrite = 0x12;         // STGM_READWRITE | STGM_SHARE_EXCLUSIVE
inline constexpr DWORD kCreateReadWrite = 0x1012; // STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE
inline constexpr DWORD kCreateWrite = 0x1011;     // STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE
} // namespace StgMode

inline constexpr std::size_t kSpecInfoSize = 14;
inline constexpr std::size_t kSpecInfoJobSetOffset = 6;
inline constexpr std::size_t kPathChars = 260;

class CSettingsStore final : public IJobWriter {
public:
    CSettingsStore() = default;
    // Releases what is still open; a clean write batch is committed, as releasing a direct-mode file would.
    ~CSettingsStore() { Close(); }
    CSettingsStore(const CSettingsStore&) = delete;
    CSettingsStore& operator=(const CSettingsStore&) = delete;

    HRESULT Open(const char* path, DWORD mode);
    // Releases "ProBtn", "Setting", the model storage, the enumerator and the root, in this order. When the
    // file was opened for writing, the batch is committed now if it wrote anything, unless one of its writes
    // failed half-way: then the whole batch is dropped and the file keeps its previous bytes. A batch that only
    // read leaves the file as it was: its bytes, times and attributes. The result says whether a commit failed.
    HRESULT Close();
    // Releases everything as Close does, but drops a write batch whatever it holds: the file keeps the bytes it
    // had before Open. For a reader that finds the file unusable and must not leave its mark on it.
    void Discard();

    // name: a buffer of kModelNameBytes bytes.
    HRESULT FirstModelName(char* name);
    HRESULT NextModelName(char* name);

    HRESULT OpenModel(const char* name, DWORD mode);
    HRESULT OpenSetting(DWORD mode);
    HRESULT OpenProBtn(DWORD mode);

    // info: a buffer of kSpecInfoSize bytes.
    HRESULT ReadSpecInfo(const char* modelName, uint8_t* info);
    // extra: null, or a buffer of record->ap.dwExtraLen bytes that receives the blob stored behind the record.
    // Without a buffer, dwExtraLen tells the length of the stored blob, so that a caller can allocate and read
    // again. Either way the blob is bounded by what the stream really holds.
    HRESULT ReadJob(const char* modelName, uint32_t jobMask, JobRecord* record, uint8_t* extra);
    HRESULT WriteJob(const char* modelName, uint32_t jobMask, const JobRecord* record, const uint8_t* extra) override;

    bool IsOpen() const { return static_cast<bool>(m_root); }

private:
    HRESULT FetchModelName(char* name);
    HRESULT OpenChild(IStorage* parent, const wchar_t* name, DWORD mode, ComPtr<IStorage>& out);
    // Opens the job's parent storage ("Setting" or "ProBtn") in the given mode; the write path creates a
    // missing "Setting" but never "ProBtn".
    HRESULT OpenJobParent(uint32_t jobMask, DWORD mode, IStorage** parent);
    // The storage that holds the job's stream, and the stream's name: in the named model storage (opened for
    // mode; for writing, created when missing) or, without a name, in the one opened last.
    HRESULT FindJobStream(const char* modelName, uint32_t jobMask, DWORD mode, IStorage** parent,
                          wchar_t (&name)[kElementNameChars]);

    ComPtr<IStorage> m_model;
    ComPtr<IEnumSTATSTG> m_enum;
    ComPtr<IStorage> m_root;
    ComPtr<IStorage> m_setting;
    ComPtr<IStorage> m_proBtn;

    // Something in the batch changed the file: a job stream or a storage was created.
    void MarkChanged() { m_batchChanged = m_batch.Active(); }

    CFileTransaction m_batch;
    // The batch's new file, built in memory; the root above works on it.
    ComPtr<CMemoryLockBytes> m_image;
    bool m_batchTorn = false;
    bool m_batchChanged = false;

    // The last model name the enumeration returned, as stored and as handed out in ANSI: a name that does
    // not survive the round trip through the code page is reopened by its stored form.
    std::wstring m_enumWideName;
    std::string m_enumAnsiName;
};

} // namespace tolvan
