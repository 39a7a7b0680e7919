#include "pages/page_factory.h"

#include "pages/application_page.h"
#include "pages/copy_page.h"
#include "pages/duzar_page.h"
#include "pages/email_page.h"
#include "pages/file_page.h"
#include "pages/office_page.h"
#include "pages/ravud_page.h"
#include "settings/job_table.h"

namespace tolvan {

std::unique_ptr<CJobPage> CreateJobPage(uint32_t mask, CAppServices* app, CSharedPrinters* printers) {
    switch (mask) {
    case JobMask::kEmail:
        return std::make_unique<CEmailPage>(app);
    case JobMask::kOffice:
        return std::make_unique<COfficePage>(app);
    case JobMask::kFile:
        return std::make_unique<CFilePage>(app);
    case JobMask::kCopy:
        return std::make_unique<CCopyPage>(app, printers);
    case JobMask::kApplication:
        return std::make_unique<CApplicationPage>(app);
    case JobMask::kDUzar:
        return std::make_unique<CDUzarPage>(app);
    case JobMask::kRAvud:
        return std::make_unique<CRAvudPage>(app, printers);
    default:
        return nullptr;
    }
}

} // namespace tolvan
