#include "pages/image_destination_page.h"

#include "pages/format_combo.h"
#include "pages/text_compare.h"
#include "res/resource.h"
#include "settings/fixed_string.h"
#include "settings/job_table.h"

namespace tolvan {

namespace {

constexpr std::string_view kBmpExtension = ".BMP";

} // namespace

void CImageDestinationPage::AfterScanModeChange() {
    if (IsAvailable())
        FillFormats();
}

void CImageDestinationPage::FillFormats() {
    CFormatCombo list(Item(IDC_FORMAT_LIST));
    tolvan::FillFormats(FormatListKind::kSynchronising, list, m_working);
}

void CImageDestinationPage::OnFormatChange() {
    CFormatCombo list(Item(IDC_FORMAT_LIST));
    TakeSelectedFormat(FormatListKind::kSynchronising, list, m_working);
    NotifyChange(m_working.ap.dwFormat);
}

void CImageDestinationPage::RestoreFormatDefaults() {
    const bool available = IsAvailable();
    if (!SameTextIgnoringCase(ReadField(m_working.ap.szExt), kBmpExtension) || m_working.ap.dwFormat != Format::kBmp) {
        WriteField(m_working.ap.szExt, kBmpExtension);
        m_working.ap.dwFormat = Format::kBmp;
        CFormatCombo list(Item(IDC_FORMAT_LIST));
        SelectFormat(FormatListKind::kSynchronising, list, m_working);
        m_dirty = m_dirty || available;
    }
    if (m_dirty && available)
        FillFormats();
}

} // namespace tolvan
