// The on-disk form of the application lists "APInfo.dat" and "InApInfo.dat" (see FORMAT.md):
// a 12-byte header, the entries as fixed 1114-byte records exactly as they travel through the
// module's interface, and a CRC-32 of everything before it.
//
// The files live in the user's profile where anything may happen to them, so the parser
// trusts nothing: the entry count must agree with the file size before a single entry is
// looked at, and any disagreement is reported rather than repaired. The code is portable so
// that it also runs under the sanitizers and the fuzzer.
#pragma once

#include "settings/job_record.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tolvan::apinfo {

inline constexpr uint8_t kMagic[4] = {'T', 'V', 'A', 'I'};
inline constexpr uint16_t kFormatVersion = 1;
inline constexpr std::size_t kHeaderSize = 12;
inline constexpr std::size_t kTrailerSize = 4;
// Far more than any machine has applications; it keeps a damaged count or a foreign file from
// making us allocate or read without bound.
inline constexpr uint32_t kMaxEntries = 4096;
inline constexpr std::size_t kMaxFileSize = kHeaderSize + std::size_t{kMaxEntries} * kApEntrySize + kTrailerSize;

enum class ParseStatus : uint8_t {
    kOk,
    kTruncated,      // shorter than a header and trailer
    kBadMagic,       // not one of our list files
    kUnknownVersion, // written by a later format this module does not know
    kBadEntrySize,   // the header's record size is not 1114
    kBadLength,      // the size disagrees with the entry count, or the count is absurd
    kBadChecksum,    // the bytes were changed after they were written
    kBadEntry,       // an entry does not declare itself as 1114 bytes long
};

const char* Describe(ParseStatus status);

// CRC-32 as in zip and PNG (reflected polynomial 0xEDB88320); pass an earlier result to continue.
uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t previous = 0);

// Fills entries only when the whole file is sound; otherwise entries is left empty.
ParseStatus ParseApFile(std::span<const uint8_t> bytes, std::vector<ApEntry>& entries);

// Returns false, leaving out empty, when there are more than kMaxEntries entries or one of them does
// not declare itself as 1114 bytes long: what we write must always parse again.
bool SerializeApFile(std::span<const ApEntry> entries, std::vector<uint8_t>& out);

} // namespace tolvan::apinfo
