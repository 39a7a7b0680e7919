#include "pages/duzar_page.h"

#include "pages/text_compare.h"
#include "res/resource.h"
#include "settings/fixed_string.h"
#include "settings/job_table.h"
#include "ui/controls.h"

#include <cstring>
#include <string>

namespace tolvan {

namespace {

constexpr uint16_t kDUzarId = 4160;

} // namespace

CDUzarPage::CDUzarPage(CAppServices* app) : CImageDestinationPage(IDD_DUZAR_PAGE, JobMask::kDUzar, app) {}

void CDUzarPage::SetUpPage() {
    SetUpScanSettings();
    // Without the module or the installed-applications list the page keeps only its scan settings.
    if (!ListApplication())
        return;
    if (IsAvailable()) {
        FillFormats();
        AskForFirstSave();
    } else {
        m_unavailable = true;
    }
}

bool CDUzarPage::ListApplication() {
    // A list holding the program twice still offers it once: the first entry is the one the button opens.
    bool found = false;
    const auto firstOfTheProgram = [&found](const ApEntry& entry) {
        if (found || entry.wApId != kDUzarId)
            return false;
        return found = true;
    };
    if (!m_app || !m_applications.Load(*m_app, m_working.ap.dwApCategory, firstOfTheProgram))
        return false;
    if (!IsAvailable())
        return true;
    const std::string name(ReadField(m_applications.Front().szApName));
    ComboBox list(Item(IDC_DUZAR_APPLICATION_LIST));
    if (list.SelectString(-1, name.c_str()) == CB_ERR)
        list.AddString(name.c_str());
    SelectApplication();
    return true;
}

void CDUzarPage::SelectApplication() {
    const std::string stored(ReadField(m_working.ap.szApName));
    if (ComboBox(Item(IDC_DUZAR_APPLICATION_LIST)).SelectString(-1, stored.c_str()) != CB_ERR)
        return;
    // A renamed entry of the same program keeps the record as it is.
    if (SameProgramFiles(m_working, m_applications.Front()))
        return;
    TakeListedApplication();
}

void CDUzarPage::TakeListedApplication() {
    TakeProgram(m_working, m_applications.Front());
    ComboBox(Item(IDC_DUZAR_APPLICATION_LIST)).SetCurSel(0);
    m_dirty = true;
}

void CDUzarPage::OnApplicationChange() {
    const std::string text = ComboBox(Item(IDC_DUZAR_APPLICATION_LIST)).SelectedText();
    if (!text.empty()) {
        for (const ApEntry& entry : m_applications) {
            if (ReadField(entry.szApName) != text)
                continue;
            if (std::memcmp(&m_working.ap, &entry, kApEntrySize) != 0) {
                TakeProgram(m_working, entry);
                FillFormats();
            }
            break;
        }
    }
    NotifyChange(m_working.ap);
}

bool CDUzarPage::RestorePageDefaults() {
    const bool available = IsAvailable();
    if (available && !SameProgramFiles(m_working, m_applications.Front()))
        TakeListedApplication();
    RestoreFormatDefaults();
    return true;
}

UINT CDUzarPage::HintIdForControl(int id) const {
    if (id == IDC_DUZAR_APPLICATION_LIST)
        return IsAvailable() ? IDS_DUZAR_PAGE : IDS_NO_DUZAR_APPLICATION;
    return static_cast<UINT>(id);
}

void CDUzarPage::OnPageCommand(int id, int code) {
    if (code != CBN_SELCHANGE)
        return;
    if (id == IDC_DUZAR_APPLICATION_LIST)
        OnApplicationChange();
    else if (id == IDC_FORMAT_LIST)
        OnFormatChange();
}

} // namespace tolvan
