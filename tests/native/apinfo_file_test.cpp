// The application list file: what the writer lays down, that parsing gives back every byte, and
// that each kind of damage is refused without handing out a single entry. Files are parsed from
// buffers of exactly their size, so a read past the end stops the test.
#include "driver/apinfo/ap_file_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

namespace tolvan::apinfo {
namespace {

using Bytes = std::vector<uint8_t>;

ApEntry PatternEntry(uint8_t seed) {
    ApEntry entry;
    auto* bytes = reinterpret_cast<uint8_t*>(&entry);
    for (std::size_t i = 0; i < kApEntrySize; ++i)
        bytes[i] = static_cast<uint8_t>(seed + i * 7);
    // Everything else, unterminated strings included, is carried as it stands.
    entry.wApSize = kApEntrySize;
    return entry;
}

Bytes Serialized(const std::vector<ApEntry>& entries) {
    Bytes out;
    EXPECT_TRUE(SerializeApFile(entries, out));
    return out;
}

uint32_t U32At(const Bytes& b, std::size_t at) {
    uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

void PutU32(Bytes& b, std::size_t at, uint32_t v) {
    std::memcpy(b.data() + at, &v, 4);
}

// Recomputes the trailer, so that a change reaches the checks behind the checksum.
void Reseal(Bytes& b) {
    PutU32(b, b.size() - 4, Crc32(std::span<const uint8_t>(b).first(b.size() - 4)));
}

ParseStatus Parse(const Bytes& bytes) {
    // A list with something in it, to see that a refusal empties it.
    std::vector<ApEntry> entries(1, PatternEntry(9));
    const ParseStatus status = ParseApFile(bytes, entries);
    if (status != ParseStatus::kOk)
        EXPECT_TRUE(entries.empty()) << Describe(status);
    return status;
}

TEST(ApFileFormat, Crc32MatchesTheCommonCheckValue) {
    const std::string text = "123456789";
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    EXPECT_EQ(Crc32(bytes), 0xCBF43926u);
    EXPECT_EQ(Crc32(bytes.subspan(4), Crc32(bytes.first(4))), 0xCBF43926u) << "continued in pieces";
    EXPECT_EQ(Crc32({}), 0u);
}

TEST(ApFileFormat, LayoutOfTheWrittenFile) {
    const Bytes empty = Serialized({});
    ASSERT_EQ(empty.size(), kHeaderSize + kTrailerSize);
    EXPECT_EQ(std::string(empty.begin(), empty.begin() + 4), "TVAI");
    EXPECT_EQ(empty[4] | empty[5] << 8, 1) << "version";
    EXPECT_EQ(empty[6] | empty[7] << 8, 1114) << "record size";
    EXPECT_EQ(U32At(empty, 8), 0u) << "count";

    const std::vector<ApEntry> two = {PatternEntry(1), PatternEntry(2)};
    const Bytes file = Serialized(two);
    ASSERT_EQ(file.size(), 12u + 2 * 1114 + 4);
    EXPECT_EQ(U32At(file, 8), 2u);
    EXPECT_EQ(std::memcmp(file.data() + 12, &two[0], kApEntrySize), 0) << "entries as they are in memory";
    EXPECT_EQ(std::memcmp(file.data() + 12 + 1114, &two[1], kApEntrySize), 0);
    EXPECT_EQ(U32At(file, file.size() - 4), Crc32(std::span<const uint8_t>(file).first(file.size() - 4)));
}

TEST(ApFileFormat, RoundTripKeepsEveryByteAndTheOrder) {
    for (std::size_t count : {0u, 1u, 3u}) {
        std::vector<ApEntry> entries;
        for (std::size_t i = 0; i < count; ++i)
            entries.push_back(PatternEntry(static_cast<uint8_t>(40 * i + 3)));
        const Bytes file = Serialized(entries);
        std::vector<ApEntry> back;
        ASSERT_EQ(ParseApFile(file, back), ParseStatus::kOk) << count;
        ASSERT_EQ(back.size(), count);
        for (std::size_t i = 0; i < count; ++i)
            EXPECT_EQ(std::memcmp(&back[i], &entries[i], kApEntrySize), 0) << i;
        EXPECT_EQ(Serialized(back), file);
    }
}

TEST(ApFileFormat, WriterRefusesWhatCouldNotBeReadBack) {
    Bytes out{1, 2, 3};
    std::vector<ApEntry> entries = {PatternEntry(1), PatternEntry(2)};
    entries[1].wApSize = 1113;
    EXPECT_FALSE(SerializeApFile(entries, out));
    EXPECT_TRUE(out.empty());

    const std::vector<ApEntry> tooMany(kMaxEntries + 1, PatternEntry(5));
    EXPECT_FALSE(SerializeApFile(tooMany, out));
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(SerializeApFile(std::span(tooMany).first(kMaxEntries), out));
    EXPECT_EQ(out.size(), kMaxFileSize);
}

TEST(ApFileFormat, DamageIsRefused) {
    const Bytes good = Serialized({PatternEntry(1), PatternEntry(2)});
    struct Case {
        const char* what;
        std::function<void(Bytes&)> damage;
        ParseStatus expected;
    };
    const Case cases[] = {
        {"empty file", [](Bytes& b) { b.clear(); }, ParseStatus::kTruncated},
        {"header without trailer", [](Bytes& b) { b.resize(kHeaderSize + kTrailerSize - 1); }, ParseStatus::kTruncated},
        {"other magic", [](Bytes& b) { b[0] = 'X'; }, ParseStatus::kBadMagic},
        {"later version", [](Bytes& b) { b[4] = 2, Reseal(b); }, ParseStatus::kUnknownVersion},
        {"version 0", [](Bytes& b) { b[4] = 0, Reseal(b); }, ParseStatus::kUnknownVersion},
        {"other record size", [](Bytes& b) { b[6] = 0x59, Reseal(b); }, ParseStatus::kBadEntrySize},
        {"count one too high", [](Bytes& b) { PutU32(b, 8, 3), Reseal(b); }, ParseStatus::kBadLength},
        {"count one too low", [](Bytes& b) { PutU32(b, 8, 1), Reseal(b); }, ParseStatus::kBadLength},
        {"absurd count", [](Bytes& b) { PutU32(b, 8, 0xFFFFFFFF), Reseal(b); }, ParseStatus::kBadLength},
        {"count that wraps the size", [](Bytes& b) { PutU32(b, 8, 0x80000002), Reseal(b); }, ParseStatus::kBadLength},
        {"byte appended", [](Bytes& b) { b.push_back(0), Reseal(b); }, ParseStatus::kBadLength},
        {"entry cut short", [](Bytes& b) { b.erase(b.begin() + 100), Reseal(b); }, ParseStatus::kBadLength},
        {"bit flipped in an entry", [](Bytes& b) { b[12 + 1114 + 300] ^= 0x10; }, ParseStatus::kBadChecksum},
        {"bit flipped in the count", [](Bytes& b) { b[8] ^= 0x01; }, ParseStatus::kBadLength},
        {"checksum changed", [](Bytes& b) { b.back() ^= 0x80; }, ParseStatus::kBadChecksum},
        {"entry with a wrong size field", [](Bytes& b) { b[12 + 1114] = 0x5B, Reseal(b); }, ParseStatus::kBadEntry},
        {"first entry zeroed", [](Bytes& b) { std::fill_n(b.begin() + 12, 1114, 0), Reseal(b); },
         ParseStatus::kBadEntry},
    };
    for (const Case& c : cases) {
        Bytes damaged = good;
        c.damage(damaged);
        EXPECT_EQ(Parse(damaged), c.expected) << c.what;
    }
}

TEST(ApFileFormat, EveryTruncationIsRefused) {
    const Bytes good = Serialized({PatternEntry(1), PatternEntry(2)});
    for (std::size_t size = 0; size < good.size(); ++size) {
        const Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_NE(Parse(cut), ParseStatus::kOk) << size;
    }
}

} // namespace
} // namespace tolvan::apinfo
