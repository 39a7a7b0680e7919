#include "modules/translation_module.h"

#include "modules/module_loading.h"

#include <cstring>

namespace tolvan {

bool CTranslationModule::Load(const char* dllPath) {
    Unload();
    if (!dllPath || !IsAbsolutePath(dllPath))
        return false;
    UniqueModule module(::LoadLibraryA(dllPath));
    if (!module)
        return false;
    Exports e;
    const HMODULE m = module.Get();
    const bool complete =
        Resolve(m, "TranslateListCtrl", e.translateListCtrl) && Resolve(m, "TranslateListBox", e.translateListBox) &&
        Resolve(m, "TranslateComboBox", e.translateComboBox) && Resolve(m, "PowerOn", e.powerOn) &&
        Resolve(m, "TranslateString", e.translateString) && Resolve(m, "TranslateDialog", e.translateDialog) &&
        Resolve(m, "NewMultiLng", e.newMultiLng) && Resolve(m, "FreeMultiLng", e.freeMultiLng);
    if (!complete)
        return false;
    Resolve(m, "TranslateMenu", e.translateMenu); // the program never calls it, so a module may lack it
    HANDLE handle = nullptr;
    if (FAILED(e.newMultiLng(&handle)) || !handle)
        return false;
    m_module = std::move(module);
    m_exports = e;
    m_handle = handle;
    return true;
}

void CTranslationModule::Unload() {
    if (m_handle)
        m_exports.freeMultiLng(&m_handle);
    m_handle = nullptr;
    m_exports = {};
    m_module.Reset();
}

HRESULT CTranslationModule::PowerOn(const char* msgPath) {
    return m_handle ? m_exports.powerOn(m_handle, msgPath) : E_FAIL;
}

HRESULT CTranslationModule::TranslateString(char* text) {
    int size = multilng::kTextBytes;
    return m_handle ? m_exports.translateString(m_handle, text, &size) : E_FAIL;
}

HRESULT CTranslationModule::TranslateDialog(HWND dialog) {
    return m_handle ? m_exports.translateDialog(m_handle, dialog) : E_FAIL;
}

HRESULT LoadTranslatedString(HINSTANCE instance, UINT id, CTranslationModule* module,
                             char (&buffer)[kTextBufferBytes]) {
    std::memset(buffer, 0, sizeof buffer);
    if (::LoadStringA(instance, id, buffer, sizeof buffer) <= 0) {
        const DWORD error = ::GetLastError();
        buffer[0] = '\0';
        return error ? HRESULT_FROM_WIN32(error) : HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    if (!module)
        return S_FALSE;
    return module->TranslateString(buffer) == S_OK ? S_OK : S_FALSE;
}

} // namespace tolvan
