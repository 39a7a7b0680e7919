// The scan settings group that every page shares, on real page windows: the scan modes offered, the resolution
// slider, when a change is notified (and when not), the common part of restoring defaults, and the hints. The
// pages here carry only the group, so that nothing of a page's own steps is mixed in.
#include "language_request.h"
#include "page_host.h"

#include "pages/page_messages.h"
#include "pages/scan_settings_page.h"
#include "res/resource.h"
#include "settings/job_table.h"
#include "ui/controls.h"

#include <gtest/gtest.h>

#include <memory>

namespace tolvan::test {
namespace {

class CGroupPage : public CScanSettingsPage {
public:
    CGroupPage(CAppServices* app, bool available)
        : CScanSettingsPage(IDD_FILE_PAGE, JobMask::kFile, app), m_available(available) {}

protected:
    void SetUpPage() override { SetUpScanSettings(); }
    bool IsAvailable() const override { return m_available; }

private:
    bool m_available;
};

class ScanSettingsTest : public testing::Test {
protected:
    void Open(const JobRecord& record, bool available = true) {
        WriteRecords(services.SettingsFile(), JobMask::kFile, {record});
        page = std::make_unique<CGroupPage>(&services, available);
        ASSERT_TRUE(OpenPage(*page, services, host));
        host.Clear();
    }
    ComboBox ScanModes() const { return ComboBox(page->Item(IDC_SCAN_MODE)); }
    std::string SelectedScanMode() const {
        const int index = ScanModes().GetCurSel();
        char text[260] = {};
        if (index != CB_ERR)
            ScanModes().GetLBText(index, text);
        return text;
    }

    ScratchFolder scratch;
    TestServices services{scratch};
    PageHost host;
    std::unique_ptr<CGroupPage> page;
};

TEST_F(ScanSettingsTest, OnlyTheOfferedScanModesAreListed) {
    JobRecord record = MakeRecord(JobMask::kFile);
    record.bColorModes = 0x2;
    Open(record);
    EXPECT_EQ(ScanModes().GetCount(), 1);
    EXPECT_EQ(SelectedScanMode(), StringText(IDS_SCAN_MODE_GRAY));

    record.bColorModes = 0x5;
    record.wColorMode = 4;
    Open(record);
    ASSERT_EQ(ScanModes().GetCount(), 2);
    EXPECT_EQ(SelectedScanMode(), StringText(IDS_SCAN_MODE_BLACK_WHITE));
    EXPECT_EQ(ScanModes().FindStringExact(-1, StringText(IDS_SCAN_MODE_GRAY).c_str()), CB_ERR);
}

// A translation may give one mode a text that begins another's: each offered mode is still listed once, and the
// stored mode shows as itself, not as the first entry that begins with its text.
TEST_F(ScanSettingsTest, ScanModeTextsThatBeginOneAnotherAreListedAndChosenWhole) {
    const LanguageRequest german("de");
    ASSERT_TRUE(services.Translation().Load(TOLVAN_MULTILNG_DLL));
    ASSERT_EQ(services.Translation().PowerOn(TOLVAN_SCAN_MODE_PREFIX_MESSAGE_FILE), S_OK);
    JobRecord record = MakeRecord(JobMask::kFile);
    record.bColorModes = 0x7;
    record.wColorMode = 2; // "Foto", which begins the text of mode 1, "Foto in Farbe", listed before it
    Open(record);
    EXPECT_EQ(ComboItems(*page, IDC_SCAN_MODE), (std::vector<std::string>{"Foto in Farbe", "Foto", "Text"}));
    EXPECT_EQ(SelectedScanMode(), "Foto");

    ASSERT_TRUE(ChooseScanMode(*page, "Foto in Farbe"));
    EXPECT_EQ(page->Working().wColorMode, 1);
    page->Send(kRestoreDefaults);
    EXPECT_EQ(SelectedScanMode(), "Foto") << "the default mode, 2";
    EXPECT_EQ(page->Working().wColorMode, 2);
}

TEST_F(ScanSettingsTest, SliderAtItsOwnPositionSendsNothingAndAChangeIsNotifiedOnce) {
    Open(MakeRecord(JobMask::kFile)); // 300 dpi: position 2
    MoveResolution(*page, 2);
    EXPECT_TRUE(host.changed.empty());
    EXPECT_FALSE(page->IsDirty());

    MoveResolution(*page, 3);
    EXPECT_EQ(page->Working().wResolution, 600);
    EXPECT_EQ(ItemText(page->Handle(), IDC_RESOLUTION_CAPTION), StringText(IDS_RESOLUTION_600));
    EXPECT_EQ(host.changed, std::vector<WPARAM>{1});
    MoveResolution(*page, 4);
    EXPECT_EQ(page->Working().wResolution, 1200);
    EXPECT_EQ(host.changed.size(), 1u);
    EXPECT_EQ(page->Saved().wResolution, 300);
}

TEST_F(ScanSettingsTest, AChangeAndItsUndoLeaveThePageDirty) {
    Open(MakeRecord(JobMask::kFile));
    ASSERT_TRUE(ChooseScanMode(*page, StringText(IDS_SCAN_MODE_COLOR).c_str()));
    EXPECT_EQ(page->Working().wColorMode, 1);
    EXPECT_EQ(host.changed, std::vector<WPARAM>{1});
    ASSERT_TRUE(ChooseScanMode(*page, StringText(IDS_SCAN_MODE_GRAY).c_str()));
    EXPECT_EQ(page->Working().wColorMode, page->Saved().wColorMode);
    EXPECT_TRUE(page->IsDirty());
    EXPECT_EQ(host.changed.size(), 1u);
}

TEST_F(ScanSettingsTest, AnUnavailablePageKeepsItsEditsButNeverNotifies) {
    JobRecord record = MakeRecord(JobMask::kFile);
    record.wDefColorMode = 4;
    record.wDefResolution = 1200;
    Open(record, /*available=*/false);
    ASSERT_TRUE(ChooseScanMode(*page, StringText(IDS_SCAN_MODE_COLOR).c_str()));
    MoveResolution(*page, 1);
    EXPECT_EQ(page->Working().wColorMode, 1);
    EXPECT_EQ(page->Working().wResolution, 150);
    page->Send(kRestoreDefaults);
    EXPECT_EQ(page->Working().wColorMode, 4);
    EXPECT_EQ(page->Working().wResolution, 1200);
    EXPECT_TRUE(host.changed.empty());
    EXPECT_FALSE(page->IsDirty());
}

TEST_F(ScanSettingsTest, DefaultSendsOneNotificationWhenSomethingChangedOrThePageWasDirty) {
    Open(MakeRecord(JobMask::kFile)); // already at its defaults
    page->Send(kRestoreDefaults);
    EXPECT_TRUE(host.changed.empty());
    EXPECT_FALSE(page->IsDirty());

    ASSERT_TRUE(ChooseScanMode(*page, StringText(IDS_SCAN_MODE_COLOR).c_str()));
    page->Send(kRestoreDefaults);
    EXPECT_EQ(page->Working().wColorMode, 2);
    EXPECT_EQ(SelectedScanMode(), StringText(IDS_SCAN_MODE_GRAY));
    EXPECT_EQ(host.changed, (std::vector<WPARAM>{1, 1}));

    // Back at its defaults but dirty: the main window is told again, so Apply stays enabled.
    page->Send(kRestoreDefaults);
    EXPECT_EQ(host.changed.size(), 3u);

    JobRecord record = MakeRecord(JobMask::kFile);
    record.wResolution = 600;
    Open(record);
    page->Send(kRestoreDefaults);
    EXPECT_EQ(page->Working().wResolution, 300);
    EXPECT_EQ(Slider(page->Item(IDC_RESOLUTION)).GetPos(), 2);
    EXPECT_EQ(ItemText(page->Handle(), IDC_RESOLUTION_CAPTION), StringText(IDS_RESOLUTION_300));
    EXPECT_EQ(host.changed, std::vector<WPARAM>{1});
}

TEST_F(ScanSettingsTest, AHintIsSentOncePerControlEntered) {
    Open(MakeRecord(JobMask::kFile));
    PointAt(*page, IDC_SCAN_MODE);
    PointAt(*page, IDC_SCAN_MODE);
    PointAt(*page, IDC_SCAN_MODE);
    EXPECT_EQ(host.hints, std::vector<WPARAM>{IDS_SCAN_MODE});
    EXPECT_EQ(services.GetHintId(), UINT{IDS_SCAN_MODE});

    PointAt(*page, 0);                      // the page itself: its template's id
    PointAt(*page, IDC_RESOLUTION_CAPTION); // the caption: the hint of the shown resolution
    PointAt(*page, IDC_RESOLUTION_CAPTION);
    PointAt(*page, IDC_RESOLUTION);
    EXPECT_EQ(host.hints, (std::vector<WPARAM>{IDS_SCAN_MODE, IDS_FILE_PAGE, IDS_RESOLUTION_300_HINT, IDS_RESOLUTION}));

    // A hint that the main window showed itself counts as well.
    services.SetHintId(IDD_FILE_PAGE);
    PointAt(*page, 0);
    EXPECT_EQ(host.hints.size(), 4u);
}

TEST_F(ScanSettingsTest, AResolutionOutsideTheTableShowsNoCaptionAndHintsAt150) {
    JobRecord record = MakeRecord(JobMask::kFile);
    record.wResolution = 400;
    Open(record);
    EXPECT_EQ(ItemText(page->Handle(), IDC_RESOLUTION_CAPTION), "");
    PointAt(*page, IDC_RESOLUTION_CAPTION);
    EXPECT_EQ(host.hints, std::vector<WPARAM>{IDS_RESOLUTION_150_HINT});
}

} // namespace
} // namespace tolvan::test
