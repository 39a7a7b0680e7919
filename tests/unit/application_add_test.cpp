// The Application page's add command, behind its hidden button: the system's Open dialog answered from the test
// thread as a user would, the registry key of the programs the driver lets be added, the entry written to the
// per-user catalogue, and a catalogue the module cannot open, which is kept before the driver's replaces it.
#include "destination_programs.h"
#include "page_host.h"
#include "save_as_driver.h"

#include "pages/application_page.h"
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

// The key of string 1107 under HKEY_LOCAL_MACHINE as a test lays it out: missing at first, removed at the end.
class PermittedPrograms {
public:
    PermittedPrograms() : m_key(StringText(IDS_APPLICATIONS_KEY)) { Remove(); }
    ~PermittedPrograms() { Remove(); }
    PermittedPrograms(const PermittedPrograms&) = delete;
    PermittedPrograms& operator=(const PermittedPrograms&) = delete;

    void Allow(const std::string& exe) const {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, (m_key + "\\" + exe).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                    &key, nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(key);
    }
    void Remove() const { ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, m_key.c_str()); }

private:
    std::string m_key;
};

class ApplicationAddTest : public testing::Test {
protected:
    ScratchFolder scratch;
    TestServices services{scratch};
    PageHost host;
    PermittedPrograms permitted;
    std::unique_ptr<CApplicationPage> page;

    const ApEntry paint = Destination(scratch, kDefaultDestinationId, "Paint", "mspaint.exe", 0x6B);
    const ApEntry notes = Destination(scratch, kUserAddedId, "notes.exe", "notes.exe", 0x7F, false);
    const std::string programs = MakeProgramFile(scratch, "scanview.exe");

    void SetUp() override {
        InstallDestinations(services, {paint, notes});
        WriteRecords(services.SettingsFile(), JobMask::kApplication, {RecordNaming(paint)});
        page = std::make_unique<CApplicationPage>(&services);
        ASSERT_TRUE(OpenPage(*page, services, host));
    }

    // Runs the add command, the dialog answered as answer says.
    void Add(const std::function<void(SaveAsDialog&)>& answer) {
        SaveAsAnswer dialog(answer);
        SendCommand(*page, IDC_ADD_APPLICATION, BN_CLICKED);
        EXPECT_TRUE(dialog.Answered());
    }
    void AddProgram(const std::string& path) {
        Add([&path](SaveAsDialog& dialog) {
            dialog.TypeName(path);
            dialog.Ok();
        });
    }
    Texts Items() const { return ComboItems(*page, IDC_APPLICATION_LIST); }
    std::vector<ApEntry> Catalogue() const { return ReadApplicationList(UserCatalogue(services)); }
};

TEST_F(ApplicationAddTest, AddsAProgramTheDriverLets) {
    permitted.Allow("other.exe");
    permitted.Allow("ScanView.EXE"); // names of files, compared as Windows compares them
    const JobRecord before = page->Working();
    Texts types;
    Add([&](SaveAsDialog& dialog) {
        types = dialog.Types();
        dialog.TypeName(programs + "scanview.exe");
        dialog.Ok();
    });
    EXPECT_EQ(types, (Texts{"executable files (*.exe)"}));
    EXPECT_TRUE(services.messages.empty());

    // The entry as the catalogue keeps it, every other byte zero.
    ApEntry expected{};
    expected.wApSize = kApEntrySize;
    expected.dwApCategory = kDestinationCategory;
    expected.dwFormats = 0x7F;
    expected.dwFormat = 0x1;
    expected.wQuality = 95;
    expected.wApId = kUserAddedId;
    WriteField(expected.szApName, "scanview.exe");
    WriteField(expected.szExeName, "scanview.exe");
    WriteField(expected.szExeDir, programs);
    const std::vector<ApEntry> catalogue = Catalogue();
    ASSERT_EQ(Names(catalogue), (Texts{"Paint", "notes.exe", "scanview.exe"}));
    EXPECT_EQ(std::memcmp(&catalogue.back(), &expected, kApEntrySize), 0);
    // The module searched again and found the program where it lies.
    EXPECT_EQ(Names(ReadApplicationList(InstalledList(services))), (Texts{"Paint", "notes.exe", "scanview.exe"}));

    // Only offered: the choice, the record and the count stay as they were.
    EXPECT_EQ(Items(), (Texts{"Paint", "notes.exe", "scanview.exe"}));
    EXPECT_EQ(ComboChoice(*page, IDC_APPLICATION_LIST), "Paint");
    EXPECT_TRUE(SameBytes(page->Working(), before));
    EXPECT_FALSE(page->IsDirty());
    EXPECT_TRUE(host.changed.empty());
    EXPECT_EQ(page->ApplicationCount(), 2);

    ASSERT_TRUE(ChooseEntry(*page, IDC_APPLICATION_LIST, "scanview.exe"));
    EXPECT_EQ(uint16_t{page->Working().ap.wApId}, kUserAddedId);
    EXPECT_EQ(uint32_t{page->Working().ap.dwFormats}, 0x7Fu);
    EXPECT_EQ(ReadField(page->Working().ap.szExeDir), programs);
    EXPECT_TRUE(::GetWindowLongA(page->Item(IDC_DELETE_APPLICATION), GWL_STYLE) & WS_VISIBLE);

    // Added again: the catalogue keeps one entry of the name, and the list one line.
    AddProgram(programs + "scanview.exe");
    EXPECT_EQ(Names(Catalogue()), (Texts{"Paint", "notes.exe", "scanview.exe"}));
    EXPECT_EQ(Items(), (Texts{"Paint", "notes.exe", "scanview.exe"}));
}

TEST_F(ApplicationAddTest, AProgramTheDriverDoesNotListIsRefusedWithAWord) {
    const Bytes catalogue = FileBytes(UserCatalogue(services));
    // Without the key no program may be added.
    AddProgram(programs + "scanview.exe");
    permitted.Allow("scanviewer.exe"); // begins alike, but another program
    AddProgram(programs + "scanview.exe");
    EXPECT_EQ(services.messages,
              (Texts{StringText(IDS_APPLICATION_NOT_PERMITTED), StringText(IDS_APPLICATION_NOT_PERMITTED)}));
    EXPECT_EQ(services.styles, (std::vector<UINT>{MB_OK, MB_OK}));
    EXPECT_EQ(services.owners, (std::vector<HWND>{host.Handle(), host.Handle()}));
    EXPECT_EQ(FileBytes(UserCatalogue(services)), catalogue);
    EXPECT_EQ(Items(), (Texts{"Paint", "notes.exe"}));
}

TEST_F(ApplicationAddTest, CancellingOrANameThatDoesNotFitAddsNothing) {
    const Bytes catalogue = FileBytes(UserCatalogue(services));
    Add([](SaveAsDialog& dialog) { dialog.Cancel(); });
    EXPECT_TRUE(services.messages.empty());

    // The entry keeps a program's file name in 32 bytes with its terminator.
    const std::string longest = std::string(27, 'p') + ".exe";
    const std::string tooLong = "q" + longest;
    MakeProgramFile(scratch, longest);
    MakeProgramFile(scratch, tooLong);
    permitted.Allow(longest);
    permitted.Allow(tooLong);
    AddProgram(programs + tooLong);
    EXPECT_EQ(services.messages, (Texts{StringText(IDS_PROGRAM_PATH_TOO_LONG)}));
    EXPECT_EQ(FileBytes(UserCatalogue(services)), catalogue);
    AddProgram(programs + longest);
    EXPECT_EQ(Names(Catalogue()), (Texts{"Paint", "notes.exe", longest}));
    EXPECT_EQ(Items(), (Texts{"Paint", "notes.exe", longest}));
}

TEST_F(ApplicationAddTest, ACatalogueThatCannotBeOpenedIsKeptBeforeTheDriversReplacesIt) {
    const Bytes damaged = {'T', 'V', 'A', 'I', 1, 0, 0x5A, 0x04, 9, 9, 9, 9, 'u', 's', 'e', 'r'};
    ASSERT_TRUE(WriteFileBytes(UserCatalogue(services), damaged));
    const ApEntry viewer = Destination(scratch, 4158, "Viewer", "viewer.exe", 0x29);
    WriteApplicationList(DriverCatalogue(services), {viewer});
    permitted.Allow("scanview.exe");

    AddProgram(programs + "scanview.exe");
    EXPECT_EQ(FileBytes(UserCatalogue(services) + ".bak"), damaged);
    EXPECT_EQ(Names(Catalogue()), (Texts{"Viewer", "scanview.exe"}));
    EXPECT_EQ(Items(), (Texts{"Paint", "notes.exe", "scanview.exe"}));

    // A second damaged file gets a backup of its own; the first one stays.
    const Bytes second = {'s', 'e', 'c', 'o', 'n', 'd'};
    ASSERT_TRUE(WriteFileBytes(UserCatalogue(services), second));
    AddProgram(programs + "scanview.exe");
    EXPECT_EQ(FileBytes(UserCatalogue(services) + ".bak"), damaged);
    EXPECT_EQ(FileBytes(UserCatalogue(services) + ".1.bak"), second);
}

} // namespace
} // namespace tolvan::test
