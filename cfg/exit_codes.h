// How tolvancfg ended, as its exit code; the README lists them for scripts.
#pragma once

namespace tolvan {

enum CfgExit : int {
    kCfgOk = 0,
    kCfgUsage = 1,       // the command line names no command, or a command with the wrong arguments
    kCfgNoSettings = 2,  // no per-user settings file (show, export, check), or neither it nor the driver's template
                         // can be opened (import, set)
    kCfgInUse = 3,       // another program, such as Tolvan.exe, has the settings file open
    kCfgDamaged = 4,     // the settings file fails its structure check or lacks its model, job set or a record
    kCfgInvalid = 5,     // values outside what the pages allow: in the import file, in set's value, or (check) stored
    kCfgWriteFailed = 6, // the write batch failed; the settings file keeps its earlier bytes
    kCfgFileError = 7,   // the import file cannot be read, or the export file cannot be written
};

} // namespace tolvan
