// The application job's page: the scan opens in a program the user picks.
#pragma once

#include "pages/scan_settings_page.h"

namespace tolvan {

class CApplicationPage : public CScanSettingsPage {
public:
    explicit CApplicationPage(CAppServices* app);

protected:
    BOOL OnInitDialog() override;
    // The page lists no destinations yet, so it has nothing to offer.
    bool IsAvailable() const override { return false; }
};

} // namespace tolvan
