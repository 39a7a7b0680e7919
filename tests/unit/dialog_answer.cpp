#include "dialog_answer.h"

#include <string>
#include <utility>

namespace tolvan::test {

namespace {

constexpr UINT kTickMs = 20;
// Only a failing test meets it, so it may be long: a dialog that a loaded machine is slow to close after the
// answer must not be cancelled under it.
constexpr int kPatienceTicks = 3000; // 60 s

DialogAnswer* g_pending = nullptr;

struct Search {
    const std::function<bool(HWND)>* isDialog;
    HWND dialog = nullptr;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    // A dialog is answered once it is on screen, as the user would meet it.
    if (::IsWindowVisible(window) && (*search->isDialog)(window)) {
        search->dialog = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CancelDialog(HWND window, LPARAM) {
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770")
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return TRUE;
}

} // namespace

bool IsDialogWith(HWND window, int childId) {
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof className);
    return std::string(className) == "#32770" && ::GetDlgItem(window, childId);
}

DialogAnswer::DialogAnswer(std::function<bool(HWND)> isDialog, std::function<void(HWND)> answer)
    : m_isDialog(std::move(isDialog)), m_answer(std::move(answer)) {
    g_pending = this;
    m_timer = ::SetTimer(nullptr, 0, kTickMs, OnTimer);
}

DialogAnswer::~DialogAnswer() {
    if (m_timer)
        ::KillTimer(nullptr, m_timer);
    if (g_pending == this)
        g_pending = nullptr;
}

void CALLBACK DialogAnswer::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    DialogAnswer* self = g_pending;
    if (!self)
        return;
    if (self->m_answered) {
        // The answer left something open (the dialog, or a message box it raised): cancel every dialog of the
        // thread, so that the test ends and reports what it found instead of hanging.
        if (++self->m_ticksSinceAnswer == kPatienceTicks)
            ::EnumThreadWindows(::GetCurrentThreadId(), CancelDialog, 0);
        return;
    }
    Search search{&self->m_isDialog};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&search));
    if (!search.dialog)
        return;
    self->m_answered = true;
    self->m_answer(search.dialog);
}

} // namespace tolvan::test
