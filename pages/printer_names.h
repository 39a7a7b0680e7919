// How a copy page's printer list matches names. The Copy page stores the whole name and finds it as written; the
// RAvud page finds a stored name as the beginning of a listed one, without regard to ASCII case, and lists no
// printer whose name begins a name already listed, so that a stored name never stands for two entries.
#pragma once

#include "pages/text_compare.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace tolvan {

enum class PrinterMatch {
    kWholeName, // the same text, case included
    kPrefix,    // the entry begins with the name, ASCII letters without regard to case
};

// Whether a list entry stands for a name.
inline bool EntryStandsFor(std::string_view entry, std::string_view name, PrinterMatch match) {
    if (match == PrinterMatch::kWholeName)
        return entry == name;
    return name.size() <= entry.size() && SameTextIgnoringCase(entry.substr(0, name.size()), name);
}

// The first of entries that stands for name; -1 when none does.
inline int FindEntry(const std::vector<std::string_view>& entries, std::string_view name, PrinterMatch match) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (EntryStandsFor(entries[i], name, match))
            return static_cast<int>(i);
    return -1;
}

// Which of the names, in their order, a list shows: each one unless an entry already listed stands for it.
inline std::vector<std::string_view> NamesToList(const std::vector<std::string_view>& names, PrinterMatch match) {
    std::vector<std::string_view> listed;
    for (std::string_view name : names)
        if (FindEntry(listed, name, match) < 0)
            listed.push_back(name);
    return listed;
}

} // namespace tolvan
