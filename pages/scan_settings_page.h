// The group of controls and rules that every job page shares: scan mode, resolution slider
// with its caption, the two labels with tool tips (their ids are in res/resource.h), hints sent to the main
// window, the change notification, the common steps of restoring defaults, the page's colours and
// background. A page supplies only what differs: its availability test, its follow-ups and its own
// defaults.
#pragma once

#include "controls/tool_tip.h"
#include "pages/job_page.h"

#include <memory>

namespace tolvan {

class CScanSettingsPage : public CJobPage {
public:
    using CJobPage::CJobPage;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // The page's own set-up, from scaling to its last step. The dialog's texts are translated after it however it
    // ends, so that a page whose destinations cannot be listed still speaks the user's language.
    virtual void SetUpPage() = 0;
    void OnCommand(int id, int code, HWND control) override;

    // Whether the page has a destination to offer; an unavailable page never notifies a change.
    virtual bool IsAvailable() const = 0;
    // Runs after the scan mode changed and before the change is notified.
    virtual void AfterScanModeChange() {}
    // The page's own part of restoring defaults; sets the dirty flag where it changes a field. False ends the
    // request at once: no notification is sent and the request is not passed on.
    virtual bool RestorePageDefaults() { return true; }
    // The hint over one of the page's controls; by default the control's id.
    virtual UINT HintIdForControl(int id) const { return static_cast<UINT>(id); }
    // The page's text field that keeps the default colours (0: none).
    virtual int ValueFieldId() const { return 0; }
    // Handles a command of the page's own controls.
    virtual void OnPageCommand(int /*id*/, int /*code*/) {}
    // Handles a horizontal scroll from anything but the resolution slider (source may be null).
    virtual void OnPageScroll(HWND /*source*/) {}
    // Gives a colour request the page's own answer; false falls back to the common rule.
    virtual bool PageCtlColor(UINT /*msg*/, HDC /*dc*/, HWND /*control*/, LRESULT& /*result*/) { return false; }

    // The common set-up: scaling, background, tool tips, scan modes and resolution, in this order.
    void SetUpScanSettings() {
        ScaleControls();
        LoadBackground();
        SetUpToolTips();
        FillScanModes();
        SelectScanMode();
        ShowResolution();
    }
    // Set-up steps one by one, for pages whose initialisation interleaves its own.
    void ScaleControls();
    void SetUpToolTips();
    void LoadBackground();
    void FillScanModes();
    void SelectScanMode();
    void ShowResolution();

    // After a user change of one field of the working copy: the first effective change of an available page
    // sets the dirty flag and tells the main window.
    void NotifyChange(const void* workingField, size_t size);
    template <class T> void NotifyChange(const T& workingField) { NotifyChange(&workingField, sizeof workingField); }
    // Tells the main window that the page changed.
    void SendPageChanged();
    // The resolution slider moved: the working copy and the caption follow it.
    void OnResolutionScroll();
    // Loads a string-table text through the translation module.
    void LoadText(UINT id, char (&buffer)[260]) const;

    // Shared with the window's other pages (ShareToolTips); null when it could not be made.
    std::shared_ptr<CToolTipCtrl> m_toolTip;

private:
    BOOL OnInitDialog() final;
    void Translate();
    void OnScanModeChange();
    // False when the page ended the request early.
    bool OnRestoreDefaults();
    void OnSetCursor(HWND over);
    LRESULT OnCtlColor(UINT msg, HDC dc, HWND control);
    void OnEraseBackground(HDC dc);
    void SetResolutionCaption(int position);

    UniqueBrush m_pageBrush;
    // Shared with the other pages (CAppServices::SharePageBackground).
    std::shared_ptr<UniqueBitmap> m_background;
};

} // namespace tolvan
