#include "pages/application_page.h"

#include "res/resource.h"
#include "settings/job_table.h"

namespace tolvan {

CApplicationPage::CApplicationPage(CAppServices* app)
    : CScanSettingsPage(IDD_APPLICATION_PAGE, JobMask::kApplication, app) {}

BOOL CApplicationPage::OnInitDialog() {
    SetUpScanSettings();
    m_unavailable = true;
    Translate();
    return TRUE;
}

} // namespace tolvan
