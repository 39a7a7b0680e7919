// The RAvud job's page: the scan is printed with a copy size. Its resolution slider is drawn from the skin's
// bitmaps, and its labels and slider show the page's background through.
#pragma once

#include "controls/colour_button.h"
#include "controls/custom_draw_slider.h"
#include "pages/scan_settings_page.h"

namespace tolvan {

class CRAvudPage : public CScanSettingsPage {
public:
    explicit CRAvudPage(CAppServices* app);

protected:
    BOOL OnInitDialog() override;
    // The page lists no destinations yet, so it has nothing to offer.
    bool IsAvailable() const override { return false; }
    bool PageCtlColor(UINT msg, HDC dc, HWND control, LRESULT& result) override;

private:
    CColorButton m_properties;
    CColorButton m_copySize;
    CCustomDrawSlider m_resolution;
};

} // namespace tolvan
