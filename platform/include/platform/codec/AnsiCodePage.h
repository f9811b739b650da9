#pragma once
// The two ANSI code pages a $WINROOT can have: Windows-1253 (Greek) and Windows-1252 (the
// Western one every non-Greek root gets). Any other number is read as 1252.

#include <optional>
#include <string>
#include <string_view>

namespace platform::codec {

// The character of one byte; U+FFFD where the code page has none.
char32_t ansiToChar(int codePage, unsigned char byte);
// The byte of one character; empty when the code page cannot store it.
std::optional<unsigned char> charToAnsi(int codePage, char32_t ch);

std::string ansiToUtf8(int codePage, std::string_view bytes);
// Empty when the text is not UTF-8 or holds a character the code page cannot store.
std::optional<std::string> utf8ToAnsi(int codePage, std::string_view utf8);

}  // namespace platform::codec
