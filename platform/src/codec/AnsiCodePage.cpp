#include "platform/codec/AnsiCodePage.h"

#include <array>
#include <map>

#include "WinText.h"
#include "platform/Cp1253.h"

namespace platform::codec {

namespace {

constexpr char32_t kNone = 0xFFFD;

using HighHalf = std::array<char32_t, 128>;

// Windows-1252: 0xA0..0xFF are Latin-1; only the 0x80 row differs.
constexpr HighHalf kCp1252 = [] {
    HighHalf t{};
    const char32_t row80[32] = {0x20AC, kNone,  0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, kNone,  0x017D, kNone,
                                kNone,  0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, kNone,  0x017E, 0x0178};
    for (int i = 0; i < 32; ++i) t[i] = row80[i];
    for (int i = 32; i < 128; ++i) t[i] = 0x80 + static_cast<char32_t>(i);
    return t;
}();

// Windows-1253 comes from its own module, where the fee program's files are handled.
const HighHalf& cp1253Table() {
    static const HighHalf table = [] {
        HighHalf t{};
        for (int i = 0; i < 128; ++i) {
            const std::string utf8 = cp1253ToUtf8(std::string(1, static_cast<char>(0x80 + i)));
            std::size_t pos = 0;
            t[i] = detail::decodeUtf8(utf8, pos).value_or(kNone);
        }
        return t;
    }();
    return table;
}

const HighHalf& table(int codePage) {
    return codePage == 1253 ? cp1253Table() : kCp1252;
}

const std::map<char32_t, unsigned char>& reverse(int codePage) {
    static const auto build = [](const HighHalf& t) {
        std::map<char32_t, unsigned char> m;
        for (std::size_t i = 0; i < t.size(); ++i) {
            if (t[i] != kNone) m.emplace(t[i], static_cast<unsigned char>(0x80 + i));
        }
        return m;
    };
    static const auto greek = build(cp1253Table());
    static const auto western = build(kCp1252);
    return codePage == 1253 ? greek : western;
}

}  // namespace

char32_t ansiToChar(int codePage, unsigned char byte) {
    return byte < 0x80 ? byte : table(codePage)[byte - 0x80];
}

std::optional<unsigned char> charToAnsi(int codePage, char32_t ch) {
    if (ch < 0x80) return static_cast<unsigned char>(ch);
    const auto& m = reverse(codePage);
    const auto it = m.find(ch);
    if (it == m.end()) return std::nullopt;
    return it->second;
}

std::string ansiToUtf8(int codePage, std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        detail::appendUtf8(out, ansiToChar(codePage, static_cast<unsigned char>(c)));
    return out;
}

std::optional<std::string> utf8ToAnsi(int codePage, std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto ch = detail::decodeUtf8(utf8, pos);
        if (!ch) return std::nullopt;
        const auto byte = charToAnsi(codePage, *ch);
        if (!byte) return std::nullopt;
        out += static_cast<char>(*byte);
    }
    return out;
}

}  // namespace platform::codec
