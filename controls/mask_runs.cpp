#include "controls/mask_runs.h"

#include <cstring>

namespace tolvan {

namespace {

template <class T> T Read(const uint8_t* p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

constexpr std::size_t kInfoHeaderSize = 40;

} // namespace

bool ScanMaskRuns(std::span<const uint8_t> dib, uint8_t key, MaskRuns& out, std::size_t maxRects) {
    out = {};
    if (dib.size() < kInfoHeaderSize)
        return false;
    const uint8_t* h = dib.data();
    const uint32_t headerSize = Read<uint32_t>(h);
    const int32_t width = Read<int32_t>(h + 4);
    const int32_t height = Read<int32_t>(h + 8);
    const uint16_t bitCount = Read<uint16_t>(h + 14);
    const uint32_t compression = Read<uint32_t>(h + 16);
    const uint32_t clrUsed = Read<uint32_t>(h + 32);
    // Top-down rows (negative height) and compressed rows are not what the art tools write; refuse them.
    if (headerSize < kInfoHeaderSize || headerSize > dib.size() || width <= 0 || height <= 0 || bitCount != 8 ||
        compression != 0 || clrUsed > 256)
        return false;
    const uint64_t colours = clrUsed ? clrUsed : 256;
    const uint64_t stride = (static_cast<uint64_t>(width) + 3) / 4 * 4;
    const uint64_t bitsOffset = headerSize + colours * 4;
    if (bitsOffset > dib.size() || stride * static_cast<uint64_t>(height) > dib.size() - bitsOffset)
        return false;

    out.width = width;
    out.height = height;
    const uint8_t* bits = dib.data() + bitsOffset;
    for (int32_t y = 0; y < height; ++y) {
        // The last stored row is the image's top row.
        const uint8_t* row = bits + stride * static_cast<uint64_t>(height - 1 - y);
        int32_t x = 0;
        while (x < width) {
            while (x < width && row[x] == key)
                ++x;
            if (x == width)
                break;
            const int32_t start = x;
            while (x < width && row[x] != key)
                ++x;
            if (out.rects.size() == maxRects)
                return true;
            out.rects.push_back({start, y, x, y + 1});
        }
    }
    return true;
}

} // namespace tolvan
