#include "modules/translation_module.h"

#include <cstring>

namespace tolvan {

bool CTranslationModule::ResolveExports(HMODULE m, Exports& e) {
    const bool complete =
        Resolve(m, "TranslateListCtrl", e.translateListCtrl) && Resolve(m, "TranslateListBox", e.translateListBox) &&
        Resolve(m, "TranslateComboBox", e.translateComboBox) && Resolve(m, "PowerOn", e.powerOn) &&
        Resolve(m, "TranslateString", e.translateString) && Resolve(m, "TranslateDialog", e.translateDialog) &&
        Resolve(m, "NewMultiLng", e.newMultiLng) && Resolve(m, "FreeMultiLng", e.freeMultiLng);
    if (complete)
        Resolve(m, "TranslateMenu", e.translateMenu); // the program never calls it, so a module may lack it
    return complete;
}

bool CTranslationModule::Load(const char* dllPath) {
    return m_loaded.Load(dllPath, ResolveExports);
}

HRESULT CTranslationModule::PowerOn(const char* msgPath) {
    return m_loaded.Call(&Exports::powerOn, msgPath);
}

HRESULT CTranslationModule::TranslateString(char* text) {
    int size = multilng::kTextBytes;
    return m_loaded.Call(&Exports::translateString, text, &size);
}

HRESULT CTranslationModule::TranslateDialog(HWND dialog) {
    return m_loaded.Call(&Exports::translateDialog, dialog);
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
