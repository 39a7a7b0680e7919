// Before a per-user file that could not be used is replaced by the driver's copy, it is kept
// beside itself, so that the user's settings are never lost to a replacement.
#pragma once

namespace tolvan {

// Copies path to the first free name of "<path>.bak", "<path>.1.bak" ... "<path>.99.bak".
// Returns false when no copy was made (no free name, or the copy failed).
bool KeepBackup(const char* path);

} // namespace tolvan
