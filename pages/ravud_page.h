// The RAvud job's page: the scan is printed with a copy size.
#pragma once

#include "pages/scan_settings_page.h"

namespace tolvan {

class CRAvudPage : public CScanSettingsPage {
public:
    explicit CRAvudPage(CAppServices* app);

protected:
    BOOL OnInitDialog() override;
    // The page lists no destinations yet, so it has nothing to offer.
    bool IsAvailable() const override { return false; }
};

} // namespace tolvan
