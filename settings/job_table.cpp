#include "settings/job_table.h"

namespace tolvan {

const JobInfo* FindJob(uint32_t mask) {
    for (const JobInfo& job : kJobs)
        if (job.mask == mask)
            return &job;
    return nullptr;
}

const JobInfo* FindJobByCaption(std::string_view caption) {
    for (const JobInfo& job : kJobs)
        if (job.caption == caption)
            return &job;
    return nullptr;
}

const ImageFormat* FindImageFormat(uint32_t bit) {
    for (const ImageFormat& format : kImageFormats)
        if (format.bit == bit)
            return &format;
    return nullptr;
}

const ScanMode* FindScanMode(uint32_t bit) {
    for (const ScanMode& mode : kScanModes)
        if (mode.bit == bit)
            return &mode;
    return nullptr;
}

const Resolution* FindResolution(uint32_t dpi) {
    for (const Resolution& r : kResolutions)
        if (r.dpi == dpi)
            return &r;
    return nullptr;
}

const Resolution* FindResolutionByPosition(int position) {
    for (const Resolution& r : kResolutions)
        if (r.position == position)
            return &r;
    return nullptr;
}

} // namespace tolvan
