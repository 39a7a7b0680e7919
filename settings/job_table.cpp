#include "settings/job_table.h"

namespace tolvan {

const JobInfo* FindJob(uint32_t mask) {
    for (const JobInfo& job : kJobs)
        if (job.mask == mask)
            return &job;
    return nullptr;
}

const ImageFormat* FindImageFormat(uint32_t bit) {
    for (const ImageFormat& format : kImageFormats)
        if (format.bit == bit)
            return &format;
    return nullptr;
}

} // namespace tolvan
