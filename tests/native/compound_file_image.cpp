#include "tests/native/compound_file_image.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tolvan::test {

namespace {

constexpr uint32_t kMiniSectorSize = 64;
constexpr uint64_t kMiniStreamCutoff = 4096;
constexpr uint32_t kHeaderDifatEntries = 109;
constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

uint64_t CeilDiv(uint64_t value, uint64_t by) {
    return (value + by - 1) / by;
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The order of names within a storage: shorter first, then by upper-case characters.
bool NameLess(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return a.size() < b.size();
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i]))
            return Upper(a[i]) < Upper(b[i]);
    return false;
}

void Fill32(Bytes& bytes, std::size_t at, std::size_t count, uint32_t value) {
    for (std::size_t i = 0; i < count; ++i)
        Put32(bytes, at + 4 * i, value);
}

} // namespace

void Put16(Bytes& bytes, std::size_t at, uint16_t value) {
    std::memcpy(&bytes.at(at + 1) - 1, &value, sizeof value);
}
void Put32(Bytes& bytes, std::size_t at, uint32_t value) {
    std::memcpy(&bytes.at(at + 3) - 3, &value, sizeof value);
}
void Put64(Bytes& bytes, std::size_t at, uint64_t value) {
    std::memcpy(&bytes.at(at + 7) - 7, &value, sizeof value);
}
uint16_t Get16(const Bytes& bytes, std::size_t at) {
    uint16_t value;
    std::memcpy(&value, &bytes.at(at + 1) - 1, sizeof value);
    return value;
}
uint32_t Get32(const Bytes& bytes, std::size_t at) {
    uint32_t value;
    std::memcpy(&value, &bytes.at(at + 3) - 3, sizeof value);
    return value;
}
uint64_t Get64(const Bytes& bytes, std::size_t at) {
    uint64_t value;
    std::memcpy(&value, &bytes.at(at + 7) - 7, sizeof value);
    return value;
}

uint32_t CompoundImageWriter::Find(uint32_t parent, std::string_view name) const {
    for (uint32_t i = 0; i < m_nodes.size(); ++i)
        if (m_nodes[i].parent == parent && m_nodes[i].name == name)
            return i;
    return kNoEntry;
}

uint32_t CompoundImageWriter::Add(uint32_t parent, std::string_view name, uint8_t type, Bytes content) {
    if (name.size() > 31)
        throw std::invalid_argument("element name too long");
    m_nodes.push_back({std::string(name), type, parent, std::move(content)});
    return static_cast<uint32_t>(m_nodes.size() - 1);
}

uint32_t CompoundImageWriter::StorageOnPath(const std::vector<std::string_view>& path, std::size_t count) {
    uint32_t parent = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const uint32_t found = Find(parent, path[i]);
        parent = found != kNoEntry ? found : AddStorage(parent, path[i]);
    }
    return parent;
}

CompoundImageWriter& CompoundImageWriter::Storage(const std::vector<std::string_view>& path) {
    StorageOnPath(path, path.size());
    return *this;
}

CompoundImageWriter& CompoundImageWriter::Stream(const std::vector<std::string_view>& path, Bytes content) {
    AddStream(StorageOnPath(path, path.size() - 1), path.back(), std::move(content));
    return *this;
}

Bytes CompoundImageWriter::Write() const {
    const uint32_t shift = m_majorVersion == 3 ? 9 : 12;
    const uint32_t sectorSize = 1u << shift;
    const uint32_t perSector = sectorSize / 4;
    const auto nodeCount = static_cast<uint32_t>(m_nodes.size());

    // Where each stream's data goes: mini sectors for the short ones, regular sectors for the others.
    std::vector<uint32_t> start(nodeCount, kEndOfChain);
    std::vector<uint32_t> length(nodeCount, 0);
    std::vector<bool> inMini(nodeCount, false);
    uint32_t miniSectors = 0;
    uint32_t regularSectors = 0;
    for (uint32_t i = 1; i < nodeCount; ++i) {
        const uint64_t size = m_nodes[i].content.size();
        if (m_nodes[i].type != entry::kStream || size == 0)
            continue;
        inMini[i] = size < kMiniStreamCutoff;
        length[i] = static_cast<uint32_t>(CeilDiv(size, inMini[i] ? kMiniSectorSize : sectorSize));
        start[i] = inMini[i] ? miniSectors : regularSectors;
        (inMini[i] ? miniSectors : regularSectors) += length[i];
    }
    const auto directorySectors = static_cast<uint32_t>(CeilDiv(nodeCount, sectorSize / entry::kSize));
    const auto miniFatSectors = static_cast<uint32_t>(CeilDiv(miniSectors, perSector));
    const auto miniStreamSectors = static_cast<uint32_t>(CeilDiv(uint64_t{miniSectors} * kMiniSectorSize, sectorSize));

    // The FAT covers every sector, its own and the DIFAT's included.
    uint32_t fatSectors = 1;
    uint32_t difatSectors = 0;
    uint32_t total = 0;
    for (;;) {
        difatSectors = fatSectors > kHeaderDifatEntries
                           ? static_cast<uint32_t>(CeilDiv(fatSectors - kHeaderDifatEntries, perSector - 1))
                           : 0;
        total = fatSectors + difatSectors + directorySectors + miniFatSectors + miniStreamSectors + regularSectors;
        const auto needed = static_cast<uint32_t>(CeilDiv(total, perSector)) + m_extraFatSectors;
        if (needed <= fatSectors)
            break;
        fatSectors = needed;
    }
    const uint32_t firstDifat = fatSectors;
    const uint32_t firstDirectory = firstDifat + difatSectors;
    const uint32_t firstMiniFat = firstDirectory + directorySectors;
    const uint32_t firstMiniStream = firstMiniFat + miniFatSectors;
    const uint32_t firstRegular = firstMiniStream + miniStreamSectors;

    std::vector<uint32_t> fat(std::size_t{fatSectors} * perSector, kFreeSector);
    std::vector<uint32_t> miniFat(std::size_t{miniFatSectors} * perSector, kFreeSector);
    auto chain = [](std::vector<uint32_t>& table, uint32_t first, uint32_t count) {
        for (uint32_t i = 0; i < count; ++i)
            table[first + i] = i + 1 < count ? first + i + 1 : kEndOfChain;
    };
    std::fill_n(fat.begin(), fatSectors, kFatSector);
    std::fill_n(fat.begin() + firstDifat, difatSectors, kDifatSector);
    chain(fat, firstDirectory, directorySectors);
    chain(fat, firstMiniFat, miniFatSectors);
    chain(fat, firstMiniStream, miniStreamSectors);
    for (uint32_t i = 1; i < nodeCount; ++i) {
        if (length[i] == 0)
            continue;
        if (!inMini[i])
            start[i] += firstRegular;
        chain(inMini[i] ? miniFat : fat, start[i], length[i]);
    }

    Bytes file((std::size_t{total} + 1) * sectorSize, 0);
    auto sectorAt = [&](uint32_t sector) { return (std::size_t{sector} + 1) * sectorSize; };

    std::memcpy(file.data(), kSignature, sizeof kSignature);
    Put16(file, 0x18, 0x3E);
    Put16(file, header::kMajorVersion, m_majorVersion);
    Put16(file, header::kByteOrder, 0xFFFE);
    Put16(file, header::kSectorShift, static_cast<uint16_t>(shift));
    Put16(file, header::kMiniSectorShift, 6);
    Put32(file, 0x28, m_majorVersion == 3 ? 0 : directorySectors);
    Put32(file, header::kFatCount, fatSectors);
    Put32(file, header::kFirstDirectorySector, firstDirectory);
    Put32(file, header::kMiniStreamCutoff, static_cast<uint32_t>(kMiniStreamCutoff));
    Put32(file, header::kFirstMiniFatSector, miniFatSectors ? firstMiniFat : kEndOfChain);
    Put32(file, 0x40, miniFatSectors);
    Put32(file, header::kFirstDifatSector, difatSectors ? firstDifat : kEndOfChain);
    Put32(file, header::kDifatCount, difatSectors);
    Fill32(file, header::kDifat, kHeaderDifatEntries, kFreeSector);

    // The DIFAT: the header's 109 entries, then DIFAT sectors of perSector - 1 entries and a link.
    for (uint32_t fatSector = 0; fatSector < fatSectors; ++fatSector) {
        if (fatSector < kHeaderDifatEntries) {
            Put32(file, header::kDifat + 4 * fatSector, fatSector);
            continue;
        }
        const uint32_t index = fatSector - kHeaderDifatEntries;
        const uint32_t difat = firstDifat + index / (perSector - 1);
        if (index % (perSector - 1) == 0) {
            Fill32(file, sectorAt(difat), perSector, kFreeSector);
            Put32(file, sectorAt(difat) + 4 * (perSector - 1),
                  difat + 1 < firstDifat + difatSectors ? difat + 1 : kEndOfChain);
        }
        Put32(file, sectorAt(difat) + 4 * (index % (perSector - 1)), fatSector);
    }
    for (std::size_t i = 0; i < fat.size(); ++i)
        Put32(file, sectorAt(static_cast<uint32_t>(i / perSector)) + 4 * (i % perSector), fat[i]);
    for (std::size_t i = 0; i < miniFat.size(); ++i)
        Put32(file, sectorAt(firstMiniFat + static_cast<uint32_t>(i / perSector)) + 4 * (i % perSector), miniFat[i]);

    // Each storage's elements as a balanced tree, in the format's name order.
    std::vector<uint32_t> left(nodeCount, kNoEntry), right(nodeCount, kNoEntry), child(nodeCount, kNoEntry);
    std::vector<std::vector<uint32_t>> elements(nodeCount);
    for (uint32_t i = 1; i < nodeCount; ++i)
        elements[m_nodes[i].parent].push_back(i);
    for (uint32_t parent = 0; parent < nodeCount; ++parent) {
        std::vector<uint32_t>& members = elements[parent];
        std::sort(members.begin(), members.end(),
                  [&](uint32_t a, uint32_t b) { return NameLess(m_nodes[a].name, m_nodes[b].name); });
        auto build = [&](auto& self, std::size_t from, std::size_t to) -> uint32_t {
            if (from >= to)
                return kNoEntry;
            const std::size_t middle = from + (to - from) / 2;
            left[members[middle]] = self(self, from, middle);
            right[members[middle]] = self(self, middle + 1, to);
            return members[middle];
        };
        child[parent] = build(build, 0, members.size());
    }

    const uint32_t perDirectorySector = sectorSize / static_cast<uint32_t>(entry::kSize);
    for (uint32_t i = 0; i < directorySectors * perDirectorySector; ++i) {
        const std::size_t at =
            sectorAt(firstDirectory + i / perDirectorySector) + (i % perDirectorySector) * entry::kSize;
        Put32(file, at + entry::kLeft, kNoEntry);
        Put32(file, at + entry::kRight, kNoEntry);
        Put32(file, at + entry::kChild, kNoEntry);
        if (i >= nodeCount)
            continue;
        const Node& node = m_nodes[i];
        for (std::size_t c = 0; c < node.name.size(); ++c)
            file[at + 2 * c] = static_cast<uint8_t>(node.name[c]);
        Put16(file, at + entry::kNameLength, static_cast<uint16_t>(2 * (node.name.size() + 1)));
        file[at + entry::kType] = node.type;
        file[at + 0x43] = 1; // black
        Put32(file, at + entry::kLeft, left[i]);
        Put32(file, at + entry::kRight, right[i]);
        Put32(file, at + entry::kChild, child[i]);
        if (i == 0) {
            Put32(file, at + entry::kStartSector, miniStreamSectors ? firstMiniStream : kEndOfChain);
            Put64(file, at + entry::kStreamSize, uint64_t{miniSectors} * kMiniSectorSize);
        } else if (node.type == entry::kStream) {
            Put32(file, at + entry::kStartSector, start[i]);
            Put64(file, at + entry::kStreamSize, node.content.size());
            for (std::size_t b = 0; b < node.content.size(); ++b) {
                const std::size_t offset = inMini[i] ? (start[i] * std::size_t{kMiniSectorSize} + b) : b;
                const std::size_t base = inMini[i]
                                             ? sectorAt(firstMiniStream + static_cast<uint32_t>(offset / sectorSize))
                                             : sectorAt(start[i] + static_cast<uint32_t>(offset / sectorSize));
                file[base + offset % sectorSize] = node.content[b];
            }
        }
    }
    return file;
}

CompoundImageWriter SettingsShaped(uint16_t majorVersion) {
    auto pattern = [](std::size_t size, uint8_t seed) {
        Bytes bytes(size);
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<uint8_t>(seed + i * 7);
        return bytes;
    };
    CompoundImageWriter writer(majorVersion);
    writer.Stream({"Model", "SpecInfo"}, pattern(14, 1))
        .Stream({"Model", "Setting", "TolClass100"}, pattern(1134, 2))
        .Stream({"Model", "Setting", "TolClass200"}, pattern(1134 + 40, 3))
        .Stream({"Model", "Setting", "TolClass400"}, pattern(1134, 4))
        .Storage({"Model", "ProBtn"})
        .Stream({"Model", "Preview"}, pattern(9000, 5))
        .Stream({"Model", "Layout"}, pattern(8900, 6))
        .Stream({"Model", "Notes"}, {});
    return writer;
}

CompoundImageView::CompoundImageView(const Bytes& file)
    : m_file(file), m_sectorSize(std::size_t{1} << Get16(file, header::kSectorShift)) {}

std::size_t CompoundImageView::FatEntryAt(uint32_t sector) const {
    const std::size_t perSector = m_sectorSize / 4;
    std::size_t index = sector / perSector;
    uint32_t fatSector = 0;
    if (index < kHeaderDifatEntries) {
        fatSector = Get32(m_file, header::kDifat + 4 * index);
    } else {
        index -= kHeaderDifatEntries;
        uint32_t difat = Get32(m_file, header::kFirstDifatSector);
        for (; index >= perSector - 1; index -= perSector - 1)
            difat = Get32(m_file, SectorAt(difat) + 4 * (perSector - 1));
        fatSector = Get32(m_file, SectorAt(difat) + 4 * index);
    }
    return SectorAt(fatSector) + 4 * (sector % perSector);
}

std::size_t CompoundImageView::MiniFatEntryAt(uint32_t miniSector) const {
    const std::size_t perSector = m_sectorSize / 4;
    return SectorAt(MiniFatChain().at(miniSector / perSector)) + 4 * (miniSector % perSector);
}

std::vector<uint32_t> CompoundImageView::Chain(uint32_t start) const {
    std::vector<uint32_t> chain;
    for (uint32_t sector = start; sector != kEndOfChain; sector = Get32(m_file, FatEntryAt(sector))) {
        if (chain.size() > SectorCount())
            throw std::runtime_error("chain loops in a file meant to be valid");
        chain.push_back(sector);
    }
    return chain;
}

std::vector<uint32_t> CompoundImageView::MiniChain(uint32_t start) const {
    std::vector<uint32_t> chain;
    for (uint32_t sector = start; sector != kEndOfChain; sector = Get32(m_file, MiniFatEntryAt(sector))) {
        if (chain.size() > m_file.size() / 64)
            throw std::runtime_error("mini chain loops in a file meant to be valid");
        chain.push_back(sector);
    }
    return chain;
}

uint32_t CompoundImageView::EntryCount() const {
    return static_cast<uint32_t>(DirectoryChain().size() * (m_sectorSize / entry::kSize));
}

std::size_t CompoundImageView::EntryAt(uint32_t id) const {
    const std::size_t perSector = m_sectorSize / entry::kSize;
    return SectorAt(DirectoryChain().at(id / perSector)) + (id % perSector) * entry::kSize;
}

uint64_t CompoundImageView::Size(uint32_t id) const {
    const uint64_t size = Get64(m_file, EntryAt(id) + entry::kStreamSize);
    return MajorVersion() == 3 ? size & 0xFFFFFFFF : size;
}

std::string CompoundImageView::Name(uint32_t id) const {
    const std::size_t at = EntryAt(id);
    std::string name;
    for (std::size_t c = 0; c + 2 < std::min<std::size_t>(Get16(m_file, at + entry::kNameLength), 64); c += 2)
        name.push_back(static_cast<char>(m_file[at + c]));
    return name;
}

uint32_t CompoundImageView::Find(std::string_view name) const {
    for (uint32_t id = 0; id < EntryCount(); ++id)
        if (Type(id) != 0 && Name(id) == name)
            return id;
    return kNoEntry;
}

uint32_t CompoundImageView::StorageWithChild() const {
    for (uint32_t id = 1; id < EntryCount(); ++id)
        if (Type(id) == entry::kStorage && Link(id, entry::kChild) != kNoEntry)
            return id;
    return kNoEntry;
}

uint32_t CompoundImageView::MiniStream(std::size_t skip) const {
    for (uint32_t id = 1; id < EntryCount(); ++id)
        if (Type(id) == entry::kStream && Size(id) > kMiniSectorSize && Size(id) < kMiniStreamCutoff && skip-- == 0)
            return id;
    return kNoEntry;
}

uint32_t CompoundImageView::RegularStream(std::size_t skip) const {
    for (uint32_t id = 1; id < EntryCount(); ++id)
        if (Type(id) == entry::kStream && Size(id) >= kMiniStreamCutoff && Size(id) > m_sectorSize && skip-- == 0)
            return id;
    return kNoEntry;
}

std::size_t CompoundImageView::DataEnd() const {
    std::size_t end = 0;
    auto whole = [&](uint32_t sector) { end = std::max(end, SectorAt(sector) + m_sectorSize); };
    for (uint32_t sector = 0; sector < SectorCount(); ++sector) {
        const uint32_t link = Get32(m_file, FatEntryAt(sector));
        if (link == kFatSector || link == kDifatSector)
            whole(sector);
    }
    for (uint32_t sector : DirectoryChain())
        whole(sector);
    for (uint32_t sector : MiniFatChain())
        whole(sector);
    const std::vector<uint32_t> miniStream = Chain(Link(0, entry::kStartSector));
    for (uint32_t id = 1; id < EntryCount(); ++id) {
        const uint64_t size = Size(id);
        if (Type(id) != entry::kStream || size == 0)
            continue;
        const bool mini = size < kMiniStreamCutoff;
        const std::size_t unit = mini ? kMiniSectorSize : m_sectorSize;
        const std::vector<uint32_t> chain =
            mini ? MiniChain(Link(id, entry::kStartSector)) : Chain(Link(id, entry::kStartSector));
        for (std::size_t i = 0; i < chain.size(); ++i) {
            const std::size_t bytes = std::min<uint64_t>(unit, size - i * unit);
            const std::size_t offset = std::size_t{chain[i]} * unit;
            const std::size_t at =
                mini ? SectorAt(miniStream.at(offset / m_sectorSize)) + offset % m_sectorSize : SectorAt(chain[i]);
            end = std::max(end, at + bytes);
        }
    }
    return end;
}

} // namespace tolvan::test
