// The exports of MultiLng.dll, as the program calls them: undecorated names (multilng.def), the
// Windows calling convention, the context handle first, COM-style results. Both the module and
// the program's loader (modules/translation_module.cpp) use these types, so they cannot drift.
#pragma once

#include <windows.h>

namespace tolvan::multilng {

using NewMultiLngFn = HRESULT(WINAPI*)(HANDLE* context);
using FreeMultiLngFn = HRESULT(WINAPI*)(HANDLE* context);
// msgPath: the message file, Tolvan.msg.
using PowerOnFn = HRESULT(WINAPI*)(HANDLE context, LPCSTR msgPath);
// text: a buffer of 260 bytes. size: 260, or 0 for the same; it is never written.
using TranslateStringFn = HRESULT(WINAPI*)(HANDLE context, char* text, int* size);
using TranslateWindowFn = HRESULT(WINAPI*)(HANDLE context, HWND window);
using TranslateMenuFn = HRESULT(WINAPI*)(HANDLE context, HMENU menu);

// The size of the program's text buffers.
inline constexpr int kTextBytes = 260;
} // namespace tolvan::multilng
