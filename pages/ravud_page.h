// The RAvud job's page: the scan is printed with a copy size. Besides the shared scan settings it lists the
// spooler's printers (IDC_PRINTER_LIST), edits the chosen printer's settings in the print dialog
// (IDC_PRINTER_PROPERTIES) and the copy size in its own dialog (IDC_COPY_SIZE_BUTTON). Everything it stores is the
// 214-byte blob of ravud_blob.h; the page has no first save. Its resolution slider is drawn from the skin's
// bitmaps, and its labels and slider show the page's background through.
//
// The blob keeps printer and driver names in 32-byte fields: a printer whose name or driver name would not fit
// whole is not listed, since a cut name would find another printer, or none, on the next start.
#pragma once

#include "controls/colour_button.h"
#include "controls/custom_draw_slider.h"
#include "pages/printer_page.h"
#include "pages/ravud_blob.h"

#include <string_view>

namespace tolvan {

class CRAvudPage : public CPrinterPage {
public:
    // printers: what the pages built together share at set-up; null: the page asks for its own.
    explicit CRAvudPage(CAppServices* app, CSharedPrinters* printers = nullptr);

    RAvudBlob WorkingBlob() const { return ReadRAvudBlob(m_workingExtra); }
    RAvudBlob SavedBlob() const { return ReadRAvudBlob(m_savedExtra); }

protected:
    void SetUpPage() override;
    bool RestorePageDefaults() override;
    void OnPageCommand(int id, int code) override;
    bool PageCtlColor(UINT msg, HDC dc, HWND control, LRESULT& result) override;
    bool CanStore(const PRINTER_INFO_2A& entry) const override;

private:
    // A blob of another length than the RAvud blob's holds nothing: both copies get a zeroed one.
    void GiveBothCopiesABlob();
    void ChooseFirstPrinter();
    // The blob takes the printer's driver name and device-mode part from the enumeration, each only where the
    // printer has one. Returns whether anything changed.
    static bool TakePrinterSettings(RAvudBlob& blob, const PRINTER_INFO_2A& entry);
    void SetWorkingBlob(const RAvudBlob& blob) { WriteRAvudBlob(m_workingExtra, blob); }
    // The first effective change of an available page sets the dirty flag and tells the main window.
    void ChangedIf(bool changed);

    void OnPrinterChange();
    void OnProperties();
    void OnCopySize();

    CColorButton m_properties;
    CColorButton m_copySize;
    CCustomDrawSlider m_resolution;
};

} // namespace tolvan
