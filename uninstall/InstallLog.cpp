#include "uninstall/InstallLog.h"

#include <algorithm>

#include "platform/Profile.h"

namespace uninstall {

namespace {

// Logged paths are up to a few hundred characters; a generous buffer keeps long ones whole.
constexpr std::size_t kValueBuffer = 4096;

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return out;
}

std::vector<std::string> sectionValues(const platform::ProfileFiles& profiles,
                                       std::string_view logPath, std::string_view section) {
    std::vector<std::string> values;
    for (const std::string& key : profiles.keys(logPath, section)) {
        std::string value = profiles.readString(logPath, section, key, "", kValueBuffer);
        if (!value.empty()) values.push_back(std::move(value));
    }
    return values;
}

}  // namespace

InstallLog readInstallLog(const platform::ProfileFiles& profiles, std::string_view logPath) {
    InstallLog log;
    log.files = sectionValues(profiles, logPath, "LOG");
    log.folders = sectionValues(profiles, logPath, "DIR");
    log.uninstallKey = profiles.readString(logPath, "UNINSTALL", "PATH", "", kValueBuffer);
    log.applicationKey = profiles.readString(logPath, "REGISTRY", "PATH", "", kValueBuffer);
    // Pairs by number; the numbers run over a whole setup run, so they are taken from the
    // file too. A key%d without its val%d names nothing whole and is passed over.
    for (const std::string& name : profiles.keys(logPath, "REGISTRYENTRY")) {
        if (name.size() < 4 || lowerAscii(name.substr(0, 3)) != "key") continue;
        const std::string number = name.substr(3);
        std::string key = profiles.readString(logPath, "REGISTRYENTRY", name, "", kValueBuffer);
        const std::string missing = "\x01";
        std::string value =
            profiles.readString(logPath, "REGISTRYENTRY", "val" + number, missing, kValueBuffer);
        if (!key.empty() && value != missing) log.registryEntries.push_back({key, value});
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

std::string comparablePath(std::string_view winPath) {
    std::string path = lowerAscii(winPath);
    std::replace(path.begin(), path.end(), '/', '\\');
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

}  // namespace uninstall
