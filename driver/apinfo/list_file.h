// Reading and writing an application list file as a whole. Reads refuse files larger than any
// sound list before allocating; writes go to a sibling "<file>.new" that is flushed and then
// renamed over the file, so an interruption leaves the old list or the new one, never a torn one.
#pragma once

#include "settings/job_record.h"
#include "ui/unique_handle.h"

#include <string>
#include <vector>

namespace tolvan::apinfo {

// kFileDamaged or kFileVersionUnknown when the file is not a sound list; Win32 errors as HRESULTs.
HRESULT LoadListFile(const std::string& path, std::vector<ApEntry>& entries);
HRESULT ReadList(HANDLE file, std::vector<ApEntry>& entries);

HRESULT SaveListFile(const std::string& path, const std::vector<ApEntry>& entries);

// Opens a list file that is about to be changed, holding it against writers in other processes
// until the change is saved. Readers are still let in; the lock must be released before
// SaveListFile replaces the file.
HRESULT LockListFile(const std::string& path, UniqueFile& lock);

std::string SiblingTempPath(const std::string& path);

} // namespace tolvan::apinfo
