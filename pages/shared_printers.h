// What the copy pages built together share at their set-up: one enumeration of the spooler's printers, kept for
// as long as a page holds it, and one look-up of the default printer. Each costs start-up a trip to the spooler
// (tens of milliseconds with its driver loaded), and both pages would get the same answers in the same moment.
//
// Use (the job tabs own one for all their pages; a page built alone makes its own):
//   CSharedPrinters shared;
//   std::shared_ptr<const CPrinterEnumeration> printers = shared.Enumeration(); // null: no memory for it
//   const std::string& fallback = shared.DefaultPrinter();                      // "" when there is none
#pragma once

#include "pages/printers.h"
#include "ui/shared_while_held.h"

#include <memory>
#include <optional>
#include <string>

namespace tolvan {

class CSharedPrinters {
public:
    // The enumeration an earlier caller took while any holder keeps it, else a new one; null when the memory for
    // it cannot be had.
    std::shared_ptr<const CPrinterEnumeration> Enumeration();
    // The default printer as the first call found it; "" when there is none. For set-up only: a later choice asks
    // the system again, since the user may change the default printer while the program runs.
    const std::string& DefaultPrinter();

private:
    CSharedWhileHeld<CPrinterEnumeration> m_enumeration;
    std::optional<std::string> m_defaultPrinter;
};

} // namespace tolvan
