#include "pages/copy_size_ring.h"

#include "res/resource.h"

namespace tolvan {

namespace {

// Forward order, from the default on. Each picture has the id of its description.
constexpr CopySize kRing[CopySizeRing::kSize] = {
    {7, IDB_COPY_SIZE_100, IDS_COPY_SIZE_100},  {8, IDB_COPY_SIZE_115, IDS_COPY_SIZE_115},
    {9, IDB_COPY_SIZE_122, IDS_COPY_SIZE_122},  {10, IDB_COPY_SIZE_141, IDS_COPY_SIZE_141},
    {11, IDB_COPY_SIZE_200, IDS_COPY_SIZE_200}, {1, IDB_COPY_SIZE_25, IDS_COPY_SIZE_25},
    {2, IDB_COPY_SIZE_50, IDS_COPY_SIZE_50},    {3, IDB_COPY_SIZE_71, IDS_COPY_SIZE_71},
    {4, IDB_COPY_SIZE_78, IDS_COPY_SIZE_78},    {5, IDB_COPY_SIZE_86, IDS_COPY_SIZE_86},
    {6, IDB_COPY_SIZE_94, IDS_COPY_SIZE_94},
};
static_assert(kRing[0].value == kDefaultCopySize);

} // namespace

CopySizeRing::CopySizeRing(uint16_t value) {
    for (std::size_t i = 0; i < kSize; ++i)
        if (kRing[i].value == value)
            m_index = i;
}

const CopySize& CopySizeRing::Current() const {
    return kRing[m_index];
}

void CopySizeRing::Next() {
    m_index = (m_index + 1) % kSize;
}

void CopySizeRing::Previous() {
    m_index = (m_index + kSize - 1) % kSize;
}

} // namespace tolvan
