#include "pages/application_list.h"

#include "app/app_services.h"
#include "app/path_buffer.h"
#include "modules/apinfo_module.h"
#include "pages/text_compare.h"
#include "settings/fixed_string.h"

#include <new>
#include <utility>

namespace tolvan {

namespace {

constexpr char kModuleName[] = "\\ApInfo.dll";
constexpr char kInstalledList[] = "\\InApInfo.dat";
constexpr DWORD kOpenToList = 16;

} // namespace

bool CApplicationList::Load(CAppServices& app, uint32_t category, const std::function<bool(const ApEntry&)>& keep) {
    PathBuffer dll, list;
    app.GetDriverFolder(dll);
    app.GetUserFolder(list);
    if (dll[0] == '\0' || list[0] == '\0' || !AppendPath(dll, kModuleName) || !AppendPath(list, kInstalledList))
        return false;
    CApInfoModule module;
    if (!module.Load(dll) || FAILED(module.OpenApFile(list, kOpenToList)))
        return false;
    std::vector<ApEntry> found;
    bool complete = true;
    ApEntry entry{};
    for (HRESULT hr = module.FindFirst(&entry, category); SUCCEEDED(hr); hr = module.FindNext(&entry)) {
        try {
            if (!keep || keep(entry))
                found.push_back(entry);
        } catch (const std::bad_alloc&) {
            complete = false;
            break;
        }
        entry = ApEntry{};
    }
    module.CloseFile();
    module.Unload();
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

} // namespace tolvan
