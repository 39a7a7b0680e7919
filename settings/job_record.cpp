#include "settings/job_record.h"

#include <cstring>

namespace tolvan {

void CopyApEntry(JobRecord& record, const ApEntry& entry) {
    std::memcpy(&record.ap, &entry, kApEntryCopyBytes);
    record.ap.wReserved = entry.wReserved;
}

bool SameApEntry(const JobRecord& a, const JobRecord& b) {
    return std::memcmp(&a.ap, &b.ap, kApEntrySize) == 0;
}

} // namespace tolvan
