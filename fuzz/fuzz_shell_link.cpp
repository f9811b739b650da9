// Shell links written by setup and read back by our own reader. The first byte's low bit picks:
//   1: fields made from the rest (paths, arguments, icon, times, sizes, show command) are
//      written, and the link read back must give exactly those fields, as the format can hold
//      them: a show command other than 1, 3, 7 reads as 1, a time outside FILETIME as none, a
//      string longer than its 16-bit count is cut;
//   0: the rest is taken as a link file: the reader must not crash or read past it, and a link
//      it accepts, written again, must read back the same.
// The next bit picks the ANSI code page.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "setup/engine/ShellLink.h"
#include "setup/engine/ShellLinkReader.h"
#include "setup/engine/WinText.h"

namespace {

constexpr std::size_t kMaxUnits = 65535;  // a StringData count is 16 bits

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
        return;
    }
    const int extra = cp < 0x800 ? 1 : cp < 0x10000 ? 2 : 3;
    static constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLead[extra] | (cp >> (6 * extra)));
    for (int i = extra - 1; i >= 0; --i) out += static_cast<char>(0x80 | ((cp >> (6 * i)) & 0x3F));
}

// Valid UTF-8 over ASCII, Greek, the rest of the BMP and beyond it; NUL only where allowed.
std::string text(FuzzedDataProvider& in, bool nul) {
    std::string out;
    const auto count = in.ConsumeIntegralInRange<std::size_t>(0, 48);
    for (std::size_t i = 0; i < count && in.remaining_bytes() > 0; ++i) {
        const auto raw = in.ConsumeIntegral<std::uint16_t>();
        char32_t cp = 0;
        switch (in.ConsumeIntegralInRange<int>(0, 3)) {
            case 0:
                cp = raw & 0x7F;
                break;
            case 1:
                cp = 0x370 + raw % 0x90;
                break;
            case 2:
                cp = raw >= 0xD800 && raw < 0xE000 ? raw + 0x800 : raw;
                break;
            default:
                cp = 0x10000 + raw * 16u;
                break;
        }
        if (cp == 0 && !nul) cp = '\\';
        appendUtf8(out, cp);
    }
    return out;
}

std::size_t utf16Units(const std::string& utf8) {
    std::size_t units = 0;
    for (const unsigned char c : utf8) {
        if ((c & 0xC0) != 0x80) ++units;
        if ((c & 0xF8) == 0xF0) ++units;  // a surrogate pair
    }
    return units;
}

// The longest start of a text that fits a StringData count, whole characters only.
std::string fitted(const std::string& utf8) {
    std::size_t units = 0;
    std::size_t at = 0;
    while (at < utf8.size()) {
        const auto c = static_cast<unsigned char>(utf8[at]);
        const std::size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        const std::size_t need = length == 4 ? 2 : 1;
        if (units + need > kMaxUnits) break;
        units += need;
        at += length;
    }
    return utf8.substr(0, at);
}

// What a link keeps of a time: FILETIME runs from 1601 for 2^64 ticks of 100 ns; 0 is none.
std::int64_t keptTime(std::int64_t seconds) {
    constexpr std::int64_t kEpochGap = 11644473600LL;
    constexpr auto kLast = static_cast<std::int64_t>(
        std::numeric_limits<std::uint64_t>::max() / 10000000ULL - 11644473600ULL);
    return seconds > -kEpochGap && seconds <= kLast ? seconds : 0;
}

std::uint32_t keptShow(std::uint32_t show) {
    return show == 3 || show == 7 ? show : 1;
}

void expectSame(const setup::ShellLinkData& got, const setup::ShellLinkData& want) {
    if (got.target != want.target || got.workingFolder != fitted(want.workingFolder) ||
        got.arguments != fitted(want.arguments) || got.iconLocation != fitted(want.iconLocation) ||
        got.iconIndex != want.iconIndex || got.showCommand != keptShow(want.showCommand) ||
        got.fileSize != want.fileSize || got.writeTime != keptTime(want.writeTime) ||
        got.codePage != want.codePage)
        std::abort();
}

void roundTrip(FuzzedDataProvider& in, int codePage) {
    setup::ShellLinkData link;
    link.codePage = codePage;
    // A path ends at its NUL in the format: it never holds one.
    link.target = text(in, false);
    link.workingFolder = text(in, true);
    link.arguments = text(in, true);
    link.iconLocation = text(in, true);
    link.iconIndex = in.ConsumeIntegral<std::int32_t>();
    link.showCommand = in.ConsumeIntegral<std::uint32_t>();
    link.fileSize = in.ConsumeIntegral<std::uint32_t>();
    link.writeTime = in.ConsumeIntegral<std::int64_t>();
    // A command line can be longer than the 16-bit count of its string. Such a link takes as
    // long as hundreds of short ones, so only one input in 32 makes one.
    if ((in.ConsumeIntegral<std::uint8_t>() & 0x1F) == 0x1F && !link.arguments.empty()) {
        const std::string piece = link.arguments;
        for (std::size_t n = kMaxUnits / utf16Units(piece); n > 0; --n) link.arguments += piece;
    }

    const std::string bytes = setup::shellLinkBytes(link);
    const auto read = setup::readShellLink(bytes, codePage);
    if (!read) std::abort();
    expectSame(read->link, link);
    if (read->ansiTarget != setup::toAnsi(link.target, codePage)) std::abort();
    if (read->creationTime != read->link.writeTime || read->accessTime != read->link.writeTime)
        std::abort();
    std::uint32_t flags = 0x02 | 0x80;
    if (!read->link.workingFolder.empty()) flags |= 0x10;
    if (!read->link.arguments.empty()) flags |= 0x20;
    if (!read->link.iconLocation.empty()) flags |= 0x40;
    if (read->flags != flags || read->fileAttributes != 0x20 || read->hotKey != 0) std::abort();
    if (!read->name.empty() || !read->relativePath.empty() || !read->environmentTarget.empty())
        std::abort();
}

void reread(std::string_view bytes, int codePage) {
    const auto first = setup::readShellLink(bytes, codePage);
    if (!first) return;
    const auto again = setup::readShellLink(setup::shellLinkBytes(first->link), codePage);
    if (!again) std::abort();
    expectSame(again->link, first->link);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int codePage = (data[0] & 2) ? 1253 : 1252;
    if (data[0] & 1) {
        FuzzedDataProvider in(data + 1, size - 1);
        roundTrip(in, codePage);
    } else {
        reread(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1), codePage);
    }
    return 0;
}
