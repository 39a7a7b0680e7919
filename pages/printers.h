// The print spooler and the print dialog as the copy pages use them: the printers enumerated once, the rule
// that keeps fax printers out, the system's default printer, and the print dialog that edits a printer's
// device mode. Every global block the dialog needs or returns is owned here and freed before a call returns.
// (pages/shared_printers.h shares one enumeration and one default printer between the pages at set-up.)
//
// Use (both copy pages):
//   CPrinterEnumeration printers;
//   if (!printers.Take()) ...                       // no memory for the buffer: set-up ends
//   for (DWORD i = 0; i < printers.Count(); ++i)
//       if (!IsFaxPrinter(printers.At(i).pPrinterName)) ... list it
//   std::string fallback = DefaultPrinterName();    // "" when there is none
//   const PRINTER_INFO_2A* entry = printers.Find(name); // without regard to case
//   PrintDialogChoice choice;
//   if (ShowPrintDialog(owner, *entry, blob, blobSize, DevModeLength(*entry), choice) ==
//       PrintDialogResult::kConfirmed) ... choice.printer, choice.devMode
#pragma once

#include <windows.h>

#include <commdlg.h>
#include <winspool.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tolvan {

// The print dialog's flags wherever a page shows or queries it: no selection, no page numbers, copies and
// collation kept in the device mode, no printing to a file (0x0014000C).
inline constexpr DWORD kPrintDialogFlags =
    PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE;

// Whether a printer is a fax, which a copy job must never go to: its name, lower-cased in the ANSI code page
// (multi-byte aware), holds "fax". A null name is no fax.
bool IsFaxPrinter(const char* name);

// The spooler's local and connected printers at level 2 (PRINTER_INFO_2A entries followed by the strings and
// device modes they point to), taken once and kept until released.
class CPrinterEnumeration {
public:
    CPrinterEnumeration() = default;
    CPrinterEnumeration(const CPrinterEnumeration&) = delete;
    CPrinterEnumeration& operator=(const CPrinterEnumeration&) = delete;

    // Asks the spooler for the size it needs, then enumerates into a zero-filled buffer of that size. False only
    // when the buffer cannot be allocated; a failing enumeration leaves the snapshot empty and is no error.
    bool Take();
    void Release();

    DWORD Count() const { return m_count; }
    // index < Count().
    const PRINTER_INFO_2A& At(DWORD index) const { return Entries()[index]; }
    // The entry whose printer name equals name without regard to case; null when there is none.
    const PRINTER_INFO_2A* Find(std::string_view name) const;

private:
    const PRINTER_INFO_2A* Entries() const { return reinterpret_cast<const PRINTER_INFO_2A*>(m_buffer.data()); }

    std::vector<BYTE> m_buffer;
    DWORD m_count = 0;
};

// dmSize + dmDriverExtra of the entry's device mode; 0 when it has none.
size_t DevModeLength(const PRINTER_INFO_2A& entry);

// The system's default printer as the spooler names it, the name the print dialog reports when asked for its
// defaults only, without loading the dialog's machinery and the printer's driver; "" when there is none.
std::string DefaultPrinterName();

enum class PrintDialogResult {
    kConfirmed, // OK: the choice is filled
    kCancelled, // the user closed the dialog without OK
    kFailed,    // a global block could not be allocated or locked, or the dialog gave no usable device mode
};

// What the user confirmed in the print dialog.
struct PrintDialogChoice {
    std::string printer;          // the printer chosen in the dialog, which may not be the one it opened on
    std::vector<uint8_t> devMode; // its device mode: dmSize + dmDriverExtra bytes
};

// Shows the print dialog (not print set-up; kPrintDialogFlags) on the printer of entry, modal to owner's top-level
// window. The dialog starts from devMode (devModeSize bytes) in a zero-filled block of blockSize bytes, made
// larger where the device mode would not fit whole, so that the dialog never reads past its block.
PrintDialogResult ShowPrintDialog(HWND owner, const PRINTER_INFO_2A& entry, const uint8_t* devMode, size_t devModeSize,
                                  size_t blockSize, PrintDialogChoice& choice);

} // namespace tolvan
