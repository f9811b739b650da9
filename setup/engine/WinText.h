#pragma once
// Text rules the engine applies itself: the ANSI bytes that go into files and registry
// data the way a Windows program of this kind stores them, and the lower case of the
// install log's paths.

#include <cstddef>
#include <string>
#include <string_view>

namespace setup {

// The bytes of a UTF-8 text in the ANSI code page (1253 or 1252); characters the code page
// cannot hold become "?", as Windows writes them.
std::string toAnsi(std::string_view utf8, int codePage);

// UTF-16LE bytes of a UTF-8 text (malformed bytes become U+FFFD).
std::string toUtf16le(std::string_view utf8);

// Lower case of ASCII, Latin-1 and Greek letters; other characters are kept.
std::string lowerCase(std::string_view utf8);

// The text after the last "\", "/" or ":".
std::string_view fileNameOf(std::string_view path);

// The longest path Windows takes: MAX_PATH less its terminating zero.
inline constexpr std::size_t kMaxPathLength = 259;

// Characters (code points) of UTF-8 text, as Windows counts a path's length in its code page.
inline std::size_t characterCount(std::string_view text) {
    std::size_t n = 0;
    for (char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

inline bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// An address the downloads fetch: http, https or ftp, the scheme in any letter case.
inline bool isUrl(std::string_view text) {
    const auto scheme = text.substr(0, text.find("://"));
    if (scheme.size() == text.size() || scheme.size() > 5) return false;
    std::string lower(scheme);
    for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return lower == "http" || lower == "https" || lower == "ftp";
}

}  // namespace setup
