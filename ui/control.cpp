#include "ui/control.h"

#include <commctrl.h>

namespace tolvan {

namespace {

constexpr UINT_PTR kSubclassId = 0x546F6C76; // one subclass of ours per window
constexpr char kOwnerProperty[] = "TolvanControl";

} // namespace

CControl::~CControl() {
    Detach();
}

CControl* CControl::FromHandle(HWND hwnd) {
    return static_cast<CControl*>(::GetPropA(hwnd, kOwnerProperty));
}

bool CControl::Attach(HWND hwnd) {
    Detach();
    if (!hwnd || !::SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    ::SetPropA(hwnd, kOwnerProperty, this);
    m_hwnd = hwnd;
    return true;
}

bool CControl::Create(const char* className, const char* text, DWORD style, const RECT& rect, HWND parent, int id) {
    HWND hwnd = ::CreateWindowExA(0, className, text, style, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  ::GetModuleHandleA(nullptr), nullptr);
    if (!hwnd)
        return false;
    if (!Attach(hwnd)) {
        ::DestroyWindow(hwnd);
        return false;
    }
    m_created = true;
    return true;
}

void CControl::Detach() {
    if (!m_hwnd)
        return;
    HWND hwnd = m_hwnd;
    ::RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
    ::RemovePropA(hwnd, kOwnerProperty);
    m_hwnd = nullptr;
    if (m_created)
        ::DestroyWindow(hwnd);
    m_created = false;
}

LRESULT CControl::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return Default(msg, wParam, lParam);
}

LRESULT CControl::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(m_hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK CControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<CControl*>(data);
    if (msg == WM_NCDESTROY) {
        // The window goes away under us (its parent was destroyed): forget it.
        ::RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
        ::RemovePropA(hwnd, kOwnerProperty);
        self->m_hwnd = nullptr;
        self->m_created = false;
        return ::DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    try {
        return self->WindowProc(msg, wParam, lParam);
    } catch (...) {
        return ::DefSubclassProc(hwnd, msg, wParam, lParam);
    }
}

} // namespace tolvan
