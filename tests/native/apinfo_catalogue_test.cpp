// The catalogue source: the shipped text holds the applications the pages rely on, and every kind
// of mistake in a text is refused with the line it is on.
#include "driver/apinfo/ap_file_format.h"
#include "driver/apinfo/ap_list.h"
#include "driver/apinfo/catalogue_text.h"

#include "settings/fixed_string.h"
#include "settings/job_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace tolvan::apinfo {
namespace {

std::vector<ApEntry> ShippedCatalogue() {
    std::ifstream in(TOLVAN_APINFO_CATALOGUE, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<ApEntry> entries;
    std::string error;
    EXPECT_TRUE(ParseCatalogueText(text.str(), entries, error)) << error;
    return entries;
}

const ApEntry* Find(const std::vector<ApEntry>& entries, uint32_t category, uint16_t id) {
    for (const ApEntry& e : entries)
        if (e.dwApCategory == category && e.wApId == id)
            return &e;
    return nullptr;
}

TEST(ApCatalogue, ShippedCatalogueHoldsWhatThePagesUse) {
    const std::vector<ApEntry> entries = ShippedCatalogue();
    struct Expected {
        uint32_t category;
        uint16_t id;
        const char* name; // nullptr: any name
        const char* program;
    };
    const Expected expected[] = {
        // The Email page matches these three names against the registered mail clients.
        {Category::kMail, 4005, "Outlook Express", "msimn.exe"},
        {Category::kMail, 4006, "Microsoft Outlook", "outlook.exe"},
        {Category::kMail, 4007, "Windows Mail", "WinMail.exe"},
        // The Office page chooses its recognition program by these two ids, and the document program by the
        // other three.
        {Category::kRecognition, 4107, "Tesseract OCR (Chinese)", "tesseract.exe"},
        {Category::kRecognition, 4108, "Tesseract OCR", "tesseract.exe"},
        {Category::kDocument, 4109, "WordPad", "wordpad.exe"},
        {Category::kDocument, 4110, "Microsoft Excel", "EXCEL.EXE"},
        {Category::kDocument, 4111, "Notepad", "notepad.exe"},
        {Category::kDestination, 4157, "Paint", "mspaint.exe"},
        {Category::kDUzar, 4160, nullptr, nullptr},
    };
    for (const Expected& x : expected) {
        const ApEntry* e = Find(entries, x.category, x.id);
        ASSERT_NE(e, nullptr) << x.id;
        if (x.name)
            EXPECT_EQ(ReadField(e->szApName), x.name);
        if (x.program)
            EXPECT_EQ(ReadField(e->szExeName), x.program);
    }
    for (const ApEntry& e : entries) {
        EXPECT_EQ(CheckNewEntry(e), EntryCheck::kOk) << e.szApName;
        EXPECT_FALSE(IsUserAdded(e)) << e.szApName;
        EXPECT_NE(uint32_t{e.dwJobMask}, 0u) << e.szApName;
        EXPECT_FALSE(ProgramName(e).empty()) << e.szApName;
    }
    std::vector<uint8_t> file;
    EXPECT_TRUE(SerializeApFile(entries, file));
}

// The Application page copies a destination's formats into the record and shows them in a list without PDF; the
// driver opens the scan in the chosen format, so each destination offers what the page can show and starts on one
// of those. 4200 is the id of the programs a user adds.
TEST(ApCatalogue, DestinationProgramsStartOnAnImageFormatTheyOpen) {
    int destinations = 0;
    for (const ApEntry& e : ShippedCatalogue()) {
        if (e.dwApCategory != Category::kDestination)
            continue;
        ++destinations;
        const std::string name(ReadField(e.szApName));
        EXPECT_NE(e.dwFormats & Format::kBmp, 0u) << name; // every destination falls back to BMP
        EXPECT_EQ(e.dwFormats & ~Format::kUserAddedFormats, 0u) << name;
        const ImageFormat* chosen = FindImageFormat(e.dwFormat);
        ASSERT_NE(chosen, nullptr) << name;
        EXPECT_NE(e.dwFormats & e.dwFormat, 0u) << name;
        EXPECT_EQ(ReadField(e.szExt), chosen->ext) << name;
        EXPECT_NE(uint16_t{e.wApId}, kUserAppId) << name;
        EXPECT_EQ(uint32_t{e.dwJobMask}, 0x1u) << name;
    }
    EXPECT_GE(destinations, 3);
}

TEST(ApCatalogue, TextSetsEntryFields) {
    const std::string text = "# comment\r\n"
                             "[app]\r\n"
                             "  wApId = 4157\r\n"
                             "dwApCategory=0x1000000\n"
                             "dwApOptions = 0x10\n"
                             "szApName = Paint = Draw\n"
                             "szExeName = mspaint.exe\n"
                             "szExeDir = %SystemRoot%\\System32\\\n"
                             "[app]\n"
                             "wApId = 4157\n"
                             "dwApCategory = 8\n"
                             "szApName = Paint\n"
                             "szExeName = x.exe";
    std::vector<ApEntry> entries;
    std::string error;
    ASSERT_TRUE(ParseCatalogueText(text, entries, error)) << error;
    ASSERT_EQ(entries.size(), 2u);
    const ApEntry& paint = entries[0];
    EXPECT_EQ(uint16_t{paint.wApSize}, 1114);
    EXPECT_EQ(uint16_t{paint.wApId}, 4157);
    EXPECT_EQ(uint32_t{paint.dwApCategory}, 0x1000000u);
    EXPECT_EQ(uint32_t{paint.dwApOptions}, 0x10u | ApOption::kShipped) << "the shipped option is always added";
    EXPECT_STREQ(paint.szApName, "Paint = Draw");
    EXPECT_STREQ(paint.szExeDir, "%SystemRoot%\\System32\\");
    EXPECT_EQ(uint32_t{entries[1].dwApCategory}, 8u) << "the same id and name may be used in another category";
}

TEST(ApCatalogue, MistakesAreRefusedWithTheirLine) {
    const std::string good = "[app]\nwApId = 1\ndwApCategory = 8\nszApName = A\nszExeName = a.exe\n";
    struct Case {
        std::string text;
        const char* line;
    };
    const Case cases[] = {
        {"wApId = 1\n", "line 1:"},
        {"[apps]\n", "line 1:"},
        {good + "[app]\nwApId = 2\nszApName = B\nszExeName = b.exe\n", "line 6:"},
        {good + "[app]\nwApId = 2\ndwApCategory = 8\nszExeName = b.exe\n", "line 6:"},
        {good + "[app]\nwApId = 2\ndwApCategory = 8\nszApName = B\n", "line 6:"},
        {good + "[app]\nwApId = 2\ndwApCategory = 0\nszApName = B\nszExeName = b.exe\n", "line 6:"},
        {good + "[app]\nwApId = 1\ndwApCategory = 8\nszApName = B\nszExeName = b.exe\n", "line 6:"},
        {good + "[app]\nwApId = 2\ndwApCategory = 8\nszApName = a\nszExeName = b.exe\n", "line 6:"},
        {good + "[app]\nwApId = 2\ndwApCategory = 8\nszApName = B\nszExeName = C:\\b.exe\n", "line 6:"},
        {good + "wApSize = 10\n", "line 6:"},
        {good + "dwExtraLen = 10\n", "line 6:"},
        {good + "wResolution = 300\n", "line 6:"},
        {good + "wQuality\n", "line 6:"},
        {good + "wApId = 65536\n", "line 6:"},
        {good + "szExt = .JPEGJPEG\n", "line 6:"},
    };
    for (const Case& c : cases) {
        std::vector<ApEntry> entries(1);
        std::string error;
        EXPECT_FALSE(ParseCatalogueText(c.text, entries, error)) << c.text;
        EXPECT_EQ(error.rfind(c.line, 0), 0u) << c.text << " -> " << error;
        EXPECT_TRUE(entries.empty()) << "nothing of a refused text is handed out";
    }
}

} // namespace
} // namespace tolvan::apinfo
