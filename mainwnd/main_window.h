// The program's one top-level window: a skinned dialog whose size and background come from a bitmap
// and whose outline from a second one, dragged by its background, with bitmap buttons in place of
// the caption buttons. The job tabs and pages live on it.
#pragma once

#include "controls/bitmap_button.h"
#include "controls/tool_tip.h"
#include "mainwnd/job_tabs.h"
#include "ui/dialog.h"
#include "ui/unique_handle.h"

#include <cstdint>
#include <memory>

namespace tolvan {

class CAppServices;

class CMainWindow : public CDialog, private ITabHost {
public:
    explicit CMainWindow(CAppServices* app);
    ~CMainWindow() override;

    // Releases what the window holds; running it twice is harmless.
    void DestroyWindow() override;

    HICON Icon() const { return m_icon; }
    // The initialisation ran to its end and showed the window; false when the window ended unseen.
    bool WasShown() const { return m_shown; }
    const CJobTabs& Tabs() const { return m_tabs; }

    // Shows a string in the hint line and remembers it as the last hint.
    LRESULT ShowHint(UINT id) override;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    // Enter and Escape never close the window.
    void OnOK() override {}
    void OnCancel() override {}

    // Builds the job tabs and pages from the settings file; false ends the dialog unseen.
    virtual bool BuildJobTabs() { return m_app && m_tabs.Build(m_toolTip); }

private:
    bool CreateButtons();
    void PlaceWindow();
    void PlaceControls();
    void SetUpAutoCrop();
    void OnPaint();
    void DrawSkin(HDC dc) const;
    LRESULT OnCtlColorStatic(HDC dc, HWND control);
    void OnSysCommand(WPARAM command);
    void OpenHelp() const;
    void End() { EndDialog(IDCANCEL); }
    // Ends the initialisation unseen. A modal dialog whose initialisation merely returned FALSE would go on
    // running without ever being shown.
    BOOL GiveUp() {
        End();
        return FALSE;
    }
    HWND Window() const override { return m_hwnd; }
    void Warn(UINT id) override;
    // The one place the Apply button's state changes: a page's change notification and the tabs both come here.
    void EnableApply(bool enable) override;

    CAppServices* m_app;
    UniqueBrush m_backgroundBrush;
    HBRUSH m_transparentBrush = nullptr;
    HICON m_icon = nullptr;
    std::unique_ptr<CBitmapButton> m_exit, m_default, m_apply, m_minimize, m_close;
    UniqueBitmap m_skin;
    SIZE m_skinSize{};
    CToolTipCtrl m_toolTip;
    CJobTabs m_tabs;
    bool m_shown = false;
};

} // namespace tolvan
