#include "pages/copy_page.h"

#include "controls/region_from_bitmap.h"
#include "pages/device_mode.h"
#include "pages/text_compare.h"
#include "res/resource.h"
#include "settings/fixed_string.h"
#include "settings/job_table.h"
#include "ui/controls.h"

#include <cstring>
#include <new>
#include <vector>

namespace tolvan {

namespace {

// Palette index of the Properties button's bitmap that lies outside the round button.
constexpr uint8_t kPropertiesOutside = 238;

} // namespace

CCopyPage::CCopyPage(CAppServices* app, CSharedPrinters* printers)
    : CPrinterPage(IDD_COPY_PAGE, JobMask::kCopy, app, PrinterMatch::kWholeName, printers) {}

void CCopyPage::SetUpPage() {
    ScaleControls();
    LoadBackground();
    SetUpToolTips();
    if (m_toolTip)
        m_toolTip->AddTranslatedTool(Item(IDC_PRINTER_PROPERTIES), IDS_PRINTER_PROPERTIES_TIP, nullptr, 0, m_app);
    SetUpPropertiesButton();
    FillScanModes();
    SelectScanMode();
    ShowResolution();
    // Without memory for the spooler's list the page offers nothing.
    if (!ListPrinters())
        return;
    const bool tookDevMode = TakeInitialPrinter();
    if (ListedPrinterCount() == 0) {
        m_unavailable = true;
        m_properties.Enable(false);
    } else if (m_saved.dwStored == 0) {
        AskForFirstSave();
    } else if (ReadField(m_saved.ap.szExeDir) != ReadField(m_working.ap.szExeDir) || tookDevMode) {
        // Set-up replaced what the file holds; the main window learns it when it shows the page.
        m_dirty = true;
    }
}

void CCopyPage::SetUpPropertiesButton() {
    if (!m_properties.Attach(Item(IDC_PRINTER_PROPERTIES)))
        return;
    if (!m_properties.SetBitmaps(IDB_PRINTER_PROPERTIES_NORMAL, IDB_PRINTER_PROPERTIES_SELECTED, 0,
                                 IDB_PRINTER_PROPERTIES_DISABLED, IDB_PRINTER_PROPERTIES_HOVER))
        return;
    m_properties.SizeToBitmap();
    UniqueRegion region = RegionFromBitmap(IDB_PRINTER_PROPERTIES_NORMAL, kPropertiesOutside);
    // The window owns a region it was given.
    if (region && ::SetWindowRgn(m_properties.Handle(), region.Get(), TRUE))
        region.Release();
}

bool CCopyPage::TakeInitialPrinter() {
    // Only a record with a device mode names a stored printer.
    const std::string stored(m_workingExtra.empty() ? std::string_view() : ReadField(m_working.ap.szExeDir));
    const std::string choice = ChooseInitialPrinter(stored);
    // A device mode whose lengths disagree with each other is no device mode: the printer's current one replaces
    // it, as for a printer newly chosen.
    bool took = false;
    if (!SameTextIgnoringCase(choice, stored) || !IsWholeDevMode(m_workingExtra.data(), m_workingExtra.size()))
        took = TakeDevMode(choice);
    m_selectedPrinter = choice;
    return took;
}

bool CCopyPage::ReplaceBlobs(const uint8_t* bytes, size_t length) {
    try {
        std::vector<uint8_t> working(bytes, bytes + length);
        std::vector<uint8_t> saved(length, 0);
        m_workingExtra.swap(working);
        m_savedExtra.swap(saved);
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_working.ap.dwExtraLen = m_saved.ap.dwExtraLen = static_cast<uint32_t>(length);
    return true;
}

void CCopyPage::EmptyBlobs() {
    m_workingExtra.clear();
    m_savedExtra.clear();
    m_working.ap.dwExtraLen = m_saved.ap.dwExtraLen = 0;
}

bool CCopyPage::TakeDevMode(std::string_view printer) {
    const PRINTER_INFO_2A* entry = FindPrinter(printer);
    if (!entry || !entry->pDevMode)
        return false;
    if (!ReplaceBlobs(reinterpret_cast<const uint8_t*>(entry->pDevMode), DevModeLength(*entry)))
        return false;
    WriteField(m_working.ap.szExeDir, printer);
    return true;
}

void CCopyPage::OnPrinterChange() {
    ComboBox list(Item(IDC_PRINTER_LIST));
    const int index = list.GetCurSel();
    if (index == CB_ERR)
        return;
    const std::string text = list.ItemText(index);
    if (SameTextIgnoringCase(text, m_selectedPrinter))
        return;
    m_selectedPrinter = text;
    if (FindPrinter(text)) {
        // A printer without a device mode leaves the record naming the previous one, without a device mode.
        EmptyBlobs();
        TakeDevMode(text);
    }
    // Another printer is a change even when it is the saved one again.
    if (!m_dirty && IsAvailable()) {
        m_dirty = true;
        SendPageChanged();
    }
}

void CCopyPage::OnProperties() {
    const PRINTER_INFO_2A* entry = FindPrinter(m_selectedPrinter);
    // Only a whole device mode goes to the dialog, which reads as far as the device mode says.
    if (!entry || !IsWholeDevMode(m_workingExtra.data(), m_workingExtra.size()))
        return;
    PrintDialogChoice choice;
    if (ShowPrintDialog(m_hwnd, *entry, m_workingExtra.data(), m_workingExtra.size(), DevModeLength(*entry), choice) !=
        PrintDialogResult::kConfirmed)
        return;
    // The dialog lets the user pick another printer; its settings are not this printer's.
    if (!SameTextIgnoringCase(choice.printer, m_selectedPrinter))
        return;
    if (choice.devMode.size() == m_workingExtra.size())
        std::memcpy(m_workingExtra.data(), choice.devMode.data(), choice.devMode.size());
    else if (!ReplaceBlobs(choice.devMode.data(), choice.devMode.size()))
        return;
    if (!m_dirty && IsAvailable() && m_workingExtra != m_savedExtra) {
        m_dirty = true;
        SendPageChanged();
    }
}

bool CCopyPage::RestorePageDefaults() {
    if (!IsAvailable())
        return true;
    const std::string taken = ChooseDefaultPrinter();
    m_selectedPrinter = taken;
    // The record the defaults give: the printer's current device mode and its name, or, for a printer without
    // one, the record as it is.
    const PRINTER_INFO_2A* entry = FindPrinter(taken);
    const bool hasDevMode = entry && entry->pDevMode;
    const uint8_t* devMode = hasDevMode ? reinterpret_cast<const uint8_t*>(entry->pDevMode) : m_workingExtra.data();
    const size_t length = hasDevMode ? DevModeLength(*entry) : m_workingExtra.size();
    const std::string name(hasDevMode ? std::string_view(taken) : ReadField(m_working.ap.szExeDir));
    const bool unchanged = name == ReadField(m_saved.ap.szExeDir) && length == m_savedExtra.size() &&
                           (length == 0 || std::memcmp(devMode, m_savedExtra.data(), length) == 0);
    if (unchanged) {
        // Equal lengths: the working blob takes the bytes in place.
        if (length != 0)
            std::memmove(m_workingExtra.data(), devMode, length);
    } else if (!ReplaceBlobs(devMode, length)) {
        return true;
    } else {
        m_dirty = true;
    }
    WriteField(m_working.ap.szExeDir, name);
    return true;
}

void CCopyPage::OnPageCommand(int id, int code) {
    if (id == IDC_PRINTER_LIST && code == CBN_SELCHANGE)
        OnPrinterChange();
    else if (id == IDC_PRINTER_PROPERTIES && code == BN_CLICKED)
        OnProperties();
}

bool CCopyPage::PageCtlColor(UINT msg, HDC dc, HWND, LRESULT& result) {
    // Buttons are drawn over the page's background as its statics are.
    if (msg != WM_CTLCOLORBTN)
        return false;
    ::SetBkMode(dc, TRANSPARENT);
    result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    return true;
}

} // namespace tolvan
