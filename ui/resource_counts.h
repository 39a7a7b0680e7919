// How many GDI objects and windows this process holds, for leak checks: the tests and the soak benchmark
// (bench/soak_bench.py). GetGuiResources answers 0 under Wine, so there the GDI objects are counted in the handle
// table itself: Wine takes a handle's table index alone, without its generation, and GetObjectType names the kind
// of every live entry. Where an index alone is no handle (Windows), the count is GetGuiResources'.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tolvan {

struct ResourceCounts {
    uint32_t gdiObjects = 0;
    uint32_t windows = 0; // top-level windows of this process and all their children

    bool operator==(const ResourceCounts&) const = default;
};

ResourceCounts CountResources();

// The message with which another process asks the main window for its counts: wParam and lParam 0, the answer
// ResourcesAnswer(counts). It exists only when the environment variable TOLVAN_RESOURCE_COUNTS is set (0
// otherwise), so a user's program never answers it.
UINT ResourceCountsMessage();
inline LRESULT ResourcesAnswer(const ResourceCounts& counts) {
    return static_cast<LRESULT>((static_cast<uint64_t>(counts.windows) << 32) | counts.gdiObjects);
}

} // namespace tolvan
