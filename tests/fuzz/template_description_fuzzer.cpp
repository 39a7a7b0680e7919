// Any text ends either in a description that keeps the parser's promises or in an error naming one of its lines.
#include "tools/template_description.h"

#include "settings/job_table.h"
#include "tests/fuzz/broken_promise.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace tolvan;

namespace {

std::size_t LineCount(std::string_view text) {
    const auto newlines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    return newlines + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

void CheckError(std::string_view text, std::string_view error) {
    Require(error.starts_with("line "), "an error starts with its line");
    error.remove_prefix(5);
    std::size_t line = 0, digits = 0;
    while (digits < error.size() && error[digits] >= '0' && error[digits] <= '9')
        line = line * 10 + static_cast<std::size_t>(error[digits++] - '0');
    Require(digits > 0 && digits < error.size() && error[digits] == ':', "the line number is followed by ':'");
    Require(line <= LineCount(text), "the line is one of the text's");
}

void CheckDescription(const TemplateDescription& description) {
    Require(!description.modelName.empty() && description.modelName.size() < 32, "model name of 1 to 31 chars");
    uint32_t offered = 0;
    for (const JobInfo& job : kJobs)
        offered |= job.mask;
    Require((description.jobSet & ~offered) == 0, "the job set holds known jobs only");
    uint32_t seen = 0;
    for (const TemplateJob& job : description.jobs) {
        Require(FindJob(job.mask) != nullptr, "a described job is a known job");
        Require((description.jobSet & job.mask) != 0, "a described job is offered");
        Require((seen & job.mask) == 0, "a job is described once");
        seen |= job.mask;
        Require(job.extra.size() == job.record.ap.dwExtraLen, "the blob has the length the record states");
        Require(job.extra.size() <= 64 * 1024, "the blob is bounded");
        Require(job.record.ap.pExtraLow == 0, "the blob reference is not set from the text");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TemplateDescription description;
    std::string error;
    if (ParseTemplateDescription(text, description, error))
        CheckDescription(description);
    else
        CheckError(text, error);
    return 0;
}
