// What the two copy pages (Copy and RAvud) share: the spooler's printers taken once at set-up (one enumeration for
// the pages built together) and kept until the page's window goes, the printer list (IDC_PRINTER_LIST) without the
// faxes, the printers a page cannot store and the names another entry already stands for, and the rules that choose a
// printer at set-up and on Default.
#pragma once

#include "pages/printer_names.h"
#include "pages/printers.h"
#include "pages/scan_settings_page.h"
#include "pages/shared_printers.h"

#include <memory>
#include <string>
#include <string_view>

namespace tolvan {

class CPrinterPage : public CScanSettingsPage {
public:
    // shared: what the pages built together share at set-up; null: the page asks for its own.
    CPrinterPage(UINT templateId, uint32_t mask, CAppServices* app, PrinterMatch match, CSharedPrinters* shared);

    void DestroyWindow() override;

    // How many printers set-up listed; 0 makes the page unavailable.
    DWORD ListedPrinterCount() const { return m_listedCount; }

protected:
    bool IsAvailable() const override { return m_listedCount > 0; }
    UINT HintIdForControl(int id) const override;
    // The system's default printer now; "" when there is none. Set-up uses the one shared with the other pages.
    virtual std::string DefaultPrinter() const { return DefaultPrinterName(); }
    // Whether the page's record can hold the printer so that it is found again; every printer by default.
    virtual bool CanStore(const PRINTER_INFO_2A& /*entry*/) const { return true; }

    // Takes the spooler's printers and lists them. False only when the memory for them cannot be had.
    bool ListPrinters();
    // Selects the entry that stands for name; false when there is none.
    bool SelectListed(std::string_view name) const;
    // The printer set-up chooses: the stored one when an entry stands for it, else the default printer when it is
    // listed and no fax, else the first entry; "" when nothing is listed. Its entry is selected.
    std::string ChooseInitialPrinter(std::string_view stored) const;
    // The enumeration's entry of the printer (without regard to case); null when there is none.
    const PRINTER_INFO_2A* FindPrinter(std::string_view name) const {
        return m_printers ? m_printers->Find(name) : nullptr;
    }
    // The printer Default chooses: the default printer when it is listed and no fax, else the first entry, so that
    // a printer stays chosen. Its entry is selected. Only for a page that lists printers.
    std::string ChooseDefaultPrinter() const;

private:
    CSharedPrinters m_ownShare;
    CSharedPrinters* m_share;
    std::shared_ptr<const CPrinterEnumeration> m_printers;
    PrinterMatch m_match;
    DWORD m_listedCount = 0;
};

} // namespace tolvan
