#pragma once
// Numbers as the fee program writes and reads them in its files.
//
// Print style: a sign character (space or "-"), the digits with the user's decimal separator,
// no trailing zeros, no zero before the separator below 1, then one trailing space. Values are
// cut to 7 significant digits (singles) or 15 (doubles), ties at the cut away from zero; the
// exponent form ("1E+07", "1,677722E+07", "1E-05") is used when the decimal exponent of the cut
// value is at least the precision or below -4. List style: the bare digits with a period.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fee {

enum class Width { Int16, Single, Double };

// Nearest whole number, ties to the even one (2.5 -> 2, 3.5 -> 4), on the exact double.
double roundHalfEven(double value);

// roundHalfEven, when it fits a signed 16-bit integer.
std::optional<std::int16_t> toInt16(double value);

// For Width::Single the value is first rounded to float; for Int16 it must already be whole.
std::string printStyle(double value, Width width, std::string_view decimalSeparator);

std::string listStyle(double value);

// A numeric field as the files hold it: blanks (space, TAB) around it ignored, then
// [+-]digits[.digits][E[+-]digits] or [+-].digits[E[+-]digits]. An empty field is 0.
// Anything else is not a number.
std::optional<double> parseFieldNumber(std::string_view field);

}  // namespace fee
