// A record whose stored dwJobMask is not its own job's: the File page's first save (during tab building) and a
// later Apply write the File job's stream and no other, and the page's copies name the File job again.
#include "main_window_host.h"
#include "settings_content.h"

#include "res/resource.h"
#include "settings/fixed_string.h"
#include "settings/job_table.h"
#include "settings/stream_name.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>

namespace tolvan::test {
namespace {

class JobMaskTest : public testing::TestWithParam<uint32_t> {
protected:
    // Only the File job is offered; beside its stream lie another job's, which nothing may touch.
    void WriteFile(uint32_t storedMask, uint32_t stored) {
        SettingsContent content = SettingsContent::Read(installation.TemplateFile());
        JobRecord file = StoredRecord(content.jobs.at(JobMask::kFile));
        WriteField(file.ap.szFolder, installation.UserFolder() + "\\Scans\\");
        file.ap.dwJobMask = storedMask;
        file.dwStored = stored;
        content.jobs = {{JobMask::kFile, RecordBytes(file)}, {JobMask::kEmail, RecordBytes(PatternRecord(0x44))}};
        uint32_t jobSet = JobMask::kFile;
        std::memcpy(content.specInfo->data() + 6, &jobSet, sizeof jobSet);
        content.Write(installation.SettingsFile());
        before = SettingsContent::Read(installation.SettingsFile());
    }

    void ExpectOnlyTheFileJobWritten() const {
        const SettingsContent after = SettingsContent::Read(installation.SettingsFile());
        EXPECT_EQ(after.jobs.size(), 2u);
        EXPECT_EQ(after.jobs.at(JobMask::kEmail), before.jobs.at(JobMask::kEmail));
        for (const uint32_t mask : {0u, GetParam()}) {
            if (mask == JobMask::kFile || mask == JobMask::kEmail)
                continue;
            const std::string name = JobStreamName(mask);
            EXPECT_FALSE(HasElement(installation.SettingsFile(), {after.model.c_str(), "Setting", name.c_str()}))
                << name;
            EXPECT_FALSE(
                HasElement(installation.SettingsFile(), {after.model.c_str(), "Setting", "ProBtn", name.c_str()}))
                << name;
        }
        EXPECT_EQ(StoredRecord(after.jobs.at(JobMask::kFile)).ap.dwJobMask, JobMask::kFile);
    }

    Installation installation;
    SettingsContent before;
};

TEST_P(JobMaskTest, FirstSaveWritesTheFileJobAndCorrectsTheMask) {
    WriteFile(GetParam(), 0);
    Watchdog watchdog("the first save of a record naming another job", kStartUpWatchdogSeconds);
    CRecordingApp app(installation);
    MainWindowRun run(app);
    ASSERT_TRUE(run.Shown());
    const CJobPage* page = run.Tabs().Page(JobMask::kFile);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Working().ap.dwJobMask, JobMask::kFile);
    EXPECT_EQ(page->Saved().ap.dwJobMask, JobMask::kFile);
    EXPECT_EQ(page->Working().dwStored, 1u);
    EXPECT_FALSE(page->IsDirty());

    ExpectOnlyTheFileJobWritten();
    const SettingsContent after = SettingsContent::Read(installation.SettingsFile());
    EXPECT_EQ(after.jobs.at(JobMask::kFile), RecordBytes(page->Saved()));
}

TEST_P(JobMaskTest, ApplyWritesUnderThePagesOwnJob) {
    // Already stored once: no first save, and the stored mask stays as read until the page writes.
    WriteFile(GetParam(), 1);
    Watchdog watchdog("Apply of a record naming another job", kStartUpWatchdogSeconds);
    CRecordingApp app(installation);
    MainWindowRun run(app);
    ASSERT_TRUE(run.Shown());
    const CJobPage* page = run.Tabs().Page(JobMask::kFile);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(SettingsContent::Read(installation.SettingsFile()).jobs, before.jobs);

    // The user moves the resolution slider to 600 dpi and presses Apply.
    HWND slider = ::GetDlgItem(page->Handle(), IDC_RESOLUTION);
    ::SendMessageA(slider, TBM_SETPOS, TRUE, 3);
    ::SendMessageA(page->Handle(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 3), reinterpret_cast<LPARAM>(slider));
    ASSERT_TRUE(page->IsDirty());
    ::SendMessageA(run.Window(), WM_COMMAND, MAKEWPARAM(IDC_APPLY, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(run.Window(), IDC_APPLY)));
    EXPECT_FALSE(page->IsDirty());

    const SettingsContent after = SettingsContent::Read(installation.SettingsFile());
    EXPECT_EQ(StoredRecord(after.jobs.at(JobMask::kFile)).wResolution, 600);
    EXPECT_EQ(after.jobs.at(JobMask::kEmail), before.jobs.at(JobMask::kEmail));
    for (const uint32_t mask : {0u, GetParam()}) {
        if (mask == JobMask::kFile || mask == JobMask::kEmail)
            continue;
        const std::string name = JobStreamName(mask);
        EXPECT_FALSE(HasElement(installation.SettingsFile(), {after.model.c_str(), "Setting", name.c_str()})) << name;
    }
}

// No mask at all, another job's (whose stream is in the file), one kept in "ProBtn", the mask that stays in
// "Setting" although its top byte is set, and every bit.
INSTANTIATE_TEST_SUITE_P(, JobMaskTest, testing::Values(0u, 0x100u, 0x2u, 0x01000000u, 0xFF000000u, 0xFFFFFFFFu),
                         [](const testing::TestParamInfo<uint32_t>& info) {
                             char name[24];
                             std::snprintf(name, sizeof name, "StoredMask%x", info.param);
                             return std::string(name);
                         });

} // namespace
} // namespace tolvan::test
