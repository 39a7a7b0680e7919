#include "pages/installed_applications.h"

#include "app/app_services.h"
#include "app/path_buffer.h"
#include "modules/apinfo_module.h"

#include <new>
#include <utility>

namespace tolvan {

namespace {

constexpr char kModuleName[] = "\\ApInfo.dll";
constexpr char kInstalledList[] = "\\InApInfo.dat";
constexpr DWORD kOpenToList = 16;

} // namespace

bool LoadInstalledApplications(CAppServices& app, uint32_t category, std::vector<ApEntry>& out) {
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
        out = std::move(found);
    return complete;
}

} // namespace tolvan
