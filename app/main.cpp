#include "app/startup_trace.h"
#include "app/tolvan_app.h"

#include <objbase.h>

namespace {

// Companion modules are loaded by absolute path from the driver folder; nothing else may be picked up from the
// current or the program's folder.
void RestrictDllSearch() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    auto setDefault = kernel ? reinterpret_cast<SetDefaultDllDirectoriesFn>(
                                   reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")))
                             : nullptr;
    if (setDefault)
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    ::SetDllDirectoryA("");
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    tolvan::startup_trace::Step("program entry");
    RestrictDllSearch();
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    tolvan::startup_trace::Step("COM");
    int code = 0;
    {
        tolvan::CTolvanApp app(tolvan::SystemFacts::FromSystem());
        app.InitInstance();
        code = app.ExitInstance();
    }
    ::CoUninitialize();
    return code;
}
