// Number printing over arbitrary doubles: print style must read back as the value cut to the
// width's digits, and list style as the value itself; neither may crash or print garbage.
//
// Input: one byte choosing the width and the decimal separator, then eight bytes of a double.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "fee/store/Number.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 9) return 0;
    double value = 0;
    std::memcpy(&value, data + 1, sizeof value);
    // Cut to 15 digits, the largest doubles round up past the largest double: the files never
    // hold such numbers, and there is nothing to read back.
    if (!std::isfinite(value) || std::fabs(value) > 1e307) return 0;
    const bool comma = data[0] & 1;
    const fee::Width width = (data[0] >> 1) % 3 == 0   ? fee::Width::Single
                             : (data[0] >> 1) % 3 == 1 ? fee::Width::Double
                                                       : fee::Width::Int16;
    if (width == fee::Width::Int16) {
        const auto whole = fee::toInt16(value);
        if (!whole) return 0;
        value = *whole;
    }
    if (width == fee::Width::Single && std::fabs(value) > 3.4e38) return 0;

    std::string printed = fee::printStyle(value, width, comma ? "," : ".");
    // A sign character, the number, one trailing space.
    if (printed.size() < 3 || (printed.front() != ' ' && printed.front() != '-') ||
        printed.back() != ' ')
        __builtin_trap();
    if (comma)
        for (char& c : printed)
            if (c == ',') c = '.';
    const auto back = fee::parseFieldNumber(printed);
    if (!back) __builtin_trap();
    // Cut to 7 or 15 significant digits: the relative error stays below the last digit.
    const double digits = width == fee::Width::Double ? 1e-14 : 1e-6;
    const double reference = width == fee::Width::Single ? static_cast<float>(value) : value;
    if (std::fabs(*back - reference) > std::fabs(reference) * digits + 1e-300) __builtin_trap();

    const auto listed = fee::parseFieldNumber(fee::listStyle(value));
    if (!listed) __builtin_trap();
    return 0;
}
