#include "tools/template_description.h"

#include "settings/job_table.h"
#include "settings/record_fields.h"
#include "settings/text_trim.h"
#include "settings/stream_name.h"

#include <vector>

namespace tolvan {

bool ParseTemplateDescription(std::string_view text, TemplateDescription& out, std::string& error) {
    out = {};
    TemplateJob* job = nullptr;
    std::vector<int> jobLines; // where each job's section starts, for messages about it
    bool inModel = false;
    int lineNo = 0;
    auto fail = [&](const std::string& why) {
        error = "line " + std::to_string(lineNo) + ": " + why;
        return false;
    };
    while (!text.empty()) {
        ++lineNo;
        const size_t eol = text.find('\n');
        std::string_view line = Trim(text.substr(0, eol));
        text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            if (line.back() != ']')
                return fail("unterminated section header");
            std::string_view section = Trim(line.substr(1, line.size() - 2));
            inModel = section == "model";
            job = nullptr;
            if (inModel)
                continue;
            if (section.substr(0, 4) != "job ")
                return fail("unknown section");
            const JobInfo* info = FindJobByCaption(Trim(section.substr(4)));
            if (!info)
                return fail("unknown job");
            for (const TemplateJob& other : out.jobs)
                if (other.mask == info->mask)
                    return fail("job described twice");
            job = &out.jobs.emplace_back();
            jobLines.push_back(lineNo);
            job->mask = info->mask;
            job->record.ap.dwJobMask = info->mask;
            job->record.ap.wApSize = kApEntrySize;
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            return fail("expected name = value");
        const std::string_view name = Trim(line.substr(0, eq));
        const std::string_view value = Trim(line.substr(eq + 1));
        if (inModel) {
            if (name == "name") {
                if (value.empty() || value.size() >= kElementNameChars)
                    return fail("a model name has 1 to 31 characters");
                // Compound files refuse these in element names.
                if (value.find_first_of("\\/:!") != std::string_view::npos)
                    return fail("a model name cannot hold \\ / : or !");
                out.modelName = value;
            } else if (name == "jobs") {
                std::string_view rest = value;
                while (!(rest = Trim(rest)).empty()) {
                    const size_t sp = rest.find_first_of(" \t");
                    const JobInfo* info = FindJobByCaption(rest.substr(0, sp));
                    if (!info)
                        return fail("unknown job in the job set");
                    out.jobSet |= info->mask;
                    rest.remove_prefix(sp == std::string_view::npos ? rest.size() : sp);
                }
            } else {
                return fail("unknown model setting");
            }
            continue;
        }
        if (!job)
            return fail("setting outside a section");
        if (name == "extra") {
            const auto size = ParseNumber(value);
            if (!size || *size > 64 * 1024)
                return fail("bad extra blob size");
            job->extra.assign(*size, 0);
            job->record.ap.dwExtraLen = *size;
            continue;
        }
        const RecordField* field = FindRecordField(name);
        // The mask and the entry size follow from the section; the blob fields from "extra".
        if (!field || name == "dwExtraLen" || name == "pExtraLow" || name == "dwJobMask" || name == "wApSize")
            return fail("unknown or derived record field");
        if (!SetRecordField(job->record, *field, value))
            return fail("value does not fit the field");
    }
    if (out.modelName.empty())
        return fail("the model has no name");
    for (size_t i = 0; i < out.jobs.size(); ++i) {
        if (!(out.jobSet & out.jobs[i].mask)) {
            lineNo = jobLines[i];
            return fail("a job is described but not offered");
        }
    }
    return true;
}

} // namespace tolvan
