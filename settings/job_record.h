// The fixed 1134-byte job record as stored in the settings file, and the 1114-byte
// application entry that is embedded in it from offset 20. Both are file formats: the
// structs are packed and every offset is pinned below, so the bytes can be read and
// written as they stand.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace tolvan {

static_assert(std::endian::native == std::endian::little, "the stored layout is little-endian");

#pragma pack(push, 1)

struct ApEntry {
    uint16_t wApSize;
    uint32_t dwApCategory;
    uint32_t dwJobMask;
    uint32_t dwApOptions;
    uint32_t dwFormats;
    uint32_t dwFormat;
    uint16_t wQuality;
    uint16_t wApId;
    char szApName[260];
    char szExeName[32];
    char szExeDir[260];
    char szFolder[260];
    char szFilePrefix[260];
    char szExt[8];
    uint32_t dwExtraLen;
    // Bytes 1130..1133 of a record are its blob reference, whose upper half is also the entry's
    // trailing word wReserved. In memory the blob travels beside the record (see the settings
    // store), so the lower half is stored as 0 and wReserved keeps what was copied into it.
    uint16_t pExtraLow;
    uint16_t wReserved;
};

struct JobRecord {
    uint8_t abHeader[6];
    uint8_t bColorModes;
    uint8_t bReserved;
    uint16_t wColorMode;
    uint16_t wDefColorMode;
    uint16_t wResolution;
    uint16_t wDefResolution;
    uint32_t dwStored;
    ApEntry ap;
};

#pragma pack(pop)

inline constexpr std::size_t kApEntrySize = 1114;
inline constexpr std::size_t kJobRecordSize = 1134;
inline constexpr std::size_t kApEntryOffset = 20;
// What a whole-entry copy moves into a record: everything up to wReserved, which is copied on its own.
inline constexpr std::size_t kApEntryCopyBytes = 1112;

static_assert(sizeof(ApEntry) == kApEntrySize);
static_assert(sizeof(JobRecord) == kJobRecordSize);

static_assert(offsetof(ApEntry, wApSize) == 0);
static_assert(offsetof(ApEntry, dwApCategory) == 2);
static_assert(offsetof(ApEntry, dwJobMask) == 6);
static_assert(offsetof(ApEntry, dwApOptions) == 10);
static_assert(offsetof(ApEntry, dwFormats) == 14);
static_assert(offsetof(ApEntry, dwFormat) == 18);
static_assert(offsetof(ApEntry, wQuality) == 22);
static_assert(offsetof(ApEntry, wApId) == 24);
static_assert(offsetof(ApEntry, szApName) == 26);
static_assert(offsetof(ApEntry, szExeName) == 286);
static_assert(offsetof(ApEntry, szExeDir) == 318);
static_assert(offsetof(ApEntry, szFolder) == 578);
static_assert(offsetof(ApEntry, szFilePrefix) == 838);
static_assert(offsetof(ApEntry, szExt) == 1098);
static_assert(offsetof(ApEntry, dwExtraLen) == 1106);
static_assert(offsetof(ApEntry, pExtraLow) == 1110);
static_assert(offsetof(ApEntry, wReserved) == 1112);

static_assert(offsetof(JobRecord, abHeader) == 0);
static_assert(offsetof(JobRecord, bColorModes) == 6);
static_assert(offsetof(JobRecord, bReserved) == 7);
static_assert(offsetof(JobRecord, wColorMode) == 8);
static_assert(offsetof(JobRecord, wDefColorMode) == 10);
static_assert(offsetof(JobRecord, wResolution) == 12);
static_assert(offsetof(JobRecord, wDefResolution) == 14);
static_assert(offsetof(JobRecord, dwStored) == 16);
static_assert(offsetof(JobRecord, ap) == kApEntryOffset);
static_assert(offsetof(JobRecord, ap) + offsetof(ApEntry, szApName) == 46);
static_assert(offsetof(JobRecord, ap) + offsetof(ApEntry, szExeName) == 306);
static_assert(offsetof(JobRecord, ap) + offsetof(ApEntry, szExeDir) == 338);
static_assert(offsetof(JobRecord, ap) + offsetof(ApEntry, szFolder) == 598);
static_assert(offsetof(JobRecord, ap) + offsetof(ApEntry, szFilePrefix) == 858);
static_assert(offsetof(JobRecord, ap) + offsetof(ApEntry, szExt) == 1118);
static_assert(offsetof(JobRecord, ap) + offsetof(ApEntry, dwExtraLen) == 1126);
static_assert(offsetof(JobRecord, ap) + offsetof(ApEntry, pExtraLow) == 1130);
static_assert(offsetof(JobRecord, ap) + offsetof(ApEntry, wReserved) == 1132);

// Copies a whole application entry into a record the way a destination choice does: the
// first 1112 bytes land at offsets 20..1131 and the trailing word goes to wReserved.
void CopyApEntry(JobRecord& record, const ApEntry& entry);

// Compares the embedded application entries (offsets 20..1133) of two records.
bool SameApEntry(const JobRecord& a, const JobRecord& b);

} // namespace tolvan
