// Answers a system dialog from the test thread while the dialog runs modally on it: a timer of the thread fires
// inside the dialog's message loop, finds the dialog among the thread's windows and hands it to the test's answer,
// which works its controls as the user would and ends it with OK or Cancel.
#pragma once

#include <windows.h>

#include <functional>

namespace tolvan::test {

// While it lives, the next dialog of this thread that isDialog recognises is given to answer. Dialogs that the
// answer leaves open are cancelled a minute later, so that a failing test never hangs.
class DialogAnswer {
public:
    DialogAnswer(std::function<bool(HWND)> isDialog, std::function<void(HWND)> answer);
    ~DialogAnswer();
    DialogAnswer(const DialogAnswer&) = delete;
    DialogAnswer& operator=(const DialogAnswer&) = delete;

    bool Answered() const { return m_answered; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    std::function<bool(HWND)> m_isDialog;
    std::function<void(HWND)> m_answer;
    UINT_PTR m_timer = 0;
    bool m_answered = false;
    int m_ticksSinceAnswer = 0;
};

// Whether a window is a dialog (class #32770) with a child of the given id.
bool IsDialogWith(HWND window, int childId);

} // namespace tolvan::test
