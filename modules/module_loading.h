// What both module loaders share: companion modules load only by absolute path, their exports are looked up by
// name into typed pointers, and every call goes through the one context the module creates.
#pragma once

#include "ui/unique_handle.h"

#include <windows.h>

namespace tolvan {

// A relative name would let LoadLibrary search the current folder and PATH for a module of that name.
inline bool IsAbsolutePath(const char* path) {
    const char c = path[0] | 0x20;
    const bool drive = c >= 'a' && c <= 'z' && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    const bool unc = path[0] == '\\' && path[1] == '\\';
    return drive || unc;
}

template <class Fn> bool Resolve(HMODULE module, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    return fn != nullptr;
}

// A loaded companion module with its exports and its context. Create and Free are the members of Exports that
// make and release the context; nothing is held unless all of module, exports and context are there.
template <class Exports, class Context, auto Create, auto Free> class CLoadedModule {
public:
    CLoadedModule() = default;
    ~CLoadedModule() { Unload(); }
    CLoadedModule(const CLoadedModule&) = delete;
    CLoadedModule& operator=(const CLoadedModule&) = delete;

    // resolve(HMODULE, Exports&) looks the exports up; false refuses the module. Fails, leaving nothing loaded,
    // when the path is not absolute, the module does not load, resolve refuses it or no context is made.
    template <class Resolve> bool Load(const char* dllPath, Resolve resolve) {
        Unload();
        if (!dllPath || !IsAbsolutePath(dllPath))
            return false;
        UniqueModule module(::LoadLibraryA(dllPath));
        if (!module)
            return false;
        Exports exports{};
        if (!resolve(module.Get(), exports))
            return false;
        Context context = nullptr;
        if (FAILED((exports.*Create)(&context)) || !context)
            return false;
        m_module = std::move(module);
        m_exports = exports;
        m_context = context;
        return true;
    }

    void Unload() {
        if (m_context)
            (m_exports.*Free)(&m_context);
        m_context = nullptr;
        m_exports = {};
        m_module.Reset();
    }

    bool IsLoaded() const { return m_context != nullptr; }

    // Calls an export with the context first; E_FAIL without reaching the module when nothing is loaded.
    template <class Fn, class... Args> HRESULT Call(Fn Exports::*fn, Args... args) const {
        return m_context ? (m_exports.*fn)(m_context, args...) : E_FAIL;
    }

private:
    UniqueModule m_module;
    Exports m_exports{};
    Context m_context = nullptr;
};

} // namespace tolvan
