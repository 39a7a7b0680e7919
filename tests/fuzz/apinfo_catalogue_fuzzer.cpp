// The catalogue source reader on arbitrary texts. A text is refused with a message and no entries, or
// every entry it yields is one the module accepts, is searched for by name, and survives the file format.
#include "driver/apinfo/ap_file_format.h"
#include "driver/apinfo/ap_list.h"
#include "driver/apinfo/catalogue_text.h"

#include "tests/fuzz/broken_promise.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace tolvan;
using namespace tolvan::apinfo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<ApEntry> entries(1);
    std::string error;
    if (!ParseCatalogueText(text, entries, error)) {
        Require(entries.empty(), "a refused text hands out no entries");
        Require(error.rfind("line ", 0) == 0, "a refusal names its line");
        return 0;
    }
    for (const ApEntry& e : entries) {
        Require(CheckNewEntry(e) == EntryCheck::kOk, "catalogue entries are acceptable entries");
        Require(!IsUserAdded(e) && !ProgramName(e).empty(), "catalogue entries are searched for by name");
        Require(FindSameEntry(entries, e) != kNotFound, "an entry finds itself");
    }
    std::vector<uint8_t> file;
    Require(SerializeApFile(entries, file), "a catalogue can be written");
    std::vector<ApEntry> back;
    Require(ParseApFile(file, back) == ParseStatus::kOk && back.size() == entries.size(), "and read back");
    Require(back.empty() || std::memcmp(back.data(), entries.data(), entries.size() * kApEntrySize) == 0, "unchanged");
    return 0;
}
