// The job record's fields by name, for tools that read or write records as text (the
// template description, the settings dump).
#pragma once

#include "settings/job_record.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tolvan {

enum class FieldKind : uint8_t { kU8, kU16, kU32, kString, kBytes };

struct RecordField {
    std::string_view name;
    uint16_t offset;
    uint16_t width;
    FieldKind kind;
};

std::span<const RecordField> RecordFields();
const RecordField* FindRecordField(std::string_view name);

// Sets a field from its text: numbers in decimal or 0x-hex, strings as they stand, bytes as hex pairs.
// Returns false, leaving the record unchanged, when the text does not fit the field.
bool SetRecordField(JobRecord& record, const RecordField& field, std::string_view text);
std::string FormatRecordField(const JobRecord& record, const RecordField& field);

std::optional<uint32_t> ParseNumber(std::string_view text);

// Bytes as pairs of hex digits, lower case; and back, false on an odd length or a character that is no hex digit.
std::string HexText(std::span<const uint8_t> bytes);
bool ParseHexText(std::string_view text, std::vector<uint8_t>& out);

} // namespace tolvan
