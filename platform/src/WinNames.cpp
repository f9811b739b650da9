#include "platform/WinNames.h"

#include "WinText.h"

namespace platform {
namespace {

std::string_view withoutTrailing(std::string_view name) {
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.remove_suffix(1);
    return name;
}

}  // namespace

std::string nameKey(std::string_view name) { return detail::foldName(withoutTrailing(name)); }

std::string pathKey(std::string_view winPath) {
    std::string key;
    key.reserve(winPath.size());
    std::size_t start = 0;
    while (start <= winPath.size()) {
        std::size_t end = winPath.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = winPath.size();
        const std::string_view name = winPath.substr(start, end - start);
        // "." and ".." are not names: they keep their periods.
        key += (name == "." || name == "..") ? std::string(name) : nameKey(name);
        if (end < winPath.size()) key += '\\';
        start = end + 1;
    }
    while (key.size() > 3 && key.back() == '\\') key.pop_back();
    return key;
}

}  // namespace platform
