#include "driver/apinfo/program_search.h"

#include "driver/apinfo/ap_list.h"
#include "settings/fixed_string.h"
#include "ui/unique_handle.h"

#include <windows.h>

namespace tolvan::apinfo {

namespace {

constexpr char kAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

// Registry values and expanded paths longer than this are not paths we could use anyway.
constexpr DWORD kMaxText = 32 * 1024;

// Folders below a program-files folder where Windows and common suites keep their programs.
constexpr const char* kProgramSubfolders[] = {
    "",
    "Windows NT\\Accessories",
    "Internet Explorer",
    "Windows Mail",
    "Outlook Express",
    "Windows Photo Viewer",
    "Tesseract-OCR",
    "Microsoft Office\\root\\Office16",
    "Microsoft Office\\Office16",
    "Microsoft Office\\Office15",
    "Microsoft Office\\Office14",
    "Microsoft Office\\Office12",
};

std::string Expand(std::string_view text) {
    if (text.find('%') == std::string_view::npos)
        return std::string(text);
    const std::string source(text);
    std::string out(MAX_PATH, '\0');
    for (;;) {
        const DWORD needed = ::ExpandEnvironmentStringsA(source.c_str(), out.data(), static_cast<DWORD>(out.size()));
        if (needed == 0 || needed > kMaxText)
            return {};
        if (needed <= out.size()) {
            out.resize(needed - 1);
            return out;
        }
        out.assign(needed, '\0');
    }
}

std::string WithoutTrailingSlashes(std::string folder) {
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        folder.pop_back();
    return folder;
}

// A drive path or a UNC path: anything else would be looked up relative to whatever the current folder is.
bool IsAbsolute(std::string_view path) {
    // "C:" alone is a drive's root once the trailing backslash has been taken off.
    const bool drive = path.size() >= 2 && (path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z' && path[1] == ':' &&
                       (path.size() == 2 || path[2] == '\\' || path[2] == '/');
    const bool unc = path.size() >= 3 && path[0] == '\\' && path[1] == '\\';
    return drive || unc;
}

bool IsFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The text of a string value, cut at its first terminator; empty for other types or when absent.
std::string ReadStringValue(HKEY key, const char* name) {
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0 || size > kMaxText)
        return {};
    std::string value(size, '\0');
    if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS ||
        size > value.size())
        return {};
    // A stored value need not carry its terminator.
    value.resize(ReadField(value.data(), size).size());
    return type == REG_EXPAND_SZ ? Expand(value) : value;
}

std::string GetFolder(UINT(WINAPI* get)(LPSTR, UINT)) {
    char buffer[MAX_PATH + 1] = {};
    const UINT n = get(buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Folders that do not exist are left out here, once, rather than asked about for every program.
void AddFolder(std::vector<std::string>& folders, std::string folder) {
    folder = WithoutTrailingSlashes(std::move(folder));
    if (folder.empty() || !IsFolder(folder))
        return;
    for (const std::string& known : folders)
        if (SameName(known, folder))
            return;
    folders.push_back(std::move(folder));
}

} // namespace

ProgramSearch::ProgramSearch() {
    AddFolder(m_folders, GetFolder(::GetSystemDirectoryA));
    AddFolder(m_folders, GetFolder(::GetWindowsDirectoryA));
    for (const char* base : {"%ProgramFiles%", "%ProgramW6432%", "%ProgramFiles(x86)%"}) {
        const std::string root = WithoutTrailingSlashes(Expand(base));
        // An undefined variable stays as it is written.
        if (root.empty() || root.find('%') != std::string::npos)
            continue;
        for (const char* sub : kProgramSubfolders)
            AddFolder(m_folders, *sub ? root + "\\" + sub : root);
    }
}

std::string ProgramSearch::InFolder(std::string folder, std::string_view program) const {
    folder = WithoutTrailingSlashes(std::move(folder));
    // The folder goes back into szExeDir with a trailing backslash and a terminator.
    if (!IsAbsolute(folder) || folder.size() + 2 > sizeof ApEntry::szExeDir)
        return {};
    return IsFile(folder + "\\" + std::string(program)) ? folder : std::string();
}

std::string ProgramSearch::FromAppPaths(std::string_view program) const {
    const std::string subkey = kAppPaths + std::string(program);
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        HKEY opened = nullptr;
        if (::RegOpenKeyExA(root, subkey.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
            continue;
        const UniqueRegKey key(opened);
        std::string path = ReadStringValue(key.Get(), nullptr);
        if (!path.empty() && path.front() == '"') {
            const std::size_t close = path.find('"', 1);
            path = path.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        }
        const std::size_t slash = path.find_last_of("\\/");
        if (slash == std::string::npos)
            continue;
        // The key is named after the program; what counts is that the program is in that folder.
        std::string folder = InFolder(path.substr(0, slash), program);
        if (!folder.empty())
            return folder;
    }
    return {};
}

std::string ProgramSearch::Locate(const ApEntry& entry) const {
    const std::string_view program = ProgramName(entry);
    if (program.empty())
        return {};
    const std::string_view ownFolder = ReadField(entry.szExeDir);
    const bool ownFolderUsable = ownFolder.size() < sizeof entry.szExeDir;
    if (IsUserAdded(entry))
        return ownFolderUsable ? InFolder(Expand(ownFolder), program) : std::string();

    std::string found = FromAppPaths(program);
    if (found.empty() && ownFolderUsable && !ownFolder.empty())
        found = InFolder(Expand(ownFolder), program);
    for (const std::string& folder : m_folders) {
        if (!found.empty())
            break;
        found = InFolder(folder, program);
    }
    return found;
}

} // namespace tolvan::apinfo
