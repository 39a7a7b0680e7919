#include "pages/copy_page.h"

#include "res/resource.h"
#include "settings/job_table.h"

namespace tolvan {

CCopyPage::CCopyPage(CAppServices* app) : CScanSettingsPage(IDD_COPY_PAGE, JobMask::kCopy, app) {}

BOOL CCopyPage::OnInitDialog() {
    SetUpScanSettings();
    m_unavailable = true;
    Translate();
    return TRUE;
}

} // namespace tolvan
