#include "pages/duzar_page.h"

#include "res/resource.h"
#include "settings/job_table.h"

namespace tolvan {

CDUzarPage::CDUzarPage(CAppServices* app) : CScanSettingsPage(IDD_DUZAR_PAGE, JobMask::kDUzar, app) {}

BOOL CDUzarPage::OnInitDialog() {
    SetUpScanSettings();
    m_unavailable = true;
    Translate();
    return TRUE;
}

} // namespace tolvan
