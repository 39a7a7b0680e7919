// The job tabs through the real main window, over settings files whose job set the test chooses: the order and
// places of the tabs, the page shown at start-up with its hint and warning, switching pages, and Apply.
#include "control_host.h"
#include "mail_programs.h"
#include "mail_registry.h"
#include "page_host.h"

#include "controls/skin_colours.h"
#include "mainwnd/main_window.h"
#include "res/resource.h"
#include "settings/fixed_string.h"
#include "settings/job_table.h"
#include "ui/gdi.h"
#include "ui/resource_counts.h"

#include <gtest/gtest.h>

#include <memory>

namespace tolvan::test {
namespace {

SIZE TabSize() {
    UniqueBitmap bitmap(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_TAB_FILE_NORMAL)));
    BITMAP info{};
    ::GetObjectA(bitmap.Get(), sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

class JobTabsTest : public testing::Test {
protected:
    void SetUp() override {
        ::CreateDirectoryA(target.c_str(), nullptr);
        services.CreateSharedFont();
    }
    void TearDown() override {
        if (window)
            window->DestroyWindow();
    }

    JobRecord Record(uint32_t mask) const {
        JobRecord record = MakeRecord(mask);
        WriteField(record.ap.szFolder, target);
        return record;
    }
    void Open(uint32_t jobSet, std::vector<JobRecord> records = {}) {
        if (records.empty()) {
            for (const JobInfo& job : kJobs)
                if (jobSet & job.mask)
                    records.push_back(Record(job.mask));
        }
        WriteRecords(services.SettingsFile(), jobSet, records);
        window = std::make_unique<CMainWindow>(&services);
        ASSERT_TRUE(window->Create(nullptr));
        // The window centres itself, where the pointer of the test display rests; a page under the pointer would
        // show its own hint. Away from the pointer only the test's messages reach it.
        POINT cursor{};
        ::GetCursorPos(&cursor);
        const RECT placed = [&] {
            RECT r{};
            ::GetWindowRect(window->Handle(), &r);
            return r;
        }();
        const int x = cursor.x - (placed.right - placed.left) - 40 >= 0 ? 0 : cursor.x + 40;
        ::SetWindowPos(window->Handle(), nullptr, x, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        PumpMessages();
    }

    void Click(int id) const {
        window->Send(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(window->Item(id)));
    }
    CJobPage& Page(uint32_t mask) const { return *window->Tabs().Page(mask); }
    bool Shown(uint32_t mask) const { return window->Tabs().ShownPage() == window->Tabs().Page(mask); }
    bool ApplyEnabled() const { return ::IsWindowEnabled(window->Item(IDC_APPLY)) != FALSE; }
    std::string HintLine() const { return ItemText(window->Handle(), IDC_HINT_LINE); }
    POINT TabAt(int id) const {
        const RECT r = CWindow(window->Item(id)).RectInParent();
        return {r.left, r.top};
    }
    JobRecord Stored(uint32_t mask) const { return StoredRecord(services.SettingsFile(), mask); }

    ScratchFolder scratch;
    std::string target = scratch.File("Target") + "\\";
    TestServices services{scratch};
    std::unique_ptr<CMainWindow> window;
};

TEST_F(JobTabsTest, TabsFollowTheFixedOrderWhateverTheirBits) {
    // File's bit is below Email's and DUzar's, yet Email comes first.
    Open(JobMask::kDUzar | JobMask::kFile | JobMask::kEmail);
    ASSERT_EQ(window->Tabs().Count(), 3u);
    const SIZE tab = TabSize();
    EXPECT_EQ(TabAt(IDC_EMAIL_TAB).x, 29);                                       // Email
    EXPECT_EQ(TabAt(IDC_FILE_TAB).x, 29 + tab.cx + 8);                           // File
    EXPECT_EQ(TabAt(IDC_DUZAR_TAB).x, window->ClientRect().right - tab.cx - 21); // DUzar, at the right end
    for (int id : {IDC_EMAIL_TAB, IDC_FILE_TAB, IDC_DUZAR_TAB})
        EXPECT_EQ(TabAt(id).y, 52) << id;
    EXPECT_TRUE(Shown(JobMask::kEmail));
    EXPECT_TRUE(Page(JobMask::kEmail).IsVisible());
    EXPECT_FALSE(Page(JobMask::kFile).IsVisible());
    EXPECT_FALSE(Page(JobMask::kDUzar).IsVisible());
}

TEST_F(JobTabsTest, AnUnavailableEmailPageWarnsAtStartUpAndOnEveryClick) {
    // The catalogue's mail programs are installed, but the registry lists none of them as a mail client.
    MailRegistry registry;
    registry.AddClient("Thunderbolt Mail");
    registry.SetDefault("Thunderbolt Mail");
    InstallApplications(services, InstalledMailPrograms());
    bool windowVisibleDuringWarning = true;
    services.whileShown = [&] { windowVisibleDuringWarning = window->IsVisible(); };
    Open(JobMask::kEmail | JobMask::kFile);
    ASSERT_TRUE(Page(JobMask::kEmail).IsUnavailable());
    const std::string warning = StringText(IDS_NO_MAIL_CLIENT);
    using Texts = std::vector<std::string>;
    ASSERT_EQ(services.messages, Texts{warning});
    EXPECT_EQ(services.styles[0], static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST));
    EXPECT_EQ(services.owners[0], window->Handle());
    EXPECT_FALSE(windowVisibleDuringWarning) << "the start-up warning comes before the window";
    EXPECT_EQ(HintLine(), StringText(IDS_EMAIL_PAGE));

    Click(IDC_FILE_TAB);
    EXPECT_TRUE(Shown(JobMask::kFile));
    EXPECT_EQ(services.messages.size(), 1u);
    EXPECT_EQ(HintLine(), StringText(IDS_FILE_PAGE));

    // The Email tab shows its hint, then warns while the File page is still on screen, then hides that page.
    bool fileShownDuringWarning = false;
    std::string hintDuringWarning;
    services.whileShown = [&] {
        fileShownDuringWarning = Page(JobMask::kFile).IsVisible();
        hintDuringWarning = HintLine();
    };
    Click(IDC_EMAIL_TAB);
    EXPECT_EQ(services.messages, (Texts{warning, warning}));
    EXPECT_TRUE(fileShownDuringWarning);
    EXPECT_EQ(hintDuringWarning, StringText(IDS_EMAIL_PAGE));
    EXPECT_TRUE(Shown(JobMask::kEmail));
    EXPECT_FALSE(Page(JobMask::kFile).IsVisible());
}

TEST_F(JobTabsTest, AnEmailPageWithAMailClientDoesNotWarn) {
    MailRegistry registry;
    registry.AddClient("Windows Mail");
    registry.SetDefault("Windows Mail");
    InstallApplications(services, InstalledMailPrograms());
    Open(JobMask::kEmail | JobMask::kFile);
    EXPECT_FALSE(Page(JobMask::kEmail).IsUnavailable());
    Click(IDC_FILE_TAB);
    Click(IDC_EMAIL_TAB);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(JobTabsTest, OnlyDUzarShowsItsPageWithAnEmptyHintLine) {
    Open(JobMask::kDUzar);
    ASSERT_EQ(window->Tabs().Count(), 1u);
    EXPECT_TRUE(Shown(JobMask::kDUzar));
    EXPECT_TRUE(Page(JobMask::kDUzar).IsVisible());
    EXPECT_EQ(HintLine(), "");
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(JobTabsTest, ClickingTheShownTabChangesNothing) {
    Open(JobMask::kFile | JobMask::kDUzar);
    ASSERT_TRUE(Shown(JobMask::kFile));
    // Something else in the hint line, as after the pointer crossed a control.
    ::SetDlgItemTextA(window->Handle(), IDC_HINT_LINE, "elsewhere");
    services.SetHintId(IDS_SCAN_MODE);
    Click(IDC_FILE_TAB);
    EXPECT_EQ(HintLine(), "elsewhere");
    EXPECT_EQ(services.GetHintId(), UINT{IDS_SCAN_MODE});
    EXPECT_TRUE(Shown(JobMask::kFile));
    EXPECT_TRUE(Page(JobMask::kFile).IsVisible());

    Click(IDC_DUZAR_TAB);
    EXPECT_TRUE(Shown(JobMask::kDUzar));
    EXPECT_EQ(HintLine(), StringText(IDS_DUZAR_PAGE));
    EXPECT_FALSE(Page(JobMask::kFile).IsVisible());
    EXPECT_TRUE(services.messages.empty());
}

// The main window's statics and its check box draw their text in the system's window-text colour, whatever the
// device context held before; their background is the page's, the check box's none.
TEST_F(JobTabsTest, TheWindowsStaticsTakeTheSystemsTextColour) {
    Open(JobMask::kFile);
    const COLORREF unlikely = RGB(1, 2, 3);
    ASSERT_NE(::GetSysColor(COLOR_WINDOWTEXT), unlikely);
    MemoryDC dc(nullptr);
    ASSERT_TRUE(dc);
    for (const int id : {IDC_HINT_LINE, IDC_PAGE_FRAME, IDC_AUTO_CROP}) {
        ::SetTextColor(dc.Get(), unlikely);
        ::SetBkMode(dc.Get(), OPAQUE);
        const LRESULT brush = window->Send(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                                           reinterpret_cast<LPARAM>(window->Item(id)));
        EXPECT_NE(brush, 0) << id;
        EXPECT_EQ(::GetTextColor(dc.Get()), ::GetSysColor(COLOR_WINDOWTEXT)) << id;
        if (id == IDC_AUTO_CROP)
            EXPECT_EQ(::GetBkMode(dc.Get()), TRANSPARENT);
        else
            EXPECT_EQ(::GetBkColor(dc.Get()), kPageColour) << id;
    }
}

TEST_F(JobTabsTest, AHiddenPageKeepsItsEditsAndApplyFollowsTheShownPage) {
    Open(JobMask::kFile | JobMask::kDUzar);
    EXPECT_FALSE(ApplyEnabled());
    ASSERT_TRUE(ChooseScanMode(Page(JobMask::kFile), StringText(IDS_SCAN_MODE_COLOR).c_str()));
    EXPECT_TRUE(ApplyEnabled());

    Click(IDC_DUZAR_TAB);
    EXPECT_FALSE(ApplyEnabled());
    Click(IDC_FILE_TAB);
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_EQ(Page(JobMask::kFile).Working().wColorMode, 1);
    EXPECT_TRUE(Page(JobMask::kFile).IsDirty());
}

// The hidden page is available (the File page always is) and dirty, so that writing it would show.
TEST_F(JobTabsTest, ApplyWritesOnlyTheShownPageAndDisablesItself) {
    MailRegistry registry;
    registry.AddClient("Windows Mail");
    registry.SetDefault("Windows Mail");
    InstallApplications(services, InstalledMailPrograms());
    Open(JobMask::kEmail | JobMask::kFile);
    ASSERT_FALSE(Page(JobMask::kEmail).IsUnavailable());
    const JobRecord storedFile = Stored(JobMask::kFile);
    Click(IDC_FILE_TAB);
    ASSERT_TRUE(ChooseScanMode(Page(JobMask::kFile), StringText(IDS_SCAN_MODE_COLOR).c_str()));
    ASSERT_TRUE(Page(JobMask::kFile).IsDirty());
    Click(IDC_EMAIL_TAB);
    ASSERT_TRUE(ChooseScanMode(Page(JobMask::kEmail), StringText(IDS_SCAN_MODE_BLACK_WHITE).c_str()));
    ASSERT_TRUE(ApplyEnabled());

    Click(IDC_APPLY);
    EXPECT_FALSE(ApplyEnabled());
    const JobRecord email = Stored(JobMask::kEmail);
    EXPECT_EQ(email.wColorMode, 4);
    EXPECT_TRUE(SameBytes(email, Page(JobMask::kEmail).Working()));
    EXPECT_TRUE(SameBytes(Page(JobMask::kEmail).Saved(), Page(JobMask::kEmail).Working()));
    EXPECT_FALSE(Page(JobMask::kEmail).IsDirty());
    EXPECT_TRUE(SameBytes(Stored(JobMask::kFile), storedFile)) << "the hidden page's edit stays unapplied";
    EXPECT_TRUE(Page(JobMask::kFile).IsDirty());
    Click(IDC_FILE_TAB);
    EXPECT_TRUE(ApplyEnabled()) << "the hidden page's edit can still be applied";
}

// Another process holds the file: the write cannot happen, and nothing says it did.
TEST_F(JobTabsTest, AFailedApplyKeepsTheEditAndApplyEnabled) {
    Open(JobMask::kFile | JobMask::kDUzar);
    const Bytes before = FileBytes(services.SettingsFile());
    ASSERT_TRUE(ChooseScanMode(Page(JobMask::kFile), StringText(IDS_SCAN_MODE_COLOR).c_str()));
    {
        UniqueFile other(
            ::CreateFileA(services.SettingsFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(other);
        Click(IDC_APPLY);
    }
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_TRUE(Page(JobMask::kFile).IsDirty());
    EXPECT_EQ(Page(JobMask::kFile).Working().wColorMode, 1);
    EXPECT_EQ(FileBytes(services.SettingsFile()), before);
    EXPECT_EQ(services.messages.size(), 1u) << "the settings file's message";

    Click(IDC_APPLY);
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_EQ(Stored(JobMask::kFile).wColorMode, 1);
}

// Every start reads the file in a batch that may write (first saves). When nothing was written, the user's file
// is not replaced: it keeps its bytes, its times and its attributes, hidden included.
TEST_F(JobTabsTest, StartAndExitLeaveTheSettingsFileAsItWas) {
    const std::string file = services.SettingsFile();
    WriteRecords(file, JobMask::kFile | JobMask::kDUzar, {Record(JobMask::kFile), Record(JobMask::kDUzar)});
    ASSERT_TRUE(::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_EQ(::GetFileAttributesA(file.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE))
        << "this file system keeps no hidden attribute; the check would prove nothing";
    const FILETIME old{0x5F3B0000, 0x01D6E000}; // some day in 2020, long before any rewrite
    {
        UniqueFile handle(::CreateFileA(file.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(handle);
        ASSERT_TRUE(::SetFileTime(handle.Get(), &old, nullptr, &old));
    }
    const Bytes before = FileBytes(file);
    WIN32_FILE_ATTRIBUTE_DATA was{};
    ASSERT_TRUE(::GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &was));
    ASSERT_EQ(CompareFileTime(&was.ftLastWriteTime, &old), 0);

    window = std::make_unique<CMainWindow>(&services);
    ASSERT_TRUE(window->Create(nullptr));
    ASSERT_EQ(window->Tabs().Count(), 2u);
    window->DestroyWindow();
    window.reset();

    EXPECT_EQ(FileBytes(file), before);
    EXPECT_EQ(::GetFileAttributesA(file.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    WIN32_FILE_ATTRIBUTE_DATA now{};
    ASSERT_TRUE(::GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &now));
    EXPECT_EQ(CompareFileTime(&now.ftLastWriteTime, &old), 0);
    EXPECT_EQ(CompareFileTime(&now.ftCreationTime, &was.ftCreationTime), 0);
    EXPECT_EQ(::GetFileAttributesA((file + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(JobTabsTest, ARecordNeverStoredIsWrittenWhileTheTabsAreBuilt) {
    JobRecord file = Record(JobMask::kFile);
    file.dwStored = 0;
    Open(JobMask::kFile | JobMask::kDUzar, {file, Record(JobMask::kDUzar)});
    const JobRecord stored = Stored(JobMask::kFile);
    EXPECT_EQ(stored.dwStored, 1u);
    EXPECT_TRUE(SameBytes(stored, Page(JobMask::kFile).Working()));
    EXPECT_FALSE(Page(JobMask::kFile).IsDirty());
    EXPECT_FALSE(ApplyEnabled());
}

// Every GDI object and window that building the tabs, switching them, Default and painting create is released
// again: neither a round of every tab nor a whole window's life leaves anything behind. The first window fills
// what stays for the process (window classes, stock objects, the system's caches) before the count.
TEST_F(JobTabsTest, TabsDefaultsAndTheWindowsLifeLeaveNoGdiObjectsOrWindowsBehind) {
    uint32_t all = 0;
    for (const JobInfo& job : kJobs)
        all |= job.mask;
    const auto round = [&] {
        for (const JobInfo& job : kJobs) {
            Click(job.tabButtonId);
            Click(IDC_DEFAULT);
            ::RedrawWindow(window->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            PumpMessages();
        }
    };
    const auto close = [&] {
        window->DestroyWindow();
        window.reset();
        PumpMessages();
    };
    Open(all);
    round();
    const ResourceCounts open = CountResources();
    for (int i = 0; i < 3; ++i)
        round();
    const ResourceCounts cycled = CountResources();
    EXPECT_EQ(cycled.gdiObjects, open.gdiObjects);
    EXPECT_EQ(cycled.windows, open.windows);
    EXPECT_GT(open.gdiObjects, 0u) << "nothing counted: the count would prove nothing";
    close();

    const ResourceCounts closed = CountResources();
    Open(all);
    round();
    close();
    const ResourceCounts again = CountResources();
    EXPECT_EQ(again.gdiObjects, closed.gdiObjects);
    EXPECT_EQ(again.windows, closed.windows);
}

} // namespace
} // namespace tolvan::test
