// The destination applications as the Application page finds them: APInfo.dll in the driver folder, the per-user
// catalogue "ApInfo.dat" that adding and removing programs change, and the installed list "InApInfo.dat" that the
// page reads and the module's search writes. Each program is a file of its own in the test's scratch folder, so
// that the module's search after a change finds what is installed.
#pragma once

#include "application_list_file.h"
#include "compound_file.h"

#include "app/app_services.h"
#include "driver/apinfo/ap_category.h"
#include "driver/apinfo/ap_user_entry.h"
#include "settings/job_record.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tolvan::test {

inline constexpr uint32_t kDestinationCategory = apinfo::Category::kDestination;
inline constexpr uint16_t kDefaultDestinationId = 4157;
inline constexpr uint16_t kUserAddedId = apinfo::kUserAppId;

// A file standing in for a program: scratch\Programs\<exe>. Returns its folder with a trailing backslash.
std::string MakeProgramFile(const ScratchFolder& scratch, const std::string& exe);

// A destination application whose program lies in the scratch folder; shipped entries carry the driver's option
// bit, user-added ones none, as the add command makes them.
ApEntry Destination(const ScratchFolder& scratch, uint16_t id, const char* name, const char* exe, uint32_t formats,
                    bool shipped = true);

std::string UserCatalogue(const CAppServices& services);
std::string InstalledList(const CAppServices& services);
std::string DriverCatalogue(const CAppServices& services);

// The application job's record as the driver's template holds it: stored before, naming a program this machine
// lacks, with a folder of its own that no choice of program changes.
JobRecord ApplicationRecord();
// The same record once it names the entry's program.
JobRecord RecordNaming(const ApEntry& entry);

// Puts APInfo.dll into the driver folder and the entries into both the per-user catalogue and the installed list,
// as the module's search would leave them when every program is installed.
void InstallDestinations(const CAppServices& services, const std::vector<ApEntry>& entries);

} // namespace tolvan::test
