// The message file reader of the translation module, the cut of a translation into the caller's
// buffer, and the choice of language. Files and buffers are heap blocks of exactly their size, so
// AddressSanitizer stops any access past them.
#include "driver/multilng/language_choice.h"
#include "driver/multilng/message_catalog.h"
#include "driver/multilng/text_fit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tolvan::msg {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, std::size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void Put32(Bytes& b, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

struct TestLanguage {
    std::string code;
    uint16_t primaryLanguage;
    uint16_t codePage;
    std::map<std::string, std::string> texts; // sorted as the file wants them
};

// Lays a file out as FORMAT.md describes; tests then damage single fields.
Bytes BuildFile(const std::vector<TestLanguage>& languages) {
    std::size_t entries = 0;
    for (const TestLanguage& l : languages)
        entries += l.texts.size();
    const std::size_t tables = kHeaderSize + languages.size() * kLanguageRecordSize;
    Bytes file(tables + entries * kEntryRecordSize);
    std::memcpy(file.data(), "TLMS", 4);
    Put16(file, 4, kVersion);
    Put16(file, 6, static_cast<uint16_t>(languages.size()));
    std::size_t entry = tables;
    for (std::size_t i = 0; i < languages.size(); ++i) {
        const TestLanguage& l = languages[i];
        const std::size_t record = kHeaderSize + i * kLanguageRecordSize;
        std::memcpy(file.data() + record, l.code.data(), l.code.size());
        Put16(file, record + 4, l.primaryLanguage);
        Put16(file, record + 6, l.codePage);
        Put32(file, record + 8, static_cast<uint32_t>(entry));
        Put32(file, record + 12, static_cast<uint32_t>(l.texts.size()));
        for (const auto& [source, translation] : l.texts) {
            for (const std::string* text : {&source, &translation}) {
                const std::size_t at = file.size();
                file.insert(file.end(), text->begin(), text->end());
                file.push_back(0);
                const std::size_t field = entry + (text == &source ? 0 : 8);
                Put32(file, field, static_cast<uint32_t>(at));
                Put32(file, field + 4, static_cast<uint32_t>(text->size()));
            }
            entry += kEntryRecordSize;
        }
    }
    Put32(file, 8, static_cast<uint32_t>(file.size()));
    return file;
}

const std::vector<TestLanguage> kTwoLanguages = {
    {"de",
     0x07,
     1252,
     {{"Apply", "\xDC"
                "bernehmen"},
      {"Color", "Farbe"},
      {"Col", "Spalte"},
      {"", "leer"}}},
    {"fr", 0x0C, 1252, {{"Apply", "Appliquer"}, {"Color", "Couleur"}}},
};

// A parsed catalog over its own exact-size copy of the bytes.
class Parsed {
public:
    explicit Parsed(const Bytes& bytes) : m_size(bytes.size()), m_bytes(new uint8_t[bytes.size() ? bytes.size() : 1]) {
        if (!bytes.empty())
            std::memcpy(m_bytes.get(), bytes.data(), bytes.size());
        m_result = m_catalog.Parse(m_bytes.get(), m_size);
    }
    ParseResult Result() const { return m_result; }
    const MessageCatalog& Catalog() const { return m_catalog; }

private:
    std::size_t m_size;
    std::unique_ptr<uint8_t[]> m_bytes;
    MessageCatalog m_catalog;
    ParseResult m_result;
};

TEST(MessageCatalog, FindsEachTranslationByItsExactText) {
    Parsed parsed(BuildFile(kTwoLanguages));
    ASSERT_EQ(parsed.Result(), ParseResult::kOk);
    const MessageCatalog& catalog = parsed.Catalog();
    ASSERT_EQ(catalog.LanguageCount(), 2u);
    EXPECT_STREQ(catalog.LanguageAt(0).code, "de");
    EXPECT_EQ(catalog.LanguageAt(1).primaryLanguage, 0x0C);
    EXPECT_EQ(catalog.LanguageAt(1).codePage, 1252);

    struct Case {
        std::size_t language;
        const char* source;
        const char* translation; // null: none
    };
    const Case cases[] = {
        {0, "Apply",
         "\xDC"
         "bernehmen"},
        {0, "Color", "Farbe"},
        {0, "Col", "Spalte"},
        {0, "", "leer"},
        {0, "Colo", nullptr},   // between two sources that begin alike
        {0, "Colors", nullptr}, // a source followed by more text
        {0, "color", nullptr},  // matching is exact, case included
        {1, "Color", "Couleur"},
        {1, "Col", nullptr},
        {2, "Color", nullptr}, // no such language
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.language << " " << c.source);
        const auto found = catalog.Find(c.language, c.source);
        ASSERT_EQ(found.has_value(), c.translation != nullptr);
        if (found)
            EXPECT_EQ(*found, c.translation);
    }
}

TEST(MessageCatalog, AcceptsEmptyTables) {
    EXPECT_EQ(Parsed(BuildFile({})).Result(), ParseResult::kOk);
    Parsed noTexts(BuildFile({{"de", 0x07, 1252, {}}}));
    ASSERT_EQ(noTexts.Result(), ParseResult::kOk);
    EXPECT_FALSE(noTexts.Catalog().Find(0, "Color"));
}

TEST(MessageCatalog, RefusesEveryTruncationOfAValidFile) {
    const Bytes file = BuildFile(kTwoLanguages);
    for (std::size_t size = 0; size < file.size(); ++size) {
        SCOPED_TRACE(size);
        Parsed parsed(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size)));
        EXPECT_NE(parsed.Result(), ParseResult::kOk);
        EXPECT_EQ(parsed.Catalog().LanguageCount(), 0u);
    }
}

TEST(MessageCatalog, RefusesDamagedFields) {
    const Bytes good = BuildFile(kTwoLanguages);
    const std::size_t de = kHeaderSize;
    const std::size_t fr = kHeaderSize + kLanguageRecordSize;
    const std::size_t firstEntry = kHeaderSize + 2 * kLanguageRecordSize;
    struct Case {
        const char* what;
        void (*damage)(Bytes&, std::size_t de, std::size_t fr, std::size_t entry);
        ParseResult expected;
    };
    const Case cases[] = {
        {"magic", [](Bytes& b, auto, auto, auto) { b[0] = 'X'; }, ParseResult::kBadMagic},
        {"version", [](Bytes& b, auto, auto, auto) { Put16(b, 4, 2); }, ParseResult::kBadVersion},
        {"size field", [](Bytes& b, auto, auto, auto) { Put32(b, 8, static_cast<uint32_t>(b.size() + 1)); },
         ParseResult::kSizeMismatch},
        {"trailing byte",
         [](Bytes& b, auto, auto, auto) {
             b.push_back(0);
             // the size field still names the old size
         },
         ParseResult::kSizeMismatch},
        {"language count", [](Bytes& b, auto, auto, auto) { Put16(b, 6, 0xFFFF); }, ParseResult::kBadLanguageTable},
        {"empty code", [](Bytes& b, auto de, auto, auto) { b[de] = 0; }, ParseResult::kBadLanguageTable},
        {"duplicate code", [](Bytes& b, auto, auto fr, auto) { std::memcpy(&b[fr], "de", 2); },
         ParseResult::kDuplicateLanguage},
        {"entry table offset", [](Bytes& b, auto de, auto, auto) { Put32(b, de + 8, 0xFFFFFFF0u); },
         ParseResult::kBadEntryTable},
        {"entry count overflows", [](Bytes& b, auto de, auto, auto) { Put32(b, de + 12, 0x10000001u); },
         ParseResult::kBadEntryTable},
        {"source offset", [](Bytes& b, auto, auto, auto e) { Put32(b, e, 0xFFFFFFFFu); }, ParseResult::kBadText},
        {"source length overflows", [](Bytes& b, auto, auto, auto e) { Put32(b, e + 4, 0xFFFFFFFFu); },
         ParseResult::kBadText},
        {"translation length", [](Bytes& b, auto, auto, auto e) { Put32(b, e + 12, 0x7FFFFFFFu); },
         ParseResult::kBadText},
        {"missing terminator",
         [](Bytes& b, auto, auto, auto e) {
             const uint32_t at = b[e + 8] | b[e + 9] << 8;
             const uint32_t length = b[e + 12];
             b[at + length] = 'x';
         },
         ParseResult::kBadText},
        {"zero inside a text",
         [](Bytes& b, auto, auto, auto e) {
             const uint32_t at = b[e + 8] | b[e + 9] << 8;
             b[at] = 0;
         },
         ParseResult::kBadText},
        {"unsorted",
         [](Bytes& b, auto, auto, auto e) {
             // Swap the first two entry records.
             std::swap_ranges(b.begin() + static_cast<std::ptrdiff_t>(e),
                              b.begin() + static_cast<std::ptrdiff_t>(e + kEntryRecordSize),
                              b.begin() + static_cast<std::ptrdiff_t>(e + kEntryRecordSize));
         },
         ParseResult::kUnsorted},
        {"duplicate source",
         [](Bytes& b, auto, auto, auto e) {
             std::copy_n(b.begin() + static_cast<std::ptrdiff_t>(e), 8,
                         b.begin() + static_cast<std::ptrdiff_t>(e + kEntryRecordSize));
         },
         ParseResult::kUnsorted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes damaged = good;
        c.damage(damaged, de, fr, firstEntry);
        Parsed parsed(damaged);
        EXPECT_EQ(parsed.Result(), c.expected);
        EXPECT_EQ(parsed.Catalog().LanguageCount(), 0u);
        EXPECT_FALSE(parsed.Catalog().Find(0, "Color"));
    }
}

LeadByteTable NoLeadBytes() {
    return {};
}

// Bytes 0x81 to 0x9F and 0xE0 to 0xFC lead, as in Japanese Shift-JIS (code page 932).
LeadByteTable ShiftJisLeadBytes() {
    LeadByteTable table = {};
    for (int b = 0x81; b <= 0x9F; ++b)
        table[b] = true;
    for (int b = 0xE0; b <= 0xFC; ++b)
        table[b] = true;
    return table;
}

TEST(TextFit, CutsOnlyBetweenCharacters) {
    const LeadByteTable sjis = ShiftJisLeadBytes();
    struct Case {
        std::string text;
        std::size_t limit;
        const LeadByteTable* leads;
        std::size_t expected;
    };
    const LeadByteTable single = NoLeadBytes();
    const Case cases[] = {
        {"abcdef", 10, &single, 6},
        {"abcdef", 6, &single, 6},
        {"abcdef", 4, &single, 4},
        {"abcdef", 0, &single, 0},
        {"\x82\xA0\x82\xA2", 4, &sjis, 4}, // two double-byte characters, just fitting
        {"\x82\xA0\x82\xA2", 3, &sjis, 2}, // the second would be split: left out whole
        {"a\x82\xA0", 2, &sjis, 1},
        {"\x82\xA0"
         "abc",
         3, &sjis, 3},
        {"ab\x82", 3, &sjis, 3}, // a lone lead byte at the end is one character
        {"\xDC"
         "bernehmen",
         3, &single, 3}, // in code page 1252 every byte is a character
        {"\xDC"
         "bernehmen",
         3, &sjis, 3}, // 0xDC is no lead byte in 932 either
        {"\xE0\x40\xE0\x40\xE0\x40", 5, &sjis, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text.size() << " bytes into " << c.limit);
        EXPECT_EQ(FittingLength(c.text, c.limit, *c.leads), c.expected);
    }
}

TEST(TextFit, CopyNeverWritesPastTheBuffer) {
    const LeadByteTable single = NoLeadBytes();
    const LeadByteTable sjis = ShiftJisLeadBytes();
    const std::string longText(300, 'x');
    for (std::size_t capacity : {1u, 2u, 8u, 260u}) {
        SCOPED_TRACE(capacity);
        std::unique_ptr<char[]> buffer(new char[capacity]);
        std::memset(buffer.get(), '#', capacity);
        EXPECT_FALSE(CopyFitted(buffer.get(), capacity, longText, single));
        EXPECT_EQ(std::strlen(buffer.get()), capacity - 1);
    }
    char exact[6];
    EXPECT_TRUE(CopyFitted(exact, sizeof exact, "Farbe", single));
    EXPECT_STREQ(exact, "Farbe");
    char narrow[4] = {'#', '#', '#', '#'};
    EXPECT_TRUE(CopyFitted(narrow, sizeof narrow, "a\x82\xA0", sjis));
    EXPECT_STREQ(narrow, "a\x82\xA0");
    char split[3] = {'#', '#', '#'};
    EXPECT_FALSE(CopyFitted(split, sizeof split, "a\x82\xA0", sjis));
    EXPECT_STREQ(split, "a"); // the lead byte is not left without its trail byte
    EXPECT_FALSE(CopyFitted(nullptr, 0, "a", single));
}

TEST(LanguageChoice, FollowsTheRequestThenTheUserInterfaceLanguage) {
    Parsed parsed(BuildFile(kTwoLanguages));
    ASSERT_EQ(parsed.Result(), ParseResult::kOk);
    struct Case {
        const char* requested;
        uint16_t uiLanguage;
        uint16_t codePage;
        int expected; // -1: none
    };
    const Case cases[] = {
        {"", 0x0407, 1252, 0},  // German (Germany)
        {"", 0x0807, 1252, 0},  // German (Switzerland): the primary language counts
        {"", 0x040C, 1252, 1},  // French
        {"", 0x0409, 1252, -1}, // English: the texts as they are
        {"", 0x0411, 932, -1},  // Japanese
        {"", 0x0407, 1250, -1}, // German texts on a system that cannot show them
        {"fr", 0x0407, 1252, 1}, {"DE", 0x040C, 1252, 0},   {"en", 0x0407, 1252, -1},
        {"d", 0x0407, 1252, -1}, {"deu", 0x0407, 1252, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.requested << "' " << std::hex << c.uiLanguage);
        const auto chosen = ChooseLanguage(parsed.Catalog(), c.requested, c.uiLanguage, c.codePage);
        EXPECT_EQ(chosen ? static_cast<int>(*chosen) : -1, c.expected);
    }
    EXPECT_FALSE(ChooseLanguage(MessageCatalog(), "", 0x0407, 1252));
}

} // namespace
} // namespace tolvan::msg
