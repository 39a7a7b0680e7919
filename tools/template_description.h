// The readable description from which the driver's template settings file is generated:
// an INI-like text with a [model] section (name, offered jobs) and one [job <caption>]
// section per job whose lines set record fields by name.
#pragma once

#include "settings/stored_job.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tolvan {

using TemplateJob = StoredJob;

struct TemplateDescription {
    std::string modelName;
    uint32_t jobSet = 0;
    std::vector<TemplateJob> jobs;
};

// Returns false with a message naming the line when the text is not a valid description.
bool ParseTemplateDescription(std::string_view text, TemplateDescription& out, std::string& error);

} // namespace tolvan
