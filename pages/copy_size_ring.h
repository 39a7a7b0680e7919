// The ring of the copy size dialog: the eleven copy sizes of the RAvud job in the order the dialog steps
// through them, each with its stored value, picture and description. Stepping forward from the default walks the
// sizes upwards and wraps from the largest to the smallest; stepping back walks the other way.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tolvan {

struct CopySize {
    uint16_t value;    // as stored in the RAvud blob, 1 to 11
    unsigned bitmapId; // the picture
    unsigned stringId; // the description
};

// The value that stands for every stored value outside 1 to 11, 0 included: same size.
inline constexpr uint16_t kDefaultCopySize = 7;

// What a stored value means: itself from 1 to 11, the default otherwise.
inline uint16_t EffectiveCopySize(uint16_t stored) {
    return stored >= 1 && stored <= 11 ? stored : kDefaultCopySize;
}

class CopySizeRing {
public:
    // Starts at the entry of value; a value outside 1 to 11 starts at the default.
    explicit CopySizeRing(uint16_t value);

    const CopySize& Current() const;
    void Next();
    void Previous();

    static constexpr std::size_t kSize = 11;

private:
    std::size_t m_index = 0;
};

} // namespace tolvan
