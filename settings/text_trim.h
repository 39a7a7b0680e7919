// Trimming for the line-based text formats the tools read.
#pragma once

#include <string_view>

namespace tolvan {

// Drops spaces, tabs and carriage returns at both ends.
inline std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

} // namespace tolvan
