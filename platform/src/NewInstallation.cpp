#include "platform/NewInstallation.h"

#include <cstdlib>

namespace platform {

int ansiCodePageForLocale(std::string_view localeName) {
    return localeName.substr(0, 2) == "el" ? 1253 : 1252;
}

std::string userLocaleName() {
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return value;
    }
    return {};
}

bool seedRegistry(Registry& registry, int ansiCodePage) {
    struct Seed {
        std::string_view key;
        std::string_view name;
        std::string text;
    };
    const Seed seeds[] = {
        {kWindowsCurrentVersionKey, "ProgramFilesDir", "C:\\Program Files"},
        {kWindowsCurrentVersionKey, "CommonFilesDir", "C:\\Program Files\\Common Files"},
        {kWindowsNtCurrentVersionKey, "CurrentVersion", "5.1"},
        {kWindowsNtCurrentVersionKey, "CSDVersion", ""},
        {kCodePageKey, "ACP", std::to_string(ansiCodePage)},
    };
    // What is missing goes in at once: a new root is written once, not once per value.
    std::vector<RegSetting> all;
    for (const auto& seed : seeds) {
        RegValue value;
        value.text = seed.text;
        all.push_back({std::string(seed.key), std::string(seed.name), value});
    }
    // The list of installed programs exists on every installation, empty or not, so removing
    // the last program leaves it as a new installation has it.
    all.push_back({std::string(kWindowsCurrentVersionKey) + "\\Uninstall", {}, std::nullopt});
    return registry.seed(RegRoot::LocalMachine, all);
}

}  // namespace platform
