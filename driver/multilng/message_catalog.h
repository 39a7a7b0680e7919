// Reads the message file Tolvan.msg (layout in FORMAT.md) from a block of bytes and finds the
// translation of a text. No Windows API here: the parser is also built natively for sanitizers
// and fuzzing. Everything is checked once in Parse, so lookups can rely on every offset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tolvan::msg {

inline constexpr std::size_t kHeaderSize = 16;
inline constexpr std::size_t kLanguageRecordSize = 16;
inline constexpr std::size_t kEntryRecordSize = 16;
inline constexpr uint16_t kVersion = 1;

enum class ParseResult {
    kOk,
    kTooShort,
    kBadMagic,
    kBadVersion,
    kSizeMismatch,
    kBadLanguageTable,
    kDuplicateLanguage,
    kBadEntryTable,
    kBadText,
    kUnsorted,
};

struct Language {
    char code[5] = {}; // zero-terminated
    uint16_t primaryLanguage = 0;
    uint16_t codePage = 0;
    uint32_t entriesOffset = 0;
    uint32_t entryCount = 0;
};

class MessageCatalog {
public:
    // The bytes must stay alive and unchanged while the catalog is used. On failure the catalog is empty.
    ParseResult Parse(const uint8_t* data, std::size_t size);
    void Clear();

    std::size_t LanguageCount() const { return m_languages.size(); }
    const Language& LanguageAt(std::size_t index) const { return m_languages[index]; }

    // The translation of source in the given language, or nothing when the file has none.
    std::optional<std::string_view> Find(std::size_t language, std::string_view source) const;

private:
    std::string_view Text(uint32_t offset, uint32_t length) const;

    const uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
    std::vector<Language> m_languages;
};

} // namespace tolvan::msg
