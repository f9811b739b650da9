// Arbitrary bytes as datafile.dlr: the reader must agree with a second, plainly written reading
// of the same rules (lines end at CR, one LF after it skipped, empty lines and an unpaired or
// unterminated last line dropped), and no entry's name may keep a folder, drive or separator.
// The installer builds destinations and member names from these names, so a slip here puts a
// file somewhere else. The first byte picks the code page the file is decoded from (1253, 1252,
// or none, as the installer, the custom page and a layout-only caller read it).

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/codec/AnsiCodePage.h"
#include "setup/engine/PackageList.h"

namespace {

std::vector<std::string> modelLines(std::string_view text) {
    std::vector<std::string> pieces{""};
    for (char c : text) {
        if (c == '\r')
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    pieces.pop_back();  // after the last CR (or the whole text without one): not a line
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        std::string line = pieces[i];
        if (i > 0 && !line.empty() && line[0] == '\n') line.erase(0, 1);
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

int modelFlag(const std::string& dest, std::size_t star, std::size_t n) {
    if (star == std::string::npos || star + 1 + n >= dest.size()) return 0;
    const char c = dest[star + 1 + n];
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static constexpr int kCodePages[] = {1253, 1252, 0};
    const int codePage = kCodePages[data[0] % 3];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto entries = setup::parsePackageList(bytes, codePage);
    // Decoding leaves CR, LF, "*", digits and separators where they were.
    const auto lines = modelLines(
        codePage ? platform::codec::ansiToUtf8(codePage, bytes) : std::string(bytes));
    if (entries.size() != lines.size() / 2) std::abort();

    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& e = entries[i];
        const std::string& source = lines[2 * i];
        const std::string& dest = lines[2 * i + 1];
        if (e.sourceLine != source) std::abort();
        std::size_t cut = source.size();
        while (cut > 0 && source[cut - 1] != '\\' && source[cut - 1] != '/' &&
               source[cut - 1] != ':')
            --cut;
        if (e.name != source.substr(cut)) std::abort();
        if (e.name.find_first_of("\\/:\r") != std::string::npos) std::abort();

        const auto star = dest.find('*');
        if (e.destination != dest.substr(0, star)) std::abort();
        if (e.keepExisting != modelFlag(dest, star, 0) || e.noLog != modelFlag(dest, star, 2) ||
            e.selfRegister != modelFlag(dest, star, 4))
            std::abort();

        if (setup::memberName(i, e.name) != "F" + std::to_string(i) + "_" + e.name) std::abort();
    }
    return 0;
}
