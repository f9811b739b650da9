#pragma once
// Windows-1253 (Greek) <-> UTF-8. The fee program's files are Windows-1253; the programs
// hold text as UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Bytes the code page leaves undefined become U+FFFD.
std::string cp1253ToUtf8(std::string_view bytes);

// Empty when the text holds a character Windows-1253 cannot store (or is not valid UTF-8),
// so callers can refuse the input instead of mangling it.
std::optional<std::string> utf8ToCp1253(std::string_view utf8);

inline bool cp1253CanEncode(std::string_view utf8) {
    return utf8ToCp1253(utf8).has_value();
}

}  // namespace platform
