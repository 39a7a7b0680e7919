#include "driver/apinfo/ap_file_format.h"

#include <array>
#include <cstring>

namespace tolvan::apinfo {

namespace {

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

uint16_t LoadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t LoadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

void StoreU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void StoreU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

} // namespace

const char* Describe(ParseStatus status) {
    switch (status) {
    case ParseStatus::kOk:
        return "sound";
    case ParseStatus::kTruncated:
        return "too short for a header";
    case ParseStatus::kBadMagic:
        return "not an application list";
    case ParseStatus::kUnknownVersion:
        return "written by an unknown format version";
    case ParseStatus::kBadEntrySize:
        return "unexpected record size";
    case ParseStatus::kBadLength:
        return "size does not match the entry count";
    case ParseStatus::kBadChecksum:
        return "checksum mismatch";
    case ParseStatus::kBadEntry:
        return "an entry has the wrong size field";
    }
    return "unknown";
}

uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t previous) {
    uint32_t c = ~previous;
    for (uint8_t b : bytes)
        c = kCrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
    return ~c;
}

ParseStatus ParseApFile(std::span<const uint8_t> bytes, std::vector<ApEntry>& entries) {
    entries.clear();
    if (bytes.size() < kHeaderSize + kTrailerSize)
        return ParseStatus::kTruncated;
    const uint8_t* p = bytes.data();
    if (std::memcmp(p, kMagic, sizeof kMagic) != 0)
        return ParseStatus::kBadMagic;
    if (LoadU16(p + 4) != kFormatVersion)
        return ParseStatus::kUnknownVersion;
    if (LoadU16(p + 6) != kApEntrySize)
        return ParseStatus::kBadEntrySize;
    const uint32_t count = LoadU32(p + 8);
    // Division keeps a huge count from wrapping the size computation around.
    const std::size_t body = bytes.size() - kHeaderSize - kTrailerSize;
    if (count > kMaxEntries || body % kApEntrySize != 0 || body / kApEntrySize != count)
        return ParseStatus::kBadLength;
    const std::size_t covered = bytes.size() - kTrailerSize;
    if (Crc32(bytes.first(covered)) != LoadU32(p + covered))
        return ParseStatus::kBadChecksum;

    std::vector<ApEntry> parsed(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* record = p + kHeaderSize + std::size_t{i} * kApEntrySize;
        if (LoadU16(record) != kApEntrySize)
            return ParseStatus::kBadEntry;
        std::memcpy(&parsed[i], record, kApEntrySize);
    }
    entries = std::move(parsed);
    return ParseStatus::kOk;
}

bool SerializeApFile(std::span<const ApEntry> entries, std::vector<uint8_t>& out) {
    out.clear();
    if (entries.size() > kMaxEntries)
        return false;
    for (const ApEntry& entry : entries)
        if (entry.wApSize != kApEntrySize)
            return false;
    out.resize(kHeaderSize + entries.size() * kApEntrySize + kTrailerSize);
    uint8_t* p = out.data();
    std::memcpy(p, kMagic, sizeof kMagic);
    StoreU16(p + 4, kFormatVersion);
    StoreU16(p + 6, static_cast<uint16_t>(kApEntrySize));
    StoreU32(p + 8, static_cast<uint32_t>(entries.size()));
    if (!entries.empty())
        std::memcpy(p + kHeaderSize, entries.data(), entries.size() * kApEntrySize);
    const std::size_t covered = out.size() - kTrailerSize;
    StoreU32(p + covered, Crc32(std::span<const uint8_t>(out).first(covered)));
    return true;
}

} // namespace tolvan::apinfo
