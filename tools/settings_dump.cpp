// Prints what the program reads from a settings file: the model, its job set and every
// offered job's record, field by field. Opens the file for reading only.
//   settings-dump FILE
#include "settings/job_table.h"
#include "settings/record_fields.h"
#include "settings/settings_store.h"

#include <cstdio>
#include <cstring>
#include <vector>

using namespace tolvan;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: settings-dump FILE\n");
        return 2;
    }
    CSettingsStore store;
    HRESULT hr = store.Open(argv[1], StgMode::kRead);
    char model[kModelNameBytes] = {};
    if (SUCCEEDED(hr))
        hr = store.FirstModelName(model);
    if (hr != S_OK) {
        std::printf("%s: no model storage (0x%08lx)\n", argv[1], static_cast<unsigned long>(hr));
        return 1;
    }
    uint8_t specInfo[kSpecInfoSize] = {};
    hr = store.ReadSpecInfo(model, specInfo);
    if (FAILED(hr)) {
        std::printf("model \"%s\": no capability block (0x%08lx)\n", model, static_cast<unsigned long>(hr));
        return 1;
    }
    uint32_t jobSet = 0;
    std::memcpy(&jobSet, specInfo + kSpecInfoJobSetOffset, sizeof jobSet);
    std::printf("model \"%s\", job set 0x%x\n", model, jobSet);

    int failures = 0;
    for (const JobInfo& job : kJobs) {
        if (!(jobSet & job.mask))
            continue;
        JobRecord record{};
        hr = store.ReadJob(model, job.mask, &record, nullptr);
        std::printf("\n[%s] %s", std::string(job.caption).c_str(), JobStreamName(job.mask).c_str());
        if (FAILED(hr)) {
            std::printf(": unreadable (0x%08lx)\n", static_cast<unsigned long>(hr));
            ++failures;
            continue;
        }
        std::printf("\n");
        for (const RecordField& field : RecordFields())
            std::printf("  %-15s %s\n", std::string(field.name).c_str(), FormatRecordField(record, field).c_str());
    }
    store.Close();
    return failures ? 1 : 0;
}
