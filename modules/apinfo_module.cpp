#include "modules/apinfo_module.h"

namespace tolvan {

bool CApInfoModule::ResolveExports(HMODULE m, Exports& e) {
    return Resolve(m, "SearchInstalledAp", e.searchInstalledAp) && Resolve(m, "OpenApFile", e.openApFile) &&
           Resolve(m, "CloseFile", e.closeFile) && Resolve(m, "ReadApInfo", e.readApInfo) &&
           Resolve(m, "WriteApInfo", e.writeApInfo) && Resolve(m, "DeleteApInfo", e.deleteApInfo) &&
           Resolve(m, "FindFirst", e.findFirst) && Resolve(m, "FindNext", e.findNext) &&
           Resolve(m, "EndFind", e.endFind) && Resolve(m, "NewApInfo", e.newApInfo) &&
           Resolve(m, "FreeApInfo", e.freeApInfo) && Resolve(m, "SetJobApInfo", e.setJobApInfo) &&
           Resolve(m, "Index2Info", e.index2Info);
}

bool CApInfoModule::Load(const char* dllPath) {
    return m_loaded.Load(dllPath, ResolveExports);
}

HRESULT CApInfoModule::SearchInstalledAp(const char* apInfoPath, const char* inApInfoPath) {
    return m_loaded.Call(&Exports::searchInstalledAp, apInfoPath, inApInfoPath);
}

HRESULT CApInfoModule::OpenApFile(const char* path, DWORD mode) {
    return m_loaded.Call(&Exports::openApFile, path, mode);
}

HRESULT CApInfoModule::FindFirst(ApEntry* entry, uint32_t category) {
    return m_loaded.Call(&Exports::findFirst, entry, category);
}

HRESULT CApInfoModule::FindNext(ApEntry* entry) {
    return m_loaded.Call(&Exports::findNext, entry);
}

HRESULT CApInfoModule::WriteApInfo(const ApEntry* entry) {
    return m_loaded.Call(&Exports::writeApInfo, entry);
}

HRESULT CApInfoModule::DeleteApInfo(uint32_t category, const char* name) {
    return m_loaded.Call(&Exports::deleteApInfo, category, name);
}

HRESULT CApInfoModule::CloseFile() {
    return m_loaded.Call(&Exports::closeFile);
}

} // namespace tolvan
