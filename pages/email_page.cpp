#include "pages/email_page.h"

#include "driver/apinfo/ap_category.h"
#include "pages/format_combo.h"
#include "pages/mail_clients.h"
#include "pages/text_compare.h"
#include "res/resource.h"
#include "settings/fixed_string.h"
#include "settings/job_table.h"
#include "ui/controls.h"

#include <cstdio>
#include <cstring>

namespace tolvan {

namespace {

constexpr int kQualityGroup[] = {IDC_JPEG_QUALITY_UNIT, IDC_JPEG_QUALITY_VALUE, IDC_JPEG_QUALITY_LABEL,
                                 IDC_JPEG_QUALITY};

constexpr std::string_view kJpgExtension = ".JPG";

// Whether the record's destination already is the program of entry.
bool HoldsClient(const JobRecord& record, const ApEntry& entry) {
    return record.ap.wApId == entry.wApId && SameProgramFiles(record, entry);
}

template <size_t N> void CopyField(char (&to)[N], const char (&from)[N]) {
    std::memcpy(to, from, N);
}

} // namespace

CEmailPage::CEmailPage(CAppServices* app) : CScanSettingsPage(IDD_EMAIL_PAGE, JobMask::kEmail, app) {}

void CEmailPage::SetUpPage() {
    ScaleControls();
    SetUpToolTips();
    FillScanModes();
    SelectScanMode();
    ShowResolution();
    LoadBackground();
    Slider(Item(IDC_JPEG_QUALITY)).SetRange(Quality::kMin, Quality::kMax, false);
    ShowQualityGroup(false);
    // Without the list of installed mail programs, or without the registry's mail clients, the page stays as it
    // is, with nothing to offer.
    if (!m_app || !m_applications.Load(*m_app, apinfo::Category::kMail))
        return;
    // Mail programs take these three whatever a record says.
    m_working.ap.dwFormats = Format::kEmailFormats;
    FillFormats();
    if (!DetectMailClients())
        return;
    if (m_mailClientCount == 0)
        m_unavailable = true;
    else
        AskForFirstSave();
}

bool CEmailPage::DetectMailClients() {
    std::vector<std::string> names;
    if (!ListMailClients(names))
        return false;
    ComboBox list(Item(IDC_MAIL_CLIENT_LIST));
    int count = 0;
    for (const std::string& name : names)
        if (list.AddString(name.c_str()) >= 0)
            ++count;
    m_mailClientCount = count;
    if (count > 0)
        ChooseInitialMailClient();
    return true;
}

void CEmailPage::ChooseInitialMailClient() {
    const std::string stored(ReadField(m_working.ap.szApName));
    ComboBox(Item(IDC_MAIL_CLIENT_LIST)).SelectString(-1, stored.c_str());
    if (IsMailClientId(m_working.ap.wApId))
        return;
    std::string defaultName;
    if (!ReadDefaultMailClient(defaultName))
        return;
    if (const ApEntry* entry = SelectDefaultClient(defaultName)) {
        CopyApEntry(m_working, *entry);
        // The entry brings its own format and quality: the list shows what the record now holds.
        SelectFormat();
    }
}

const ApEntry* CEmailPage::SelectDefaultClient(const std::string& defaultName) const {
    ComboBox list(Item(IDC_MAIL_CLIENT_LIST));
    int index = list.SelectString(-1, defaultName.c_str());
    if (index == CB_ERR) {
        index = 0;
        list.SetCurSel(index);
    }
    // The entry that the list now shows decides, not the registry's spelling: an empty default, or one that
    // only begins a listed name, still selects an entry, and the record must name that one.
    const MailClient* client = FindMailClient(list.ItemText(index));
    return client ? m_applications.FindById(client->apId) : nullptr;
}

void CEmailPage::FillFormats() {
    CFormatCombo list(Item(IDC_FORMAT_LIST));
    ShowFormat(tolvan::FillFormats(FormatListKind::kAddOnlyWithPdf, list, m_working));
}

void CEmailPage::SelectFormat() {
    CFormatCombo list(Item(IDC_FORMAT_LIST));
    ShowFormat(tolvan::SelectFormat(FormatListKind::kAddOnlyWithPdf, list, m_working));
}

void CEmailPage::ShowFormat(uint32_t selected) {
    ShowQualityGroup(false);
    if (selected != Format::kJpg)
        return;
    Slider(Item(IDC_JPEG_QUALITY)).SetPos(m_working.ap.wQuality);
    ShowQualityGroup(true);
    SetQualityText(m_working.ap.wQuality);
}

void CEmailPage::ShowQualityGroup(bool shown) const {
    for (int id : kQualityGroup)
        ShowItem(id, shown);
}

void CEmailPage::SetQualityText(uint16_t quality) const {
    char text[8];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(quality));
    SetItemText(IDC_JPEG_QUALITY_VALUE, text);
}

void CEmailPage::OnMailClientChange() {
    if (!IsAvailable())
        return;
    ComboBox list(Item(IDC_MAIL_CLIENT_LIST));
    const int index = list.GetCurSel();
    if (index != CB_ERR) {
        if (const ApEntry* entry = m_applications.FindByName(list.ItemText(index))) {
            // Only the program changes; the attachment's format and quality stay as the user set them.
            m_working.ap.wApId = entry->wApId;
            CopyField(m_working.ap.szApName, entry->szApName);
            CopyField(m_working.ap.szExeName, entry->szExeName);
            CopyField(m_working.ap.szExeDir, entry->szExeDir);
        }
    }
    NotifyChange(m_working.ap);
}

void CEmailPage::OnFormatChange() {
    CFormatCombo list(Item(IDC_FORMAT_LIST));
    TakeSelectedFormat(FormatListKind::kAddOnlyWithPdf, list, m_working);
    SelectFormat();
    NotifyChange(m_working.ap.dwFormat);
}

void CEmailPage::OnQualityScroll(HWND source) {
    if (source && source == Item(IDC_JPEG_QUALITY)) {
        const int position = Slider(source).GetPos();
        if (position != m_working.ap.wQuality) {
            m_working.ap.wQuality = static_cast<uint16_t>(position);
            SetQualityText(m_working.ap.wQuality);
            ::InvalidateRect(source, nullptr, TRUE);
        }
    }
    if (IsAvailable())
        NotifyChange(m_working.ap.wQuality);
}

bool CEmailPage::RestorePageDefaults() {
    if (IsAvailable()) {
        std::string defaultName;
        // The clients were found under this key at set-up; if it is gone now, nothing more is reset.
        if (!ReadDefaultMailClient(defaultName))
            return false;
        const ApEntry* entry = SelectDefaultClient(defaultName);
        if (entry && !HoldsClient(m_working, *entry)) {
            CopyApEntry(m_working, *entry);
            FillFormats();
            m_dirty = true;
        }
    }
    const bool atDefaultFormat = SameTextIgnoringCase(ReadField(m_working.ap.szExt), kJpgExtension) &&
                                 m_working.ap.dwFormat == Format::kJpg && m_working.ap.wQuality == Quality::kDefault;
    if ((m_working.ap.dwFormats & Format::kJpg) && !atDefaultFormat) {
        WriteField(m_working.ap.szExt, kJpgExtension);
        m_working.ap.dwFormat = Format::kJpg;
        m_working.ap.wQuality = Quality::kDefault;
        Slider(Item(IDC_JPEG_QUALITY)).SetPos(Quality::kDefault);
        ShowQualityGroup(false);
        SetQualityText(Quality::kDefault);
        // Shows the group again with "JPG", or falls back to "BMP" under scan mode 4.
        FillFormats();
        m_dirty = m_dirty || IsAvailable();
    }
    return true;
}

UINT CEmailPage::HintIdForControl(int id) const {
    if (id == IDC_MAIL_CLIENT_LIST)
        return IsAvailable() ? IDS_MAIL_CLIENT_LIST : IDS_NO_MAIL_CLIENT;
    // The "%" shares its number with the File page's browse button, whose hint would be wrong here.
    if (id == IDC_JPEG_QUALITY_UNIT)
        return IDS_JPEG_QUALITY_VALUE;
    return static_cast<UINT>(id);
}

int CEmailPage::ValueFieldId() const {
    return IDC_JPEG_QUALITY_VALUE;
}

void CEmailPage::OnPageCommand(int id, int code) {
    if (code != CBN_SELCHANGE)
        return;
    if (id == IDC_MAIL_CLIENT_LIST)
        OnMailClientChange();
    else if (id == IDC_FORMAT_LIST)
        OnFormatChange();
}

void CEmailPage::OnPageScroll(HWND source) {
    // The resolution slider is the shared group's; every other horizontal scroll is the quality's.
    OnQualityScroll(source);
}

} // namespace tolvan
