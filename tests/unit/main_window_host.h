// The program's own start-up path on a driver installation laid out in a scratch folder: an application
// object whose message boxes are recorded and answered, the main window created modeless (so that the test
// goes on while it exists), and a watchdog that turns a hang into a failure with a clear message.
#pragma once

#include "compound_file.h"

#include "app/tolvan_app.h"
#include "mainwnd/main_window.h"

#include <memory>
#include <string>
#include <vector>

namespace tolvan::test {

// The driver folder and the per-user folder as the driver's installer and a first start leave them, copied
// from the built driver package; the per-user folder holds no settings file yet.
class Installation {
public:
    Installation();
    const std::string& DriverFolder() const { return m_driver; }
    const std::string& UserFolder() const { return m_user; }
    std::string SettingsFile() const { return m_user + "\\Tolvan.dat"; }
    std::string TemplateFile() const { return m_driver + "\\Tolvan.dat"; }
    SystemFacts Facts() const;
    // The per-user folder's file names, sorted, so that a test sees every backup the program made.
    std::vector<std::string> UserFiles() const;

private:
    ScratchFolder m_scratch;
    std::string m_windows = m_scratch.File("Windows");
    std::string m_driver = m_windows + "\\Twain_32\\ZezoRiz6\\Tolvan";
    std::string m_appData = m_scratch.File("AppData");
    std::string m_user = m_appData + "\\Kelto\\Tolvan";
};

// The application object with its driver folder given rather than read from the registry, so that tests never
// touch the driver's registry key.
class CRecordingApp : public CTolvanApp {
public:
    explicit CRecordingApp(const Installation& installation);
    std::vector<std::string> messages;
    int ShowMessage(HWND, const char* text, UINT) override {
        messages.emplace_back(text);
        return IDOK;
    }
};

// The main window as start-up creates it, but modeless: created, its tabs built from the settings file, and
// then left to the test until it is destroyed.
class MainWindowRun {
public:
    explicit MainWindowRun(CRecordingApp& app);
    ~MainWindowRun();
    MainWindowRun(const MainWindowRun&) = delete;
    MainWindowRun& operator=(const MainWindowRun&) = delete;

    // The window exists and shows itself: its tabs were built.
    bool Shown() const;
    const CJobTabs& Tabs() const { return m_window.Tabs(); }
    HWND Window() const { return m_window.Handle(); }

private:
    CMainWindow m_window;
};

// How long a start-up on a settings file may take before the watchdog calls it a hang: far beyond any start-up,
// even on a loaded machine, so that only a hang reaches it.
inline constexpr unsigned kStartUpWatchdogSeconds = 120;

// Ends the whole test process with a message on standard error when it is still alive after the given time:
// a settings file that makes the program hang then fails its own test at once, by name, instead of running
// into CTest's timeout. Each damaged file is a test of its own, so no other case is lost with it. A crash
// while it watches is reported the same way rather than left to Wine's error dialog.
class Watchdog {
public:
    Watchdog(std::string what, unsigned seconds);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    static DWORD WINAPI Run(void* self);
    std::string m_what;
    unsigned m_seconds;
    HANDLE m_done = nullptr;
    HANDLE m_thread = nullptr;
};

} // namespace tolvan::test
