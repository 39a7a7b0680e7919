// Bounded access to the zero-terminated ANSI strings that live in fixed-size record fields.
// A field read from a file may hold no terminator at all; nothing here ever looks past the
// field, and a write always leaves a terminator and zeroes the rest of the field.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace tolvan {

inline std::string_view ReadField(const char* field, std::size_t size) {
    const void* end = std::memchr(field, 0, size);
    return {field, end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : size};
}

template <std::size_t N> std::string_view ReadField(const char (&field)[N]) {
    return ReadField(field, N);
}

// Returns false when the text did not fit and was cut to the field's size less one.
inline bool WriteField(char* field, std::size_t size, std::string_view text) {
    if (size == 0)
        return text.empty();
    const std::size_t n = text.size() < size ? text.size() : size - 1;
    if (n != 0)                              // an empty view may have no data at all
        std::memmove(field, text.data(), n); // the text may come from the field itself
    std::memset(field + n, 0, size - n);
    return n == text.size();
}

template <std::size_t N> bool WriteField(char (&field)[N], std::string_view text) {
    return WriteField(field, N, text);
}

} // namespace tolvan
