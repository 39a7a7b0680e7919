#include "mainwnd/main_window.h"

#include "app/app_services.h"
#include "app/startup_trace.h"
#include "controls/skin_colours.h"
#include "mainwnd/options_file.h"
#include "modules/module_loading.h"
#include "controls/region_from_bitmap.h"
#include "pages/page_messages.h"
#include "res/resource.h"
#include "ui/bitmap_resource.h"
#include "ui/controls.h"
#include "ui/gdi.h"
#include "ui/resource_counts.h"

#include <htmlhelp.h>

namespace tolvan {

namespace {

constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;

// Client positions of the fixed layout.
constexpr RECT kPageFrame{24, 110, 24 + 410, 110 + 156};
constexpr RECT kHintFrame{24, 270, 24 + 410, 270 + 60};
constexpr RECT kHintLine{35, 287, 35 + 381, 287 + 33};
constexpr POINT kMinimizeAt{389, 16};
constexpr POINT kCloseAt{412, 16};
constexpr POINT kDefaultAt{182, 345};
constexpr POINT kApplyAt{266, 345};
constexpr POINT kExitAt{350, 345};

void MoveTo(HWND control, const RECT& r) {
    ::SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void MoveToTop(const CWindow& button, POINT at) {
    ::SetWindowPos(button.Handle(), HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace

CMainWindow::CMainWindow(CAppServices* app) : CDialog(IDD_MAIN), m_app(app), m_tabs(*this, app) {
    m_icon = static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TOLVAN), IMAGE_ICON, 0,
                                             0, LR_DEFAULTSIZE | LR_SHARED));
}

CMainWindow::~CMainWindow() {
    DestroyWindow();
}

bool CMainWindow::CreateButtons() {
    const SIZE size = ResourceBitmapSize(IDB_BUTTON_NORMAL);
    const RECT rect{0, 0, size.cx, size.cy};
    struct NewButton {
        std::unique_ptr<CBitmapButton>& button;
        int id;
        const char* text;
    };
    for (const NewButton& s : {NewButton{m_exit, IDC_EXIT, "Exit"}, NewButton{m_default, IDC_DEFAULT, "Default"},
                               NewButton{m_apply, IDC_APPLY, "Apply"}}) {
        s.button = std::make_unique<CBitmapButton>();
        if (!s.button->Create(s.text, kButtonStyle, rect, m_hwnd, s.id))
            return false;
        s.button->SetBitmaps(IDB_BUTTON_NORMAL, IDB_BUTTON_SELECTED, 0, IDB_BUTTON_DISABLED, IDB_BUTTON_HOVER);
    }
    m_apply->Enable(false);
    return true;
}

BOOL CMainWindow::OnInitDialog() {
    startup_trace::Step("main window created");
    ::SendMessageA(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    ::SendMessageA(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    // The taskbar button offers a system menu.
    ::SetWindowLongA(m_hwnd, GWL_STYLE, ::GetWindowLongA(m_hwnd, GWL_STYLE) | WS_SYSMENU);
    SetText("Tolvan");
    m_toolTip.Create(m_hwnd, 0);

    if (!m_app || !m_app->GetSettingsStore())
        return GiveUp();
    if (!CreateButtons())
        return GiveUp();

    const ScaleFactors factors = FactorsFromDialogUnits(m_hwnd);
    m_app->SetScaleFactors(factors.x, factors.y);
    m_app->ApplyDialogFont(m_hwnd);

    const SIZE titleSize = ResourceBitmapSize(IDB_MINIMIZE_NORMAL);
    const RECT titleRect{0, 0, titleSize.cx, titleSize.cy};
    m_minimize = std::make_unique<CBitmapButton>();
    m_close = std::make_unique<CBitmapButton>();
    if (!m_minimize->Create("", kButtonStyle, titleRect, m_hwnd, IDC_MINIMIZE) ||
        !m_close->Create("", kButtonStyle, titleRect, m_hwnd, IDC_CLOSE))
        return GiveUp();
    m_minimize->SetBitmaps(IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_SELECTED, 0, 0, IDB_MINIMIZE_HOVER);
    m_close->SetBitmaps(IDB_CLOSE_NORMAL, IDB_CLOSE_SELECTED, 0, 0, IDB_CLOSE_HOVER);
    m_minimize->SizeToBitmap();
    m_close->SizeToBitmap();
    startup_trace::Step("buttons and scaling");

    m_skin.Reset(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_SKIN)));
    m_skinSize = BitmapSize(m_skin.Get());
    PlaceWindow();
    if (UniqueRegion region = RegionFromBitmap(IDB_SKIN_MASK, 255)) {
        // The window owns the region from here on.
        if (::SetWindowRgn(m_hwnd, region.Get(), TRUE))
            region.Release();
    }
    PlaceControls();
    startup_trace::Step("skin and region");

    const bool built = BuildJobTabs();
    // Every page has listed its applications: start-up needs the application-info module no longer.
    m_app->EndStartup();
    if (!built)
        return GiveUp();
    startup_trace::Step("job tabs");
    SetUpAutoCrop();
    m_transparentBrush = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    m_backgroundBrush.Reset(::CreateSolidBrush(kPageColour));
    m_app->TranslateDialog(m_hwnd, IDD_MAIN);
    startup_trace::Step("translated");
    Show(SW_SHOW);
    startup_trace::Step("shown");
    m_shown = true;
    return TRUE;
}

void CMainWindow::PlaceWindow() {
    const int left = (::GetSystemMetrics(SM_CXFULLSCREEN) - m_skinSize.cx) / 2;
    const int top = (::GetSystemMetrics(SM_CYFULLSCREEN) - m_skinSize.cy) / 2;
    ::SetWindowPos(m_hwnd, nullptr, left, top, m_skinSize.cx, m_skinSize.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainWindow::PlaceControls() {
    // The skin draws both frames; the controls only keep their places for the pages and the hint line.
    MoveTo(Item(IDC_PAGE_FRAME), kPageFrame);
    MoveTo(Item(IDC_HINT_FRAME), kHintFrame);
    ShowItem(IDC_PAGE_FRAME, false);
    ShowItem(IDC_HINT_FRAME, false);
    MoveTo(Item(IDC_HINT_LINE), kHintLine);
    MoveToTop(*m_minimize, kMinimizeAt);
    MoveToTop(*m_close, kCloseAt);
    m_apply->SizeToBitmap();
    m_exit->SizeToBitmap();
    m_default->SizeToBitmap();
    MoveToTop(*m_exit, kExitAt);
    MoveToTop(*m_default, kDefaultAt);
    MoveToTop(*m_apply, kApplyAt);
}

void CMainWindow::SetUpAutoCrop() {
    const int value = COptionsFile(*m_app).ReadAutoCrop();
    Button box(Item(IDC_AUTO_CROP));
    if (value == kAutoCropNotOffered)
        box.Show(SW_HIDE);
    box.SetCheck(value);
}

LRESULT CMainWindow::ShowHint(UINT id) {
    TextBuffer text;
    m_app->LoadText(id, text);
    SetItemText(IDC_HINT_LINE, text);
    m_app->SetHintId(id);
    return 1;
}

void CMainWindow::Warn(UINT id) {
    TextBuffer text;
    m_app->LoadText(id, text);
    m_app->ShowMessage(m_hwnd, text, MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST);
}

void CMainWindow::EnableApply(bool enable) {
    if (m_apply)
        m_apply->Enable(enable);
}

void CMainWindow::OnCommand(int id, int code, HWND) {
    if (code == BN_CLICKED && m_tabs.OnTabCommand(id))
        return;
    switch (id) {
    case IDC_APPLY:
        m_tabs.Apply();
        break;
    case IDC_DEFAULT:
        m_tabs.RestoreDefaults();
        break;
    case IDC_EXIT:
    case IDC_CLOSE:
        End();
        break;
    case IDC_MINIMIZE:
        Show(SW_SHOWMINNOACTIVE);
        break;
    case IDC_AUTO_CROP:
        if (code == BN_CLICKED)
            COptionsFile(*m_app).WriteAutoCrop(Button(Item(IDC_AUTO_CROP)).GetCheck());
        break;
    case ID_HELP:
        OpenHelp();
        break;
    default:
        break;
    }
}

void CMainWindow::OpenHelp() const {
    PathBuffer path;
    m_app->GetDriverFolder(path);
    if (path[0] == '\0' || !AppendPath(path, "\\Driver.chm"))
        return;
    // The help module is loaded at the first request rather than with the program, whose start it would slow for
    // a window most starts never open; it stays loaded for as long as a help window may be shown.
    using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    static const UniqueModule module(::LoadLibraryA("hhctrl.ocx"));
    HtmlHelpFn htmlHelp = nullptr;
    // The help context of the request does not matter: the file opens at its default topic.
    if (module && Resolve(module.Get(), "HtmlHelpA", htmlHelp))
        htmlHelp(::GetDesktopWindow(), path, HH_DISPLAY_TOPIC, 0);
}

void CMainWindow::OnPaint() {
    PaintDC paint(m_hwnd);
    if (::IsIconic(m_hwnd)) {
        ::SendMessageA(m_hwnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Get()), 0);
        const RECT client = ClientRect();
        const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(paint.Get(), x, y, m_icon);
        return;
    }
    DrawSkin(paint.Get());
    startup_trace::Finish("first paint");
}

void CMainWindow::DrawSkin(HDC dc) const {
    if (!m_skin)
        return;
    MemoryDC memory(dc);
    ScopedSelectObject select(memory.Get(), m_skin.Get());
    ::BitBlt(dc, 0, 0, m_skinSize.cx, m_skinSize.cy, memory.Get(), 0, 0, SRCCOPY);
}

LRESULT CMainWindow::OnCtlColorStatic(HDC dc, HWND control) {
    // The default processing comes first: it gives the text the system's window-text colour, which a dialog's
    // own colours leave alone; only the background is the window's.
    ::DefWindowProcA(m_hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    if (::GetDlgCtrlID(control) == IDC_AUTO_CROP) {
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(m_transparentBrush);
    }
    ::SetBkColor(dc, kPageColour);
    return reinterpret_cast<LRESULT>(m_backgroundBrush.Get());
}

void CMainWindow::OnSysCommand(WPARAM command) {
    switch (command & 0xFFF0) {
    case SC_RESTORE:
        Show(SW_RESTORE);
        break;
    case SC_CLOSE:
        End();
        break;
    default:
        break;
    }
}

bool CMainWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_NCHITTEST:
        // Any point that no control covers drags the window.
        result = HTCAPTION;
        return true;
    case WM_PAINT:
        OnPaint();
        result = 0;
        return true;
    case WM_PRINTCLIENT:
        // Transparent controls ask their parent for the background behind them.
        DrawSkin(reinterpret_cast<HDC>(wParam));
        result = 0;
        return true;
    case WM_CTLCOLORSTATIC:
        if (!m_backgroundBrush)
            return false;
        result = OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        return true;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(m_icon);
        return true;
    case WM_SYSCOMMAND:
        OnSysCommand(wParam);
        return false; // the default processing follows in every case
    case WM_HELP:
        OpenHelp();
        result = TRUE;
        return true;
    case kPageChanged:
        EnableApply(wParam != 0);
        return false;
    case kShowHint:
        result = ShowHint(static_cast<UINT>(wParam));
        return true;
    default:
        if (msg != 0 && msg == ResourceCountsMessage()) {
            result = ResourcesAnswer(CountResources());
            return true;
        }
        return CDialog::OnMessage(msg, wParam, lParam, result);
    }
}

void CMainWindow::DestroyWindow() {
    m_tabs.Clear();
    m_backgroundBrush.Reset();
    m_skin.Reset();
    m_minimize.reset();
    m_close.reset();
    m_default.reset();
    m_exit.reset();
    m_apply.reset();
    CDialog::DestroyWindow();
}

} // namespace tolvan
