#include "settings_content.h"

#include "settings/job_table.h"
#include "settings/settings_store.h"
#include "settings/stream_name.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tolvan::test {

SettingsContent SettingsContent::Read(const std::string& file) {
    SettingsContent content;
    CSettingsStore store;
    char model[kModelNameBytes] = {};
    EXPECT_EQ(store.Open(file.c_str(), StgMode::kRead), S_OK) << file;
    EXPECT_EQ(store.FirstModelName(model), S_OK) << file;
    store.Close();
    content.model = model;
    content.specInfo = ReadStream(file, {model, "SpecInfo"});
    for (const JobInfo& job : kJobs) {
        const std::string name = JobStreamName(job.mask);
        if (std::optional<tolvan::test::Bytes> stream = ReadStream(file, {model, "Setting", name.c_str()}))
            content.jobs[job.mask] = std::move(*stream);
    }
    content.proBtn = HasElement(file, {model, "Setting", "ProBtn"});
    return content;
}

void SettingsContent::Write(const std::string& file) const {
    CompoundFileBuilder builder(file);
    const char* m = model.c_str();
    // An empty model storage still has to exist when it holds nothing else.
    builder.Storage({m});
    if (specInfo)
        builder.Stream({m, "SpecInfo"}, *specInfo);
    for (const auto& [mask, stream] : jobs) {
        const std::string name = JobStreamName(mask);
        builder.Stream({m, "Setting", name.c_str()}, stream);
    }
    if (proBtn)
        builder.Storage({m, "Setting", "ProBtn"});
    builder.Finish();
}

tolvan::test::Bytes SettingsContent::Image() const {
    ScratchFolder folder;
    const std::string file = folder.File("content.dat");
    Write(file);
    return FileBytes(file);
}

JobRecord StoredRecord(const tolvan::test::Bytes& stream) {
    JobRecord record;
    std::memset(&record, 0, sizeof record);
    std::memcpy(&record, stream.data(), std::min(stream.size(), kJobRecordSize));
    return record;
}

void StoreRecord(tolvan::test::Bytes& stream, const JobRecord& record) {
    if (stream.size() < kJobRecordSize)
        stream.resize(kJobRecordSize);
    std::memcpy(stream.data(), &record, kJobRecordSize);
}

} // namespace tolvan::test
