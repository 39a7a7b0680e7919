#include "pages/shared_printers.h"

namespace tolvan {

std::shared_ptr<const CPrinterEnumeration> CSharedPrinters::Enumeration() {
    return m_enumeration.Get([](CPrinterEnumeration& printers) { return printers.Take(); });
}

const std::string& CSharedPrinters::DefaultPrinter() {
    if (!m_defaultPrinter)
        m_defaultPrinter = DefaultPrinterName();
    return *m_defaultPrinter;
}

} // namespace tolvan
