// A page that hands the scan to a program as an image file (Application and DUzar pages): besides the shared scan
// settings it offers the image formats the chosen program opens in the synchronising format list (1050, no PDF),
// which follows the scan mode while the page is available and falls back to BMP on Default.
#pragma once

#include "pages/scan_settings_page.h"

namespace tolvan {

class CImageDestinationPage : public CScanSettingsPage {
public:
    using CScanSettingsPage::CScanSettingsPage;

protected:
    // An inert page shows no formats, whatever the scan mode.
    void AfterScanModeChange() override;

    // Brings the list in line with the record's formats and scan mode, and selects the record's format.
    void FillFormats();
    void OnFormatChange();
    // The last steps of Default on these pages: BMP as the format (the page turns dirty when that changes the
    // record and it is available), then, on a changed available page, the list refilled, since the program or the
    // scan mode may have changed what is offered.
    void RestoreFormatDefaults();
};

} // namespace tolvan
