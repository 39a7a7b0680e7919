// A window region cut from an 8-bit palette bitmap resource of the program: every pixel whose
// index is not the key belongs to the region.
#pragma once

#include "ui/unique_handle.h"

#include <cstdint>

namespace tolvan {

// An empty handle when the resource is missing or not such a bitmap. The caller owns the region.
UniqueRegion RegionFromBitmap(UINT bitmapId, uint8_t key, HMODULE module = nullptr);

} // namespace tolvan
