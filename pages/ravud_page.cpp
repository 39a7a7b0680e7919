#include "pages/ravud_page.h"

#include "controls/skin_colours.h"
#include "pages/copy_size_dialog.h"
#include "pages/text_compare.h"
#include "res/resource.h"
#include "settings/job_table.h"
#include "ui/controls.h"

#include <cstring>
#include <new>

namespace tolvan {

namespace {

std::string_view PrinterName(const RAvudBlob& blob) {
    return ReadField(blob.szPrinterName);
}
std::string_view DriverName(const RAvudBlob& blob) {
    return ReadField(blob.szDriverName);
}
bool SameDevModePart(const RAvudBlob& a, const RAvudBlob& b) {
    return std::memcmp(a.abDevMode, b.abDevMode, kRAvudDevModeBytes) == 0;
}

} // namespace

CRAvudPage::CRAvudPage(CAppServices* app, CSharedPrinters* printers)
    : CPrinterPage(IDD_RAVUD_PAGE, JobMask::kRAvud, app, PrinterMatch::kPrefix, printers) {}

void CRAvudPage::SetUpPage() {
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
    GiveBothCopiesABlob();
    // Without memory for the spooler's list the page offers nothing.
    if (!ListPrinters()) {
        m_unavailable = true;
        return;
    }
    ChooseFirstPrinter();
    if (ListedPrinterCount() == 0) {
        m_unavailable = true;
        m_properties.Enable(false);
        m_copySize.Enable(false);
    }
}

bool CRAvudPage::CanStore(const PRINTER_INFO_2A& entry) const {
    return FitsRAvudBlob(entry.pPrinterName ? entry.pPrinterName : "", entry.pDriverName ? entry.pDriverName : "");
}

void CRAvudPage::GiveBothCopiesABlob() {
    if (m_workingExtra.size() == kRAvudBlobSize && m_savedExtra.size() == kRAvudBlobSize)
        return;
    try {
        m_workingExtra.assign(kRAvudBlobSize, 0);
        m_savedExtra.assign(kRAvudBlobSize, 0);
    } catch (const std::bad_alloc&) {
        m_workingExtra.clear();
        m_savedExtra.clear();
    }
    m_working.ap.dwExtraLen = m_saved.ap.dwExtraLen = static_cast<uint32_t>(m_workingExtra.size());
}

bool CRAvudPage::TakePrinterSettings(RAvudBlob& blob, const PRINTER_INFO_2A& entry) {
    const RAvudBlob before = blob;
    if (entry.pDriverName)
        WriteField(blob.szDriverName, entry.pDriverName);
    if (entry.pDevMode)
        TakeDevModePart(blob, reinterpret_cast<const uint8_t*>(entry.pDevMode), DevModeLength(entry));
    return std::memcmp(&before, &blob, sizeof blob) != 0;
}

void CRAvudPage::ChooseFirstPrinter() {
    RAvudBlob blob = WorkingBlob();
    const std::string choice = ChooseInitialPrinter(PrinterName(blob));
    // A stored name that begins the chosen printer's name stays as it was stored.
    if (SameTextIgnoringCase(choice, PrinterName(blob)))
        return;
    WriteField(blob.szPrinterName, choice);
    if (const PRINTER_INFO_2A* entry = FindPrinter(choice))
        TakePrinterSettings(blob, *entry);
    // Only the working copy follows the spooler; the page has nothing the user changed.
    SetWorkingBlob(blob);
}

void CRAvudPage::ChangedIf(bool changed) {
    if (changed && !m_dirty && IsAvailable()) {
        m_dirty = true;
        SendPageChanged();
    }
}

void CRAvudPage::OnPrinterChange() {
    ComboBox list(Item(IDC_PRINTER_LIST));
    const int index = list.GetCurSel();
    if (index == CB_ERR)
        return;
    const std::string text = list.ItemText(index);
    RAvudBlob blob = WorkingBlob();
    WriteField(blob.szPrinterName, text);
    if (const PRINTER_INFO_2A* entry = FindPrinter(text))
        TakePrinterSettings(blob, *entry);
    SetWorkingBlob(blob);
    // The device mode a printer brings is its current one, no choice of the user's.
    const RAvudBlob saved = SavedBlob();
    ChangedIf(!SameTextIgnoringCase(PrinterName(blob), PrinterName(saved)) ||
              !SameTextIgnoringCase(DriverName(blob), DriverName(saved)));
}

void CRAvudPage::OnProperties() {
    RAvudBlob blob = WorkingBlob();
    const PRINTER_INFO_2A* entry = FindPrinter(PrinterName(blob));
    if (!entry)
        return;
    std::vector<uint8_t> devMode;
    try {
        devMode = DeviceModeForDialog(blob, reinterpret_cast<const uint8_t*>(entry->pDevMode), DevModeLength(*entry));
    } catch (const std::bad_alloc&) {
        return;
    }
    PrintDialogChoice choice;
    if (ShowPrintDialog(m_hwnd, *entry, devMode.data(), devMode.size(), devMode.size(), choice) !=
        PrintDialogResult::kConfirmed)
        return;
    // The dialog lets the user pick another printer; its settings are not this printer's.
    if (!SameTextIgnoringCase(choice.printer, PrinterName(blob)))
        return;
    TakeDevModePart(blob, choice.devMode.data(), choice.devMode.size());
    SetWorkingBlob(blob);
    const RAvudBlob saved = SavedBlob();
    ChangedIf(!SameTextIgnoringCase(PrinterName(blob), PrinterName(saved)) || !SameDevModePart(blob, saved));
}

void CRAvudPage::OnCopySize() {
    RAvudBlob blob = WorkingBlob();
    CCopySizeDialog dialog(m_app);
    dialog.SetValue(blob.wCopyOption);
    if (dialog.DoModal(m_hwnd) != IDOK)
        return;
    // OK on the size the stored value stands for (a stored 0 is same size) changes nothing.
    if (dialog.GetValue() == EffectiveCopySize(blob.wCopyOption))
        return;
    blob.wCopyOption = dialog.GetValue();
    SetWorkingBlob(blob);
    ChangedIf(true);
}

bool CRAvudPage::RestorePageDefaults() {
    if (!IsAvailable())
        return true;
    RAvudBlob blob = WorkingBlob();
    const std::string taken = ChooseDefaultPrinter();
    const PRINTER_INFO_2A* entry = FindPrinter(taken);
    if (!entry)
        return true;
    bool changed = false;
    if (PrinterName(blob) != taken) {
        WriteField(blob.szPrinterName, taken);
        changed = true;
    }
    // The copy size is the user's, not the printer's: Default keeps it.
    changed = TakePrinterSettings(blob, *entry) || changed;
    SetWorkingBlob(blob);
    m_dirty = m_dirty || changed;
    return true;
}

void CRAvudPage::OnPageCommand(int id, int code) {
    if (id == IDC_PRINTER_LIST && code == CBN_SELCHANGE)
        OnPrinterChange();
    else if (id == IDC_PRINTER_PROPERTIES && code == BN_CLICKED)
        OnProperties();
    else if (id == IDC_COPY_SIZE_BUTTON && code == BN_CLICKED)
        OnCopySize();
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
