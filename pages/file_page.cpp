#include "pages/file_page.h"

#include "res/resource.h"
#include "settings/job_table.h"

namespace tolvan {

CFilePage::CFilePage(CAppServices* app) : CScanSettingsPage(IDD_FILE_PAGE, JobMask::kFile, app) {}

BOOL CFilePage::OnInitDialog() {
    SetUpScanSettings();
    FirstSave();
    Translate();
    return TRUE;
}

} // namespace tolvan
