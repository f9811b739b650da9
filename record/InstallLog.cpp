#include "record/InstallLog.h"

#include <algorithm>
#include <cstdio>

#include "platform/FileSystem.h"
#include "platform/codec/ProfileSyntax.h"
#include "platform/codec/Unicode.h"

namespace record {
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

std::string InstallLogWriter::chooseName(const platform::FileSystem& files, std::string_view folder,
                                         std::pair<int, int> minutesSeconds) {
    const std::string base = std::string(folder) + "\\";
    auto taken = [&](const std::string& log) {
        return files.exists(base + log) || files.exists(base + log.substr(0, log.size() - 4) + ".journal");
    };
    if (!taken("install.log")) return "install.log";
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%02d%02d", minutesSeconds.first % 100,
                  minutesSeconds.second % 100);
    std::string name = std::string("install_") + stamp + ".log";
    for (int n = 2; taken(name); ++n)
        name = std::string("install_") + stamp + "_" + std::to_string(n) + ".log";
    return name;
}

InstallLogWriter::Section& InstallLogWriter::section(std::string_view name) {
    for (auto& s : sections_)
        if (sameAscii(s.name, name)) return s;
    sections_.push_back({std::string(name), {}});
    return sections_.back();
}

void InstallLogWriter::set(std::string_view sectionName, std::string_view key,
                           std::string_view value) {
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

void InstallLogWriter::append(std::string_view sectionName, std::string_view key,
                              std::string_view value) {
    section(sectionName).keys.emplace_back(std::string(key), std::string(value));
    dirty_ = true;
}

std::string InstallLogWriter::text() const {
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

bool InstallLogWriter::flush() {
    if (!dirty_ || path_.empty()) return !dirty_;
    if (!files_.writeFile(path_, platform::codec::utf8ToAnsiLossy(codePage_, text()))) return false;
    dirty_ = false;
    return true;
}

std::optional<InstallLog> parseInstallLog(std::string_view bytes, int codePage) {
    using namespace platform::codec;
    // An INI file is text: a NUL byte says it is something else (UTF-16 logs have a mark).
    if (profileEncoding(bytes) == ProfileEncoding::Ansi &&
        bytes.find('\0') != std::string_view::npos)
        return std::nullopt;
    // A log lists every file installed: it is decoded once, not once per question.
    const ProfileText text(bytes, codePage);
    bool known = false;
    for (const std::string& s : text.sections()) {
        for (const char* ours : {"LOG", "DIR", "UNINSTALL", "REGISTRY", "REGISTRYENTRY", "CAMINHO",
                                 "RTYPE", "KILLPROCESS"})
            known = known || sameAscii(s, ours);
    }
    if (!known) return std::nullopt;

    auto values = [&](std::string_view section) {
        auto all = text.sectionValues(section);
        std::vector<std::string> out;
        out.reserve(all.size());
        for (auto& [key, value] : all)
            if (!value.empty()) out.push_back(std::move(value));
        return out;
    };
    InstallLog log;
    log.files = values("LOG");
    log.folders = values("DIR");
    log.uninstallKey = text.value("UNINSTALL", "PATH").value_or("");
    log.applicationKey = text.value("REGISTRY", "PATH").value_or("");
    // Pairs by number; the numbers run over a whole setup run, so they are taken from the
    // file too. A key%d without its val%d names nothing whole and is passed over.
    const auto entries = text.sectionValues("REGISTRYENTRY");
    for (const auto& [name, key] : entries) {
        if (name.size() < 4 || !sameAscii(name.substr(0, 3), "KEY") || key.empty()) continue;
        const std::string wanted = "val" + name.substr(3);
        const auto value = std::find_if(entries.begin(), entries.end(),
                                        [&](const auto& kv) { return sameAscii(kv.first, wanted); });
        if (value != entries.end()) log.registryEntries.push_back({key, value->second});
    }
    return log;
}

bool splitRegistryPath(std::string_view path, std::string& root, std::string& subkey) {
    const auto slash = path.find('\\');
    if (slash == std::string_view::npos) return false;
    root = std::string(path.substr(0, slash));
    subkey = std::string(path.substr(slash + 1));
    return true;
}

}  // namespace record
