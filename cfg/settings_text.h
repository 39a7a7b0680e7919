// The text form of a user's button settings that tolvancfg exports and imports: a header line with the format's
// version and the model, then one section per job that gives every field of its record by name and its blob as
// hex, then a closing line. Written so that a person can read and edit it and so that reading it back gives the
// stored bytes exactly. The README describes the format.
#pragma once

#include "settings/record_fields.h"
#include "settings/stored_job.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tolvan {

inline constexpr int kSettingsTextVersion = 1;

// A blob longer than this is no blob any job keeps: the most a device mode can say it holds (two 16-bit sizes).
inline constexpr std::size_t kMaxBlobBytes = 2 * 0xFFFF;

struct SettingsText {
    std::string modelName;
    int headerLine = 0; // the line that names the model
    std::vector<StoredJob> jobs;
    std::vector<int> jobLines; // where each job's section starts
};

// A fault of a text, for "FILE:LINE: field: message"; field may be empty.
struct TextFault {
    int line = 0;
    std::string field;
    std::string message;
};

std::string WriteSettingsText(std::string_view modelName, std::span<const StoredJob> jobs);

// Reads a text and checks every job's record against its page's values; false with every fault found.
bool ParseSettingsText(std::string_view text, SettingsText& out, std::vector<TextFault>& faults);

// One field's value as the text gives it; "extra" is the blob.
std::string FieldValueText(const StoredJob& job, const RecordField& field);
std::string BlobText(std::span<const uint8_t> blob);

// Sets one field of a job ("extra" sets the blob and dwExtraLen with it) from its text form. False with a message,
// the job unchanged, when the text is no value of that field.
bool SetFieldFromText(StoredJob& job, std::string_view field, std::string_view value, std::string& message);

} // namespace tolvan
