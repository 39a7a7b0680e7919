// Where an application's program is installed, if anywhere. A catalogue entry is looked for by
// its program's file name: the App Paths registry keys (per user, then per machine), the
// entry's own folder, the system and Windows folders, then the usual program folders. An entry
// that the user added counts only where its stored path says.
#pragma once

#include "settings/job_record.h"

#include <string>
#include <string_view>
#include <vector>

namespace tolvan::apinfo {

class ProgramSearch {
public:
    // Gathers the fixed folders once, so that a search over the whole catalogue asks only once.
    ProgramSearch();

    // The folder that holds the entry's program, without a trailing backslash; empty when the
    // program was not found or its folder would not fit szExeDir.
    std::string Locate(const ApEntry& entry) const;

private:
    std::string InFolder(std::string folder, std::string_view program) const;
    std::string FromAppPaths(std::string_view program) const;

    std::vector<std::string> m_folders;
};

} // namespace tolvan::apinfo
