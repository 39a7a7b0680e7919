// The application list parser on arbitrary bytes, and the list rules on whatever it accepts. A file is
// either refused with no entries handed out, or it is sound: written again it gives back every byte,
// and the rules never read past a field of its entries however the text fields end.
#include "driver/apinfo/ap_file_format.h"
#include "driver/apinfo/ap_list.h"

#include "settings/fixed_string.h"
#include "tests/fuzz/broken_promise.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

using namespace tolvan;
using namespace tolvan::apinfo;

namespace {

void CheckRules(std::vector<ApEntry>& entries) {
    for (uint32_t category : {0u, Category::kMail, Category::kDestination, 0xFFFFFFFFu}) {
        std::size_t seen = 0;
        for (std::size_t i = FindInCategory(entries, 0, category); i != kNotFound;
             i = FindInCategory(entries, i + 1, category)) {
            Require(InCategory(entries[i], category), "found entries are in the category");
            ++seen;
        }
        Require(category != 0 || seen == entries.size(), "category 0 finds every entry");
    }
    for (ApEntry& e : entries) {
        const std::string_view program = ProgramName(e);
        Require(program.size() < sizeof e.szExeName, "a program name ends inside its field");
        Require(program.find_first_of("\\/:") == std::string_view::npos, "a program name is no path");
        const bool accepted = CheckNewEntry(e) == EntryCheck::kOk;
        Require(!accepted || ReadField(e.szApName).size() < sizeof e.szApName, "an accepted name is terminated");
        const std::string folder(ReadField(e.szExeDir));
        auto changed = std::make_unique<ApEntry>(e);
        if (SetProgramFolder(*changed, folder)) {
            const std::string_view stored = ReadField(changed->szExeDir);
            Require(stored.size() < sizeof e.szExeDir && stored.back() == '\\', "a stored folder ends in a backslash");
        } else {
            Require(std::memcmp(changed.get(), &e, kApEntrySize) == 0, "a refused folder leaves the entry");
        }
    }
    if (!entries.empty()) {
        const std::string name(ReadField(entries[0].szApName));
        const uint32_t category = entries[0].dwApCategory;
        const std::size_t before = entries.size();
        const std::size_t removed = RemoveByName(entries, category, name);
        Require(category == 0 || removed >= 1, "the first entry's own name removes it");
        Require(entries.size() == before - removed, "removal counts what it took");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // An exact-size copy, so that a read past the end is caught even where the input buffer is larger.
    const std::vector<uint8_t> bytes(data, data + size);
    std::vector<ApEntry> entries(1);
    const ParseStatus status = ParseApFile(bytes, entries);
    if (status != ParseStatus::kOk) {
        Require(entries.empty(), "a refused file hands out no entries");
        return 0;
    }
    std::vector<uint8_t> again;
    Require(SerializeApFile(entries, again), "a sound list can be written");
    Require(again == bytes, "a sound list is written back byte for byte");
    CheckRules(entries);
    return 0;
}
