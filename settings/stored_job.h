// One job's record as stored in the settings file, with the blob stored behind it.
#pragma once

#include "settings/job_record.h"

#include <cstdint>
#include <vector>

namespace tolvan {

struct StoredJob {
    uint32_t mask = 0;
    JobRecord record{};
    std::vector<uint8_t> extra;
};

} // namespace tolvan
