// Formats a message whose text comes from the string table through the translation module. The
// text is data from a file, so it is never handed to printf: only its first "%s" is replaced and
// "%%" becomes "%"; any other conversion is shown as it stands.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace tolvan {

inline void FormatWithOneString(char* out, std::size_t size, std::string_view format, std::string_view argument) {
    if (size == 0)
        return;
    std::size_t used = 0;
    auto put = [&](std::string_view text) {
        const std::size_t n = text.size() < size - 1 - used ? text.size() : size - 1 - used;
        std::memcpy(out + used, text.data(), n);
        used += n;
    };
    bool replaced = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == '%') {
                put("%");
                ++i;
                continue;
            }
            if (format[i + 1] == 's' && !replaced) {
                put(argument);
                replaced = true;
                ++i;
                continue;
            }
        }
        put(format.substr(i, 1));
    }
    out[used] = '\0';
}

template <std::size_t N, std::size_t M>
void FormatWithOneString(char (&out)[N], const char (&format)[M], std::string_view argument) {
    const void* end = std::memchr(format, 0, M);
    const std::size_t length = end ? static_cast<std::size_t>(static_cast<const char*>(end) - format) : M;
    FormatWithOneString(out, N, std::string_view(format, length), argument);
}

} // namespace tolvan
