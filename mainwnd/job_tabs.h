// The row of job tabs below the main window's title and the page of each: built once from the
// settings file, switched by the tab buttons, written by Apply, reset by Default. Every page lives as
// long as the window, so a hidden page keeps its unapplied edits.
#pragma once

#include "controls/bitmap_button.h"
#include "controls/tool_tip.h"
#include "mainwnd/settings_file.h"
#include "pages/job_page.h"
#include "pages/shared_printers.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace tolvan {

class CAppServices;

// What the tabs need of the window they sit on. The window owns the Apply button; the tabs only say when it
// follows the shown page.
class ITabHost {
public:
    virtual HWND Window() const = 0;
    virtual LRESULT ShowHint(UINT id) = 0;
    virtual void Warn(UINT id) = 0;
    virtual void EnableApply(bool enable) = 0;

protected:
    ~ITabHost() = default;
};

class CJobTabs {
public:
    CJobTabs(ITabHost& host, CAppServices* app) : m_host(host), m_app(app), m_file(app) {}

    // Reads the model and builds one tab and page per offered job, then lets the settings file's owner make the
    // first saves the pages asked for, in tab order, before the first tab is shown. On failure nothing is left
    // built.
    bool Build(CToolTipCtrl& toolTip);
    // A click on a tab button. Returns false when id is no tab button's.
    bool OnTabCommand(int id);
    void Apply();
    void RestoreDefaults();
    // Deletes every tab button and page; running it twice is harmless.
    void Clear();

    size_t Count() const { return m_tabs.size(); }
    CJobPage* ShownPage() const;
    CJobPage* Page(uint32_t mask) const;

private:
    struct Tab {
        uint32_t mask = 0;
        bool shown = false;
        std::unique_ptr<CBitmapButton> button;
        std::unique_ptr<CJobPage> page;
    };

    bool BuildTab(const CSettingsFile::Job& job, CToolTipCtrl& toolTip, int slot, HFONT font);
    void SelectFirst();
    void SelectTab(uint32_t mask);
    void Show(Tab& tab, bool shown);

    ITabHost& m_host;
    CAppServices* m_app;
    CSettingsFile m_file;
    // Outlives the pages, which hold what it shares.
    CSharedPrinters m_printers;
    // The pages' one tool tip control, while any page holds it.
    CSharedWhileHeld<CToolTipCtrl> m_pageToolTips;
    std::vector<Tab> m_tabs;
    SIZE m_tabSize{};
    SIZE m_pageSize{};
};

} // namespace tolvan
