#include "pages/printer_page.h"

#include "res/resource.h"
#include "ui/controls.h"

#include <new>
#include <vector>

namespace tolvan {

CPrinterPage::CPrinterPage(UINT templateId, uint32_t mask, CAppServices* app, PrinterMatch match,
                           CSharedPrinters* shared)
    : CScanSettingsPage(templateId, mask, app), m_share(shared ? shared : &m_ownShare), m_match(match) {}

void CPrinterPage::DestroyWindow() {
    m_printers.reset();
    CScanSettingsPage::DestroyWindow();
}

UINT CPrinterPage::HintIdForControl(int id) const {
    if (id == IDC_PRINTER_LIST)
        return IsAvailable() ? IDS_PRINTER_LIST : IDS_NO_PRINTER;
    return static_cast<UINT>(id);
}

bool CPrinterPage::ListPrinters() {
    m_printers = m_share->Enumeration();
    if (!m_printers)
        return false;
    ComboBox list(Item(IDC_PRINTER_LIST));
    try {
        std::vector<std::string_view> names;
        for (DWORD i = 0; i < m_printers->Count(); ++i) {
            const PRINTER_INFO_2A& entry = m_printers->At(i);
            if (entry.pPrinterName && !IsFaxPrinter(entry.pPrinterName) && CanStore(entry))
                names.emplace_back(entry.pPrinterName);
        }
        for (std::string_view name : NamesToList(names, m_match))
            if (list.AddString(std::string(name).c_str()) >= 0)
                ++m_listedCount;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool CPrinterPage::SelectListed(std::string_view name) const {
    if (name.empty())
        return false;
    ComboBox list(Item(IDC_PRINTER_LIST));
    // The list's own searches ignore case the locale's way; the page's rule decides.
    for (int i = 0; i < list.GetCount(); ++i) {
        if (EntryStandsFor(list.ItemText(i), name, m_match)) {
            list.SetCurSel(i);
            return true;
        }
    }
    return false;
}

std::string CPrinterPage::ChooseInitialPrinter(std::string_view stored) const {
    ComboBox list(Item(IDC_PRINTER_LIST));
    std::string choice;
    if (m_listedCount > 0) {
        list.SetCurSel(0);
        choice = list.ItemText(0);
    }
    if (SelectListed(stored))
        return std::string(stored);
    const std::string& fallback = m_share->DefaultPrinter();
    if (!fallback.empty() && !IsFaxPrinter(fallback.c_str()) && SelectListed(fallback))
        return fallback;
    return choice;
}

std::string CPrinterPage::ChooseDefaultPrinter() const {
    const std::string fallback = DefaultPrinter();
    if (!fallback.empty() && !IsFaxPrinter(fallback.c_str()) && SelectListed(fallback))
        return fallback;
    ComboBox list(Item(IDC_PRINTER_LIST));
    list.SetCurSel(0);
    return list.ItemText(0);
}

} // namespace tolvan
