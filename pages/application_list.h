// A page's list of destination applications: the installed applications of one category, as the
// application-info module lists them in the per-user "InApInfo.dat". The pages that offer destinations (Email,
// application, Office, DUzar) own one each, fill it once at set-up and look their choices up in it; the module
// is loaded for the reading only, and the entries go with the page.
#pragma once

#include "settings/job_record.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace tolvan {

class CAppServices;

class CApplicationList {
public:
    // Keeps the entries of the category for which keep (when given) says yes, in the module's order. False,
    // with the list unchanged, when the module cannot be loaded, the list file cannot be opened or there is no
    // memory for the entries.
    bool Load(CAppServices& app, uint32_t category, const std::function<bool(const ApEntry&)>& keep = {});

    bool Empty() const { return m_entries.empty(); }
    size_t Size() const { return m_entries.size(); }
    const ApEntry& Front() const { return m_entries.front(); }
    const ApEntry& operator[](size_t index) const { return m_entries[index]; }
    auto begin() const { return m_entries.begin(); }
    auto end() const { return m_entries.end(); }

    // The first entry with this application id, or null.
    const ApEntry* FindById(uint16_t apId) const;
    // The first entry of this name, compared as Windows compares program names; or null.
    const ApEntry* FindByName(std::string_view name) const;

private:
    std::vector<ApEntry> m_entries;
};

// Whether the record's destination is the entry's program file: the same name in the same folder, compared as
// Windows compares file names.
bool SameProgramFiles(const JobRecord& record, const ApEntry& entry);

} // namespace tolvan
