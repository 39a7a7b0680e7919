#include "settings/record_fields.h"

#include "settings/fixed_string.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace tolvan {

namespace {

#define TOLVAN_FIELD(member, kind)                                                                                     \
    RecordField {                                                                                                      \
#member, static_cast < uint16_t>(offsetof(JobRecord, member)),                                                 \
            static_cast < uint16_t>(sizeof(JobRecord::member)), kind                                                   \
    }
#define TOLVAN_AP_FIELD(member, kind)                                                                                  \
    RecordField {                                                                                                      \
#member, static_cast < uint16_t>(kApEntryOffset + offsetof(ApEntry, member)),                                  \
            static_cast < uint16_t>(sizeof(ApEntry::member)), kind                                                     \
    }

const RecordField kFields[] = {
    TOLVAN_FIELD(abHeader, FieldKind::kBytes),         TOLVAN_FIELD(bColorModes, FieldKind::kU8),
    TOLVAN_FIELD(bReserved, FieldKind::kU8),           TOLVAN_FIELD(wColorMode, FieldKind::kU16),
    TOLVAN_FIELD(wDefColorMode, FieldKind::kU16),      TOLVAN_FIELD(wResolution, FieldKind::kU16),
    TOLVAN_FIELD(wDefResolution, FieldKind::kU16),     TOLVAN_FIELD(dwStored, FieldKind::kU32),
    TOLVAN_AP_FIELD(wApSize, FieldKind::kU16),         TOLVAN_AP_FIELD(dwApCategory, FieldKind::kU32),
    TOLVAN_AP_FIELD(dwJobMask, FieldKind::kU32),       TOLVAN_AP_FIELD(dwApOptions, FieldKind::kU32),
    TOLVAN_AP_FIELD(dwFormats, FieldKind::kU32),       TOLVAN_AP_FIELD(dwFormat, FieldKind::kU32),
    TOLVAN_AP_FIELD(wQuality, FieldKind::kU16),        TOLVAN_AP_FIELD(wApId, FieldKind::kU16),
    TOLVAN_AP_FIELD(szApName, FieldKind::kString),     TOLVAN_AP_FIELD(szExeName, FieldKind::kString),
    TOLVAN_AP_FIELD(szExeDir, FieldKind::kString),     TOLVAN_AP_FIELD(szFolder, FieldKind::kString),
    TOLVAN_AP_FIELD(szFilePrefix, FieldKind::kString), TOLVAN_AP_FIELD(szExt, FieldKind::kString),
    TOLVAN_AP_FIELD(dwExtraLen, FieldKind::kU32),      TOLVAN_AP_FIELD(pExtraLow, FieldKind::kU16),
    TOLVAN_AP_FIELD(wReserved, FieldKind::kU16),
};

#undef TOLVAN_FIELD
#undef TOLVAN_AP_FIELD

uint8_t* At(JobRecord& record, const RecordField& field) {
    return reinterpret_cast<uint8_t*>(&record) + field.offset;
}

const uint8_t* At(const JobRecord& record, const RecordField& field) {
    return reinterpret_cast<const uint8_t*>(&record) + field.offset;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::span<const RecordField> RecordFields() {
    return kFields;
}

const RecordField* FindRecordField(std::string_view name) {
    for (const RecordField& field : kFields)
        if (field.name == name)
            return &field;
    return nullptr;
}

std::optional<uint32_t> ParseNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    uint32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::string HexText(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(2 * bytes.size());
    for (uint8_t byte : bytes) {
        out += kDigits[byte >> 4];
        out += kDigits[byte & 0xF];
    }
    return out;
}

bool ParseHexText(std::string_view text, std::vector<uint8_t>& out) {
    out.clear();
    if (text.size() % 2)
        return false;
    out.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        const int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        out.push_back(static_cast<uint8_t>(hi * 16 + lo));
    }
    return true;
}

bool SetRecordField(JobRecord& record, const RecordField& field, std::string_view text) {
    uint8_t* p = At(record, field);
    switch (field.kind) {
    case FieldKind::kString:
        // An embedded zero would end the string early and leave bytes behind it.
        if (text.size() >= field.width || text.find('\0') != std::string_view::npos)
            return false;
        return WriteField(reinterpret_cast<char*>(p), field.width, text);
    case FieldKind::kBytes: {
        std::vector<uint8_t> bytes;
        if (!ParseHexText(text, bytes) || bytes.size() != field.width)
            return false;
        std::memcpy(p, bytes.data(), field.width);
        return true;
    }
    default: {
        const std::optional<uint32_t> value = ParseNumber(text);
        if (!value || (field.width < 4 && *value >> (8 * field.width) != 0))
            return false;
        std::memcpy(p, &*value, field.width); // little-endian: the low bytes come first
        return true;
    }
    }
}

std::string FormatRecordField(const JobRecord& record, const RecordField& field) {
    const uint8_t* p = At(record, field);
    switch (field.kind) {
    case FieldKind::kString:
        return std::string(ReadField(reinterpret_cast<const char*>(p), field.width));
    case FieldKind::kBytes:
        return HexText({p, field.width});
    default: {
        uint32_t value = 0;
        std::memcpy(&value, p, field.width);
        char text[16];
        std::snprintf(text, sizeof text, field.kind == FieldKind::kU8 || field.width == 2 ? "%u" : "0x%x", value);
        return text;
    }
    }
}

} // namespace tolvan
