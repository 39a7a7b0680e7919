// The File page on real windows: its set-up with the default folder and the first save, the Save As dialog
// driven as the user drives it (names, types, the JPEG quality panel, OK and Cancel), the scan mode follow-ups,
// restoring defaults, the scroll messages and the colours.
#include "page_host.h"
#include "save_as_driver.h"

#include "pages/file_page.h"
#include "pages/page_messages.h"
#include "res/resource.h"
#include "settings/fixed_string.h"
#include "settings/job_table.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace tolvan::test {
namespace {

constexpr char kBitmapType[] = "Bitmap files (*.bmp)";
constexpr char kTiffType[] = "Tiff files (*.tif)";
constexpr char kGifType[] = "Gif files (*.gif)";
constexpr char kPngType[] = "Png files (*.png)";
constexpr char kJpegType[] = "JPEG files (*.jpg)";
constexpr char kPdfType[] = "PDF files (*.pdf)";

bool IsFolder(const std::string& path) {
    const DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The page with the system's special folders moved into the test's scratch folder.
class CTestFilePage : public CFilePage {
public:
    CTestFilePage(CAppServices* app, std::string pictures, std::string documents)
        : CFilePage(app), m_pictures(std::move(pictures)), m_documents(std::move(documents)) {}

    mutable std::vector<int> asked;

protected:
    bool SpecialFolder(int csidl, char (&path)[260]) const override {
        asked.push_back(csidl);
        const std::string& folder = csidl == CSIDL_MYPICTURES ? m_pictures : m_documents;
        ::CreateDirectoryA(folder.c_str(), nullptr);
        return WriteField(path, folder);
    }

private:
    std::string m_pictures;
    std::string m_documents;
};

class FilePageTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(::CreateDirectoryA(target.c_str(), nullptr)); }

    JobRecord Record() const {
        JobRecord record = MakeRecord(JobMask::kFile);
        WriteField(record.ap.szFolder, target);
        WriteField(record.ap.szFilePrefix, "scan");
        return record;
    }
    void Open(const JobRecord& record) {
        WriteRecords(services.SettingsFile(), JobMask::kFile, {record});
        page.reset();
        page = std::make_unique<CTestFilePage>(&services, pictures, documents);
        ASSERT_TRUE(OpenPage(*page, services, host));
        host.Clear();
    }
    JobRecord Stored() const { return StoredRecord(services.SettingsFile(), JobMask::kFile); }
    // Presses the browse button; answer gets the Save As dialog and must end it.
    void Browse(std::function<void(SaveAsDialog&)> answer) {
        SaveAsAnswer saveAs(std::move(answer));
        SendCommand(*page, IDC_TARGET_BROWSE, BN_CLICKED);
        EXPECT_TRUE(saveAs.Answered()) << "no Save As dialog came up";
    }
    std::string DefaultFolder() const { return pictures + "\\Scan Pictures\\"; }

    ScratchFolder scratch;
    std::string target = scratch.File("Target") + "\\";
    std::string pictures = scratch.File("Pictures");
    std::string documents = scratch.File("Documents");
    TestServices services{scratch};
    PageHost host;
    std::unique_ptr<CTestFilePage> page;
};

TEST_F(FilePageTest, FirstRunFillsInTheDefaultFolderCreatesItAndStoresTheRecordOnce) {
    JobRecord record = Record();
    WriteField(record.ap.szFolder, "");
    record.dwStored = 0;
    Open(record);
    EXPECT_EQ(page->asked, std::vector<int>{CSIDL_MYPICTURES});
    EXPECT_EQ(ReadField(page->Working().ap.szFolder), DefaultFolder());
    EXPECT_TRUE(IsFolder(DefaultFolder()));
    EXPECT_EQ(page->PathText(), DefaultFolder() + "scan.BMP");
    EXPECT_EQ(ItemText(page->Handle(), IDC_TARGET_PATH), page->PathText());

    const JobRecord stored = Stored();
    EXPECT_EQ(stored.dwStored, 1u);
    EXPECT_TRUE(SameBytes(stored, page->Working()));
    EXPECT_TRUE(SameBytes(page->Saved(), page->Working()));
    EXPECT_FALSE(page->IsDirty());

    // A record stored before is not written again, even though the page fills in its empty folder.
    record.dwStored = 1;
    Open(record);
    EXPECT_EQ(ReadField(page->Working().ap.szFolder), DefaultFolder());
    EXPECT_TRUE(SameBytes(Stored(), record));
    EXPECT_TRUE(SameBytes(page->Saved(), record));
    EXPECT_FALSE(page->IsDirty());
    EXPECT_TRUE(host.changed.empty());
}

TEST_F(FilePageTest, OtherSystemsKeepScansUnderMyPicturesInTheDocumentsFolder) {
    TestServices other(scratch, /*ntFamily=*/false);
    JobRecord record = Record();
    WriteField(record.ap.szFolder, "");
    WriteRecords(other.SettingsFile(), JobMask::kFile, {record});
    CTestFilePage otherPage(&other, pictures, documents);
    ASSERT_TRUE(OpenPage(otherPage, other, host));
    const std::string folder = documents + "\\My Pictures\\Scan Pictures\\";
    EXPECT_EQ(otherPage.asked, std::vector<int>{CSIDL_PERSONAL});
    EXPECT_EQ(ReadField(otherPage.Working().ap.szFolder), folder);
    EXPECT_TRUE(IsFolder(folder)); // "My Pictures" on the way too
}

TEST_F(FilePageTest, TheSystemsOwnPicturesFolderHoldsTheDefault) {
    char pictures[MAX_PATH] = {};
    ASSERT_TRUE(::SHGetSpecialFolderPathA(nullptr, pictures, CSIDL_MYPICTURES, TRUE));
    JobRecord record = Record();
    WriteField(record.ap.szFolder, "");
    WriteRecords(services.SettingsFile(), JobMask::kFile, {record});
    CFilePage systemPage(&services);
    ASSERT_TRUE(OpenPage(systemPage, services, host));
    EXPECT_EQ(ReadField(systemPage.Working().ap.szFolder), std::string(pictures) + "\\Scan Pictures\\");
    EXPECT_TRUE(IsFolder(std::string(pictures) + "\\Scan Pictures"));
}

TEST_F(FilePageTest, ANameTypedWithAnotherExtensionKeepsItAndGetsTheTypes) {
    Open(Record());
    Browse([](SaveAsDialog& d) {
        EXPECT_EQ(d.CurrentType(), kBitmapType);
        EXPECT_EQ(d.FileName(), "scan");
        d.TypeName("scan.jpg");
        d.Ok();
    });
    const ApEntry& chosen = page->Working().ap;
    EXPECT_EQ(ReadField(chosen.szFolder), target);
    EXPECT_EQ(ReadField(chosen.szFilePrefix), "scan.jpg");
    EXPECT_EQ(ReadField(chosen.szExt), ".bmp");
    EXPECT_EQ(chosen.dwFormat, 0x1u);
    EXPECT_EQ(page->PathText(), target + "scan.jpg.bmp");
    EXPECT_EQ(ItemText(page->Handle(), IDC_TARGET_PATH), page->PathText());
    EXPECT_EQ(host.changed, std::vector<WPARAM>{1});
    EXPECT_TRUE(SameBytes(page->Saved(), Record())) << "nothing is saved before Apply";
}

TEST_F(FilePageTest, TheQualityPanelBelongsToTheJpegTypeAndItsSliderSetsTheQuality) {
    JobRecord record = Record();
    record.ap.wQuality = 80;
    Open(record);
    Browse([&](SaveAsDialog& d) {
        ASSERT_NE(d.Panel(), nullptr);
        EXPECT_FALSE(d.QualityShown());
        ASSERT_TRUE(d.ChooseType(kJpegType));
        EXPECT_TRUE(d.QualityShown());
        EXPECT_EQ(d.QualityPosition(), 80);
        EXPECT_EQ(d.QualityText(), "80");
        d.MoveQuality(40);
        EXPECT_EQ(d.QualityText(), "40");
        EXPECT_EQ(services.GetQuality(), 40);
        ASSERT_TRUE(d.ChooseType(kTiffType));
        EXPECT_FALSE(d.QualityShown());
        ASSERT_TRUE(d.ChooseType(kJpegType));
        EXPECT_TRUE(d.QualityShown());
        d.TypeName("photo");
        d.Ok();
    });
    const ApEntry& chosen = page->Working().ap;
    EXPECT_EQ(ReadField(chosen.szFilePrefix), "photo");
    EXPECT_EQ(ReadField(chosen.szExt), ".jpg");
    EXPECT_EQ(chosen.dwFormat, 0x8u);
    EXPECT_EQ(chosen.wQuality, 40);
}

TEST_F(FilePageTest, CancelChangesNothingWhateverWasDoneInTheDialog) {
    JobRecord record = Record();
    record.ap.wQuality = 80;
    Open(record);
    Browse([](SaveAsDialog& d) {
        d.ChooseType(kJpegType);
        d.MoveQuality(10);
        d.TypeName("other");
        d.Cancel();
    });
    EXPECT_TRUE(SameBytes(page->Working(), record));
    EXPECT_FALSE(page->IsDirty());
    EXPECT_TRUE(host.changed.empty());
    EXPECT_EQ(page->PathText(), target + "scan.BMP");
}

TEST_F(FilePageTest, EachScanModeOffersItsTypesWithTheFormatsTypeChosen) {
    struct Case {
        uint16_t mode;
        uint32_t format;
        const char* ext;
        const char* chosen;
        const char* missing;
    };
    const Case cases[] = {
        {1, 0x20, ".png", kPngType, kGifType},
        {2, 0x40, ".gif", kGifType, nullptr},
        {4, 0x400, ".pdf", kPdfType, kJpegType},
        {2, 0x8, ".jpg", kJpegType, nullptr},
    };
    for (const Case& c : cases) {
        JobRecord record = Record();
        record.wColorMode = c.mode;
        record.ap.dwFormat = c.format;
        WriteField(record.ap.szExt, c.ext);
        Open(record);
        Browse([&](SaveAsDialog& d) {
            EXPECT_EQ(d.CurrentType(), c.chosen) << c.mode;
            if (c.missing) {
                EXPECT_FALSE(Contains(d.Types(), c.missing)) << c.mode;
            }
            EXPECT_EQ(d.QualityShown(), std::string(c.chosen) == kJpegType) << c.mode;
            d.Cancel();
        });
    }
}

// The dialog is opened on the type of the record's format, then moved to the type of its stored extension.
// The dialog itself must be told of that move: otherwise it completes a bare name with the first type's
// extension while the page reads the other type back, and the file gets both.
TEST_F(FilePageTest, AStoredExtensionOfAnotherTypeIsTheTypeTheDialogCompletesNamesWith) {
    JobRecord record = Record();
    record.ap.dwFormat = 0x1;
    WriteField(record.ap.szExt, ".png");
    Open(record);
    Browse([](SaveAsDialog& d) {
        EXPECT_EQ(d.CurrentType(), kPngType);
        d.TypeName("page");
        d.Ok();
    });
    EXPECT_EQ(ReadField(page->Working().ap.szFilePrefix), "page");
    EXPECT_EQ(ReadField(page->Working().ap.szExt), ".png");
    EXPECT_EQ(page->Working().ap.dwFormat, 0x20u);
}

TEST_F(FilePageTest, AnAnswerThatDoesNotFitTheRecordChangesNothing) {
    // Without a known scan mode the dialog offers no types, so a typed extension is kept whatever its length.
    JobRecord record = Record();
    record.wColorMode = 8;
    Open(record);
    Browse([](SaveAsDialog& d) {
        EXPECT_TRUE(d.Types().empty());
        d.TypeName("scan.extension");
        d.Ok();
    });
    EXPECT_TRUE(SameBytes(page->Working(), record));
    EXPECT_TRUE(host.changed.empty());

    // A path longer than the dialog may hand back.
    Open(Record());
    Browse([&](SaveAsDialog& d) {
        d.TypeName(target + std::string(220 - target.size(), 'n'));
        d.Ok();
    });
    EXPECT_TRUE(SameBytes(page->Working(), Record()));
    EXPECT_TRUE(host.changed.empty());
}

TEST_F(FilePageTest, ScanModesThatCannotHaveTheFormatFallBackToBitmap) {
    JobRecord record = Record();
    record.ap.dwFormat = 0x40;
    WriteField(record.ap.szExt, ".GIF");
    Open(record);
    ASSERT_TRUE(ChooseScanMode(*page, StringText(IDS_SCAN_MODE_COLOR).c_str()));
    EXPECT_EQ(page->Working().ap.dwFormat, 0x1u);
    EXPECT_EQ(ReadField(page->Working().ap.szExt), ".bmp");
    EXPECT_EQ(ItemText(page->Handle(), IDC_TARGET_PATH), target + "scan.bmp");
    EXPECT_EQ(host.changed, std::vector<WPARAM>{1});

    record.ap.dwFormat = 0x8;
    WriteField(record.ap.szExt, ".jpg");
    Open(record);
    ASSERT_TRUE(ChooseScanMode(*page, StringText(IDS_SCAN_MODE_BLACK_WHITE).c_str()));
    EXPECT_EQ(page->Working().ap.dwFormat, 0x1u);
    EXPECT_EQ(ReadField(page->Working().ap.szExt), ".BMP");
    EXPECT_EQ(ItemText(page->Handle(), IDC_TARGET_PATH), target + "scan.BMP");

    // Grayscale takes every format.
    ASSERT_TRUE(ChooseScanMode(*page, StringText(IDS_SCAN_MODE_GRAY).c_str()));
    EXPECT_EQ(ReadField(page->Working().ap.szExt), ".BMP");
    record.ap.dwFormat = 0x40;
    WriteField(record.ap.szExt, ".gif");
    record.wColorMode = 4;
    Open(record);
    ASSERT_TRUE(ChooseScanMode(*page, StringText(IDS_SCAN_MODE_GRAY).c_str()));
    EXPECT_EQ(page->Working().ap.dwFormat, 0x40u);
    EXPECT_EQ(ReadField(page->Working().ap.szExt), ".gif");
}

TEST_F(FilePageTest, DefaultPutsBackBitmapQuality95TheNameAndTheDefaultFolder) {
    JobRecord record = Record();
    record.wColorMode = 4;
    record.wResolution = 600;
    record.ap.dwFormat = 0x20;
    record.ap.wQuality = 50;
    WriteField(record.ap.szExt, ".png");
    Open(record);
    page->Send(kRestoreDefaults);
    const JobRecord& working = page->Working();
    EXPECT_EQ(working.wColorMode, 2);
    EXPECT_EQ(working.wResolution, 300);
    EXPECT_EQ(working.ap.dwFormat, 0x1u);
    EXPECT_EQ(working.ap.wQuality, 95);
    EXPECT_EQ(services.GetQuality(), 95);
    EXPECT_EQ(ReadField(working.ap.szExt), ".BMP");
    EXPECT_EQ(ReadField(working.ap.szFilePrefix), "Image");
    EXPECT_EQ(ReadField(working.ap.szFolder), DefaultFolder());
    EXPECT_TRUE(IsFolder(DefaultFolder()));
    EXPECT_EQ(ItemText(page->Handle(), IDC_TARGET_PATH), DefaultFolder() + "Image.BMP");
    EXPECT_EQ(host.changed, std::vector<WPARAM>{1});
    EXPECT_TRUE(SameBytes(page->Saved(), record));
}

TEST_F(FilePageTest, DefaultOnDefaultsSendsNothingAndKeepsTheirCase) {
    JobRecord record = Record();
    WriteField(record.ap.szFolder, DefaultFolder());
    WriteField(record.ap.szFilePrefix, "IMAGE");
    WriteField(record.ap.szExt, ".bmp");
    Open(record);
    page->Send(kRestoreDefaults);
    EXPECT_TRUE(SameBytes(page->Working(), record));
    EXPECT_FALSE(page->IsDirty());
    EXPECT_TRUE(host.changed.empty());
}

TEST_F(FilePageTest, EveryHorizontalScrollOfThePageIsTheResolutions) {
    Open(Record());
    ::SendMessageA(page->Item(IDC_RESOLUTION), TBM_SETPOS, TRUE, 4);
    page->Send(WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), 0);
    EXPECT_EQ(page->Working().wResolution, 1200);
    EXPECT_EQ(ItemText(page->Handle(), IDC_RESOLUTION_CAPTION), StringText(IDS_RESOLUTION_1200));
    EXPECT_EQ(host.changed, std::vector<WPARAM>{1});
}

TEST_F(FilePageTest, ThePathKeepsTheDefaultColoursWhileLabelsShowThePageThrough) {
    Open(Record());
    HWND label = ::FindWindowExA(page->Handle(), nullptr, "Static", "Save to:");
    ASSERT_NE(label, nullptr);
    HDC dc = ::GetDC(page->Handle());
    const auto brushFor = [&](HWND control) {
        return reinterpret_cast<HGDIOBJ>(
            page->Send(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    };
    EXPECT_EQ(brushFor(label), ::GetStockObject(NULL_BRUSH));
    const HGDIOBJ pathBrush = brushFor(page->Item(IDC_TARGET_PATH));
    EXPECT_NE(pathBrush, ::GetStockObject(NULL_BRUSH));
    EXPECT_EQ(pathBrush, reinterpret_cast<HGDIOBJ>(
                             ::DefWindowProcA(page->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                              reinterpret_cast<LPARAM>(page->Item(IDC_TARGET_PATH)))));
    ::ReleaseDC(page->Handle(), dc);
}

} // namespace
} // namespace tolvan::test
