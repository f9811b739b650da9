#include "support/MemoryFileSystem.h"

#include "WinText.h"

namespace testing_support {

namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

}  // namespace

MemoryFileSystem::MemoryFileSystem() {
    entries_["C:"] = Entry{"c:", true, {}, 0, 0};
}

std::string MemoryFileSystem::key(std::string_view winPath) {
    if (winPath.size() < 2 || winPath[1] != ':') return {};
    std::vector<std::string> names;
    std::size_t pos = 2;
    while (pos < winPath.size()) {
        while (pos < winPath.size() && isSeparator(winPath[pos])) ++pos;
        std::size_t end = pos;
        while (end < winPath.size() && !isSeparator(winPath[end])) ++end;
        std::string_view name = winPath.substr(pos, end - pos);
        pos = end;
        if (name == "..") {  // never above the drive
            if (!names.empty()) names.pop_back();
            continue;
        }
        while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.remove_suffix(1);
        if (name.empty()) continue;
        names.push_back(platform::detail::foldName(name));
    }
    std::string k = platform::detail::foldName(winPath.substr(0, 2));
    for (const auto& n : names) k += "\\" + n;
    return k;
}

std::string MemoryFileSystem::parentKey(const std::string& k) {
    const auto at = k.rfind('\\');
    return at == std::string::npos ? std::string() : k.substr(0, at);
}

std::string MemoryFileSystem::lastName(std::string_view winPath) {
    while (!winPath.empty() && isSeparator(winPath.back())) winPath.remove_suffix(1);
    const auto at = winPath.find_last_of("\\/");
    return std::string(at == std::string_view::npos ? winPath : winPath.substr(at + 1));
}

const MemoryFileSystem::Entry* MemoryFileSystem::find(std::string_view winPath) const {
    const auto it = entries_.find(key(winPath));
    return it == entries_.end() ? nullptr : &it->second;
}

std::optional<std::string> MemoryFileSystem::readFile(std::string_view winPath) const {
    const Entry* e = find(winPath);
    if (!e || e->folder) return std::nullopt;
    return e->bytes;
}

bool MemoryFileSystem::writeFile(std::string_view winPath, std::string_view bytes) {
    const std::string k = key(winPath);
    const Entry* parent = find(parentKey(k));
    if (k.empty() || !parent || !parent->folder) return false;
    auto it = entries_.find(k);
    if (it == entries_.end()) {
        entries_[k] = Entry{lastName(winPath), false, std::string(bytes), 0, 0};
        return true;
    }
    if (it->second.folder || (it->second.attributes & platform::kAttrReadOnly)) return false;
    it->second.bytes = bytes;
    return true;
}

bool MemoryFileSystem::exists(std::string_view winPath) const {
    return find(winPath) != nullptr;
}

bool MemoryFileSystem::isDirectory(std::string_view winPath) const {
    const Entry* e = find(winPath);
    return e && e->folder;
}

bool MemoryFileSystem::createDirectory(std::string_view winPath) {
    const std::string k = key(winPath);
    if (const Entry* e = find(winPath)) return e->folder;
    const Entry* parent = find(parentKey(k));
    if (k.empty() || !parent || !parent->folder) return false;
    entries_[k] = Entry{lastName(winPath), true, {}, 0, 0};
    return true;
}

bool MemoryFileSystem::removeDirectory(std::string_view winPath) {
    const std::string k = key(winPath);
    const Entry* e = find(winPath);
    if (!e || !e->folder || k.find('\\') == std::string::npos) return false;
    for (const auto& [other, entry] : entries_)
        if (parentKey(other) == k) return false;
    entries_.erase(k);
    return true;
}

bool MemoryFileSystem::removeFile(std::string_view winPath) {
    const Entry* e = find(winPath);
    if (!e || e->folder) return false;
    entries_.erase(key(winPath));
    return true;
}

bool MemoryFileSystem::copyFile(std::string_view from, std::string_view to, bool overwrite) {
    const auto bytes = readFile(from);
    if (!bytes || (!overwrite && exists(to))) return false;
    return writeFile(to, *bytes);
}

std::vector<std::string> MemoryFileSystem::list(std::string_view folderWinPath,
                                                std::string_view pattern,
                                                bool includeFolders) const {
    std::vector<std::string> names;
    const std::string k = key(folderWinPath);
    for (const auto& [other, entry] : entries_) {
        if (parentKey(other) != k || (entry.folder && !includeFolders)) continue;
        if (platform::detail::matchWildcard(pattern, entry.name)) names.push_back(entry.name);
    }
    return names;
}

bool MemoryFileSystem::setModifiedTime(std::string_view winPath, std::int64_t unixSeconds) {
    auto it = entries_.find(key(winPath));
    if (it == entries_.end()) return false;
    it->second.modified = unixSeconds;
    return true;
}

std::optional<std::int64_t> MemoryFileSystem::modifiedTime(std::string_view winPath) const {
    const Entry* e = find(winPath);
    if (!e) return std::nullopt;
    return e->modified;
}

bool MemoryFileSystem::setAttributes(std::string_view winPath, std::uint32_t attributes) {
    auto it = entries_.find(key(winPath));
    if (it == entries_.end()) return false;
    it->second.attributes = attributes;
    return true;
}

std::optional<std::uint32_t> MemoryFileSystem::attributes(std::string_view winPath) const {
    const Entry* e = find(winPath);
    if (!e) return std::nullopt;
    return e->attributes | (e->folder ? 0x10u : 0u);
}

FailingFileSystem::Rule failOn(FailingFileSystem::Op op, std::vector<std::string> names) {
    for (auto& n : names) n = platform::detail::foldName(n);
    return [op, names = std::move(names)](FailingFileSystem::Op asked, std::string_view path) {
        if (asked != op) return false;
        const auto at = path.find_last_of("\\/");
        const std::string last =
            platform::detail::foldName(at == std::string_view::npos ? path : path.substr(at + 1));
        for (const auto& n : names)
            if (n == last) return true;
        return false;
    };
}

}  // namespace testing_support
