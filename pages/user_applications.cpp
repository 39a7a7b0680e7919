#include "pages/user_applications.h"

#include "app/app_services.h"
#include "driver/apinfo/ap_category.h"
#include "driver/apinfo/ap_user_entry.h"
#include "modules/apinfo_module.h"
#include "pages/application_list.h"
#include "pages/text_compare.h"
#include "res/resource.h"
#include "settings/fixed_string.h"
#include "settings/job_table.h"
#include "ui/unique_handle.h"

namespace tolvan {

namespace {

// Registry key names have at most 255 characters.
constexpr DWORD kSubkeyNameBytes = 261;

// Opens the per-user catalogue to change it, runs the change and closes the file, which is when the module writes
// the change back; then the module searches again. recover: a catalogue that does not open is replaced by the
// driver's (the user's kept as a backup) and opened once more. S_FALSE: the change is kept, but the installed list
// stays as it was until the next search.
template <class Change> HRESULT ChangeCatalogue(CAppServices& app, bool recover, Change change) {
    ApInfoFiles files;
    if (!files.Find(app))
        return E_FAIL;
    CApInfoModule module;
    if (!module.Load(files.dll))
        return E_FAIL;
    HRESULT hr = module.OpenApFile(files.catalogue, apinfo::OpenMode::kChange);
    if (FAILED(hr) && recover && app.InstallDriverCatalogue())
        hr = module.OpenApFile(files.catalogue, apinfo::OpenMode::kChange);
    if (FAILED(hr))
        return hr;
    hr = change(module);
    const HRESULT closed = module.CloseFile();
    if (SUCCEEDED(hr) && FAILED(closed))
        hr = closed;
    if (SUCCEEDED(hr) && FAILED(module.SearchInstalledAp(files.catalogue, files.installed)))
        hr = S_FALSE;
    return hr;
}

} // namespace

bool MakeUserApplication(std::string_view path, ApEntry& entry) {
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string_view::npos)
        return false;
    const std::string_view folder = path.substr(0, slash + 1);
    const std::string_view name = path.substr(slash + 1);
    ApEntry made{};
    if (name.empty() || name.size() >= sizeof made.szExeName || folder.size() >= sizeof made.szExeDir)
        return false;
    made.wApSize = kApEntrySize;
    made.dwApCategory = apinfo::Category::kDestination;
    made.dwFormats = Format::kUserAddedFormats;
    made.dwFormat = Format::kBmp;
    made.wQuality = Quality::kDefault;
    made.wApId = apinfo::kUserAppId;
    WriteField(made.szApName, name);
    WriteField(made.szExeName, name);
    WriteField(made.szExeDir, folder);
    entry = made;
    return true;
}

bool IsPermittedProgram(std::string_view exeName) {
    char keyPath[kMaxPathBytes] = {};
    if (::LoadStringA(::GetModuleHandleA(nullptr), IDS_APPLICATIONS_KEY, keyPath, sizeof keyPath) <= 0)
        return false;
    HKEY opened = nullptr;
    // Reading is all it takes, and all that a user without administrator rights may do there.
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_ENUMERATE_SUB_KEYS, &opened) != ERROR_SUCCESS)
        return false;
    const UniqueRegKey key(opened);
    for (DWORD index = 0;; ++index) {
        char name[kSubkeyNameBytes] = {};
        DWORD size = sizeof name;
        const LONG status = ::RegEnumKeyExA(key.Get(), index, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA)
            continue; // longer than any program file name
        if (status != ERROR_SUCCESS)
            return false;
        if (SameTextIgnoringCase(ReadField(name, sizeof name), exeName))
            return true;
    }
}

HRESULT AddUserApplication(CAppServices& app, const ApEntry& entry) {
    return ChangeCatalogue(app, true, [&entry](CApInfoModule& module) { return module.WriteApInfo(&entry); });
}

HRESULT DeleteUserApplication(CAppServices& app, std::string_view name) {
    // The module takes a terminated name no longer than the field.
    char field[sizeof ApEntry::szApName] = {};
    if (name.empty() || !WriteField(field, name))
        return E_INVALIDARG;
    return ChangeCatalogue(app, false, [&field](CApInfoModule& module) {
        return module.DeleteApInfo(apinfo::Category::kDestination, field);
    });
}

} // namespace tolvan
