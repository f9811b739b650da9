#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fee/store/TextFile.h"
#include "support/TempWinRoot.h"

namespace {

using fee::FieldReader;
using fee::LineWriter;
using fee::Width;

std::vector<std::string> allTexts(const std::string& content) {
    FieldReader r(content);
    std::vector<std::string> out;
    while (auto t = r.text()) out.push_back(*t);
    return out;
}

using Texts = std::vector<std::string>;

TEST(FieldReader, line_ends_of_every_kind) {
    EXPECT_EQ(allTexts("a\r\nb\r\n"), (Texts{"a", "b"}));
    EXPECT_EQ(allTexts("a\rb\rc"), (Texts{"a", "b", "c"}));
    EXPECT_EQ(allTexts("a\nb\n"), (Texts{"a", "b"}));
    EXPECT_EQ(allTexts("a\r\n\r\nb\r\n"), (Texts{"a", "", "b"}));
    EXPECT_EQ(allTexts("a\n\rb"), (Texts{"a", "", "b"}));
    EXPECT_EQ(allTexts("\r\n"), (Texts{""}));
    EXPECT_EQ(allTexts(""), (Texts{}));
    EXPECT_EQ(allTexts("last"), (Texts{"last"}));
}

TEST(FieldReader, commas_split_and_blanks) {
    EXPECT_EQ(allTexts("a,b\r\nc\r\n"), (Texts{"a", "b", "c"}));
    EXPECT_EQ(allTexts("  \tΑνδρέας  \r\n"), (Texts{"Ανδρέας  "}));
    EXPECT_EQ(allTexts(" \r\n"), (Texts{""}));
    EXPECT_EQ(allTexts("a,\r\n"), (Texts{"a", ""}));
}

TEST(FieldReader, quoted_fields) {
    EXPECT_EQ(allTexts("\"a,b\"\r\nc\r\n"), (Texts{"a,b", "c"}));
    EXPECT_EQ(allTexts("  \"x\" junk,y\r\n"), (Texts{"x", "y"}));
    EXPECT_EQ(allTexts("\"two\r\nlines\"\r\nz\r\n"), (Texts{"two\r\nlines", "z"}));
    EXPECT_EQ(allTexts("\"open"), (Texts{"open"}));
    EXPECT_EQ(allTexts("a\"b\r\n"), (Texts{"a\"b"}));
}

TEST(FieldReader, numbers_and_non_numbers) {
    FieldReader r(" 1625 \r\n12abc\r\n-3\r\n\r\n ,5 \r\n 2,5\r\n");
    EXPECT_EQ(r.number(), 1625.0);
    EXPECT_EQ(r.number(), 0.0);  // not a number, but consumed
    EXPECT_EQ(r.number(), -3.0);
    EXPECT_EQ(r.number(), 0.0);  // blank line
    EXPECT_EQ(r.number(), 0.0);  // "" before the comma
    EXPECT_EQ(r.number(), 5.0);  // "5 " after it
    EXPECT_EQ(r.number(), 2.0);
    EXPECT_EQ(r.number(), 5.0);
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(r.number(), std::nullopt);
}

TEST(FieldReader, sixteen_bit_and_single) {
    FieldReader r("2.5\r\n3.5\r\n40000\r\n-32768\r\n0.1\r\n");
    EXPECT_EQ(r.int16(), std::optional<std::int16_t>(2));
    EXPECT_EQ(r.int16(), std::optional<std::int16_t>(4));
    EXPECT_EQ(r.int16(), std::optional<std::int16_t>(0));
    EXPECT_EQ(r.int16(), std::optional<std::int16_t>(-32768));
    EXPECT_EQ(r.single(), 0.1f);
    EXPECT_EQ(r.int16(), std::nullopt);
    EXPECT_EQ(r.single(), std::nullopt);
}

TEST(FieldReader, crlf_at_end_adds_no_field) {
    FieldReader r("1\r\n");
    EXPECT_EQ(r.number(), 1.0);
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(r.text(), std::nullopt);
}

TEST(LineWriter, lines_numbers_and_bytes) {
    LineWriter w(",");
    w.line("Α").number(1.0, Width::Int16).endLine();
    w.text("X").number(130.0, Width::Double).text("=").number(12.5, Width::Single).endLine();
    w.number(std::optional<double>{}, Width::Double).endLine();
    w.line("");
    EXPECT_EQ(w.utf8(), "Α\r\n 1 \r\nX 130 = 12,5 \r\n\r\n\r\n");
    EXPECT_EQ(w.bytes(), std::optional<std::string>("\xC1\r\n 1 \r\nX 130 = 12,5 \r\n\r\n\r\n"));
    EXPECT_EQ(w.bytes(), testing_support::cp1253("Α\r\n 1 \r\nX 130 = 12,5 \r\n\r\n\r\n"));
}

TEST(LineWriter, euro_sign_and_unencodable_text) {
    LineWriter euro(".");
    euro.line("€").number(0.5, Width::Double).endLine();
    EXPECT_EQ(euro.bytes(), std::optional<std::string>("\x80\r\n .5 \r\n"));

    LineWriter bad(",");
    bad.line("Ж");  // Cyrillic: Windows-1253 has no place for it
    EXPECT_EQ(bad.bytes(), std::nullopt);
}

}  // namespace
