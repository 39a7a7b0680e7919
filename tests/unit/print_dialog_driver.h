// Answers the system's print dialog from the test thread while the dialog runs modally on it (see DialogAnswer).
#pragma once

#include "dialog_answer.h"

#include <windows.h>

#include <functional>
#include <string>

namespace tolvan::test {

// The dialog as the answer sees it.
class PrintDialog {
public:
    explicit PrintDialog(HWND dialog) : m_dialog(dialog) {}

    HWND Handle() const { return m_dialog; }
    std::string Printer() const;
    // Chooses a printer by its name, as the user would; false when the dialog does not list it.
    bool ChoosePrinter(const std::string& name) const;
    // Types a number of copies as the user would.
    void TypeCopies(int copies) const;
    void Ok() const;
    void Cancel() const;

private:
    HWND m_dialog;
};

class PrintDialogAnswer {
public:
    explicit PrintDialogAnswer(std::function<void(PrintDialog&)> answer);

    bool Answered() const { return m_answer.Answered(); }

private:
    DialogAnswer m_answer;
};

} // namespace tolvan::test
