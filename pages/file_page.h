// The File job's page: the scan is saved as an image file; the target is chosen in a Save As dialog.
#pragma once

#include "pages/scan_settings_page.h"

namespace tolvan {

class CFilePage : public CScanSettingsPage {
public:
    explicit CFilePage(CAppServices* app);

protected:
    BOOL OnInitDialog() override;
    // Saving to a file needs no destination program: the page is always usable.
    bool IsAvailable() const override { return true; }
};

} // namespace tolvan
