// The categories of the application lists, one bit each, as the module and the program pass them: the module
// files its entries under them, and each page asks for the entries of its own.
#pragma once

#include <cstdint>

namespace tolvan::apinfo::Category {

inline constexpr uint32_t kMail = 0x8;
inline constexpr uint32_t kDocument = 0x200;
inline constexpr uint32_t kRecognition = 0x1000;
inline constexpr uint32_t kDUzar = 0x4000;
inline constexpr uint32_t kDestination = 0x01000000;

} // namespace tolvan::apinfo::Category
