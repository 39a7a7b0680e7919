#include "modules/apinfo_module.h"

#include "modules/module_loading.h"

namespace tolvan {

bool CApInfoModule::Load(const char* dllPath) {
    Unload();
    if (!dllPath || !IsAbsolutePath(dllPath))
        return false;
    UniqueModule module(::LoadLibraryA(dllPath));
    if (!module)
        return false;
    Exports e;
    const HMODULE m = module.Get();
    const bool complete = Resolve(m, "SearchInstalledAp", e.searchInstalledAp) &&
                          Resolve(m, "OpenApFile", e.openApFile) && Resolve(m, "CloseFile", e.closeFile) &&
                          Resolve(m, "ReadApInfo", e.readApInfo) && Resolve(m, "WriteApInfo", e.writeApInfo) &&
                          Resolve(m, "DeleteApInfo", e.deleteApInfo) && Resolve(m, "FindFirst", e.findFirst) &&
                          Resolve(m, "FindNext", e.findNext) && Resolve(m, "EndFind", e.endFind) &&
                          Resolve(m, "NewApInfo", e.newApInfo) && Resolve(m, "FreeApInfo", e.freeApInfo) &&
                          Resolve(m, "SetJobApInfo", e.setJobApInfo) && Resolve(m, "Index2Info", e.index2Info);
    if (!complete)
        return false;
    ApInfoHandle handle = nullptr;
    if (FAILED(e.newApInfo(&handle)) || !handle)
        return false;
    m_module = std::move(module);
    m_exports = e;
    m_handle = handle;
    return true;
}

void CApInfoModule::Unload() {
    if (m_handle)
        m_exports.freeApInfo(&m_handle);
    m_handle = nullptr;
    m_exports = {};
    m_module.Reset();
}

HRESULT CApInfoModule::SearchInstalledAp(const char* apInfoPath, const char* inApInfoPath) {
    return m_handle ? m_exports.searchInstalledAp(m_handle, apInfoPath, inApInfoPath) : E_FAIL;
}

HRESULT CApInfoModule::OpenApFile(const char* path, DWORD mode) {
    return m_handle ? m_exports.openApFile(m_handle, path, mode) : E_FAIL;
}

HRESULT CApInfoModule::FindFirst(ApEntry* entry, uint32_t category) {
    return m_handle ? m_exports.findFirst(m_handle, entry, category) : E_FAIL;
}

HRESULT CApInfoModule::FindNext(ApEntry* entry) {
    return m_handle ? m_exports.findNext(m_handle, entry) : E_FAIL;
}

HRESULT CApInfoModule::WriteApInfo(const ApEntry* entry) {
    return m_handle ? m_exports.writeApInfo(m_handle, entry) : E_FAIL;
}

HRESULT CApInfoModule::DeleteApInfo(uint32_t category, const char* name) {
    return m_handle ? m_exports.deleteApInfo(m_handle, category, name) : E_FAIL;
}

HRESULT CApInfoModule::CloseFile() {
    return m_handle ? m_exports.closeFile(m_handle) : E_FAIL;
}

} // namespace tolvan
