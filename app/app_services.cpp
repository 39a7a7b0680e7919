#include "app/app_services.h"

#include "app/file_backup.h"
#include "app/text_format.h"
#include "res/dialog_texts.h"
#include "res/resource.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

namespace tolvan {

namespace {

constexpr char kDefaultDriverName[] = "ZezoRiz6";
constexpr char kSettingsFileName[] = "\\Tolvan.dat";
constexpr char kCatalogueName[] = "\\APInfo.dat";
constexpr DWORD kPathValueBytes = 128;

// The value "Path" as stored, or nothing when it is missing, not a string, or 128 characters or longer.
bool ReadPathValue(HKEY key, char (&value)[kPathValueBytes]) {
    DWORD type = 0;
    DWORD size = sizeof value;
    std::memset(value, 0, sizeof value);
    if (::RegQueryValueExA(key, "Path", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    // A value stored without its terminator may fill the whole buffer: then it is too long as well.
    return std::memchr(value, 0, sizeof value) != nullptr && value[0] != '\0';
}

bool FileExists(const char* path) {
    return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// A file that another process holds, or that is read-only, is not damaged: the user's own file
// will open again once that is over, and backing it up would only pile up copies.
bool MayBeDamaged(HRESULT hr) {
    return hr != STG_E_SHAREVIOLATION && hr != STG_E_LOCKVIOLATION && hr != STG_E_ACCESSDENIED &&
           hr != STG_E_FILENOTFOUND && hr != STG_E_PATHNOTFOUND;
}

// Creates every folder on the way to path (each prefix up to a backslash, then the whole path); single
// failures are expected for the parts that exist.
void CreateFolders(const char* path) {
    PathBuffer prefix = {};
    for (size_t i = 0; path[i] != '\0' && i + 1 < sizeof prefix; ++i) {
        if (path[i] == '\\' && i > 0) {
            std::memcpy(prefix, path, i);
            prefix[i] = '\0';
            ::CreateDirectoryA(prefix, nullptr);
        }
    }
    ::CreateDirectoryA(path, nullptr);
}

} // namespace

std::shared_ptr<CApInfoModule> CAppServices::ShareApInfoModule(const char* dllPath) {
    return m_apInfo.Get([dllPath](CApInfoModule& module) { return module.Load(dllPath); });
}

std::shared_ptr<UniqueBitmap> CAppServices::SharePageBackground() {
    return m_pageBackground.Get([](UniqueBitmap& bitmap) {
        bitmap.Reset(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_PAGE_BACKGROUND)));
        return static_cast<bool>(bitmap);
    });
}

SystemFacts SystemFacts::FromSystem() {
    SystemFacts facts;
    char path[kMaxPathBytes] = {};
    const DWORD n = ::GetModuleFileNameA(nullptr, path, sizeof path);
    if (n > 0 && n < sizeof path)
        facts.programPath = path;
    char windows[kMaxPathBytes] = {};
    const UINT w = ::GetWindowsDirectoryA(windows, sizeof windows);
    if (w > 0 && w < sizeof windows)
        facts.windowsFolder = windows;
    facts.ntFamily = (::GetVersion() & 0x80000000u) == 0;
    return facts;
}

CAppServices::CAppServices(SystemFacts facts) : m_facts(std::move(facts)) {}

CAppServices::~CAppServices() = default;

void CAppServices::DetermineDriverFolder() {
    char keyPath[kMaxPathBytes] = {};
    ::LoadStringA(::GetModuleHandleA(nullptr), IDS_DRIVER_KEY, keyPath, sizeof keyPath);
    HKEY raw = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ | KEY_WRITE, &raw) != ERROR_SUCCESS)
        ::RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &raw, nullptr);
    UniqueRegKey key(raw);

    char value[kPathValueBytes];
    if (!key || !ReadPathValue(key.Get(), value)) {
        std::memset(value, 0, sizeof value);
        std::memcpy(value, kDefaultDriverName, sizeof kDefaultDriverName);
        if (key)
            ::RegSetValueExA(key.Get(), "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(kDefaultDriverName),
                             sizeof kDefaultDriverName);
    }

    m_driverFolder.clear();
    const std::string_view programFolder = ProgramFolderName(m_facts.programPath);
    if (programFolder.empty())
        return;
    PathBuffer folder;
    if (SetPath(folder, m_facts.windowsFolder) && AppendPath(folder, "\\Twain_32\\") && AppendPath(folder, value) &&
        AppendPath(folder, "\\") && AppendPath(folder, programFolder))
        m_driverFolder = folder;
}

void CAppServices::GetDriverFolder(char* out) const {
    if (!out)
        return;
    out[0] = '\0';
    AppendPath(out, kMaxPathBytes, m_driverFolder);
}

void CAppServices::GetUserFolder(char* out) const {
    if (!out)
        return;
    out[0] = '\0';
    if (!m_facts.ntFamily) {
        GetDriverFolder(out);
        return;
    }
    PathBuffer appData = {};
    if (!m_facts.appDataFolder.empty()) {
        if (!SetPath(appData, m_facts.appDataFolder))
            return;
    } else if (!::SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, TRUE)) {
        return;
    }
    const std::string_view programFolder = ProgramFolderName(m_facts.programPath);
    PathBuffer folder;
    if (!SetPath(folder, appData) || !AppendPath(folder, "\\Kelto"))
        return;
    if (!programFolder.empty() && (!AppendPath(folder, "\\") || !AppendPath(folder, programFolder)))
        return;
    std::memcpy(out, folder, kMaxPathBytes);
}

bool CAppServices::SettingsFilePath(char* path) const {
    GetUserFolder(path);
    if (path[0] != '\0' && AppendPath(path, kMaxPathBytes, kSettingsFileName))
        return true;
    path[0] = '\0';
    return false;
}

HRESULT CAppServices::OpenSettingsFile(DWORD mode) {
    PathBuffer path;
    const bool pathFits = SettingsFilePath(path);
    if (!m_store)
        return E_FAIL;
    const HRESULT hr = pathFits ? m_store->Open(path, mode) : STG_E_INVALIDNAME;
    if (SUCCEEDED(hr))
        return hr;
    return FallBackToTemplate(pathFits ? path : nullptr, mode, hr);
}

HRESULT CAppServices::ReplaceSettingsFile(DWORD mode) {
    if (!m_store)
        return E_FAIL;
    // Nothing the failed reading pass did may reach the file: its backup is to hold the bytes the user had.
    m_store->Discard();
    PathBuffer path;
    const bool pathFits = SettingsFilePath(path);
    return FallBackToTemplate(pathFits ? path : nullptr, mode, STG_E_DOCFILECORRUPT);
}

HRESULT CAppServices::FallBackToTemplate(const char* path, DWORD mode, HRESULT hr) {
    if (path && !(FileExists(path) && MayBeDamaged(hr) && !KeepBackup(path))) {
        PathBuffer templatePath;
        GetDriverFolder(templatePath);
        if (templatePath[0] != '\0' && AppendPath(templatePath, kSettingsFileName)) {
            // A read-only copy would refuse the template anyway; it is the user's own file and opens as it is
            // once writable. Not copying also keeps it safe where the copy would be let through (root under Wine).
            const DWORD attributes = ::GetFileAttributesA(path);
            if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY))
                ::CopyFileA(templatePath, path, FALSE);
            // Clears a read-only attribute taken over from the template.
            ::SetFileAttributesA(path, FILE_ATTRIBUTE_ARCHIVE);
            hr = m_store->Open(path, mode);
            if (SUCCEEDED(hr))
                return hr;
        }
    }
    ShowSettingsFileError();
    return hr;
}

bool CAppServices::InstallDriverCatalogue() {
    PathBuffer user, catalogue, userCatalogue;
    GetUserFolder(user);
    GetDriverFolder(catalogue);
    if (user[0] == '\0' || catalogue[0] == '\0' || !AppendPath(catalogue, kCatalogueName) ||
        !SetPath(userCatalogue, user) || !AppendPath(userCatalogue, kCatalogueName))
        return false;
    if (FileExists(userCatalogue) && !KeepBackup(userCatalogue))
        return false;
    if (!::CopyFileA(catalogue, userCatalogue, FALSE)) {
        CreateFolders(user);
        if (!::CopyFileA(catalogue, userCatalogue, FALSE))
            return false;
    }
    // The driver's copy may be read-only; the user's must take the applications the user adds.
    ::SetFileAttributesA(userCatalogue, FILE_ATTRIBUTE_ARCHIVE);
    return true;
}

void CAppServices::CreateUserFolder() const {
    PathBuffer user;
    GetUserFolder(user);
    if (user[0] != '\0')
        CreateFolders(user);
}

void CAppServices::ShowSettingsFileError() {
    TextBuffer format;
    LoadText(IDS_SETTINGS_FILE_FAILED, format);
    char message[2 * sizeof(TextBuffer)];
    FormatWithOneString(message, format, "Tolvan.dat");
    ShowStartupError(message);
}

void CAppServices::LoadText(UINT id, TextBuffer& buffer) {
    LoadTranslatedString(::GetModuleHandleA(nullptr), id, &m_translation, buffer);
}

void CAppServices::TranslateDialog(HWND dialog, UINT templateId) {
    for (const DialogText& row : kDialogTexts) {
        if (!RowApplies(row, templateId))
            continue;
        const HWND target = row.control == kDialogCaption ? dialog : ::GetDlgItem(dialog, row.control);
        TextBuffer text;
        // A text the string table lacks leaves the template's own.
        if (target && SUCCEEDED(LoadTranslatedString(::GetModuleHandleA(nullptr), row.text, &m_translation, text)))
            ::SetWindowTextA(target, text);
    }
    m_translation.TranslateDialog(dialog);
}

int CAppServices::ShowMessage(HWND owner, const char* text, UINT style) {
    return ::MessageBoxA(owner, text, "Tolvan", style);
}

void CAppServices::GetSystemLanguage(TextBuffer& buffer) const {
    std::memset(buffer, 0, sizeof buffer);
    ::GetProfileStringA("intl", "sLanguage", "enu", buffer, sizeof buffer);
}

} // namespace tolvan
