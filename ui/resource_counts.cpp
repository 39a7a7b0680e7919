#include "ui/resource_counts.h"

namespace tolvan {

namespace {

constexpr uintptr_t kHandleTableSize = 0x10000;

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<uint32_t*>(count);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId())
        return TRUE;
    ++*reinterpret_cast<uint32_t*>(count);
    ::EnumChildWindows(window, CountChild, count);
    return TRUE;
}

} // namespace

ResourceCounts CountResources() {
    ResourceCounts counts;
    for (uintptr_t index = 1; index < kHandleTableSize; ++index)
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0)
            ++counts.gdiObjects;
    if (counts.gdiObjects == 0)
        counts.gdiObjects = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    ::EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&counts.windows));
    return counts;
}

UINT ResourceCountsMessage() {
    static const UINT message = [] {
        char value[8];
        const DWORD n = ::GetEnvironmentVariableA("TOLVAN_RESOURCE_COUNTS", value, sizeof value);
        return n > 0 ? ::RegisterWindowMessageA("Tolvan.ResourceCounts") : 0u;
    }();
    return message;
}

} // namespace tolvan
