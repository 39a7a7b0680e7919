#include "driver/multilng/message_catalog.h"

#include <cstring>

namespace tolvan::msg {
namespace {

uint16_t U16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

// Whether [offset, offset + length) lies inside a block of size bytes, without overflow.
bool Inside(uint64_t offset, uint64_t length, std::size_t size) {
    return offset <= size && length <= size - offset;
}

// A text must fit with its terminator and hold no zero byte of its own.
bool ValidText(const uint8_t* data, std::size_t size, uint32_t offset, uint32_t length) {
    if (!Inside(offset, uint64_t{length} + 1, size))
        return false;
    return data[offset + length] == 0 && std::memchr(data + offset, 0, length) == nullptr;
}

struct EntryRecord {
    uint32_t sourceOffset, sourceLength, translationOffset, translationLength;
};

EntryRecord ReadEntry(const uint8_t* p) {
    return {U32(p), U32(p + 4), U32(p + 8), U32(p + 12)};
}

int Compare(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    const int c = n ? std::memcmp(a.data(), b.data(), n) : 0; // memcmp compares unsigned bytes
    if (c != 0)
        return c;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

} // namespace

void MessageCatalog::Clear() {
    m_data = nullptr;
    m_size = 0;
    m_languages.clear();
}

ParseResult MessageCatalog::Parse(const uint8_t* data, std::size_t size) {
    Clear();
    if (data == nullptr || size < kHeaderSize)
        return ParseResult::kTooShort;
    if (std::memcmp(data, "TLMS", 4) != 0)
        return ParseResult::kBadMagic;
    if (U16(data + 4) != kVersion)
        return ParseResult::kBadVersion;
    if (U32(data + 8) != size)
        return ParseResult::kSizeMismatch;
    const uint16_t count = U16(data + 6);
    if (!Inside(kHeaderSize, uint64_t{count} * kLanguageRecordSize, size))
        return ParseResult::kBadLanguageTable;

    std::vector<Language> languages(count);
    for (uint16_t i = 0; i < count; ++i) {
        const uint8_t* r = data + kHeaderSize + std::size_t{i} * kLanguageRecordSize;
        Language& language = languages[i];
        std::memcpy(language.code, r, 4);
        language.code[4] = '\0';
        language.primaryLanguage = U16(r + 4);
        language.codePage = U16(r + 6);
        language.entriesOffset = U32(r + 8);
        language.entryCount = U32(r + 12);
        if (language.code[0] == '\0')
            return ParseResult::kBadLanguageTable;
        for (uint16_t j = 0; j < i; ++j) {
            if (std::memcmp(languages[j].code, language.code, sizeof language.code) == 0)
                return ParseResult::kDuplicateLanguage;
        }
        if (!Inside(language.entriesOffset, uint64_t{language.entryCount} * kEntryRecordSize, size))
            return ParseResult::kBadEntryTable;
        std::string_view previous;
        for (uint32_t e = 0; e < language.entryCount; ++e) {
            const EntryRecord entry = ReadEntry(data + language.entriesOffset + std::size_t{e} * kEntryRecordSize);
            if (!ValidText(data, size, entry.sourceOffset, entry.sourceLength) ||
                !ValidText(data, size, entry.translationOffset, entry.translationLength))
                return ParseResult::kBadText;
            const std::string_view source(reinterpret_cast<const char*>(data) + entry.sourceOffset, entry.sourceLength);
            // Strictly ascending, so that the binary search in Find sees each text at most once.
            if (e > 0 && Compare(previous, source) >= 0)
                return ParseResult::kUnsorted;
            previous = source;
        }
    }
    m_data = data;
    m_size = size;
    m_languages = std::move(languages);
    return ParseResult::kOk;
}

std::string_view MessageCatalog::Text(uint32_t offset, uint32_t length) const {
    return {reinterpret_cast<const char*>(m_data) + offset, length};
}

std::optional<std::string_view> MessageCatalog::Find(std::size_t language, std::string_view source) const {
    if (language >= m_languages.size())
        return std::nullopt;
    const Language& l = m_languages[language];
    std::size_t low = 0;
    std::size_t high = l.entryCount;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        const EntryRecord entry = ReadEntry(m_data + l.entriesOffset + middle * kEntryRecordSize);
        const int c = Compare(Text(entry.sourceOffset, entry.sourceLength), source);
        if (c == 0)
            return Text(entry.translationOffset, entry.translationLength);
        if (c < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return std::nullopt;
}

} // namespace tolvan::msg
