#include "print_dialog_driver.h"

#include <dlgs.h>

#include <string>
#include <utility>

namespace tolvan::test {

namespace {

constexpr int kPrinterList = cmb4;
constexpr int kCopies = edt3;

void Press(HWND dialog, int id) {
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

} // namespace

std::string PrintDialog::Printer() const {
    HWND list = ::GetDlgItem(m_dialog, kPrinterList);
    const int index = static_cast<int>(::SendMessageA(list, CB_GETCURSEL, 0, 0));
    char text[512] = {};
    if (index >= 0 && ::SendMessageA(list, CB_GETLBTEXTLEN, index, 0) < static_cast<LRESULT>(sizeof text))
        ::SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

bool PrintDialog::ChoosePrinter(const std::string& name) const {
    HWND list = ::GetDlgItem(m_dialog, kPrinterList);
    const int index = static_cast<int>(
        ::SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str())));
    if (index == CB_ERR)
        return false;
    ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(m_dialog, WM_COMMAND, MAKEWPARAM(kPrinterList, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    return true;
}

void PrintDialog::TypeCopies(int copies) const {
    ::SetDlgItemInt(m_dialog, kCopies, static_cast<UINT>(copies), FALSE);
}

void PrintDialog::Ok() const {
    Press(m_dialog, IDOK);
}

void PrintDialog::Cancel() const {
    Press(m_dialog, IDCANCEL);
}

PrintDialogAnswer::PrintDialogAnswer(std::function<void(PrintDialog&)> answer)
    : m_answer([](HWND window) { return IsDialogWith(window, kCopies) && IsDialogWith(window, kPrinterList); },
               [answer = std::move(answer)](HWND window) {
                   PrintDialog dialog(window);
                   answer(dialog);
               }) {}

} // namespace tolvan::test
