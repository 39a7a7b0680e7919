// Compound files for the structure check's tests, without ole32: a writer that lays out the smallest valid
// file for a tree of storages and streams, and a view that finds, in a valid file, the bytes a test damages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tolvan::test {

using Bytes = std::vector<uint8_t>;

inline constexpr uint32_t kNoEntry = 0xFFFFFFFF;
inline constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
inline constexpr uint32_t kFreeSector = 0xFFFFFFFF;
inline constexpr uint32_t kFatSector = 0xFFFFFFFD;
inline constexpr uint32_t kDifatSector = 0xFFFFFFFC;

namespace header {
inline constexpr std::size_t kMajorVersion = 0x1A;
inline constexpr std::size_t kByteOrder = 0x1C;
inline constexpr std::size_t kSectorShift = 0x1E;
inline constexpr std::size_t kMiniSectorShift = 0x20;
inline constexpr std::size_t kFatCount = 0x2C;
inline constexpr std::size_t kFirstDirectorySector = 0x30;
inline constexpr std::size_t kMiniStreamCutoff = 0x38;
inline constexpr std::size_t kFirstMiniFatSector = 0x3C;
inline constexpr std::size_t kFirstDifatSector = 0x44;
inline constexpr std::size_t kDifatCount = 0x48;
inline constexpr std::size_t kDifat = 0x4C;
} // namespace header

namespace entry {
inline constexpr std::size_t kSize = 128;
inline constexpr std::size_t kNameLength = 0x40;
inline constexpr std::size_t kType = 0x42;
inline constexpr std::size_t kLeft = 0x44;
inline constexpr std::size_t kRight = 0x48;
inline constexpr std::size_t kChild = 0x4C;
inline constexpr std::size_t kStartSector = 0x74;
inline constexpr std::size_t kStreamSize = 0x78;
inline constexpr uint8_t kStorage = 1;
inline constexpr uint8_t kStream = 2;
inline constexpr uint8_t kRoot = 5;
} // namespace entry

void Put16(Bytes& bytes, std::size_t at, uint16_t value);
void Put32(Bytes& bytes, std::size_t at, uint32_t value);
void Put64(Bytes& bytes, std::size_t at, uint64_t value);
uint16_t Get16(const Bytes& bytes, std::size_t at);
uint32_t Get32(const Bytes& bytes, std::size_t at);
uint64_t Get64(const Bytes& bytes, std::size_t at);

// Elements are added by their path from the root, e.g. {"Model", "Setting", "TolClass100"}, with storages on
// the way created, or by their parent's index (the root is 0). Each storage's elements become a balanced tree
// in the order the format sorts names.
class CompoundImageWriter {
public:
    explicit CompoundImageWriter(uint16_t majorVersion = 3) : m_majorVersion(majorVersion) {}
    CompoundImageWriter& Storage(const std::vector<std::string_view>& path);
    CompoundImageWriter& Stream(const std::vector<std::string_view>& path, Bytes content);
    uint32_t AddStorage(uint32_t parent, std::string_view name) { return Add(parent, name, entry::kStorage, {}); }
    uint32_t AddStream(uint32_t parent, std::string_view name, Bytes content) {
        return Add(parent, name, entry::kStream, std::move(content));
    }
    // More FAT sectors than the file needs (their entries free), so that a small file has a DIFAT chain.
    CompoundImageWriter& ExtraFatSectors(uint32_t count) {
        m_extraFatSectors = count;
        return *this;
    }
    Bytes Write() const;

private:
    struct Node {
        std::string name;
        uint8_t type;
        uint32_t parent;
        Bytes content;
    };
    uint32_t Find(uint32_t parent, std::string_view name) const;
    uint32_t Add(uint32_t parent, std::string_view name, uint8_t type, Bytes content);
    uint32_t StorageOnPath(const std::vector<std::string_view>& path, std::size_t count);

    uint16_t m_majorVersion;
    uint32_t m_extraFatSectors = 0;
    std::vector<Node> m_nodes{{"Root Entry", entry::kRoot, kNoEntry, {}}};
};

// The settings file's shape: a model storage with SpecInfo, Setting with job records in the mini stream,
// an empty ProBtn, and beside them two streams in regular sectors and an empty one.
CompoundImageWriter SettingsShaped(uint16_t majorVersion);

// Reads a file that passed the check, so that a test can find what to damage. Entries are found by scanning
// the directory, reached or not.
class CompoundImageView {
public:
    explicit CompoundImageView(const Bytes& file);

    uint16_t MajorVersion() const { return Get16(m_file, header::kMajorVersion); }
    std::size_t SectorSize() const { return m_sectorSize; }
    uint32_t SectorCount() const { return static_cast<uint32_t>(m_file.size() / m_sectorSize - 1); }
    std::size_t SectorAt(uint32_t sector) const { return (sector + 1) * m_sectorSize; }
    std::size_t FatEntryAt(uint32_t sector) const;
    std::size_t MiniFatEntryAt(uint32_t miniSector) const;
    std::vector<uint32_t> Chain(uint32_t start) const;
    std::vector<uint32_t> MiniChain(uint32_t start) const;
    std::vector<uint32_t> DirectoryChain() const { return Chain(Get32(m_file, header::kFirstDirectorySector)); }
    std::vector<uint32_t> MiniFatChain() const { return Chain(Get32(m_file, header::kFirstMiniFatSector)); }

    uint32_t EntryCount() const;
    std::size_t EntryAt(uint32_t id) const;
    uint8_t Type(uint32_t id) const { return m_file[EntryAt(id) + entry::kType]; }
    uint32_t Link(uint32_t id, std::size_t field) const { return Get32(m_file, EntryAt(id) + field); }
    uint64_t Size(uint32_t id) const;
    std::string Name(uint32_t id) const;
    uint32_t Find(std::string_view name) const;

    // Entries by role, so that one damage applies to files of any writer; kNoEntry when there is none.
    uint32_t StorageWithChild() const;
    uint32_t MiniStream(std::size_t skip = 0) const;    // a stream in the mini stream, of 2 mini sectors or more
    uint32_t RegularStream(std::size_t skip = 0) const; // a stream in regular sectors, of 2 sectors or more

    // The offset just past the last byte a reader takes from the file: sectors of the FAT, the DIFAT, the
    // directory and the mini FAT whole, every stream's bytes; what lies behind it is the last sector's padding.
    std::size_t DataEnd() const;

private:
    const Bytes& m_file;
    std::size_t m_sectorSize;
};

} // namespace tolvan::test
