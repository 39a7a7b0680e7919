// The application object: start-up, installing the per-user application list, and shut-down.
#pragma once

#include "app/app_services.h"

namespace tolvan {

// The process exit code: how the program ended. Anything but a main window that was shown and then closed is a
// failure, so that a caller (a script, an installer) never takes a program that could not start for a run.
enum ExitCode : int {
    kExitClosed = 0,            // the main window was shown and then closed
    kExitNoApplicationList = 1, // the application list could not be installed (message 1022)
    kExitNoMainWindow = 2,      // the main window could not be created, for instance without a display
    kExitMainWindowGaveUp = 3,  // the main window ended before it was shown: its tabs could not be built
};

class CTolvanApp : public CAppServices {
public:
    explicit CTolvanApp(SystemFacts facts) : CAppServices(std::move(facts)) {}

    // Start-up, then the main window; returns when the program is to end.
    void InitInstance();
    // Shut-down; returns the process exit code.
    int ExitInstance();

    // Makes the per-user application list current through the application-info module, installing the
    // driver's catalogue first when the module rejects the user's. Returns false when that is impossible.
    bool InstallApplicationList();

protected:
    // Runs the main window modally; returns how it ended.
    virtual ExitCode RunMainWindow();
    bool CreateSharedFont();
    // Says why start-up ended without a window: in a message box where one can be shown, and on standard error
    // where the program has one (a script that started it).
    void ReportStartFailure(const char* text);

private:
    ExitCode m_exitCode = kExitClosed;
};

} // namespace tolvan
