// The platform's floor for start-up to a visible window: a dialog of nothing but the program's skin bitmap,
// sized to it, centred and painted the way the main window paints its skin. No settings, no modules, no
// controls. The start-up benchmark (bench/startup_bench.py) times it beside Tolvan.exe.
//
// Built a second time with the program's page templates and manifest (bare-pages.exe, BARE_WITH_PAGES), the same
// dialog creates every other dialog template of its module as a hidden child before it shows, as the program
// creates its pages: the floor for a window holding those controls, without any of the program's own work.
#include "bare_dialog_ids.h"

#include <windows.h>
#if BARE_WITH_PAGES
#include <commctrl.h>
#endif

namespace {

HBITMAP g_skin = nullptr;
SIZE g_size{};

#if BARE_WITH_PAGES
INT_PTR CALLBACK PageProc(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG;
}

BOOL CALLBACK CreatePage(HMODULE module, LPCSTR, LPSTR name, LONG_PTR dialog) {
    if (name != MAKEINTRESOURCEA(IDD_BARE))
        ::CreateDialogParamA(module, name, reinterpret_cast<HWND>(dialog), PageProc, 0);
    return TRUE;
}
#endif

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
#if BARE_WITH_PAGES
        ::EnumResourceNamesA(nullptr, RT_DIALOG, CreatePage, reinterpret_cast<LONG_PTR>(dialog));
#endif
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
#if BARE_WITH_PAGES
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
#endif
    g_skin = ::LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_BARE_SKIN));
    if (!g_skin)
        return 1;
    const INT_PTR result = ::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_BARE), nullptr, DialogProc, 0);
    ::DeleteObject(g_skin);
    return result == -1 ? 1 : 0;
}
