#include "platform/Cp1253.h"

#include <array>

#include "WinText.h"

namespace platform {

namespace {

constexpr char32_t kUndefined = 0xFFFD;

// Code points of the bytes 0x80 to 0xFF; kUndefined where the code page has no character.
constexpr std::array<char32_t, 128> kHighHalf = [] {
    std::array<char32_t, 128> t{};
    const char32_t row80[32] = {
        0x20AC,     kUndefined, 0x201A,     0x0192, 0x201E,     0x2026,     0x2020,     0x2021,
        kUndefined, 0x2030,     kUndefined, 0x2039, kUndefined, kUndefined, kUndefined, kUndefined,
        kUndefined, 0x2018,     0x2019,     0x201C, 0x201D,     0x2022,     0x2013,     0x2014,
        kUndefined, 0x2122,     kUndefined, 0x203A, kUndefined, kUndefined, kUndefined, kUndefined};
    const char32_t rowA0[32] = {0x00A0, 0x0385, 0x0386,     0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,
                                0x00A8, 0x00A9, kUndefined, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x2015,
                                0x00B0, 0x00B1, 0x00B2,     0x00B3, 0x0384, 0x00B5, 0x00B6, 0x00B7,
                                0x0388, 0x0389, 0x038A,     0x00BB, 0x038C, 0x00BD, 0x038E, 0x038F};
    for (int i = 0; i < 32; ++i) {
        t[i] = row80[i];
        t[32 + i] = rowA0[i];
    }
    // 0xC0..0xFE follow the Unicode Greek block in order (ΐ Α..Ρ, hole, Σ..ώ).
    for (int i = 0x40; i < 0x7F; ++i) t[i] = 0x0390 + static_cast<char32_t>(i - 0x40);
    t[0xD2 - 0x80] = kUndefined;
    t[0xFF - 0x80] = kUndefined;
    return t;
}();

// Byte of each code point of the Greek block U+0380..U+03CF (0 where the code page has none):
// nearly every character the programs encode is there.
constexpr char32_t kGreekFirst = 0x0380;
constexpr std::array<unsigned char, 0x50> kGreekBytes = [] {
    std::array<unsigned char, 0x50> t{};
    for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
        const char32_t cp = kHighHalf[i];
        if (cp >= kGreekFirst && cp < kGreekFirst + t.size())
            t[cp - kGreekFirst] = static_cast<unsigned char>(0x80 + i);
    }
    return t;
}();

std::optional<unsigned char> encodeChar(char32_t cp) {
    if (cp < 0x80) return static_cast<unsigned char>(cp);
    if (cp == kUndefined) return std::nullopt;
    if (cp >= kGreekFirst && cp < kGreekFirst + kGreekBytes.size()) {
        const unsigned char byte = kGreekBytes[cp - kGreekFirst];
        if (byte == 0) return std::nullopt;
        return byte;
    }
    for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
        if (kHighHalf[i] == cp) return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

}  // namespace

std::string cp1253ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            detail::appendUtf8(out, kHighHalf[b - 0x80]);
        }
    }
    return out;
}

std::optional<std::string> utf8ToCp1253(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto cp = detail::decodeUtf8(utf8, pos);
        if (!cp) return std::nullopt;
        const auto byte = encodeChar(*cp);
        if (!byte) return std::nullopt;
        out += static_cast<char>(*byte);
    }
    return out;
}

}  // namespace platform
