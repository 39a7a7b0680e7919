// Bounded strings in fixed-size fields. Every field here is a heap block of exactly its size, so AddressSanitizer
// stops any access one byte past it.
#include "settings/fixed_string.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace tolvan {
namespace {

using namespace std::string_view_literals;

class Field {
public:
    Field(std::size_t size, char fill) : m_size(size), m_bytes(new char[size]) {
        std::memset(m_bytes.get(), fill, size);
    }
    explicit Field(std::string_view bytes) : Field(bytes.size(), 0) {
        std::memcpy(m_bytes.get(), bytes.data(), bytes.size());
    }
    char* data() { return m_bytes.get(); }
    std::size_t size() const { return m_size; }
    std::string Bytes() const { return std::string(m_bytes.get(), m_size); }

private:
    std::size_t m_size;
    std::unique_ptr<char[]> m_bytes;
};

TEST(FixedString, ReadStopsAtTheTerminatorOrTheFieldEnd) {
    struct Case {
        std::string_view bytes;
        std::string_view text;
    };
    const Case cases[] = {
        {"abc\0xyz"sv, "abc"},      {"abcdefgh"sv, "abcdefgh"}, // no terminator: exactly the field's size
        {"abcdefg\0"sv, "abcdefg"}, {"\0bcdefgh"sv, ""},        {"a"sv, "a"}, {""sv, ""},
    };
    for (const Case& c : cases) {
        Field field(c.bytes);
        SCOPED_TRACE(testing::Message() << "field of " << field.size() << " bytes");
        EXPECT_EQ(ReadField(field.data(), field.size()), c.text);
    }
}

TEST(FixedString, WriteKeepsATerminatorAndZeroesTheTail) {
    struct Case {
        std::size_t size;
        std::string_view text;
        std::string_view bytes; // the whole field afterwards
        bool fits;
    };
    const Case cases[] = {
        {8, "abc", "abc\0\0\0\0\0"sv, true},
        {8, "", "\0\0\0\0\0\0\0\0"sv, true},
        {8, "abcdefg", "abcdefg\0"sv, true},
        {8, "abcdefgh", "abcdefg\0"sv, false},
        {8, "abcdefghijklmnop", "abcdefg\0"sv, false},
        {1, "", "\0"sv, true},
        {1, "a", "\0"sv, false},
        {0, "", ""sv, true},
        {0, "a", ""sv, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << "\" into " << c.size << " bytes");
        Field field(c.size, '\xAA');
        EXPECT_EQ(WriteField(field.data(), field.size(), c.text), c.fits);
        EXPECT_EQ(field.Bytes(), c.bytes);
    }
}

TEST(FixedString, WriteFromAViewIntoTheSameField) {
    // A caller may hand back a view of the field's own text, trimmed or not: source and destination overlap.
    struct Case {
        std::string_view before;
        std::size_t from; // the text is the field's own string from this offset
        std::string_view after;
        bool fits;
    };
    const Case cases[] = {
        {"  abcd\0z"sv, 2, "abcd\0\0\0\0"sv, true}, {"abcd\0xyz"sv, 0, "abcd\0\0\0\0"sv, true},
        {"abcdefgh"sv, 0, "abcdefg\0"sv, false}, // unterminated: its own text no longer fits
        {"abcdefgh"sv, 1, "bcdefgh\0"sv, true},     {"abcdefgh"sv, 8, "\0\0\0\0\0\0\0\0"sv, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from offset " << c.from);
        Field field(c.before);
        const std::string_view text = ReadField(field.data(), field.size()).substr(c.from);
        EXPECT_EQ(WriteField(field.data(), field.size(), text), c.fits);
        EXPECT_EQ(field.Bytes(), c.after);
    }
}

TEST(FixedString, ArrayOverloadsUseTheArraySize) {
    struct {
        char before = 'B';
        char field[4] = {'w', 'x', 'y', 'z'};
        char after = 'A';
    } block;
    EXPECT_EQ(ReadField(block.field), "wxyz");
    EXPECT_FALSE(WriteField(block.field, "abcdef"));
    EXPECT_EQ(std::string_view(block.field, 4), "abc\0"sv);
    EXPECT_EQ(block.before, 'B');
    EXPECT_EQ(block.after, 'A');
}

} // namespace
} // namespace tolvan
