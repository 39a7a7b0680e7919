// The File job's target rules: the Save As dialog's file types and the preselected type per scan mode, and what
// becomes of the dialog's answer in the record's fixed fields, long and damaged values included.
#include "pages/file_target.h"

#include "settings/fixed_string.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace tolvan {
namespace {

using Types = std::vector<std::pair<std::string, std::string>>;

// The (description, pattern) pairs of a filter in OPENFILENAME's form.
Types ParseFilter(const std::string& filter) {
    Types types;
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < filter.size(); ++i) {
        if (filter[i] == '\0') {
            parts.push_back(filter.substr(start, i - start));
            start = i + 1;
        }
    }
    EXPECT_EQ(start, filter.size()) << "a part without its terminator";
    // The list ends with an empty part (std::string adds the second terminator).
    EXPECT_FALSE(parts.empty());
    EXPECT_TRUE(parts.empty() || parts.back().empty());
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
        types.emplace_back(parts[i], parts[i + 1]);
    return types;
}

std::vector<std::string> Descriptions(const Types& types) {
    std::vector<std::string> texts;
    for (const auto& t : types)
        texts.push_back(t.first);
    return texts;
}

ApEntry Entry(std::string_view folder, std::string_view prefix, std::string_view ext, uint32_t format = 0x1) {
    ApEntry entry{};
    WriteField(entry.szFolder, folder);
    WriteField(entry.szFilePrefix, prefix);
    WriteField(entry.szExt, ext);
    entry.dwFormat = format;
    return entry;
}

TEST(FileTypes, EachScanModeOffersItsTypesInOrder) {
    const std::vector<std::string> gray = {"Bitmap files (*.bmp)", "Tiff files (*.tif)", "Gif files (*.gif)",
                                           "Pcx files (*.pcx)",    "TGA files (*.tga)",  "Png files (*.png)",
                                           "JPEG files (*.jpg)",   "PDF files (*.pdf)"};
    EXPECT_EQ(Descriptions(ParseFilter(FileTypeFilter(2))), gray);

    // Colour scans cannot be GIF files, black and white ones cannot be JPEG files.
    std::vector<std::string> colour = gray;
    colour.erase(colour.begin() + 2);
    EXPECT_EQ(Descriptions(ParseFilter(FileTypeFilter(1))), colour);
    std::vector<std::string> blackWhite = gray;
    blackWhite.erase(blackWhite.begin() + 6);
    EXPECT_EQ(Descriptions(ParseFilter(FileTypeFilter(4))), blackWhite);

    for (uint16_t mode : {0, 3, 8, 0xFFFF}) {
        EXPECT_TRUE(ParseFilter(FileTypeFilter(mode)).empty()) << mode;
        for (uint32_t format : {0x1u, 0x8u, 0x400u})
            EXPECT_EQ(FileTypeIndex(mode, format), 0u) << mode;
    }
}

TEST(FileTypes, PreselectedTypeIsTheFormatsOwnOrNone) {
    const std::pair<uint32_t, std::string> formats[] = {{0x1, "*.bmp"},  {0x2, "*.tif"},  {0x4, "*.pcx"},
                                                        {0x8, "*.jpg"},  {0x10, "*.tga"}, {0x20, "*.png"},
                                                        {0x40, "*.gif"}, {0x400, "*.pdf"}};
    for (uint16_t mode : {1, 2, 4}) {
        const Types types = ParseFilter(FileTypeFilter(mode));
        for (const auto& [format, pattern] : formats) {
            const unsigned index = FileTypeIndex(mode, format);
            bool offered = false;
            for (const auto& t : types)
                offered = offered || t.second == pattern;
            if (!offered) {
                EXPECT_EQ(index, 0u) << mode << " " << pattern;
                continue;
            }
            ASSERT_GE(index, 1u) << mode << " " << pattern;
            ASSERT_LE(index, types.size());
            EXPECT_EQ(types[index - 1].second, pattern) << mode;
        }
        for (uint32_t other : {0x0u, 0x3u, 0x80u, 0x200u, 0x80000000u})
            EXPECT_EQ(FileTypeIndex(mode, other), 0u) << mode << " " << other;
    }
}

TEST(FileTypes, ExtensionNamedByATypeDescription) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Bitmap files (*.bmp)", ".bmp"},
        {"JPEG files (*.jpg)", ".jpg"},
        {"PDF files (*.pdf)", ".pdf"},
        {"Text (*.txt)", ".txt"},
        {"BITMAP FILES (*.BMP)", ""}, // the search is case-sensitive
        {"All files (*.*)", ""},
        {"", ""},
        {"Pictures (*.png;*.jpg)", ".png"}, // the later one in the search order, not in the text
        {"Pictures (*.png;*.pdf;*.bmp)", ".pdf"},
    };
    for (const auto& [text, ext] : cases)
        EXPECT_EQ(FileTypeExtension(text), ext) << text;
}

TEST(FileTypes, FormatOfAnExtensionWhateverItsCase) {
    const std::pair<std::string_view, uint32_t> cases[] = {
        {".BMP", 0x1},  {".bmp", 0x1},  {".Jpg", 0x8},   {".tif", 0x2}, {".GIF", 0x40}, {".pcx", 0x4},
        {".tga", 0x10}, {".png", 0x20}, {".PdF", 0x400}, {".jpeg", 0},  {".tiff", 0},   {"BMP", 0},
        {"", 0},        {".", 0},       {".txt", 0},     {".bm", 0},
    };
    for (const auto& [ext, format] : cases)
        EXPECT_EQ(FormatFromExtension(ext), format) << ext;
}

TEST(DialogAnswer, TypedNamesAndTheChosenType) {
    struct Case {
        std::string_view path;
        std::string_view typeExt;
        std::string_view folder, prefix, ext;
        uint32_t format;
    };
    const Case cases[] = {
        // Another extension typed stays part of the name.
        {"C:\\Scans\\scan.jpg", ".bmp", "C:\\Scans\\", "scan.jpg", ".bmp", 0x1},
        {"C:\\Scans\\scan.jpg", ".jpg", "C:\\Scans\\", "scan", ".jpg", 0x8},
        // The typed case is kept when it names the chosen type.
        {"C:\\Scans\\Scan.JPG", ".jpg", "C:\\Scans\\", "Scan", ".JPG", 0x8},
        {"C:\\Scans\\scan", ".png", "C:\\Scans\\", "scan", ".png", 0x20},
        // A dot in a folder name is not an extension.
        {"C:\\my.scans\\scan", ".tif", "C:\\my.scans\\", "scan", ".tif", 0x2},
        {"C:\\Scans\\.bmp", ".bmp", "C:\\Scans\\", "", ".bmp", 0x1},
        {"C:scan", ".pcx", "C:", "scan", ".pcx", 0x4},
        {"\\\\server\\share\\scan", ".gif", "\\\\server\\share\\", "scan", ".gif", 0x40},
        {"C:/Scans/scan", ".tga", "C:/Scans/", "scan", ".tga", 0x10},
        // A type without an extension leaves the name as typed; its extension gives no known format.
        {"C:\\Scans\\scan.raw", "", "C:\\Scans\\", "scan", ".raw", 0},
        {"C:\\Scans\\scan", "", "C:\\Scans\\", "scan", "", 0},
    };
    for (const Case& c : cases) {
        ApEntry entry = Entry("D:\\old\\", "old", ".PNG", 0x20);
        entry.wQuality = 77;
        ASSERT_TRUE(StoreTarget(entry, CompleteWithTypeExtension(c.path, c.typeExt))) << c.path;
        EXPECT_EQ(ReadField(entry.szFolder), c.folder) << c.path;
        EXPECT_EQ(ReadField(entry.szFilePrefix), c.prefix) << c.path;
        EXPECT_EQ(ReadField(entry.szExt), c.ext) << c.path;
        // Packed fields are copied out before they are compared.
        EXPECT_EQ(uint32_t{entry.dwFormat}, c.format) << c.path;
        EXPECT_EQ(uint16_t{entry.wQuality}, 77) << "only the target's fields change";
    }
}

TEST(DialogAnswer, APartTooLongForItsFieldRefusesTheWholeChoice) {
    const ApEntry before = Entry("D:\\old\\", "old", ".PNG", 0x20);
    const std::string folder259 = "C:\\" + std::string(255, 'f') + "\\";
    const std::string name259(259, 'n');
    struct Case {
        std::string path;
        bool fits;
    };
    const Case cases[] = {
        {folder259 + "scan.bmp", true},
        {"C:\\" + std::string(256, 'f') + "\\scan.bmp", false}, // a folder of 260 characters
        {"C:\\" + name259 + ".bmp", true},
        {"C:\\" + name259 + "n.bmp", false},
        {"C:\\scan.abcdef", true}, // seven characters with the dot, and the terminator
        {"C:\\scan.abcdefg", false},
    };
    for (const Case& c : cases) {
        ApEntry entry = before;
        EXPECT_EQ(StoreTarget(entry, c.path), c.fits) << c.path.size();
        if (!c.fits)
            EXPECT_EQ(std::memcmp(&entry, &before, sizeof entry), 0) << c.path.size();
        else
            EXPECT_EQ(TargetText(entry), c.path);
    }
}

TEST(TargetFields, DialogDefaultsFromTheRecord) {
    EXPECT_EQ(DefaultExtension(Entry("", "", ".JPG")), "JPG");
    EXPECT_EQ(DefaultExtension(Entry("", "", ".png")), "png");
    EXPECT_EQ(DefaultExtension(Entry("", "", "")), "BMP");
    EXPECT_EQ(DefaultExtension(Entry("", "", ".")), "BMP");
    EXPECT_EQ(InitialFileName(Entry("C:\\Scans\\", "scan", ".JPG")), "C:\\Scans\\scan");
    EXPECT_EQ(InitialFileName(Entry("C:\\Scans\\", "", ".JPG")), "C:\\Scans\\Image");
    EXPECT_EQ(InitialFileName(Entry("", "", "")), "Image");
    EXPECT_EQ(TargetText(Entry("C:\\Scans\\", "scan", ".JPG")), "C:\\Scans\\scan.JPG");
}

TEST(TargetFields, FieldsWithoutTerminatorAreReadToTheirEndOnly) {
    ApEntry entry{};
    std::memset(entry.szFolder, 'f', sizeof entry.szFolder);
    std::memset(entry.szFilePrefix, 'p', sizeof entry.szFilePrefix);
    std::memset(entry.szExt, 'e', sizeof entry.szExt);
    entry.szExt[0] = '.';
    const std::string folder(sizeof entry.szFolder, 'f');
    const std::string prefix(sizeof entry.szFilePrefix, 'p');
    EXPECT_EQ(TargetText(entry), folder + prefix + ".eeeeeee");
    EXPECT_EQ(InitialFileName(entry), folder + prefix);
    EXPECT_EQ(DefaultExtension(entry), "eeeeeee");
}

TEST(TargetFields, FoldersOnTheWayAndTheFileNameAfterThem) {
    EXPECT_EQ(FoldersOnTheWay("C:\\a\\b c\\scan.bmp"), (std::vector<std::string>{"C:", "C:\\a", "C:\\a\\b c"}));
    EXPECT_EQ(FoldersOnTheWay("C:\\Scans\\"), (std::vector<std::string>{"C:", "C:\\Scans"}));
    EXPECT_TRUE(FoldersOnTheWay("scan.bmp").empty());
    EXPECT_TRUE(FoldersOnTheWay("").empty());

    EXPECT_EQ(ReplaceFileName("C:\\Scans\\scan.JPG", "scan.BMP"), "C:\\Scans\\scan.BMP");
    EXPECT_EQ(ReplaceFileName("C:\\Scans\\", "Image.BMP"), "C:\\Scans\\Image.BMP");
    EXPECT_EQ(ReplaceFileName("scan.JPG", "scan.BMP"), "scan.BMP");
}

} // namespace
} // namespace tolvan
