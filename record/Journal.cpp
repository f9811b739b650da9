#include "record/Journal.h"

#include <algorithm>
#include <charconv>

#include "platform/FileSystem.h"

namespace record {
namespace {

constexpr std::string_view kHeader = "setup journal 1\n";

bool needsEscape(unsigned char c) { return c < 0x20 || c == '%' || c == 0x7F; }

void appendEscaped(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (!needsEscape(c)) {
            out += ch;
            continue;
        }
        out += '%';
        out += kHex[c >> 4];
        out += kHex[c & 15];
    }
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<std::string> unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int hi = hexValue(text[i + 1]);
        const int lo = hexValue(text[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

bool endsWithNoCase(std::string_view text, std::string_view tail) {
    if (text.size() < tail.size()) return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        char c = text[text.size() - tail.size() + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        if (c != tail[i]) return false;
    }
    return true;
}

}  // namespace

const std::string& Record::field(std::size_t i) const {
    static const std::string kEmpty;
    return i < fields.size() ? fields[i] : kEmpty;
}

std::string journalPathFor(std::string_view logPath) {
    if (endsWithNoCase(logPath, ".log"))
        return std::string(logPath.substr(0, logPath.size() - 4)) + ".journal";
    return std::string(logPath) + ".journal";
}

std::string logPathFor(std::string_view journalPath) {
    if (endsWithNoCase(journalPath, ".journal"))
        return std::string(journalPath.substr(0, journalPath.size() - 8)) + ".log";
    return std::string(journalPath);
}

std::string encodeRecord(const Record& record) {
    std::string line;
    appendEscaped(line, record.tag);
    for (const auto& f : record.fields) {
        line += '\t';
        appendEscaped(line, f);
    }
    line += '\n';
    return line;
}

std::optional<JournalContents> parseJournal(std::string_view bytes) {
    if (bytes.substr(0, kHeader.size()) != kHeader) return std::nullopt;
    JournalContents contents;
    contents.records.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')));
    std::size_t at = kHeader.size();
    while (at < bytes.size()) {
        const std::size_t end = bytes.find('\n', at);
        if (end == std::string_view::npos) break;  // torn: its change never started
        const std::string_view line = bytes.substr(at, end - at);
        at = end + 1;
        Record r;
        std::size_t start = 0;
        bool first = true;
        bool whole = true;
        while (start <= line.size()) {
            std::size_t tab = line.find('\t', start);
            if (tab == std::string_view::npos) tab = line.size();
            auto field = unescape(line.substr(start, tab - start));
            if (!field) {
                whole = false;
                break;
            }
            if (first) r.tag = std::move(*field);
            else r.fields.push_back(std::move(*field));
            first = false;
            start = tab + 1;
        }
        // A line that does not decode is not ours: a journal is read whole or not at all.
        if (!whole || r.tag.empty()) return std::nullopt;
        if (r.tag == kDoneTag) {
            contents.done = true;
            const auto& t = r.field(0);
            std::from_chars(t.data(), t.data() + t.size(), contents.doneAtNs);
        }
        contents.records.push_back(std::move(r));
    }
    return contents;
}

std::optional<JournalContents> readJournal(const platform::FileSystem& files,
                                           std::string_view path) {
    const auto bytes = files.readFile(path);
    if (!bytes) return std::nullopt;
    return parseJournal(*bytes);
}

std::unique_ptr<Journal> Journal::create(platform::FileSystem& files, std::string path) {
    if (files.exists(path) || files.isLink(path)) return nullptr;
    auto file = files.open(path, platform::FileSystem::OpenMode::Write);
    if (!file) return nullptr;
    if (file->write(kHeader.data(), kHeader.size()) != static_cast<std::int64_t>(kHeader.size()))
        return nullptr;
    return std::unique_ptr<Journal>(new Journal(std::move(file), std::move(path)));
}

Journal::Journal(std::unique_ptr<platform::File> file, std::string path)
    : file_(std::move(file)), path_(std::move(path)) {}

Journal::~Journal() = default;

bool Journal::append(const Record& record) {
    const std::string line = encodeRecord(record);
    // One write: a kill leaves the whole line or none of it.
    if (file_->write(line.data(), line.size()) != static_cast<std::int64_t>(line.size()))
        return false;
    ++count_;
    return true;
}

}  // namespace record
