#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/Cp1253.h"

using platform::cp1253ToUtf8;
using platform::utf8ToCp1253;

namespace {

struct Pair {
    const char* bytes;
    const char* utf8;
};

// Written out from the published code page, not produced by the code under test.
const Pair kKnown[] = {
    {"\x80", "€"}, {"\x82", "‚"}, {"\x83", "ƒ"}, {"\x84", "„"}, {"\x85", "…"},      {"\x89", "‰"},
    {"\x8B", "‹"}, {"\x91", "‘"}, {"\x92", "’"}, {"\x93", "“"}, {"\x94", "”"},      {"\x95", "•"},
    {"\x96", "–"}, {"\x97", "—"}, {"\x99", "™"}, {"\x9B", "›"}, {"\xA0", "\u00A0"}, {"\xA1", "΅"},
    {"\xA2", "Ά"}, {"\xA3", "£"}, {"\xA9", "©"}, {"\xAB", "«"}, {"\xAD", "\u00AD"}, {"\xAF", "―"},
    {"\xB0", "°"}, {"\xB4", "΄"}, {"\xB5", "µ"}, {"\xB7", "·"}, {"\xB8", "Έ"},      {"\xB9", "Ή"},
    {"\xBA", "Ί"}, {"\xBB", "»"}, {"\xBC", "Ό"}, {"\xBD", "½"}, {"\xBE", "Ύ"},      {"\xBF", "Ώ"},
    {"\xC0", "ΐ"}, {"\xD1", "Ρ"}, {"\xD3", "Σ"}, {"\xDA", "Ϊ"}, {"\xDB", "Ϋ"},      {"\xDC", "ά"},
    {"\xDD", "έ"}, {"\xDE", "ή"}, {"\xDF", "ί"}, {"\xE0", "ΰ"}, {"\xF1", "ρ"},      {"\xF2", "ς"},
    {"\xF3", "σ"}, {"\xFA", "ϊ"}, {"\xFB", "ϋ"}, {"\xFC", "ό"}, {"\xFD", "ύ"},      {"\xFE", "ώ"},
};

TEST(Cp1253, known_characters_both_ways) {
    for (const auto& [bytes, utf8] : kKnown) {
        SCOPED_TRACE(utf8);
        EXPECT_EQ(cp1253ToUtf8(bytes), utf8);
        EXPECT_EQ(utf8ToCp1253(utf8), std::string(bytes));
    }
}

TEST(Cp1253, greek_alphabets_in_order) {
    const std::string upper = "ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ";
    const std::string upperBytes =
        "\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD1"
        "\xD3\xD4\xD5\xD6\xD7\xD8\xD9";
    const std::string lower = "αβγδεζηθικλμνξοπρςστυφχψω";
    const std::string lowerBytes =
        "\xE1\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF\xF0\xF1"
        "\xF2\xF3\xF4\xF5\xF6\xF7\xF8\xF9";
    EXPECT_EQ(utf8ToCp1253(upper), upperBytes);
    EXPECT_EQ(cp1253ToUtf8(upperBytes), upper);
    EXPECT_EQ(utf8ToCp1253(lower), lowerBytes);
    EXPECT_EQ(cp1253ToUtf8(lowerBytes), lower);
}

TEST(Cp1253, every_defined_greek_byte_round_trips_to_a_distinct_character) {
    std::set<std::string> seen;
    for (int b = 0xB8; b <= 0xFE; ++b) {
        if (b == 0xD2) continue;
        const std::string byte(1, static_cast<char>(b));
        const std::string text = cp1253ToUtf8(byte);
        SCOPED_TRACE(b);
        EXPECT_NE(text, "\uFFFD");
        EXPECT_TRUE(seen.insert(text).second);
        EXPECT_EQ(utf8ToCp1253(text), byte);
    }
}

TEST(Cp1253, undefined_bytes_decode_to_replacement_character) {
    for (unsigned char b : {0x81, 0x88, 0x8A, 0x8C, 0x8D, 0x8E, 0x8F, 0x90, 0x98, 0x9A, 0x9C, 0x9D,
                            0x9E, 0x9F, 0xAA, 0xD2, 0xFF}) {
        SCOPED_TRACE(static_cast<int>(b));
        EXPECT_EQ(cp1253ToUtf8(std::string("a") + static_cast<char>(b) + "b"),
                  "a\xEF\xBF\xBD"
                  "b");
    }
}

TEST(Cp1253, ascii_and_line_ends_pass_through) {
    const std::string ascii("abc XYZ 0123,.\"\r\n\t\0end", 22);
    EXPECT_EQ(cp1253ToUtf8(ascii), ascii);
    EXPECT_EQ(utf8ToCp1253(ascii), ascii);
    EXPECT_EQ(utf8ToCp1253(""), std::string());
    EXPECT_EQ(utf8ToCp1253("Τιμή: 12,50 €\r\n"), std::string("\xD4\xE9\xEC\xDE: 12,50 \x80\r\n"));
}

TEST(Cp1253, refuses_what_the_code_page_cannot_hold) {
    for (const char* text : {"ŝ", "中", "Ελλάδα 中", "😀", "ä", "\uFFFD", "Ё"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(utf8ToCp1253(text).has_value());
        EXPECT_FALSE(platform::cp1253CanEncode(text));
    }
    EXPECT_TRUE(platform::cp1253CanEncode("€ Ά ώ ΐ"));
}

TEST(Cp1253, refuses_invalid_utf8) {
    for (const char* text : {"\xC3", "a\xC1", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",
                             "\xF5\x80\x80\x80", "\x80", "\xCE"}) {
        EXPECT_FALSE(utf8ToCp1253(text).has_value()) << testing::PrintToString(std::string(text));
    }
}

}  // namespace
