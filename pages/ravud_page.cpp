#include "pages/ravud_page.h"

#include "res/resource.h"
#include "settings/job_table.h"

namespace tolvan {

CRAvudPage::CRAvudPage(CAppServices* app) : CScanSettingsPage(IDD_RAVUD_PAGE, JobMask::kRAvud, app) {}

BOOL CRAvudPage::OnInitDialog() {
    SetUpScanSettings();
    m_unavailable = true;
    Translate();
    return TRUE;
}

} // namespace tolvan
