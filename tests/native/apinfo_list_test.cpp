// The rules of the application lists: categories, the entries the module accepts from the
// program, how adding and removing treat names, and the bounds of the program fields.
#include "driver/apinfo/ap_list.h"

#include "settings/fixed_string.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tolvan::apinfo {
namespace {

ApEntry Entry(uint32_t category, const char* name, uint16_t id = 1) {
    ApEntry entry{};
    entry.wApSize = kApEntrySize;
    entry.dwApCategory = category;
    entry.wApId = id;
    WriteField(entry.szApName, name);
    return entry;
}

std::vector<uint16_t> Ids(const std::vector<ApEntry>& entries) {
    std::vector<uint16_t> ids;
    for (const ApEntry& e : entries)
        ids.push_back(e.wApId);
    return ids;
}

TEST(ApList, NamesCompareLikeFileNames) {
    EXPECT_TRUE(SameName("APInfo.dat", "ApInfo.DAT"));
    EXPECT_TRUE(SameName("", ""));
    EXPECT_FALSE(SameName("Paint", "Paint "));
    EXPECT_FALSE(SameName("Paint", "Pain"));
    // Only ASCII letters fold; other bytes of the ANSI code page must match as they are.
    EXPECT_FALSE(SameName("\xE4", "\xC4"));
    EXPECT_FALSE(SameName("@", "`")) << "0x40 and 0x60 differ by the case bit but are no letters";
}

TEST(ApList, AcceptedEntries) {
    EXPECT_EQ(CheckNewEntry(Entry(Category::kDestination, "Viewer")), EntryCheck::kOk);
    ApEntry e = Entry(Category::kDestination, "Viewer");
    e.wApSize = 1134;
    EXPECT_EQ(CheckNewEntry(e), EntryCheck::kBadSize);
    EXPECT_EQ(CheckNewEntry(Entry(0, "Viewer")), EntryCheck::kNoCategory);
    EXPECT_EQ(CheckNewEntry(Entry(Category::kDestination, "")), EntryCheck::kNoName);

    // Each text field filled to its last byte, without a terminator.
    const auto unterminated = [](auto member) {
        ApEntry u = Entry(Category::kDestination, "Viewer");
        std::memset(u.*member, 'x', sizeof(u.*member));
        return CheckNewEntry(u);
    };
    EXPECT_EQ(unterminated(&ApEntry::szApName), EntryCheck::kUnterminated);
    EXPECT_EQ(unterminated(&ApEntry::szExeName), EntryCheck::kUnterminated);
    EXPECT_EQ(unterminated(&ApEntry::szExeDir), EntryCheck::kUnterminated);
    EXPECT_EQ(unterminated(&ApEntry::szFolder), EntryCheck::kUnterminated);
    EXPECT_EQ(unterminated(&ApEntry::szFilePrefix), EntryCheck::kUnterminated);
    EXPECT_EQ(unterminated(&ApEntry::szExt), EntryCheck::kUnterminated);
}

TEST(ApList, NamesAreMatchedWithinTheirCategoryOnly) {
    std::vector<ApEntry> entries = {Entry(Category::kDestination, "Viewer", 1), Entry(Category::kMail, "Viewer", 2)};
    EXPECT_TRUE(AddOrReplace(entries, Entry(Category::kDestination, "VIEWER", 3)));
    EXPECT_FALSE(AddOrReplace(entries, Entry(Category::kDocument, "Viewer", 4)));
    EXPECT_EQ(Ids(entries), (std::vector<uint16_t>{3, 2, 4}));

    EXPECT_EQ(RemoveByName(entries, 0, "Viewer"), 0u) << "a removal always names its category";
    EXPECT_EQ(RemoveByName(entries, Category::kDestination | Category::kMail, "viewer"), 2u);
    EXPECT_EQ(Ids(entries), (std::vector<uint16_t>{4}));
}

TEST(ApList, ProgramNameIsAPlainFileName) {
    ApEntry e = Entry(Category::kDestination, "Viewer");
    const auto name = [&](const char* text) {
        WriteField(e.szExeName, text);
        return std::string(ProgramName(e));
    };
    EXPECT_EQ(name("mspaint.exe"), "mspaint.exe");
    EXPECT_EQ(name(""), "");
    EXPECT_EQ(name("..\\evil.exe"), "");
    EXPECT_EQ(name("C:evil.exe"), "");
    EXPECT_EQ(name("sub/evil.exe"), "");
    EXPECT_EQ(name(".."), "");
    std::memset(e.szExeName, 'a', sizeof e.szExeName);
    EXPECT_EQ(ProgramName(e), "") << "no terminator";
    e.dwApOptions = ApOption::kShipped;
    EXPECT_FALSE(IsUserAdded(e));
    e.dwApOptions = 0;
    EXPECT_TRUE(IsUserAdded(e));
}

TEST(ApList, ProgramFolderGetsOneTrailingBackslashAndMustFit) {
    ApEntry e = Entry(Category::kDestination, "Viewer");
    ASSERT_TRUE(SetProgramFolder(e, "C:\\Tools"));
    EXPECT_STREQ(e.szExeDir, "C:\\Tools\\");
    ASSERT_TRUE(SetProgramFolder(e, "C:\\Tools\\\\/"));
    EXPECT_STREQ(e.szExeDir, "C:\\Tools\\");
    ASSERT_TRUE(SetProgramFolder(e, "C:\\"));
    EXPECT_STREQ(e.szExeDir, "C:\\");

    ASSERT_TRUE(SetProgramFolder(e, "C:\\Longer\\Folder"));
    ASSERT_TRUE(SetProgramFolder(e, std::string_view(e.szExeDir, 2))) << "from the field itself";
    EXPECT_STREQ(e.szExeDir, "C:\\");
    EXPECT_EQ(e.szExeDir[4], 0) << "the rest of the field is cleared";

    const std::string fits(258, 'f'), tooLong(259, 'f');
    ASSERT_TRUE(SetProgramFolder(e, fits));
    EXPECT_EQ(ReadField(e.szExeDir), fits + "\\");
    EXPECT_FALSE(SetProgramFolder(e, tooLong));
    EXPECT_FALSE(SetProgramFolder(e, "\\\\"));
    EXPECT_EQ(ReadField(e.szExeDir), fits + "\\") << "a refusal leaves the field";
}

} // namespace
} // namespace tolvan::apinfo
