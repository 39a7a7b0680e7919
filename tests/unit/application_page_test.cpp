// The Application page on a hidden host, over APInfo.dll and the destination applications that each test installs
// in its own scratch folder: which programs are listed and which one the record takes, the inert page, damaged
// entries, choosing a program, removing one the user added (through the module, with the re-selection that
// follows), restoring defaults and hints.
#include "destination_programs.h"
#include "mail_programs.h"
#include "page_host.h"

#include "pages/application_page.h"
#include "pages/page_messages.h"
#include "res/resource.h"
#include "settings/fixed_string.h"
#include "settings/job_table.h"
#include "ui/controls.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace tolvan::test {
namespace {

using Texts = std::vector<std::string>;

using CCountingApplicationPage = CCountingSaves<CApplicationPage>;

class ApplicationPageTest : public testing::Test {
protected:
    ScratchFolder scratch;
    TestServices services{scratch};
    PageHost host;
    std::unique_ptr<CCountingApplicationPage> page;

    // A name that begins another one is listed first, a mail program lies in another category, and the user has
    // added a program of their own.
    const ApEntry paintNet = Destination(scratch, 4162, "Paint.NET", "paintdotnet.exe", 0x7B);
    const ApEntry paint = Destination(scratch, kDefaultDestinationId, "Paint", "mspaint.exe", 0x6B);
    const ApEntry viewer = Destination(scratch, 4158, "Viewer", "viewer.exe", 0x29);
    const ApEntry notes = Destination(scratch, kUserAddedId, "notes.exe", "notes.exe", 0x7F, false);

    void SetUp() override {
        InstallDestinations(services, {paintNet, MailEntry(MailId::kWindowsMail), paint, viewer, notes});
    }

    void Open(const JobRecord& record) {
        page.reset();
        host.Clear();
        WriteRecords(services.SettingsFile(), JobMask::kApplication, {record});
        page = std::make_unique<CCountingApplicationPage>(&services);
        ASSERT_TRUE(OpenPage(*page, services, host));
    }

    Texts Items(int id) const { return ComboItems(*page, id); }
    std::string Chosen(int id) const { return ComboChoice(*page, id); }
    void Choose(int id, const char* text) { ASSERT_TRUE(ChooseEntry(*page, id, text)) << text; }
    void Delete() { SendCommand(*page, IDC_DELETE_APPLICATION, BN_CLICKED); }
    void RestoreDefaults() { page->Send(kRestoreDefaults); }
    bool DeleteShown() const {
        return (::GetWindowLongA(page->Item(IDC_DELETE_APPLICATION), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    const JobRecord& Working() const { return page->Working(); }
    std::string Ext() const { return std::string(ReadField(page->Working().ap.szExt)); }

    // The six fields a choice takes, and nothing else of the entry.
    void ExpectProgram(const ApEntry& entry) const {
        const JobRecord& r = Working();
        EXPECT_EQ(ReadField(r.ap.szApName), ReadField(entry.szApName));
        EXPECT_EQ(uint16_t{r.ap.wApId}, uint16_t{entry.wApId});
        EXPECT_EQ(uint32_t{r.ap.dwApOptions}, uint32_t{entry.dwApOptions});
        EXPECT_EQ(uint32_t{r.ap.dwFormats}, uint32_t{entry.dwFormats});
        EXPECT_EQ(ReadField(r.ap.szExeName), ReadField(entry.szExeName));
        EXPECT_EQ(ReadField(r.ap.szExeDir), ReadField(entry.szExeDir));
        EXPECT_EQ(ReadField(r.ap.szFolder), "record folder");
    }
};

TEST_F(ApplicationPageTest, ListsTheDestinationsAndTakesTheDefaultProgram) {
    Open(ApplicationRecord());
    EXPECT_EQ(Items(IDC_APPLICATION_LIST), (Texts{"Paint.NET", "Paint", "Viewer", "notes.exe"}));
    EXPECT_EQ(page->ApplicationCount(), 4);
    EXPECT_FALSE(page->IsUnavailable());
    // The record's program is not installed: the default program takes its place, without a word to the main
    // window during set-up.
    EXPECT_EQ(Chosen(IDC_APPLICATION_LIST), "Paint");
    ExpectProgram(paint);
    EXPECT_TRUE(page->IsDirty());
    EXPECT_TRUE(host.changed.empty());
    EXPECT_EQ(page->saves, 0);
    EXPECT_EQ(Items(IDC_FORMAT_LIST), (Texts{"BMP", "TIF", "JPG", "PNG", "GIF"}));
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "BMP");
    EXPECT_FALSE(DeleteShown());
    EXPECT_FALSE(::GetWindowLongA(page->Item(IDC_ADD_APPLICATION), GWL_STYLE) & WS_VISIBLE);

    PointAt(*page, IDC_APPLICATION_LIST);
    PointAt(*page, 0);
    PointAt(*page, IDC_DELETE_APPLICATION);
    EXPECT_EQ(host.hints, (std::vector<WPARAM>{IDS_APPLICATION_LIST, IDS_APPLICATION_PAGE, IDS_DELETE_APPLICATION}));

    // Never stored: the record is written once, with the default program, and the page ends clean.
    JobRecord record = ApplicationRecord();
    record.dwStored = 0;
    Open(record);
    EXPECT_EQ(page->saves, 1);
    EXPECT_FALSE(page->IsDirty());
    EXPECT_TRUE(SameBytes(StoredRecord(services.SettingsFile(), JobMask::kApplication), Working()));
    EXPECT_EQ(uint32_t{Working().dwStored}, 1u);

    // A record naming a listed program keeps it, whatever begins with its name; the user's own program shows the
    // delete button.
    Open(RecordNaming(paint));
    EXPECT_EQ(Chosen(IDC_APPLICATION_LIST), "Paint");
    EXPECT_FALSE(page->IsDirty());
    Open(RecordNaming(notes));
    EXPECT_EQ(Chosen(IDC_APPLICATION_LIST), "notes.exe");
    EXPECT_TRUE(DeleteShown());
    EXPECT_FALSE(page->IsDirty());
}

TEST_F(ApplicationPageTest, WithoutTheDefaultProgramTheFirstListedOneIsTaken) {
    InstallDestinations(services, {paintNet, viewer});
    // "Paint" only begins "Paint.NET": the list must not show Paint.NET while the record names Paint.
    Open(RecordNaming(paint));
    EXPECT_EQ(Items(IDC_APPLICATION_LIST), (Texts{"Paint.NET", "Viewer"}));
    EXPECT_EQ(Chosen(IDC_APPLICATION_LIST), "Paint.NET");
    ExpectProgram(paintNet);
    EXPECT_TRUE(page->IsDirty());

    // A record already naming the first program's files under another name keeps what it has.
    JobRecord renamed = RecordNaming(paintNet);
    WriteField(renamed.ap.szApName, "Paint dot NET");
    Open(renamed);
    EXPECT_EQ(ReadField(Working().ap.szApName), "Paint dot NET");
    EXPECT_FALSE(page->IsDirty());
}

TEST_F(ApplicationPageTest, WithoutDestinationsThePageIsInert) {
    InstallDestinations(services, {MailEntry(MailId::kWindowsMail)});
    JobRecord record = ApplicationRecord();
    record.dwStored = 0;
    record.ap.dwFormat = 0x2;
    WriteField(record.ap.szExt, ".TIF");
    Open(record);
    EXPECT_TRUE(Items(IDC_APPLICATION_LIST).empty());
    EXPECT_TRUE(Items(IDC_FORMAT_LIST).empty());
    EXPECT_EQ(page->ApplicationCount(), 0);
    EXPECT_TRUE(page->IsUnavailable());
    EXPECT_EQ(page->saves, 0);
    EXPECT_FALSE(DeleteShown());
    PointAt(*page, IDC_APPLICATION_LIST);
    EXPECT_EQ(host.hints, (std::vector<WPARAM>{IDS_NO_APPLICATION}));

    ASSERT_TRUE(ChooseScanMode(*page, StringText(IDS_SCAN_MODE_COLOR).c_str()));
    MoveResolution(*page, 3);
    EXPECT_EQ(uint16_t{Working().wResolution}, 600);
    RestoreDefaults();
    EXPECT_EQ(Ext(), ".BMP");
    EXPECT_TRUE(Items(IDC_FORMAT_LIST).empty());
    EXPECT_TRUE(host.changed.empty());
    EXPECT_FALSE(page->IsDirty());

    // A list the module refuses: the page keeps only its scan settings and is not even marked unavailable.
    WriteApplicationList(InstalledList(services), {});
    FILE* f = std::fopen(InstalledList(services).c_str(), "ab");
    ASSERT_NE(f, nullptr);
    std::fputs("trailing bytes", f);
    std::fclose(f);
    Open(record);
    EXPECT_TRUE(Items(IDC_APPLICATION_LIST).empty());
    EXPECT_FALSE(page->IsUnavailable());
    EXPECT_EQ(page->saves, 0);
}

TEST_F(ApplicationPageTest, EntriesThatCannotNameTheirProgramAreNotOffered) {
    ApEntry longName = viewer, longProgram = viewer, longFolder = viewer, noName = viewer;
    std::memset(longName.szApName, 'N', sizeof longName.szApName);
    WriteField(longProgram.szApName, "Long program");
    std::memset(longProgram.szExeName, 'e', sizeof longProgram.szExeName);
    WriteField(longFolder.szApName, "Long folder");
    std::memset(longFolder.szExeDir, 'D', sizeof longFolder.szExeDir);
    WriteField(noName.szApName, "");
    InstallApplications(services, {longName, longProgram, longFolder, noName, paint});
    JobRecord record = ApplicationRecord();
    std::memset(record.ap.szApName, 'N', sizeof record.ap.szApName); // as damaged as the first entry
    Open(record);
    EXPECT_EQ(Items(IDC_APPLICATION_LIST), (Texts{"Paint"}));
    EXPECT_EQ(page->ApplicationCount(), 1);
    EXPECT_EQ(Chosen(IDC_APPLICATION_LIST), "Paint");
    EXPECT_EQ(ReadField(Working().ap.szApName), "Paint");
}

TEST_F(ApplicationPageTest, ChoosingAProgramTakesItsFieldsAndFormats) {
    JobRecord record = RecordNaming(paint);
    record.ap.dwFormat = 0x2;
    WriteField(record.ap.szExt, ".TIF");
    Open(record);
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "TIF");

    // The saved program chosen again: nothing changes.
    Choose(IDC_APPLICATION_LIST, "Paint");
    EXPECT_TRUE(host.changed.empty());
    EXPECT_FALSE(page->IsDirty());

    // Viewer opens no TIF: the list follows the program and falls back to BMP.
    Choose(IDC_APPLICATION_LIST, "Viewer");
    ExpectProgram(viewer);
    EXPECT_EQ(Items(IDC_FORMAT_LIST), (Texts{"BMP", "JPG", "PNG"}));
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "BMP");
    EXPECT_EQ(uint32_t{Working().ap.dwFormat}, 0x1u);
    EXPECT_EQ(Ext(), ".BMP");
    EXPECT_FALSE(DeleteShown());
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));

    Choose(IDC_APPLICATION_LIST, "notes.exe");
    ExpectProgram(notes);
    EXPECT_TRUE(DeleteShown());
    Choose(IDC_FORMAT_LIST, "GIF");
    EXPECT_EQ(Ext(), ".GIF");
    Choose(IDC_APPLICATION_LIST, "Paint");
    EXPECT_FALSE(DeleteShown());
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "GIF");
    EXPECT_EQ(host.changed.size(), 1u); // told once
}

TEST_F(ApplicationPageTest, RemovingTheUsersProgramGoesThroughTheCatalogueAndChoosesAgain) {
    const ApEntry first = Destination(scratch, kUserAddedId, "first.exe", "first.exe", 0x7F, false);
    InstallDestinations(services, {first, paintNet, paint, viewer, notes});
    Open(RecordNaming(first));
    EXPECT_EQ(Chosen(IDC_APPLICATION_LIST), "first.exe");
    ASSERT_TRUE(DeleteShown());

    Delete();
    EXPECT_EQ(Items(IDC_APPLICATION_LIST), (Texts{"Paint.NET", "Paint", "Viewer", "notes.exe"}));
    EXPECT_EQ(Names(ReadApplicationList(UserCatalogue(services))),
              (Texts{"Paint.NET", "Paint", "Viewer", "notes.exe"}));
    // The module searched again: the installed list follows the catalogue.
    EXPECT_EQ(Names(ReadApplicationList(InstalledList(services))),
              (Texts{"Paint.NET", "Paint", "Viewer", "notes.exe"}));
    // The record named the removed program: the default one takes its place, and the main window hears of it.
    EXPECT_EQ(Chosen(IDC_APPLICATION_LIST), "Paint");
    ExpectProgram(paint);
    EXPECT_FALSE(DeleteShown());
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));
    EXPECT_EQ(page->ApplicationCount(), 5); // the count is set-up's

    // The last one of the user's programs goes too; the record already names the default program.
    Choose(IDC_APPLICATION_LIST, "notes.exe");
    host.Clear();
    Delete();
    EXPECT_EQ(Items(IDC_APPLICATION_LIST), (Texts{"Paint.NET", "Paint", "Viewer"}));
    EXPECT_EQ(Chosen(IDC_APPLICATION_LIST), "Paint");
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));
}

TEST_F(ApplicationPageTest, ARemovalTheCatalogueRefusesChangesNothing) {
    // The catalogue lacks the program the installed list still has: the module finds nothing to remove.
    WriteApplicationList(UserCatalogue(services), {paintNet, paint, viewer});
    Open(RecordNaming(notes));
    Delete();
    EXPECT_EQ(Items(IDC_APPLICATION_LIST), (Texts{"Paint.NET", "Paint", "Viewer", "notes.exe"}));
    EXPECT_EQ(Chosen(IDC_APPLICATION_LIST), "notes.exe");
    ExpectProgram(notes);
    EXPECT_FALSE(page->IsDirty());
    EXPECT_TRUE(host.changed.empty());

    // The driver's own programs are never removed, whatever asks for it.
    InstallDestinations(services, {paintNet, paint, viewer, notes});
    Open(RecordNaming(paint));
    const Bytes before = FileBytes(UserCatalogue(services));
    Delete();
    EXPECT_EQ(FileBytes(UserCatalogue(services)), before);
    EXPECT_EQ(Items(IDC_APPLICATION_LIST), (Texts{"Paint.NET", "Paint", "Viewer", "notes.exe"}));
}

TEST_F(ApplicationPageTest, DefaultsTakeTheDefaultProgramAndBmp) {
    JobRecord record = RecordNaming(paint);
    Open(record);
    RestoreDefaults();
    EXPECT_TRUE(host.changed.empty());
    EXPECT_FALSE(page->IsDirty());

    record = RecordNaming(notes);
    record.wColorMode = 4;
    record.ap.dwFormat = 0x20;
    WriteField(record.ap.szExt, ".PNG");
    Open(record);
    ASSERT_TRUE(DeleteShown());
    RestoreDefaults();
    EXPECT_EQ(uint16_t{Working().wColorMode}, 2);
    EXPECT_EQ(Chosen(IDC_APPLICATION_LIST), "Paint");
    ExpectProgram(paint);
    // JPG is offered again, at the end; what Paint does not open goes.
    EXPECT_EQ(Items(IDC_FORMAT_LIST), (Texts{"BMP", "TIF", "PNG", "GIF", "JPG"}));
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "BMP");
    EXPECT_EQ(uint32_t{Working().ap.dwFormat}, 0x1u);
    EXPECT_EQ(Ext(), ".BMP");
    // The chosen program is the driver's now: it cannot be removed, so the button goes.
    EXPECT_FALSE(DeleteShown());
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));
}

} // namespace
} // namespace tolvan::test
