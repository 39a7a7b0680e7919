#include "pages/ravud_page.h"

#include "controls/skin_colours.h"
#include "res/resource.h"
#include "settings/job_table.h"

namespace tolvan {

CRAvudPage::CRAvudPage(CAppServices* app) : CScanSettingsPage(IDD_RAVUD_PAGE, JobMask::kRAvud, app) {}

BOOL CRAvudPage::OnInitDialog() {
    ScaleControls();
    LoadBackground();
    m_properties.SubclassWithColors(IDC_PRINTER_PROPERTIES, m_hwnd, kPageColour, kButtonTextColour,
                                    kDisabledTextColour);
    m_copySize.SubclassWithColors(IDC_COPY_SIZE_BUTTON, m_hwnd, kPageColour, kButtonTextColour, kDisabledTextColour);
    FillScanModes();
    SelectScanMode();
    // The slider takes its bitmaps before its range.
    if (m_resolution.Attach(Item(IDC_RESOLUTION))) {
        m_resolution.SetChannelBitmap(IDB_SLIDER_CHANNEL);
        m_resolution.SetThumbBitmap(IDB_SLIDER_THUMB);
    }
    ShowResolution();
    m_unavailable = true;
    m_properties.Enable(false);
    m_copySize.Enable(false);
    Translate();
    return TRUE;
}

bool CRAvudPage::PageCtlColor(UINT msg, HDC dc, HWND control, LRESULT& result) {
    // Every static but the resolution caption shows the background through, the labels and the slider included.
    if (msg != WM_CTLCOLORSTATIC || ::GetDlgCtrlID(control) == IDC_RESOLUTION_CAPTION) {
        result = ::DefWindowProcA(m_hwnd, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
        return true;
    }
    ::SetBkMode(dc, TRANSPARENT);
    result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    return true;
}

} // namespace tolvan
