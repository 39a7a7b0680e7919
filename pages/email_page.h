// The Email job's page: the scan goes to a mail program as an attachment.
#pragma once

#include "pages/scan_settings_page.h"

namespace tolvan {

class CEmailPage : public CScanSettingsPage {
public:
    explicit CEmailPage(CAppServices* app);

protected:
    BOOL OnInitDialog() override;
    // The page lists no destinations yet, so it has nothing to offer.
    bool IsAvailable() const override { return false; }
};

} // namespace tolvan
