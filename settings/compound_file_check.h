// A structural check of a compound file's bytes, made before ole32 sees the file: Wine's ole32 follows
// sector chains and the directory tree without bounds, so a damaged settings file (a chain or a tree that
// loops, a sector size its version does not allow) would hang the program on open or on a later read.
// The check walks everything a reader follows, each sector and each directory entry at most once; its
// cost is linear in the file's size and it allocates nothing that the file's size does not bound.
#pragma once

#include <cstdint>
#include <span>

namespace tolvan {

enum class CompoundFileFault : uint8_t {
    kNone,
    kTooShort,             // shorter than its header sector
    kBadSignature,         // not a compound file at all
    kBadByteOrder,         // not little-endian
    kBadVersion,           // major version neither 3 nor 4
    kBadSectorSize,        // sector size other than the one its version prescribes
    kBadMiniSectorSize,    // mini sector size other than 64
    kBadMiniStreamCutoff,  // mini stream cutoff other than 4096
    kBadFatCount,          // the FAT sector count and the DIFAT that lists them disagree
    kSectorOutOfRange,     // a sector index past the end of the file or of the FAT, or a sector read whole that
                           // the file ends within
    kBadChainLink,         // a chain that runs into a free or reserved FAT entry instead of ending
    kChainCycle,           // a chain that comes back to one of its own sectors
    kSharedSector,         // a sector that two chains (or the FAT and a chain) both hold
    kMiniSectorOutOfRange, // a mini sector past the end of the mini stream or of the mini FAT
    kBadMiniChainLink,
    kMiniChainCycle,
    kSharedMiniSector,
    kBadRootEntry,       // no root entry, or a root with siblings
    kEntryOutOfRange,    // a sibling or child index past the end of the directory
    kDirectoryCycle,     // a directory entry reached twice from the root
    kBadEntryType,       // an entry in the tree that is neither storage nor stream, or a stream with children
    kBadName,            // a name length that is odd, empty or over 64 bytes, or no terminator at its end
    kStreamSizeMismatch, // a stream whose chain is longer or shorter than its size needs
    kDataPastTheEnd,     // a stream whose bytes the file ends before (a missing tail of padding is no fault)
};

struct CompoundFileCheck {
    CompoundFileFault fault = CompoundFileFault::kNone;
    // Where the fault was found, for the log: a sector or mini sector index for chain faults, a directory
    // entry index for entry faults, 0 otherwise.
    uint32_t where = 0;
    // For a file that passed: the bytes its partial last sector lacks, which ole32 reads as zeros; 0 when the
    // file ends with a whole sector.
    uint32_t missingPadding = 0;

    bool Ok() const { return fault == CompoundFileFault::kNone; }
};

CompoundFileCheck CheckCompoundFile(std::span<const uint8_t> bytes);

// A short English text for the log, e.g. "a sector chain loops".
const char* DescribeCompoundFileFault(CompoundFileFault fault);

} // namespace tolvan
