// The whole-entry copy and comparison, byte by byte against the stored layout.
#include "settings/job_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace tolvan {
namespace {

template <class T> void FillPattern(T& value, uint8_t seed) {
    auto* bytes = reinterpret_cast<uint8_t*>(&value);
    for (std::size_t i = 0; i < sizeof value; ++i)
        bytes[i] = static_cast<uint8_t>(seed + i * 7);
}

const uint8_t* BytesOf(const JobRecord& record) {
    return reinterpret_cast<const uint8_t*>(&record);
}

TEST(JobRecord, CopyApEntryFillsOffsets20To1133AndLeavesTheHeader) {
    auto record = std::make_unique<JobRecord>();
    auto entry = std::make_unique<ApEntry>();
    FillPattern(*record, 0x11);
    FillPattern(*entry, 0x80);
    const auto before = std::make_unique<JobRecord>(*record);

    CopyApEntry(*record, *entry);

    const auto* source = reinterpret_cast<const uint8_t*>(entry.get());
    for (std::size_t i = 0; i < kJobRecordSize; ++i) {
        if (i < kApEntryOffset) {
            ASSERT_EQ(BytesOf(*record)[i], BytesOf(*before)[i]) << "header byte " << i;
        } else {
            ASSERT_EQ(BytesOf(*record)[i], source[i - kApEntryOffset]) << "record byte " << i;
        }
    }
    EXPECT_EQ(uint16_t{record->ap.wReserved}, uint16_t{entry->wReserved});
}

TEST(JobRecord, SameApEntryComparesOnlyTheEntry) {
    auto a = std::make_unique<JobRecord>();
    FillPattern(*a, 0x33);
    struct Case {
        std::size_t offset;
        bool same;
    };
    const Case cases[] = {
        {0, true},     {19, true}, // the header is not part of the entry
        {20, false},   {46, false},   {1117, false},
        {1130, false}, {1132, false}, {1133, false}, // wReserved counts, to the last byte of the record
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "byte " << c.offset << " changed");
        auto b = std::make_unique<JobRecord>(*a);
        reinterpret_cast<uint8_t*>(b.get())[c.offset] ^= 0x01;
        EXPECT_EQ(SameApEntry(*a, *b), c.same);
        EXPECT_EQ(SameApEntry(*b, *a), c.same);
    }
}

TEST(JobRecord, CopiedEntryComparesSameWhateverTheHeaders) {
    auto entry = std::make_unique<ApEntry>();
    FillPattern(*entry, 0x5A);
    auto a = std::make_unique<JobRecord>();
    auto b = std::make_unique<JobRecord>();
    FillPattern(*a, 0x01);
    FillPattern(*b, 0x02);
    EXPECT_FALSE(SameApEntry(*a, *b));
    CopyApEntry(*a, *entry);
    CopyApEntry(*b, *entry);
    EXPECT_TRUE(SameApEntry(*a, *b));
}

} // namespace
} // namespace tolvan
