// The installed applications of one category, as the application-info module lists them in the per-user
// "InApInfo.dat". The pages that offer destinations (Email, application, Office, DUzar) read the list once
// at set-up; the module is loaded for the reading only.
#pragma once

#include "settings/job_record.h"

#include <cstdint>
#include <vector>

namespace tolvan {

class CAppServices;

// Puts the entries of the category into out, in the module's order. False, with out unchanged, when the
// module cannot be loaded, the list file cannot be opened or there is no memory for the entries.
bool LoadInstalledApplications(CAppServices& app, uint32_t category, std::vector<ApEntry>& out);

} // namespace tolvan
