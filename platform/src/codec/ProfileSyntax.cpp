#include "platform/codec/ProfileSyntax.h"

#include "WinText.h"
#include "platform/codec/AnsiCodePage.h"

#include <algorithm>
#include <unordered_set>

namespace platform::codec {

namespace {

// The file is edited as a string of characters that maps back to its bytes exactly: a byte the
// encoding cannot decode becomes an escape character of its own, a lone UTF-16 surrogate stays
// itself. New text is checked before it goes in, so no escape is ever made up.
constexpr char32_t kAnsiEscape = 0xF700;  // + the byte: undefined in the code page
constexpr char32_t kUtf8Escape = 0xDC00;  // + the byte (0x80..0xFF): not valid UTF-8

struct Doc {
    ProfileEncoding encoding = ProfileEncoding::Ansi;
    int codePage = 1252;
    std::string bom;
    std::u32string text;
    std::string tail;  // the odd last byte of a UTF-16 file
};

Doc decode(std::string_view bytes, int codePage) {
    Doc doc;
    doc.codePage = codePage;
    doc.encoding = profileEncoding(bytes);
    // At most a character a byte: an install log of 10,000 files grown step by step would be
    // copied and its memory touched afresh at every step.
    doc.text.reserve(bytes.size());
    switch (doc.encoding) {
        case ProfileEncoding::Ansi:
            for (char c : bytes) {
                const auto b = static_cast<unsigned char>(c);
                const char32_t ch = ansiToChar(codePage, b);
                doc.text += ch == 0xFFFD ? kAnsiEscape + b : ch;
            }
            break;
        case ProfileEncoding::Utf8: {
            doc.bom = bytes.substr(0, 3);
            bytes.remove_prefix(3);
            std::size_t pos = 0;
            while (pos < bytes.size()) {
                if (auto ch = detail::decodeUtf8(bytes, pos)) {
                    doc.text += *ch;
                } else {
                    doc.text += kUtf8Escape + static_cast<unsigned char>(bytes[pos++]);
                }
            }
            break;
        }
        case ProfileEncoding::Utf16Le:
        case ProfileEncoding::Utf16Be: {
            const bool le = doc.encoding == ProfileEncoding::Utf16Le;
            doc.bom = bytes.substr(0, 2);
            bytes.remove_prefix(2);
            if (bytes.size() % 2) {
                doc.tail = bytes.substr(bytes.size() - 1);
                bytes.remove_suffix(1);
            }
            std::u16string units;
            for (std::size_t i = 0; i < bytes.size(); i += 2) {
                const auto lo = static_cast<unsigned char>(bytes[i + (le ? 0 : 1)]);
                const auto hi = static_cast<unsigned char>(bytes[i + (le ? 1 : 0)]);
                units += static_cast<char16_t>(lo | (hi << 8));
            }
            for (std::size_t i = 0; i < units.size(); ++i) {
                const char16_t u = units[i];
                if (u >= 0xD800 && u < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
                    units[i + 1] < 0xE000) {
                    doc.text += 0x10000 + ((char32_t(u) - 0xD800) << 10) + (units[++i] - 0xDC00);
                } else {
                    doc.text += u;
                }
            }
            break;
        }
    }
    return doc;
}

std::string encode(const Doc& doc) {
    std::string out = doc.bom;
    out.reserve(doc.bom.size() + doc.text.size() * 2);
    const bool le = doc.encoding == ProfileEncoding::Utf16Le;
    const auto unit = [&](char32_t u) {
        const char lo = static_cast<char>(u & 0xFF);
        const char hi = static_cast<char>((u >> 8) & 0xFF);
        out += le ? lo : hi;
        out += le ? hi : lo;
    };
    for (char32_t ch : doc.text) {
        switch (doc.encoding) {
            case ProfileEncoding::Ansi:
                if (ch >= kAnsiEscape + 0x80 && ch <= kAnsiEscape + 0xFF) {
                    out += static_cast<char>(ch - kAnsiEscape);
                } else {
                    out += static_cast<char>(charToAnsi(doc.codePage, ch).value_or('?'));
                }
                break;
            case ProfileEncoding::Utf8:
                if (ch >= kUtf8Escape + 0x80 && ch <= kUtf8Escape + 0xFF) {
                    out += static_cast<char>(ch - kUtf8Escape);
                } else {
                    detail::appendUtf8(out, ch);
                }
                break;
            case ProfileEncoding::Utf16Le:
            case ProfileEncoding::Utf16Be:
                if (ch >= 0x10000) {
                    unit(0xD800 + ((ch - 0x10000) >> 10));
                    unit(0xDC00 + ((ch - 0x10000) & 0x3FF));
                } else {
                    unit(ch);
                }
                break;
        }
    }
    return out + doc.tail;
}

// New text in the file's characters; empty when the file's encoding cannot hold it.
std::optional<std::u32string> storable(const Doc& doc, std::string_view utf8) {
    std::u32string out;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto ch = detail::decodeUtf8(utf8, pos);
        if (!ch || *ch == '\r' || *ch == '\n' || *ch == 0) return std::nullopt;
        if (doc.encoding == ProfileEncoding::Ansi && !charToAnsi(doc.codePage, *ch))
            return std::nullopt;
        out += *ch;
    }
    return out;
}

std::string toUtf8(std::u32string_view text) {
    std::string out;
    for (char32_t ch : text) {
        const bool escape =
            (ch >= kAnsiEscape + 0x80 && ch <= kAnsiEscape + 0xFF) || (ch >= 0xD800 && ch < 0xE000);
        detail::appendUtf8(out, escape ? 0xFFFD : ch);
    }
    return out;
}

// The blanks the reader trims: white space and the old end-of-file mark.
bool isBlank(char32_t ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\v' || ch == '\f' ||
           ch == 0x1A;
}

struct Line {
    std::size_t begin = 0;                         // first character
    std::size_t end = 0;                           // after its "\n" (or the end of the file)
    std::size_t contentBegin = 0, contentEnd = 0;  // without surrounding blanks
    bool header = false;
    bool key = false;
    std::size_t nameBegin = 0, nameEnd = 0;    // section or key name
    std::size_t valueBegin = 0, valueEnd = 0;  // key lines
    bool hasNewline = false;
};

std::vector<Line> splitLines(const std::u32string& text) {
    std::vector<Line> lines;
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), U'\n')) + 1);
    std::size_t pos = 0;
    while (pos < text.size()) {
        Line line;
        line.begin = pos;
        std::size_t nl = text.find(U'\n', pos);
        line.hasNewline = nl != std::u32string::npos;
        if (!line.hasNewline) nl = text.size();
        line.end = line.hasNewline ? nl + 1 : nl;
        std::size_t b = pos, e = nl;
        while (b < e && isBlank(text[b])) ++b;
        while (e > b && isBlank(text[e - 1])) --e;
        line.contentBegin = b;
        line.contentEnd = e;
        if (b < e && text[b] == U'[') {
            const std::size_t close = text.rfind(U']', e - 1);
            if (close != std::u32string::npos && close > b) {
                line.header = true;
                line.nameBegin = b + 1;
                line.nameEnd = close;
            }
        } else if (b < e) {
            const std::size_t eq = text.find(U'=', b);
            if (eq < e) {
                line.key = true;
                line.nameBegin = b;
                line.nameEnd = eq;
                while (line.nameEnd > b && isBlank(text[line.nameEnd - 1])) --line.nameEnd;
                line.valueBegin = eq + 1;
                while (line.valueBegin < e && isBlank(text[line.valueBegin])) ++line.valueBegin;
                line.valueEnd = e;
            }
        }
        lines.push_back(line);
        pos = line.end;
    }
    return lines;
}

std::u32string folded(std::u32string_view name) {
    std::u32string out;
    out.reserve(name.size());
    for (char32_t ch : name) out += detail::winUpcase(ch);
    return out;
}

std::u32string foldedUtf8(std::string_view utf8) {
    std::u32string out;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto ch = detail::decodeUtf8(utf8, pos);
        out += detail::winUpcase(ch ? *ch : char32_t(0xFFFD));
        if (!ch) ++pos;
    }
    return out;
}

struct Parsed {
    Doc doc;
    std::vector<Line> lines;

    std::u32string_view name(const Line& l) const {
        return std::u32string_view(doc.text).substr(l.nameBegin, l.nameEnd - l.nameBegin);
    }
    bool named(const Line& l, const std::u32string& wanted) const {
        return folded(name(l)) == wanted;
    }
    // Index of the first header with this name, or lines.size().
    std::size_t section(std::string_view wanted) const {
        const std::u32string f = foldedUtf8(wanted);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].header && named(lines[i], f)) return i;
        }
        return lines.size();
    }
    // One past the last line of the section whose header is at index header.
    std::size_t sectionEnd(std::size_t header) const {
        std::size_t i = header + 1;
        while (i < lines.size() && !lines[i].header) ++i;
        return i;
    }
    // Blanks are trimmed by the split; one pair of matching quotes goes here.
    std::string value(const Line& line) const {
        std::u32string_view text =
            std::u32string_view(doc.text).substr(line.valueBegin, line.valueEnd - line.valueBegin);
        if (text.size() > 1 && (text.front() == U'"' || text.front() == U'\'') &&
            text.back() == text.front()) {
            text = text.substr(1, text.size() - 2);
        }
        return toUtf8(text);
    }
    std::size_t key(std::size_t header, std::string_view wanted) const {
        const std::u32string f = foldedUtf8(wanted);
        const std::size_t end = sectionEnd(header);
        for (std::size_t i = header + 1; i < end; ++i) {
            if (lines[i].key && named(lines[i], f)) return i;
        }
        return lines.size();
    }
};

Parsed parse(std::string_view bytes, int codePage) {
    Parsed p;
    p.doc = decode(bytes, codePage);
    p.lines = splitLines(p.doc.text);
    return p;
}

std::string cutToBuffer(std::string text, std::size_t bufferSize) {
    if (bufferSize == 0) return {};
    std::size_t pos = 0;
    for (std::size_t kept = 0; pos < text.size() && kept < bufferSize - 1; ++kept) {
        if (!detail::decodeUtf8(text, pos)) ++pos;
    }
    text.resize(pos);
    return text;
}

void appendNames(std::vector<std::string>& out, std::vector<std::u32string>& seen,
                 std::u32string_view name) {
    const std::u32string f = folded(name);
    for (const auto& s : seen) {
        if (s == f) return;
    }
    seen.push_back(f);
    out.push_back(toUtf8(name));
}

}  // namespace

ProfileEncoding profileEncoding(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return ProfileEncoding::Utf8;
    if (bytes.substr(0, 2) == "\xFF\xFE") return ProfileEncoding::Utf16Le;
    if (bytes.substr(0, 2) == "\xFE\xFF") return ProfileEncoding::Utf16Be;
    return ProfileEncoding::Ansi;
}

struct ProfileText::Impl {
    Parsed parsed;
};

ProfileText::ProfileText(std::string_view bytes, int ansiCodePage)
    : impl_(std::make_unique<Impl>(Impl{parse(bytes, ansiCodePage)})) {}

ProfileText::~ProfileText() = default;

std::optional<std::string> ProfileText::value(std::string_view section,
                                              std::string_view key) const {
    const Parsed& p = impl_->parsed;
    const std::size_t header = p.section(section);
    if (header == p.lines.size()) return std::nullopt;
    const std::size_t k = p.key(header, key);
    if (k == p.lines.size()) return std::nullopt;
    return p.value(p.lines[k]);
}

std::vector<std::string> ProfileText::sections() const {
    const Parsed& p = impl_->parsed;
    std::vector<std::string> out;
    std::vector<std::u32string> seen;
    for (const Line& line : p.lines) {
        if (line.header) appendNames(out, seen, p.name(line));
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> ProfileText::sectionValues(
    std::string_view section) const {
    const Parsed& p = impl_->parsed;
    std::vector<std::pair<std::string, std::string>> out;
    const std::size_t header = p.section(section);
    if (header == p.lines.size()) return out;
    const std::size_t end = p.sectionEnd(header);
    // The names seen, folded, in UTF-8: a short one (a log's "1234") needs no memory of its own.
    std::unordered_set<std::string> seen;
    seen.reserve(end - header);
    out.reserve(end - header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const Line& line = p.lines[i];
        if (!line.key || !seen.insert(toUtf8(folded(p.name(line)))).second) continue;
        out.emplace_back(toUtf8(p.name(line)), p.value(line));
    }
    return out;
}

std::optional<std::string> findProfileValue(std::string_view bytes, int ansiCodePage,
                                            std::string_view section, std::string_view key) {
    return ProfileText(bytes, ansiCodePage).value(section, key);
}

std::string readProfileString(std::string_view bytes, int ansiCodePage, std::string_view section,
                              std::string_view key, std::string_view fallback,
                              std::size_t bufferSize) {
    if (auto value = findProfileValue(bytes, ansiCodePage, section, key))
        return cutToBuffer(std::move(*value), bufferSize);
    while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
    return cutToBuffer(std::string(fallback), bufferSize);
}

std::vector<std::string> profileSections(std::string_view bytes, int ansiCodePage) {
    return ProfileText(bytes, ansiCodePage).sections();
}

std::vector<std::string> profileKeys(std::string_view bytes, int ansiCodePage,
                                     std::string_view section) {
    const Parsed p = parse(bytes, ansiCodePage);
    std::vector<std::string> out;
    std::vector<std::u32string> seen;
    const std::size_t header = p.section(section);
    if (header == p.lines.size()) return out;
    const std::size_t end = p.sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (p.lines[i].key) appendNames(out, seen, p.name(p.lines[i]));
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> profileSectionValues(std::string_view bytes,
                                                                      int ansiCodePage,
                                                                      std::string_view section) {
    return ProfileText(bytes, ansiCodePage).sectionValues(section);
}

std::optional<std::string> writeProfileString(std::string_view bytes, int ansiCodePage,
                                              std::string_view section, std::string_view key,
                                              std::string_view value) {
    Parsed p = parse(bytes, ansiCodePage);
    const auto s = storable(p.doc, section);
    const auto k = storable(p.doc, key);
    const auto v = storable(p.doc, value);
    if (!s || !k || !v || s->find(U']') != std::u32string::npos ||
        k->find(U'=') != std::u32string::npos) {
        return std::nullopt;
    }
    std::u32string& text = p.doc.text;
    const std::u32string keyLine = *k + U'=' + *v + U"\r\n";

    const std::size_t header = p.section(section);
    if (header == p.lines.size()) {
        if (!text.empty() && text.back() != U'\n') text += U"\r\n";
        text += U'[' + *s + U"]\r\n" + keyLine;
        return encode(p.doc);
    }
    const std::size_t found = p.key(header, key);
    if (found != p.lines.size()) {
        const Line& line = p.lines[found];
        text.replace(line.valueBegin, line.valueEnd - line.valueBegin, *v);
        return encode(p.doc);
    }
    // A new key goes after the section's last line that holds anything, before blank lines.
    std::size_t last = header;
    for (std::size_t i = header + 1; i < p.sectionEnd(header); ++i) {
        if (p.lines[i].contentBegin < p.lines[i].contentEnd) last = i;
    }
    const Line& after = p.lines[last];
    text.insert(after.end, after.hasNewline ? keyLine : U"\r\n" + keyLine);
    return encode(p.doc);
}

std::string removeProfileKey(std::string_view bytes, int ansiCodePage, std::string_view section,
                             std::string_view key) {
    Parsed p = parse(bytes, ansiCodePage);
    const std::size_t header = p.section(section);
    if (header == p.lines.size()) return std::string(bytes);
    const std::size_t found = p.key(header, key);
    if (found == p.lines.size()) return std::string(bytes);
    const Line& line = p.lines[found];
    p.doc.text.erase(line.begin, line.end - line.begin);
    return encode(p.doc);
}

std::string removeProfileSection(std::string_view bytes, int ansiCodePage,
                                 std::string_view section) {
    Parsed p = parse(bytes, ansiCodePage);
    const std::size_t header = p.section(section);
    if (header == p.lines.size()) return std::string(bytes);
    const std::size_t end = p.sectionEnd(header);
    const std::size_t from = p.lines[header].begin;
    const std::size_t to = end == p.lines.size() ? p.doc.text.size() : p.lines[end].begin;
    p.doc.text.erase(from, to - from);
    return encode(p.doc);
}

}  // namespace platform::codec
