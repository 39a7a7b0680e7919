// The Office page on a hidden host over an installed-applications list that each test writes: the recognition
// program chosen by the system language or by the job's blob, the formats the listed programs allow and their
// corrections, the silent update and the first save, notifications, Default, hints, and entries and blobs from
// files that lack their terminators.
#include "mail_programs.h"
#include "page_host.h"

#include "driver/apinfo/ap_category.h"
#include "pages/office_page.h"
#include "pages/page_messages.h"
#include "res/resource.h"
#include "settings/fixed_string.h"
#include "settings/job_table.h"
#include "settings/stream_name.h"
#include "ui/controls.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace tolvan::test {
namespace {

using Texts = std::vector<std::string>;
using Blob = std::vector<uint8_t>;

constexpr uint32_t kDocumentCategory = apinfo::Category::kDocument;
constexpr uint32_t kRecognitionCategory = apinfo::Category::kRecognition;
constexpr uint16_t kOtherReaderId = 4300;
// The two recognition programs share a folder, as one program with two sets of language data does.
constexpr char kReaderFolder[] = "C:\\Program Files\\Reader\\";
constexpr char kOtherReaderFolder[] = "C:\\Scanner\\OCR\\";

using CCountingOfficePage = CCountingSaves<COfficePage>;

ApEntry Program(uint32_t category, uint16_t id, const char* name, const char* exe, const char* folder) {
    ApEntry e{};
    e.wApSize = kApEntrySize;
    e.dwApCategory = category;
    e.dwJobMask = JobMask::kOffice;
    e.dwApOptions = 0x1;
    e.dwFormats = OfficeBit::kAll;
    e.wApId = id;
    WriteField(e.szApName, name);
    WriteField(e.szExeName, exe);
    WriteField(e.szExeDir, folder);
    return e;
}

ApEntry Document(uint16_t id) {
    switch (id) {
    case OfficeApId::kWordProcessor:
        return Program(kDocumentCategory, id, "Writer", "writer.exe", "C:\\Writer\\");
    case OfficeApId::kSpreadsheet:
        return Program(kDocumentCategory, id, "Sheets", "sheets.exe", "C:\\Sheets\\");
    default:
        return Program(kDocumentCategory, id, "Editor", "editor.exe", "C:\\Windows\\");
    }
}

// In the file's order: a program of another id first, so that the two the page chooses by are not the first two.
std::vector<ApEntry> Readers() {
    return {
        Program(kRecognitionCategory, kOtherReaderId, "Scanner OCR", "ocr.exe", kOtherReaderFolder),
        Program(kRecognitionCategory, OfficeApId::kChineseRecognition, "Reader (Chinese)", "reader.exe", kReaderFolder),
        Program(kRecognitionCategory, OfficeApId::kRecognition, "Reader", "reader.exe", kReaderFolder)};
}

std::vector<ApEntry> AllPrograms(std::vector<uint16_t> documents = {4109, 4110, 4111}) {
    std::vector<ApEntry> entries = Readers();
    for (uint16_t id : documents)
        entries.push_back(Document(id));
    return entries;
}

JobRecord OfficeRecord(uint32_t format, uint32_t stored = 1) {
    JobRecord r = MakeRecord(JobMask::kOffice);
    r.dwStored = stored;
    r.ap.dwApCategory = kRecognitionCategory;
    r.ap.dwFormats = OfficeBit::kAll;
    r.ap.dwFormat = format;
    r.ap.dwExtraLen = kOfficeBlobSize;
    WriteField(r.ap.szExt, ".DOC");
    return r;
}

Blob MakeBlob(uint16_t id, const char* folder) {
    Blob blob(kOfficeBlobSize, 0);
    blob[0] = static_cast<uint8_t>(id & 0xFF);
    blob[1] = static_cast<uint8_t>(id >> 8);
    std::memcpy(blob.data() + 2, folder, std::strlen(folder));
    return blob;
}

class OfficePageTest : public testing::Test {
protected:
    ScratchFolder scratch;
    TestServices services{scratch};
    PageHost host;
    std::unique_ptr<CCountingOfficePage> page;

    void SetUp() override { InstallApplications(services, AllPrograms()); }

    void Open(const JobRecord& record, const Blob& blob = Blob(kOfficeBlobSize, 0)) {
        page.reset();
        host.Clear();
        Bytes bytes = RecordBytes(record);
        bytes.insert(bytes.end(), blob.begin(), blob.end());
        CompoundFileBuilder builder(services.SettingsFile());
        builder.Stream({"Model", "Setting", JobStreamName(JobMask::kOffice).c_str()}, bytes);
        builder.Stream({"Model", "SpecInfo"}, SpecInfo(JobMask::kOffice));
        builder.Finish();
        page = std::make_unique<CCountingOfficePage>(&services);
        ASSERT_TRUE(OpenPage(*page, services, host));
    }

    Texts Items(int id) const { return ComboItems(*page, id); }
    std::string Chosen(int id) const { return ComboChoice(*page, id); }
    void Choose(int id, const char* text) { ASSERT_TRUE(ChooseEntry(*page, id, text)) << text; }
    bool Enabled(int id) const { return ::IsWindowEnabled(page->Item(id)) != FALSE; }
    const JobRecord& Working() const { return page->Working(); }
    uint32_t Format() const { return Working().ap.dwFormat; }
    std::string Ext() const { return std::string(ReadField(Working().ap.szExt)); }
    uint16_t DocumentId() const { return Working().ap.wApId; }
    uint16_t ReaderId() const { return OfficeBlobApId(page->WorkingExtra()); }
    std::string ReaderFolder() const { return std::string(OfficeBlobFolder(page->WorkingExtra())); }
    Blob StoredBlob() const {
        const std::optional<Bytes> bytes =
            ReadStream(services.SettingsFile(), {"Model", "Setting", JobStreamName(JobMask::kOffice).c_str()});
        if (!bytes || bytes->size() < kJobRecordSize)
            return {};
        return Blob(bytes->begin() + kJobRecordSize, bytes->end());
    }
};

TEST_F(OfficePageTest, TheSystemLanguageChoosesTheRecognitionProgramOfANewJob) {
    struct Case {
        const char* language;
        const char* shown;
        uint16_t id;
    };
    const Case cases[] = {
        {"enu", "Reader", OfficeApId::kRecognition},
        {"DEU", "Reader", OfficeApId::kRecognition},
        {"CHT", "Reader (Chinese)", OfficeApId::kChineseRecognition},
        {"cht", "Reader (Chinese)", OfficeApId::kChineseRecognition},
        {"chs", "Reader (Chinese)", OfficeApId::kChineseRecognition},
        {"ChS", "Reader (Chinese)", OfficeApId::kChineseRecognition},
        {"", "Scanner OCR", kOtherReaderId}, // no language at all: the first program listed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        services.language = c.language;
        Open(OfficeRecord(OfficeBit::kDoc, 0));
        EXPECT_EQ(Items(IDC_RECOGNITION_APPLICATION), (Texts{"Scanner OCR", "Reader (Chinese)", "Reader"}));
        // The entry shown is the program stored, even when it is not among the first two entries.
        EXPECT_EQ(Chosen(IDC_RECOGNITION_APPLICATION), c.shown);
        EXPECT_EQ(ReaderId(), c.id);
        EXPECT_EQ(ReaderFolder(), c.id == kOtherReaderId ? kOtherReaderFolder : kReaderFolder);
        const bool chinese = c.id == OfficeApId::kChineseRecognition;
        EXPECT_EQ(Items(IDC_FORMAT_LIST), chinese ? (Texts{"TXT", "DOC"}) : (Texts{"TXT", "RTF", "XLS", "DOC"}));
        EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "DOC");
        EXPECT_EQ(DocumentId(), OfficeApId::kWordProcessor);
        EXPECT_EQ(ReadField(Working().ap.szExeName), "writer.exe");
        EXPECT_EQ(Ext(), ".DOC");
        EXPECT_EQ(uint32_t{Working().ap.dwFormats}, OfficeBit::kAll);
        // Written once, blob and all, before anyone touched the page.
        EXPECT_EQ(page->saves, 1);
        EXPECT_FALSE(page->IsDirty());
        EXPECT_TRUE(host.changed.empty());
        EXPECT_EQ(StoredRecord(services.SettingsFile(), JobMask::kOffice).dwStored, 1u);
        EXPECT_EQ(StoredBlob(), page->WorkingExtra());
        EXPECT_FALSE(page->IsUnavailable());
    }
}

TEST_F(OfficePageTest, TheJobsOwnProgramWinsAndAChangedBlobIsWrittenAtOnce) {
    // Stored with the Chinese program on an English system: it stays, and so does the file.
    Open(OfficeRecord(OfficeBit::kDoc), MakeBlob(OfficeApId::kChineseRecognition, kReaderFolder));
    EXPECT_EQ(Chosen(IDC_RECOGNITION_APPLICATION), "Reader (Chinese)");
    EXPECT_EQ(Items(IDC_FORMAT_LIST), (Texts{"TXT", "DOC"}));
    EXPECT_EQ(page->saves, 0);
    EXPECT_FALSE(page->IsDirty());

    struct Case {
        const char* what;
        Blob blob;
    };
    Blob unterminated(kOfficeBlobSize, 'x');
    unterminated[0] = static_cast<uint8_t>(OfficeApId::kRecognition & 0xFF);
    unterminated[1] = static_cast<uint8_t>(OfficeApId::kRecognition >> 8);
    const Case refreshed[] = {
        {"the program moved", MakeBlob(OfficeApId::kRecognition, "D:\\Old Reader\\")},
        {"an id the page does not know", MakeBlob(4999, kReaderFolder)},
        {"a folder without its terminator", unterminated},
    };
    for (const Case& c : refreshed) {
        SCOPED_TRACE(c.what);
        Open(OfficeRecord(OfficeBit::kDoc), c.blob);
        EXPECT_EQ(Chosen(IDC_RECOGNITION_APPLICATION), "Reader");
        EXPECT_EQ(ReaderId(), OfficeApId::kRecognition);
        EXPECT_EQ(ReaderFolder(), kReaderFolder);
        EXPECT_EQ(page->saves, 1);
        EXPECT_FALSE(page->IsDirty());
        EXPECT_TRUE(host.changed.empty());
        EXPECT_EQ(StoredBlob(), page->WorkingExtra());
    }
}

TEST_F(OfficePageTest, TheChineseProgramOffersNoRtfOrSheet) {
    services.language = "cht";
    for (uint32_t stored : {OfficeBit::kRtf, OfficeBit::kXls}) {
        Open(OfficeRecord(stored, 0));
        EXPECT_EQ(ReaderId(), OfficeApId::kChineseRecognition);
        EXPECT_EQ(Items(IDC_FORMAT_LIST), (Texts{"TXT", "DOC"}));
        EXPECT_EQ(Format(), OfficeBit::kDoc);
        EXPECT_EQ(Ext(), ".DOC");
        EXPECT_EQ(page->saves, 1);
        EXPECT_EQ(uint32_t{StoredRecord(services.SettingsFile(), JobMask::kOffice).ap.dwFormat}, OfficeBit::kDoc);
    }

    // Switching programs on an English system, with the sheet chosen: the Chinese program takes RTF and XLS
    // away and makes a document; switching back gives them back after DOC and keeps DOC.
    services.language = "enu";
    Open(OfficeRecord(OfficeBit::kXls), MakeBlob(OfficeApId::kRecognition, kReaderFolder));
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "XLS");
    EXPECT_EQ(DocumentId(), OfficeApId::kSpreadsheet);
    Choose(IDC_RECOGNITION_APPLICATION, "Reader (Chinese)");
    EXPECT_EQ(Items(IDC_FORMAT_LIST), (Texts{"TXT", "DOC"}));
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "DOC");
    EXPECT_EQ(Format(), OfficeBit::kDoc);
    EXPECT_EQ(Ext(), ".DOC");
    EXPECT_EQ(DocumentId(), OfficeApId::kWordProcessor);
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));
    Choose(IDC_RECOGNITION_APPLICATION, "Reader");
    EXPECT_EQ(Items(IDC_FORMAT_LIST), (Texts{"TXT", "DOC", "RTF", "XLS"}));
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "DOC");
    EXPECT_EQ(ReaderId(), OfficeApId::kRecognition);
}

TEST_F(OfficePageTest, WithoutAWordProcessorDocumentsBecomeText) {
    InstallApplications(services, AllPrograms({OfficeApId::kSpreadsheet, OfficeApId::kTextEditor}));
    for (uint32_t stored : {OfficeBit::kDoc, OfficeBit::kRtf}) {
        Open(OfficeRecord(stored), MakeBlob(OfficeApId::kRecognition, kReaderFolder));
        EXPECT_EQ(Items(IDC_FORMAT_LIST), (Texts{"TXT", "XLS"}));
        EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "TXT");
        EXPECT_EQ(Format(), OfficeBit::kTxt);
        EXPECT_EQ(Ext(), ".TXT");
        EXPECT_EQ(DocumentId(), OfficeApId::kTextEditor);
        // A stored job whose format had to change is a change to apply.
        EXPECT_TRUE(page->IsDirty());
        EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));
    }
    // Default asks for DOC, which cannot be had: TXT is the default, and a page already there stays as it is.
    JobRecord text = OfficeRecord(OfficeBit::kTxt);
    WriteField(text.ap.szExt, ".TXT");
    Open(text, MakeBlob(OfficeApId::kRecognition, kReaderFolder));
    page->Send(kRestoreDefaults);
    EXPECT_TRUE(host.changed.empty());
    EXPECT_FALSE(page->IsDirty());
}

TEST_F(OfficePageTest, OnlyARealChangeIsNotified) {
    Open(OfficeRecord(OfficeBit::kDoc), MakeBlob(OfficeApId::kRecognition, kReaderFolder));
    Choose(IDC_RECOGNITION_APPLICATION, "Reader");
    Choose(IDC_FORMAT_LIST, "DOC");
    EXPECT_TRUE(host.changed.empty());
    EXPECT_FALSE(page->IsDirty());

    // The Chinese program lives in the same folder: its id alone makes the change.
    Choose(IDC_RECOGNITION_APPLICATION, "Reader (Chinese)");
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));
    EXPECT_TRUE(page->IsDirty());

    Open(OfficeRecord(OfficeBit::kDoc), MakeBlob(OfficeApId::kRecognition, kReaderFolder));
    Choose(IDC_FORMAT_LIST, "TXT");
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));
    EXPECT_EQ(Format(), OfficeBit::kTxt);
    EXPECT_EQ(Ext(), ".TXT");
    EXPECT_EQ(DocumentId(), OfficeApId::kTextEditor);
    EXPECT_EQ(ReadField(Working().ap.szApName), "Editor");
    Choose(IDC_FORMAT_LIST, "RTF");
    EXPECT_EQ(DocumentId(), OfficeApId::kWordProcessor);
    EXPECT_EQ(Ext(), ".RTF");

    // Applied, the page is clean and the file holds what it shows.
    ASSERT_TRUE(SUCCEEDED(services.OpenSettingsFile(StgMode::kReadWrite)));
    EXPECT_TRUE(SUCCEEDED(page->Save(JobMask::kOffice, *services.GetSettingsStore())));
    services.GetSettingsStore()->Close();
    EXPECT_FALSE(page->IsDirty());
    EXPECT_TRUE(SameBytes(StoredRecord(services.SettingsFile(), JobMask::kOffice), Working()));
    EXPECT_EQ(StoredBlob(), page->WorkingExtra());
}

TEST_F(OfficePageTest, DefaultIsADocumentFromTheLanguagesProgram) {
    Open(OfficeRecord(OfficeBit::kDoc), MakeBlob(OfficeApId::kRecognition, kReaderFolder));
    page->Send(kRestoreDefaults);
    EXPECT_TRUE(host.changed.empty());
    EXPECT_FALSE(page->IsDirty());

    JobRecord record = OfficeRecord(OfficeBit::kTxt);
    WriteField(record.ap.szExt, ".TXT");
    Open(record, MakeBlob(OfficeApId::kChineseRecognition, kReaderFolder));
    page->Send(kRestoreDefaults);
    EXPECT_EQ(Chosen(IDC_RECOGNITION_APPLICATION), "Reader");
    EXPECT_EQ(ReaderId(), OfficeApId::kRecognition);
    EXPECT_EQ(Items(IDC_FORMAT_LIST), (Texts{"TXT", "DOC", "RTF", "XLS"}));
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "DOC");
    EXPECT_EQ(Format(), OfficeBit::kDoc);
    EXPECT_EQ(Ext(), ".DOC");
    EXPECT_TRUE(page->IsDirty());
    EXPECT_FALSE(host.changed.empty());
}

TEST_F(OfficePageTest, WithoutProgramsThePageOffersNothing) {
    // No recognition program: nothing to choose, nothing stored, no change ever notified.
    InstallApplications(services, {Document(OfficeApId::kWordProcessor), Document(OfficeApId::kTextEditor)});
    Open(OfficeRecord(OfficeBit::kDoc, 0));
    EXPECT_TRUE(page->IsUnavailable());
    EXPECT_TRUE(Items(IDC_RECOGNITION_APPLICATION).empty());
    EXPECT_FALSE(Enabled(IDC_FORMAT_LIST));
    EXPECT_EQ(page->saves, 0);
    ASSERT_TRUE(ChooseScanMode(*page, StringText(IDS_SCAN_MODE_COLOR).c_str()));
    MoveResolution(*page, 4);
    page->Send(kRestoreDefaults);
    EXPECT_TRUE(host.changed.empty());
    PointAt(*page, IDC_RECOGNITION_APPLICATION);
    PointAt(*page, 0);
    PointAt(*page, IDC_FORMAT_LIST);
    EXPECT_EQ(host.hints, (std::vector<WPARAM>{IDS_NO_RECOGNITION_APPLICATION, IDS_OFFICE_PAGE, IDS_FILE_FORMAT}));

    // Recognition but no document program: no format can be had, yet the choice of program is stored.
    InstallApplications(services, Readers());
    Open(OfficeRecord(OfficeBit::kDoc, 0));
    EXPECT_FALSE(page->IsUnavailable());
    EXPECT_EQ(Chosen(IDC_RECOGNITION_APPLICATION), "Reader");
    EXPECT_TRUE(Items(IDC_FORMAT_LIST).empty());
    EXPECT_FALSE(Enabled(IDC_FORMAT_LIST));
    EXPECT_EQ(page->saves, 1);
    PointAt(*page, IDC_RECOGNITION_APPLICATION);
    EXPECT_EQ(host.hints.back(), WPARAM{IDS_RECOGNITION_APPLICATION});

    // A list the module refuses: the page keeps only its scan settings and is not even marked unavailable.
    {
        char user[260];
        services.GetUserFolder(user);
        FILE* f = std::fopen((std::string(user) + "\\InApInfo.dat").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("not a list", f);
        std::fclose(f);
    }
    Open(OfficeRecord(OfficeBit::kDoc, 0));
    EXPECT_TRUE(Items(IDC_RECOGNITION_APPLICATION).empty());
    EXPECT_FALSE(page->IsUnavailable());
    EXPECT_EQ(page->saves, 0);
}

TEST_F(OfficePageTest, EntriesAndRecordsFromFilesAreBounded) {
    // Entries whose texts run to the end of their fields name no program: they are not listed.
    std::vector<ApEntry> entries = AllPrograms();
    ApEntry longName = Program(kRecognitionCategory, OfficeApId::kRecognition, "", "long.exe", "C:\\Long\\");
    std::memset(longName.szApName, 'n', sizeof longName.szApName);
    ApEntry longFolder = Program(kRecognitionCategory, OfficeApId::kRecognition, "Long", "long.exe", "");
    std::memset(longFolder.szExeDir, 'd', sizeof longFolder.szExeDir);
    ApEntry longWriter = Document(OfficeApId::kWordProcessor);
    std::memset(longWriter.szExeName, 'w', sizeof longWriter.szExeName);
    entries.insert(entries.begin(), {longName, longFolder, longWriter});
    InstallApplications(services, entries);

    // A format outside the table becomes the first one listed, with the program that opens it.
    JobRecord record = OfficeRecord(0x1);
    WriteField(record.ap.szExt, ".BMP");
    Open(record, MakeBlob(OfficeApId::kRecognition, kReaderFolder));
    EXPECT_EQ(Items(IDC_RECOGNITION_APPLICATION), (Texts{"Scanner OCR", "Reader (Chinese)", "Reader"}));
    EXPECT_EQ(Chosen(IDC_RECOGNITION_APPLICATION), "Reader");
    EXPECT_EQ(Chosen(IDC_FORMAT_LIST), "TXT");
    EXPECT_EQ(Format(), OfficeBit::kTxt);
    EXPECT_EQ(Ext(), ".TXT");
    EXPECT_EQ(DocumentId(), OfficeApId::kTextEditor);
    Choose(IDC_FORMAT_LIST, "DOC");
    EXPECT_EQ(ReadField(Working().ap.szExeName), "writer.exe");
}

} // namespace
} // namespace tolvan::test
