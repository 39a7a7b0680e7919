// The structure check before ole32 opens a settings file: every file a writer lays out correctly passes, and
// each kind of damage that makes ole32 hang or misread fails with its own reason. Damage is made at offsets
// found by reading the valid file, so the same damage applies to files laid out here and to the driver's
// template as ole32 wrote it.
#include "settings/compound_file_check.h"

#include "tests/native/compound_file_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <ostream>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>

namespace tolvan {

void PrintTo(CompoundFileFault fault, std::ostream* out) {
    *out << DescribeCompoundFileFault(fault);
}

namespace {

using test::Bytes;
using test::CompoundImageView;
using test::CompoundImageWriter;
using test::kEndOfChain;
using test::kFreeSector;
using test::kNoEntry;
using test::Put16;
using test::Put32;
using test::Put64;
namespace header = test::header;
namespace entry = test::entry;
using Fault = CompoundFileFault;
using View = CompoundImageView;

// Seeds of the fuzz target: the driver's template as the build writes it with ole32, and a file from an
// independent writer, which leaves an empty stream's start at 0.
Bytes SeedFile(const char* name) {
    std::ifstream in(std::string(TOLVAN_COMPOUND_FILE_SEEDS) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes Pattern(std::size_t size, uint8_t seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(seed ^ (i * 31));
    return bytes;
}

Bytes Random(std::size_t size, uint32_t seed) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (uint8_t& byte : bytes)
        byte = static_cast<uint8_t>(random());
    return bytes;
}

std::string Describe(const CompoundFileCheck& check) {
    return std::string(DescribeCompoundFileFault(check.fault)) + " at " + std::to_string(check.where);
}

void SetFat(Bytes& file, const View& view, uint32_t sector, uint32_t value) {
    Put32(file, view.FatEntryAt(sector), value);
}
void SetMiniFat(Bytes& file, const View& view, uint32_t miniSector, uint32_t value) {
    Put32(file, view.MiniFatEntryAt(miniSector), value);
}
void SetLink(Bytes& file, const View& view, uint32_t id, std::size_t field, uint32_t value) {
    Put32(file, view.EntryAt(id) + field, value);
}
uint32_t Start(const View& view, uint32_t id) {
    return view.Link(id, entry::kStartSector);
}
std::vector<uint32_t> StreamChain(const View& view, uint32_t id) {
    return view.Chain(Start(view, id));
}
std::vector<uint32_t> StreamMiniChain(const View& view, uint32_t id) {
    return view.MiniChain(Start(view, id));
}
uint32_t FirstStorageWithoutChild(const View& view) {
    for (uint32_t id = 1; id < view.EntryCount(); ++id)
        if (view.Type(id) == entry::kStorage && view.Link(id, entry::kChild) == kNoEntry)
            return id;
    return kNoEntry;
}

// A writer may leave out the last sector's padding; ole32 reads the missing bytes as zeros.
Bytes WithoutTheLastSectorsPadding(Bytes file) {
    const std::size_t end = CompoundImageView(file).DataEnd();
    if (end % CompoundImageView(file).SectorSize() == 0)
        throw std::runtime_error("the last sector has no padding to leave out");
    file.resize(end);
    return file;
}

// ---- valid files ------------------------------------------------------------------------------------------

Bytes DeeplyNested(std::size_t depth) {
    CompoundImageWriter writer(3);
    uint32_t parent = 0;
    for (std::size_t i = 0; i < depth; ++i)
        parent = writer.AddStorage(parent, "S" + std::to_string(i));
    writer.AddStream(parent, "Leaf", Pattern(100, 9));
    return writer.Write();
}

struct ValidFile {
    const char* name;
    std::function<Bytes()> make;
};

const ValidFile kValidFiles[] = {
    {"DriverTemplate", [] { return SeedFile("driver_template.dat"); }},
    {"IndependentWriter", [] { return SeedFile("independent_writer.dat"); }},
    {"SettingsShapedVersion3", [] { return test::SettingsShaped(3).Write(); }},
    {"SettingsShapedVersion4", [] { return test::SettingsShaped(4).Write(); }},
    {"FatListedThroughTheDifat", [] { return test::SettingsShaped(3).ExtraFatSectors(300).Write(); }},
    {"RootAlone", [] { return CompoundImageWriter(3).Write(); }},
    {"RootAloneVersion4", [] { return CompoundImageWriter(4).Write(); }},
    {"EmptyStorageAndStream", [] { return CompoundImageWriter(3).Storage({"A"}).Stream({"B"}, {}).Write(); }},
    {"StreamsAroundTheCutoff",
     [] {
         return CompoundImageWriter(3)
             .Stream({"Below"}, Pattern(4095, 1))
             .Stream({"At"}, Pattern(4096, 2))
             .Stream({"OneMiniSector"}, Pattern(64, 3))
             .Stream({"OneByte"}, Pattern(1, 4))
             .Write();
     }},
    {"ManyStreams",
     [] {
         CompoundImageWriter writer(3);
         for (int i = 0; i < 300; ++i)
             writer.Stream({"Model", "Setting", "TolClass" + std::to_string(i)}, Pattern(1134, i & 0xFF));
         return writer.Write();
     }},
    // Deeper than a recursive walk would survive on the sanitizers' stack.
    {"DeeplyNestedStorages", [] { return DeeplyNested(3000); }},
    {"DriverTemplateWithoutTheLastSectorsPadding",
     [] { return WithoutTheLastSectorsPadding(SeedFile("driver_template.dat")); }},
    {"Version3WithoutTheLastSectorsPadding",
     [] { return WithoutTheLastSectorsPadding(test::SettingsShaped(3).Write()); }},
    {"Version4WithoutTheLastSectorsPadding",
     [] { return WithoutTheLastSectorsPadding(test::SettingsShaped(4).Write()); }},
    {"TrailingPartialSector",
     [] {
         Bytes file = test::SettingsShaped(3).Write();
         file.insert(file.end(), 511, 0xAB);
         return file;
     }},
    {"Version3StreamSizeWithHighHalfSet",
     [] {
         Bytes file = test::SettingsShaped(3).Write();
         const View view(file);
         const uint32_t stream = view.MiniStream();
         Put64(file, view.EntryAt(stream) + entry::kStreamSize, view.Size(stream) | 0xDEAD000000000000);
         return file;
     }},
};

TEST(CompoundFileCheck, AcceptsWhatWritersLayOut) {
    for (const ValidFile& valid : kValidFiles) {
        const Bytes file = valid.make();
        ASSERT_FALSE(file.empty()) << valid.name;
        const CompoundFileCheck check = CheckCompoundFile(file);
        EXPECT_TRUE(check.Ok()) << valid.name << ": " << Describe(check);
    }
}

// ---- damage applied to the driver's template and to files laid out here ----------------------------------

struct Damage {
    const char* name;
    // Damages the file; false when the file lacks what this damage needs.
    std::function<bool(Bytes&, const View&)> apply;
    std::optional<Fault> expected; // none: any fault
};

const Damage kDamages[] = {
    // The header.
    {"Empty", [](Bytes& f, const View&) { return f.clear(), true; }, Fault::kTooShort},
    {"CutWithinTheHeader", [](Bytes& f, const View&) { return f.resize(511), true; }, Fault::kTooShort},
    {"CutToTheHeaderSector", [](Bytes& f, const View& v) { return f.resize(v.SectorSize()), true; },
     Fault::kBadFatCount},
    {"CutIntoTheLastSectorsData", [](Bytes& f, const View& v) { return f.resize(v.DataEnd() - 1), true; },
     Fault::kDataPastTheEnd},
    {"CutToHalf",
     [](Bytes& f, const View& v) { return f.resize(f.size() / 2 / v.SectorSize() * v.SectorSize()), true; },
     Fault::kSectorOutOfRange},
    {"RandomBytes", [](Bytes& f, const View&) { return f = Random(f.size(), 1), true; }, Fault::kBadSignature},
    {"RandomBytesAfterTheHeader",
     [](Bytes& f, const View&) {
         const Bytes noise = Random(f.size(), 2);
         std::copy(noise.begin() + 512, noise.end(), f.begin() + 512);
         return true;
     },
     std::nullopt},
    {"Signature", [](Bytes& f, const View&) { return f[3] ^= 0x10, true; }, Fault::kBadSignature},
    {"BigEndian", [](Bytes& f, const View&) { return Put16(f, header::kByteOrder, 0xFEFF), true; },
     Fault::kBadByteOrder},
    {"MajorVersion2", [](Bytes& f, const View&) { return Put16(f, header::kMajorVersion, 2), true; },
     Fault::kBadVersion},
    {"MajorVersion5", [](Bytes& f, const View&) { return Put16(f, header::kMajorVersion, 5), true; },
     Fault::kBadVersion},
    {"SectorSizeOfTheOtherVersion",
     [](Bytes& f, const View& v) { return Put16(f, header::kSectorShift, v.MajorVersion() == 3 ? 12 : 9), true; },
     Fault::kBadSectorSize},
    {"VersionOfTheOtherSectorSize",
     [](Bytes& f, const View& v) { return Put16(f, header::kMajorVersion, v.MajorVersion() == 3 ? 4 : 3), true; },
     Fault::kBadSectorSize},
    {"SectorShift31", [](Bytes& f, const View&) { return Put16(f, header::kSectorShift, 31), true; },
     Fault::kBadSectorSize},
    {"MiniSectorSize128", [](Bytes& f, const View&) { return Put16(f, header::kMiniSectorShift, 7), true; },
     Fault::kBadMiniSectorSize},
    {"MiniStreamCutoff8192", [](Bytes& f, const View&) { return Put32(f, header::kMiniStreamCutoff, 8192), true; },
     Fault::kBadMiniStreamCutoff},

    // The FAT and the DIFAT that lists its sectors.
    {"FatCountZero", [](Bytes& f, const View&) { return Put32(f, header::kFatCount, 0), true; }, Fault::kBadFatCount},
    {"FatCountPastTheFile", [](Bytes& f, const View&) { return Put32(f, header::kFatCount, 0x7FFFFFFF), true; },
     Fault::kBadFatCount},
    {"DifatCountPastTheFile", [](Bytes& f, const View&) { return Put32(f, header::kDifatCount, 0xFFFFFFF0), true; },
     Fault::kBadFatCount},
    {"FatSectorListedAsFree",
     [](Bytes& f, const View&) {
         const uint32_t count = test::Get32(f, header::kFatCount);
         Put32(f, header::kFatCount, count + 1);
         Put32(f, header::kDifat + 4 * count, kFreeSector);
         return count < 109;
     },
     Fault::kSectorOutOfRange},
    {"FatSectorPastTheFile", [](Bytes& f, const View& v) { return Put32(f, header::kDifat, v.SectorCount()), true; },
     Fault::kSectorOutOfRange},
    {"FatSectorIsADirectorySector",
     [](Bytes& f, const View& v) { return Put32(f, header::kDifat, v.DirectoryChain()[0]), true; },
     Fault::kSharedSector},

    // Chains of regular sectors.
    {"DirectoryChainLoops",
     [](Bytes& f, const View& v) {
         const auto chain = v.DirectoryChain();
         return SetFat(f, v, chain.back(), chain.front()), true;
     },
     Fault::kChainCycle},
    {"MiniFatChainLoops",
     [](Bytes& f, const View& v) {
         const auto chain = v.MiniFatChain();
         return SetFat(f, v, chain.back(), chain.front()), true;
     },
     Fault::kChainCycle},
    {"MiniStreamChainLoops",
     [](Bytes& f, const View& v) {
         const auto chain = StreamChain(v, 0);
         return SetFat(f, v, chain.back(), chain.front()), true;
     },
     Fault::kChainCycle},
    {"SectorLinksToItself",
     [](Bytes& f, const View& v) {
         const uint32_t first = Start(v, 0);
         return SetFat(f, v, first, first), true;
     },
     Fault::kChainCycle},
    {"StreamChainLoopsIntoItsMiddle",
     [](Bytes& f, const View& v) {
         const uint32_t stream = v.RegularStream();
         if (stream == kNoEntry)
             return false;
         const auto chain = StreamChain(v, stream);
         return SetFat(f, v, chain.back(), chain[1]), true;
     },
     Fault::kChainCycle},
    {"ChainRunsIntoAFreeSector", [](Bytes& f, const View& v) { return SetFat(f, v, Start(v, 0), kFreeSector), true; },
     Fault::kBadChainLink},
    {"ChainRunsIntoAFatSector", [](Bytes& f, const View& v) { return SetFat(f, v, Start(v, 0), 0xFFFFFFFD), true; },
     Fault::kBadChainLink},
    {"ChainLinkPastTheFile", [](Bytes& f, const View& v) { return SetFat(f, v, Start(v, 0), v.SectorCount()), true; },
     Fault::kSectorOutOfRange},
    {"ChainLinkFarPastTheFile", [](Bytes& f, const View& v) { return SetFat(f, v, Start(v, 0), 0xFFFFFF00), true; },
     Fault::kSectorOutOfRange},
    {"DirectoryStartPastTheFile",
     [](Bytes& f, const View& v) { return Put32(f, header::kFirstDirectorySector, v.SectorCount() + 5), true; },
     Fault::kSectorOutOfRange},
    {"StreamStartPastTheFile",
     [](Bytes& f, const View& v) {
         const uint32_t stream = v.RegularStream();
         return stream != kNoEntry && (SetLink(f, v, stream, entry::kStartSector, v.SectorCount()), true);
     },
     Fault::kSectorOutOfRange},
    {"MiniStreamStartsInTheDirectory",
     [](Bytes& f, const View& v) { return SetLink(f, v, 0, entry::kStartSector, v.DirectoryChain()[0]), true; },
     Fault::kSharedSector},
    {"MiniFatChainRunsIntoTheMiniStream",
     [](Bytes& f, const View& v) { return SetFat(f, v, v.MiniFatChain().back(), Start(v, 0)), true; },
     Fault::kSharedSector},
    {"TwoStreamsShareTheirSectors",
     [](Bytes& f, const View& v) {
         // Of equal length, so that whichever the walk meets first is whole.
         const uint32_t first = v.RegularStream(0), second = v.RegularStream(1);
         return second != kNoEntry && StreamChain(v, first).size() == StreamChain(v, second).size() &&
                (SetLink(f, v, second, entry::kStartSector, Start(v, first)), true);
     },
     Fault::kSharedSector},

    // Chains of mini sectors.
    {"MiniChainLoops",
     [](Bytes& f, const View& v) {
         const auto chain = StreamMiniChain(v, v.MiniStream());
         return SetMiniFat(f, v, chain.back(), chain.front()), true;
     },
     Fault::kMiniChainCycle},
    {"MiniSectorLinksToItself",
     [](Bytes& f, const View& v) {
         const uint32_t first = Start(v, v.MiniStream());
         return SetMiniFat(f, v, first, first), true;
     },
     Fault::kMiniChainCycle},
    {"MiniChainRunsIntoAFreeEntry",
     [](Bytes& f, const View& v) { return SetMiniFat(f, v, Start(v, v.MiniStream()), kFreeSector), true; },
     Fault::kBadMiniChainLink},
    {"MiniStreamStartPastTheMiniStream",
     [](Bytes& f, const View& v) {
         return SetLink(f, v, v.MiniStream(), entry::kStartSector, static_cast<uint32_t>(v.Size(0) / 64)), true;
     },
     Fault::kMiniSectorOutOfRange},
    {"MiniStreamShorterThanWhatItHolds",
     [](Bytes& f, const View& v) {
         // Cut the root's size just below the highest mini sector in use, keeping its chain's length right.
         uint32_t highest = 0;
         for (uint32_t id = 1; id < v.EntryCount(); ++id)
             if (v.Type(id) == entry::kStream && v.Size(id) > 0 && v.Size(id) < 4096)
                 for (uint32_t sector : StreamMiniChain(v, id))
                     highest = std::max(highest, sector);
         const uint64_t size = uint64_t{highest} * 64;
         Put64(f, v.EntryAt(0) + entry::kStreamSize, size);
         return (size + v.SectorSize() - 1) / v.SectorSize() == StreamChain(v, 0).size();
     },
     Fault::kMiniSectorOutOfRange},
    {"TwoStreamsShareTheirMiniSectors",
     [](Bytes& f, const View& v) {
         const uint32_t first = v.MiniStream();
         for (std::size_t skip = 1; v.MiniStream(skip) != kNoEntry; ++skip)
             if (v.Size(v.MiniStream(skip)) == v.Size(first))
                 return SetLink(f, v, v.MiniStream(skip), entry::kStartSector, Start(v, first)), true;
         return false;
     },
     Fault::kSharedMiniSector},

    // The directory tree.
    {"StorageIsItsOwnChild",
     [](Bytes& f, const View& v) {
         const uint32_t storage = v.StorageWithChild();
         return SetLink(f, v, storage, entry::kChild, storage), true;
     },
     Fault::kDirectoryCycle},
    {"EntryIsItsOwnLeftSibling",
     [](Bytes& f, const View& v) {
         const uint32_t top = v.Link(v.StorageWithChild(), entry::kChild);
         return SetLink(f, v, top, entry::kLeft, top), true;
     },
     Fault::kDirectoryCycle},
    {"EntryIsItsOwnRightSibling",
     [](Bytes& f, const View& v) {
         const uint32_t top = v.Link(0, entry::kChild);
         return SetLink(f, v, top, entry::kRight, top), true;
     },
     Fault::kDirectoryCycle},
    {"LoopThroughThreeEntries",
     [](Bytes& f, const View& v) {
         // storage -> its top element -> a sibling of that -> back to the storage
         const uint32_t storage = v.StorageWithChild();
         const uint32_t top = v.Link(storage, entry::kChild);
         const uint32_t sibling =
             v.Link(top, entry::kLeft) != kNoEntry ? v.Link(top, entry::kLeft) : v.Link(top, entry::kRight);
         return sibling != kNoEntry && (SetLink(f, v, sibling, entry::kLeft, storage), true);
     },
     Fault::kDirectoryCycle},
    {"RootIsAnElement",
     [](Bytes& f, const View& v) { return SetLink(f, v, v.StorageWithChild(), entry::kChild, 0), true; },
     Fault::kDirectoryCycle},
    {"TwoStoragesShareTheirElements",
     [](Bytes& f, const View& v) {
         const uint32_t storage = v.StorageWithChild(), empty = FirstStorageWithoutChild(v);
         return empty != kNoEntry && (SetLink(f, v, empty, entry::kChild, v.Link(storage, entry::kChild)), true);
     },
     Fault::kDirectoryCycle},
    {"ChildPastTheDirectory",
     [](Bytes& f, const View& v) { return SetLink(f, v, v.StorageWithChild(), entry::kChild, v.EntryCount()), true; },
     Fault::kEntryOutOfRange},
    {"SiblingFarPastTheDirectory",
     [](Bytes& f, const View& v) { return SetLink(f, v, v.Link(0, entry::kChild), entry::kRight, 0xFFFFFFFA), true; },
     Fault::kEntryOutOfRange},
    {"StreamOfUnknownType",
     [](Bytes& f, const View& v) { return f[v.EntryAt(v.MiniStream()) + entry::kType] = 3, true; },
     Fault::kBadEntryType},
    {"UnusedEntryInTheTree",
     [](Bytes& f, const View& v) { return f[v.EntryAt(v.MiniStream()) + entry::kType] = 0, true; },
     Fault::kBadEntryType},
    {"SecondRoot", [](Bytes& f, const View& v) { return f[v.EntryAt(v.MiniStream()) + entry::kType] = 5, true; },
     Fault::kBadEntryType},
    {"StreamWithAChild",
     [](Bytes& f, const View& v) {
         return SetLink(f, v, v.MiniStream(), entry::kChild, FirstStorageWithoutChild(v)), true;
     },
     Fault::kBadEntryType},
    {"RootOfStorageType", [](Bytes& f, const View& v) { return f[v.EntryAt(0) + entry::kType] = 1, true; },
     Fault::kBadRootEntry},
    {"RootWithASibling", [](Bytes& f, const View& v) { return SetLink(f, v, 0, entry::kRight, 1), true; },
     Fault::kBadRootEntry},

    // Element names.
    {"NameFillsItsFieldWithoutTerminator",
     [](Bytes& f, const View& v) {
         const std::size_t at = v.EntryAt(v.MiniStream());
         for (std::size_t i = 0; i < 64; i += 2)
             Put16(f, at + i, 'A');
         return Put16(f, at + entry::kNameLength, 64), true;
     },
     Fault::kBadName},
    {"NameLengthPastItsField",
     [](Bytes& f, const View& v) { return Put16(f, v.EntryAt(v.MiniStream()) + entry::kNameLength, 66), true; },
     Fault::kBadName},
    {"NameLengthOdd",
     [](Bytes& f, const View& v) {
         const std::size_t at = v.EntryAt(v.MiniStream()) + entry::kNameLength;
         return Put16(f, at, static_cast<uint16_t>(test::Get16(f, at) - 1)), true;
     },
     Fault::kBadName},
    {"NameLengthZero",
     [](Bytes& f, const View& v) { return Put16(f, v.EntryAt(v.StorageWithChild()) + entry::kNameLength, 0), true; },
     Fault::kBadName},
    {"NameShorterThanItsLength",
     [](Bytes& f, const View& v) { return Put16(f, v.EntryAt(v.MiniStream()) + 2, 0), true; }, Fault::kBadName},
    {"NameLongerThanItsLength",
     [](Bytes& f, const View& v) { return Put16(f, v.EntryAt(v.MiniStream()) + entry::kNameLength, 4), true; },
     Fault::kBadName},
    {"RootNameWithoutTerminator",
     [](Bytes& f, const View& v) {
         for (std::size_t i = 0; i < 64; i += 2)
             Put16(f, v.EntryAt(0) + i, 'R');
         return Put16(f, v.EntryAt(0) + entry::kNameLength, 64), true;
     },
     Fault::kBadName},

    // Stream sizes against their chains.
    {"MiniStreamLongerThanItsChain",
     [](Bytes& f, const View& v) {
         const uint32_t stream = v.MiniStream();
         return Put64(f, v.EntryAt(stream) + entry::kStreamSize, v.Size(stream) + 64), true;
     },
     Fault::kStreamSizeMismatch},
    {"MiniStreamShorterThanItsChain",
     [](Bytes& f, const View& v) {
         const uint32_t stream = v.MiniStream();
         return Put64(f, v.EntryAt(stream) + entry::kStreamSize, v.Size(stream) - 64), true;
     },
     Fault::kStreamSizeMismatch},
    {"StreamLongerThanItsChain",
     [](Bytes& f, const View& v) {
         const uint32_t stream = v.RegularStream();
         return stream != kNoEntry &&
                (Put64(f, v.EntryAt(stream) + entry::kStreamSize, v.Size(stream) + v.SectorSize()), true);
     },
     Fault::kStreamSizeMismatch},
    {"StreamShorterThanItsChain",
     [](Bytes& f, const View& v) {
         const uint32_t stream = v.RegularStream();
         return stream != kNoEntry &&
                (Put64(f, v.EntryAt(stream) + entry::kStreamSize, v.Size(stream) - v.SectorSize()), true);
     },
     Fault::kStreamSizeMismatch},
    {"StreamShrunkBelowTheCutoff",
     [](Bytes& f, const View& v) {
         const uint32_t stream = v.RegularStream();
         return stream != kNoEntry && (Put64(f, v.EntryAt(stream) + entry::kStreamSize, 4000), true);
     },
     std::nullopt},
    {"RootLongerThanItsChain",
     [](Bytes& f, const View& v) {
         return Put64(f, v.EntryAt(0) + entry::kStreamSize, v.Size(0) + v.SectorSize()), true;
     },
     Fault::kStreamSizeMismatch},
};

struct Base {
    const char* name;
    std::function<Bytes()> make;
};

const Base kBases[] = {
    {"DriverTemplate", [] { return SeedFile("driver_template.dat"); }},
    {"Version3", [] { return test::SettingsShaped(3).Write(); }},
    {"Version4", [] { return test::SettingsShaped(4).Write(); }},
};

class CompoundFileDamage : public testing::TestWithParam<std::tuple<std::size_t, std::size_t>> {};

TEST_P(CompoundFileDamage, FailsForItsReason) {
    const auto [base, damage] = GetParam();
    const Bytes original = kBases[base].make();
    ASSERT_TRUE(CheckCompoundFile(original).Ok());
    const View view(original);
    Bytes damaged = original;
    if (!kDamages[damage].apply(damaged, view))
        GTEST_SKIP() << kBases[base].name << " has nothing this damage needs";
    const CompoundFileCheck check = CheckCompoundFile(damaged);
    if (kDamages[damage].expected)
        EXPECT_EQ(check.fault, *kDamages[damage].expected) << Describe(check);
    else
        EXPECT_FALSE(check.Ok());
}

INSTANTIATE_TEST_SUITE_P(, CompoundFileDamage,
                         testing::Combine(testing::Range<std::size_t>(0, std::size(kBases)),
                                          testing::Range<std::size_t>(0, std::size(kDamages))),
                         [](const auto& info) {
                             return std::string(kBases[std::get<0>(info.param)].name) + "_" +
                                    kDamages[std::get<1>(info.param)].name;
                         });

// ---- what the table cannot say ----------------------------------------------------------------------------

TEST(CompoundFileCheck, StreamSizeHighHalfCountsInVersion4Only) {
    for (uint16_t version : {3, 4}) {
        Bytes file = test::SettingsShaped(version).Write();
        const View view(file);
        for (uint32_t stream : {view.MiniStream(), view.RegularStream()})
            for (uint64_t high : {uint64_t{1} << 32, uint64_t{1} << 63, ~uint64_t{0} << 32}) {
                Bytes damaged = file;
                Put64(damaged, view.EntryAt(stream) + entry::kStreamSize, view.Size(stream) | high);
                const CompoundFileCheck check = CheckCompoundFile(damaged);
                if (version == 3)
                    EXPECT_TRUE(check.Ok()) << Describe(check);
                else
                    EXPECT_EQ(check.fault, Fault::kStreamSizeMismatch) << std::hex << high;
            }
    }
}

TEST(CompoundFileCheck, DifatChainIsWalkedWithinItsCount) {
    const Bytes file = test::SettingsShaped(3).ExtraFatSectors(300).Write();
    const View view(file);
    const uint32_t first = test::Get32(file, header::kFirstDifatSector);
    const uint32_t count = test::Get32(file, header::kDifatCount);
    ASSERT_GE(count, 2u);
    const std::size_t linkAt = view.SectorSize() - 4;
    struct Case {
        const char* name;
        std::function<void(Bytes&)> damage;
        Fault expected;
    };
    const Case cases[] = {
        {"loops", [&](Bytes& f) { Put32(f, view.SectorAt(first) + linkAt, first); }, Fault::kChainCycle},
        {"starts past the file", [&](Bytes& f) { Put32(f, header::kFirstDifatSector, view.SectorCount()); },
         Fault::kSectorOutOfRange},
        {"starts at a FAT sector", [&](Bytes& f) { Put32(f, header::kFirstDifatSector, 0); }, Fault::kSharedSector},
        {"ends early", [&](Bytes& f) { Put32(f, view.SectorAt(first) + linkAt, kEndOfChain); }, Fault::kBadChainLink},
        {"runs on past its count", [&](Bytes& f) { Put32(f, view.SectorAt(first + count - 1) + linkAt, first); },
         Fault::kBadChainLink},
        {"counts too few sectors", [&](Bytes& f) { Put32(f, header::kDifatCount, count - 1); }, Fault::kBadFatCount},
        {"counts none", [&](Bytes& f) { Put32(f, header::kDifatCount, 0); }, Fault::kBadFatCount},
        {"lists a FAT sector past the file", [&](Bytes& f) { Put32(f, view.SectorAt(first), view.SectorCount()); },
         Fault::kSectorOutOfRange},
        {"lists a FAT sector twice", [&](Bytes& f) { Put32(f, view.SectorAt(first), 0); }, Fault::kSharedSector},
    };
    for (const Case& c : cases) {
        Bytes damaged = file;
        c.damage(damaged);
        EXPECT_EQ(CheckCompoundFile(damaged).fault, c.expected) << c.name;
    }
}

// An empty stream's start is not followed by readers, and one writer leaves it at 0; but growing or deleting
// the stream follows it, so it must not lead into a loop.
TEST(CompoundFileCheck, EmptyStreamsLeftoverStart) {
    const Bytes file = test::SettingsShaped(3).Write();
    const View view(file);
    const uint32_t empty = view.Find("Notes");
    const uint32_t specInfo = view.Find("SpecInfo");
    ASSERT_NE(empty, kNoEntry);
    ASSERT_EQ(view.Size(empty), 0u);
    // Mini sectors past the last one in use are free in the mini FAT.
    const uint32_t freeSector = static_cast<uint32_t>(view.Size(0) / 64) + 2;

    Bytes intoAnother = file;
    SetLink(intoAnother, view, empty, entry::kStartSector, Start(view, view.MiniStream()));
    EXPECT_TRUE(CheckCompoundFile(intoAnother).Ok()) << Describe(CheckCompoundFile(intoAnother));

    Bytes twoIntoTheSame = intoAnother;
    Put64(twoIntoTheSame, view.EntryAt(specInfo) + entry::kStreamSize, 0);
    SetLink(twoIntoTheSame, view, specInfo, entry::kStartSector, Start(view, view.MiniStream()));
    EXPECT_TRUE(CheckCompoundFile(twoIntoTheSame).Ok()) << Describe(CheckCompoundFile(twoIntoTheSame));

    Bytes free = file;
    SetLink(free, view, empty, entry::kStartSector, kFreeSector);
    EXPECT_TRUE(CheckCompoundFile(free).Ok()) << Describe(CheckCompoundFile(free));

    Bytes intoALoop = file;
    SetLink(intoALoop, view, empty, entry::kStartSector, freeSector);
    SetMiniFat(intoALoop, view, freeSector, freeSector + 1);
    SetMiniFat(intoALoop, view, freeSector + 1, freeSector);
    const CompoundFileCheck loop = CheckCompoundFile(intoALoop);
    EXPECT_EQ(loop.fault, Fault::kMiniChainCycle);
    EXPECT_EQ(loop.where, freeSector);
}

TEST(CompoundFileCheck, ToldWhereTheFaultIs) {
    const Bytes file = test::SettingsShaped(3).Write();
    const View view(file);

    Bytes loop = file;
    const auto chain = StreamChain(view, view.RegularStream());
    SetFat(loop, view, chain[3], chain[1]);
    EXPECT_EQ(CheckCompoundFile(loop).where, chain[1]);

    Bytes name = file;
    const uint32_t stream = view.MiniStream(1);
    Put16(name, view.EntryAt(stream) + entry::kNameLength, 66);
    EXPECT_EQ(CheckCompoundFile(name).where, stream);

    Bytes size = file;
    Put64(size, view.EntryAt(stream) + entry::kStreamSize, 4095);
    EXPECT_EQ(CheckCompoundFile(size).where, stream);
}

// Of the last sector, a reader takes the FAT, DIFAT, directory and mini FAT whole, and of a stream its own bytes.
TEST(CompoundFileCheck, APartialLastSectorMustHoldWhatIsReadFromIt) {
    // The directory is the last sector of a file that holds nothing else.
    const Bytes rootAlone = CompoundImageWriter(3).Write();
    EXPECT_EQ(CheckCompoundFile(Bytes(rootAlone.begin(), rootAlone.end() - 1)).fault, Fault::kSectorOutOfRange);

    const Bytes file = test::SettingsShaped(3).Write();
    const View view(file);
    const std::size_t end = view.DataEnd();
    ASSERT_LT(end, file.size());
    for (std::size_t size = end; size < file.size(); ++size)
        EXPECT_TRUE(CheckCompoundFile(Bytes(file.begin(), file.begin() + size)).Ok()) << size;
    const CompoundFileCheck cut = CheckCompoundFile(Bytes(file.begin(), file.begin() + end - 1));
    EXPECT_EQ(cut.fault, Fault::kDataPastTheEnd);
    EXPECT_EQ(cut.where, static_cast<uint32_t>(file.size() / view.SectorSize() - 2)) << "the last sector";

    // A mini stream whose last regular sector is partial: its mini sectors count where their bytes are present.
    Bytes small = CompoundImageWriter(3).Stream({"A"}, Pattern(600, 1)).Stream({"B"}, Pattern(70, 2)).Write();
    const View smallView(small);
    ASSERT_EQ(smallView.DataEnd(), smallView.SectorAt(smallView.Chain(Start(smallView, 0)).back()) + 704 - 512 + 6);
    EXPECT_TRUE(CheckCompoundFile(Bytes(small.begin(), small.begin() + smallView.DataEnd())).Ok());
    const CompoundFileCheck miniCut = CheckCompoundFile(Bytes(small.begin(), small.begin() + smallView.DataEnd() - 1));
    EXPECT_EQ(miniCut.fault, Fault::kDataPastTheEnd);
    EXPECT_EQ(miniCut.where, StreamMiniChain(smallView, smallView.Find("B")).back()) << "the mini sector";
}

TEST(CompoundFileCheck, DeepTreeWithALoopAtTheBottom) {
    Bytes file = DeeplyNested(3000);
    const View view(file);
    const uint32_t leaf = view.Find("Leaf");
    SetLink(file, view, leaf, entry::kLeft, view.Find("S0"));
    const CompoundFileCheck check = CheckCompoundFile(file);
    EXPECT_EQ(check.fault, Fault::kDirectoryCycle);
    EXPECT_EQ(check.where, view.Find("S0"));
}

} // namespace
} // namespace tolvan
