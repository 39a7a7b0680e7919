#include "main_window_host.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

namespace tolvan::test {

Installation::Installation() {
    for (const std::string& folder : {m_windows, m_windows + "\\Twain_32", m_windows + "\\Twain_32\\ZezoRiz6", m_driver,
                                      m_appData, m_appData + "\\Kelto", m_user})
        ::CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* name : {"APInfo.dll", "APInfo.dat", "MultiLng.dll", "Tolvan.msg", "Tolvan.dat"}) {
        const std::string from = std::string(TOLVAN_DRIVER_PACKAGE) + "\\" + name;
        EXPECT_TRUE(::CopyFileA(from.c_str(), (m_driver + "\\" + name).c_str(), FALSE)) << from;
    }
}

SystemFacts Installation::Facts() const {
    SystemFacts facts;
    facts.programPath = m_driver + "\\Tolvan.exe";
    facts.windowsFolder = m_windows;
    facts.appDataFolder = m_appData;
    return facts;
}

std::vector<std::string> Installation::UserFiles() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((m_user + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(data.cFileName);
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

CRecordingApp::CRecordingApp(const Installation& installation) : CTolvanApp(installation.Facts()) {
    m_driverFolder = installation.DriverFolder();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    // As start-up leaves things before the main window: the application lists in place and the shared font.
    EXPECT_TRUE(InstallApplicationList());
    CreateSharedFont();
}

MainWindowRun::MainWindowRun(CRecordingApp& app) : m_window(&app) {
    m_window.Create(nullptr);
}

MainWindowRun::~MainWindowRun() {
    m_window.DestroyWindow();
}

bool MainWindowRun::Shown() const {
    return m_window.Handle() && ::IsWindowVisible(m_window.Handle());
}

namespace {

// Wine answers a crash with its error dialog, which waits for a person: the test would hang instead of failing.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    std::fprintf(stderr, "\nFAILED: exception 0x%08lx at %p (module base %p)\n", record->ExceptionCode,
                 record->ExceptionAddress, static_cast<void*>(::GetModuleHandleA(nullptr)));
    std::fflush(stderr);
    ::TerminateProcess(::GetCurrentProcess(), 4);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

Watchdog::Watchdog(std::string what, unsigned seconds) : m_what(std::move(what)), m_seconds(seconds) {
    ::SetUnhandledExceptionFilter(ReportCrash);
    m_done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thread = ::CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

Watchdog::~Watchdog() {
    ::SetEvent(m_done);
    ::WaitForSingleObject(m_thread, INFINITE);
    ::CloseHandle(m_thread);
    ::CloseHandle(m_done);
}

DWORD WINAPI Watchdog::Run(void* self) {
    auto* dog = static_cast<Watchdog*>(self);
    if (::WaitForSingleObject(dog->m_done, dog->m_seconds * 1000) != WAIT_TIMEOUT)
        return 0;
    std::fprintf(stderr, "\nFAILED: %s did not return within %u s; the program would hang here.\n", dog->m_what.c_str(),
                 dog->m_seconds);
    std::fflush(stderr);
    ::TerminateProcess(::GetCurrentProcess(), 3);
    return 0;
}

} // namespace tolvan::test
