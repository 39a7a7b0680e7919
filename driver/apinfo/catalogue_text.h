// The readable source of the driver's catalogue "APInfo.dat" (driver/data/APInfo.txt): one
// [app] section per application, whose lines set entry fields by their record names, e.g.
//   [app]
//   wApId = 4111
//   dwApCategory = 0x200
//   szApName = Notepad
//   szExeName = notepad.exe
// Every entry gets wApSize 1114 and the "shipped" option; wApId, dwApCategory, szApName and a
// plain szExeName are required.
#pragma once

#include "settings/job_record.h"

#include <string>
#include <string_view>
#include <vector>

namespace tolvan::apinfo {

// Returns false with a message naming the line, and no entries, when the text is not a valid catalogue.
bool ParseCatalogueText(std::string_view text, std::vector<ApEntry>& out, std::string& error);

} // namespace tolvan::apinfo
