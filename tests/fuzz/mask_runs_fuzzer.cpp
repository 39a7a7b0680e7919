// The run-length scan of a region mask on arbitrary bytes. An input is
//   byte 0        the key index
//   byte 1        bit 0: the rest is a whole DIB as it is; otherwise a DIB is laid out from the bytes below.
//                 bits 1-7: the most rectangles kept (0: the program's limit)
//   laid out:     byte 2 width (1-64), byte 3 height (1-64), byte 4 biClrUsed (0 for the full table),
//                 then the pixels and row padding from the top row down, index 0 where the input runs out
// The DIB is a heap block of exactly its size. An accepted one gives, for every run, a rectangle of one row
// that holds opaque pixels only and is bounded by the key or the border on both sides, in scanning order;
// when the limit was not reached, the rectangles cover every opaque pixel.
#include "controls/mask_runs.h"

#include "tests/fuzz/broken_promise.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace tolvan;

namespace {

uint32_t Read32(const std::vector<uint8_t>& b, std::size_t at) {
    uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

std::vector<uint8_t> LayOut(const uint8_t* data, std::size_t size) {
    const uint32_t width = 1 + (size > 0 ? data[0] % 64 : 0);
    const uint32_t height = 1 + (size > 1 ? data[1] % 64 : 0);
    const uint32_t clrUsed = size > 2 ? data[2] : 0;
    const std::size_t stride = (width + 3) / 4 * 4;
    const std::size_t bitsOffset = 40 + (clrUsed ? clrUsed : 256) * 4;
    std::vector<uint8_t> dib(bitsOffset + stride * height);
    const uint32_t fields[] = {40, width, height};
    std::memcpy(dib.data(), fields, sizeof fields);
    dib[12] = 1;
    dib[14] = 8;
    std::memcpy(dib.data() + 32, &clrUsed, 4);
    std::size_t next = 3;
    for (uint32_t y = 0; y < height; ++y)
        for (std::size_t x = 0; x < stride; ++x)
            dib[bitsOffset + stride * (height - 1 - y) + x] = next < size ? data[next++] : 0;
    return dib;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const uint8_t key = data[0];
    const std::size_t maxRects = data[1] >> 1 ? data[1] >> 1 : kMaxRegionRects;
    std::vector<uint8_t> dib = data[1] & 1 ? std::vector<uint8_t>(data + 2, data + size) : LayOut(data + 2, size - 2);
    MaskRuns runs;
    if (!ScanMaskRuns(dib, key, runs, maxRects)) {
        Require(runs.rects.empty() && runs.width == 0 && runs.height == 0, "a refusal hands back nothing");
        Require(data[1] & 1, "a laid-out DIB is accepted");
        return 0;
    }

    // Accepted: the header fields are sound, so the pixels can be looked at here.
    const uint32_t clrUsed = Read32(dib, 32);
    const std::size_t stride = (static_cast<std::size_t>(runs.width) + 3) / 4 * 4;
    const std::size_t bitsOffset = Read32(dib, 0) + (clrUsed ? clrUsed : 256) * 4;
    Require(runs.width > 0 && runs.height > 0, "an accepted mask has a size");
    Require(bitsOffset + stride * static_cast<std::size_t>(runs.height) <= dib.size(), "rows fit in the DIB");
    const auto pixel = [&](int32_t x, int32_t y) {
        return dib[bitsOffset + stride * static_cast<std::size_t>(runs.height - 1 - y) + static_cast<std::size_t>(x)];
    };

    Require(runs.rects.size() <= maxRects, "at most the limit");
    std::size_t covered = 0;
    for (std::size_t i = 0; i < runs.rects.size(); ++i) {
        const MaskRect& r = runs.rects[i];
        Require(r.top >= 0 && r.bottom == r.top + 1 && r.bottom <= runs.height, "one row inside the mask");
        Require(r.left >= 0 && r.left < r.right && r.right <= runs.width, "a run inside the row");
        if (i > 0) {
            const MaskRect& p = runs.rects[i - 1];
            Require(p.top < r.top || (p.top == r.top && p.right < r.left), "scanning order, runs apart");
        }
        for (int32_t x = r.left; x < r.right; ++x)
            Require(pixel(x, r.top) != key, "opaque pixels only");
        Require(r.left == 0 || pixel(r.left - 1, r.top) == key, "maximal on the left");
        Require(r.right == runs.width || pixel(r.right, r.top) == key, "maximal on the right");
        covered += static_cast<std::size_t>(r.right - r.left);
    }
    if (runs.rects.size() < maxRects) {
        std::size_t opaque = 0;
        for (int32_t y = 0; y < runs.height; ++y)
            for (int32_t x = 0; x < runs.width; ++x)
                opaque += pixel(x, y) != key;
        Require(covered == opaque, "every opaque pixel covered");
    }
    return 0;
}
