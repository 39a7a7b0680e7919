#include "pages/email_page.h"

#include "res/resource.h"
#include "settings/job_table.h"

namespace tolvan {

CEmailPage::CEmailPage(CAppServices* app) : CScanSettingsPage(IDD_EMAIL_PAGE, JobMask::kEmail, app) {}

BOOL CEmailPage::OnInitDialog() {
    SetUpScanSettings();
    m_unavailable = true;
    Translate();
    return TRUE;
}

} // namespace tolvan
