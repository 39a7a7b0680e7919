// A page's list of destination applications: the installed applications of one category, as the
// application-info module lists them in the per-user "InApInfo.dat". The pages that offer destinations (Email,
// application, Office, DUzar) own one each, fill it once at set-up and look their choices up in it; the module
// is held for the reading only (at start-up the one start-up loaded, CAppServices::ShareApInfoModule), and the
// entries go with the page.
#pragma once

#include "app/path_buffer.h"
#include "settings/job_record.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace tolvan {

class CAppServices;

// Where the application-info module and its two per-user files are: the module in the driver folder, the
// catalogue "APInfo.dat" (known and user-added programs) and the installed list "InApInfo.dat" in the per-user
// folder. False when a folder is unknown or a path does not fit.
struct ApInfoFiles {
    PathBuffer dll = {};
    PathBuffer catalogue = {};
    PathBuffer installed = {};

    bool Find(const CAppServices& app);
};

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

    // The programs a user adds or removes after set-up (Application page). AddFront puts a copy of the entry
    // before all others; false, with the list unchanged, when there is no memory for it. RemoveByName takes out
    // every entry of this name, compared as FindByName compares.
    bool AddFront(const ApEntry& entry);
    void RemoveByName(std::string_view name);

private:
    std::vector<ApEntry> m_entries;
};

// Whether the record's destination is the entry's program file: the same name in the same folder, compared as
// Windows compares file names.
bool SameProgramFiles(const JobRecord& record, const ApEntry& entry);
// Makes the record's destination the entry's program: the fields that name it and the formats it opens. The rest
// of the record, the format chosen among them included, stays the user's.
void TakeProgram(JobRecord& record, const ApEntry& entry);

} // namespace tolvan
