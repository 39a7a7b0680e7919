// A settings file's content element by element (model name, "SpecInfo", the job streams in "Setting"), read
// from a real file with ole32 and written back as a new one, so that a test can take the driver's template,
// change one thing and get a file that differs from it in that one thing only.
#pragma once

#include "compound_file.h"

#include "settings/job_record.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace tolvan::test {

struct SettingsContent {
    std::string model;
    std::optional<Bytes> specInfo;
    std::map<uint32_t, Bytes> jobs; // by job mask, each stream as stored
    bool proBtn = true;

    // The model and the streams of the seven jobs that a file holds.
    static SettingsContent Read(const std::string& file);
    // Writes a new file; without jobs and without "ProBtn" there is no "Setting" storage at all.
    void Write(const std::string& file) const;
    // The bytes of such a file.
    Bytes Image() const;
};

// The record at the start of a stored job stream; a short stream gives the rest as zero bytes.
JobRecord StoredRecord(const Bytes& stream);
// Puts record over the first 1134 bytes of the stream (making it that long when it is shorter), keeping
// whatever lies behind them.
void StoreRecord(Bytes& stream, const JobRecord& record);

} // namespace tolvan::test
