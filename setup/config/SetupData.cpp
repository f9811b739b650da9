#include "setup/config/SetupData.h"

#include <climits>

namespace setup {

long leadingInteger(std::string_view text) {
    std::size_t i = 0;
    auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    while (i < text.size() && blank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Accumulate towards the sign so LONG_MIN reads exactly; saturate as strtol does.
    long value = 0;
    bool saturated = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        int digit = text[i] - '0';
        if (saturated) continue;
        if (negative) {
            if (value < (LONG_MIN + digit) / 10) {
                value = LONG_MIN;
                saturated = true;
            } else {
                value = value * 10 - digit;
            }
        } else if (value > (LONG_MAX - digit) / 10) {
            value = LONG_MAX;
            saturated = true;
        } else {
            value = value * 10 + digit;
        }
    }
    return value;
}

std::string applyPlaceholder(std::string_view text, std::string_view productName) {
    static constexpr std::string_view kMark = "********";
    std::string out;
    out.reserve(text.size());
    std::size_t from = 0;
    for (auto at = text.find(kMark); at != std::string_view::npos; at = text.find(kMark, from)) {
        out.append(text.substr(from, at - from));
        out.append(productName);
        from = at + kMark.size();
    }
    out.append(text.substr(from));
    return out;
}

}  // namespace setup
