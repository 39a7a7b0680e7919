// Puts a text into a fixed-size buffer of the caller, cut where it would not fit. The cut falls
// on a character boundary of the ANSI code page: in a double-byte code page a lead byte is never
// separated from its trail byte, which would otherwise join the terminator into a wrong character.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tolvan::msg {

// leadBytes[b] tells whether byte b starts a two-byte character; a single-byte code page has none.
using LeadByteTable = std::array<bool, 256>;

// The length of the longest beginning of text that fits into limit bytes without splitting a character.
std::size_t FittingLength(std::string_view text, std::size_t limit, const LeadByteTable& leadBytes);

// Writes text, cut as above, and a terminator into buffer[0, capacity). Nothing is written past the
// terminator. Returns false when the text was cut (or capacity is 0, when nothing is written).
bool CopyFitted(char* buffer, std::size_t capacity, std::string_view text, const LeadByteTable& leadBytes);

} // namespace tolvan::msg
