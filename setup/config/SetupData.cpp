#include "setup/config/SetupData.h"

#include <climits>

namespace setup {

std::string SetupData::text(std::string_view section, std::string_view key,
                            std::size_t longest) const {
    return profiles_.readString(path_, section, key, "", longest + 1);
}

bool SetupData::on(std::string_view section, std::string_view key, std::size_t longest) const {
    return number(section, key, longest) == 1;
}

long SetupData::number(std::string_view section, std::string_view key, std::size_t longest) const {
    return leadingInteger(text(section, key, longest));
}

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

namespace {

struct LanguageKey {
    int key;
    std::size_t longest;
    bool placeholder;
};

// The [LANGUAGE] keys the pages read, with the longest value each keeps.
constexpr LanguageKey kLanguageKeys[] = {
    {1, 99, false},   {2, 99, false},   {3, 99, false},   {4, 99, true},    {5, 99, true},
    {6, 169, false},  {7, 169, false},  {8, 169, false},  {9, 169, true},   {10, 149, false},
    {11, 149, false}, {12, 99, false},  {13, 99, false},  {14, 149, false}, {15, 149, false},
    {16, 149, false}, {17, 149, false}, {19, 149, false}, {20, 149, false}, {22, 149, true},
    {25, 149, false}, {26, 149, false}, {27, 149, false}, {28, 149, false}, {29, 149, false},
    {30, 149, false}, {31, 149, false}, {32, 149, false}, {33, 149, false}, {34, 149, false},
    {35, 149, false}, {36, 149, false}, {39, 149, false}, {40, 149, false}, {41, 149, false},
    {42, 149, false}, {43, 149, false}, {44, 149, false}, {48, 149, false}, {49, 149, false},
    {50, 169, false}, {51, 149, false}, {52, 149, false}, {56, 149, false}, {57, 99, false},
    {58, 99, false},  {59, 99, false},
};

}  // namespace

std::string LanguageTexts::text(int key, std::string_view productName) const {
    std::size_t longest = 149;
    bool placeholder = false;
    for (const auto& k : kLanguageKeys) {
        if (k.key == key) {
            longest = k.longest;
            placeholder = k.placeholder;
            break;
        }
    }
    std::string value = data_.text("LANGUAGE", std::to_string(key), longest);
    if (placeholder && !productName.empty()) return applyPlaceholder(value, productName);
    return value;
}

}  // namespace setup
