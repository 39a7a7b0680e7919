#include "driver/apinfo/apinfo_context.h"

#include "driver/apinfo/ap_file_format.h"
#include "driver/apinfo/apinfo_api.h"
#include "driver/apinfo/list_file.h"
#include "driver/apinfo/program_search.h"

#include <cstring>

namespace tolvan::apinfo {

namespace {

// Longer than any path Windows accepts; a longer "path" is a string without its terminator.
constexpr std::size_t kMaxPathChars = 32768;

HRESULT CheckPath(const char* path) {
    if (!path)
        return E_POINTER;
    const std::size_t length = strnlen(path, kMaxPathChars);
    return length == 0 || length == kMaxPathChars ? E_INVALIDARG : S_OK;
}

std::string FullPath(const char* path) {
    char buffer[MAX_PATH];
    const DWORD n = ::GetFullPathNameA(path, MAX_PATH, buffer, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string(path);
}

} // namespace

HRESULT Context::SearchInstalled(const char* apInfoPath, const char* inApInfoPath) {
    HRESULT hr = CheckPath(apInfoPath);
    if (SUCCEEDED(hr))
        hr = CheckPath(inApInfoPath);
    if (FAILED(hr))
        return hr;
    // Writing the result over the catalogue would lose every application that is not installed.
    if (SameName(FullPath(apInfoPath), FullPath(inApInfoPath)))
        return E_INVALIDARG;

    std::vector<ApEntry> catalogue;
    hr = LoadListFile(apInfoPath, catalogue);
    if (FAILED(hr))
        return hr;
    const ProgramSearch search;
    std::vector<ApEntry> installed;
    for (const ApEntry& entry : catalogue) {
        const std::string folder = search.Locate(entry);
        if (folder.empty())
            continue;
        ApEntry found = entry;
        if (SetProgramFolder(found, folder))
            installed.push_back(found);
    }
    return SaveListFile(inApInfoPath, installed);
}

HRESULT Context::Open(const char* path, DWORD mode) {
    HRESULT hr = CheckPath(path);
    if (FAILED(hr))
        return hr;
    // Storage-mode bits: the access in the low two bits (read, write, read-write), sharing above.
    const DWORD access = mode & 0x3;
    if ((mode & ~DWORD{0x73}) != 0 || access == 0x3)
        return E_INVALIDARG;
    if (IsOpen())
        return kWrongState;

    const bool changeable = access != 0;
    std::vector<ApEntry> entries;
    UniqueFile lock;
    if (changeable) {
        hr = LockListFile(path, lock);
        if (SUCCEEDED(hr))
            hr = ReadList(lock.Get(), entries);
    } else {
        hr = LoadListFile(path, entries);
    }
    if (FAILED(hr))
        return hr;
    m_path = path;
    m_changeable = changeable;
    m_changed = false;
    m_lock = std::move(lock);
    m_entries = std::move(entries);
    m_findNext = kNotFound;
    return S_OK;
}

HRESULT Context::Close() {
    if (!IsOpen())
        return S_FALSE;
    HRESULT hr = S_OK;
    // Released first: Windows does not replace a file that is still open.
    m_lock.Reset();
    if (m_changeable && m_changed)
        hr = SaveListFile(m_path, m_entries);
    m_path.clear();
    m_changeable = m_changed = false;
    m_entries.clear();
    m_findNext = kNotFound;
    return hr;
}

HRESULT Context::FindFirst(ApEntry* entry, uint32_t category) {
    if (!entry)
        return E_POINTER;
    if (!IsOpen())
        return kWrongState;
    m_findCategory = category;
    m_findNext = 0;
    return FindNext(entry);
}

HRESULT Context::FindNext(ApEntry* entry) {
    if (!entry)
        return E_POINTER;
    if (!IsOpen())
        return kWrongState;
    const std::size_t index =
        m_findNext == kNotFound ? kNotFound : FindInCategory(m_entries, m_findNext, m_findCategory);
    if (index == kNotFound) {
        m_findNext = kNotFound;
        return kNoMoreEntries;
    }
    std::memcpy(entry, &m_entries[index], kApEntrySize);
    m_findNext = index + 1;
    return S_OK;
}

HRESULT Context::EndFind() {
    m_findNext = kNotFound;
    return S_OK;
}

HRESULT Context::Read(ApEntry* entry, uint32_t category, uint16_t apId) const {
    if (!entry)
        return E_POINTER;
    if (!IsOpen())
        return kWrongState;
    for (const ApEntry& e : m_entries) {
        if (InCategory(e, category) && e.wApId == apId) {
            std::memcpy(entry, &e, kApEntrySize);
            return S_OK;
        }
    }
    return kEntryNotFound;
}

HRESULT Context::AtIndex(uint32_t index, ApEntry* entry) const {
    if (!entry)
        return E_POINTER;
    if (!IsOpen())
        return kWrongState;
    if (index >= m_entries.size())
        return kNoMoreEntries;
    std::memcpy(entry, &m_entries[index], kApEntrySize);
    return S_OK;
}

HRESULT Context::CheckChangeable() const {
    if (!IsOpen())
        return kWrongState;
    return m_changeable ? S_OK : E_ACCESSDENIED;
}

HRESULT Context::Write(const ApEntry* entry) {
    if (!entry)
        return E_POINTER;
    HRESULT hr = CheckChangeable();
    if (FAILED(hr))
        return hr;
    // A copy first: the caller's buffer is only trusted for its 1114 bytes.
    ApEntry copy;
    std::memcpy(&copy, entry, kApEntrySize);
    if (CheckNewEntry(copy) != EntryCheck::kOk)
        return E_INVALIDARG;
    if (FindSameEntry(m_entries, copy) == kNotFound && m_entries.size() >= kMaxEntries)
        return kListFull;
    AddOrReplace(m_entries, copy);
    m_changed = true;
    return S_OK;
}

HRESULT Context::Delete(uint32_t category, const char* name) {
    if (!name)
        return E_POINTER;
    const std::size_t length = strnlen(name, sizeof ApEntry::szApName);
    if (category == 0 || length == 0 || length == sizeof ApEntry::szApName)
        return E_INVALIDARG;
    HRESULT hr = CheckChangeable();
    if (FAILED(hr))
        return hr;
    if (RemoveByName(m_entries, category, std::string_view(name, length)) == 0)
        return kEntryNotFound;
    m_changed = true;
    return S_OK;
}

HRESULT Context::SetJob(uint32_t category, uint16_t apId, uint32_t jobMask) {
    HRESULT hr = CheckChangeable();
    if (FAILED(hr))
        return hr;
    hr = kEntryNotFound;
    for (ApEntry& e : m_entries) {
        if (InCategory(e, category) && e.wApId == apId) {
            e.dwJobMask = jobMask;
            m_changed = true;
            hr = S_OK;
        }
    }
    return hr;
}

} // namespace tolvan::apinfo
