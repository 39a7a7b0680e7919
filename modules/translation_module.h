// The program's side of the translation module "MultiLng.dll": loads it from an absolute path,
// resolves its exports, and holds the one context handle that all calls go through. The module is
// loaded once at start-up and unloaded at shut-down; without it every text is shown as it is.
#pragma once

#include "driver/multilng/multilng_api.h"
#include "modules/module_loading.h"

#include <windows.h>

#include <cstddef>

namespace tolvan {

inline constexpr std::size_t kTextBufferBytes = multilng::kTextBytes;

class CTranslationModule {
public:
    CTranslationModule() = default;
    ~CTranslationModule() { Unload(); }
    CTranslationModule(const CTranslationModule&) = delete;
    CTranslationModule& operator=(const CTranslationModule&) = delete;

    // Fails, leaving nothing loaded, when the path is not absolute, the module does not load, an export other
    // than TranslateMenu is missing, or the module refuses to create a context.
    bool Load(const char* dllPath);
    void Unload() { m_loaded.Unload(); }
    bool IsLoaded() const { return m_loaded.IsLoaded(); }

    // Without a context each call returns E_FAIL without reaching the module.
    HRESULT PowerOn(const char* msgPath);
    // text: a buffer of kTextBufferBytes bytes holding a zero-terminated text.
    HRESULT TranslateString(char* text);
    HRESULT TranslateDialog(HWND dialog);

private:
    struct Exports {
        multilng::NewMultiLngFn newMultiLng = nullptr;
        multilng::FreeMultiLngFn freeMultiLng = nullptr;
        multilng::PowerOnFn powerOn = nullptr;
        multilng::TranslateStringFn translateString = nullptr;
        multilng::TranslateWindowFn translateDialog = nullptr;
        multilng::TranslateWindowFn translateListCtrl = nullptr;
        multilng::TranslateWindowFn translateListBox = nullptr;
        multilng::TranslateWindowFn translateComboBox = nullptr;
        multilng::TranslateMenuFn translateMenu = nullptr; // optional: older modules lack it
    };

    static bool ResolveExports(HMODULE module, Exports& exports);

    CLoadedModule<Exports, HANDLE, &Exports::newMultiLng, &Exports::freeMultiLng> m_loaded;
};

// The program's pattern for a text: string id into a zeroed buffer, then through the translation module (which
// may be null or not loaded: the text then stays as loaded). Fails, leaving the buffer empty, when the string
// table has no such id; otherwise S_OK when the text was translated and S_FALSE when it stays as loaded.
HRESULT LoadTranslatedString(HINSTANCE instance, UINT id, CTranslationModule* module, char (&buffer)[kTextBufferBytes]);

} // namespace tolvan
