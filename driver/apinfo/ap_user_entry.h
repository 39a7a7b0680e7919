// The id that every program a user adds to the catalogue carries: the module keeps such entries by their stored path
// alone, and the program marks the records it makes from them the same way.
#pragma once

#include <cstdint>

namespace tolvan::apinfo {

inline constexpr uint16_t kUserAppId = 4200;

} // namespace tolvan::apinfo
