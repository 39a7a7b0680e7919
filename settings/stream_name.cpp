#include "settings/stream_name.h"

#include <cstdio>

namespace tolvan {

std::string JobStreamName(uint32_t mask) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(mask));
    return std::string("TolClass") + hex;
}

} // namespace tolvan
