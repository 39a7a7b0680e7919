// Paths are built in fixed 260-byte buffers by appending names that start with a backslash.
// A path that would not fit is refused as a whole: a cut path names another file.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace tolvan {

inline constexpr std::size_t kMaxPathBytes = 260;

using PathBuffer = char[kMaxPathBytes];

// Appends text to the zero-terminated path in buffer; returns false and leaves buffer as it was
// when the result, with its terminator, would not fit (or buffer holds no terminator at all).
inline bool AppendPath(char* buffer, std::size_t size, std::string_view text) {
    const void* end = std::memchr(buffer, 0, size);
    if (!end)
        return false;
    const std::size_t used = static_cast<std::size_t>(static_cast<const char*>(end) - buffer);
    if (text.size() >= size - used)
        return false;
    std::memcpy(buffer + used, text.data(), text.size());
    buffer[used + text.size()] = '\0';
    return true;
}

template <std::size_t N> bool AppendPath(char (&buffer)[N], std::string_view text) {
    return AppendPath(buffer, N, text);
}

template <std::size_t N> bool SetPath(char (&buffer)[N], std::string_view text) {
    buffer[0] = '\0';
    return AppendPath(buffer, N, text);
}

// The name of the folder that holds the program: the characters between the last backslash of
// its path and the backslash before it. Empty when the path has fewer than two backslashes.
inline std::string_view ProgramFolderName(std::string_view programPath) {
    const std::size_t last = programPath.rfind('\\');
    if (last == std::string_view::npos || last == 0)
        return {};
    const std::size_t before = programPath.rfind('\\', last - 1);
    if (before == std::string_view::npos)
        return {};
    return programPath.substr(before + 1, last - before - 1);
}

} // namespace tolvan
