// The printer list and the Properties button of a copy page (Copy or RAvud), worked as the user works them.
#pragma once

#include "print_dialog_driver.h"

#include "pages/job_page.h"

#include <functional>
#include <string>
#include <vector>

namespace tolvan::test {

std::vector<std::string> ListedPrinters(const CJobPage& page);
std::string ChosenPrinter(const CJobPage& page);
// Selects the printer's entry and tells the page as the list would; false when the list does not hold it.
bool ChoosePrinter(const CJobPage& page, const char* printer);
// Presses Properties and answers the print dialog; false when no dialog came.
bool PressProperties(const CJobPage& page, std::function<void(PrintDialog&)> answer);

} // namespace tolvan::test
