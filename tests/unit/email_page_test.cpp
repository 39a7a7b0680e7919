// The Email page on a hidden host, with mail clients that each test registers under HKEY_LOCAL_MACHINE and an
// installed-applications list that it writes: which clients are listed, the first save, the format list with the
// JPEG quality, a change of client, restoring defaults, hints and colours. Controls are driven with their own
// messages and the notifications a user's choice sends.
#include "mail_programs.h"
#include "mail_registry.h"
#include "page_host.h"

#include "driver/apinfo/ap_category.h"
#include "pages/email_page.h"
#include "pages/page_messages.h"
#include "res/resource.h"
#include "settings/fixed_string.h"
#include "settings/job_table.h"
#include "ui/controls.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace tolvan::test {
namespace {

constexpr int kQualityGroup[] = {IDC_JPEG_QUALITY_LABEL, IDC_JPEG_QUALITY, IDC_JPEG_QUALITY_VALUE,
                                 IDC_JPEG_QUALITY_UNIT};

using Texts = std::vector<std::string>;

using CCountingEmailPage = CCountingSaves<CEmailPage>;

Bytes Bytes20To1133(const JobRecord& record) {
    const auto* p = reinterpret_cast<const uint8_t*>(&record) + kApEntryOffset;
    return Bytes(p, p + kApEntrySize);
}

Bytes EntryBytes(const ApEntry& entry) {
    const auto* p = reinterpret_cast<const uint8_t*>(&entry);
    return Bytes(p, p + kApEntrySize);
}

// The Email job's record as the driver's template holds it, stored before and with no client yet.
JobRecord EmailRecord() {
    JobRecord r = MakeRecord(JobMask::kEmail);
    r.ap.dwApCategory = apinfo::Category::kMail;
    r.ap.dwFormats = 0x409;
    r.ap.dwFormat = 0x8;
    r.ap.wQuality = 95;
    WriteField(r.ap.szExt, ".JPG");
    return r;
}

// The record holding the client of id, as a whole-entry copy leaves it.
JobRecord EmailRecordWith(uint16_t id) {
    JobRecord r = EmailRecord();
    CopyApEntry(r, MailEntry(id));
    return r;
}

class EmailPageTest : public testing::Test {
protected:
    ScratchFolder scratch;
    TestServices services{scratch};
    MailRegistry registry;
    PageHost host;
    std::unique_ptr<CCountingEmailPage> page;

    void SetUp() override { InstallApplications(services, InstalledMailPrograms()); }

    // Opens the page over a settings file holding the record, as the job tabs do.
    void Open(const JobRecord& record) {
        page.reset();
        host.Clear();
        WriteRecords(services.SettingsFile(), JobMask::kEmail, {record});
        page = std::make_unique<CCountingEmailPage>(&services);
        ASSERT_TRUE(OpenPage(*page, services, host));
    }

    HWND Control(int id) const { return page->Item(id); }
    Texts Items(int id) const {
        ComboBox list(Control(id));
        Texts texts;
        for (int i = 0; i < list.GetCount(); ++i) {
            char text[260] = {};
            list.GetLBText(i, text);
            texts.emplace_back(text);
        }
        return texts;
    }
    std::string Chosen(int id) const {
        ComboBox list(Control(id));
        const int index = list.GetCurSel();
        if (index < 0)
            return "<none>";
        char text[260] = {};
        list.GetLBText(index, text);
        return text;
    }
    // A user's choice: the selection, then the notification the combo box sends its dialog.
    void Choose(int id, const char* text) {
        ComboBox list(Control(id));
        const int index = list.FindStringExact(-1, text);
        ASSERT_GE(index, 0) << text;
        list.SetCurSel(index);
        SendCommand(*page, id, CBN_SELCHANGE);
    }
    void SlideQuality(int position) {
        Slider(Control(IDC_JPEG_QUALITY)).SetPos(position);
        page->Send(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                   reinterpret_cast<LPARAM>(Control(IDC_JPEG_QUALITY)));
    }
    void RestoreDefaults() { page->Send(kRestoreDefaults); }
    // The group's own visibility: the host, and so the page, is never shown.
    bool QualityShown() const {
        int shown = 0;
        for (int id : kQualityGroup)
            shown += (::GetWindowLongA(Control(id), GWL_STYLE) & WS_VISIBLE) ? 1 : 0;
        EXPECT_TRUE(shown == 0 || shown == 4) << "the quality group is shown and hidden together";
        return shown == 4;
    }
    std::string QualityText() const { return ItemText(page->Handle(), IDC_JPEG_QUALITY_VALUE); }
    size_t Notifications() const { return host.changed.size(); }
    const JobRecord& Working() const { return page->Working(); }
    std::string Ext() const { return std::string(ReadField(page->Working().ap.szExt)); }
};

TEST_F(EmailPageTest, ListsTheRecognisedClientsThatHaveAnOpenCommand) {
    registry.AddClient("Outlook express");
    registry.AddClient("Thunderbolt Mail"); // a client the page does not know
    registry.AddClient("MicroSoft Outlook", /*withOpenCommand=*/false);
    registry.AddClient("WINDOWS MAIL");
    registry.SetDefault("Thunderbolt Mail");
    Open(EmailRecordWith(MailId::kWindowsMail));
    EXPECT_EQ(Items(IDC_MAIL_CLIENT_LIST), (Texts{"Outlook express", "WINDOWS MAIL"})); // spelled as registered
    EXPECT_EQ(page->MailClientCount(), 2);
    EXPECT_FALSE(page->IsUnavailable());
    EXPECT_EQ(Chosen(IDC_MAIL_CLIENT_LIST), "WINDOWS MAIL");
    EXPECT_EQ(page->saves, 0);
}

TEST_F(EmailPageTest, WithoutARecognisedClientThePageIsInert) {
    registry.AddClient("Thunderbolt Mail");
    registry.AddClient("Outlook express", /*withOpenCommand=*/false);
    registry.SetDefault("Thunderbolt Mail");
    JobRecord record = EmailRecord();
    record.dwStored = 0;
    Open(record);
    EXPECT_TRUE(Items(IDC_MAIL_CLIENT_LIST).empty());
    EXPECT_EQ(page->MailClientCount(), 0);
    EXPECT_TRUE(page->IsUnavailable());
    EXPECT_EQ(page->saves, 0); // nothing to store for a job that has no mail program
    PointAt(*page, IDC_MAIL_CLIENT_LIST);
    EXPECT_EQ(host.hints, (std::vector<WPARAM>{IDS_NO_MAIL_CLIENT}));

    // Every user change still edits the record, but never marks the page changed.
    ChooseScanMode(*page, "Color");
    MoveResolution(*page, 3);
    Choose(IDC_FORMAT_LIST, "PDF");
    Choose(IDC_FORMAT_LIST, "JPG");
    SlideQuality(30);
    EXPECT_EQ(uint16_t{Working().wResolution}, 600);
    EXPECT_EQ(uint16_t{Working().ap.wQuality}, 30);
    RestoreDefaults();
    EXPECT_EQ(uint16_t{Working().ap.wQuality}, 95);
    EXPECT_EQ(Notifications(), 0);
    EXPECT_FALSE(page->IsDirty());
}

TEST_F(EmailPageTest, SetUpEndsEarlyWithoutTheClientKeyOrTheApplicationList) {
    registry.AddClient("Windows Mail");
    registry.SetDefault("Windows Mail");
    JobRecord record = EmailRecord();
    record.dwStored = 0;

    // A list file that cannot be opened: the module refuses what is not one of its files.
    InstallApplications(services, {});
    {
        char user[260];
        services.GetUserFolder(user);
        FILE* f = std::fopen((std::string(user) + "\\InApInfo.dat").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("not a list", f);
        std::fclose(f);
    }
    Open(record);
    EXPECT_TRUE(Items(IDC_FORMAT_LIST).empty());
    EXPECT_TRUE(Items(IDC_MAIL_CLIENT_LIST).empty());
    EXPECT_FALSE(page->IsUnavailable());
    EXPECT_EQ(page->saves, 0);

    InstallApplications(services, InstalledMailPrograms());
    registry.Remove();
    Open(record);
    EXPECT_EQ(Items(IDC_FORMAT_LIST), (Texts{"BMP", "PDF", "JPG"}));
    EXPECT_TRUE(Items(IDC_MAIL_CLIENT_LIST).empty());
    EXPECT_FALSE(page->IsUnavailable());
    EXPECT_EQ(page->saves, 0);
}

TEST_F(EmailPageTest, FirstRunStoresTheDefaultClientOnceAndEndsClean) {
    registry.AddClient("Outlook express");
    registry.AddClient("Windows Mail");
    registry.SetDefault("windows mail");
    JobRecord record = EmailRecord();
    record.dwStored = 0;
    Open(record);
    EXPECT_EQ(page->saves, 1);
    EXPECT_FALSE(page->IsDirty());
    EXPECT_EQ(Notifications(), 0);
    EXPECT_EQ(Chosen(IDC_MAIL_CLIENT_LIST), "Windows Mail");
    // The whole entry, marks and all, stands in the record.
    EXPECT_EQ(Bytes20To1133(Working()), EntryBytes(MailEntry(MailId::kWindowsMail)));
    EXPECT_EQ(uint32_t{Working().dwStored}, 1u);
    EXPECT_EQ(std::memcmp(&page->Saved(), &Working(), kJobRecordSize), 0);
    EXPECT_TRUE(SameBytes(StoredRecord(services.SettingsFile(), JobMask::kEmail), Working()));

    // Stored once, the record is not written again by the next set-up.
    const JobRecord stored = Working();
    Open(stored);
    EXPECT_EQ(page->saves, 0);
    EXPECT_EQ(Chosen(IDC_MAIL_CLIENT_LIST), "Windows Mail");
}

TEST_F(EmailPageTest, TheInitialClient) {
    registry.AddClient("Outlook express");
    registry.AddClient("Windows Mail");
    struct Case {
        const char* what;
        const char* defaultValue; // null: no default value
        JobRecord record;
        const char* chosen;
        uint16_t apId;
    };
    JobRecord uninstalled = EmailRecordWith(MailId::kOutlook); // a mail program, even though no longer listed
    JobRecord noClient = EmailRecord();
    WriteField(noClient.ap.szApName, "Outlook express");
    const Case cases[] = {
        {"the stored client", "Windows Mail", EmailRecordWith(MailId::kOutlookExpress), "Outlook express",
         MailId::kOutlookExpress},
        {"a stored mail program keeps its entry", "Windows Mail", uninstalled, "<none>", MailId::kOutlook},
        {"the default client", "Windows Mail", noClient, "Windows Mail", MailId::kWindowsMail},
        {"a default that is not listed", "Thunderbolt Mail", EmailRecord(), "Outlook express", MailId::kOutlookExpress},
        {"no default at all", nullptr, EmailRecord(), "Outlook express", MailId::kOutlookExpress},
        {"a default that only begins a listed name", "Windows", EmailRecord(), "Windows Mail", MailId::kWindowsMail},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        registry.SetDefault(c.defaultValue ? c.defaultValue : "");
        if (!c.defaultValue)
            ::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Clients\\Mail", nullptr);
        Open(c.record);
        EXPECT_EQ(Chosen(IDC_MAIL_CLIENT_LIST), c.chosen);
        EXPECT_EQ(uint16_t{Working().ap.wApId}, c.apId);
        if (c.apId != c.record.ap.wApId) {
            EXPECT_EQ(Bytes20To1133(Working()), EntryBytes(MailEntry(c.apId)));
        }
        EXPECT_EQ(Notifications(), 0);
        EXPECT_FALSE(page->IsDirty());
    }
}

TEST_F(EmailPageTest, ATakenEntrysFormatIsTheOneShown) {
    registry.AddClient("Windows Mail");
    registry.SetDefault("Windows Mail");
    JobRecord record = EmailRecord(); // no client yet, and BMP
    record.ap.dwFormat = 0x1;
    WriteField(record.ap.szExt, ".BMP");
    Open(record);
    EXPECT_EQ(uint32_t{Working().ap.dwFormat}, 0x8u);
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "JPG");
    EXPECT_TRUE(QualityShown());
}

TEST_F(EmailPageTest, SetUpOffersOnlyBmpPdfAndJpg) {
    registry.AddClient("Windows Mail");
    registry.SetDefault("Windows Mail");
    JobRecord record = EmailRecordWith(MailId::kWindowsMail);
    record.ap.dwFormats = 0x7F;
    record.ap.dwFormat = 0x400;
    WriteField(record.ap.szExt, ".PDF");
    Open(record);
    EXPECT_EQ(Items(IDC_FORMAT_LIST), (Texts{"BMP", "PDF", "JPG"}));
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "PDF");
    EXPECT_EQ(uint32_t{Working().ap.dwFormats}, 0x409u);
    EXPECT_FALSE(QualityShown());
    EXPECT_FALSE(page->IsDirty());
}

TEST_F(EmailPageTest, TheQualityGroupFollowsTheFormat) {
    registry.AddClient("Windows Mail");
    registry.SetDefault("Windows Mail");
    JobRecord record = EmailRecordWith(MailId::kWindowsMail);
    record.ap.wQuality = 70;
    Open(record);
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "JPG");
    EXPECT_TRUE(QualityShown());
    EXPECT_EQ(Slider(Control(IDC_JPEG_QUALITY)).GetPos(), 70);
    EXPECT_EQ(QualityText(), "70");

    SlideQuality(70); // where it is already
    EXPECT_EQ(Notifications(), 0);
    SlideQuality(40);
    EXPECT_EQ(uint16_t{Working().ap.wQuality}, 40);
    EXPECT_EQ(QualityText(), "40");
    EXPECT_EQ(Notifications(), 1);

    Choose(IDC_FORMAT_LIST, "PDF");
    EXPECT_FALSE(QualityShown());
    EXPECT_EQ(uint32_t{Working().ap.dwFormat}, 0x400u);
    EXPECT_EQ(Ext(), ".PDF");
    Choose(IDC_FORMAT_LIST, "JPG");
    EXPECT_TRUE(QualityShown());
    EXPECT_EQ(Slider(Control(IDC_JPEG_QUALITY)).GetPos(), 40);
    EXPECT_EQ(QualityText(), "40");
    EXPECT_EQ(Notifications(), 1); // the page was already changed

    // Black and white has no JPEG: the list loses it and the choice falls back to BMP.
    ASSERT_TRUE(ChooseScanMode(*page, "Black and white"));
    EXPECT_EQ(Items(IDC_FORMAT_LIST), (Texts{"BMP", "PDF"}));
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "BMP");
    EXPECT_EQ(uint32_t{Working().ap.dwFormat}, 0x1u);
    EXPECT_EQ(Ext(), ".BMP");
    EXPECT_FALSE(QualityShown());
    ASSERT_TRUE(ChooseScanMode(*page, "Color"));
    EXPECT_EQ(Items(IDC_FORMAT_LIST), (Texts{"BMP", "PDF", "JPG"}));
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "BMP");
}

TEST_F(EmailPageTest, ChoosingAClientTakesOnlyItsProgram) {
    registry.AddClient("Outlook express");
    registry.AddClient("Windows Mail");
    registry.SetDefault("Windows Mail");
    JobRecord record = EmailRecordWith(MailId::kWindowsMail);
    record.ap.dwFormat = 0x400;
    record.ap.wQuality = 60;
    WriteField(record.ap.szExt, ".PDF");
    Open(record);

    Choose(IDC_MAIL_CLIENT_LIST, "Windows Mail"); // what it holds already
    EXPECT_EQ(Notifications(), 0);
    Choose(IDC_MAIL_CLIENT_LIST, "Outlook express");
    const ApEntry chosen = MailEntry(MailId::kOutlookExpress);
    EXPECT_EQ(uint16_t{Working().ap.wApId}, MailId::kOutlookExpress);
    EXPECT_EQ(ReadField(Working().ap.szApName), ReadField(chosen.szApName));
    EXPECT_EQ(ReadField(Working().ap.szExeName), ReadField(chosen.szExeName));
    EXPECT_EQ(ReadField(Working().ap.szExeDir), ReadField(chosen.szExeDir));
    // The rest of the record is the user's: format, quality, and fields only a whole-entry copy would bring.
    EXPECT_EQ(uint32_t{Working().ap.dwFormat}, 0x400u);
    EXPECT_EQ(uint16_t{Working().ap.wQuality}, 60);
    EXPECT_EQ(ReadField(Working().ap.szFolder), "entry 4007");
    EXPECT_EQ(Notifications(), 1);
    EXPECT_TRUE(page->IsDirty());
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));
}

TEST_F(EmailPageTest, DefaultOnAPageAtItsDefaultsSendsNothing) {
    registry.AddClient("Outlook express");
    registry.AddClient("Windows Mail");
    registry.SetDefault("Windows Mail");
    Open(EmailRecordWith(MailId::kWindowsMail));
    const JobRecord before = Working();
    RestoreDefaults();
    EXPECT_EQ(Notifications(), 0);
    EXPECT_FALSE(page->IsDirty());
    EXPECT_EQ(std::memcmp(&before, &Working(), kJobRecordSize), 0);

    // Away from them and back: JPG at 95 again, the group showing it, and the changed page says so again.
    Choose(IDC_FORMAT_LIST, "PDF");
    EXPECT_EQ(Notifications(), 1);
    RestoreDefaults();
    EXPECT_EQ(Notifications(), 2);
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "JPG");
    EXPECT_EQ(Ext(), ".JPG");
    EXPECT_TRUE(QualityShown());
    EXPECT_EQ(QualityText(), "95");
    EXPECT_EQ(Slider(Control(IDC_JPEG_QUALITY)).GetPos(), 95);
}

TEST_F(EmailPageTest, DefaultTakesTheFirstListedClientWhenTheDefaultIsNotListed) {
    registry.AddClient("Outlook express");
    registry.AddClient("Windows Mail");
    registry.SetDefault("Windows Mail");
    JobRecord record = EmailRecordWith(MailId::kWindowsMail);
    record.ap.wQuality = 50;
    record.wColorMode = 4; // black and white: the default format falls back to BMP
    record.ap.dwFormat = 0x400;
    WriteField(record.ap.szExt, ".PDF");
    Open(record);

    registry.SetDefault("Thunderbolt Mail");
    RestoreDefaults();
    EXPECT_EQ(Chosen(IDC_MAIL_CLIENT_LIST), "Outlook express");
    JobRecord expected = EmailRecordWith(MailId::kOutlookExpress);
    EXPECT_EQ(Bytes20To1133(Working()), Bytes20To1133(expected));
    EXPECT_EQ(uint16_t{Working().wColorMode}, 2);
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "JPG");
    EXPECT_EQ(Notifications(), 1);
    EXPECT_TRUE(page->IsDirty());
}

TEST_F(EmailPageTest, DefaultEndsAtOnceWhenTheClientKeyIsGone) {
    registry.AddClient("Windows Mail");
    registry.SetDefault("Windows Mail");
    JobRecord record = EmailRecordWith(MailId::kWindowsMail);
    record.wColorMode = 1;
    record.ap.dwFormat = 0x400;
    WriteField(record.ap.szExt, ".PDF");
    Open(record);

    registry.Remove();
    RestoreDefaults();
    EXPECT_EQ(uint16_t{Working().wColorMode}, 2); // the common steps come first
    EXPECT_EQ(uint32_t{Working().ap.dwFormat}, 0x400u);
    EXPECT_EQ(Notifications(), 0);
}

TEST_F(EmailPageTest, HintsAndColours) {
    registry.AddClient("Windows Mail");
    registry.SetDefault("Windows Mail");
    Open(EmailRecordWith(MailId::kWindowsMail));
    PointAt(*page, IDC_MAIL_CLIENT_LIST);
    PointAt(*page, IDC_MAIL_CLIENT_LIST); // once per control entered
    PointAt(*page, 0);
    PointAt(*page, IDC_JPEG_QUALITY);
    PointAt(*page, IDC_RESOLUTION_CAPTION);
    EXPECT_EQ(host.hints,
              (std::vector<WPARAM>{IDS_MAIL_CLIENT_LIST, IDS_EMAIL_PAGE, IDS_JPEG_QUALITY, IDS_RESOLUTION_300_HINT}));

    // The quality slider takes the page colour as the resolution slider does; its value keeps the standard look
    // of the resolution caption.
    HDC dc = ::GetDC(page->Handle());
    auto brush = [&](int id) {
        return ::SendMessageA(page->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(Control(id)));
    };
    EXPECT_EQ(brush(IDC_JPEG_QUALITY), brush(IDC_RESOLUTION));
    EXPECT_EQ(brush(IDC_JPEG_QUALITY_VALUE), brush(IDC_RESOLUTION_CAPTION));
    EXPECT_NE(brush(IDC_JPEG_QUALITY_VALUE), brush(IDC_RESOLUTION));
    ::ReleaseDC(page->Handle(), dc);
}

} // namespace
} // namespace tolvan::test
