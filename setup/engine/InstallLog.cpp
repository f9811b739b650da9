#include "setup/engine/InstallLog.h"

#include <cstdio>

#include "platform/FileSystem.h"
#include "setup/engine/WinText.h"

namespace setup {
namespace {

bool sameAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

}  // namespace

std::string InstallLog::chooseName(const platform::FileSystem& files, std::string_view folder,
                                   std::pair<int, int> minutesSeconds) {
    const std::string base = std::string(folder) + "\\";
    if (!files.exists(base + "install.log")) return "install.log";
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%02d%02d", minutesSeconds.first % 100,
                  minutesSeconds.second % 100);
    std::string name = std::string("install_") + stamp + ".log";
    for (int n = 2; files.exists(base + name); ++n)
        name = std::string("install_") + stamp + "_" + std::to_string(n) + ".log";
    return name;
}

InstallLog::Section& InstallLog::section(std::string_view name) {
    for (auto& s : sections_)
        if (sameAscii(s.name, name)) return s;
    sections_.push_back({std::string(name), {}});
    return sections_.back();
}

void InstallLog::set(std::string_view sectionName, std::string_view key, std::string_view value) {
    auto& s = section(sectionName);
    dirty_ = true;
    for (auto& kv : s.keys) {
        if (sameAscii(kv.first, key)) {
            kv.second = std::string(value);
            return;
        }
    }
    s.keys.emplace_back(std::string(key), std::string(value));
}

void InstallLog::append(std::string_view sectionName, std::string_view key,
                        std::string_view value) {
    section(sectionName).keys.emplace_back(std::string(key), std::string(value));
    dirty_ = true;
}

std::string InstallLog::text() const {
    std::size_t size = 0;
    for (const auto& s : sections_) {
        size += s.name.size() + 6;
        for (const auto& [k, v] : s.keys) size += k.size() + v.size() + 3;
    }
    std::string out;
    out.reserve(size);
    for (const auto& s : sections_) {
        if (!out.empty()) out += "\r\n";
        out.append("[").append(s.name).append("]\r\n");
        for (const auto& [k, v] : s.keys) out.append(k).append("=").append(v).append("\r\n");
    }
    return out;
}

bool InstallLog::flush() {
    if (!dirty_ || path_.empty()) return !dirty_;
    if (!files_.writeFile(path_, toAnsi(text(), codePage_))) return false;
    dirty_ = false;
    return true;
}

}  // namespace setup
