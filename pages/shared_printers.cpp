#include "pages/shared_printers.h"

#include <new>

namespace tolvan {

std::shared_ptr<const CPrinterEnumeration> CSharedPrinters::Enumeration() {
    if (std::shared_ptr<const CPrinterEnumeration> held = m_enumeration.lock())
        return held;
    std::shared_ptr<CPrinterEnumeration> taken;
    try {
        taken = std::make_shared<CPrinterEnumeration>();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (!taken->Take())
        return nullptr;
    m_enumeration = taken;
    return taken;
}

const std::string& CSharedPrinters::DefaultPrinter() {
    if (!m_defaultPrinter)
        m_defaultPrinter = DefaultPrinterName();
    return *m_defaultPrinter;
}

} // namespace tolvan
