// Makes the page object of a job.
#pragma once

#include "pages/job_page.h"

#include <memory>

namespace tolvan {

class CSharedPrinters;

// Null for a mask that is not one of the seven jobs. printers: what the copy pages built together share at
// set-up, kept by the caller for as long as the pages live; null: each copy page asks for its own.
std::unique_ptr<CJobPage> CreateJobPage(uint32_t mask, CAppServices* app, CSharedPrinters* printers = nullptr);

} // namespace tolvan
