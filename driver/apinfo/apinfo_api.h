// The interface of the application-info module "APInfo.dll": the exported functions' types,
// shared by the module and by the program's loader so that both sides agree on every
// signature. All exports use WINAPI, take the context handle (or its address) first and return
// HRESULTs.
#pragma once

#include "settings/job_record.h"

#include <windows.h>

namespace tolvan::apinfo {
class Context;
} // namespace tolvan::apinfo

// Opaque to the program: the module's context object.
using ApInfoHandle = tolvan::apinfo::Context*;

namespace tolvan::apinfo {

// OpenApFile modes, in storage-mode terms: exclusive read to list, exclusive read-write to change.
namespace OpenMode {
inline constexpr DWORD kList = 0x10;
inline constexpr DWORD kChange = 0x12;
} // namespace OpenMode

// Results beyond the standard ones (E_POINTER, E_INVALIDARG, E_HANDLE, E_ACCESSDENIED ...).
inline constexpr HRESULT kNoMoreEntries = HRESULT_FROM_WIN32(ERROR_NO_MORE_ITEMS);
inline constexpr HRESULT kEntryNotFound = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
inline constexpr HRESULT kFileDamaged = HRESULT_FROM_WIN32(ERROR_FILE_CORRUPT);
inline constexpr HRESULT kFileVersionUnknown = HRESULT_FROM_WIN32(ERROR_UNSUPPORTED_TYPE);
inline constexpr HRESULT kListFull = HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
// A call out of order: no file is open, or one is open already.
inline constexpr HRESULT kWrongState = E_UNEXPECTED;

using SearchInstalledApFn = HRESULT(WINAPI*)(ApInfoHandle, const char* apInfoPath, const char* inApInfoPath);
using OpenApFileFn = HRESULT(WINAPI*)(ApInfoHandle, const char* path, DWORD mode);
using CloseFileFn = HRESULT(WINAPI*)(ApInfoHandle);
using ReadApInfoFn = HRESULT(WINAPI*)(ApInfoHandle, ApEntry* entry, DWORD category, WORD apId);
using WriteApInfoFn = HRESULT(WINAPI*)(ApInfoHandle, const ApEntry* entry);
using DeleteApInfoFn = HRESULT(WINAPI*)(ApInfoHandle, DWORD category, const char* name);
using FindFirstFn = HRESULT(WINAPI*)(ApInfoHandle, ApEntry* entry, DWORD category);
using FindNextFn = HRESULT(WINAPI*)(ApInfoHandle, ApEntry* entry);
using EndFindFn = HRESULT(WINAPI*)(ApInfoHandle);
using NewApInfoFn = HRESULT(WINAPI*)(ApInfoHandle* handle);
using FreeApInfoFn = HRESULT(WINAPI*)(ApInfoHandle* handle);
using SetJobApInfoFn = HRESULT(WINAPI*)(ApInfoHandle, DWORD category, WORD apId, DWORD jobMask);
using Index2InfoFn = HRESULT(WINAPI*)(ApInfoHandle, DWORD index, ApEntry* entry);

} // namespace tolvan::apinfo
