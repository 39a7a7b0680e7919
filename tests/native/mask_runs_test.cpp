// The run-length scan of a region mask on 8-bit DIBs laid out by the test. Each DIB is a heap block of exactly
// its size and the row padding holds opaque indices, so a scan past a row's width or past the block shows up as
// a wrong rectangle or an AddressSanitizer report.
#include "controls/mask_runs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace tolvan {

bool operator==(const MaskRect& a, const MaskRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void PrintTo(const MaskRect& r, std::ostream* os) {
    *os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

namespace {

using Bytes = std::vector<uint8_t>;
using Rects = std::vector<MaskRect>;

constexpr uint8_t kKey = 255;
constexpr uint8_t kOpaque = 7;

void Put16(Bytes& b, std::size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void Put32(Bytes& b, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

struct Layout {
    uint32_t headerSize = 40;
    uint32_t clrUsed = 0; // 0: a full table of 256 entries
    uint16_t bitCount = 8;
    uint32_t compression = 0;
};

// rows: the image from its top row down, '#' opaque and '.' the key. They are stored bottom-up, as the art
// tools write them.
Bytes BuildDib(const std::vector<std::string>& rows, Layout layout = {}) {
    const auto height = static_cast<int32_t>(rows.size());
    const auto width = static_cast<int32_t>(rows.empty() ? 0 : rows[0].size());
    const std::size_t stride = (static_cast<std::size_t>(width) + 3) / 4 * 4;
    const std::size_t colours = layout.clrUsed ? layout.clrUsed : 256;
    const std::size_t bitsOffset = layout.headerSize + colours * 4;
    Bytes dib(bitsOffset + stride * rows.size(), 0);
    Put32(dib, 0, layout.headerSize);
    Put32(dib, 4, static_cast<uint32_t>(width));
    Put32(dib, 8, static_cast<uint32_t>(height));
    Put16(dib, 12, 1);
    Put16(dib, 14, layout.bitCount);
    Put32(dib, 16, layout.compression);
    Put32(dib, 20, static_cast<uint32_t>(stride * rows.size()));
    Put32(dib, 32, layout.clrUsed);
    // The colour table is filled with the key, so that taking it for pixels would show as missing runs.
    for (std::size_t i = layout.headerSize; i < bitsOffset; ++i)
        dib[i] = kKey;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = dib.data() + bitsOffset + stride * static_cast<std::size_t>(height - 1 - y);
        for (std::size_t x = 0; x < stride; ++x)
            row[x] = x < rows[y].size() && rows[y][x] == '.' ? kKey : kOpaque;
    }
    return dib;
}

MaskRuns Scan(const Bytes& dib, std::size_t maxRects = kMaxRegionRects) {
    MaskRuns runs;
    EXPECT_TRUE(ScanMaskRuns(dib, kKey, runs, maxRects));
    return runs;
}

bool Refused(const Bytes& dib) {
    // Left over from an earlier scan: a refusal must not hand it back.
    MaskRuns runs{3, 3, {{0, 0, 1, 1}}};
    const bool accepted = ScanMaskRuns(dib, kKey, runs);
    return !accepted && runs.width == 0 && runs.height == 0 && runs.rects.empty();
}

TEST(MaskRunsTest, RunsAreMaximalAndOrderedFromTheTopRow) {
    const MaskRuns runs = Scan(BuildDib({
        "..##....#.", // a run inside, then a one-pixel run
        "#.........", // one pixel at the left border
        "..........", // no run
        "######.###", // a run reaching the right border ends at the width
    }));
    EXPECT_EQ(runs.width, 10);
    EXPECT_EQ(runs.height, 4);
    EXPECT_EQ(runs.rects, (Rects{{2, 0, 4, 1}, {8, 0, 9, 1}, {0, 1, 1, 2}, {0, 3, 6, 4}, {7, 3, 10, 4}}));
}

TEST(MaskRunsTest, RowPaddingIsNeverPartOfARun) {
    // Widths 1 to 4 leave 3 to 0 padding bytes, all of them opaque in the DIB.
    for (const char* row : {"#", "##", ".##", "...#"}) {
        const MaskRuns runs = Scan(BuildDib({row, row}));
        const auto width = static_cast<int32_t>(std::string(row).size());
        ASSERT_EQ(runs.rects.size(), 2u) << row;
        EXPECT_EQ(runs.rects[0].right, width) << row;
        EXPECT_EQ(runs.rects[1].right, width) << row;
    }
}

TEST(MaskRunsTest, FirstStoredRowIsTheImagesBottom) {
    Bytes dib = BuildDib({"....", "....", "...."});
    // The first stored row, right behind the colour table.
    dib[40 + 256 * 4 + 1] = kOpaque;
    EXPECT_EQ(Scan(dib).rects, (Rects{{1, 2, 2, 3}}));
}

TEST(MaskRunsTest, AFullyTransparentMaskHasItsSizeAndNoRuns) {
    const MaskRuns runs = Scan(BuildDib({"...", "..."}));
    EXPECT_EQ(runs.width, 3);
    EXPECT_EQ(runs.height, 2);
    EXPECT_TRUE(runs.rects.empty());
}

TEST(MaskRunsTest, TheKeyIsTheCallersIndex) {
    const Bytes dib = BuildDib({"#..#"});
    MaskRuns runs;
    // With the opaque index as key, the transparent pixels are the runs.
    ASSERT_TRUE(ScanMaskRuns(dib, kOpaque, runs));
    EXPECT_EQ(runs.rects, (Rects{{1, 0, 3, 1}}));
}

TEST(MaskRunsTest, PixelsStartBehindTheColourTableItsHeaderDeclares) {
    const std::vector<std::string> rows{".#..", "##.#"};
    const Rects expected{{1, 0, 2, 1}, {0, 1, 2, 2}, {3, 1, 4, 2}};
    for (uint32_t clrUsed : {1u, 2u, 16u, 255u, 256u}) {
        const Bytes dib = BuildDib(rows, {.clrUsed = clrUsed});
        EXPECT_EQ(dib.size(), 40 + clrUsed * 4 + 8);
        EXPECT_EQ(Scan(dib).rects, expected) << "biClrUsed " << clrUsed;
    }
    // A longer header (a V4 header, say) moves the table and the pixels along.
    EXPECT_EQ(Scan(BuildDib(rows, {.headerSize = 108, .clrUsed = 4})).rects, expected);
}

// A 199-pixel row with an opaque pixel at every even column holds 100 runs.
std::vector<std::string> ManyRuns(int rowCount) {
    std::string row;
    for (int x = 0; x < 199; ++x)
        row += x % 2 ? '.' : '#';
    return std::vector<std::string>(static_cast<std::size_t>(rowCount), row);
}

TEST(MaskRunsTest, OnlyTheFirstFiveThousandRunsFromTheTopAreKept) {
    const Bytes dib = BuildDib(ManyRuns(60)); // 6000 runs
    const MaskRuns runs = Scan(dib);
    ASSERT_EQ(runs.rects.size(), kMaxRegionRects);
    EXPECT_EQ(runs.height, 60); // the size stays the bitmap's
    EXPECT_EQ(runs.rects.front(), (MaskRect{0, 0, 1, 1}));
    EXPECT_EQ(runs.rects.back(), (MaskRect{198, 49, 199, 50}));

    // Exactly the limit loses nothing; a smaller limit cuts inside a row.
    EXPECT_EQ(Scan(BuildDib(ManyRuns(50))).rects.size(), kMaxRegionRects);
    EXPECT_EQ(Scan(dib, 3).rects, (Rects{{0, 0, 1, 1}, {2, 0, 3, 1}, {4, 0, 5, 1}}));
    EXPECT_TRUE(Scan(dib, 0).rects.empty());
}

TEST(MaskRunsTest, DamagedOrForeignBitmapsAreRefused) {
    const std::vector<std::string> rows{"#.##.", "..#.."};
    const Bytes good = BuildDib(rows);
    ASSERT_FALSE(Refused(good));

    EXPECT_TRUE(Refused({}));
    EXPECT_TRUE(Refused(Bytes(good.begin(), good.begin() + 39))) << "shorter than the header";
    EXPECT_TRUE(Refused(Bytes(good.begin(), good.end() - 1))) << "last row cut short";
    EXPECT_TRUE(Refused(Bytes(good.begin(), good.begin() + 40 + 256 * 4))) << "no rows at all";
    EXPECT_TRUE(Refused(BuildDib(rows, {.bitCount = 24})));
    EXPECT_TRUE(Refused(BuildDib(rows, {.bitCount = 4})));
    EXPECT_TRUE(Refused(BuildDib(rows, {.compression = 1}))) << "RLE8";
    EXPECT_TRUE(Refused(BuildDib(rows, {.compression = 3}))) << "bit fields";

    const auto with32 = [&](std::size_t at, uint32_t value) {
        Bytes dib = good;
        Put32(dib, at, value);
        return dib;
    };
    EXPECT_TRUE(Refused(with32(32, 257))) << "biClrUsed past 256";
    EXPECT_TRUE(Refused(with32(32, 0xFFFFFFFF)));
    EXPECT_TRUE(Refused(with32(0, 12))) << "a core header";
    EXPECT_TRUE(Refused(with32(0, static_cast<uint32_t>(good.size()) + 1))) << "header past the end";
    EXPECT_TRUE(Refused(with32(0, 0xFFFFFFFF)));
    EXPECT_TRUE(Refused(with32(4, 0)));
    EXPECT_TRUE(Refused(with32(8, 0)));
    EXPECT_TRUE(Refused(with32(8, static_cast<uint32_t>(-2)))) << "top-down rows";
    EXPECT_TRUE(Refused(with32(4, static_cast<uint32_t>(-5))));
    EXPECT_TRUE(Refused(with32(4, static_cast<uint32_t>(std::numeric_limits<int32_t>::max()))));
    EXPECT_TRUE(Refused(with32(8, static_cast<uint32_t>(std::numeric_limits<int32_t>::max()))));
    EXPECT_TRUE(Refused(with32(8, static_cast<uint32_t>(std::numeric_limits<int32_t>::min()))));
    // One row too many for the bytes there are.
    EXPECT_TRUE(Refused(with32(8, 3)));
    // A short colour table whose header claims the full one: the rows would lie past the end.
    Bytes shortTable = BuildDib(rows, {.clrUsed = 2});
    Put32(shortTable, 32, 0);
    EXPECT_TRUE(Refused(shortTable));
}

} // namespace
} // namespace tolvan
