#include "setup/engine/PackageList.h"

#include "platform/codec/AnsiCodePage.h"
#include "setup/engine/WinText.h"

namespace setup {
namespace {

int flagAt(std::string_view flags, std::size_t pos) {
    if (pos >= flags.size()) return 0;
    const char c = flags[pos];
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

}  // namespace

std::vector<PackageEntry> parsePackageList(std::string_view bytes, int ansiCodePage) {
    // Decoded once, here, so that the custom page's rows, the chosen names, the compact list
    // (data.tag is read decoded too) and the member names all compare as the same UTF-8 text.
    // CR, LF, "*", the flags and the separators are ASCII in every ANSI code page, so the
    // layout is the same before and after.
    const std::string decoded =
        ansiCodePage != 0 ? platform::codec::ansiToUtf8(ansiCodePage, bytes) : std::string(bytes);
    const std::string_view text = decoded;
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto cr = text.find('\r', pos);
        if (cr == std::string_view::npos) break;  // a last line without CR does not count
        const auto line = text.substr(pos, cr - pos);
        pos = cr + 1;
        if (pos < text.size() && text[pos] == '\n') ++pos;
        if (!line.empty()) lines.push_back(line);
    }
    std::vector<PackageEntry> entries;
    entries.reserve(lines.size() / 2);
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        PackageEntry e;
        e.sourceLine = std::string(lines[i]);
        e.name = std::string(fileNameOf(lines[i]));
        const auto dest = lines[i + 1];
        const auto star = dest.find('*');
        e.destination = std::string(dest.substr(0, star));
        if (star != std::string_view::npos) {
            const auto flags = dest.substr(star + 1);
            e.keepExisting = flagAt(flags, 0);
            e.noLog = flagAt(flags, 2);
            e.selfRegister = flagAt(flags, 4);
        }
        entries.push_back(std::move(e));
    }
    return entries;
}

std::string memberName(std::size_t index, std::string_view name) {
    return "F" + std::to_string(index) + "_" + std::string(name);
}

}  // namespace setup
