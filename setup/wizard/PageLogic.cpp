#include "setup/wizard/PageLogic.h"

#include <array>
#include <cstdint>

#include "platform/FileSystem.h"
#include "platform/codec/AnsiCodePage.h"
#include "platform/codec/Unicode.h"
#include "setup/config/PackageDescription.h"
#include "setup/config/RunState.h"

namespace setup {

std::vector<std::string> buildPageList(const Pages& pages) {
    struct Entry {
        const char* name;
        bool Pages::*shown;
    };
    static constexpr std::array<Entry, 10> kOrder{{{"welcome", &Pages::welcome},
                                                   {"license", &Pages::license},
                                                   {"readme", &Pages::readme},
                                                   {"user", &Pages::user},
                                                   {"destination", &Pages::destination},
                                                   {"setuptype", &Pages::setupType},
                                                   {"folder", &Pages::programFolder},
                                                   {"start", &Pages::startCopying},
                                                   {"progress", nullptr},
                                                   {"complete", &Pages::complete}}};
    std::vector<std::string> names;
    for (const Entry& e : kOrder)
        if (!e.shown || pages.*e.shown) names.emplace_back(e.name);
    return names;
}

std::string decodeAnsi(std::string_view bytes, int ansiCodePage) {
    return platform::codec::ansiToUtf8(ansiCodePage, bytes);
}

std::string decodePageText(std::string_view bytes, int ansiCodePage) {
    if (bytes.starts_with("\xFF\xFE")) return platform::codec::utf16ToUtf8(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF")) return platform::codec::utf16ToUtf8(bytes.substr(2), true);
    bool utf8 = bytes.starts_with("\xEF\xBB\xBF");
    if (utf8) bytes.remove_prefix(3);
    bytes = bytes.substr(0, bytes.find('\0'));
    if (!utf8) return decodeAnsi(bytes, ansiCodePage);
    // Ill-formed sequences would upset the text box; show them as the replacement character.
    std::string out;
    std::size_t i = 0;
    while (i < bytes.size()) {
        auto c = static_cast<unsigned char>(bytes[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        bool ok = extra >= 0 && i + extra < bytes.size();
        for (int k = 1; ok && k <= extra; ++k)
            ok = (static_cast<unsigned char>(bytes[i + k]) & 0xC0) == 0x80;
        if (ok) {
            out.append(bytes.substr(i, extra + 1));
            i += extra + 1;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

std::string installSummary(const RunState& s) {
    return "\r\nSetup will install " + s.productName + " in the directory:\r\n>  " +
           s.installFolder + "\r\n\r\nUser Information:\r\n>  " + s.userName + "\r\n>  " +
           s.company + "\r\n\r\nProgram Folder:\r\n>  " + s.programFolder;
}

std::string shortenForDisplay(std::string_view path) {
    // Characters, not bytes: a Greek folder name must not be cut inside a letter.
    std::size_t chars = 0, i = 0;
    while (i < path.size() && chars < 60) {
        ++i;
        while (i < path.size() && (static_cast<unsigned char>(path[i]) & 0xC0) == 0x80) ++i;
        ++chars;
    }
    if (i >= path.size()) return std::string(path);
    return std::string(path.substr(0, i)) + "...";
}

bool folderNameValid(std::string_view name) {
    if (name.empty()) return false;
    auto edge = [](char c) { return c == '\t' || c == ' ' || c == '.'; };
    if (edge(name.front()) || edge(name.back())) return false;
    return name.find_first_of("\"*/:<>?\\|") == std::string_view::npos;
}

FolderTest testFolder(std::string_view path, bool create, platform::FileSystem& files) {
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (path.size() < 3 || !letter(path[0]) || path[1] != ':' || path[2] != '\\')
        return FolderTest::Invalid;
    if (path.size() == 3) {
        if (!create) return FolderTest::Ok;
        return files.isDirectory(path) ? FolderTest::Ok : FolderTest::CannotCreate;
    }
    std::size_t start = 3;
    while (true) {
        std::size_t end = path.find('\\', start);
        std::string_view name = path.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!folderNameValid(name)) return FolderTest::Invalid;
        if (create) {
            std::string_view chain = path.substr(0, end);
            files.createDirectory(chain);
            if (!files.isDirectory(chain)) return FolderTest::CannotCreate;
        }
        if (end == std::string_view::npos) return FolderTest::Ok;
        start = end + 1;
    }
}

bool listedProgramEntry(std::string_view name) {
    if (name == "." || name == "..") return false;
    return !(name.ends_with("lnk") || name.ends_with("pif"));
}

}  // namespace setup
