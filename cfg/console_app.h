// The companion's view of the application: the driver and per-user folders found exactly as the program's start-up
// finds them, the settings store with its structure check, exclusive sharing and write batches, and messages on
// standard error instead of message boxes.
#pragma once

#include "app/app_services.h"
#include "cfg/exit_codes.h"
#include "settings/settings_reader.h"

#include <string>

namespace tolvan {

class CConsoleApp : public CAppServices {
public:
    explicit CConsoleApp(SystemFacts facts);

    // Prints "tolvancfg: " and the text on standard error.
    static void Complain(const std::string& text);
    int ShowMessage(HWND owner, const char* text, UINT style) override;

    // Opens the user's settings file for reading and reads the model, job set and records. A missing file is read
    // from the driver's template when orTemplate is set (what an import would start from), and is an error
    // otherwise. Returns an exit code; kCfgOk leaves the file open for reading.
    int OpenForReading(StoredSettings& settings, bool orTemplate);
    // Opens the user's settings file for a write batch (the driver's template is copied in first for a user who has
    // none, as the program does) and reads it. Returns an exit code; kCfgOk leaves the batch open.
    int OpenForWriting(StoredSettings& settings);
    // Ends the batch: commits what was written; returns kCfgOk or kCfgWriteFailed.
    int Commit();
    // Ends the batch or the reading, leaving the file with the bytes it had.
    void Discard() { GetSettingsStore()->Discard(); }

    const std::string& SettingsPath() const { return m_path; }

private:
    int OpenAndRead(const char* path, DWORD mode, StoredSettings& settings);

    std::string m_path;
};

} // namespace tolvan
