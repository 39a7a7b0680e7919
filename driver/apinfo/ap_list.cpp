#include "driver/apinfo/ap_list.h"

#include "settings/fixed_string.h"

#include <algorithm>
#include <cstring>

namespace tolvan::apinfo {

namespace {

char Fold(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

template <std::size_t N> bool Terminated(const char (&field)[N]) {
    return ReadField(field).size() < N;
}

} // namespace

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

bool InCategory(const ApEntry& entry, uint32_t category) {
    return category == 0 || (entry.dwApCategory & category) != 0;
}

std::size_t FindInCategory(std::span<const ApEntry> entries, std::size_t from, uint32_t category) {
    for (std::size_t i = from; i < entries.size(); ++i)
        if (InCategory(entries[i], category))
            return i;
    return kNotFound;
}

bool IsUserAdded(const ApEntry& entry) {
    return (entry.dwApOptions & ApOption::kShipped) == 0;
}

EntryCheck CheckNewEntry(const ApEntry& entry) {
    if (entry.wApSize != kApEntrySize)
        return EntryCheck::kBadSize;
    if (entry.dwApCategory == 0)
        return EntryCheck::kNoCategory;
    if (!Terminated(entry.szApName) || !Terminated(entry.szExeName) || !Terminated(entry.szExeDir) ||
        !Terminated(entry.szFolder) || !Terminated(entry.szFilePrefix) || !Terminated(entry.szExt))
        return EntryCheck::kUnterminated;
    if (ReadField(entry.szApName).empty())
        return EntryCheck::kNoName;
    return EntryCheck::kOk;
}

std::size_t FindSameEntry(std::span<const ApEntry> entries, const ApEntry& entry) {
    const std::string_view name = ReadField(entry.szApName);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].dwApCategory == entry.dwApCategory && SameName(ReadField(entries[i].szApName), name))
            return i;
    return kNotFound;
}

bool AddOrReplace(std::vector<ApEntry>& entries, const ApEntry& entry) {
    const std::size_t same = FindSameEntry(entries, entry);
    if (same == kNotFound) {
        entries.push_back(entry);
        return false;
    }
    entries[same] = entry;
    return true;
}

std::size_t RemoveByName(std::vector<ApEntry>& entries, uint32_t category, std::string_view name) {
    return std::erase_if(entries, [&](const ApEntry& e) {
        return category != 0 && (e.dwApCategory & category) != 0 && SameName(ReadField(e.szApName), name);
    });
}

std::string_view ProgramName(const ApEntry& entry) {
    if (!Terminated(entry.szExeName))
        return {};
    const std::string_view name = ReadField(entry.szExeName);
    if (name.find_first_of("\\/:") != std::string_view::npos || name == "." || name == "..")
        return {};
    return name;
}

bool SetProgramFolder(ApEntry& entry, std::string_view folder) {
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        folder.remove_suffix(1);
    if (folder.empty() || folder.size() + 1 >= sizeof entry.szExeDir)
        return false;
    std::memmove(entry.szExeDir, folder.data(), folder.size()); // folder may be the field itself
    entry.szExeDir[folder.size()] = '\\';
    std::memset(entry.szExeDir + folder.size() + 1, 0, sizeof entry.szExeDir - folder.size() - 1);
    return true;
}

} // namespace tolvan::apinfo
