// One session of the program with the module: the list file it has open (at most one), what was
// changed in it, and where an enumeration stands. Every method validates its arguments and the
// call order itself; the exports only find the context and guard against exceptions.
#pragma once

#include "driver/apinfo/ap_list.h"
#include "settings/job_record.h"
#include "ui/unique_handle.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tolvan::apinfo {

class Context {
public:
    Context() = default;
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    // Writes to inApInfoPath the catalogue entries whose programs are installed, each with the
    // folder where its program was found. A missing or damaged catalogue writes nothing.
    HRESULT SearchInstalled(const char* apInfoPath, const char* inApInfoPath);

    HRESULT Open(const char* path, DWORD mode);
    // Writes a changed file back; S_FALSE when nothing was open. The file is closed either way.
    HRESULT Close();

    HRESULT FindFirst(ApEntry* entry, uint32_t category);
    HRESULT FindNext(ApEntry* entry);
    HRESULT EndFind();

    HRESULT Read(ApEntry* entry, uint32_t category, uint16_t apId) const;
    HRESULT AtIndex(uint32_t index, ApEntry* entry) const;

    HRESULT Write(const ApEntry* entry);
    HRESULT Delete(uint32_t category, const char* name);
    HRESULT SetJob(uint32_t category, uint16_t apId, uint32_t jobMask);

private:
    bool IsOpen() const { return !m_path.empty(); }
    HRESULT CheckChangeable() const;

    std::string m_path;
    bool m_changeable = false;
    bool m_changed = false;
    UniqueFile m_lock;
    std::vector<ApEntry> m_entries;
    uint32_t m_findCategory = 0;
    std::size_t m_findNext = kNotFound;
};

} // namespace tolvan::apinfo
