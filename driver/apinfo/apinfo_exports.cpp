// The module's exported functions. Each one finds the caller's context among the live ones, so
// that a stale or made-up handle is refused instead of followed, and turns exceptions into
// result codes before they could cross into the program.
#include "driver/apinfo/apinfo_api.h"
#include "driver/apinfo/apinfo_context.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <type_traits>
#include <vector>

using tolvan::ApEntry;
using namespace tolvan::apinfo;

namespace {

std::mutex g_mutex;
std::vector<Context*> g_live;

template <class Call> HRESULT Guarded(Call&& call) {
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

// Calls are serialised: the program makes them from one thread, and a context must not be
// freed while another thread is inside it.
template <class Call> HRESULT WithContext(ApInfoHandle handle, Call&& call) {
    const std::lock_guard lock(g_mutex);
    if (!handle || std::find(g_live.begin(), g_live.end(), handle) == g_live.end())
        return E_HANDLE;
    return Guarded([&] { return call(*handle); });
}

} // namespace

extern "C" {

HRESULT WINAPI NewApInfo(ApInfoHandle* handle) {
    if (!handle)
        return E_POINTER;
    *handle = nullptr;
    const std::lock_guard lock(g_mutex);
    return Guarded([&] {
        g_live.reserve(g_live.size() + 1); // so that the push below cannot throw and leak the context
        Context* context = new Context;
        g_live.push_back(context);
        *handle = context;
        return S_OK;
    });
}

HRESULT WINAPI FreeApInfo(ApInfoHandle* handle) {
    if (!handle)
        return E_POINTER;
    const std::lock_guard lock(g_mutex);
    const auto it = std::find(g_live.begin(), g_live.end(), *handle);
    if (!*handle || it == g_live.end())
        return E_HANDLE;
    g_live.erase(it);
    // An open file is closed as CloseFile would close it: freeing must not lose a change.
    const HRESULT hr = Guarded([&] { return (*handle)->Close(); });
    delete *handle;
    *handle = nullptr;
    return FAILED(hr) ? hr : S_OK;
}

HRESULT WINAPI SearchInstalledAp(ApInfoHandle handle, const char* apInfoPath, const char* inApInfoPath) {
    return WithContext(handle, [&](Context& c) { return c.SearchInstalled(apInfoPath, inApInfoPath); });
}

HRESULT WINAPI OpenApFile(ApInfoHandle handle, const char* path, DWORD mode) {
    return WithContext(handle, [&](Context& c) { return c.Open(path, mode); });
}

HRESULT WINAPI CloseFile(ApInfoHandle handle) {
    return WithContext(handle, [&](Context& c) { return c.Close(); });
}

HRESULT WINAPI ReadApInfo(ApInfoHandle handle, ApEntry* entry, DWORD category, WORD apId) {
    return WithContext(handle, [&](Context& c) { return c.Read(entry, category, apId); });
}

HRESULT WINAPI WriteApInfo(ApInfoHandle handle, const ApEntry* entry) {
    return WithContext(handle, [&](Context& c) { return c.Write(entry); });
}

HRESULT WINAPI DeleteApInfo(ApInfoHandle handle, DWORD category, const char* name) {
    return WithContext(handle, [&](Context& c) { return c.Delete(category, name); });
}

HRESULT WINAPI FindFirst(ApInfoHandle handle, ApEntry* entry, DWORD category) {
    return WithContext(handle, [&](Context& c) { return c.FindFirst(entry, category); });
}

HRESULT WINAPI FindNext(ApInfoHandle handle, ApEntry* entry) {
    return WithContext(handle, [&](Context& c) { return c.FindNext(entry); });
}

HRESULT WINAPI EndFind(ApInfoHandle handle) {
    return WithContext(handle, [&](Context& c) { return c.EndFind(); });
}

HRESULT WINAPI SetJobApInfo(ApInfoHandle handle, DWORD category, WORD apId, DWORD jobMask) {
    return WithContext(handle, [&](Context& c) { return c.SetJob(category, apId, jobMask); });
}

HRESULT WINAPI Index2Info(ApInfoHandle handle, DWORD index, ApEntry* entry) {
    return WithContext(handle, [&](Context& c) { return c.AtIndex(index, entry); });
}

} // extern "C"

// The program calls through these types; a signature that drifted would corrupt its stack.
static_assert(std::is_same_v<decltype(&NewApInfo), NewApInfoFn>);
static_assert(std::is_same_v<decltype(&FreeApInfo), FreeApInfoFn>);
static_assert(std::is_same_v<decltype(&SearchInstalledAp), SearchInstalledApFn>);
static_assert(std::is_same_v<decltype(&OpenApFile), OpenApFileFn>);
static_assert(std::is_same_v<decltype(&CloseFile), CloseFileFn>);
static_assert(std::is_same_v<decltype(&ReadApInfo), ReadApInfoFn>);
static_assert(std::is_same_v<decltype(&WriteApInfo), WriteApInfoFn>);
static_assert(std::is_same_v<decltype(&DeleteApInfo), DeleteApInfoFn>);
static_assert(std::is_same_v<decltype(&FindFirst), FindFirstFn>);
static_assert(std::is_same_v<decltype(&FindNext), FindNextFn>);
static_assert(std::is_same_v<decltype(&EndFind), EndFindFn>);
static_assert(std::is_same_v<decltype(&SetJobApInfo), SetJobApInfoFn>);
static_assert(std::is_same_v<decltype(&Index2Info), Index2InfoFn>);
