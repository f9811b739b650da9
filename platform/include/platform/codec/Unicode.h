#pragma once
// UTF-8 and UTF-16 as the programs meet them in files written on Windows: lenient readers
// that show a malformed byte as U+FFFD instead of refusing the whole text.

#include <string>
#include <string_view>

namespace platform::codec {

// The code points of a UTF-8 text; a malformed byte becomes U+FFFD.
std::u32string codePoints(std::string_view utf8);
void appendUtf8(std::string& out, char32_t cp);

// UTF-16 bytes without their byte-order mark, up to the first NUL unit (a text box shows no
// more); a lone surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);
std::string utf8ToUtf16le(std::string_view utf8);

// The bytes of a UTF-8 text in an ANSI code page; a character it lacks becomes "?", as
// Windows writes it.
std::string utf8ToAnsiLossy(int codePage, std::string_view utf8);

}  // namespace platform::codec
