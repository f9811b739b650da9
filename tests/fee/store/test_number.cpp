#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fee/store/Number.h"

namespace {

using fee::listStyle;
using fee::printStyle;
using fee::Width;

std::string dbl(double v) {
    return printStyle(v, Width::Double, ",");
}
std::string sgl(double v) {
    return printStyle(v, Width::Single, ",");
}
std::string i16(double v) {
    return printStyle(v, Width::Int16, ",");
}

TEST(PrintStyle, whole_and_fractional_values) {
    EXPECT_EQ(i16(1), " 1 ");
    EXPECT_EQ(i16(200), " 200 ");
    EXPECT_EQ(i16(-3), "-3 ");
    EXPECT_EQ(i16(0), " 0 ");
    EXPECT_EQ(i16(-32768), "-32768 ");
    EXPECT_EQ(dbl(1625), " 1625 ");
    EXPECT_EQ(dbl(12.5), " 12,5 ");
    EXPECT_EQ(dbl(0.2935), " ,2935 ");
    EXPECT_EQ(dbl(-0.5), "-,5 ");
    EXPECT_EQ(dbl(29350), " 29350 ");
    EXPECT_EQ(dbl(100.25), " 100,25 ");
    EXPECT_EQ(sgl(12.5), " 12,5 ");
}

TEST(PrintStyle, separator_comes_from_the_caller) {
    EXPECT_EQ(printStyle(12.5, Width::Double, "."), " 12.5 ");
    EXPECT_EQ(printStyle(0.2935, Width::Single, "."), " .2935 ");
}

TEST(PrintStyle, negative_zero_is_zero) {
    EXPECT_EQ(dbl(-0.0), " 0 ");
    EXPECT_EQ(sgl(-0.0), " 0 ");
}

TEST(PrintStyle, single_is_cut_to_seven_digits) {
    // 0.1 as a single is 0.100000001490116...; seven digits leave 0.1.
    EXPECT_EQ(sgl(0.1), " ,1 ");
    EXPECT_EQ(sgl(1.0 / 3.0), " ,3333333 ");
    EXPECT_EQ(sgl(2.0 / 3.0), " ,6666667 ");
    EXPECT_EQ(sgl(9999999), " 9999999 ");
    EXPECT_EQ(sgl(1234567.4), " 1234567 ");
}

TEST(PrintStyle, double_is_cut_to_fifteen_digits) {
    EXPECT_EQ(dbl(0.1), " ,1 ");
    EXPECT_EQ(dbl(0.55 * 100), " 55 ");
    EXPECT_EQ(dbl(1.0 / 3.0), " ,333333333333333 ");
    EXPECT_EQ(dbl(999999999999999), " 999999999999999 ");
    EXPECT_EQ(dbl(123456789012.5), " 123456789012,5 ");
}

TEST(PrintStyle, exponent_form_for_large_values) {
    EXPECT_EQ(sgl(10000000), " 1E+07 ");
    EXPECT_EQ(sgl(-10000000), "-1E+07 ");
    EXPECT_EQ(sgl(16777217), " 1,677722E+07 ");
    EXPECT_EQ(sgl(16777216), " 1,677722E+07 ");
    EXPECT_EQ(sgl(12345678), " 1,234568E+07 ");
    // 9999999.6 as a single is 10000000: the cut value decides the form.
    EXPECT_EQ(sgl(9999999.6), " 1E+07 ");
    EXPECT_EQ(dbl(1e15), " 1E+15 ");
    EXPECT_EQ(dbl(1e100), " 1E+100 ");
    EXPECT_EQ(dbl(10000000), " 10000000 ");
    // 15 nines round up past the precision.
    EXPECT_EQ(dbl(9999999999999999.0), " 1E+16 ");
}

TEST(PrintStyle, exponent_form_for_small_values) {
    EXPECT_EQ(dbl(0.0001), " ,0001 ");
    EXPECT_EQ(dbl(0.00001), " 1E-05 ");
    EXPECT_EQ(dbl(-0.000025), "-2,5E-05 ");
    EXPECT_EQ(sgl(0.00001), " 1E-05 ");
}

TEST(PrintStyle, ties_at_the_cut_go_away_from_zero) {
    EXPECT_EQ(sgl(123456.25), " 123456,3 ");
    EXPECT_EQ(sgl(-123456.25), "-123456,3 ");
    EXPECT_EQ(sgl(123456.75), " 123456,8 ");
    // Both are exact singles; half to even would give 1234568 twice.
    EXPECT_EQ(sgl(1234567.5), " 1234568 ");
    EXPECT_EQ(sgl(1234568.5), " 1234569 ");
    EXPECT_EQ(dbl(123456789012344.5), " 123456789012345 ");
    EXPECT_EQ(dbl(-123456789012344.5), "-123456789012345 ");
    // 0.15 as a double lies just below 0.15; the exact value decides, not a tie.
    EXPECT_EQ(printStyle(0.15, Width::Double, ","), " ,15 ");
    // 2^-20 = 9.5367431640625E-07 exactly: cut to 15 digits is exact too.
    EXPECT_EQ(dbl(std::ldexp(1.0, -20)), " 9,5367431640625E-07 ");
    // 2^-30 = 9.31322574615478515625E-10: the 16th digit is 5 followed by more digits.
    EXPECT_EQ(dbl(std::ldexp(1.0, -30)), " 9,31322574615479E-10 ");
    // 2^-24 = 5.9604644775390625E-08: the digit after the 15th is 2, cut down.
    EXPECT_EQ(dbl(std::ldexp(1.0, -24)), " 5,96046447753906E-08 ");
    // 2^-40 = 9.094947017729282379150390625E-13: the 16th digit is 3, cut down.
    EXPECT_EQ(dbl(std::ldexp(1.0, -40)), " 9,09494701772928E-13 ");
}

TEST(ListStyle, bare_digits_with_a_period) {
    EXPECT_EQ(listStyle(29350), "29350");
    EXPECT_EQ(listStyle(0.5), ".5");
    EXPECT_EQ(listStyle(12.25), "12.25");
    EXPECT_EQ(listStyle(-4), "-4");
    EXPECT_EQ(listStyle(0), "0");
}

TEST(RoundHalfEven, ties_to_even_on_the_exact_value) {
    EXPECT_EQ(fee::roundHalfEven(2.5), 2);
    EXPECT_EQ(fee::roundHalfEven(3.5), 4);
    EXPECT_EQ(fee::roundHalfEven(1605.5), 1606);
    EXPECT_EQ(fee::roundHalfEven(-2.5), -2);
    EXPECT_EQ(fee::roundHalfEven(-3.5), -4);
    EXPECT_EQ(fee::roundHalfEven(0.5), 0);
    EXPECT_EQ(fee::roundHalfEven(2.4999999999999996), 2);
    EXPECT_EQ(fee::roundHalfEven(2.5000000000000004), 3);
    EXPECT_EQ(fee::roundHalfEven(0.55 * 100), 55);
    EXPECT_EQ(fee::roundHalfEven(1e300), 1e300);
}

TEST(ToInt16, range_and_rounding) {
    EXPECT_EQ(fee::toInt16(32767.4), std::optional<std::int16_t>(32767));
    EXPECT_EQ(fee::toInt16(32767.5), std::nullopt);  // rounds to 32768
    EXPECT_EQ(fee::toInt16(-32768.5), std::optional<std::int16_t>(-32768));
    EXPECT_EQ(fee::toInt16(-32769), std::nullopt);
    EXPECT_EQ(fee::toInt16(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    EXPECT_EQ(fee::toInt16(1250.5), std::optional<std::int16_t>(1250));
}

TEST(ParseFieldNumber, accepted_shapes) {
    EXPECT_EQ(fee::parseFieldNumber(""), 0.0);
    EXPECT_EQ(fee::parseFieldNumber("  \t "), 0.0);
    EXPECT_EQ(fee::parseFieldNumber(" 1625 "), 1625.0);
    EXPECT_EQ(fee::parseFieldNumber("\t-3\t"), -3.0);
    EXPECT_EQ(fee::parseFieldNumber("+7"), 7.0);
    EXPECT_EQ(fee::parseFieldNumber("12.5"), 12.5);
    EXPECT_EQ(fee::parseFieldNumber(".2935"), 0.2935);
    EXPECT_EQ(fee::parseFieldNumber("-.5"), -0.5);
    EXPECT_EQ(fee::parseFieldNumber("1E+07"), 1e7);
    EXPECT_EQ(fee::parseFieldNumber("1,677722E+07").has_value(), false);
    EXPECT_EQ(fee::parseFieldNumber("1.677722E+07"), 1.677722e7);
    EXPECT_EQ(fee::parseFieldNumber("2.5e-3"), 2.5e-3);
    EXPECT_EQ(fee::parseFieldNumber("1E5"), 1e5);
}

TEST(ParseFieldNumber, rejected_shapes) {
    for (const char* bad : {"12abc", "1 234", "abc", "12.", ".", "-", "+", "1E", "1E+", "E5", "--1",
                            "1.2.3", "0x10", "inf", "nan", "1e400", "12,5"}) {
        EXPECT_EQ(fee::parseFieldNumber(bad), std::nullopt) << bad;
    }
}

}  // namespace
