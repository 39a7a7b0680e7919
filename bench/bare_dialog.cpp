// The platform's floor for start-up to a visible window: a dialog of nothing but the program's skin bitmap,
// sized to it, centred and painted the way the main window paints its skin. No settings, no modules, no
// controls. The start-up benchmark (bench/startup_bench.py) times it beside Tolvan.exe.
#include "bare_dialog_ids.h"

#include <windows.h>

namespace {

HBITMAP g_skin = nullptr;
SIZE g_size{};

void Paint(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(dialog, &paint);
    HDC memory = ::CreateCompatibleDC(dc);
    const HGDIOBJ old = ::SelectObject(memory, g_skin);
    ::BitBlt(dc, 0, 0, g_size.cx, g_size.cy, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::EndPaint(dialog, &paint);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG: {
        BITMAP info{};
        ::GetObjectA(g_skin, sizeof info, &info);
        g_size = {info.bmWidth, info.bmHeight};
        ::SetWindowPos(dialog, nullptr, (::GetSystemMetrics(SM_CXFULLSCREEN) - g_size.cx) / 2,
                       (::GetSystemMetrics(SM_CYFULLSCREEN) - g_size.cy) / 2, g_size.cx, g_size.cy,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        ::ShowWindow(dialog, SW_SHOW);
        return TRUE;
    }
    case WM_PAINT:
        Paint(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL)
            ::EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    g_skin = ::LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_BARE_SKIN));
    if (!g_skin)
        return 1;
    const INT_PTR result = ::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_BARE), nullptr, DialogProc, 0);
    ::DeleteObject(g_skin);
    return result == -1 ? 1 : 0;
}
