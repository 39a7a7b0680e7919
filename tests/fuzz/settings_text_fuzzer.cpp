// Any text ends either in jobs that an import may write, or in faults that each name a line of the text.
#include "cfg/settings_text.h"

#include "pages/record_rules.h"
#include "settings/job_table.h"
#include "tests/fuzz/broken_promise.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

using namespace tolvan;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    SettingsText parsed;
    std::vector<TextFault> faults;
    if (!ParseSettingsText(text, parsed, faults)) {
        const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
        Require(!faults.empty(), "a refused text says why");
        for (const TextFault& fault : faults)
            Require(fault.line >= 0 && fault.line <= lines, "a fault names a line of the text");
        return 0;
    }
    Require(!parsed.jobs.empty() && parsed.jobs.size() == parsed.jobLines.size(), "a valid text holds jobs");
    for (const StoredJob& job : parsed.jobs) {
        Require(FindJob(job.mask) != nullptr, "only known jobs");
        Require(CheckJobRecord(job.mask, job.record, job.extra).empty(), "only records a page could write");
    }
    // What was read is written back as a text that reads the same.
    SettingsText again;
    Require(ParseSettingsText(WriteSettingsText(parsed.modelName, parsed.jobs), again, faults), "the export reads");
    Require(again.jobs.size() == parsed.jobs.size(), "the export holds every job");
    return 0;
}
