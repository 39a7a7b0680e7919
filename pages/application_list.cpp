#include "pages/application_list.h"

#include "app/app_services.h"
#include "app/path_buffer.h"
#include "modules/apinfo_module.h"
#include "pages/text_compare.h"
#include "settings/fixed_string.h"

#include <cstring>
#include <new>
#include <utility>

namespace tolvan {

namespace {

constexpr char kModuleName[] = "\\APInfo.dll";
constexpr char kCatalogueName[] = "\\APInfo.dat";
constexpr char kInstalledListName[] = "\\InApInfo.dat";

} // namespace

bool ApInfoFiles::Find(const CAppServices& app) {
    PathBuffer user;
    app.GetDriverFolder(dll);
    app.GetUserFolder(user);
    return dll[0] != '\0' && user[0] != '\0' && AppendPath(dll, kModuleName) && SetPath(catalogue, user) &&
           AppendPath(catalogue, kCatalogueName) && SetPath(installed, user) &&
           AppendPath(installed, kInstalledListName);
}

bool CApplicationList::Load(CAppServices& app, uint32_t category, const std::function<bool(const ApEntry&)>& keep) {
    ApInfoFiles files;
    if (!files.Find(app))
        return false;
    // At start-up every page lists with the module start-up searched with; later it is loaded for this alone.
    const std::shared_ptr<CApInfoModule> module = app.ShareApInfoModule(files.dll);
    if (!module || FAILED(module->OpenApFile(files.installed, apinfo::OpenMode::kList)))
        return false;
    std::vector<ApEntry> found;
    bool complete = true;
    ApEntry entry{};
    for (HRESULT hr = module->FindFirst(&entry, category); SUCCEEDED(hr); hr = module->FindNext(&entry)) {
        try {
            if (!keep || keep(entry))
                found.push_back(entry);
        } catch (const std::bad_alloc&) {
            complete = false;
            break;
        }
        entry = ApEntry{};
    }
    module->CloseFile();
    if (complete)
        m_entries = std::move(found);
    return complete;
}

const ApEntry* CApplicationList::FindById(uint16_t apId) const {
    for (const ApEntry& entry : m_entries)
        if (entry.wApId == apId)
            return &entry;
    return nullptr;
}

const ApEntry* CApplicationList::FindByName(std::string_view name) const {
    for (const ApEntry& entry : m_entries)
        if (SameTextIgnoringCase(ReadField(entry.szApName), name))
            return &entry;
    return nullptr;
}

bool SameProgramFiles(const JobRecord& record, const ApEntry& entry) {
    return SameTextIgnoringCase(ReadField(record.ap.szExeName), ReadField(entry.szExeName)) &&
           SameTextIgnoringCase(ReadField(record.ap.szExeDir), ReadField(entry.szExeDir));
}

void TakeProgram(JobRecord& record, const ApEntry& entry) {
    record.ap.dwApOptions = entry.dwApOptions;
    record.ap.dwFormats = entry.dwFormats;
    record.ap.wApId = entry.wApId;
    std::memcpy(record.ap.szApName, entry.szApName, sizeof record.ap.szApName);
    std::memcpy(record.ap.szExeName, entry.szExeName, sizeof record.ap.szExeName);
    std::memcpy(record.ap.szExeDir, entry.szExeDir, sizeof record.ap.szExeDir);
}

bool CApplicationList::AddFront(const ApEntry& entry) {
    try {
        m_entries.insert(m_entries.begin(), entry);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void CApplicationList::RemoveByName(std::string_view name) {
    std::erase_if(m_entries,
                  [name](const ApEntry& entry) { return SameTextIgnoringCase(ReadField(entry.szApName), name); });
}

} // namespace tolvan
