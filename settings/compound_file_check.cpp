#include "settings/compound_file_check.h"

#include <cstddef>
#include <cstring>
#include <vector>

namespace tolvan {

namespace {

constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::size_t kHeaderSize = 512;
constexpr std::size_t kEntrySize = 128;
constexpr uint32_t kHeaderDifatEntries = 109;
constexpr uint32_t kMiniSectorShift = 6;
constexpr uint32_t kMiniStreamCutoff = 4096;

constexpr uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFreeSector = 0xFFFFFFFF;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr uint32_t kMaxRegularEntry = 0xFFFFFFFA;

// Header fields.
constexpr std::size_t kMajorVersionAt = 0x1A;
constexpr std::size_t kByteOrderAt = 0x1C;
constexpr std::size_t kSectorShiftAt = 0x1E;
constexpr std::size_t kMiniSectorShiftAt = 0x20;
constexpr std::size_t kFatCountAt = 0x2C;
constexpr std::size_t kFirstDirectorySectorAt = 0x30;
constexpr std::size_t kMiniStreamCutoffAt = 0x38;
constexpr std::size_t kFirstMiniFatSectorAt = 0x3C;
constexpr std::size_t kFirstDifatSectorAt = 0x44;
constexpr std::size_t kDifatCountAt = 0x48;
constexpr std::size_t kHeaderDifatAt = 0x4C;

// Directory entry fields.
constexpr std::size_t kNameBytes = 64;
constexpr std::size_t kNameLengthAt = 0x40;
constexpr std::size_t kTypeAt = 0x42;
constexpr std::size_t kLeftAt = 0x44;
constexpr std::size_t kRightAt = 0x48;
constexpr std::size_t kChildAt = 0x4C;
constexpr std::size_t kStartSectorAt = 0x74;
constexpr std::size_t kStreamSizeAt = 0x78;

constexpr uint8_t kStorageType = 1;
constexpr uint8_t kStreamType = 2;
constexpr uint8_t kRootType = 5;

using Fault = CompoundFileFault;

CompoundFileCheck Fail(Fault fault, uint32_t where) {
    return {fault, where};
}

// Sectors needed for size bytes, without overflow for any 64-bit size.
uint64_t SectorsFor(uint64_t size, uint32_t shift) {
    return (size >> shift) + ((size & ((uint64_t{1} << shift) - 1)) != 0 ? 1 : 0);
}

class Checker {
public:
    explicit Checker(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    CompoundFileCheck Run() {
        CompoundFileCheck result = ReadHeader();
        if (result.Ok())
            result = LoadFat();
        if (result.Ok())
            result = LoadDirectoryAndMiniFat();
        if (result.Ok())
            result = CheckRoot();
        if (result.Ok())
            result = WalkTree();
        if (result.Ok() && m_sectorCount != m_wholeSectorCount)
            result.missingPadding = static_cast<uint32_t>(SectorAt(m_sectorCount) - m_bytes.size());
        return result;
    }

private:
    // Every caller has established that the field lies inside the file.
    uint16_t U16(std::size_t at) const {
        uint16_t value;
        std::memcpy(&value, m_bytes.data() + at, sizeof value);
        return value;
    }
    uint32_t U32(std::size_t at) const {
        uint32_t value;
        std::memcpy(&value, m_bytes.data() + at, sizeof value);
        return value;
    }
    uint64_t U64(std::size_t at) const {
        uint64_t value;
        std::memcpy(&value, m_bytes.data() + at, sizeof value);
        return value;
    }

    // The header takes the place of sector -1.
    std::size_t SectorAt(uint32_t sector) const { return (std::size_t{sector} + 1) << m_sectorShift; }
    uint32_t FatEntry(uint32_t sector) const {
        return U32(SectorAt(m_fatSectors[sector / m_entriesPerSector]) + (sector % m_entriesPerSector) * 4);
    }
    uint32_t MiniFatEntry(uint32_t miniSector) const {
        return U32(SectorAt(m_miniFatSectors[miniSector / m_entriesPerSector]) + (miniSector % m_entriesPerSector) * 4);
    }
    std::size_t EntryAt(uint32_t entry) const {
        return SectorAt(m_directorySectors[entry / m_entriesPerDirectorySector]) +
               (entry % m_entriesPerDirectorySector) * kEntrySize;
    }
    // A version 3 file keeps only 32 bits of a stream's size; the high half may hold anything.
    uint64_t StreamSize(std::size_t entryAt) const {
        const uint64_t size = U64(entryAt + kStreamSizeAt);
        return m_majorVersion == 3 ? size & 0xFFFFFFFF : size;
    }

    uint32_t NewChain() { return ++m_chains; }

    // A sector belongs to one chain at most; meeting it again is a loop within the chain or an overlap of two.
    CompoundFileCheck Claim(std::vector<uint32_t>& owners, uint32_t index, uint32_t chain, Fault cycle, Fault shared) {
        if (owners[index] == 0) {
            owners[index] = chain;
            return {};
        }
        return Fail(owners[index] == chain ? cycle : shared, index);
    }

    CompoundFileCheck ReadHeader() {
        if (m_bytes.size() < kHeaderSize)
            return Fail(Fault::kTooShort, 0);
        if (std::memcmp(m_bytes.data(), kSignature, sizeof kSignature) != 0)
            return Fail(Fault::kBadSignature, 0);
        if (U16(kByteOrderAt) != 0xFFFE)
            return Fail(Fault::kBadByteOrder, 0);
        m_majorVersion = U16(kMajorVersionAt);
        if (m_majorVersion != 3 && m_majorVersion != 4)
            return Fail(Fault::kBadVersion, 0);
        m_sectorShift = U16(kSectorShiftAt);
        if (m_sectorShift != (m_majorVersion == 3 ? 9u : 12u))
            return Fail(Fault::kBadSectorSize, 0);
        if (U16(kMiniSectorShiftAt) != kMiniSectorShift)
            return Fail(Fault::kBadMiniSectorSize, 0);
        if (U32(kMiniStreamCutoffAt) != kMiniStreamCutoff)
            return Fail(Fault::kBadMiniStreamCutoff, 0);

        const std::size_t sectorSize = std::size_t{1} << m_sectorShift;
        if (m_bytes.size() < sectorSize)
            return Fail(Fault::kTooShort, 0);
        // Writers may leave out the unused tail of the last sector, and ole32 reads what is missing as zeros. So
        // a partial last sector counts, but only where no byte that a reader takes from it is missing: the
        // structures read whole (FAT, DIFAT, directory, mini FAT) need whole sectors, a stream only its own bytes.
        const std::size_t whole = m_bytes.size() / sectorSize - 1;
        const std::size_t sectors = whole + (m_bytes.size() % sectorSize != 0 ? 1 : 0);
        m_wholeSectorCount = whole > kMaxRegularSector ? kMaxRegularSector + 1 : static_cast<uint32_t>(whole);
        m_sectorCount = sectors > kMaxRegularSector ? kMaxRegularSector + 1 : static_cast<uint32_t>(sectors);
        m_entriesPerSector = static_cast<uint32_t>(sectorSize / 4);
        m_entriesPerDirectorySector = static_cast<uint32_t>(sectorSize / kEntrySize);
        m_owners.assign(m_sectorCount, 0);
        return {};
    }

    CompoundFileCheck AddFatSector(uint32_t sector) {
        if (sector >= m_wholeSectorCount)
            return Fail(Fault::kSectorOutOfRange, sector);
        if (CompoundFileCheck claimed = Claim(m_owners, sector, NewChain(), Fault::kSharedSector, Fault::kSharedSector);
            !claimed.Ok())
            return claimed;
        m_fatSectors.push_back(sector);
        return {};
    }

    // The FAT's sectors are listed by the header's first 109 DIFAT entries, then by a chain of DIFAT sectors
    // whose last entry links to the next. Readers take the header's counts as given, so both must agree with
    // what the file holds.
    CompoundFileCheck LoadFat() {
        const uint32_t fatCount = U32(kFatCountAt);
        const uint32_t difatCount = U32(kDifatCountAt);
        if (fatCount == 0 || fatCount > m_wholeSectorCount || difatCount > m_wholeSectorCount)
            return Fail(Fault::kBadFatCount, 0);
        m_fatSectors.reserve(fatCount);
        const uint32_t inHeader = fatCount < kHeaderDifatEntries ? fatCount : kHeaderDifatEntries;
        for (uint32_t i = 0; i < inHeader; ++i)
            if (CompoundFileCheck added = AddFatSector(U32(kHeaderDifatAt + 4 * i)); !added.Ok())
                return added;

        const uint32_t difatChain = NewChain();
        uint32_t difat = U32(kFirstDifatSectorAt);
        for (uint32_t walked = 0; walked < difatCount; ++walked) {
            if (difat > kMaxRegularSector)
                return Fail(Fault::kBadChainLink, difat);
            if (difat >= m_wholeSectorCount)
                return Fail(Fault::kSectorOutOfRange, difat);
            if (CompoundFileCheck claimed =
                    Claim(m_owners, difat, difatChain, Fault::kChainCycle, Fault::kSharedSector);
                !claimed.Ok())
                return claimed;
            const std::size_t at = SectorAt(difat);
            for (uint32_t i = 0; i + 1 < m_entriesPerSector && m_fatSectors.size() < fatCount; ++i)
                if (CompoundFileCheck added = AddFatSector(U32(at + 4 * i)); !added.Ok())
                    return added;
            difat = U32(at + 4 * (m_entriesPerSector - 1));
        }
        if (m_fatSectors.size() < fatCount)
            return Fail(Fault::kBadFatCount, 0);
        // Writers end the DIFAT chain either way; nobody reads past its counted sectors.
        if (difatCount != 0 && difat != kEndOfChain && difat != kFreeSector)
            return Fail(Fault::kBadChainLink, difat);
        m_fatEntries = uint64_t{fatCount} * m_entriesPerSector;
        return {};
    }

    // How much of a chain's last sector a reader takes: every byte for the structures read whole, a stream's
    // own bytes, or, for the mini stream, what its mini sectors hold (checked for each of them).
    static constexpr uint64_t kWholeSectors = ~uint64_t{0};
    static constexpr uint64_t kMiniStreamContainer = ~uint64_t{0} - 1;

    // Bytes of the file from offset at on, up to limit.
    uint64_t PresentFrom(uint64_t at, uint64_t limit) const {
        const uint64_t size = m_bytes.size();
        return at >= size ? 0 : (size - at < limit ? size - at : limit);
    }

    // Walks a chain of regular sectors from start to ENDOFCHAIN, claiming each sector for one new chain. Only
    // the chain's last sector may be the file's partial one, and only when it holds what needs reading.
    CompoundFileCheck WalkChain(uint32_t start, uint64_t& length, std::vector<uint32_t>* sectors, uint64_t needed) {
        const uint32_t chain = NewChain();
        const uint64_t sectorSize = uint64_t{1} << m_sectorShift;
        length = 0;
        uint32_t from = start;
        for (uint32_t sector = start; sector != kEndOfChain; sector = FatEntry(sector)) {
            if (sector > kMaxRegularSector)
                return Fail(Fault::kBadChainLink, from);
            if (sector >= m_sectorCount || sector >= m_fatEntries)
                return Fail(Fault::kSectorOutOfRange, sector);
            if (CompoundFileCheck claimed = Claim(m_owners, sector, chain, Fault::kChainCycle, Fault::kSharedSector);
                !claimed.Ok())
                return claimed;
            if (sector >= m_wholeSectorCount) {
                const bool last = FatEntry(sector) == kEndOfChain;
                const uint64_t before = length * sectorSize;
                if (needed == kWholeSectors || !last)
                    return Fail(Fault::kSectorOutOfRange, sector);
                if (needed != kMiniStreamContainer && needed > before &&
                    PresentFrom(SectorAt(sector), sectorSize) < needed - before)
                    return Fail(Fault::kDataPastTheEnd, sector);
            }
            if (sectors)
                sectors->push_back(sector);
            ++length;
            from = sector;
        }
        return {};
    }

    // Where a mini sector lies in the file; the caller has checked it against the mini stream's size.
    uint64_t MiniSectorAt(uint32_t miniSector) const {
        const uint64_t offset = uint64_t{miniSector} << kMiniSectorShift;
        return SectorAt(m_miniStreamSectors[offset >> m_sectorShift]) + (offset & ((uint64_t{1} << m_sectorShift) - 1));
    }

    CompoundFileCheck WalkMiniChain(uint32_t start, uint64_t size, uint64_t& length) {
        const uint32_t chain = NewChain();
        constexpr uint64_t kMiniSectorSize = uint64_t{1} << kMiniSectorShift;
        length = 0;
        uint32_t from = start;
        for (uint32_t sector = start; sector != kEndOfChain; sector = MiniFatEntry(sector)) {
            if (sector > kMaxRegularSector)
                return Fail(Fault::kBadMiniChainLink, from);
            if (sector >= m_miniSectorCount || sector >= m_miniFatEntries)
                return Fail(Fault::kMiniSectorOutOfRange, sector);
            if (CompoundFileCheck claimed =
                    Claim(m_miniOwners, sector, chain, Fault::kMiniChainCycle, Fault::kSharedMiniSector);
                !claimed.Ok())
                return claimed;
            const uint64_t before = length * kMiniSectorSize;
            const uint64_t needed = size > before && size - before < kMiniSectorSize ? size - before : kMiniSectorSize;
            if (PresentFrom(MiniSectorAt(sector), kMiniSectorSize) < needed)
                return Fail(Fault::kDataPastTheEnd, sector);
            ++length;
            from = sector;
        }
        return {};
    }

    // Some writers leave an empty stream's start at 0 rather than ENDOFCHAIN, so that it points into another
    // stream's chain. Readers never follow it, but growing or deleting the stream does, so the links from there
    // must come to an end, which is settled for all such starts together in one pass over the mini FAT.
    CompoundFileCheck LeftoverMiniChainEnds(uint32_t start) {
        constexpr uint8_t kUnknown = 0, kOnPath = 1, kEnds = 2;
        if (m_miniLinkState.empty())
            m_miniLinkState.assign(m_miniFatEntries, kUnknown);
        m_path.clear();
        uint32_t sector = start;
        while (sector < m_miniFatEntries && m_miniLinkState[sector] == kUnknown) {
            m_miniLinkState[sector] = kOnPath;
            m_path.push_back(sector);
            sector = MiniFatEntry(sector);
        }
        const bool loops = sector < m_miniFatEntries && m_miniLinkState[sector] == kOnPath;
        for (uint32_t each : m_path)
            m_miniLinkState[each] = kEnds;
        return loops ? Fail(Fault::kMiniChainCycle, sector) : CompoundFileCheck{};
    }

    CompoundFileCheck LoadDirectoryAndMiniFat() {
        uint64_t length = 0;
        CompoundFileCheck result = WalkChain(U32(kFirstDirectorySectorAt), length, &m_directorySectors, kWholeSectors);
        if (!result.Ok())
            return result;
        if (m_directorySectors.empty())
            return Fail(Fault::kBadRootEntry, 0);
        const uint64_t entries = uint64_t{m_entriesPerDirectorySector} * m_directorySectors.size();
        m_entryCount = entries > kMaxRegularEntry ? kMaxRegularEntry + 1 : static_cast<uint32_t>(entries);

        result = WalkChain(U32(kFirstMiniFatSectorAt), length, &m_miniFatSectors, kWholeSectors);
        m_miniFatEntries = uint64_t{m_entriesPerSector} * m_miniFatSectors.size();
        return result;
    }

    static bool NameTerminated(const uint8_t* name, uint16_t length) {
        if (length == 0 || length % 2 != 0 || length > kNameBytes)
            return false;
        for (std::size_t at = 0; at + 2 < length; at += 2)
            if (name[at] == 0 && name[at + 1] == 0)
                return false;
        return name[length - 2] == 0 && name[length - 1] == 0;
    }

    // The root entry's chain is the mini stream, which holds every stream shorter than the cutoff.
    CompoundFileCheck CheckRoot() {
        const std::size_t at = EntryAt(0);
        if (m_bytes[at + kTypeAt] != kRootType || U32(at + kLeftAt) != kNoStream || U32(at + kRightAt) != kNoStream)
            return Fail(Fault::kBadRootEntry, 0);
        if (!NameTerminated(m_bytes.data() + at, U16(at + kNameLengthAt)))
            return Fail(Fault::kBadName, 0);
        const uint64_t size = StreamSize(at);
        uint64_t length = 0;
        if (CompoundFileCheck walked =
                WalkChain(U32(at + kStartSectorAt), length, &m_miniStreamSectors, kMiniStreamContainer);
            !walked.Ok())
            return walked;
        if (length != SectorsFor(size, m_sectorShift))
            return Fail(Fault::kStreamSizeMismatch, 0);
        // The chain's length bounds size, and so the file's size bounds the mini sectors' count.
        const uint64_t miniSectors = size >> kMiniSectorShift;
        m_miniSectorCount =
            miniSectors > kMaxRegularSector ? kMaxRegularSector + 1 : static_cast<uint32_t>(miniSectors);
        m_miniOwners.assign(m_miniSectorCount, 0);
        return {};
    }

    CompoundFileCheck CheckStream(uint32_t entry, std::size_t at) {
        const uint64_t size = StreamSize(at);
        const uint32_t start = U32(at + kStartSectorAt);
        uint64_t length = 0;
        if (size == 0 && start != kEndOfChain)
            return LeftoverMiniChainEnds(start);
        if (size < kMiniStreamCutoff) {
            if (CompoundFileCheck walked = WalkMiniChain(start, size, length); !walked.Ok())
                return walked;
            if (length != SectorsFor(size, kMiniSectorShift))
                return Fail(Fault::kStreamSizeMismatch, entry);
            return {};
        }
        // Sizes are read in full only in version 4, where a damaged one can exceed what the file holds.
        if (SectorsFor(size, m_sectorShift) > m_sectorCount)
            return Fail(Fault::kStreamSizeMismatch, entry);
        if (CompoundFileCheck walked = WalkChain(start, length, nullptr, size); !walked.Ok())
            return walked;
        if (length != SectorsFor(size, m_sectorShift))
            return Fail(Fault::kStreamSizeMismatch, entry);
        return {};
    }

    // Each storage's elements form a binary tree through the left and right siblings; the child of a storage
    // is the top of its elements' tree. Walked with an explicit stack, so that no depth of nesting can
    // exhaust ours: every entry is visited once and pushes at most three more.
    CompoundFileCheck WalkTree() {
        std::vector<uint8_t> visited(m_entryCount, 0);
        visited[0] = 1;
        std::vector<uint32_t> pending{U32(EntryAt(0) + kChildAt)};
        while (!pending.empty()) {
            const uint32_t entry = pending.back();
            pending.pop_back();
            if (entry == kNoStream)
                continue;
            if (entry >= m_entryCount)
                return Fail(Fault::kEntryOutOfRange, entry);
            if (visited[entry])
                return Fail(Fault::kDirectoryCycle, entry);
            visited[entry] = 1;

            const std::size_t at = EntryAt(entry);
            const uint8_t type = m_bytes[at + kTypeAt];
            const uint32_t child = U32(at + kChildAt);
            if (type != kStorageType && type != kStreamType)
                return Fail(Fault::kBadEntryType, entry);
            if (type == kStreamType && child != kNoStream)
                return Fail(Fault::kBadEntryType, entry);
            if (!NameTerminated(m_bytes.data() + at, U16(at + kNameLengthAt)))
                return Fail(Fault::kBadName, entry);
            if (type == kStreamType)
                if (CompoundFileCheck stream = CheckStream(entry, at); !stream.Ok())
                    return stream;
            pending.push_back(U32(at + kLeftAt));
            pending.push_back(U32(at + kRightAt));
            pending.push_back(child);
        }
        return {};
    }

    std::span<const uint8_t> m_bytes;
    uint16_t m_majorVersion = 0;
    uint32_t m_sectorShift = 0;
    uint32_t m_sectorCount = 0; // the partial last sector included
    uint32_t m_wholeSectorCount = 0;
    uint32_t m_entriesPerSector = 0;
    uint32_t m_entriesPerDirectorySector = 0;
    uint32_t m_chains = 0;
    // Which chain holds each sector of the file, and each mini sector of the mini stream (0: none).
    std::vector<uint32_t> m_owners;
    std::vector<uint32_t> m_miniOwners;
    std::vector<uint32_t> m_fatSectors;
    uint64_t m_fatEntries = 0;
    std::vector<uint32_t> m_directorySectors;
    std::vector<uint32_t> m_miniStreamSectors;
    uint32_t m_entryCount = 0;
    std::vector<uint32_t> m_miniFatSectors;
    uint64_t m_miniFatEntries = 0;
    uint32_t m_miniSectorCount = 0;
    std::vector<uint8_t> m_miniLinkState;
    std::vector<uint32_t> m_path;
};

} // namespace

CompoundFileCheck CheckCompoundFile(std::span<const uint8_t> bytes) {
    return Checker(bytes).Run();
}

const char* DescribeCompoundFileFault(CompoundFileFault fault) {
    switch (fault) {
    case Fault::kNone:
        return "no fault";
    case Fault::kTooShort:
        return "the file is shorter than its header";
    case Fault::kBadSignature:
        return "not a compound file";
    case Fault::kBadByteOrder:
        return "the byte order mark is not little-endian";
    case Fault::kBadVersion:
        return "unknown major version";
    case Fault::kBadSectorSize:
        return "the sector size does not match the version";
    case Fault::kBadMiniSectorSize:
        return "the mini sector size is not 64";
    case Fault::kBadMiniStreamCutoff:
        return "the mini stream cutoff is not 4096";
    case Fault::kBadFatCount:
        return "the FAT sector count does not match its list";
    case Fault::kSectorOutOfRange:
        return "a sector index lies outside the file";
    case Fault::kBadChainLink:
        return "a sector chain runs into a free or reserved entry";
    case Fault::kChainCycle:
        return "a sector chain loops";
    case Fault::kSharedSector:
        return "a sector belongs to two chains";
    case Fault::kMiniSectorOutOfRange:
        return "a mini sector index lies outside the mini stream";
    case Fault::kBadMiniChainLink:
        return "a mini sector chain runs into a free or reserved entry";
    case Fault::kMiniChainCycle:
        return "a mini sector chain loops";
    case Fault::kSharedMiniSector:
        return "a mini sector belongs to two streams";
    case Fault::kBadRootEntry:
        return "the root entry is missing or malformed";
    case Fault::kEntryOutOfRange:
        return "a directory link lies outside the directory";
    case Fault::kDirectoryCycle:
        return "a directory entry is reached twice";
    case Fault::kBadEntryType:
        return "a directory entry has a bad type";
    case Fault::kBadName:
        return "an element name is not terminated within its field";
    case Fault::kStreamSizeMismatch:
        return "a stream's size does not match its chain";
    case Fault::kDataPastTheEnd:
        return "a stream's data reaches past the end of the file";
    }
    return "unknown fault";
}

} // namespace tolvan
