#include "printer_page_driver.h"

#include "page_host.h"

#include "res/resource.h"
#include "ui/controls.h"

#include <utility>

namespace tolvan::test {

std::vector<std::string> ListedPrinters(const CJobPage& page) {
    ComboBox list(page.Item(IDC_PRINTER_LIST));
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetCount(); ++i)
        texts.push_back(list.ItemText(i));
    return texts;
}

std::string ChosenPrinter(const CJobPage& page) {
    ComboBox list(page.Item(IDC_PRINTER_LIST));
    return list.ItemText(list.GetCurSel());
}

bool ChoosePrinter(const CJobPage& page, const char* printer) {
    ComboBox list(page.Item(IDC_PRINTER_LIST));
    const int index = list.FindStringExact(-1, printer);
    if (index < 0)
        return false;
    list.SetCurSel(index);
    SendCommand(page, IDC_PRINTER_LIST, CBN_SELCHANGE);
    return true;
}

bool PressProperties(const CJobPage& page, std::function<void(PrintDialog&)> answer) {
    PrintDialogAnswer printDialog(std::move(answer));
    SendCommand(page, IDC_PRINTER_PROPERTIES, BN_CLICKED);
    return printDialog.Answered();
}

} // namespace tolvan::test
