// What both module loaders share: companion modules load only by absolute path, and their exports are
// looked up by name into typed pointers.
#pragma once

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

} // namespace tolvan
