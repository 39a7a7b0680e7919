// tolvancfg: the button settings of the user who runs it, from the command line. It sits in the driver folder
// beside Tolvan.exe and finds the driver and per-user folders as the program does.
//   tolvancfg show [--json] | export FILE | import FILE [--dry-run] | set JOB FIELD VALUE | check
#include "cfg/commands.h"

#include <objbase.h>

#include <cstdio>
#include <cstring>
#include <string_view>

using namespace tolvan;

namespace {

int Usage() {
    std::fprintf(stderr, "usage: tolvancfg show [--json]\n"
                         "       tolvancfg export FILE\n"
                         "       tolvancfg import FILE [--dry-run]\n"
                         "       tolvancfg set JOB FIELD VALUE\n"
                         "       tolvancfg check\n");
    return kCfgUsage;
}

int Run(CConsoleApp& app, int argc, char** argv) {
    if (argc < 2)
        return Usage();
    const std::string_view command = argv[1];
    if (command == "show" && argc == 2)
        return RunShow(app, false);
    if (command == "show" && argc == 3 && std::string_view(argv[2]) == "--json")
        return RunShow(app, true);
    if (command == "export" && argc == 3)
        return RunExport(app, argv[2]);
    if (command == "import" && argc == 3)
        return RunImport(app, argv[2], false);
    if (command == "import" && argc == 4 && std::string_view(argv[3]) == "--dry-run")
        return RunImport(app, argv[2], true);
    if (command == "set" && argc == 5)
        return RunSet(app, argv[2], argv[3], argv[4]);
    if (command == "check" && argc == 2)
        return RunCheck(app);
    return Usage();
}

} // namespace

int main(int argc, char** argv) {
    if (FAILED(::CoInitialize(nullptr))) {
        std::fprintf(stderr, "tolvancfg: COM cannot be started\n");
        return kCfgNoSettings;
    }
    int code = kCfgOk;
    {
        CConsoleApp app(SystemFacts::FromSystem());
        code = Run(app, argc, argv);
    }
    ::CoUninitialize();
    std::fflush(stdout);
    return code;
}
