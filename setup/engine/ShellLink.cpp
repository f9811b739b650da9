#include "setup/engine/ShellLink.h"

#include <vector>

#include "setup/engine/WinText.h"

namespace setup {
namespace {

constexpr std::uint32_t kHasLinkInfo = 0x02;
constexpr std::uint32_t kHasWorkingDir = 0x10;
constexpr std::uint32_t kHasArguments = 0x20;
constexpr std::uint32_t kHasIconLocation = 0x40;
constexpr std::uint32_t kIsUnicode = 0x80;
constexpr std::uint32_t kArchive = 0x20;
constexpr std::uint32_t kLinkInfoHeaderSize = 0x24;  // with the Unicode path offsets
constexpr std::uint32_t kVolumeIdSize = 0x11;        // the fixed part and an empty label

void put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void put64(std::string& out, std::uint64_t v) {
    put32(out, static_cast<std::uint32_t>(v));
    put32(out, static_cast<std::uint32_t>(v >> 32));
}

// FILETIME counts 100 ns ticks from 1601 in 64 bits; a time it cannot hold is written as none,
// rather than wrapped round to some other date.
std::uint64_t fileTime(std::int64_t unixSeconds) {
    constexpr std::int64_t kFrom1601 = 11644473600LL;
    constexpr auto kLast = static_cast<std::int64_t>(UINT64_MAX / 10000000ULL) - kFrom1601;
    if (unixSeconds == 0 || unixSeconds <= -kFrom1601 || unixSeconds > kLast) return 0;
    return static_cast<std::uint64_t>(unixSeconds + kFrom1601) * 10000000ULL;
}

std::string linkInfo(const std::string& path, int codePage) {
    const std::string ansi = toAnsi(path, codePage) + '\0';
    const std::string wide = toUtf16le(path) + std::string(2, '\0');
    const std::uint32_t volumeOffset = kLinkInfoHeaderSize;
    const std::uint32_t baseOffset = volumeOffset + kVolumeIdSize;
    const std::uint32_t suffixOffset = baseOffset + static_cast<std::uint32_t>(ansi.size());
    const std::uint32_t baseOffsetW = suffixOffset + 1;
    const std::uint32_t suffixOffsetW = baseOffsetW + static_cast<std::uint32_t>(wide.size());
    const std::uint32_t size = suffixOffsetW + 2;

    std::string out;
    put32(out, size);
    put32(out, kLinkInfoHeaderSize);
    put32(out, 0x1);  // VolumeIDAndLocalBasePath
    put32(out, volumeOffset);
    put32(out, baseOffset);
    put32(out, 0);  // no network part
    put32(out, suffixOffset);
    put32(out, baseOffsetW);
    put32(out, suffixOffsetW);
    put32(out, kVolumeIdSize);
    put32(out, 3);  // a fixed disk
    put32(out, 0x1234ABCD);
    put32(out, 0x10);  // the label follows at once
    out += '\0';       // empty label
    out += ansi;
    out += '\0';  // empty suffix
    out += wide;
    out += std::string(2, '\0');
    return out;
}

// The count is 16 bits: a longer text is cut to what it can say, never inside a surrogate pair,
// so the count always matches the characters that follow it.
void putString(std::string& out, const std::string& text) {
    constexpr std::size_t kMaxUnits = 0xFFFF;
    std::string wide = toUtf16le(text);
    if (wide.size() / 2 > kMaxUnits) {
        std::size_t units = kMaxUnits;
        const auto last = static_cast<unsigned char>(wide[2 * units - 1]);
        if (last >= 0xD8 && last <= 0xDB) --units;  // a high surrogate without its pair
        wide.resize(2 * units);
    }
    put16(out, static_cast<std::uint32_t>(wide.size() / 2));
    out += wide;
}

}  // namespace

std::string shellLinkBytes(const ShellLinkData& link) {
    std::uint32_t flags = kHasLinkInfo | kIsUnicode;
    if (!link.workingFolder.empty()) flags |= kHasWorkingDir;
    if (!link.arguments.empty()) flags |= kHasArguments;
    if (!link.iconLocation.empty()) flags |= kHasIconLocation;
    const std::uint32_t show =
        link.showCommand == 3 || link.showCommand == 7 ? link.showCommand : 1;

    std::string out;
    put32(out, 0x4C);
    out += std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16);
    put32(out, flags);
    put32(out, kArchive);
    put64(out, fileTime(link.writeTime));  // creation
    put64(out, fileTime(link.writeTime));  // access
    put64(out, fileTime(link.writeTime));  // write
    put32(out, link.fileSize);
    put32(out, static_cast<std::uint32_t>(link.iconIndex));
    put32(out, show);
    put16(out, 0);  // no hot key
    put16(out, 0);
    put32(out, 0);
    put32(out, 0);

    out += linkInfo(link.target, link.codePage);
    if (flags & kHasWorkingDir) putString(out, link.workingFolder);
    if (flags & kHasArguments) putString(out, link.arguments);
    if (flags & kHasIconLocation) putString(out, link.iconLocation);
    put32(out, 0);  // terminal block
    return out;
}

std::string internetShortcutText(std::string_view url) {
    return "[InternetShortcut]\r\nURL=" + std::string(url) + "\r\n";
}

namespace {

// Splits a Windows command-line tail at blanks outside double quotes.
std::vector<std::string> splitArguments(std::string_view text) {
    std::vector<std::string> out;
    std::string current;
    bool quoted = false, any = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (any) out.push_back(current);
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any) out.push_back(current);
    return out;
}

// One Exec argument: quoted with "\" before the four characters that need it inside quotes,
// "%" doubled; then the backslashes doubled once more for the desktop file's string escapes.
std::string execArgument(std::string_view arg) {
    std::string quoted = "\"";
    for (char c : arg) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';
    std::string out;
    for (char c : quoted) {
        if (c == '\\') out += '\\';
        out += c;
    }
    return out;
}

// Newlines would start a new key: a value keeps one line.
std::string oneLine(std::string_view text) {
    std::string out;
    for (char c : text) out += (c == '\n' || c == '\r') ? ' ' : c;
    return out;
}

}  // namespace

std::string desktopEntryText(const DesktopEntryData& entry) {
    std::string exec;
    if (!entry.winRoot.empty()) exec = "env " + execArgument("WINROOT=" + entry.winRoot) + " ";
    exec += execArgument(entry.program);
    for (const auto& arg : splitArguments(entry.arguments)) exec += " " + execArgument(arg);
    std::string out = "[Desktop Entry]\nType=Application\nName=" + oneLine(entry.name) + "\n";
    out += "Exec=" + oneLine(exec) + "\n";
    if (!entry.workingFolder.empty()) out += "Path=" + oneLine(entry.workingFolder) + "\n";
    if (!entry.icon.empty()) out += "Icon=" + oneLine(entry.icon) + "\n";
    if (!entry.categories.empty()) out += "Categories=" + oneLine(entry.categories) + "\n";
    out += "Terminal=false\n";
    return out;
}

std::string desktopFileName(std::string_view product, std::string_view shortcut) {
    std::string out;
    auto add = [&out](std::string_view text) {
        for (char c : lowerCase(text)) {
            const bool keep = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
            if (keep)
                out += c;
            else if (!out.empty() && out.back() != '-')
                out += '-';
        }
        if (!out.empty() && out.back() != '-') out += '-';
    };
    add(product);
    add(shortcut);
    while (!out.empty() && out.back() == '-') out.pop_back();
    if (out.empty()) out = "setup-shortcut";
    return out + ".desktop";
}

}  // namespace setup
