#include "pages/scan_settings_page.h"

#include "app/app_services.h"
#include "controls/skin_colours.h"
#include "pages/page_messages.h"
#include "res/resource.h"
#include "settings/job_table.h"
#include "ui/controls.h"
#include "ui/gdi.h"

#include <cstring>

namespace tolvan {

void CScanSettingsPage::LoadText(UINT id, char (&buffer)[260]) const {
    if (m_app) {
        m_app->LoadText(id, buffer);
        return;
    }
    std::memset(buffer, 0, sizeof buffer);
    ::LoadStringA(::GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
}

void CScanSettingsPage::ScaleControls() {
    if (m_app)
        m_app->ApplyDialogFont(m_hwnd);
}

void CScanSettingsPage::SetUpToolTips() {
    // A tool tip control is a top-level window, which the window system takes milliseconds to make. Only one page
    // of a window shows at a time, so no two pages' tools are ever under the pointer together, and one control
    // serves them all as each page's own did.
    CSharedWhileHeld<CToolTipCtrl> own;
    m_toolTip = (m_toolTips ? *m_toolTips : own).Get([this](CToolTipCtrl& made) { return made.Create(m_hwnd, 0); });
    if (!m_toolTip)
        return;
    for (int id : {IDC_SCAN_MODE_LABEL, IDC_RESOLUTION_LABEL})
        if (HWND label = Item(id))
            m_toolTip->AddTranslatedTool(label, static_cast<UINT>(id), nullptr, 0, m_app);
}

void CScanSettingsPage::LoadBackground() {
    m_pageBrush.Reset(::CreateSolidBrush(kPageColour));
    if (m_app)
        m_background = m_app->SharePageBackground();
}

void CScanSettingsPage::FillScanModes() {
    ComboBox list(Item(IDC_SCAN_MODE));
    for (const ScanMode& mode : kScanModes) {
        if (!(m_working.bColorModes & mode.bit))
            continue;
        char text[260];
        LoadText(mode.text, text);
        // Whole texts, not the list's prefix search: a translation may give one mode a text that begins
        // another's, and the prefix search would take that entry for this mode, which would then be missing.
        if (list.FindStringExact(-1, text) == CB_ERR)
            list.AddString(text);
    }
}

void CScanSettingsPage::SelectScanMode() {
    ComboBox list(Item(IDC_SCAN_MODE));
    for (const ScanMode& mode : kScanModes) {
        if (!(m_working.wColorMode & mode.bit))
            continue;
        char text[260];
        LoadText(mode.text, text);
        const int index = list.FindStringExact(-1, text);
        if (index != CB_ERR)
            list.SetCurSel(index);
    }
}

void CScanSettingsPage::SetResolutionCaption(int position) {
    const Resolution* r = FindResolutionByPosition(position);
    if (!r)
        return;
    char caption[260];
    LoadText(r->caption, caption);
    SetItemText(IDC_RESOLUTION_CAPTION, caption);
    ::InvalidateRect(Item(IDC_RESOLUTION), nullptr, TRUE);
}

void CScanSettingsPage::ShowResolution() {
    Slider slider(Item(IDC_RESOLUTION));
    slider.SetRange(1, 4, false);
    if (const Resolution* r = FindResolution(m_working.wResolution)) {
        slider.SetPos(r->position);
        SetResolutionCaption(r->position);
    }
}

BOOL CScanSettingsPage::OnInitDialog() {
    SetUpPage();
    Translate();
    return TRUE;
}

void CScanSettingsPage::Translate() {
    if (m_app)
        m_app->TranslateDialog(m_hwnd, TemplateId());
}

void CScanSettingsPage::SendPageChanged() {
    ::SendMessageA(::GetParent(m_hwnd), kPageChanged, 1, 0);
}

void CScanSettingsPage::NotifyChange(const void* workingField, size_t size) {
    const auto offset =
        static_cast<size_t>(static_cast<const uint8_t*>(workingField) - reinterpret_cast<const uint8_t*>(&m_working));
    if (offset + size > kJobRecordSize)
        return;
    if (m_dirty || !IsAvailable())
        return;
    if (std::memcmp(workingField, reinterpret_cast<const uint8_t*>(&m_saved) + offset, size) == 0)
        return;
    m_dirty = true;
    SendPageChanged();
}

void CScanSettingsPage::OnScanModeChange() {
    ComboBox list(Item(IDC_SCAN_MODE));
    const int index = list.GetCurSel();
    if (index != CB_ERR) {
        char selected[260] = {};
        if (list.GetLBTextLen(index) < static_cast<int>(sizeof selected))
            list.GetLBText(index, selected);
        for (const ScanMode& mode : kScanModes) {
            char text[260];
            LoadText(mode.text, text);
            if (std::strcmp(selected, text) == 0) {
                m_working.wColorMode = mode.bit;
                break;
            }
        }
    }
    AfterScanModeChange();
    NotifyChange(m_working.wColorMode);
}

void CScanSettingsPage::OnResolutionScroll() {
    const int position = Slider(Item(IDC_RESOLUTION)).GetPos();
    if (const Resolution* r = FindResolutionByPosition(position); r && r->dpi != m_working.wResolution) {
        m_working.wResolution = r->dpi;
        SetResolutionCaption(position);
    }
    if (IsAvailable())
        NotifyChange(m_working.wResolution);
}

bool CScanSettingsPage::OnRestoreDefaults() {
    const bool available = IsAvailable();
    if (m_working.wColorMode != m_working.wDefColorMode) {
        m_working.wColorMode = m_working.wDefColorMode;
        SelectScanMode();
        m_dirty = m_dirty || available;
    }
    if (m_working.wResolution != m_working.wDefResolution) {
        m_working.wResolution = m_working.wDefResolution;
        ShowResolution();
        m_dirty = m_dirty || available;
    }
    if (!RestorePageDefaults())
        return false;
    if (m_dirty && available)
        SendPageChanged();
    return true;
}

void CScanSettingsPage::OnSetCursor(HWND over) {
    UINT hint = TemplateId();
    if (over && over != m_hwnd) {
        const int id = ::GetDlgCtrlID(over);
        if (id == IDC_RESOLUTION_CAPTION) {
            const Resolution* r = FindResolution(m_working.wResolution);
            hint = r ? r->hint : kResolutions[0].hint;
        } else {
            hint = HintIdForControl(id);
        }
    }
    if (!m_app || m_app->GetHintId() == hint)
        return;
    m_app->SetHintId(hint);
    ::SendMessageA(::GetParent(m_hwnd), kShowHint, hint, 0);
}

LRESULT CScanSettingsPage::OnCtlColor(UINT msg, HDC dc, HWND control) {
    const LRESULT standard =
        ::DefWindowProcA(m_hwnd, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    LRESULT result = 0;
    if (PageCtlColor(msg, dc, control, result))
        return result;
    const int id = ::GetDlgCtrlID(control);
    if (id == IDC_SCAN_MODE_LABEL || id == IDC_RESOLUTION_LABEL) {
        // Their text cell takes the page colour too, or it would show as a white box on the page.
        ::SetBkColor(dc, kPageColour);
        return reinterpret_cast<LRESULT>(m_pageBrush.Get());
    }
    if (msg != WM_CTLCOLORSTATIC || id == IDC_RESOLUTION_CAPTION || (ValueFieldId() != 0 && id == ValueFieldId()))
        return standard;
    char className[32] = {};
    ::GetClassNameA(control, className, sizeof className);
    if (_stricmp(className, TRACKBAR_CLASSA) == 0) {
        ::SetBkColor(dc, kPageColour);
        return reinterpret_cast<LRESULT>(m_pageBrush.Get());
    }
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

void CScanSettingsPage::OnEraseBackground(HDC dc) {
    const RECT client = ClientRect();
    ::FillRect(dc, &client, m_pageBrush.Get());
    if (!m_background)
        return;
    BITMAP info{};
    ::GetObjectA(m_background->Get(), sizeof info, &info);
    MemoryDC memory(dc);
    ScopedSelectObject select(memory.Get(), m_background->Get());
    ::BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory.Get(), 0, 0, SRCCOPY);
}

void CScanSettingsPage::OnCommand(int id, int code, HWND) {
    if (id == IDC_SCAN_MODE && code == CBN_SELCHANGE)
        OnScanModeChange();
    else
        OnPageCommand(id, code);
}

bool CScanSettingsPage::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case kRestoreDefaults:
        // The default processing follows, unless the page ended the request.
        return !OnRestoreDefaults();
    case WM_HSCROLL:
        if (HWND source = reinterpret_cast<HWND>(lParam); source && source == Item(IDC_RESOLUTION))
            OnResolutionScroll();
        else
            OnPageScroll(source);
        return false;
    case WM_SETCURSOR:
        OnSetCursor(reinterpret_cast<HWND>(wParam));
        return false; // the default cursor processing follows
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        if (!m_pageBrush)
            return false;
        result = OnCtlColor(msg, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        return true;
    case WM_ERASEBKGND:
        OnEraseBackground(reinterpret_cast<HDC>(wParam));
        result = TRUE;
        return true;
    default:
        return CJobPage::OnMessage(msg, wParam, lParam, result);
    }
}

} // namespace tolvan
