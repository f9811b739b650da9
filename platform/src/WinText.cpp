#include "WinText.h"

#include <algorithm>

#include "platform/codec/Unicode.h"

namespace platform::detail {

std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& pos) {
    if (pos >= text.size()) return std::nullopt;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - pos < length) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char c = byte(pos + i);
        if ((c & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    pos += length;
    return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
    codec::appendUtf8(out, cp);
}

bool isValidUtf8(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        // Paths and keys are nearly all ASCII, which needs no decoding.
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            ++pos;
            continue;
        }
        if (!decodeUtf8(text, pos)) return false;
    }
    return true;
}

namespace {

// Ranges where upper and lower case alternate, the upper one first (even) or second (odd).
bool inPairRange(char32_t cp, char32_t first, char32_t last) {
    return cp >= first && cp <= last;
}

}  // namespace

char32_t winUpcase(char32_t cp) {
    if (cp < 0x80) return (cp >= 'a' && cp <= 'z') ? cp - 0x20 : cp;
    if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 0x20;
    if (cp == 0xFF) return 0x178;
    if (inPairRange(cp, 0x100, 0x12F) || inPairRange(cp, 0x132, 0x137) ||
        inPairRange(cp, 0x14A, 0x177)) {
        return cp & ~char32_t{1};
    }
    if (inPairRange(cp, 0x139, 0x148) || inPairRange(cp, 0x179, 0x17E)) {
        return (cp % 2 == 0) ? cp - 1 : cp;
    }
    // Greek: the tonos letters have their own capitals; the final sigma is a sigma. The
    // letters with dialytika and tonos (ΐ, ΰ) have no single capital and stay as they are.
    if (cp == 0x3AC) return 0x386;
    if (cp >= 0x3AD && cp <= 0x3AF) return cp - 0x25;
    if (cp >= 0x3B1 && cp <= 0x3C1) return cp - 0x20;
    if (cp == 0x3C2) return 0x3A3;
    if (cp >= 0x3C3 && cp <= 0x3CB) return cp - 0x20;
    if (cp == 0x3CC) return 0x38C;
    if (cp == 0x3CD || cp == 0x3CE) return cp - 0x3F;
    if (inPairRange(cp, 0x3E2, 0x3EF)) return cp & ~char32_t{1};
    // Cyrillic.
    if (cp >= 0x430 && cp <= 0x44F) return cp - 0x20;
    if (cp >= 0x450 && cp <= 0x45F) return cp - 0x50;
    if (inPairRange(cp, 0x460, 0x481) || inPairRange(cp, 0x48A, 0x4BF) ||
        inPairRange(cp, 0x4D0, 0x4FF)) {
        return cp & ~char32_t{1};
    }
    if (inPairRange(cp, 0x4C1, 0x4CE)) return (cp % 2 == 0) ? cp - 1 : cp;
    if (cp == 0x4CF) return 0x4C0;
    // Armenian, Latin Extended Additional, fullwidth Latin.
    if (cp >= 0x561 && cp <= 0x586) return cp - 0x30;
    if (inPairRange(cp, 0x1E00, 0x1E95) || inPairRange(cp, 0x1EA0, 0x1EFF)) {
        return cp & ~char32_t{1};
    }
    if (cp >= 0xFF41 && cp <= 0xFF5A) return cp - 0x20;
    return cp;
}

std::string foldName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    std::size_t pos = 0;
    while (pos < name.size()) {
        const auto byte = static_cast<unsigned char>(name[pos]);
        if (byte < 0x80) {
            out += static_cast<char>(byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte);
            ++pos;
            continue;
        }
        if (auto cp = decodeUtf8(name, pos)) {
            appendUtf8(out, winUpcase(*cp));
        } else {
            out += name[pos++];
        }
    }
    return out;
}

namespace {

// Folded code points; bytes that are not UTF-8 get values no character has.
std::u32string foldedCodePoints(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (auto cp = decodeUtf8(text, pos)) {
            out += winUpcase(*cp);
        } else {
            out += static_cast<char32_t>(0x110000 + static_cast<unsigned char>(text[pos++]));
        }
    }
    return out;
}

// Greedy matching with one backtrack point: linear in practice, never exponential.
bool globMatch(const std::u32string& p, const std::u32string& s) {
    std::size_t pi = 0, si = 0, star = std::u32string::npos, mark = 0;
    while (si < s.size()) {
        if (pi < p.size() && (p[pi] == U'?' || p[pi] == s[si])) {
            ++pi;
            ++si;
        } else if (pi < p.size() && p[pi] == U'*') {
            star = pi++;
            mark = si;
        } else if (star != std::u32string::npos) {
            pi = star + 1;
            si = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == U'*') ++pi;
    return pi == p.size();
}

}  // namespace

bool matchWildcard(std::string_view pattern, std::string_view name) {
    const std::u32string p = foldedCodePoints(pattern);
    std::u32string s = foldedCodePoints(name);
    if (globMatch(p, s)) return true;
    if (s.find(U'.') != std::u32string::npos) return false;
    s += U'.';
    return globMatch(p, s);
}

std::optional<std::string> utf8ToUtf16le(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() * 2);
    const auto unit = [&](char32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>((u >> 8) & 0xFF);
    };
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        auto cp = decodeUtf8(utf8, pos);
        if (!cp) return std::nullopt;
        if (*cp >= 0x10000) {
            const char32_t v = *cp - 0x10000;
            unit(0xD800 + (v >> 10));
            unit(0xDC00 + (v & 0x3FF));
        } else {
            unit(*cp);
        }
    }
    return out;
}

std::optional<std::string> utf16leToUtf8(std::string_view bytes) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    std::string out;
    const auto unitAt = [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    };
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        char32_t u = unitAt(i);
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 3 >= bytes.size()) return std::nullopt;
            const char32_t low = unitAt(i + 2);
            if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
            u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            return std::nullopt;
        }
        appendUtf8(out, u);
    }
    return out;
}

namespace {

bool isForbiddenInName(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return true;
    switch (c) {
        case '<':
        case '>':
        case ':':
        case '"':
        case '|':
        case '?':
        case '*':
        case '\\':
        case '/':
            return true;
        default:
            return false;
    }
}

}  // namespace

bool isValidWindowsName(std::string_view name) {
    return std::none_of(name.begin(), name.end(), isForbiddenInName);
}

}  // namespace platform::detail
