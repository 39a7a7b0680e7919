#include "app/tolvan_app.h"

#include "app/standard_error.h"
#include "app/startup_trace.h"
#include "app/text_format.h"
#include "mainwnd/main_window.h"
#include "modules/apinfo_module.h"
#include "pages/application_list.h"
#include "res/resource.h"

#include <commctrl.h>

#include <cstdio>

namespace tolvan {

bool CTolvanApp::InstallApplicationList() {
    ApInfoFiles files;
    if (!files.Find(*this))
        return false;
    std::shared_ptr<CApInfoModule> module = ShareApInfoModule(files.dll);
    if (!module)
        return false;
    HRESULT hr = module->SearchInstalledAp(files.catalogue, files.installed);
    if (FAILED(hr) && InstallDriverCatalogue())
        hr = module->SearchInstalledAp(files.catalogue, files.installed);
    if (FAILED(hr))
        return false;
    // The pages list their applications through the same module.
    KeepForStartup(std::move(module));
    return true;
}

bool CTolvanApp::CreateSharedFont() {
    HDC screen = ::GetDC(nullptr);
    const int charset = screen ? ::GetTextCharset(screen) : DEFAULT_CHARSET;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    m_font.Reset(::CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, static_cast<DWORD>(charset), 0, 0, 0, VARIABLE_PITCH,
                               "Times New Roman"));
    return static_cast<bool>(m_font);
}

void CTolvanApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    startup_trace::Step("common controls");

    DetermineDriverFolder();
    startup_trace::Step("driver folder");

    PathBuffer driver, path;
    GetDriverFolder(driver);
    if (driver[0] != '\0' && SetPath(path, driver) && AppendPath(path, "\\MultiLng.dll") && m_translation.Load(path)) {
        PathBuffer messages;
        if (SetPath(messages, driver) && AppendPath(messages, "\\Tolvan.msg"))
            m_translation.PowerOn(messages); // without translations every text is shown as it is
    }
    startup_trace::Step("translation module");

    const bool installed = InstallApplicationList();
    startup_trace::Step("application list");
    if (!installed) {
        TextBuffer text;
        LoadText(IDS_START_FAILED, text);
        ReportStartFailure(text);
        m_exitCode = kExitNoApplicationList;
        return;
    }

    CreateSharedFont();
    startup_trace::Step("shared font");
    m_exitCode = RunMainWindow();
}

ExitCode CTolvanApp::RunMainWindow() {
    CMainWindow window(this);
    const INT_PTR ended = window.DoModal(nullptr);
    const DWORD error = ::GetLastError();
    const bool shown = window.WasShown();
    window.DestroyWindow();
    if (ended == -1) {
        // Typically a session of the window system without a display: nothing can be shown, but a caller can
        // still be told.
        char number[16];
        std::snprintf(number, sizeof number, "%lu", static_cast<unsigned long>(error));
        TextBuffer format;
        LoadText(IDS_NO_MAIN_WINDOW, format);
        char text[sizeof format + sizeof number];
        FormatWithOneString(text, format, number);
        ReportStartFailure(text);
        return kExitNoMainWindow;
    }
    if (!shown) {
        // The settings file's own message, if any, has been shown already; the caller learns the outcome.
        TextBuffer text;
        LoadText(IDS_MAIN_WINDOW_GAVE_UP, text);
        WriteStandardError(text);
        return kExitMainWindowGaveUp;
    }
    return kExitClosed;
}

void CTolvanApp::ReportStartFailure(const char* text) {
    WriteStandardError(text);
    ShowStartupError(text);
}

int CTolvanApp::ExitInstance() {
    EndStartup();
    m_store.reset();
    m_font.Reset();
    m_translation.Unload();
    return m_exitCode;
}

} // namespace tolvan
