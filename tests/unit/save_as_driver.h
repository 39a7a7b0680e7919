// Answers the system's Save As dialog from the test thread while the dialog runs modally on it.
#pragma once

#include "dialog_answer.h"

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

// While it lives, the next Save As dialog that this thread opens is given to answer (see DialogAnswer).
class SaveAsAnswer {
public:
    explicit SaveAsAnswer(std::function<void(SaveAsDialog&)> answer);

    bool Answered() const { return m_answer.Answered(); }

private:
    DialogAnswer m_answer;
};

} // namespace tolvan::test
