// The row of job tabs below the main window's title and the page of each: built once from the
// settings file, switched by the tab buttons, written by Apply, reset by Default. Every page lives as
// long as the window, so a hidden page keeps its unapplied edits.
#pragma once

#include "controls/bitmap_button.h"
#include "controls/tool_tip.h"
#include "pages/job_page.h"
#include "settings/settings_store.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace tolvan {

class CAppServices;

// What the tabs need of the window they sit on.
class ITabHost {
public:
    virtual HWND Window() const = 0;
    virtual LRESULT ShowHint(UINT id) = 0;
    virtual void Warn(UINT id) = 0;

protected:
    ~ITabHost() = default;
};

class CJobTabs {
public:
    CJobTabs(ITabHost& host, CAppServices* app) : m_host(host), m_app(app) {}

    // Reads the model and builds one tab and page per offered job. A settings file that opens but cannot be read
    // that far is replaced by the driver's template (kept as a backup first), once. On failure nothing is left
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

    // One offered job's record as read from the file, with its blob.
    struct JobData {
        uint32_t mask = 0;
        JobRecord record{};
        std::vector<uint8_t> extra;
    };

    // Reads the model name, the job set and the record of every offered job, before any page exists: a file
    // that fails here has not been written to.
    HRESULT ReadModel(std::vector<JobData>& jobs);
    bool BuildTab(const JobData& job, CToolTipCtrl& toolTip, int slot, HFONT font);
    HRESULT ReadRecord(uint32_t mask, JobRecord& record, std::vector<uint8_t>& extra);
    void SelectFirst();
    void SelectTab(uint32_t mask);
    void Show(Tab& tab, bool shown);
    void EnableApply(bool enable) const;

    ITabHost& m_host;
    CAppServices* m_app;
    std::vector<Tab> m_tabs;
    std::array<uint8_t, kSpecInfoSize> m_specInfo{};
    char m_modelName[kModelNameBytes] = {};
    SIZE m_tabSize{};
    SIZE m_pageSize{};
};

} // namespace tolvan
