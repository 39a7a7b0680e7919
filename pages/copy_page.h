// The Copy job's page: the scan is printed. Besides the shared scan settings it lists the spooler's printers but
// the faxes (IDC_PRINTER_LIST) and edits the chosen printer's driver settings in the print dialog
// (IDC_PRINTER_PROPERTIES). The record keeps
// the printer's name in szExeDir and its whole device mode as the extra blob.
//
// Both copies of the record always have blobs of the same length: whenever the working blob takes a new
// length, the saved copy gets a zero-filled blob of that length, which also leaves the page changed until the
// next save.
#pragma once

#include "controls/bitmap_button.h"
#include "pages/printer_page.h"

#include <string>
#include <string_view>

namespace tolvan {

class CCopyPage : public CPrinterPage {
public:
    // printers: what the pages built together share at set-up; null: the page asks for its own.
    explicit CCopyPage(CAppServices* app, CSharedPrinters* printers = nullptr);

    // The printer the page regards as chosen.
    const std::string& SelectedPrinter() const { return m_selectedPrinter; }

protected:
    void SetUpPage() override;
    bool RestorePageDefaults() override;
    void OnPageCommand(int id, int code) override;
    bool PageCtlColor(UINT msg, HDC dc, HWND control, LRESULT& result) override;

private:
    void SetUpPropertiesButton();
    // True when the working copy took the chosen printer's device mode in place of the stored one.
    bool TakeInitialPrinter();
    // The working copy takes the printer's device mode from the enumeration, and its name; false when the
    // printer has no device mode there.
    bool TakeDevMode(std::string_view printer);
    // The working blob becomes a copy of bytes, the saved blob zeroes of the same length. False, with nothing
    // changed, when the memory cannot be had.
    bool ReplaceBlobs(const uint8_t* bytes, size_t length);
    void EmptyBlobs();

    void OnPrinterChange();
    void OnProperties();

    CBitmapButton m_properties;
    std::string m_selectedPrinter;
};

} // namespace tolvan
