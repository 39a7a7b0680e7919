// Application list files ("APInfo.dat", "ApInfo.dat", "InApInfo.dat") as the tests make and read them, through the
// module's own file format.
#pragma once

#include "settings/job_record.h"

#include <string>
#include <vector>

namespace tolvan::test {

void WriteApplicationList(const std::string& path, const std::vector<ApEntry>& entries);
// The entries of a list file; a file the module would refuse fails the test.
std::vector<ApEntry> ReadApplicationList(const std::string& path);
std::vector<std::string> Names(const std::vector<ApEntry>& entries);

} // namespace tolvan::test
