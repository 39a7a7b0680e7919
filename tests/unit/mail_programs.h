// The mail programs as the Email page finds them: APInfo.dll in the driver folder, the installed applications
// that the test writes to the user folder's "InApInfo.dat", and the mail clients of HKEY_LOCAL_MACHINE
// (mail_registry.h).
#pragma once

#include "app/app_services.h"
#include "settings/job_record.h"

#include <cstdint>
#include <vector>

namespace tolvan::test {

namespace MailId {
inline constexpr uint16_t kOutlookExpress = 4005;
inline constexpr uint16_t kOutlook = 4006;
inline constexpr uint16_t kWindowsMail = 4007;
} // namespace MailId

// A mail program's entry as the driver's catalogue describes it, with marks of its own in fields that only a
// whole-entry copy brings along (szFolder, wReserved).
ApEntry MailEntry(uint16_t id);

// The three mail programs, after an entry of another category that has a mail program's id and name.
std::vector<ApEntry> InstalledMailPrograms();

// Puts the built APInfo.dll into the services' driver folder and the entries into their user folder's
// "InApInfo.dat".
void InstallApplications(const CAppServices& services, const std::vector<ApEntry>& entries);

} // namespace tolvan::test
