#include "pages/office_page.h"

#include "res/resource.h"
#include "settings/job_table.h"

namespace tolvan {

COfficePage::COfficePage(CAppServices* app) : CScanSettingsPage(IDD_OFFICE_PAGE, JobMask::kOffice, app) {}

BOOL COfficePage::OnInitDialog() {
    SetUpScanSettings();
    m_unavailable = true;
    Translate();
    return TRUE;
}

} // namespace tolvan
