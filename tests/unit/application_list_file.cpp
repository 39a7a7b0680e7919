#include "application_list_file.h"

#include "compound_file.h"

#include "driver/apinfo/ap_file_format.h"
#include "settings/fixed_string.h"

#include <gtest/gtest.h>

namespace tolvan::test {

void WriteApplicationList(const std::string& path, const std::vector<ApEntry>& entries) {
    Bytes bytes;
    ASSERT_TRUE(apinfo::SerializeApFile(entries, bytes));
    ASSERT_TRUE(WriteFileBytes(path, bytes)) << path;
}

std::vector<ApEntry> ReadApplicationList(const std::string& path) {
    std::vector<ApEntry> entries;
    EXPECT_EQ(apinfo::ParseApFile(FileBytes(path), entries), apinfo::ParseStatus::kOk) << path;
    return entries;
}

std::vector<std::string> Names(const std::vector<ApEntry>& entries) {
    std::vector<std::string> names;
    for (const ApEntry& e : entries)
        names.emplace_back(ReadField(e.szApName));
    return names;
}

} // namespace tolvan::test
