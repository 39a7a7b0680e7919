// Makes the page object of a job.
#pragma once

#include "pages/job_page.h"

#include <memory>

namespace tolvan {

// Null for a mask that is not one of the seven jobs.
std::unique_ptr<CJobPage> CreateJobPage(uint32_t mask, CAppServices* app);

} // namespace tolvan
