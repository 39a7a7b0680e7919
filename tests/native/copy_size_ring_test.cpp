// The ring of copy sizes for every value a blob can hold: where it starts, that each size is met once on the way
// round, and that a step back undoes a step forward.
#include "pages/copy_size_ring.h"

#include <gtest/gtest.h>

#include <set>

namespace tolvan {
namespace {

TEST(CopySizeRing, EveryStoredValueStartsAtItsOwnSizeOrAtSameSize) {
    for (unsigned stored = 0; stored <= 0xFFFF; ++stored) {
        const auto value = static_cast<uint16_t>(stored);
        const uint16_t expected = stored >= 1 && stored <= 11 ? value : 7;
        ASSERT_EQ(CopySizeRing(value).Current().value, expected) << stored;
        ASSERT_EQ(EffectiveCopySize(value), expected) << stored;
    }
}

TEST(CopySizeRing, OnceRoundMeetsEachSizeOnceWithItsOwnPictureAndText) {
    CopySizeRing ring(0);
    std::set<uint16_t> values;
    std::set<unsigned> pictures;
    for (std::size_t step = 0; step < CopySizeRing::kSize; ++step) {
        values.insert(ring.Current().value);
        pictures.insert(ring.Current().bitmapId);
        EXPECT_EQ(ring.Current().bitmapId, ring.Current().stringId);
        ring.Next();
    }
    EXPECT_EQ(ring.Current().value, kDefaultCopySize);
    EXPECT_EQ(values, (std::set<uint16_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(pictures.size(), CopySizeRing::kSize);
}

TEST(CopySizeRing, StepsUpFromSameSizeWrapFromLargestToSmallestAndBack) {
    CopySizeRing ring(7);
    for (uint16_t expected : {8, 9, 10, 11, 1, 2}) {
        ring.Next();
        EXPECT_EQ(ring.Current().value, expected);
    }
    for (uint16_t expected : {1, 11, 10, 9, 8, 7, 6}) {
        ring.Previous();
        EXPECT_EQ(ring.Current().value, expected);
    }
}

} // namespace
} // namespace tolvan
