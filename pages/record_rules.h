// The values a job's page can give each field of its record, as one check of a whole record and its blob: the
// scan modes and resolutions of the scan settings group, the formats of the job's format list, the JPEG quality
// slider's range, the blob each job keeps. For records that come from outside the program (a file a person
// edited, a damaged settings file), so that nothing reaches the settings file that no page could have written.
#pragma once

#include "settings/job_record.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tolvan {

struct RecordFault {
    std::string_view field; // a record field's name, or "extra" for the blob
    std::string message;
};

// Every fault of the record of job mask with its blob; empty when the record is one its page could have written.
std::vector<RecordFault> CheckJobRecord(uint32_t mask, const JobRecord& record, std::span<const uint8_t> extra);

} // namespace tolvan
