// Where each job's record lives: the stream name from the mask, and "Setting" or "ProBtn".
#include "settings/stream_name.h"

#include "settings/job_table.h"

#include <gtest/gtest.h>

namespace tolvan {
namespace {

TEST(StreamName, MaskInLowerCaseHexWithoutLeadingZeros) {
    struct Case {
        uint32_t mask;
        const char* name;
    };
    const Case cases[] = {
        {0x100, "TolClass100"},           {0x1, "TolClass1"},
        {0x2000, "TolClass2000"},         {0x01000000, "TolClass1000000"},
        {0xFF000000, "TolClassff000000"}, {0xFFFFFFFF, "TolClassffffffff"},
        {0xABCDEF, "TolClassabcdef"},     {0, "TolClass0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JobStreamName(c.mask), c.name) << std::hex << c.mask;
        // Every name must fit an element name, terminator included.
        EXPECT_LT(JobStreamName(c.mask).size(), kElementNameChars) << std::hex << c.mask;
    }
}

TEST(StreamName, ProBtnHoldsTopByteMasksExceptFF000000) {
    struct Case {
        uint32_t mask;
        bool proBtn;
    };
    const Case cases[] = {
        {0x01000000, true},  {0x80000000, true},  {0x02000000, true},  {0xFE000000, true},
        {0x01000100, true},  {0xFF000001, true},  {0xFF000000, false}, {0x00FFFFFF, false},
        {0x00000100, false}, {0x00800000, false}, {0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StoredInProBtn(c.mask), c.proBtn) << std::hex << c.mask;
}

TEST(StreamName, TheSevenJobsLiveInSetting) {
    for (const JobInfo& job : kJobs) {
        EXPECT_FALSE(StoredInProBtn(job.mask)) << job.caption;
        EXPECT_EQ(FindJob(job.mask), &job) << job.caption;
    }
}

} // namespace
} // namespace tolvan
