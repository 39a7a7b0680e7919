// The DUzar page on a hidden host over an installed-applications list that each test writes: which entry is
// listed and what of it the record takes, hints, the inert page without the program, the format list under the
// scan modes, and restoring defaults.
#include "mail_programs.h"
#include "page_host.h"

#include "driver/apinfo/ap_category.h"
#include "pages/application_list.h"
#include "pages/duzar_page.h"
#include "pages/page_messages.h"
#include "res/resource.h"
#include "settings/fixed_string.h"
#include "settings/job_table.h"
#include "ui/controls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace tolvan::test {
namespace {

constexpr uint16_t kDUzarId = 4160;
constexpr uint32_t kDUzarCategory = apinfo::Category::kDUzar;

using Texts = std::vector<std::string>;

using CCountingDUzarPage = CCountingSaves<CDUzarPage>;

ApEntry DUzarEntry(const char* name, const char* exe) {
    ApEntry e{};
    e.wApSize = kApEntrySize;
    e.dwApCategory = kDUzarCategory;
    e.dwJobMask = JobMask::kDUzar;
    e.dwApOptions = 0x3;
    e.dwFormats = 0x29; // BMP, JPG, PNG
    e.dwFormat = 0x20;
    e.wApId = kDUzarId;
    WriteField(e.szApName, name);
    WriteField(e.szExeName, exe);
    WriteField(e.szExeDir, "C:\\Program Files\\DUzar\\");
    WriteField(e.szFolder, "entry folder"); // only a whole-entry copy would bring it
    WriteField(e.szExt, ".PNG");
    return e;
}

// The job's record as the driver's template holds it: BMP and JPG offered, JPG chosen, no program yet.
JobRecord DUzarRecord() {
    JobRecord r = MakeRecord(JobMask::kDUzar);
    r.ap.dwApCategory = kDUzarCategory;
    r.ap.dwFormats = 0x9;
    r.ap.dwFormat = 0x8;
    WriteField(r.ap.szExt, ".JPG");
    return r;
}

// The record once it names the listed program and the formats it opens.
JobRecord RecordWithProgram() {
    JobRecord r = DUzarRecord();
    TakeProgram(r, DUzarEntry("DUzar", "DUzar.exe"));
    return r;
}

class DUzarPageTest : public testing::Test {
protected:
    ScratchFolder scratch;
    TestServices services{scratch};
    PageHost host;
    std::unique_ptr<CCountingDUzarPage> page;

    void SetUp() override {
        ApEntry elsewhere = DUzarEntry("DUzar mail", "mail.exe"); // the id, but in another category
        elsewhere.dwApCategory = apinfo::Category::kMail;
        ApEntry viewer = DUzarEntry("Viewer", "viewer.exe"); // the category, but another program
        viewer.wApId = kDUzarId + 1;
        InstallApplications(
            services, {elsewhere, viewer, DUzarEntry("DUzar", "DUzar.exe"), DUzarEntry("DUzar again", "again.exe")});
    }

    void Open(const JobRecord& record) {
        page.reset();
        host.Clear();
        WriteRecords(services.SettingsFile(), JobMask::kDUzar, {record});
        page = std::make_unique<CCountingDUzarPage>(&services);
        ASSERT_TRUE(OpenPage(*page, services, host));
    }

    Texts Items(int id) const {
        ComboBox list(page->Item(id));
        Texts texts;
        for (int i = 0; i < list.GetCount(); ++i) {
            char text[260] = {};
            list.GetLBText(i, text);
            texts.emplace_back(text);
        }
        return texts;
    }
    std::string Chosen(int id) const {
        ComboBox list(page->Item(id));
        const int index = list.GetCurSel();
        if (index < 0)
            return "<none>";
        char text[260] = {};
        list.GetLBText(index, text);
        return text;
    }
    void Choose(int id, const char* text) {
        ComboBox list(page->Item(id));
        const int index = list.FindStringExact(-1, text);
        ASSERT_GE(index, 0) << text;
        list.SetCurSel(index);
        SendCommand(*page, id, CBN_SELCHANGE);
    }
    bool ChooseMode(UINT text) { return ChooseScanMode(*page, StringText(text).c_str()); }
    void RestoreDefaults() { page->Send(kRestoreDefaults); }
    const JobRecord& Working() const { return page->Working(); }
    std::string Ext() const { return std::string(ReadField(page->Working().ap.szExt)); }
};

TEST_F(DUzarPageTest, ListsTheFirstEntryOfTheProgramAndTakesItsProgramFields) {
    JobRecord record = DUzarRecord();
    WriteField(record.ap.szApName, "Old viewer");
    WriteField(record.ap.szExeName, "old.exe");
    Open(record);
    EXPECT_EQ(Items(IDC_DUZAR_APPLICATION_LIST), (Texts{"DUzar"}));
    EXPECT_EQ(page->ApplicationCount(), 1);
    EXPECT_FALSE(page->IsUnavailable());
    EXPECT_EQ(Chosen(IDC_DUZAR_APPLICATION_LIST), "DUzar");
    EXPECT_EQ(uint16_t{Working().ap.wApId}, kDUzarId);
    EXPECT_EQ(ReadField(Working().ap.szApName), "DUzar");
    EXPECT_EQ(ReadField(Working().ap.szExeName), "DUzar.exe");
    EXPECT_EQ(ReadField(Working().ap.szExeDir), "C:\\Program Files\\DUzar\\");
    EXPECT_EQ(uint32_t{Working().ap.dwApOptions}, 0x3u);
    EXPECT_EQ(ReadField(Working().ap.szFolder), "");
    // The program's formats, and the record's own choice among them.
    EXPECT_EQ(Items(IDC_FORMAT_LIST), (Texts{"BMP", "JPG", "PNG"}));
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "JPG");
    // Switched without a word: the page is changed, yet the main window hears of it only later.
    EXPECT_TRUE(page->IsDirty());
    EXPECT_TRUE(host.changed.empty());
    EXPECT_EQ(page->saves, 0);
    ChooseMode(IDS_SCAN_MODE_COLOR);
    EXPECT_TRUE(host.changed.empty());

    // Never stored: the switched record is written once and the page ends clean.
    record.dwStored = 0;
    Open(record);
    EXPECT_EQ(page->saves, 1);
    EXPECT_FALSE(page->IsDirty());
    EXPECT_TRUE(SameBytes(StoredRecord(services.SettingsFile(), JobMask::kDUzar), Working()));

    // Choosing the program the record already names changes nothing.
    Choose(IDC_DUZAR_APPLICATION_LIST, "DUzar");
    EXPECT_TRUE(host.changed.empty());
    EXPECT_FALSE(page->IsDirty());

    PointAt(*page, IDC_DUZAR_APPLICATION_LIST);
    PointAt(*page, IDC_FORMAT_LIST);
    PointAt(*page, 0);
    PointAt(*page, IDC_RESOLUTION_CAPTION);
    EXPECT_EQ(host.hints,
              (std::vector<WPARAM>{IDS_DUZAR_PAGE, IDC_FORMAT_LIST, IDS_DUZAR_PAGE, IDS_RESOLUTION_300_HINT}));
}

TEST_F(DUzarPageTest, WithoutTheProgramThePageIsInert) {
    InstallApplications(services, InstalledMailPrograms());
    JobRecord record = DUzarRecord();
    record.dwStored = 0;
    Open(record);
    EXPECT_TRUE(Items(IDC_DUZAR_APPLICATION_LIST).empty());
    EXPECT_TRUE(Items(IDC_FORMAT_LIST).empty());
    EXPECT_TRUE(page->IsUnavailable());
    EXPECT_EQ(page->saves, 0);
    PointAt(*page, IDC_DUZAR_APPLICATION_LIST);
    EXPECT_EQ(host.hints, (std::vector<WPARAM>{IDS_NO_DUZAR_APPLICATION}));

    // User changes edit the record but never mark the page changed; the format list stays empty.
    ASSERT_TRUE(ChooseMode(IDS_SCAN_MODE_BLACK_WHITE));
    MoveResolution(*page, 3);
    EXPECT_EQ(uint16_t{Working().wResolution}, 600);
    EXPECT_TRUE(Items(IDC_FORMAT_LIST).empty());
    RestoreDefaults();
    EXPECT_EQ(uint16_t{Working().wColorMode}, 2);
    EXPECT_EQ(Ext(), ".BMP");
    EXPECT_TRUE(Items(IDC_FORMAT_LIST).empty());
    EXPECT_TRUE(host.changed.empty());
    EXPECT_FALSE(page->IsDirty());

    // A list the module refuses: the page keeps only its scan settings and is not even marked unavailable.
    {
        char user[260];
        services.GetUserFolder(user);
        FILE* f = std::fopen((std::string(user) + "\\InApInfo.dat").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("not a list", f);
        std::fclose(f);
    }
    Open(record);
    EXPECT_TRUE(Items(IDC_DUZAR_APPLICATION_LIST).empty());
    EXPECT_TRUE(Items(IDC_FORMAT_LIST).empty());
    EXPECT_FALSE(page->IsUnavailable());
    EXPECT_EQ(page->saves, 0);
}

TEST_F(DUzarPageTest, BlackAndWhiteTakesJpgAwayAndFallsBackToBmp) {
    JobRecord record = RecordWithProgram();
    record.wColorMode = 4;
    Open(record);
    EXPECT_EQ(Items(IDC_FORMAT_LIST), (Texts{"BMP", "PNG"}));
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "BMP");
    EXPECT_EQ(uint32_t{Working().ap.dwFormat}, 0x1u);
    EXPECT_EQ(Ext(), ".BMP");
    EXPECT_FALSE(page->IsDirty());

    ASSERT_TRUE(ChooseMode(IDS_SCAN_MODE_GRAY));
    EXPECT_EQ(Items(IDC_FORMAT_LIST), (Texts{"BMP", "PNG", "JPG"})); // given back at the end
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));
    Choose(IDC_FORMAT_LIST, "JPG");
    EXPECT_EQ(uint32_t{Working().ap.dwFormat}, 0x8u);
    EXPECT_EQ(Ext(), ".JPG");
    ASSERT_TRUE(ChooseMode(IDS_SCAN_MODE_BLACK_WHITE));
    EXPECT_EQ(Items(IDC_FORMAT_LIST), (Texts{"BMP", "PNG"}));
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "BMP");
    EXPECT_EQ(Ext(), ".BMP");
    EXPECT_EQ(host.changed.size(), 1u); // already changed
}

TEST_F(DUzarPageTest, Defaults) {
    JobRecord record = RecordWithProgram();
    record.ap.dwFormat = 0x1;
    WriteField(record.ap.szExt, ".BMP");
    Open(record);
    const JobRecord before = Working();
    RestoreDefaults();
    EXPECT_TRUE(host.changed.empty());
    EXPECT_FALSE(page->IsDirty());
    EXPECT_EQ(std::memcmp(&before, &Working(), kJobRecordSize), 0);

    // Black and white with JPG chosen before: the default scan mode offers JPG again, the default format is BMP.
    record = RecordWithProgram();
    record.wColorMode = 4;
    WriteField(record.ap.szExeDir, "D:\\Elsewhere\\"); // named as listed, but in another folder
    Open(record);
    EXPECT_FALSE(page->IsDirty());
    RestoreDefaults();
    EXPECT_EQ(uint16_t{Working().wColorMode}, 2);
    EXPECT_EQ(ReadField(Working().ap.szExeDir), "C:\\Program Files\\DUzar\\");
    EXPECT_EQ(Items(IDC_FORMAT_LIST), (Texts{"BMP", "PNG", "JPG"}));
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "BMP");
    EXPECT_EQ(uint32_t{Working().ap.dwFormat}, 0x1u);
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));
}

} // namespace
} // namespace tolvan::test
