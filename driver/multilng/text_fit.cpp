#include "driver/multilng/text_fit.h"

#include <cstring>

namespace tolvan::msg {

std::size_t FittingLength(std::string_view text, std::size_t limit, const LeadByteTable& leadBytes) {
    if (text.size() <= limit)
        return text.size();
    std::size_t fitting = 0;
    while (fitting < text.size()) {
        // A lead byte as the very last byte of the text stands alone; it counts as one character.
        const bool pair = leadBytes[static_cast<unsigned char>(text[fitting])] && fitting + 1 < text.size();
        const std::size_t next = fitting + (pair ? 2 : 1);
        if (next > limit)
            break;
        fitting = next;
    }
    return fitting;
}

bool CopyFitted(char* buffer, std::size_t capacity, std::string_view text, const LeadByteTable& leadBytes) {
    if (capacity == 0)
        return false;
    const std::size_t n = FittingLength(text, capacity - 1, leadBytes);
    std::memmove(buffer, text.data(), n);
    buffer[n] = '\0';
    return n == text.size();
}

} // namespace tolvan::msg
