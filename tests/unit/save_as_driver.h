// Answers the system's Save As dialog from the test thread while the dialog runs modally on it: a timer of the
// thread fires inside the dialog's message loop, finds the dialog and hands it to the test's answer, which
// works its controls as the user would and ends it with OK or Cancel.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tolvan::test {

// The dialog as the answer sees it.
class SaveAsDialog {
public:
    explicit SaveAsDialog(HWND dialog);

    HWND Handle() const { return m_dialog; }
    // The child dialog that the program added (template 144), or null.
    HWND Panel() const { return m_panel; }

    std::vector<std::string> Types() const;
    std::string CurrentType() const;
    std::string FileName() const;
    // Types a file name as the user would.
    void TypeName(const std::string& name) const;
    // Chooses the type whose description is text, as the user would; false when there is none.
    bool ChooseType(const std::string& text) const;
    bool QualityShown() const;
    int QualityPosition() const;
    std::string QualityText() const;
    // Moves the quality slider as dragging it would.
    void MoveQuality(int position) const;
    void Ok() const;
    void Cancel() const;
    bool IsOpen() const { return ::IsWindow(m_dialog) != FALSE; }

private:
    HWND FileNameControl() const;
    HWND m_dialog;
    HWND m_panel = nullptr;
};

// While it lives, the next Save As dialog that this thread opens is given to answer. Dialogs that the answer
// leaves open are cancelled a few seconds later, so that a failing test never hangs.
class SaveAsAnswer {
public:
    explicit SaveAsAnswer(std::function<void(SaveAsDialog&)> answer);
    ~SaveAsAnswer();
    SaveAsAnswer(const SaveAsAnswer&) = delete;
    SaveAsAnswer& operator=(const SaveAsAnswer&) = delete;

    bool Answered() const { return m_answered; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    std::function<void(SaveAsDialog&)> m_answer;
    UINT_PTR m_timer = 0;
    bool m_answered = false;
    int m_ticksSinceAnswer = 0;
};

} // namespace tolvan::test
