// The Copy job's page: the scan is printed on a chosen printer.
#pragma once

#include "pages/scan_settings_page.h"

namespace tolvan {

class CCopyPage : public CScanSettingsPage {
public:
    explicit CCopyPage(CAppServices* app);

protected:
    BOOL OnInitDialog() override;
    // The page lists no destinations yet, so it has nothing to offer.
    bool IsAvailable() const override { return false; }
};

} // namespace tolvan
