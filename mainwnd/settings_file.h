// The one owner of the settings file while the main window runs. It opens the file, reads the model and the
// records, performs the pages' first saves and Apply's write, and closes the file; a page only edits its copies
// and is handed the store as its IJobWriter for the length of one save. The file is open for one batch at a time:
// the building batch (ReadJobs ... FirstSave ... EndBuild) or one Write.
#pragma once

#include "pages/job_page.h"
#include "settings/settings_reader.h"

#include <vector>

namespace tolvan {

class CAppServices;

class CSettingsFile {
public:
    explicit CSettingsFile(CAppServices* app) : m_app(app) {}

    using Job = StoredJob;

    // Opens the building batch and reads the model name, the job set and the record of every offered job, in tab
    // order, before any page exists: a file that fails here has not been written to. A file that opens but cannot
    // be read that far is replaced by the driver's template (kept as a backup first), once. False, with nothing
    // left open, on failure.
    bool ReadJobs(std::vector<Job>& jobs);
    // Within the building batch: the page's first save, when its set-up asked for one.
    void FirstSave(CJobPage& page);
    // Ends the building batch. Should its commit fail, the file keeps its earlier records, which still say they
    // were never stored, and the next start saves them again: nothing the user set is lost.
    void EndBuild();

    // Apply: opens the file and the model for writing, lets the page save its working copy under its job and
    // commits. On failure the file stays as it was and the page's edits stay unapplied.
    HRESULT Write(CJobPage& page);

    const char* ModelName() const { return m_settings.modelName; }

private:
    HRESULT ReadModel(std::vector<Job>& jobs);
    CSettingsStore* Store() const;

    CAppServices* m_app;
    StoredSettings m_settings;
};

} // namespace tolvan
