#include "settings/settings_store.h"

#include "settings/compound_file_check.h"
#include "settings/memory_lock_bytes.h"

#include <cstring>
#include <cwchar>
#include <vector>

namespace tolvan {

namespace {

constexpr wchar_t kSettingName[] = L"Setting";
constexpr wchar_t kProBtnName[] = L"ProBtn";
constexpr wchar_t kSpecInfoName[] = L"SpecInfo";

bool Creates(DWORD mode) {
    return (mode & STGM_CREATE) != 0;
}

bool Writes(DWORD mode) {
    return (mode & (STGM_WRITE | STGM_READWRITE)) != 0;
}

// Converts an ANSI name into at most chars-1 wide characters; a longer name is refused rather than cut,
// since a cut name would address another element.
bool ToWide(const char* text, wchar_t* out, int chars) {
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, out, chars);
    return n > 0;
}

std::wstring ToWide(const char* text, int chars) {
    std::wstring out(static_cast<size_t>(chars), L'\0');
    if (!ToWide(text, out.data(), chars))
        return {};
    out.resize(std::wcslen(out.c_str()));
    return out;
}

// A settings file is a few kilobytes; anything this large is not one, and is not read into memory.
constexpr LONGLONG kMaxSettingsFileBytes = 64ll * 1024 * 1024;

// Checks the structure of a compound file before ole32 walks it: a damaged chain or directory tree could make
// ole32 loop for ever.
HRESULT CheckBytes(const std::vector<uint8_t>& bytes, CompoundFileCheck& check) {
    check = CheckCompoundFile(bytes);
    return check.Ok() ? S_OK : STG_E_DOCFILECORRUPT;
}

// The read path's check of the file at path. A file that cannot be read here is left to ole32, which reports why.
HRESULT CheckStructure(const wchar_t* path) {
    UniqueFile file(
        ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size))
        return S_OK;
    if (size.QuadPart > kMaxSettingsFileBytes)
        return STG_E_DOCFILECORRUPT;
    std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    if (!bytes.empty() &&
        (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) || got != bytes.size()))
        return STG_E_READFAULT;
    CompoundFileCheck check;
    return CheckBytes(bytes, check);
}

// The write path's check, on the bytes the batch read. A file that passes but lacks its last sector's padding is
// completed with the zeros ole32 reads in their place: ole32 itself writes no padding behind data it rewrites in
// place, so the file would stay short for ever.
HRESULT CheckAndPad(std::vector<uint8_t>& bytes, bool tooLarge) {
    CompoundFileCheck check;
    const HRESULT hr = tooLarge ? STG_E_DOCFILECORRUPT : CheckBytes(bytes, check);
    if (SUCCEEDED(hr))
        bytes.resize(bytes.size() + check.missingPadding, 0);
    return hr;
}

// checked: the outcome of the structure check of the file at path.
HRESULT OpenCheckedStorage(const wchar_t* path, DWORD mode, HRESULT checked, IStorage** root) {
    HRESULT hr = checked;
    if (SUCCEEDED(hr))
        hr = ::StgOpenStorage(path, nullptr, mode, nullptr, 0, root);
    if (FAILED(hr) && Creates(mode))
        hr = ::StgCreateDocfile(path, mode, 0, root);
    return hr;
}

// checked: the outcome of the structure check of bytes. The batch's new file is built in memory, from bytes: ole32's
// many small reads and writes then cost no system calls, and the file is written once, whole, when the batch
// commits. A file that fails the check is made anew when mode allows, as StgCreateDocfile would replace it.
HRESULT OpenCheckedImage(std::vector<uint8_t>&& bytes, DWORD mode, HRESULT checked, ComPtr<CMemoryLockBytes>& image,
                         IStorage** root) {
    HRESULT hr = checked;
    if (SUCCEEDED(hr)) {
        *image.Put() = new CMemoryLockBytes(std::move(bytes));
        hr = ::StgOpenStorageOnILockBytes(image.Get(), nullptr, mode, nullptr, 0, root);
    }
    if (FAILED(hr) && Creates(mode)) {
        *image.Put() = new CMemoryLockBytes({});
        hr = ::StgCreateDocfileOnILockBytes(image.Get(), mode, 0, root);
    }
    return hr;
}

struct TaskMemString {
    wchar_t* p = nullptr;
    ~TaskMemString() { ::CoTaskMemFree(p); }
};

} // namespace

HRESULT CSettingsStore::Open(const char* path, DWORD mode) {
    Close();
    if (!path)
        return E_POINTER;
    const std::wstring wide = ToWide(path, kPathChars);
    if (wide.empty())
        return STG_E_INVALIDNAME;

    if (!Writes(mode))
        return OpenCheckedStorage(wide.c_str(), mode, CheckStructure(wide.c_str()), m_root.Put());

    std::vector<uint8_t> contents;
    bool tooLarge = false;
    HRESULT hr = m_batch.Begin(wide, Creates(mode), contents, static_cast<size_t>(kMaxSettingsFileBytes), tooLarge);
    if (FAILED(hr))
        return hr;
    m_batchTorn = false;
    m_batchChanged = false;
    // A file that may be created is to exist afterwards, written or not.
    if (Creates(mode))
        MarkChanged();
    const HRESULT checked = CheckAndPad(contents, tooLarge);
    hr = OpenCheckedImage(std::move(contents), mode, checked, m_image, m_root.Put());
    if (FAILED(hr)) {
        m_root.Reset();
        m_image.Reset();
        m_batch.Abandon();
    }
    return hr;
}

HRESULT CSettingsStore::Close() {
    m_proBtn.Reset();
    m_setting.Reset();
    m_model.Reset();
    m_enum.Reset();
    m_root.Reset();
    const ComPtr<CMemoryLockBytes> image = std::move(m_image);
    if (!m_batch.Active())
        return S_OK;
    if (m_batchTorn) {
        m_batch.Abandon();
        m_batchTorn = false;
        return STG_E_WRITEFAULT;
    }
    if (!m_batchChanged) {
        // Every start opens the file for writing to read it: committing the untouched copy would give the user's
        // file new times, drop its attributes and risk a failure for nothing.
        m_batch.Abandon();
        return S_OK;
    }
    m_batchChanged = false;
    if (!image) {
        m_batch.Abandon();
        return E_FAIL;
    }
    return m_batch.Commit(image->Bytes());
}

void CSettingsStore::Discard() {
    if (m_batch.Active())
        m_batchTorn = true;
    Close();
}

HRESULT CSettingsStore::FirstModelName(char* name) {
    m_enum.Reset();
    if (!m_root)
        return E_FAIL;
    if (!name)
        return E_POINTER;
    HRESULT hr = m_root->EnumElements(0, nullptr, 0, m_enum.Put());
    if (FAILED(hr))
        return hr;
    return FetchModelName(name);
}

HRESULT CSettingsStore::NextModelName(char* name) {
    if (!m_enum)
        return FirstModelName(name);
    if (!name)
        return E_POINTER;
    return FetchModelName(name);
}

HRESULT CSettingsStore::FetchModelName(char* name) {
    for (;;) {
        STATSTG stat{};
        HRESULT hr = m_enum->Next(1, &stat, nullptr);
        TaskMemString element{stat.pwcsName};
        if (hr != S_OK)
            return hr;
        if (stat.type != STGTY_STORAGE || !element.p)
            continue; // streams in the root are not models
        // A damaged directory can hand back a name without its terminator; an element name has at most
        // 31 characters, so anything past the model buffer's worth is not a name we could reopen.
        const size_t length = wcsnlen(element.p, kModelNameBytes);
        if (length >= kModelNameBytes)
            return STG_E_INVALIDNAME;
        char ansi[kModelNameBytes] = {};
        const int n = ::WideCharToMultiByte(CP_ACP, 0, element.p, static_cast<int>(length), ansi, kModelNameBytes - 1,
                                            nullptr, nullptr);
        if (n <= 0 && length != 0)
            return STG_E_INVALIDNAME;
        std::memcpy(name, ansi, kModelNameBytes);
        m_enumWideName.assign(element.p, length);
        m_enumAnsiName = ansi;
        return S_OK;
    }
}

HRESULT CSettingsStore::OpenChild(IStorage* parent, const wchar_t* name, DWORD mode, ComPtr<IStorage>& out) {
    if (!parent)
        return STG_E_INVALIDPARAMETER;
    HRESULT hr = parent->OpenStorage(name, nullptr, mode, nullptr, 0, out.Put());
    if (FAILED(hr) && Creates(mode)) {
        hr = parent->CreateStorage(name, mode, 0, 0, out.Put());
        if (SUCCEEDED(hr))
            MarkChanged();
    }
    return hr;
}

HRESULT CSettingsStore::OpenModel(const char* name, DWORD mode) {
    m_proBtn.Reset();
    m_setting.Reset();
    m_model.Reset();
    if (!name)
        return E_POINTER;
    std::wstring wide;
    if (!m_enumWideName.empty() && m_enumAnsiName == name)
        wide = m_enumWideName;
    else
        wide = ToWide(name, kModelNameBytes);
    if (wide.empty())
        return STG_E_INVALIDNAME;
    return OpenChild(m_root.Get(), wide.c_str(), mode, m_model);
}

HRESULT CSettingsStore::OpenSetting(DWORD mode) {
    m_proBtn.Reset();
    m_setting.Reset();
    return OpenChild(m_model.Get(), kSettingName, mode, m_setting);
}

HRESULT CSettingsStore::OpenProBtn(DWORD mode) {
    m_proBtn.Reset();
    return OpenChild(m_setting.Get(), kProBtnName, mode, m_proBtn);
}

HRESULT CSettingsStore::ReadSpecInfo(const char* modelName, uint8_t* info) {
    if (!info)
        return E_POINTER;
    if (modelName) {
        HRESULT hr = OpenModel(modelName, StgMode::kRead);
        if (FAILED(hr))
            return hr;
    } else if (!m_model) {
        return STG_E_INVALIDPARAMETER;
    }
    ComPtr<IStream> stream;
    HRESULT hr = m_model->OpenStream(kSpecInfoName, nullptr, StgMode::kRead, 0, stream.Put());
    if (FAILED(hr))
        return hr;
    STATSTG stat{};
    hr = stream->Stat(&stat, STATFLAG_NONAME);
    if (FAILED(hr))
        return hr;
    if (stat.cbSize.QuadPart != kSpecInfoSize)
        return E_FAIL;
    return stream->Read(info, kSpecInfoSize, nullptr);
}

HRESULT CSettingsStore::OpenJobParent(uint32_t jobMask, DWORD mode, IStorage** parent) {
    HRESULT hr = OpenSetting(mode);
    // Only a missing "Setting" is created: one that exists but cannot be opened for writing still holds the
    // other jobs' streams, and replacing it would lose them.
    if (hr == STG_E_FILENOTFOUND && Writes(mode))
        hr = OpenSetting(mode | STGM_CREATE);
    if (FAILED(hr))
        return hr;
    *parent = m_setting.Get();
    if (StoredInProBtn(jobMask)) {
        hr = OpenProBtn(mode);
        if (FAILED(hr))
            return hr;
        *parent = m_proBtn.Get();
    }
    return S_OK;
}

HRESULT CSettingsStore::FindJobStream(const char* modelName, uint32_t jobMask, DWORD mode, IStorage** parent,
                                      wchar_t (&name)[kElementNameChars]) {
    HRESULT hr = S_OK;
    if (modelName && mode == StgMode::kRead) {
        if (m_root)
            hr = OpenModel(modelName, StgMode::kRead);
    } else if (modelName) {
        m_model.Reset();
        hr = OpenModel(modelName, StgMode::kReadWrite);
        // As with "Setting": create a missing model storage, never replace one that failed to open.
        if (hr == STG_E_FILENOTFOUND)
            hr = OpenModel(modelName, StgMode::kCreateReadWrite);
    }
    if (FAILED(hr))
        return hr;
    if (!m_model)
        return STG_E_INVALIDPARAMETER;
    hr = OpenJobParent(jobMask, mode, parent);
    if (FAILED(hr))
        return hr;
    return ToWide(JobStreamName(jobMask).c_str(), name, kElementNameChars) ? S_OK : STG_E_INVALIDNAME;
}

HRESULT CSettingsStore::ReadJob(const char* modelName, uint32_t jobMask, JobRecord* record, uint8_t* extra) {
    if (!record)
        return E_POINTER;
    IStorage* parent = nullptr;
    wchar_t name[kElementNameChars];
    HRESULT hr = FindJobStream(modelName, jobMask, StgMode::kRead, &parent, name);
    if (FAILED(hr))
        return hr;
    ComPtr<IStream> stream;
    hr = parent->OpenStream(name, nullptr, StgMode::kRead, 0, stream.Put());
    if (FAILED(hr))
        return hr;

    STATSTG stat{};
    hr = stream->Stat(&stat, STATFLAG_NONAME);
    if (FAILED(hr))
        return hr;
    const uint64_t behindRecord = stat.cbSize.QuadPart > kJobRecordSize ? stat.cbSize.QuadPart - kJobRecordSize : 0;

    const uint32_t callerLength = record->ap.dwExtraLen;
    // A short stream leaves the rest of the caller's record as it was.
    hr = stream->Read(record, kJobRecordSize, nullptr);
    // The stored length is a number from a file: the blob never reaches past what the stream holds.
    uint32_t stored = record->ap.dwExtraLen;
    if (stored > behindRecord)
        stored = static_cast<uint32_t>(behindRecord);
    if (SUCCEEDED(hr) && stored != 0 && extra)
        hr = stream->Read(extra, stored < callerLength ? stored : callerLength, nullptr);
    record->ap.dwExtraLen = extra ? callerLength : stored;
    record->ap.pExtraLow = 0;
    return hr;
}

HRESULT CSettingsStore::WriteJob(const char* modelName, uint32_t jobMask, const JobRecord* record,
                                 const uint8_t* extra) {
    if (!record || (record->ap.dwExtraLen != 0 && !extra))
        return E_POINTER;
    IStorage* parent = nullptr;
    wchar_t name[kElementNameChars];
    HRESULT hr = FindJobStream(modelName, jobMask, StgMode::kReadWrite, &parent, name);
    if (FAILED(hr))
        return hr;

    // From here on the job's old stream may already be gone: a failure spoils the whole batch.
    MarkChanged();
    ComPtr<IStream> stream;
    hr = parent->CreateStream(name, StgMode::kCreateWrite, 0, 0, stream.Put());
    if (SUCCEEDED(hr)) {
        JobRecord stored = *record;
        stored.ap.pExtraLow = 0;
        ULONG written = 0;
        hr = stream->Write(&stored, kJobRecordSize, &written);
        if (SUCCEEDED(hr) && written != kJobRecordSize)
            hr = STG_E_MEDIUMFULL;
        if (SUCCEEDED(hr) && record->ap.dwExtraLen != 0) {
            hr = stream->Write(extra, record->ap.dwExtraLen, &written);
            if (SUCCEEDED(hr) && written != record->ap.dwExtraLen)
                hr = STG_E_MEDIUMFULL;
        }
    }
    if (FAILED(hr))
        m_batchTorn = true;
    return hr;
}

} // namespace tolvan
