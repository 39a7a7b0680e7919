// The dialog in which the user picks a program to add to the destination applications: the system's Open dialog
// showing executable files.
#pragma once

#include <windows.h>

#include <string>

namespace tolvan {

enum class ProgramChoice { kCancelled, kChosen, kPathTooLong };

// Runs the dialog modally over owner. kChosen puts the full path into path; kPathTooLong: the user chose a file
// whose path is longer than any that can be kept.
ProgramChoice ChooseProgramFile(HWND owner, std::string& path);

} // namespace tolvan
