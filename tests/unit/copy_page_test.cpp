// The Copy page on a hidden host over the test run's print spooler, whose queues are Office_Laser (the default),
// Colour_Inkjet and Team_Fax (scripts/cups test-queues): the printers listed and chosen, the device mode taken
// into the record and its length rules for blobs read from a file, the blobs of the two record copies, the print
// dialog answered from the test thread, restoring defaults and hints.
#include "page_host.h"
#include "printer_page_driver.h"

#include "pages/copy_page.h"
#include "pages/device_mode.h"
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

constexpr const char* kDefault = "Office_Laser";
constexpr const char* kOther = "Colour_Inkjet";

class CCountingCopyPage : public CCountingSaves<CCopyPage> {
public:
    using CCountingSaves<CCopyPage>::CCountingSaves;
    // A default printer that the page did not list, such as one added while the program runs.
    const char* unlistedDefault = nullptr;
    std::string DefaultPrinter() const override {
        return unlistedDefault ? unlistedDefault : CCopyPage::DefaultPrinter();
    }
};

// A device mode of the given lengths: dmSize and dmDriverExtra as given, the bytes marked so that a copy of it is
// told apart from the printer's own.
Bytes DevMode(size_t length, uint16_t size, uint16_t extra, const char* device = kDefault) {
    Bytes bytes(length, 0x5A);
    std::memset(bytes.data(), 0, std::min<size_t>(length, 32));
    std::memcpy(bytes.data(), device, std::min<size_t>(std::strlen(device), std::min<size_t>(length, 31)));
    if (length >= kDevModeDriverExtraOffset + 2) {
        bytes[kDevModeSizeOffset] = static_cast<uint8_t>(size);
        bytes[kDevModeSizeOffset + 1] = static_cast<uint8_t>(size >> 8);
        bytes[kDevModeDriverExtraOffset] = static_cast<uint8_t>(extra);
        bytes[kDevModeDriverExtraOffset + 1] = static_cast<uint8_t>(extra >> 8);
    }
    return bytes;
}

Bytes WholeDevMode(uint16_t size, uint16_t extra, const char* device = kDefault) {
    return DevMode(size_t{size} + extra, size, extra, device);
}

// dmCopies of a device mode's bytes.
int Copies(const std::vector<uint8_t>& devMode) {
    if (devMode.size() < offsetof(DEVMODEA, dmCopies) + 2)
        return -1;
    short copies;
    std::memcpy(&copies, devMode.data() + offsetof(DEVMODEA, dmCopies), sizeof copies);
    return copies;
}

JobRecord CopyRecord(const char* printer = "", bool stored = true) {
    JobRecord record = MakeRecord(JobMask::kCopy);
    WriteField(record.ap.szExeDir, printer);
    record.dwStored = stored ? 1 : 0;
    return record;
}

class CopyPageTest : public testing::Test {
protected:
    ScratchFolder scratch;
    TestServices services{scratch};
    PageHost host;
    std::unique_ptr<CCountingCopyPage> page;

    // A settings file holding the Copy record with the blob behind it (dwExtraLen as given, or the blob's length).
    void Open(JobRecord record, const Bytes& blob = {}, std::optional<uint32_t> extraLen = {}) {
        page.reset();
        host.Clear();
        record.ap.dwExtraLen = extraLen.value_or(static_cast<uint32_t>(blob.size()));
        Bytes stream = RecordBytes(record);
        stream.insert(stream.end(), blob.begin(), blob.end());
        CompoundFileBuilder builder(services.SettingsFile());
        builder.Stream({"Model", "Setting", JobStreamName(JobMask::kCopy).c_str()}, stream);
        builder.Stream({"Model", "SpecInfo"}, SpecInfo(JobMask::kCopy));
        builder.Storage({"Model", "Setting", "ProBtn"});
        builder.Finish();
        page = std::make_unique<CCountingCopyPage>(&services);
        ASSERT_TRUE(OpenPage(*page, services, host));
    }

    // The stream stored for the job: the record, then the blob.
    Bytes StoredBlob() const {
        const std::optional<Bytes> stream =
            ReadStream(services.SettingsFile(), {"Model", "Setting", JobStreamName(JobMask::kCopy).c_str()});
        if (!stream || stream->size() < kJobRecordSize)
            return {};
        return Bytes(stream->begin() + kJobRecordSize, stream->end());
    }

    Texts Printers() const { return ListedPrinters(*page); }
    std::string Chosen() const { return ChosenPrinter(*page); }
    void Choose(const char* printer) { ASSERT_TRUE(ChoosePrinter(*page, printer)) << printer; }
    bool Properties(std::function<void(PrintDialog&)> answer) { return PressProperties(*page, std::move(answer)); }
    std::string Name() const { return std::string(ReadField(page->Working().ap.szExeDir)); }
    // The blob invariant: both copies' blobs have the record's length.
    void ExpectBlobsOfLength(size_t length) const {
        EXPECT_EQ(page->WorkingExtra().size(), length);
        EXPECT_EQ(page->SavedExtra().size(), length);
        EXPECT_EQ(size_t{page->Working().ap.dwExtraLen}, length);
        EXPECT_EQ(size_t{page->Saved().ap.dwExtraLen}, length);
    }
};

TEST(DevModeLengths, AreBelievedOnlyWhenTheyAgreeWithTheBytes) {
    struct Case {
        const char* what;
        Bytes bytes;
        size_t declared;
        bool whole;
    };
    const Case cases[] = {
        {"the printer's own", WholeDevMode(156, 8), 164, true},
        {"no driver part", WholeDevMode(156, 0), 156, true},
        {"the smallest public part", WholeDevMode(kMinDevModeSize, 0), kMinDevModeSize, true},
        {"longer than it says", DevMode(200, 156, 8), 164, false},
        {"shorter than it says", DevMode(100, 156, 8), 164, false},
        {"dmSize 0", DevMode(164, 0, 164), 0, false},
        {"dmSize below the public part", DevMode(164, kMinDevModeSize - 1, 164 - kMinDevModeSize + 1), 0, false},
        {"dmDriverExtra 0xFFFF", DevMode(164, 156, 0xFFFF), 156 + 0xFFFF, false},
        {"too short for its size fields", DevMode(39, 156, 8), 0, false},
        {"empty", Bytes{}, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DeclaredDevModeLength(c.bytes.data(), c.bytes.size()), c.declared) << c.what;
        EXPECT_EQ(IsWholeDevMode(c.bytes.data(), c.bytes.size()), c.whole) << c.what;
    }
}

TEST_F(CopyPageTest, FirstRunListsThePrintersButTheFaxAndStoresTheDefaultWithItsDeviceMode) {
    Open(CopyRecord("", false));
    EXPECT_EQ(Printers(), (Texts{kOther, kDefault}));
    EXPECT_EQ(page->ListedPrinterCount(), 2u);
    EXPECT_FALSE(page->IsUnavailable());
    EXPECT_EQ(Chosen(), kDefault);
    EXPECT_EQ(page->SelectedPrinter(), kDefault);
    EXPECT_EQ(Name(), kDefault);
    // Written at once: the record with the printer's whole device mode, and the page clean.
    EXPECT_EQ(page->saves, 1);
    EXPECT_FALSE(page->IsDirty());
    EXPECT_TRUE(host.changed.empty());
    const Bytes stored = StoredBlob();
    ASSERT_TRUE(IsWholeDevMode(stored.data(), stored.size())) << stored.size();
    EXPECT_EQ(stored, page->WorkingExtra());
    EXPECT_EQ(page->SavedExtra(), page->WorkingExtra());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stored.data())), kDefault);
    const JobRecord record = StoredRecord(services.SettingsFile(), JobMask::kCopy);
    EXPECT_EQ(record.dwStored, 1u);
    EXPECT_EQ(size_t{record.ap.dwExtraLen}, stored.size());
    EXPECT_EQ(ReadField(record.ap.szExeDir), kDefault);
}

TEST_F(CopyPageTest, AStoredPrinterStillInstalledKeepsItsStoredDeviceMode) {
    Bytes mine = WholeDevMode(156, 8, kOther);
    mine[offsetof(DEVMODEA, dmCopies)] = 3;
    mine[offsetof(DEVMODEA, dmCopies) + 1] = 0;
    Open(CopyRecord(kOther), mine);
    EXPECT_EQ(Chosen(), kOther);
    EXPECT_EQ(page->SelectedPrinter(), kOther);
    EXPECT_EQ(page->WorkingExtra(), mine);
    EXPECT_EQ(page->SavedExtra(), mine);
    EXPECT_FALSE(page->IsDirty());
    EXPECT_EQ(page->saves, 0);

    // A stored name is matched with case: in another case it is not listed and the default is chosen. The
    // default's own name in another case still stands for that printer, so its stored device mode stays.
    Open(CopyRecord("colour_inkjet"), mine);
    EXPECT_EQ(Chosen(), kDefault);
    EXPECT_EQ(Name(), kDefault);
    EXPECT_TRUE(page->IsDirty());
    const Bytes theDefaults = WholeDevMode(156, 8);
    Open(CopyRecord("office_laser"), theDefaults);
    EXPECT_EQ(Chosen(), kDefault);
    EXPECT_EQ(page->WorkingExtra(), theDefaults);
    EXPECT_FALSE(page->IsDirty());
}

TEST_F(CopyPageTest, ARemovedPrinterGivesTheDefaultAndItsDeviceModeUnsaved) {
    const Bytes old = WholeDevMode(156, 8, "Gone_Printer");
    Open(CopyRecord("Gone_Printer"), old);
    EXPECT_EQ(Chosen(), kDefault);
    EXPECT_EQ(Name(), kDefault);
    ASSERT_EQ(page->WorkingExtra().size(), 164u);
    EXPECT_NE(page->WorkingExtra(), old);
    // The saved copy's blob is zeroes of the new length: the page differs from the file until Apply.
    ExpectBlobsOfLength(164);
    EXPECT_EQ(page->SavedExtra(), Bytes(164, 0));
    EXPECT_TRUE(page->IsDirty());
    EXPECT_TRUE(host.changed.empty());
    EXPECT_EQ(page->saves, 0);
    EXPECT_EQ(StoredBlob(), old);

    // Apply stores it.
    ASSERT_TRUE(SUCCEEDED(services.OpenSettingsFile(StgMode::kReadWrite)));
    char model[kModelNameBytes] = {};
    ASSERT_EQ(services.GetSettingsStore()->FirstModelName(model), S_OK);
    ASSERT_TRUE(SUCCEEDED(services.GetSettingsStore()->OpenModel(model, StgMode::kReadWrite)));
    EXPECT_TRUE(SUCCEEDED(page->Save(JobMask::kCopy, *services.GetSettingsStore())));
    services.GetSettingsStore()->Close();
    EXPECT_FALSE(page->IsDirty());
    EXPECT_EQ(StoredBlob(), page->WorkingExtra());
    EXPECT_EQ(page->SavedExtra(), page->WorkingExtra());

    // Never stored before: written at once.
    Open(CopyRecord("Gone_Printer", false), old);
    EXPECT_EQ(page->saves, 1);
    EXPECT_FALSE(page->IsDirty());
    EXPECT_EQ(StoredBlob(), page->WorkingExtra());
}

TEST_F(CopyPageTest, AStoredDeviceModeWhoseLengthsDisagreeIsReplacedByThePrintersOwn) {
    struct Case {
        const char* what;
        Bytes blob;
        std::optional<uint32_t> extraLen;
    };
    const Case cases[] = {
        {"longer than it says", DevMode(200, 156, 8), {}},
        {"shorter than it says", DevMode(100, 156, 8), {}},
        {"dmSize 0", DevMode(164, 0, 164), {}},
        {"dmSize below the public part", DevMode(164, 40, 124), {}},
        {"dmDriverExtra 0xFFFF", DevMode(164, 156, 0xFFFF), {}},
        {"too short for its size fields", DevMode(20, 156, 8), {}},
        {"a length far beyond the stream", DevMode(100, 156, 8), 0x7FFFFFF0u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Open(CopyRecord(kDefault), c.blob, c.extraLen);
        EXPECT_EQ(Chosen(), kDefault);
        ASSERT_TRUE(IsWholeDevMode(page->WorkingExtra().data(), page->WorkingExtra().size()));
        ExpectBlobsOfLength(164);
        EXPECT_TRUE(page->IsDirty());
        EXPECT_TRUE(host.changed.empty());
        // The file keeps what it had until Apply.
        EXPECT_EQ(StoredBlob(), c.blob);
        // The page works on: Properties opens on the repaired device mode.
        EXPECT_TRUE(Properties([](PrintDialog& dialog) {
            EXPECT_EQ(dialog.Printer(), kDefault);
            dialog.Cancel();
        }));
    }
    // A length that only claims more than the stream holds is cut to it: the whole device mode behind it stands.
    const Bytes whole = WholeDevMode(156, 8);
    Open(CopyRecord(kDefault), whole, 0x7FFFFFF0u);
    EXPECT_EQ(page->WorkingExtra(), whole);
    EXPECT_FALSE(page->IsDirty());
}

TEST_F(CopyPageTest, ChoosingAPrinterGivesBothBlobsItsLengthAndMarksThePageChanged) {
    // A stored device mode of another length than the printers' own.
    const Bytes longer = WholeDevMode(156, 44);
    Open(CopyRecord(kDefault), longer);
    ExpectBlobsOfLength(200);
    EXPECT_FALSE(page->IsDirty());

    Choose(kDefault); // already chosen
    EXPECT_TRUE(host.changed.empty());
    ExpectBlobsOfLength(200);

    Choose(kOther);
    EXPECT_EQ(page->SelectedPrinter(), kOther);
    EXPECT_EQ(Name(), kOther);
    ExpectBlobsOfLength(164);
    EXPECT_EQ(page->SavedExtra(), Bytes(164, 0));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(page->WorkingExtra().data())), kOther);
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));

    // Back to the saved printer: still changed, and told only once.
    Choose(kDefault);
    EXPECT_EQ(Name(), kDefault);
    EXPECT_TRUE(page->IsDirty());
    EXPECT_EQ(host.changed.size(), 1u);
}

TEST_F(CopyPageTest, PropertiesTakesWhatTheUserConfirmedForThisPrinterOnly) {
    Open(CopyRecord("", false));
    const Bytes before = page->WorkingExtra();

    // OK without a change: nothing changed.
    EXPECT_TRUE(Properties([](PrintDialog& dialog) {
        EXPECT_EQ(dialog.Printer(), kDefault);
        dialog.Ok();
    }));
    EXPECT_FALSE(page->IsDirty());
    EXPECT_TRUE(host.changed.empty());

    // Cancel never changes the record.
    EXPECT_TRUE(Properties([](PrintDialog& dialog) {
        dialog.TypeCopies(4);
        dialog.Cancel();
    }));
    EXPECT_EQ(page->WorkingExtra(), before);
    EXPECT_TRUE(host.changed.empty());

    // Another printer chosen in the dialog: its settings are not this printer's.
    EXPECT_TRUE(Properties([](PrintDialog& dialog) {
        EXPECT_TRUE(dialog.ChoosePrinter(kOther));
        dialog.TypeCopies(5);
        dialog.Ok();
    }));
    EXPECT_EQ(page->WorkingExtra(), before);
    EXPECT_TRUE(host.changed.empty());

    // A change of copies is taken and told.
    EXPECT_TRUE(Properties([](PrintDialog& dialog) {
        dialog.TypeCopies(3);
        dialog.Ok();
    }));
    EXPECT_EQ(Copies(page->WorkingExtra()), 3);
    ExpectBlobsOfLength(before.size());
    EXPECT_TRUE(page->IsDirty());
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));
}

TEST_F(CopyPageTest, PropertiesReturningAnotherLengthReplacesBothBlobs) {
    // The stored device mode is longer than the one the printer's dialog gives back; the dialog gets it whole.
    const Bytes longer = WholeDevMode(156, 40);
    Open(CopyRecord(kDefault), longer);
    EXPECT_TRUE(Properties([](PrintDialog& dialog) { dialog.Ok(); }));
    ASSERT_TRUE(IsWholeDevMode(page->WorkingExtra().data(), page->WorkingExtra().size()));
    ASSERT_NE(page->WorkingExtra().size(), longer.size());
    ExpectBlobsOfLength(page->WorkingExtra().size());
    EXPECT_EQ(page->SavedExtra(), Bytes(page->WorkingExtra().size(), 0));
    EXPECT_TRUE(page->IsDirty());
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));
}

TEST_F(CopyPageTest, DefaultsChooseTheDefaultPrinterWithItsCurrentDeviceMode) {
    // At the defaults already: nothing changes and nothing is told.
    Open(CopyRecord("", false));
    const Bytes current = page->WorkingExtra();
    page->Send(kRestoreDefaults);
    EXPECT_FALSE(page->IsDirty());
    EXPECT_TRUE(host.changed.empty());
    EXPECT_EQ(page->SavedExtra(), current);

    // Another printer stored: the default one with its device mode, the saved blob zeroed.
    Open(CopyRecord(kOther), WholeDevMode(156, 40, kOther));
    page->Send(kRestoreDefaults);
    EXPECT_EQ(Chosen(), kDefault);
    EXPECT_EQ(page->SelectedPrinter(), kDefault);
    EXPECT_EQ(Name(), kDefault);
    EXPECT_EQ(page->WorkingExtra(), current);
    ExpectBlobsOfLength(current.size());
    EXPECT_EQ(page->SavedExtra(), Bytes(current.size(), 0));
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));

    // The default's stored device mode with other settings: the printer's current one replaces it.
    Bytes mine = current;
    mine[offsetof(DEVMODEA, dmCopies)] = 7;
    Open(CopyRecord(kDefault), mine);
    EXPECT_FALSE(page->IsDirty());
    page->Send(kRestoreDefaults);
    EXPECT_EQ(page->WorkingExtra(), current);
    EXPECT_TRUE(page->IsDirty());
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));
}

TEST_F(CopyPageTest, DefaultsWhoseDefaultPrinterIsNotListedChooseTheFirstPrinter) {
    Open(CopyRecord(kDefault), WholeDevMode(156, 8));
    page->unlistedDefault = "Added_Later";
    page->Send(kRestoreDefaults);
    EXPECT_EQ(Chosen(), kOther);
    EXPECT_EQ(page->SelectedPrinter(), kOther);
    EXPECT_EQ(Name(), kOther);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(page->WorkingExtra().data())), kOther);
    ExpectBlobsOfLength(164);
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1}));
    // A printer stays chosen, so Properties still opens on it.
    EXPECT_TRUE(Properties([](PrintDialog& dialog) {
        EXPECT_EQ(dialog.Printer(), kOther);
        dialog.Cancel();
    }));

    // A fax as the default printer is never chosen either.
    Open(CopyRecord(kDefault), WholeDevMode(156, 8));
    page->unlistedDefault = "Team_Fax";
    page->Send(kRestoreDefaults);
    EXPECT_EQ(page->SelectedPrinter(), kOther);
}

TEST_F(CopyPageTest, HintsTellThePrinterListAndPropertiesApart) {
    Open(CopyRecord(kDefault), WholeDevMode(156, 8));
    PointAt(*page, IDC_PRINTER_LIST);
    PointAt(*page, IDC_PRINTER_PROPERTIES);
    PointAt(*page, 0);
    EXPECT_EQ(host.hints, (std::vector<WPARAM>{IDS_PRINTER_LIST, IDS_PRINTER_PROPERTIES, IDS_COPY_PAGE}));
    // The round button: its bitmap's size and a region cut from it.
    const HWND button = page->Item(IDC_PRINTER_PROPERTIES);
    RECT box{};
    ::GetWindowRect(button, &box);
    BITMAP picture{};
    UniqueBitmap bitmap(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_PRINTER_PROPERTIES_NORMAL)));
    ASSERT_TRUE(::GetObjectA(bitmap.Get(), sizeof picture, &picture));
    EXPECT_EQ(box.right - box.left, picture.bmWidth);
    EXPECT_EQ(box.bottom - box.top, picture.bmHeight);
    UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::GetWindowRgn(button, region.Get()), COMPLEXREGION);
    EXPECT_FALSE(::PtInRegion(region.Get(), 0, 0)) << "the corner lies outside the round button";
    EXPECT_TRUE(::PtInRegion(region.Get(), picture.bmWidth / 2, picture.bmHeight / 2));
}

} // namespace
} // namespace tolvan::test
