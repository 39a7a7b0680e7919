// The RAvud page on a hidden host over the test run's print spooler, whose queues are Office_Laser (the default),
// Colour_Inkjet and Team_Fax (scripts/cups test-queues): the printer chosen into the working copy only, a stored
// name that begins a printer's name, blobs from damaged files, what marks the page changed, the print dialog and
// the copy size dialog answered from the test thread, a failed save, restoring defaults and hints.
#include "control_host.h"
#include "dialog_answer.h"
#include "page_host.h"
#include "printer_page_driver.h"

#include "pages/page_messages.h"
#include "pages/ravud_page.h"
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

constexpr const char* kDefault = "Office_Laser";
constexpr const char* kOther = "Colour_Inkjet";

RAvudBlob Blob(const char* printer = "", const char* driver = "", uint16_t copySize = 0) {
    RAvudBlob blob{};
    blob.wCopyOption = copySize;
    WriteField(blob.szPrinterName, printer);
    WriteField(blob.szDriverName, driver);
    return blob;
}

Bytes BlobBytes(const RAvudBlob& blob) {
    Bytes bytes;
    WriteRAvudBlob(bytes, blob);
    return bytes;
}

int Copies(const RAvudBlob& blob) {
    short copies;
    std::memcpy(&copies, blob.abDevMode + offsetof(DEVMODEA, dmCopies), sizeof copies);
    return copies;
}

class FailingWriter : public IJobWriter {
public:
    int calls = 0;
    HRESULT WriteJob(const char*, uint32_t, const JobRecord*, const uint8_t*) override {
        ++calls;
        return STG_E_MEDIUMFULL;
    }
};

class RAvudPageTest : public testing::Test {
protected:
    ScratchFolder scratch;
    TestServices services{scratch};
    PageHost host;
    std::unique_ptr<CRAvudPage> page;

    void Open(const Bytes& blob) {
        page.reset();
        host.Clear();
        JobRecord record = MakeRecord(JobMask::kRAvud);
        record.ap.dwExtraLen = static_cast<uint32_t>(blob.size());
        Bytes stream = RecordBytes(record);
        stream.insert(stream.end(), blob.begin(), blob.end());
        CompoundFileBuilder builder(services.SettingsFile());
        builder.Stream({"Model", "Setting", JobStreamName(JobMask::kRAvud).c_str()}, stream);
        builder.Stream({"Model", "SpecInfo"}, SpecInfo(JobMask::kRAvud));
        builder.Storage({"Model", "Setting", "ProBtn"});
        builder.Finish();
        page = std::make_unique<CRAvudPage>(&services);
        ASSERT_TRUE(OpenPage(*page, services, host));
    }
    void Open(const RAvudBlob& blob) { Open(BlobBytes(blob)); }

    Bytes StoredStream() const {
        return ReadStream(services.SettingsFile(), {"Model", "Setting", JobStreamName(JobMask::kRAvud).c_str()})
            .value_or(Bytes{});
    }
    Texts Printers() const { return ListedPrinters(*page); }
    std::string Chosen() const { return ChosenPrinter(*page); }
    void Choose(const char* printer) { ASSERT_TRUE(ChoosePrinter(*page, printer)) << printer; }
    bool Properties(std::function<void(PrintDialog&)> answer) { return PressProperties(*page, std::move(answer)); }
    // Presses the copy size button; answer gets the dialog's description text and ends it with a button id.
    bool CopySize(std::function<int(HWND dialog, std::string text)> answer) {
        DialogAnswer modal([](HWND window) { return IsDialogWith(window, IDC_COPY_SIZE_PICTURE); },
                           [&](HWND window) {
                               PumpMessages();
                               char text[260] = {};
                               ::GetDlgItemTextA(window, IDC_COPY_SIZE_TEXT, text, sizeof text);
                               const int button = answer(window, text);
                               ::SendMessageA(::GetDlgItem(window, button), BM_CLICK, 0, 0);
                           });
        SendCommand(*page, IDC_COPY_SIZE_BUTTON, BN_CLICKED);
        return modal.Answered();
    }
    std::string WorkingName() const { return std::string(ReadField(page->WorkingBlob().szPrinterName)); }
};

TEST_F(RAvudPageTest, ChoosesTheDefaultPrinterIntoTheWorkingCopyOnlyAndNeverAFax) {
    // The driver's template: a zeroed blob.
    Open(Bytes(kRAvudBlobSize, 0));
    EXPECT_EQ(Printers(), (Texts{kOther, kDefault}));
    EXPECT_EQ(page->ListedPrinterCount(), 2u);
    EXPECT_FALSE(page->IsUnavailable());
    EXPECT_EQ(Chosen(), kDefault);
    const RAvudBlob working = page->WorkingBlob();
    EXPECT_EQ(ReadField(working.szPrinterName), kDefault);
    EXPECT_EQ(ReadField(working.szDriverName), kDefault) << "the spooler names each queue's driver after it";
    EXPECT_EQ(ReadField(reinterpret_cast<const char(&)[32]>(working.abDevMode)), kDefault);
    // No first save, and nothing the user changed.
    EXPECT_EQ(page->SavedExtra(), Bytes(kRAvudBlobSize, 0));
    EXPECT_FALSE(page->IsDirty());
    EXPECT_TRUE(host.changed.empty());
    const Bytes stream = StoredStream();
    ASSERT_EQ(stream.size(), kJobRecordSize + kRAvudBlobSize);
    EXPECT_EQ(Bytes(stream.begin() + kJobRecordSize, stream.end()), Bytes(kRAvudBlobSize, 0));
}

TEST_F(RAvudPageTest, AStoredNameBeginningAPrintersNameSelectsItAndStaysAsStored) {
    Open(Blob("colour", "x", 3));
    EXPECT_EQ(Chosen(), kOther);
    EXPECT_EQ(WorkingName(), "colour");
    EXPECT_EQ(ReadField(page->WorkingBlob().szDriverName), "x");
    EXPECT_EQ(page->WorkingExtra(), page->SavedExtra());

    // A name that begins no printer's: the default printer.
    Open(Blob("Colour_Inkjet_2", "x", 3));
    EXPECT_EQ(Chosen(), kDefault);
    EXPECT_EQ(WorkingName(), kDefault);
    EXPECT_EQ(page->WorkingBlob().wCopyOption, 3);
}

TEST_F(RAvudPageTest, BlobsFromDamagedFilesGetADefinedOutcome) {
    // Names without terminators and an absurd copy size.
    RAvudBlob damaged{};
    damaged.wCopyOption = 0xFFFF;
    std::memset(damaged.szPrinterName, 'P', sizeof damaged.szPrinterName);
    std::memset(damaged.szDriverName, 'D', sizeof damaged.szDriverName);
    Open(damaged);
    EXPECT_EQ(Chosen(), kDefault);
    EXPECT_EQ(WorkingName(), kDefault);
    EXPECT_EQ(page->WorkingBlob().szDriverName[31], '\0');
    // The copy size opens as same size; OK on it leaves the stored value alone and the page unchanged.
    EXPECT_TRUE(CopySize([](HWND, const std::string& text) {
        EXPECT_EQ(text, StringText(IDS_COPY_SIZE_100));
        return IDOK;
    }));
    EXPECT_EQ(page->WorkingBlob().wCopyOption, 0xFFFF);
    EXPECT_FALSE(page->IsDirty());

    // A blob of another length is read as far as it goes, into a blob of the right length.
    for (const size_t length : {size_t{0}, size_t{100}, size_t{300}}) {
        SCOPED_TRACE(length);
        Open(Bytes(length, 'Q'));
        EXPECT_EQ(page->WorkingExtra().size(), kRAvudBlobSize);
        EXPECT_EQ(page->SavedExtra().size(), kRAvudBlobSize);
        EXPECT_EQ(page->Working().ap.dwExtraLen, kRAvudBlobSize);
        EXPECT_EQ(WorkingName(), kDefault);
    }
}

TEST_F(RAvudPageTest, AnotherPrinterOrDriverMarksThePageChangedButADeviceModeAloneDoesNot) {
    Open(Blob(kDefault, kDefault, 7));
    EXPECT_FALSE(page->IsDirty());
    // The saved printer again, bringing its current device mode in place of the stored zeroes.
    Choose(kDefault);
    EXPECT_NE(page->WorkingExtra(), page->SavedExtra());
    EXPECT_FALSE(page->IsDirty());
    EXPECT_TRUE(host.changed.empty());

    Choose(kOther);
    EXPECT_EQ(WorkingName(), kOther);
    EXPECT_EQ(ReadField(page->WorkingBlob().szDriverName), kOther);
    EXPECT_TRUE(page->IsDirty());
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));
    Choose(kDefault);
    EXPECT_EQ(host.changed.size(), 1u);
}

TEST_F(RAvudPageTest, PropertiesStartsFromAWholeDeviceModeAndTakesBackItsStoredPart) {
    // A stored part whose size fields describe far more than the blob holds.
    RAvudBlob stored = Blob(kDefault, kDefault);
    WriteField(reinterpret_cast<char(&)[32]>(stored.abDevMode), kDefault);
    const uint16_t size = 156, extra = 0xFFFF;
    std::memcpy(stored.abDevMode + offsetof(DEVMODEA, dmSize), &size, 2);
    std::memcpy(stored.abDevMode + offsetof(DEVMODEA, dmDriverExtra), &extra, 2);
    Open(stored);

    EXPECT_TRUE(Properties([](PrintDialog& dialog) {
        EXPECT_EQ(dialog.Printer(), kDefault);
        dialog.TypeCopies(4);
        dialog.Cancel();
    }));
    EXPECT_EQ(page->WorkingExtra(), page->SavedExtra());

    EXPECT_TRUE(Properties([](PrintDialog& dialog) {
        EXPECT_TRUE(dialog.ChoosePrinter(kOther));
        dialog.TypeCopies(5);
        dialog.Ok();
    }));
    EXPECT_EQ(page->WorkingExtra(), page->SavedExtra());
    EXPECT_TRUE(host.changed.empty());

    EXPECT_TRUE(Properties([](PrintDialog& dialog) {
        dialog.TypeCopies(3);
        dialog.Ok();
    }));
    const RAvudBlob taken = page->WorkingBlob();
    EXPECT_EQ(Copies(taken), 3);
    // The printer's own size fields come back with the part; the rest of its device mode is not kept.
    EXPECT_EQ(DeclaredDevModeLength(taken.abDevMode, kRAvudDevModeBytes), size_t{164});
    EXPECT_TRUE(page->IsDirty());
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));
}

TEST_F(RAvudPageTest, CopySizeDialogOpensOnTheStoredSizeAndStoresOnlyAChange) {
    Open(Blob(kDefault, kDefault, 0));
    // A stored 0 is same size.
    EXPECT_TRUE(CopySize([](HWND, const std::string& text) {
        EXPECT_EQ(text, StringText(IDS_COPY_SIZE_100));
        return IDOK;
    }));
    EXPECT_EQ(page->WorkingBlob().wCopyOption, 0);
    EXPECT_TRUE(host.changed.empty());

    // Cancel never changes it.
    EXPECT_TRUE(CopySize([](HWND dialog, const std::string&) {
        ::SendMessageA(::GetDlgItem(dialog, IDC_COPY_SIZE_NEXT), BM_CLICK, 0, 0);
        return IDCANCEL;
    }));
    EXPECT_EQ(page->WorkingBlob().wCopyOption, 0);
    EXPECT_FALSE(page->IsDirty());

    // One step back from same size, confirmed: stored and told once.
    EXPECT_TRUE(CopySize([](HWND dialog, const std::string&) {
        ::SendMessageA(::GetDlgItem(dialog, IDC_COPY_SIZE_PREVIOUS), BM_CLICK, 0, 0);
        return IDOK;
    }));
    EXPECT_EQ(page->WorkingBlob().wCopyOption, 6);
    EXPECT_TRUE(page->IsDirty());
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));
    EXPECT_TRUE(CopySize([](HWND, const std::string& text) {
        EXPECT_EQ(text, StringText(IDS_COPY_SIZE_94));
        return IDOK;
    }));
    EXPECT_EQ(host.changed.size(), 1u);
}

TEST_F(RAvudPageTest, AFailedSaveKeepsThePageChangedAndTheSavedCopyAsItWas) {
    Open(Blob(kDefault, kDefault, 7));
    Choose(kOther);
    ASSERT_TRUE(page->IsDirty());
    const Bytes saved = page->SavedExtra();
    FailingWriter failing;
    EXPECT_TRUE(FAILED(page->Save(JobMask::kRAvud, failing)));
    EXPECT_GE(failing.calls, 1);
    EXPECT_TRUE(page->IsDirty());
    EXPECT_EQ(page->SavedExtra(), saved);

    // A save that works stores the blob with the printer, its driver and its device-mode part.
    ASSERT_TRUE(SUCCEEDED(services.OpenSettingsFile(StgMode::kReadWrite)));
    char model[kModelNameBytes] = {};
    ASSERT_EQ(services.GetSettingsStore()->FirstModelName(model), S_OK);
    ASSERT_TRUE(SUCCEEDED(services.GetSettingsStore()->OpenModel(model, StgMode::kReadWrite)));
    EXPECT_TRUE(SUCCEEDED(page->Save(JobMask::kRAvud, *services.GetSettingsStore())));
    services.GetSettingsStore()->Close();
    EXPECT_FALSE(page->IsDirty());
    const Bytes stream = StoredStream();
    ASSERT_EQ(stream.size(), kJobRecordSize + kRAvudBlobSize);
    EXPECT_EQ(Bytes(stream.begin() + kJobRecordSize, stream.end()), page->WorkingExtra());
    EXPECT_EQ(ReadField(ReadRAvudBlob(page->SavedExtra()).szPrinterName), kOther);
}

TEST_F(RAvudPageTest, DefaultsChooseTheDefaultPrinterAndKeepTheCopySize) {
    Open(Blob(kOther, kOther, 3));
    page->Send(kRestoreDefaults);
    EXPECT_EQ(Chosen(), kDefault);
    const RAvudBlob blob = page->WorkingBlob();
    EXPECT_EQ(ReadField(blob.szPrinterName), kDefault);
    EXPECT_EQ(ReadField(blob.szDriverName), kDefault);
    EXPECT_EQ(blob.wCopyOption, 3);
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));

    // At the defaults already: nothing to tell.
    Open(Blob("", ""));
    page->Send(kRestoreDefaults);
    EXPECT_FALSE(page->IsDirty());
    EXPECT_TRUE(host.changed.empty());
}

TEST_F(RAvudPageTest, HintsOfThePageAndItsPrinterList) {
    Open(Blob(kDefault, kDefault));
    PointAt(*page, IDC_PRINTER_LIST);
    PointAt(*page, 0);
    EXPECT_EQ(host.hints, (std::vector<WPARAM>{IDS_PRINTER_LIST, IDS_SIZED_COPY_PAGE}));
    EXPECT_TRUE(::IsWindowEnabled(page->Item(IDC_PRINTER_PROPERTIES)));
    EXPECT_TRUE(::IsWindowEnabled(page->Item(IDC_COPY_SIZE_BUTTON)));
}

} // namespace
} // namespace tolvan::test
