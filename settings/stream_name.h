// Where a job's record lives in the settings file: the stream name built from its mask, and
// whether the stream sits in "Setting" or in the "ProBtn" storage below it.
#pragma once

#include <cstdint>
#include <string>

namespace tolvan {

// Element names below the model storage are converted into 32 wide characters.
inline constexpr std::size_t kElementNameChars = 32;
// The model name travels in a 64-byte ANSI buffer.
inline constexpr std::size_t kModelNameBytes = 64;

// "TolClass" followed by the mask in lower-case hex without leading zeros: 0x100 -> "TolClass100".
std::string JobStreamName(uint32_t mask);

// Masks with a nonzero top byte live in "ProBtn", except 0xFF000000 which stays in "Setting".
constexpr bool StoredInProBtn(uint32_t mask) {
    return (mask & 0xFF000000u) != 0 && mask != 0xFF000000u;
}

} // namespace tolvan
