// The application object: start-up, installing the per-user application list, and shut-down.
#pragma once

#include "app/app_services.h"

namespace tolvan {

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
    virtual void RunMainWindow();
    bool CreateSharedFont();
};

} // namespace tolvan
