#include "platform/codec/CommandLine.h"

namespace platform::codec {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

}  // namespace

std::vector<ProgramCandidate> programCandidates(std::string_view commandLine) {
    std::vector<ProgramCandidate> out;
    const std::string_view line = trimLeft(commandLine);
    if (line.empty()) return out;
    if (line.front() == '"') {
        const std::size_t close = line.find('"', 1);
        const std::string_view program =
            line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
        const std::string_view rest =
            close == std::string_view::npos ? std::string_view{} : line.substr(close + 1);
        if (!program.empty()) out.push_back({std::string(program), std::string(trimLeft(rest))});
        return out;
    }
    for (std::size_t pos = 0; pos <= line.size(); ++pos) {
        if (pos < line.size() && !isBlank(line[pos])) continue;
        if (pos > 0 && !isBlank(line[pos - 1])) {
            out.push_back(
                {std::string(line.substr(0, pos)), std::string(trimLeft(line.substr(pos)))});
        }
    }
    return out;
}

std::vector<std::string> splitWindowsArguments(std::string_view arguments) {
    std::vector<std::string> out;
    std::size_t i = 0;
    const std::size_t n = arguments.size();
    for (;;) {
        while (i < n && isBlank(arguments[i])) ++i;
        if (i >= n) return out;
        std::string arg;
        bool inQuotes = false;
        while (i < n && (inQuotes || !isBlank(arguments[i]))) {
            if (arguments[i] == '\\') {
                std::size_t slashes = 0;
                while (i < n && arguments[i] == '\\') {
                    ++slashes;
                    ++i;
                }
                if (i < n && arguments[i] == '"') {
                    arg.append(slashes / 2, '\\');
                    if (slashes % 2) {
                        arg += '"';
                        ++i;
                    }
                } else {
                    arg.append(slashes, '\\');
                }
            } else if (arguments[i] == '"') {
                if (inQuotes && i + 1 < n && arguments[i + 1] == '"') {
                    arg += '"';
                    i += 2;
                } else {
                    inQuotes = !inQuotes;
                    ++i;
                }
            } else {
                arg += arguments[i++];
            }
        }
        out.push_back(std::move(arg));
    }
}

}  // namespace platform::codec
