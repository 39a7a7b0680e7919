// The record-field text functions on arbitrary records and texts. An input is
//   byte 0        which field (modulo the number of fields)
//   bytes 1, 2    the text's length, little-endian (cut to what the input holds)
//   then          the text, and after it the record's bytes (zero-padded or cut to 1134)
// Setting a field either changes that field alone or nothing; formatting any record gives a text that sets
// the same field back.
#include "settings/record_fields.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

using namespace tolvan;

namespace {

void Require(bool condition, const char* what, std::string_view field) {
    if (!condition) {
        std::fprintf(stderr, "broken promise for %.*s: %s\n", static_cast<int>(field.size()), field.data(), what);
        std::abort();
    }
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

const uint8_t* Bytes(const JobRecord& record) {
    return reinterpret_cast<const uint8_t*>(&record);
}

bool SameOutside(const JobRecord& a, const JobRecord& b, const RecordField& field) {
    return std::memcmp(Bytes(a), Bytes(b), field.offset) == 0 &&
           std::memcmp(Bytes(a) + field.offset + field.width, Bytes(b) + field.offset + field.width,
                       kJobRecordSize - field.offset - field.width) == 0;
}

bool SameInside(const JobRecord& a, const JobRecord& b, const RecordField& field) {
    return std::memcmp(Bytes(a) + field.offset, Bytes(b) + field.offset, field.width) == 0;
}

// What the set promises, judged from the text alone.
bool ShouldAccept(const RecordField& field, std::string_view text) {
    switch (field.kind) {
    case FieldKind::kString:
        return text.size() < field.width && text.find('\0') == std::string_view::npos;
    case FieldKind::kBytes:
        return text.size() == 2u * field.width && std::all_of(text.begin(), text.end(), IsHexDigit);
    default: {
        const std::optional<uint32_t> value = ParseNumber(text);
        return value && (field.width == 4 || *value < (1u << (8 * field.width)));
    }
    }
}

void CheckFormatSetsBack(const JobRecord& record, const RecordField& field) {
    const std::string text = FormatRecordField(record, field);
    auto copy = std::make_unique<JobRecord>();
    const bool accepted = SetRecordField(*copy, field, text);
    if (field.kind == FieldKind::kString) {
        Require(text.size() <= field.width, "a string never reaches past its field", field.name);
        Require(text.find('\0') == std::string::npos, "a string ends at its terminator", field.name);
        Require(accepted == (text.size() < field.width), "a terminated string sets back", field.name);
        if (accepted)
            Require(FormatRecordField(*copy, field) == text, "a string sets back unchanged", field.name);
        return;
    }
    Require(accepted, "a formatted number or byte string sets back", field.name);
    Require(SameInside(*copy, record, field), "setting the formatted text restores the bytes", field.name);
}

void CheckSet(const JobRecord& record, const RecordField& field, std::string_view text) {
    auto changed = std::make_unique<JobRecord>(record);
    const bool accepted = SetRecordField(*changed, field, text);
    Require(accepted == ShouldAccept(field, text), "accepts exactly what fits", field.name);
    Require(SameOutside(*changed, record, field), "only the field's bytes change", field.name);
    if (!accepted) {
        Require(SameInside(*changed, record, field), "a refused text leaves the field", field.name);
        return;
    }
    const std::string formatted = FormatRecordField(*changed, field);
    switch (field.kind) {
    case FieldKind::kString:
        Require(formatted == text.substr(0, text.find('\0')), "a string reads back as set", field.name);
        break;
    case FieldKind::kBytes:
        Require(formatted == Lower(text), "bytes read back as set", field.name);
        break;
    default:
        Require(ParseNumber(formatted) == ParseNumber(text), "a number reads back as set", field.name);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    const auto fields = RecordFields();
    const RecordField& field = fields[data[0] % fields.size()];
    const std::size_t textSize = std::min<std::size_t>(data[1] | (data[2] << 8), size - 3);
    const std::string_view text(reinterpret_cast<const char*>(data + 3), textSize);
    const uint8_t* rest = data + 3 + textSize;
    const std::size_t restSize = size - 3 - textSize;

    auto record = std::make_unique<JobRecord>();
    std::memcpy(record.get(), rest, std::min(restSize, kJobRecordSize));

    CheckSet(*record, field, text);
    for (const RecordField& each : fields)
        CheckFormatSetsBack(*record, each);
    return 0;
}
