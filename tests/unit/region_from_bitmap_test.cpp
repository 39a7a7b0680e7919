// The window region cut from a bitmap resource, compared with regions made from the expected rectangles: what
// GDI keeps of them (GetRegionData) must be the same list. Also the program's real mask, linked into this test.
#include "region_test_ids.h"

#include "controls/region_from_bitmap.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace tolvan {
namespace {

struct Box {
    LONG left, top, right, bottom;
    bool operator==(const Box&) const = default;
};

void PrintTo(const Box& b, std::ostream* os) {
    *os << "{" << b.left << "," << b.top << "," << b.right << "," << b.bottom << "}";
}

// The rectangles GDI holds for the region, in its own banded order.
std::vector<Box> RegionBoxes(HRGN region) {
    const DWORD size = ::GetRegionData(region, 0, nullptr);
    if (size < sizeof(RGNDATAHEADER))
        return {};
    std::vector<uint8_t> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (::GetRegionData(region, size, data) != size)
        return {};
    std::vector<Box> boxes;
    const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
    for (DWORD i = 0; i < data->rdh.nCount; ++i)
        boxes.push_back({rects[i].left, rects[i].top, rects[i].right, rects[i].bottom});
    return boxes;
}

UniqueRegion Union(const std::vector<Box>& boxes) {
    UniqueRegion all(::CreateRectRgn(0, 0, 0, 0));
    for (const Box& b : boxes) {
        UniqueRegion one(::CreateRectRgn(b.left, b.top, b.right, b.bottom));
        ::CombineRgn(all.Get(), all.Get(), one.Get(), RGN_OR);
    }
    return all;
}

void ExpectRegionOf(const std::vector<Box>& expected, HRGN region) {
    ASSERT_NE(region, nullptr);
    const UniqueRegion wanted = Union(expected);
    EXPECT_EQ(RegionBoxes(region), RegionBoxes(wanted.Get()));
    EXPECT_TRUE(::EqualRgn(region, wanted.Get()));
}

TEST(RegionFromBitmapTest, RunsOfACraftedMaskMakeTheRegion) {
    // mask_shapes.bmp, from the top row: "..##....#.", "#.........", "..........", "######.###".
    const UniqueRegion region = RegionFromBitmap(IDB_MASK_SHAPES, 2);
    ExpectRegionOf({{2, 0, 4, 1}, {8, 0, 9, 1}, {0, 1, 1, 2}, {0, 3, 6, 4}, {7, 3, 10, 4}}, region.Get());
    // Nothing of the row padding (opaque in the file) leaks in.
    RECT box{};
    ::GetRgnBox(region.Get(), &box);
    EXPECT_EQ(box.right, 10);
}

TEST(RegionFromBitmapTest, AMaskOfMoreThanFiveThousandRunsKeepsTheFirstFromTheTop) {
    const UniqueRegion region = RegionFromBitmap(IDB_MASK_MANY, 255);
    // 100 runs a row: rows 0 to 49 fill the 5000 rectangles, rows 50 to 59 are dropped.
    std::vector<Box> expected;
    for (LONG x = 0; x < 199; x += 2)
        expected.push_back({x, 0, x + 1, 50});
    ExpectRegionOf(expected, region.Get());
    EXPECT_TRUE(::PtInRegion(region.Get(), 198, 49));
    EXPECT_FALSE(::PtInRegion(region.Get(), 0, 50));
}

TEST(RegionFromBitmapTest, NoRegionWithoutAnEightBitMask) {
    EXPECT_FALSE(RegionFromBitmap(IDB_MASK_MISSING, 255));
    EXPECT_FALSE(RegionFromBitmap(IDB_MASK_RGB, 255));
    // The mask is looked for in the module given, which has no such bitmap.
    EXPECT_FALSE(RegionFromBitmap(IDB_MASK_SHAPES, 2, ::GetModuleHandleA("kernel32.dll")));
}

TEST(RegionFromBitmapTest, TheProgramsMaskRoundsTheSkinsCorners) {
    const UniqueRegion region = RegionFromBitmap(IDB_SKIN_MASK, 255);
    ASSERT_TRUE(region);
    UniqueBitmap skin(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_SKIN)));
    BITMAP size{};
    ASSERT_TRUE(::GetObjectA(skin.Get(), sizeof size, &size));
    RECT box{};
    ::GetRgnBox(region.Get(), &box);
    // The outline spans the whole skin, so the window's size and its region's agree ...
    EXPECT_EQ((Box{box.left, box.top, box.right, box.bottom}), (Box{0, 0, size.bmWidth, size.bmHeight}));
    const LONG w = size.bmWidth, h = size.bmHeight;
    // ... and cuts the corners away, and nothing else on the border.
    for (POINT corner : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}})
        EXPECT_FALSE(::PtInRegion(region.Get(), corner.x, corner.y)) << corner.x << "," << corner.y;
    for (POINT inside :
         {POINT{w / 2, 0}, POINT{w / 2, h - 1}, POINT{0, h / 2}, POINT{w - 1, h / 2}, POINT{w / 2, h / 2}})
        EXPECT_TRUE(::PtInRegion(region.Get(), inside.x, inside.y)) << inside.x << "," << inside.y;
}

} // namespace
} // namespace tolvan
