#pragma once
// The field-by-field reading rule and the line writer of the fee program's files.
//
// Reading: a field ends at a comma or at the end of a line (CR LF, lone CR or lone LF); a blank
// line is one empty field. A text field loses its leading blanks and keeps its trailing ones;
// one that begins with a double quote runs to the next double quote (the quotes are dropped).
// Reading past the last field is an error the caller sees (an empty optional).
//
// Writing: Windows-1253, every line ended by CR LF, numbers in print style.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fee/store/Number.h"

namespace fee {

class FieldReader {
public:
    // utf8: the file's contents already decoded from Windows-1253.
    explicit FieldReader(std::string utf8);

    bool atEnd() const;
    std::optional<std::string> text();
    // A field that is not a number reads as 0 (it is still consumed).
    std::optional<double> number();
    std::optional<float> single();
    // Rounded half to even; 0 when out of range.
    std::optional<std::int16_t> int16();

private:
    std::optional<std::string> rawField();
    std::string content_;
    std::size_t pos_ = 0;
};

class LineWriter {
public:
    explicit LineWriter(std::string decimalSeparator);

    LineWriter& text(std::string_view utf8);
    LineWriter& number(double value, Width width);
    // A value that was never set is written as nothing at all.
    LineWriter& number(std::optional<double> value, Width width);
    LineWriter& endLine();
    // text(...) then endLine().
    LineWriter& line(std::string_view utf8);

    const std::string& utf8() const { return out_; }
    // Empty when a character cannot be stored in Windows-1253.
    std::optional<std::string> bytes() const;

private:
    std::string separator_;
    std::string out_;
};

}  // namespace fee
