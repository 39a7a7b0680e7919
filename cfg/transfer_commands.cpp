// export, import, set and check: the user's settings as text and back, always through the settings store's write
// batches, so that a refused or failed command leaves the file with the bytes it had.
#include "cfg/commands.h"

#include "cfg/settings_text.h"
#include "pages/record_rules.h"
#include "settings/compound_file_check.h"
#include "settings/job_table.h"

#include <cstdio>
#include <string>
#include <vector>

namespace tolvan {

namespace {

// An export of every job with the largest printer settings is a few hundred kilobytes.
constexpr long kMaxImportBytes = 4l * 1024 * 1024;
constexpr DWORD kMaxSettingsFileBytes = 64u * 1024 * 1024;

void Report(const std::string& where, const std::string& field, const std::string& message) {
    CConsoleApp::Complain(where + ": " + (field.empty() ? "" : field + ": ") + message);
}

bool ReadWholeFile(const char* path, std::string& out) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    out.clear();
    char chunk[4096];
    std::size_t n = 0;
    bool ok = true;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) != 0) {
        out.append(chunk, n);
        if (out.size() > static_cast<std::size_t>(kMaxImportBytes)) {
            ok = false;
            break;
        }
    }
    ok = ok && !std::ferror(file);
    std::fclose(file);
    return ok;
}

const StoredJob* FindStoredJob(const StoredSettings& settings, uint32_t mask) {
    for (const StoredJob& job : settings.jobs)
        if (job.mask == mask)
            return &job;
    return nullptr;
}

// Whether the text's jobs can go into these settings: the same model, and only jobs that it offers.
bool FitsSettings(const char* file, const SettingsText& text, const StoredSettings& settings) {
    bool fits = true;
    if (text.modelName != settings.modelName) {
        Report(std::string(file) + ":" + std::to_string(text.headerLine), "model",
               "the file holds settings of model \"" + text.modelName + "\", this user's are of model \"" +
                   settings.modelName + "\"");
        fits = false;
    }
    for (std::size_t i = 0; i < text.jobs.size(); ++i) {
        if (!FindStoredJob(settings, text.jobs[i].mask)) {
            Report(std::string(file) + ":" + std::to_string(text.jobLines[i]), "",
                   "model \"" + std::string(settings.modelName) + "\" does not offer the job " +
                       std::string(FindJob(text.jobs[i].mask)->caption));
            fits = false;
        }
    }
    return fits;
}

HRESULT WriteJobs(CConsoleApp& app, const char* modelName, const std::vector<StoredJob>& jobs) {
    HRESULT hr = S_OK;
    for (const StoredJob& job : jobs) {
        hr = app.GetSettingsStore()->WriteJob(modelName, job.mask, &job.record,
                                              job.extra.empty() ? nullptr : job.extra.data());
        if (FAILED(hr))
            break;
    }
    return hr;
}

} // namespace

int RunExport(CConsoleApp& app, const char* file) {
    StoredSettings settings;
    const int code = app.OpenForReading(settings, false);
    if (code != kCfgOk)
        return code;
    app.Discard();
    const std::string text = WriteSettingsText(settings.modelName, settings.jobs);
    std::FILE* out = std::fopen(file, "wb");
    bool written = out && std::fwrite(text.data(), 1, text.size(), out) == text.size();
    if (out && std::fclose(out) != 0)
        written = false;
    if (!written) {
        Report(file, "", "cannot be written");
        return kCfgFileError;
    }
    std::printf("exported %zu jobs of model %s to %s\n", settings.jobs.size(), settings.modelName, file);
    return kCfgOk;
}

int RunImport(CConsoleApp& app, const char* file, bool dryRun) {
    std::string content;
    if (!ReadWholeFile(file, content)) {
        Report(file, "", "cannot be read (or is larger than any settings export)");
        return kCfgFileError;
    }
    SettingsText text;
    std::vector<TextFault> faults;
    if (!ParseSettingsText(content, text, faults)) {
        for (const TextFault& fault : faults)
            Report(std::string(file) + ":" + std::to_string(fault.line), fault.field, fault.message);
        Report(file, "", "nothing was imported");
        return kCfgInvalid;
    }
    // Checked against the user's file, or the template a user without one starts from, before anything is made.
    StoredSettings settings;
    int code = app.OpenForReading(settings, true);
    if (code != kCfgOk)
        return code;
    app.Discard();
    if (!FitsSettings(file, text, settings)) {
        Report(file, "", "nothing was imported");
        return kCfgInvalid;
    }
    if (dryRun) {
        std::printf("%s: valid; %zu jobs would be written to %s\n", file, text.jobs.size(), app.SettingsPath().c_str());
        return kCfgOk;
    }
    code = app.OpenForWriting(settings);
    if (code != kCfgOk)
        return code;
    if (!FitsSettings(file, text, settings)) {
        app.Discard();
        return kCfgInvalid;
    }
    const HRESULT hr = WriteJobs(app, settings.modelName, text.jobs);
    if (FAILED(hr)) {
        app.Discard();
        Report(app.SettingsPath(), "",
               "writing a job failed (" + std::to_string(hr) + "); the file keeps its settings");
        return kCfgWriteFailed;
    }
    code = app.Commit();
    if (code == kCfgOk)
        std::printf("imported %zu jobs into %s\n", text.jobs.size(), app.SettingsPath().c_str());
    return code;
}

namespace {

// The job with one field changed, checked against the values its page allows. Returns an exit code.
int ChangedJob(const StoredSettings& settings, const JobInfo& info, const char* field, const char* value,
               StoredJob& job) {
    const std::string where(info.caption);
    const StoredJob* stored = FindStoredJob(settings, info.mask);
    if (!stored) {
        Report(where, "", "model \"" + std::string(settings.modelName) + "\" does not offer this job");
        return kCfgInvalid;
    }
    job = *stored;
    std::string message;
    if (!SetFieldFromText(job, field, value, message)) {
        Report(where, field, message);
        return kCfgInvalid;
    }
    if (std::string_view(field) == "extra")
        job.record.ap.dwExtraLen = static_cast<uint32_t>(job.extra.size());
    const std::vector<RecordFault> faults = CheckJobRecord(job.mask, job.record, job.extra);
    for (const RecordFault& fault : faults)
        Report(where, std::string(fault.field), fault.message);
    return faults.empty() ? kCfgOk : kCfgInvalid;
}

} // namespace

int RunSet(CConsoleApp& app, const char* jobName, const char* field, const char* value) {
    const JobInfo* info = FindJobByCaption(jobName);
    if (!info) {
        Report(jobName, "", "not a job (Email, Office, File, Copy, VAVizi, DUzar, RAvud)");
        return kCfgInvalid;
    }
    // Checked before anything is made: a user without a settings file keeps having none when the value is refused.
    StoredSettings settings;
    StoredJob job;
    int code = app.OpenForReading(settings, true);
    if (code != kCfgOk)
        return code;
    app.Discard();
    code = ChangedJob(settings, *info, field, value, job);
    if (code != kCfgOk)
        return code;
    code = app.OpenForWriting(settings);
    if (code != kCfgOk)
        return code;
    // The file may have changed in between: the change is made to what it holds now.
    code = ChangedJob(settings, *info, field, value, job);
    if (code != kCfgOk) {
        app.Discard();
        return code;
    }
    const HRESULT hr = WriteJobs(app, settings.modelName, {job});
    if (FAILED(hr)) {
        app.Discard();
        Report(app.SettingsPath(), "", "writing the job failed; the file keeps its settings");
        return kCfgWriteFailed;
    }
    code = app.Commit();
    if (code == kCfgOk)
        std::printf("%s %s = %s\n", std::string(info->caption).c_str(), field, value);
    return code;
}

int RunCheck(CConsoleApp& app) {
    const std::string& path = app.SettingsPath();
    UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
            Report(path, "", "is open in another program, most likely Tolvan while it reads or saves; try again");
            return kCfgInUse;
        }
        Report(path.empty() ? "the per-user settings file" : path, "", "cannot be opened: this user has none yet?");
        return kCfgNoSettings;
    }
    const DWORD size = ::GetFileSize(file.Get(), nullptr);
    if (size == INVALID_FILE_SIZE || size > kMaxSettingsFileBytes) {
        Report(path, "", "is damaged: far too large for a settings file");
        return kCfgDamaged;
    }
    std::vector<uint8_t> bytes(size);
    DWORD got = 0;
    if (size != 0 && (!::ReadFile(file.Get(), bytes.data(), size, &got, nullptr) || got != size)) {
        Report(path, "", "cannot be read");
        return kCfgNoSettings;
    }
    file.Reset();
    const CompoundFileCheck structure = CheckCompoundFile(bytes);
    if (!structure.Ok()) {
        Report(path, "",
               std::string("is damaged: ") + DescribeCompoundFileFault(structure.fault) + " (at " +
                   std::to_string(structure.where) + ")");
        return kCfgDamaged;
    }
    StoredSettings settings;
    const int code = app.OpenForReading(settings, false);
    if (code != kCfgOk)
        return code;
    app.Discard();
    bool sound = true;
    for (const StoredJob& job : settings.jobs) {
        for (const RecordFault& fault : CheckJobRecord(job.mask, job.record, job.extra)) {
            Report(path + ": " + std::string(FindJob(job.mask)->caption), std::string(fault.field), fault.message);
            sound = false;
        }
    }
    if (!sound)
        return kCfgInvalid;
    std::printf("%s: sound; model %s, %zu jobs\n", path.c_str(), settings.modelName, settings.jobs.size());
    return kCfgOk;
}

} // namespace tolvan
