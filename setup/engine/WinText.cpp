#include "setup/engine/WinText.h"

#include "platform/codec/Unicode.h"

namespace setup {

using platform::codec::appendUtf8;
using platform::codec::codePoints;

std::string toAnsi(std::string_view utf8, int codePage) {
    return platform::codec::utf8ToAnsiLossy(codePage, utf8);
}

std::string toUtf16le(std::string_view utf8) {
    return platform::codec::utf8ToUtf16le(utf8);
}

std::string lowerCase(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    bool ascii = true;
    for (char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
        for (char c : utf8) out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        return out;
    }
    for (char32_t cp : codePoints(utf8)) {
        if ((cp >= 'A' && cp <= 'Z') || (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) ||
            (cp >= 0x391 && cp <= 0x3AB && cp != 0x3A2))
            cp += 0x20;
        else if (cp == 0x386)
            cp = 0x3AC;
        else if (cp >= 0x388 && cp <= 0x38A)
            cp += 0x25;
        else if (cp == 0x38C)
            cp = 0x3CC;
        else if (cp == 0x38E || cp == 0x38F)
            cp += 0x3F;
        appendUtf8(out, cp);
    }
    return out;
}

std::string_view fileNameOf(std::string_view path) {
    const auto cut = path.find_last_of("\\/:");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

}  // namespace setup
