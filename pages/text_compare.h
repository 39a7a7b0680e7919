// Names of programs, folders and mail clients are compared the way Windows compares file and registry names:
// ASCII letters without regard to case, every other byte as it stands, so the outcome never depends on the
// user's locale.
#pragma once

#include <string_view>

namespace tolvan {

inline bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::string_view::size_type i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace tolvan
