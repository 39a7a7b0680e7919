// The companion's commands; each returns its exit code (cfg/exit_codes.h).
#pragma once

#include "cfg/console_app.h"

namespace tolvan {

int RunShow(CConsoleApp& app, bool json);
int RunExport(CConsoleApp& app, const char* file);
int RunImport(CConsoleApp& app, const char* file, bool dryRun);
int RunSet(CConsoleApp& app, const char* job, const char* field, const char* value);
int RunCheck(CConsoleApp& app);

} // namespace tolvan
