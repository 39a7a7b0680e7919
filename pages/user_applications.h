// The programs a user adds to the destination applications, and their removal. Both change the per-user catalogue
// "ApInfo.dat" through the application-info module and then let the module search again, so that the installed
// list "InApInfo.dat" that the pages read agrees with it. The module is loaded for the one change only.
#pragma once

#include "settings/job_record.h"

#include <windows.h>

#include <string_view>

namespace tolvan {

class CAppServices;

// The entry of a program the user picked by its full path: a destination application with id 4200, the seven
// image formats, BMP first, and the file name (without its folder) as both its name and its program; the folder
// keeps its trailing backslash. False, with entry unchanged, when the path names no file in a folder, or the file
// name or the folder does not fit its field.
bool MakeUserApplication(std::string_view path, ApEntry& entry);

// Whether the machine lets the program be added: the key of string 1107 under HKEY_LOCAL_MACHINE has a subkey
// named like the program's file, ASCII case aside. False when the key is missing.
bool IsPermittedProgram(std::string_view exeName);

// Adds the entry to the per-user catalogue. A catalogue the module cannot open is replaced by the driver's, the
// user's file kept as a backup first. Succeeds only when the catalogue on disk holds the entry.
HRESULT AddUserApplication(CAppServices& app, const ApEntry& entry);

// Removes the destination applications of that name from the per-user catalogue. Succeeds only when the
// catalogue on disk no longer holds them.
HRESULT DeleteUserApplication(CAppServices& app, std::string_view name);

} // namespace tolvan
