// The DUzar job's page: the scan opens in the one program made for this button.
#pragma once

#include "pages/scan_settings_page.h"

namespace tolvan {

class CDUzarPage : public CScanSettingsPage {
public:
    explicit CDUzarPage(CAppServices* app);

protected:
    BOOL OnInitDialog() override;
    // The page lists no destinations yet, so it has nothing to offer.
    bool IsAvailable() const override { return false; }
};

} // namespace tolvan
