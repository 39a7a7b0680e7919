// Resource ids of the program: string ids and control ids are named after their role. The
// numbers are fixed; the page logic and the translations depend on them.
#pragma once

// Messages
#define IDS_SETTINGS_FILE_FAILED 141 // %s: the settings file name
#define IDS_START_FAILED 1022        // the application list could not be installed

// Registry key paths (under HKEY_CURRENT_USER / HKEY_LOCAL_MACHINE)
#define IDS_DRIVER_KEY 1106
