#include "fee/store/Number.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace fee {

double roundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    const double down = std::floor(value);
    // value - floor(value) is exact for every double, so the tie test sees the true fraction.
    const double fraction = value - down;
    if (fraction > 0.5) return down + 1.0;
    if (fraction < 0.5) return down;
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}

std::optional<std::int16_t> toInt16(double value) {
    const double whole = roundHalfEven(value);
    if (!(whole >= -32768.0 && whole <= 32767.0)) return std::nullopt;
    return static_cast<std::int16_t>(whole);
}

namespace {

// A positive finite value cut to a number of significant digits: digits (no trailing zeros,
// at least one) and the decimal exponent of the first digit.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

Decimal cut(double magnitude, int precision) {
    // One digit more than kept, correctly rounded, decides the cut unless that digit is a 5:
    // only then can the exact value be a tie (or lie just either side of one), and the exact
    // expansion is needed. 800 digits after the point cover every double (at most 767
    // significant digits), so the tie decision is taken on the exact binary value.
    std::array<char, 1024> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                std::chars_format::scientific, precision);
    const char* exponentMark = std::find(buffer.data(), result.ptr, 'e');
    if (exponentMark != result.ptr && *(exponentMark - 1) == '5') {
        result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                               std::chars_format::scientific, 800);
    }
    const std::string_view text(buffer.data(),
                                static_cast<std::size_t>(result.ptr - buffer.data()));

    const auto ePos = text.find('e');
    std::string all;
    for (char c : text.substr(0, ePos))
        if (c != '.') all.push_back(c);
    int exponent = std::atoi(std::string(text.substr(ePos + 1)).c_str());

    std::string digits = all.substr(0, static_cast<std::size_t>(precision));
    // Ties go away from zero: on the exact expansion that is "round up when the next digit
    // is 5 or more".
    if (all.size() > digits.size() && all[digits.size()] >= '5') {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
            digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++digits[static_cast<std::size_t>(i)];
        } else {
            digits.insert(digits.begin(), '1');
            digits.pop_back();
            ++exponent;
        }
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    return {digits, exponent};
}

// The digits of a number without its sign characters.
std::string body(double magnitude, int precision, std::string_view separator) {
    if (magnitude == 0.0) return "0";
    const Decimal d = cut(magnitude, precision);
    const int count = static_cast<int>(d.digits.size());
    std::string out;
    if (d.exponent >= precision || d.exponent < -4) {
        out.push_back(d.digits[0]);
        if (count > 1) {
            out += separator;
            out += d.digits.substr(1);
        }
        out += 'E';
        out += d.exponent < 0 ? '-' : '+';
        const std::string exp = std::to_string(std::abs(d.exponent));
        if (exp.size() < 2) out += '0';
        out += exp;
        return out;
    }
    if (d.exponent < 0) {
        out += separator;
        out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
        out += d.digits;
        return out;
    }
    const int whole = d.exponent + 1;
    if (count <= whole) {
        out = d.digits;
        out.append(static_cast<std::size_t>(whole - count), '0');
    } else {
        out = d.digits.substr(0, static_cast<std::size_t>(whole));
        out += separator;
        out += d.digits.substr(static_cast<std::size_t>(whole));
    }
    return out;
}

int precisionOf(Width width) {
    return width == Width::Single ? 7 : 15;
}

}  // namespace

std::string printStyle(double value, Width width, std::string_view decimalSeparator) {
    if (width == Width::Single) value = static_cast<double>(static_cast<float>(value));
    if (width == Width::Int16) value = roundHalfEven(value);
    if (std::isnan(value)) return "-1" + std::string(decimalSeparator) + "#IND ";
    if (std::isinf(value))
        return (value < 0 ? "-1" : " 1") + std::string(decimalSeparator) + "#INF ";
    const bool negative = value < 0.0;  // -0.0 is not negative here
    std::string out(1, negative ? '-' : ' ');
    out += body(std::fabs(value), precisionOf(width), decimalSeparator);
    out += ' ';
    return out;
}

std::string listStyle(double value) {
    if (!std::isfinite(value)) return printStyle(value, Width::Double, ".");
    std::string out = value < 0.0 ? "-" : "";
    out += body(std::fabs(value), 15, ".");
    return out;
}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t digitRun(std::string_view s, std::size_t pos) {
    std::size_t end = pos;
    while (end < s.size() && isDigit(s[end])) ++end;
    return end - pos;
}

}  // namespace

std::optional<double> parseFieldNumber(std::string_view field) {
    while (!field.empty() && isBlank(field.front())) field.remove_prefix(1);
    while (!field.empty() && isBlank(field.back())) field.remove_suffix(1);
    if (field.empty()) return 0.0;

    // Check the whole shape first: from_chars alone would accept "12abc" as 12.
    std::size_t pos = 0;
    bool negative = false;
    if (field[pos] == '+' || field[pos] == '-') {
        negative = field[pos] == '-';
        ++pos;
    }
    const std::size_t mantissaStart = pos;
    const std::size_t intDigits = digitRun(field, pos);
    pos += intDigits;
    if (pos < field.size() && field[pos] == '.') {
        ++pos;
        const std::size_t fracDigits = digitRun(field, pos);
        if (fracDigits == 0) return std::nullopt;
        pos += fracDigits;
    } else if (intDigits == 0) {
        return std::nullopt;
    }
    if (pos < field.size() && (field[pos] == 'E' || field[pos] == 'e')) {
        ++pos;
        if (pos < field.size() && (field[pos] == '+' || field[pos] == '-')) ++pos;
        const std::size_t expDigits = digitRun(field, pos);
        if (expDigits == 0) return std::nullopt;
        pos += expDigits;
    }
    if (pos != field.size()) return std::nullopt;

    const std::string_view number = field.substr(mantissaStart);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::general);
    // Out of range (1E400) is not a number this program can hold.
    if (result.ec != std::errc() || result.ptr != number.data() + number.size())
        return std::nullopt;
    return negative ? -value : value;
}

}  // namespace fee
