// The program's side of the application-info module "APInfo.dll": loads it from an absolute path,
// resolves every export, and holds the one context handle that all calls go through. The module
// is loaded for one task and unloaded after it.
#pragma once

#include "driver/apinfo/apinfo_api.h"
#include "modules/module_loading.h"
#include "settings/job_record.h"

#include <cstdint>

namespace tolvan {

class CApInfoModule {
public:
    CApInfoModule() = default;
    ~CApInfoModule() { Unload(); }
    CApInfoModule(const CApInfoModule&) = delete;
    CApInfoModule& operator=(const CApInfoModule&) = delete;

    // Fails, leaving nothing loaded, when the path is not absolute, the module does not load, any
    // of its exports is missing or it refuses to create a context.
    bool Load(const char* dllPath);
    void Unload() { m_loaded.Unload(); }
    bool IsLoaded() const { return m_loaded.IsLoaded(); }

    // Without a context every call returns E_FAIL without reaching the module.
    HRESULT SearchInstalledAp(const char* apInfoPath, const char* inApInfoPath);
    HRESULT OpenApFile(const char* path, DWORD mode);
    HRESULT FindFirst(ApEntry* entry, uint32_t category);
    HRESULT FindNext(ApEntry* entry);
    HRESULT WriteApInfo(const ApEntry* entry);
    HRESULT DeleteApInfo(uint32_t category, const char* name);
    HRESULT CloseFile();

private:
    struct Exports {
        apinfo::SearchInstalledApFn searchInstalledAp = nullptr;
        apinfo::OpenApFileFn openApFile = nullptr;
        apinfo::CloseFileFn closeFile = nullptr;
        apinfo::ReadApInfoFn readApInfo = nullptr;
        apinfo::WriteApInfoFn writeApInfo = nullptr;
        apinfo::DeleteApInfoFn deleteApInfo = nullptr;
        apinfo::FindFirstFn findFirst = nullptr;
        apinfo::FindNextFn findNext = nullptr;
        apinfo::EndFindFn endFind = nullptr;
        apinfo::NewApInfoFn newApInfo = nullptr;
        apinfo::FreeApInfoFn freeApInfo = nullptr;
        apinfo::SetJobApInfoFn setJobApInfo = nullptr;
        apinfo::Index2InfoFn index2Info = nullptr;
    };

    static bool ResolveExports(HMODULE module, Exports& exports);

    CLoadedModule<Exports, ApInfoHandle, &Exports::newApInfo, &Exports::freeApInfo> m_loaded;
};

} // namespace tolvan
