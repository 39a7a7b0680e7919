#include "ui/dialog.h"

#include "ui/control.h"

#include <commctrl.h>

namespace tolvan {

namespace {

// Messages whose answer is the dialog procedure's return value rather than DWLP_MSGRESULT.
bool AnswersDirectly(UINT msg) {
    switch (msg) {
    case WM_INITDIALOG:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

} // namespace

bool ReflectToControl(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
    HWND target = nullptr;
    if (msg == WM_DRAWITEM)
        target = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
    else if (msg == WM_NOTIFY)
        target = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    if (!target || !CControl::FromHandle(target))
        return false;
    result = ::SendMessageA(target, kReflectBase + msg, 0, lParam);
    return true;
}

CDialog::~CDialog() {
    if (!m_modeless || !m_hwnd)
        return;
    const HWND hwnd = m_hwnd;
    ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
    m_hwnd = nullptr;
    ::DestroyWindow(hwnd);
}

INT_PTR CDialog::DoModal(HWND parent) {
    return ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), parent, DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

bool CDialog::Create(HWND parent) {
    m_modeless = true;
    return ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), parent, DialogProc,
                                reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::DestroyWindow() {
    if (m_hwnd)
        ::DestroyWindow(m_hwnd);
}

bool CDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_INITDIALOG:
        result = OnInitDialog();
        return true;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED)
            OnOK();
        else if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED)
            OnCancel();
        else
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return true;
    case WM_DRAWITEM:
    case WM_NOTIFY:
        return ReflectToControl(msg, wParam, lParam, result);
    default:
        return false;
    }
}

INT_PTR CDialog::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    bool handled = false;
    try {
        handled = OnMessage(msg, wParam, lParam, result);
    } catch (...) {
        // An exception must not unwind through the window manager; the message counts as not handled.
        handled = false;
    }
    if (!handled)
        return FALSE;
    if (AnswersDirectly(msg))
        return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(m_hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        ::SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        self->m_hwnd = hwnd;
    }
    if (!self)
        return FALSE;
    const INT_PTR answer = self->Dispatch(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->m_hwnd = nullptr;
    }
    return answer;
}

} // namespace tolvan
