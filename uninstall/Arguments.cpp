#include "uninstall/Arguments.h"

#include <algorithm>

namespace uninstall {

std::optional<Arguments> parseArguments(const std::vector<std::string>& words) {
    Arguments arguments;
    std::string path;
    for (const std::string& word : words) {
        if (word == "--silent" || word == "/s" || word == "/S") {
            arguments.silent = true;
            continue;
        }
        if (word.size() > 1 && word[0] == '-' && word[1] == '-') return std::nullopt;
        if (!path.empty()) path += ' ';
        path += word;
    }
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') {
        path = path.substr(1, path.size() - 2);
    }
    if (path.empty() || path.find('"') != std::string::npos) return std::nullopt;
    if (path.front() == '/') {
        std::replace(path.begin(), path.end(), '/', '\\');
        path = "z:" + path;
    }
    arguments.logPath = std::move(path);
    return arguments;
}

}  // namespace uninstall
