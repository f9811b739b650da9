#include "setup/engine/ShellLinkReader.h"

#include "platform/codec/AnsiCodePage.h"
#include "platform/codec/Unicode.h"

namespace setup {
namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::string_view kLinkClsid{
    "\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16};

constexpr std::uint32_t kHasIdList = 0x01;
constexpr std::uint32_t kHasLinkInfo = 0x02;
constexpr std::uint32_t kIsUnicode = 0x80;
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x1;
constexpr std::uint32_t kCommonNetworkRelativeLink = 0x2;
constexpr std::uint32_t kEnvironmentBlock = 0xA0000001;
constexpr std::uint32_t kEnvironmentBlockSize = 0x314;

// Little-endian reads that say whether the bytes were there, so no caller can forget to ask.
struct Cursor {
    std::string_view bytes;

    bool has(std::size_t at, std::size_t size) const {
        return at <= bytes.size() && size <= bytes.size() - at;
    }
    std::optional<std::uint32_t> le(std::size_t at, int size) const {
        if (!has(at, static_cast<std::size_t>(size))) return std::nullopt;
        std::uint32_t v = 0;
        for (int i = size - 1; i >= 0; --i)
            v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
        return v;
    }
    std::optional<std::uint64_t> le64(std::size_t at) const {
        const auto low = le(at, 4);
        const auto high = le(at + 4, 4);
        if (!low || !high) return std::nullopt;
        return (static_cast<std::uint64_t>(*high) << 32) | *low;
    }
};

// UTF-16LE units to UTF-8; a lone surrogate becomes U+FFFD. A counted string keeps its NULs.
std::string fromUtf16le(std::string_view units) {
    std::string out;
    auto unit = [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(units[i]) |
                                     static_cast<unsigned char>(units[i + 1]) << 8);
    };
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < units.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                platform::codec::appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        platform::codec::appendUtf8(out, (u >= 0xD800 && u < 0xE000) ? char32_t{0xFFFD} : u);
    }
    return out;
}

// A NUL-terminated string inside [at, end): the bytes before the NUL, or nothing when there is
// no NUL before end.
std::optional<std::string_view> ansiz(std::string_view bytes, std::size_t at, std::size_t end) {
    if (at >= end || end > bytes.size()) return std::nullopt;
    const auto nul = bytes.find('\0', at);
    if (nul == std::string_view::npos || nul >= end) return std::nullopt;
    return bytes.substr(at, nul - at);
}

// The same for UTF-16LE: whole units up to a NUL unit.
std::optional<std::string_view> widez(std::string_view bytes, std::size_t at, std::size_t end) {
    if (end > bytes.size()) return std::nullopt;
    for (std::size_t p = at; p + 1 < end; p += 2) {
        if (bytes[p] == '\0' && bytes[p + 1] == '\0') return bytes.substr(at, p - at);
    }
    return std::nullopt;
}

struct LinkInfoPaths {
    std::string ansi;     // code-page bytes
    std::string unicode;  // UTF-8; empty when the link has no Unicode copy
    bool hasUnicode = false;
};

// The LinkInfo structure at `at`; its size in `size`.
std::optional<LinkInfoPaths> readLinkInfo(const Cursor& c, std::size_t at, int codePage,
                                          std::uint32_t& size) {
    const auto total = c.le(at, 4);
    const auto headerSize = c.le(at + 4, 4);
    const auto flags = c.le(at + 8, 4);
    if (!total || !headerSize || !flags) return std::nullopt;
    if (*headerSize < 0x1C || *headerSize > *total || !c.has(at, *total)) return std::nullopt;
    size = *total;
    const std::size_t end = at + *total;
    auto offset = [&](std::size_t field) -> std::optional<std::size_t> {
        if (field + 4 > *headerSize) return std::nullopt;
        const auto v = c.le(at + field, 4);
        if (!v || *v >= *total) return std::nullopt;
        return at + *v;
    };
    // The Unicode copies are there when the header has room for their offsets and they are set.
    const bool wide = *headerSize >= 0x24 && c.le(at + 0x1C, 4) != 0u;

    LinkInfoPaths out;
    std::string unicodeBase;
    if (*flags & kVolumeIdAndLocalBasePath) {
        const auto volume = offset(0x0C);
        const auto base = offset(0x10);
        if (!volume || !base) return std::nullopt;
        const auto volumeSize = c.le(*volume, 4);
        if (!volumeSize || *volumeSize <= 0x10 || !c.has(*volume, *volumeSize) ||
            *volume + *volumeSize > end)
            return std::nullopt;
        const auto text = ansiz(c.bytes, *base, end);
        if (!text) return std::nullopt;
        out.ansi = std::string(*text);
        if (wide) {
            const auto baseW = offset(0x1C);
            if (!baseW) return std::nullopt;
            const auto textW = widez(c.bytes, *baseW, end);
            if (!textW) return std::nullopt;
            unicodeBase = fromUtf16le(*textW);
            out.hasUnicode = true;
        }
    } else if (*flags & kCommonNetworkRelativeLink) {
        // A share: its name stands where a local base path would, "\\server\share".
        const auto network = offset(0x14);
        if (!network) return std::nullopt;
        const auto networkSize = c.le(*network, 4);
        const auto netName = c.le(*network + 8, 4);
        if (!networkSize || !netName || *networkSize < 0x14 || !c.has(*network, *networkSize) ||
            *network + *networkSize > end || *netName >= *networkSize)
            return std::nullopt;
        const auto text = ansiz(c.bytes, *network + *netName, *network + *networkSize);
        if (!text) return std::nullopt;
        out.ansi = std::string(*text);
    }

    const auto suffix = offset(0x18);
    if (!suffix) return std::nullopt;
    const auto suffixText = ansiz(c.bytes, *suffix, end);
    if (!suffixText) return std::nullopt;
    // A share and the path below it, joined by one backslash.
    const bool share = !(*flags & kVolumeIdAndLocalBasePath) && !out.ansi.empty();
    if (share && !suffixText->empty()) out.ansi += '\\';
    out.ansi += *suffixText;
    if (out.hasUnicode) {
        // A suffix without its Unicode copy is the ANSI one, as a path it joins.
        std::string suffixW = platform::codec::ansiToUtf8(codePage, *suffixText);
        if (c.le(at + 0x20, 4) != 0u) {
            const auto suffixAt = offset(0x20);
            if (!suffixAt) return std::nullopt;
            const auto textW = widez(c.bytes, *suffixAt, end);
            if (!textW) return std::nullopt;
            suffixW = fromUtf16le(*textW);
        }
        out.unicode = unicodeBase + suffixW;
    }
    return out;
}

}  // namespace

std::int64_t unixTimeOfFileTime(std::uint64_t ticks) {
    if (ticks == 0) return 0;
    return static_cast<std::int64_t>(ticks / 10000000ULL) - 11644473600LL;
}

std::optional<ShellLinkFields> readShellLink(std::string_view bytes, int codePage) {
    const Cursor c{bytes};
    if (c.le(0, 4) != kHeaderSize || !c.has(0, kHeaderSize)) return std::nullopt;
    if (bytes.substr(4, 16) != kLinkClsid) return std::nullopt;

    ShellLinkFields out;
    out.link.codePage = codePage;
    out.flags = *c.le(0x14, 4);
    out.fileAttributes = *c.le(0x18, 4);
    out.creationTime = unixTimeOfFileTime(*c.le64(0x1C));
    out.accessTime = unixTimeOfFileTime(*c.le64(0x24));
    out.link.writeTime = unixTimeOfFileTime(*c.le64(0x2C));
    out.link.fileSize = *c.le(0x34, 4);
    out.link.iconIndex = static_cast<std::int32_t>(*c.le(0x38, 4));
    const std::uint32_t show = *c.le(0x3C, 4);
    // Values other than these three mean a normal window.
    out.link.showCommand = show == 3 || show == 7 ? show : 1;
    out.hotKey = static_cast<std::uint16_t>(*c.le(0x40, 2));

    std::size_t at = kHeaderSize;
    if (out.flags & kHasIdList) {
        const auto size = c.le(at, 2);
        if (!size || !c.has(at + 2, *size)) return std::nullopt;
        at += 2 + *size;
    }
    if (out.flags & kHasLinkInfo) {
        std::uint32_t size = 0;
        const auto paths = readLinkInfo(c, at, codePage, size);
        if (!paths) return std::nullopt;
        out.ansiTarget = paths->ansi;
        out.link.target =
            paths->hasUnicode ? paths->unicode : platform::codec::ansiToUtf8(codePage, paths->ansi);
        at += size;
    }

    // NAME, RELATIVE_PATH, WORKING_DIR, COMMAND_LINE_ARGUMENTS, ICON_LOCATION, in this order.
    std::string* const strings[] = {&out.name, &out.relativePath, &out.link.workingFolder,
                                    &out.link.arguments, &out.link.iconLocation};
    const bool unicode = out.flags & kIsUnicode;
    for (std::size_t i = 0; i < 5; ++i) {
        if (!(out.flags & (0x4u << i))) continue;
        const auto count = c.le(at, 2);
        const std::size_t length = count ? *count * (unicode ? 2u : 1u) : 0;
        if (!count || !c.has(at + 2, length)) return std::nullopt;
        const std::string_view text = bytes.substr(at + 2, length);
        *strings[i] = unicode ? fromUtf16le(text) : platform::codec::ansiToUtf8(codePage, text);
        at += 2 + length;
    }

    // Extra data blocks up to the terminal block (a size below 4).
    for (;;) {
        const auto size = c.le(at, 4);
        if (!size) return std::nullopt;
        if (*size < 4) break;
        const auto signature = c.le(at + 4, 4);
        if (*size < 8 || !signature || !c.has(at, *size)) return std::nullopt;
        if (*signature == kEnvironmentBlock && *size >= kEnvironmentBlockSize) {
            const std::size_t ansiAt = at + 8;
            const std::size_t wideAt = ansiAt + 260;
            const auto wide = widez(bytes, wideAt, wideAt + 520);
            const auto ansi = ansiz(bytes, ansiAt, wideAt);
            if (wide && !wide->empty())
                out.environmentTarget = fromUtf16le(*wide);
            else if (ansi)
                out.environmentTarget = platform::codec::ansiToUtf8(codePage, *ansi);
        }
        at += *size;
    }
    return out;
}

}  // namespace setup
