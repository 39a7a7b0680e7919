#include "mainwnd/job_tabs.h"

#include "app/app_services.h"
#include "app/startup_trace.h"
#include "mainwnd/tab_table.h"
#include "pages/page_factory.h"
#include "pages/page_messages.h"
#include "ui/bitmap_resource.h"

#include <cstring>
#include <new>

namespace tolvan {

namespace {

constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
constexpr int kTabTop = 52;
constexpr int kTabLeft = 29;
constexpr int kTabGap = 8;
constexpr int kDUzarRightMargin = 21;
constexpr POINT kPageAt{30, 120};

} // namespace

bool CJobTabs::BuildTab(const CSettingsFile::Job& data, CToolTipCtrl& toolTip, int slot, HFONT font) {
    const uint32_t mask = data.mask;
    const JobInfo* job = FindJob(mask);
    const TabLook* look = FindTabLook(mask);
    Tab tab;
    tab.mask = mask;
    tab.button = std::make_unique<CBitmapButton>();
    const std::string caption(job->caption);
    const RECT rect{0, 0, m_tabSize.cx, m_tabSize.cy};
    if (!tab.button->Create(caption.c_str(), kButtonStyle, rect, m_host.Window(), job->tabButtonId))
        return false;
    tab.button->SetBitmaps(look->normal, look->selected, look->focus, look->disabled, look->hover);
    tab.button->SizeToBitmap();

    const RECT client = [&] {
        RECT r{};
        ::GetClientRect(m_host.Window(), &r);
        return r;
    }();
    // DUzar sits at the right end of the row; every other tab takes the next place from the left (RAvud too,
    // so that it never lies on top of DUzar).
    const int x = mask == JobMask::kDUzar ? client.right - m_tabSize.cx - kDUzarRightMargin
                                          : (m_tabSize.cx + kTabGap) * slot + kTabLeft;
    ::SetWindowPos(tab.button->Handle(), HWND_TOP, x, kTabTop, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    tab.button->Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    tab.button->Show(SW_SHOW);
    toolTip.AddTranslatedTool(tab.button->Handle(), static_cast<UINT>(job->tabButtonId), nullptr, 0, m_app);

    tab.page = CreateJobPage(mask, m_app, &m_printers);
    if (!tab.page || !tab.page->LoadRecord(data.record, data.extra.empty() ? nullptr : data.extra.data()))
        return false;
    tab.page->SetModelName(m_file.ModelName());
    tab.page->ShareToolTips(&m_pageToolTips);
    tab.page->Create(m_host.Window());
    ::SetWindowPos(tab.page->Handle(), nullptr, kPageAt.x, kPageAt.y, m_pageSize.cx, m_pageSize.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    m_tabs.push_back(std::move(tab));
    startup_trace::Step(job->caption.data()); // the captions are literals
    return true;
}

bool CJobTabs::Build(CToolTipCtrl& toolTip) {
    std::vector<CSettingsFile::Job> jobs;
    if (!m_app || !m_file.ReadJobs(jobs))
        return false;
    startup_trace::Step("settings read");
    m_tabSize = ResourceBitmapSize(IDB_TAB_FILE_NORMAL);
    m_pageSize = ResourceBitmapSize(IDB_PAGE_BACKGROUND);
    const HFONT font = reinterpret_cast<HFONT>(::SendMessageA(m_host.Window(), WM_GETFONT, 0, 0));

    int slot = 0;
    for (const CSettingsFile::Job& job : jobs) {
        bool built = false;
        try {
            built = BuildTab(job, toolTip, slot, font);
        } catch (const std::bad_alloc&) {
        }
        if (!built) {
            Clear();
            m_file.EndBuild();
            return false;
        }
        if (job.mask != JobMask::kDUzar)
            ++slot;
    }
    startup_trace::Step("pages built");
    for (Tab& tab : m_tabs)
        m_file.FirstSave(*tab.page);
    startup_trace::Step("first saves");
    SelectFirst();
    startup_trace::Step("first tab selected");
    m_file.EndBuild();
    return true;
}

void CJobTabs::Show(Tab& tab, bool shown) {
    tab.shown = shown;
    tab.button->SetLatched(shown);
    tab.page->Show(shown ? SW_SHOW : SW_HIDE);
}

void CJobTabs::SelectFirst() {
    if (m_tabs.empty())
        return;
    Tab& first = m_tabs.front();
    Show(first, true);
    const TabLook* look = FindTabLook(first.mask);
    if (look->hintAtStartup && m_app->GetHintId() != look->hint)
        m_host.ShowHint(look->hint);
    if (look->startupWarning && first.page->IsUnavailable())
        m_host.Warn(look->startupWarning);
}

bool CJobTabs::OnTabCommand(int id) {
    for (const JobInfo& job : kJobs) {
        if (job.tabButtonId == id) {
            SelectTab(job.mask);
            return true;
        }
    }
    return false;
}

void CJobTabs::SelectTab(uint32_t mask) {
    Tab* tab = nullptr;
    for (Tab& t : m_tabs)
        if (t.mask == mask)
            tab = &t;
    if (!tab || tab->shown)
        return;
    Show(*tab, true);
    m_host.EnableApply(tab->page->IsDirty());
    const TabLook* look = FindTabLook(mask);
    for (TabStep step : look->steps) {
        switch (step) {
        case TabStep::kHint:
            if (m_app->GetHintId() != look->hint)
                m_host.ShowHint(look->hint);
            break;
        case TabStep::kWarning:
            if (look->clickWarning && tab->page->IsUnavailable())
                m_host.Warn(look->clickWarning);
            break;
        case TabStep::kHidePrevious:
            for (Tab& previous : m_tabs) {
                if (previous.shown && previous.mask != mask) {
                    Show(previous, false);
                    break;
                }
            }
            break;
        case TabStep::kNone:
            break;
        }
    }
}

CJobPage* CJobTabs::ShownPage() const {
    for (const Tab& tab : m_tabs)
        if (tab.shown)
            return tab.page.get();
    return nullptr;
}

CJobPage* CJobTabs::Page(uint32_t mask) const {
    for (const Tab& tab : m_tabs)
        if (tab.mask == mask)
            return tab.page.get();
    return nullptr;
}

void CJobTabs::Apply() {
    CJobPage* page = ShownPage();
    // On failure the edits and the enabled Apply button stay, so the user can try again.
    if (page && SUCCEEDED(m_file.Write(*page)))
        m_host.EnableApply(false);
}

void CJobTabs::RestoreDefaults() {
    if (CJobPage* page = ShownPage())
        page->Send(kRestoreDefaults);
}

void CJobTabs::Clear() {
    for (Tab& tab : m_tabs) {
        tab.button.reset();
        if (tab.page)
            tab.page->DestroyWindow();
        tab.page.reset();
    }
    m_tabs.clear();
}

} // namespace tolvan
