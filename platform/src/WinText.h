#pragma once
// Text helpers shared by the platform layer (private to platform/): UTF-8 decoding and
// encoding, UTF-16LE for registry data, and the upper-casing Windows applies when it compares
// file, key and value names.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::detail {

// Decodes one code point at pos and advances pos. Empty for malformed, overlong or surrogate
// sequences (pos is then left unchanged).
std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& pos);
void appendUtf8(std::string& out, char32_t cp);
bool isValidUtf8(std::string_view text);

// No character Windows refuses in a file name (controls, <>:"|?* and the separators).
bool isValidWindowsName(std::string_view name);

// Windows compares names by upper-casing both sides one character at a time (no special
// casing: "ß" stays, "ς" and "σ" both become "Σ", accented letters keep their accent).
char32_t winUpcase(char32_t cp);
// The comparison key of a name: every valid character upper-cased; bytes that are not valid
// UTF-8 are kept as they are so distinct raw names stay distinct.
std::string foldName(std::string_view name);
inline bool sameNameNoCase(std::string_view a, std::string_view b) {
    return foldName(a) == foldName(b);
}

// A Windows wildcard ("*", "?") against a name, without regard to case. As on Windows, a
// name without a period also matches a pattern that expects one at its end ("*.*", "*.").
bool matchWildcard(std::string_view pattern, std::string_view name);

// UTF-8 <-> UTF-16LE bytes. Empty for invalid input (odd length, lone surrogate).
std::optional<std::string> utf8ToUtf16le(std::string_view utf8);
std::optional<std::string> utf16leToUtf8(std::string_view bytes);

}  // namespace platform::detail
