// The Office job's page: the scan becomes a document through text recognition.
#pragma once

#include "pages/scan_settings_page.h"

namespace tolvan {

class COfficePage : public CScanSettingsPage {
public:
    explicit COfficePage(CAppServices* app);

protected:
    BOOL OnInitDialog() override;
    // The page lists no destinations yet, so it has nothing to offer.
    bool IsAvailable() const override { return false; }
};

} // namespace tolvan
