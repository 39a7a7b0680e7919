#include "pages/file_dialog_ex.h"

#include "app/app_services.h"
#include "pages/file_target.h"
#include "pages/text_compare.h"
#include "res/resource.h"
#include "settings/job_table.h"
#include "ui/controls.h"

#include <dlgs.h>

#include <cstring>
#include <string_view>

namespace tolvan {

namespace {

constexpr int kTypeList = cmb1; // the file type list of the system's dialog
constexpr char kJpegType[] = "jpeg files (*.jpg)";
// The file name buffer holds 260 bytes but the dialog may fill only 200, so that the type's extension, which
// the page may still append, never makes a path longer than the record's folder field can take.
constexpr DWORD kFileNameChars = 200;
constexpr DWORD kAddedFlags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_HIDEREADONLY;
constexpr char kSelfProperty[] = "TolvanFileDialogEx";

// The text of a combo box entry, or empty when there is none or it would not fit.
std::string_view EntryText(const ComboBox& list, int index, char (&buffer)[260]) {
    buffer[0] = '\0';
    const int length = list.GetLBTextLen(index);
    if (length < 0 || length >= static_cast<int>(sizeof buffer))
        return {};
    list.GetLBText(index, buffer);
    return std::string_view(buffer, strnlen(buffer, sizeof buffer));
}

} // namespace

CFileDialogEx::CFileDialogEx(bool openFileDialog, const char* defaultExt, const char* fileName, DWORD flags,
                             std::string filter, HWND parent, CAppServices* app)
    : m_filter(std::move(filter)), m_defaultExt(defaultExt ? defaultExt : ""), m_app(app), m_open(openFileDialog) {
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = parent;
    m_ofn.hInstance = ::GetModuleHandleA(nullptr);
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.lpstrFile = m_fileName;
    m_ofn.nMaxFile = sizeof m_fileName;
    m_ofn.lpstrDefExt = defaultExt ? m_defaultExt.c_str() : nullptr;
    m_ofn.Flags = flags | kAddedFlags;
    m_ofn.lpfnHook = HookProc;
    m_ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_FILE_DIALOG_QUALITY);
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    if (fileName) {
        // A name that does not fit is not cut: the dialog starts without one.
        const std::size_t length = strnlen(fileName, sizeof m_fileName);
        if (length < sizeof m_fileName)
            std::memcpy(m_fileName, fileName, length + 1);
    }
}

CFileDialogEx::~CFileDialogEx() = default;

INT_PTR CFileDialogEx::DoModal() {
    const BOOL chosen = m_open ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    m_child = m_typeList = m_qualitySlider = m_qualityValue = m_qualityLabel = m_percentLabel = nullptr;
    if (!chosen)
        return IDCANCEL;
    // The dialog writes a terminator within nMaxFile; a buffer without one is not a path.
    return std::memchr(m_fileName, 0, sizeof m_fileName) ? IDOK : IDCANCEL;
}

void CFileDialogEx::OnInitDialog(HWND child) {
    m_child = child;
    if (m_app)
        m_app->ApplyDialogFont(child);
    m_qualityLabel = ::GetDlgItem(child, IDC_FILE_QUALITY_LABEL);
    m_qualitySlider = ::GetDlgItem(child, IDC_FILE_QUALITY);
    m_qualityValue = ::GetDlgItem(child, IDC_FILE_QUALITY_VALUE);
    m_percentLabel = ::GetDlgItem(child, IDC_FILE_QUALITY_PERCENT);
    m_typeList = ::GetDlgItem(::GetParent(child), kTypeList);

    PreselectByDefaultExtension();
    ReadTypeText();
    ShowQualityPanel();

    Slider slider(m_qualitySlider);
    slider.SetRange(Quality::kMin, Quality::kMax, true);
    m_quality = m_app ? m_app->GetQuality() : 0;
    slider.SetPos(static_cast<int>(m_quality));
    ShowQualityValue();

    m_ofn.nMaxFile = kFileNameChars;
    if (m_app)
        m_app->TranslateDialog(child, IDD_FILE_DIALOG_QUALITY);
}

void CFileDialogEx::PreselectByDefaultExtension() const {
    if (!m_typeList || !m_ofn.lpstrDefExt)
        return;
    const ComboBox list(m_typeList);
    const int count = list.GetCount();
    for (int i = 0; i < count; ++i) {
        char text[260];
        if (EntryText(list, i, text).find(m_defaultExt) == std::string_view::npos)
            continue;
        if (list.GetCurSel() != i) {
            list.SetCurSel(i);
            // The dialog filters its file list and completes typed names by the type it was told about, not by
            // the one its list shows; tell it as the list would after a choice, so that both agree with the type
            // the page reads back.
            for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK})
                ::SendMessageA(::GetParent(m_child), WM_COMMAND, MAKEWPARAM(kTypeList, code),
                               reinterpret_cast<LPARAM>(m_typeList));
        }
        return;
    }
}

void CFileDialogEx::ReadTypeText() {
    m_typeText[0] = '\0';
    if (!m_typeList)
        return;
    const ComboBox list(m_typeList);
    const int index = list.GetCurSel();
    if (index == CB_ERR)
        return;
    char text[260];
    const std::string_view entry = EntryText(list, index, text);
    std::memcpy(m_typeText, entry.data(), entry.size());
    m_typeText[entry.size()] = '\0';
}

void CFileDialogEx::ShowQualityPanel() const {
    const int show = SameTextIgnoringCase(m_typeText, kJpegType) ? SW_SHOW : SW_HIDE;
    for (HWND control : {m_qualityLabel, m_qualitySlider, m_qualityValue, m_percentLabel})
        if (control)
            ::ShowWindow(control, show);
}

void CFileDialogEx::ShowQualityValue() const {
    if (m_child)
        ::SetDlgItemInt(m_child, IDC_FILE_QUALITY_VALUE, m_quality, FALSE);
}

void CFileDialogEx::OnTypeChange() {
    ReadTypeText();
    ShowQualityPanel();
}

void CFileDialogEx::OnQualityScroll(HWND source) {
    if (!source || source != m_qualitySlider)
        return;
    m_quality = static_cast<uint32_t>(Slider(source).GetPos());
    if (m_app)
        m_app->SetQuality(static_cast<uint16_t>(m_quality));
    ShowQualityValue();
}

UINT_PTR CALLBACK CFileDialogEx::HookProc(HWND child, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        const auto* ofn = reinterpret_cast<const OPENFILENAMEA*>(lParam);
        auto* self = ofn ? reinterpret_cast<CFileDialogEx*>(ofn->lCustData) : nullptr;
        if (!self)
            return FALSE;
        ::SetPropA(child, kSelfProperty, self);
        self->OnInitDialog(child);
        return TRUE;
    }
    auto* self = static_cast<CFileDialogEx*>(::GetPropA(child, kSelfProperty));
    if (!self)
        return 0;
    switch (msg) {
    case WM_NOTIFY:
        if (lParam && reinterpret_cast<const NMHDR*>(lParam)->code == CDN_TYPECHANGE)
            self->OnTypeChange();
        return 0;
    case WM_HSCROLL:
        self->OnQualityScroll(reinterpret_cast<HWND>(lParam));
        return 0; // the default scroll handling follows
    case WM_DESTROY:
        ::RemovePropA(child, kSelfProperty);
        return 0;
    default:
        return 0;
    }
}

} // namespace tolvan
