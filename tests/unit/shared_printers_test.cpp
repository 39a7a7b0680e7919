// What the copy pages built together share, over the test run's print spooler (scripts/cups test-queues:
// Office_Laser the default, Colour_Inkjet, Team_Fax): the default printer asked of the spooler must be the one the
// print dialog names when asked for its defaults, and one enumeration serves every page while any page holds it.
#include "pages/shared_printers.h"

#include <commdlg.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tolvan::test {
namespace {

// The device name of the print dialog's defaults, its blocks freed; "" when it has none.
std::string PrintDialogDefault() {
    PRINTDLGA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = kPrintDialogFlags | PD_RETURNDEFAULT;
    const BOOL found = ::PrintDlgA(&dialog);
    std::string name;
    if (found && dialog.hDevNames) {
        if (const auto* names = static_cast<const DEVNAMES*>(::GlobalLock(dialog.hDevNames))) {
            name = reinterpret_cast<const char*>(names) + names->wDeviceOffset;
            ::GlobalUnlock(dialog.hDevNames);
        }
    }
    for (HGLOBAL block : {dialog.hDevNames, dialog.hDevMode})
        if (block)
            ::GlobalFree(block);
    return name;
}

TEST(SharedPrintersTest, TheDefaultPrinterIsTheOneThePrintDialogNames) {
    const std::string dialogDefault = PrintDialogDefault();
    ASSERT_EQ(dialogDefault, "Office_Laser");
    EXPECT_EQ(DefaultPrinterName(), dialogDefault);
    CSharedPrinters shared;
    EXPECT_EQ(shared.DefaultPrinter(), dialogDefault);
}

TEST(SharedPrintersTest, OneEnumerationServesThePagesWhileAnyHoldsIt) {
    CSharedPrinters shared;
    std::shared_ptr<const CPrinterEnumeration> copyPage = shared.Enumeration();
    std::shared_ptr<const CPrinterEnumeration> ravudPage = shared.Enumeration();
    ASSERT_NE(copyPage, nullptr);
    EXPECT_EQ(ravudPage, copyPage);
    EXPECT_EQ(copyPage->Count(), 3u);
    EXPECT_NE(copyPage->Find("office_laser"), nullptr);

    // Its memory goes with the last page that holds it; a page built later enumerates again.
    const std::weak_ptr<const CPrinterEnumeration> taken = copyPage;
    copyPage.reset();
    EXPECT_FALSE(taken.expired());
    ravudPage.reset();
    EXPECT_TRUE(taken.expired());
    const std::shared_ptr<const CPrinterEnumeration> later = shared.Enumeration();
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(later->Count(), 3u);
}

} // namespace
} // namespace tolvan::test
