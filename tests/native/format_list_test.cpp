// The two kinds of file format list on a list that behaves as the combo box does (prefix search without regard
// to case, deletion clearing a deleted selection): the entries each kind keeps, the fall-backs of the scan
// modes, and what a choice writes into the record.
#include "pages/format_list.h"

#include "settings/fixed_string.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tolvan {
namespace {

constexpr uint32_t kBmp = 0x1, kTif = 0x2, kPcx = 0x4, kJpg = 0x8, kTga = 0x10, kPng = 0x20, kGif = 0x40, kPdf = 0x400;
constexpr uint16_t kColour = 1, kGrey = 2, kBlackWhite = 4;

class FakeList final : public FormatEntries {
public:
    FakeList() = default;
    FakeList(std::vector<std::string> listed, int selection) : entries(std::move(listed)), selected(selection) {}

    std::vector<std::string> entries;
    int selected = -1;

    int Find(std::string_view text) const override {
        for (size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].size() < text.size())
                continue;
            bool same = true;
            for (size_t k = 0; k < text.size() && same; ++k)
                same = std::tolower(static_cast<unsigned char>(entries[i][k])) ==
                       std::tolower(static_cast<unsigned char>(text[k]));
            if (same)
                return static_cast<int>(i);
        }
        return -1;
    }
    void Add(std::string_view text) override { entries.emplace_back(text); }
    void Remove(int index) override {
        entries.erase(entries.begin() + index);
        if (selected == index)
            selected = -1;
        else if (selected > index)
            --selected;
    }
    void Select(int index) override { selected = index < static_cast<int>(entries.size()) ? index : -1; }
    int Selected() const override { return selected; }
    std::string Text(int index) const override {
        return index >= 0 && index < static_cast<int>(entries.size()) ? entries[static_cast<size_t>(index)] : "";
    }
    std::string SelectedText() const { return Text(selected); }
};

using Entries = std::vector<std::string>;

std::unique_ptr<JobRecord> Record(uint32_t formats, uint32_t format, uint16_t colorMode, const char* ext) {
    auto record = std::make_unique<JobRecord>();
    record->ap.dwFormats = formats;
    record->ap.dwFormat = format;
    record->wColorMode = colorMode;
    WriteField(record->ap.szExt, ext);
    return record;
}

std::string Ext(const JobRecord& record) {
    return std::string(ReadField(record.ap.szExt));
}

TEST(AddOnlyFormatList, EmailFormatsInTheirOrderWithTheRecordsChoice) {
    FakeList list;
    auto record = Record(kBmp | kJpg | kPdf, kJpg, kColour, ".JPG");
    EXPECT_EQ(FillFormats(FormatListKind::kAddOnlyWithPdf, list, *record), kJpg);
    EXPECT_EQ(list.entries, (Entries{"BMP", "PDF", "JPG"}));
    EXPECT_EQ(list.SelectedText(), "JPG");
    EXPECT_EQ(uint32_t{record->ap.dwFormat}, kJpg);
    EXPECT_EQ(Ext(*record), ".JPG");

    // A second fill adds nothing twice, and an entry that is no longer offered stays.
    record->ap.dwFormats = kBmp | kTif;
    record->ap.dwFormat = kPdf;
    EXPECT_EQ(FillFormats(FormatListKind::kAddOnlyWithPdf, list, *record), kPdf);
    EXPECT_EQ(list.entries, (Entries{"BMP", "PDF", "JPG", "TIF"}));
    EXPECT_EQ(list.SelectedText(), "PDF");
}

TEST(AddOnlyFormatList, ScanModesTakeJpgAndGifAwayAndFallBackToBmp) {
    FakeList list;
    auto record = Record(kBmp | kJpg | kPdf, kJpg, kColour, ".JPG");
    FillFormats(FormatListKind::kAddOnlyWithPdf, list, *record);

    record->wColorMode = kBlackWhite;
    EXPECT_EQ(FillFormats(FormatListKind::kAddOnlyWithPdf, list, *record), kBmp);
    EXPECT_EQ(list.entries, (Entries{"BMP", "PDF"}));
    EXPECT_EQ(list.SelectedText(), "BMP");
    EXPECT_EQ(uint32_t{record->ap.dwFormat}, kBmp);
    EXPECT_EQ(Ext(*record), ".BMP");

    // Back in colour "JPG" returns at the end; the record stays at the format it fell back to.
    record->wColorMode = kColour;
    EXPECT_EQ(FillFormats(FormatListKind::kAddOnlyWithPdf, list, *record), kBmp);
    EXPECT_EQ(list.entries, (Entries{"BMP", "PDF", "JPG"}));

    // GIF in colour does the same.
    FakeList gifList;
    auto gif = Record(kBmp | kGif, kGif, kGrey, ".GIF");
    EXPECT_EQ(FillFormats(FormatListKind::kAddOnlyWithPdf, gifList, *gif), kGif);
    gif->wColorMode = kColour;
    EXPECT_EQ(FillFormats(FormatListKind::kAddOnlyWithPdf, gifList, *gif), kBmp);
    EXPECT_EQ(gifList.entries, (Entries{"BMP"}));
    EXPECT_EQ(Ext(*gif), ".BMP");

    // A scan mode removes only an offered format: a "JPG" shown before stays when the record no longer offers it.
    FakeList kept({"JPG", "PDF"}, 0);
    auto notOffered = Record(kPdf, kPdf, kBlackWhite, ".PDF");
    FillFormats(FormatListKind::kAddOnlyWithPdf, kept, *notOffered);
    EXPECT_EQ(kept.entries, (Entries{"JPG", "PDF"}));
}

TEST(AddOnlyFormatList, SelectionOfUnusualRecords) {
    struct Case {
        const char* what;
        uint32_t format;
        uint16_t colorMode;
        uint32_t selected;
        const char* text;
        uint32_t formatAfter;
    };
    const Case cases[] = {
        {"a format not in the list", kTif, kColour, 0, "", kTif},
        {"no format", 0, kColour, 0, "", 0},
        {"several bits: the last listed wins", kBmp | kPdf, kColour, kPdf, "PDF", kBmp | kPdf},
        {"JPG before PDF leaves PDF, and no quality", kJpg | kPdf, kColour, kPdf, "PDF", kJpg | kPdf},
        {"a missing entry after a listed one clears the choice", kBmp | kTif, kColour, 0, "", kBmp | kTif},
        {"the fall-back drops the later bits", kJpg | kPdf, kBlackWhite, kBmp, "BMP", kBmp},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeList list({"BMP", "PDF", "JPG"}, 2);
        auto record = Record(0, c.format, c.colorMode, ".XYZ");
        EXPECT_EQ(SelectFormat(FormatListKind::kAddOnlyWithPdf, list, *record), c.selected);
        EXPECT_EQ(list.SelectedText(), c.text);
        EXPECT_EQ(uint32_t{record->ap.dwFormat}, c.formatAfter);
    }

    // Without "BMP" to fall back to, nothing is selected and the record keeps its choice.
    FakeList noBmp({"PDF"}, 0);
    auto record = Record(kPdf | kJpg, kJpg, kBlackWhite, ".JPG");
    EXPECT_EQ(SelectFormat(FormatListKind::kAddOnlyWithPdf, noBmp, *record), 0u);
    EXPECT_EQ(noBmp.selected, -1);
    EXPECT_EQ(uint32_t{record->ap.dwFormat}, kJpg);
    EXPECT_EQ(Ext(*record), ".JPG");
}

TEST(SynchronisingFormatList, HoldsExactlyTheOfferedImageFormats) {
    FakeList list;
    auto record = Record(0x7F | kPdf, kPng, kGrey, ".PNG");
    EXPECT_EQ(FillFormats(FormatListKind::kSynchronising, list, *record), kPng);
    EXPECT_EQ(list.entries, (Entries{"BMP", "TIF", "PCX", "JPG", "TGA", "PNG", "GIF"})); // never PDF
    EXPECT_EQ(list.SelectedText(), "PNG");

    // Another application offers less: what it does not open goes, and its choice falls back to "BMP".
    record->ap.dwFormats = kBmp | kTif | kJpg;
    EXPECT_EQ(FillFormats(FormatListKind::kSynchronising, list, *record), kBmp);
    EXPECT_EQ(list.entries, (Entries{"BMP", "TIF", "JPG"}));
    EXPECT_EQ(uint32_t{record->ap.dwFormat}, kBmp);
    EXPECT_EQ(Ext(*record), ".BMP");

    // Scan mode 4 takes "JPG" away and a chosen JPG becomes BMP; colour does the same to an offered GIF.
    record->ap.dwFormat = kJpg;
    record->wColorMode = kBlackWhite;
    EXPECT_EQ(FillFormats(FormatListKind::kSynchronising, list, *record), kBmp);
    EXPECT_EQ(list.entries, (Entries{"BMP", "TIF"}));
    EXPECT_EQ(uint32_t{record->ap.dwFormat}, kBmp);
    FakeList stale({"BMP", "JPG", "GIF"}, 1);
    auto colour = Record(kBmp | kJpg | kGif, kBmp, kColour, ".BMP");
    FillFormats(FormatListKind::kSynchronising, stale, *colour);
    EXPECT_EQ(stale.entries, (Entries{"BMP", "JPG"}));
}

TEST(SynchronisingFormatList, SelectionWritesTheExtensionAndAlwaysEndsSomewhere) {
    // A damaged extension without its terminator is replaced whole.
    FakeList list({"BMP", "TIF", "PCX"}, -1);
    auto record = Record(0, kPcx, kGrey, "");
    std::memset(record->ap.szExt, 'Q', sizeof record->ap.szExt);
    EXPECT_EQ(SelectFormat(FormatListKind::kSynchronising, list, *record), kPcx);
    EXPECT_EQ(std::memcmp(record->ap.szExt, ".PCX\0\0\0\0", 8), 0);

    // Nothing listed matches: "BMP".
    record->ap.dwFormat = kTga | kPdf;
    EXPECT_EQ(SelectFormat(FormatListKind::kSynchronising, list, *record), kBmp);
    EXPECT_EQ(uint32_t{record->ap.dwFormat}, kBmp);
    EXPECT_EQ(Ext(*record), ".BMP");

    // With no "BMP" either, the choice is cleared; a format the scan mode excludes still becomes BMP.
    FakeList noBmp({"TIF"}, 0);
    auto excluded = Record(kTif | kGif, kGif, kColour, ".GIF");
    EXPECT_EQ(SelectFormat(FormatListKind::kSynchronising, noBmp, *excluded), 0u);
    EXPECT_EQ(noBmp.selected, -1);
    EXPECT_EQ(uint32_t{excluded->ap.dwFormat}, kBmp);
    EXPECT_EQ(Ext(*excluded), ".BMP");
}

TEST(FormatChoice, TheSelectedEntryGoesIntoTheRecord) {
    struct Case {
        FormatListKind kind;
        const char* text;
        bool taken;
        uint32_t format;
        const char* ext;
    };
    const Case cases[] = {
        {FormatListKind::kAddOnlyWithPdf, "PDF", true, kPdf, ".PDF"},
        {FormatListKind::kAddOnlyWithPdf, "JPG", true, kJpg, ".JPG"},
        {FormatListKind::kSynchronising, "GIF", true, kGif, ".GIF"},
        {FormatListKind::kSynchronising, "TGA", true, kTga, ".TGA"},
        {FormatListKind::kSynchronising, "PDF", false, kBmp, ".OLD"},  // not a format of that list
        {FormatListKind::kAddOnlyWithPdf, "jpg", false, kBmp, ".OLD"}, // the texts are compared exactly
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        FakeList list({"BMP", c.text}, 1);
        auto record = Record(0, kBmp, kGrey, ".OLD");
        EXPECT_EQ(TakeSelectedFormat(c.kind, list, *record), c.taken);
        EXPECT_EQ(uint32_t{record->ap.dwFormat}, c.format);
        EXPECT_EQ(Ext(*record), c.ext);
    }
    FakeList none({"BMP"}, -1);
    auto record = Record(0, kPdf, kGrey, ".PDF");
    EXPECT_FALSE(TakeSelectedFormat(FormatListKind::kAddOnlyWithPdf, none, *record));
    EXPECT_EQ(uint32_t{record->ap.dwFormat}, kPdf);
}

} // namespace
} // namespace tolvan
