// Record fields as text: the field table against the record layout, what a field accepts, and that formatting
// and setting again reproduces a record.
#include "settings/record_fields.h"

#include "settings/fixed_string.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace tolvan {
namespace {

const RecordField& Field(std::string_view name) {
    const RecordField* field = FindRecordField(name);
    if (!field)
        throw std::logic_error("no field " + std::string(name));
    return *field;
}

std::unique_ptr<JobRecord> PatternRecord(uint8_t seed) {
    auto record = std::make_unique<JobRecord>();
    auto* bytes = reinterpret_cast<uint8_t*>(record.get());
    for (std::size_t i = 0; i < kJobRecordSize; ++i)
        bytes[i] = static_cast<uint8_t>(seed + i * 13);
    return record;
}

std::vector<uint8_t> BytesOf(const JobRecord& record) {
    const auto* p = reinterpret_cast<const uint8_t*>(&record);
    return {p, p + kJobRecordSize};
}

TEST(RecordFields, TableCoversTheRecordExactlyOnce) {
    std::vector<RecordField> fields(RecordFields().begin(), RecordFields().end());
    std::sort(fields.begin(), fields.end(), [](const auto& a, const auto& b) { return a.offset < b.offset; });
    std::size_t next = 0;
    std::set<std::string_view> names;
    for (const RecordField& field : fields) {
        SCOPED_TRACE(std::string(field.name));
        EXPECT_EQ(field.offset, next) << "gap or overlap";
        next = field.offset + field.width;
        EXPECT_TRUE(names.insert(field.name).second) << "name used twice";
        EXPECT_EQ(FindRecordField(field.name)->offset, field.offset);
        switch (field.kind) {
        case FieldKind::kU8:
            EXPECT_EQ(field.width, 1);
            break;
        case FieldKind::kU16:
            EXPECT_EQ(field.width, 2);
            break;
        case FieldKind::kU32:
            EXPECT_EQ(field.width, 4);
            break;
        case FieldKind::kString:
        case FieldKind::kBytes:
            EXPECT_GT(field.width, 0);
            break;
        }
    }
    EXPECT_EQ(next, kJobRecordSize);
    EXPECT_EQ(FindRecordField(""), nullptr);
    EXPECT_EQ(FindRecordField("szapname"), nullptr);
    EXPECT_EQ(FindRecordField("szApName "), nullptr);
}

TEST(RecordFields, ParseNumber) {
    struct Case {
        std::string_view text;
        std::optional<uint32_t> value;
    };
    const Case cases[] = {
        {"0", 0u},
        {"300", 300u},
        {"010", 10u}, // decimal, never octal
        {"4294967295", 0xFFFFFFFFu},
        {"0x0", 0u},
        {"0x1b00", 0x1B00u},
        {"0X1B00", 0x1B00u},
        {"0xFFFFFFFF", 0xFFFFFFFFu},
        {"0x00000000000001", 1u},
        {"4294967296", std::nullopt},
        {"0x100000000", std::nullopt},
        {"", std::nullopt},
        {"0x", std::nullopt},
        {"x10", std::nullopt},
        {"0x0x1", std::nullopt},
        {"-1", std::nullopt},
        {"+1", std::nullopt},
        {"0x-1", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"12a", std::nullopt},
        {"0xg", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(RecordFields, SetAcceptsWhatFitsAndRejectsTheRestUnchanged) {
    const std::string apName259(259, 'n'), apName260(260, 'n');
    struct Case {
        std::string_view field;
        std::string_view text;
        bool accepted;
        std::string_view formatted; // when accepted
    };
    const Case cases[] = {
        {"bColorModes", "0", true, "0"},
        {"bColorModes", "255", true, "255"},
        {"bColorModes", "0xff", true, "255"},
        {"bColorModes", "256", false, ""},
        {"bColorModes", "0x100", false, ""},
        {"bColorModes", "-1", false, ""},
        {"bColorModes", "", false, ""},
        {"wResolution", "65535", true, "65535"},
        {"wResolution", "0xFFFF", true, "65535"},
        {"wResolution", "65536", false, ""},
        {"wResolution", "0x10000", false, ""},
        {"wResolution", "300dpi", false, ""},
        {"wReserved", "0x8000", true, "32768"},
        {"dwStored", "0", true, "0x0"},
        {"dwStored", "4294967295", true, "0xffffffff"},
        {"dwStored", "4294967296", false, ""},
        {"dwStored", "0x1ffffffff", false, ""},
        {"dwJobMask", "256", true, "0x100"},
        {"abHeader", "0102030405ff", true, "0102030405ff"},
        {"abHeader", "0A0b0C0d0E0f", true, "0a0b0c0d0e0f"},
        {"abHeader", "0102030405", false, ""},
        {"abHeader", "0102030405ff00", false, ""},
        {"abHeader", "0102030405fg", false, ""},
        {"abHeader", "01020304 5ff", false, ""},
        {"abHeader", "0x0102030405", false, ""},
        {"abHeader", "", false, ""},
        {"szExt", "", true, ""},
        {"szExt", ".JPEG12", true, ".JPEG12"},
        {"szExt", ".JPEG123", false, ""},
        {"szExeName", std::string_view(apName259).substr(0, 31), true, std::string_view(apName259).substr(0, 31)},
        {"szExeName", std::string_view(apName259).substr(0, 32), false, ""},
        {"szApName", apName259, true, apName259},
        {"szApName", apName260, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.field << " = \"" << c.text << '"');
        const RecordField& field = Field(c.field);
        auto record = PatternRecord(0x5C);
        const std::vector<uint8_t> before = BytesOf(*record);
        ASSERT_EQ(SetRecordField(*record, field, c.text), c.accepted);
        const std::vector<uint8_t> after = BytesOf(*record);
        if (!c.accepted) {
            EXPECT_EQ(after, before);
            continue;
        }
        EXPECT_EQ(FormatRecordField(*record, field), c.formatted);
        for (std::size_t i = 0; i < kJobRecordSize; ++i) {
            if (i < field.offset || i >= field.offset + field.width) {
                ASSERT_EQ(after[i], before[i]) << "byte " << i << " outside the field changed";
            }
        }
    }
}

TEST(RecordFields, NumbersAreStoredLittleEndianAtTheirOffsets) {
    auto record = std::make_unique<JobRecord>();
    ASSERT_TRUE(SetRecordField(*record, Field("dwJobMask"), "0x12345678"));
    ASSERT_TRUE(SetRecordField(*record, Field("wDefResolution"), "0xABCD"));
    ASSERT_TRUE(SetRecordField(*record, Field("bReserved"), "0x7F"));
    const std::vector<uint8_t> bytes = BytesOf(*record);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 26, bytes.begin() + 30),
              (std::vector<uint8_t>{0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 14, bytes.begin() + 16), (std::vector<uint8_t>{0xCD, 0xAB}));
    EXPECT_EQ(bytes[7], 0x7F);
    EXPECT_EQ(uint32_t{record->ap.dwJobMask}, 0x12345678u);
}

TEST(RecordFields, UnterminatedStringsFormatToTheirFieldWidth) {
    auto record = std::make_unique<JobRecord>();
    std::memset(static_cast<void*>(record.get()), 'Q', kJobRecordSize);
    for (const RecordField& field : RecordFields()) {
        if (field.kind != FieldKind::kString)
            continue;
        EXPECT_EQ(FormatRecordField(*record, field), std::string(field.width, 'Q')) << field.name;
        // Such a text is as long as the field and can only be refused when set again.
        auto copy = std::make_unique<JobRecord>(*record);
        EXPECT_FALSE(SetRecordField(*copy, field, FormatRecordField(*record, field))) << field.name;
    }
}

TEST(RecordFields, FormattingEveryFieldAndSettingItAgainRebuildsTheRecord) {
    // A dump turned back into a description must give the same bytes: strings terminated and zero-padded, as
    // the program writes them, every other byte arbitrary.
    auto original = PatternRecord(0xA7);
    const char* texts[] = {"Scanner application", "scan.exe", "C:\\Program Files\\Scan", "C:\\Scans", "Image", ".TIF"};
    std::size_t next = 0;
    for (const RecordField& field : RecordFields()) {
        if (field.kind == FieldKind::kString) {
            ASSERT_TRUE(WriteField(reinterpret_cast<char*>(original.get()) + field.offset, field.width,
                                   texts[next++ % std::size(texts)]));
        }
    }

    auto rebuilt = std::make_unique<JobRecord>();
    for (const RecordField& field : RecordFields())
        ASSERT_TRUE(SetRecordField(*rebuilt, field, FormatRecordField(*original, field))) << field.name;
    EXPECT_EQ(BytesOf(*rebuilt), BytesOf(*original));
}

} // namespace
} // namespace tolvan
