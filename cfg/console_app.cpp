#include "cfg/console_app.h"

#include "app/standard_error.h"

#include <cstdio>

namespace tolvan {

namespace {

constexpr char kTemplateName[] = "\\Tolvan.dat";

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Hex(HRESULT hr) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(hr));
    return text;
}

} // namespace

CConsoleApp::CConsoleApp(SystemFacts facts) : CAppServices(std::move(facts)) {
    DetermineDriverFolder();
    PathBuffer path;
    if (SettingsFilePath(path))
        m_path = path;
}

void CConsoleApp::Complain(const std::string& text) {
    std::fflush(stdout);
    WriteStandardError(("tolvancfg: " + text).c_str());
}

int CConsoleApp::ShowMessage(HWND, const char* text, UINT) {
    Complain(text);
    return IDOK;
}

int CConsoleApp::OpenAndRead(const char* path, DWORD mode, StoredSettings& settings) {
    CSettingsStore& store = *GetSettingsStore();
    HRESULT hr = store.Open(path, mode);
    if (hr == STG_E_SHAREVIOLATION || hr == STG_E_LOCKVIOLATION) {
        Complain(std::string(path) + " is open in another program, most likely Tolvan while it reads or saves; "
                                     "nothing was changed. Try again when it is done.");
        return kCfgInUse;
    }
    if (hr == STG_E_FILENOTFOUND || hr == STG_E_PATHNOTFOUND || hr == STG_E_ACCESSDENIED) {
        Complain(std::string(path) + " cannot be opened (" + Hex(hr) + ")");
        return kCfgNoSettings;
    }
    if (FAILED(hr)) {
        Complain(std::string(path) + " is damaged: it is no sound compound file (" + Hex(hr) +
                 "); \"tolvancfg check\" says more, and Tolvan replaces it by the driver's template at its next "
                 "start, keeping it as a backup");
        return kCfgDamaged;
    }
    hr = ReadStoredSettings(store, settings);
    if (FAILED(hr)) {
        store.Discard();
        Complain(std::string(path) + " is damaged: its model, job set or an offered job's record cannot be read (" +
                 Hex(hr) + ")");
        return kCfgDamaged;
    }
    return kCfgOk;
}

int CConsoleApp::OpenForReading(StoredSettings& settings, bool orTemplate) {
    if (m_path.empty()) {
        Complain("the per-user settings folder cannot be found");
        return kCfgNoSettings;
    }
    if (FileExists(m_path))
        return OpenAndRead(m_path.c_str(), StgMode::kRead, settings);
    if (!orTemplate) {
        Complain("this user has no settings file yet (" + m_path +
                 "): Tolvan makes it at its first start, and tolvancfg import makes it from the driver's template");
        return kCfgNoSettings;
    }
    PathBuffer templatePath;
    GetDriverFolder(templatePath);
    if (templatePath[0] == '\0' || !AppendPath(templatePath, kTemplateName) || !FileExists(templatePath)) {
        Complain("this user has no settings file yet, and the driver's template cannot be found: is tolvancfg in "
                 "the driver folder beside Tolvan.exe?");
        return kCfgNoSettings;
    }
    return OpenAndRead(templatePath, StgMode::kRead, settings);
}

int CConsoleApp::OpenForWriting(StoredSettings& settings) {
    if (m_path.empty()) {
        Complain("the per-user settings folder cannot be found");
        return kCfgNoSettings;
    }
    if (FileExists(m_path))
        return OpenAndRead(m_path.c_str(), StgMode::kReadWrite, settings);
    // A user who never ran the program: start from the driver's template, as the program's first start does.
    CreateUserFolder();
    if (FAILED(OpenSettingsFile(StgMode::kReadWrite)))
        return kCfgNoSettings;
    const HRESULT hr = ReadStoredSettings(*GetSettingsStore(), settings);
    if (FAILED(hr)) {
        Discard();
        Complain("the driver's template settings file cannot be read (" + Hex(hr) + ")");
        return kCfgDamaged;
    }
    return kCfgOk;
}

int CConsoleApp::Commit() {
    const HRESULT hr = GetSettingsStore()->Close();
    if (FAILED(hr)) {
        Complain("writing " + m_path + " failed (" + Hex(hr) + "); it keeps the settings it had");
        return kCfgWriteFailed;
    }
    return kCfgOk;
}

} // namespace tolvan
