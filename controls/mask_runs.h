// Turns an 8-bit palette bitmap (a packed DIB: BITMAPINFOHEADER, colour table, bottom-up rows) into
// the rectangles of a window region: one rectangle per maximal run of pixels in a row whose index
// is not the transparent key. Portable and bounded by the bytes it is given: a damaged bitmap gives
// no rectangles rather than a read past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tolvan {

struct MaskRect {
    int32_t left, top, right, bottom; // right and bottom exclusive
};

struct MaskRuns {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<MaskRect> rects; // from the top row down, left to right
};

inline constexpr std::size_t kMaxRegionRects = 5000;

// Returns false for anything but an uncompressed 8-bit bottom-up DIB that fits in dib. At most maxRects
// rectangles are kept; later runs are dropped.
bool ScanMaskRuns(std::span<const uint8_t> dib, uint8_t key, MaskRuns& out, std::size_t maxRects = kMaxRegionRects);

} // namespace tolvan
