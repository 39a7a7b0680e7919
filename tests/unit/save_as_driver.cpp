#include "save_as_driver.h"

#include "res/resource.h"

#include <commctrl.h>
#include <dlgs.h>

namespace tolvan::test {

namespace {

constexpr int kTypeList = cmb1;
constexpr int kNameCombo = cmb13;
constexpr int kNameEdit = edt1;

std::string TextOf(HWND window) {
    char text[1024] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK FindPanel(HWND child, LPARAM found) {
    if (::GetDlgItem(child, IDC_FILE_QUALITY)) {
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    return TRUE;
}

} // namespace

SaveAsDialog::SaveAsDialog(HWND dialog) : m_dialog(dialog) {
    ::EnumChildWindows(dialog, FindPanel, reinterpret_cast<LPARAM>(&m_panel));
}

std::vector<std::string> SaveAsDialog::Types() const {
    HWND list = ::GetDlgItem(m_dialog, kTypeList);
    std::vector<std::string> types;
    const int count = static_cast<int>(::SendMessageA(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[512] = {};
        if (::SendMessageA(list, CB_GETLBTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof text))
            ::SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        types.emplace_back(text);
    }
    return types;
}

std::string SaveAsDialog::CurrentType() const {
    HWND list = ::GetDlgItem(m_dialog, kTypeList);
    const int index = static_cast<int>(::SendMessageA(list, CB_GETCURSEL, 0, 0));
    const std::vector<std::string> types = Types();
    return index >= 0 && index < static_cast<int>(types.size()) ? types[static_cast<size_t>(index)] : "";
}

HWND SaveAsDialog::FileNameControl() const {
    // The Explorer dialog names its file name field edt1 or, as a combo box, cmb13: whichever it has.
    HWND edit = ::GetDlgItem(m_dialog, kNameEdit);
    if (edit && ::IsWindowVisible(edit))
        return edit;
    HWND combo = ::GetDlgItem(m_dialog, kNameCombo);
    return combo ? combo : edit;
}

std::string SaveAsDialog::FileName() const {
    return TextOf(FileNameControl());
}

void SaveAsDialog::TypeName(const std::string& name) const {
    ::SetWindowTextA(FileNameControl(), name.c_str());
}

bool SaveAsDialog::ChooseType(const std::string& text) const {
    HWND list = ::GetDlgItem(m_dialog, kTypeList);
    const int index = static_cast<int>(
        ::SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str())));
    if (index == CB_ERR)
        return false;
    ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    // A choice with the mouse tells the dialog twice: the selection changed, then it was accepted.
    for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK})
        ::SendMessageA(m_dialog, WM_COMMAND, MAKEWPARAM(kTypeList, code), reinterpret_cast<LPARAM>(list));
    return true;
}

bool SaveAsDialog::QualityShown() const {
    HWND slider = ::GetDlgItem(m_panel, IDC_FILE_QUALITY);
    return slider && (::GetWindowLongA(slider, GWL_STYLE) & WS_VISIBLE) != 0;
}

int SaveAsDialog::QualityPosition() const {
    return static_cast<int>(::SendDlgItemMessageA(m_panel, IDC_FILE_QUALITY, TBM_GETPOS, 0, 0));
}

std::string SaveAsDialog::QualityText() const {
    return TextOf(::GetDlgItem(m_panel, IDC_FILE_QUALITY_VALUE));
}

void SaveAsDialog::MoveQuality(int position) const {
    HWND slider = ::GetDlgItem(m_panel, IDC_FILE_QUALITY);
    ::SendMessageA(slider, TBM_SETPOS, TRUE, position);
    ::SendMessageA(m_panel, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
}

void SaveAsDialog::Ok() const {
    ::SendMessageA(m_dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(m_dialog, IDOK)));
}

void SaveAsDialog::Cancel() const {
    ::SendMessageA(m_dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(m_dialog, IDCANCEL)));
}

SaveAsAnswer::SaveAsAnswer(std::function<void(SaveAsDialog&)> answer)
    : m_answer([](HWND window) { return IsDialogWith(window, kTypeList); },
               [answer = std::move(answer)](HWND window) {
                   SaveAsDialog dialog(window);
                   answer(dialog);
               }) {}

} // namespace tolvan::test
