#include "setup/config/Requirements.h"

#include <algorithm>
#include <cctype>

namespace setup {

namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool systemSupported(const SystemRequirements& need, const platform::WindowsVersion& version) {
    if (need.everySystem) return true;
    if (std::all_of(need.systems.begin(), need.systems.end(), [](bool on) { return on; }))
        return true;
    int family = systemFamily(systemName(version));
    return family != 0 && need.systems[family - 1];
}

bool memorySufficient(const SystemRequirements& need, std::uint64_t bytes) {
    if (!need.memoryMegabytes) return true;
    auto megabytes = static_cast<long long>(bytes / 1048576);
    return megabytes + 1 >= *need.memoryMegabytes;
}

bool resolutionSufficient(const SystemRequirements& need, const platform::ScreenFacts& screen) {
    if (!need.resolution) return true;
    return screen.width >= need.resolution->width && screen.height >= need.resolution->height;
}

}  // namespace

std::string systemName(const platform::WindowsVersion& version) {
    std::string name;
    const std::string& pack = version.servicePack;
    if (version.ntFamily) {
        if (version.major == 4)
            name = "Windows NT 4.0";
        else if (version.major > 4 && version.minor == 0)
            name = "Windows 2000";
        else if (version.major > 4 && version.minor == 1)
            name = "Windows XP";
        if (pack.find_first_of("123456789") != std::string::npos) name += " " + pack;
    } else {
        if (version.minor == 0) name = "Windows 95";
        if (version.minor == 10) name = "Windows 98";
        if (version.minor == 90) name = "Windows ME";
        name += pack;
    }
    return name;
}

int systemFamily(std::string_view systemName) {
    std::string name = lower(systemName);
    int family = 0;
    const std::pair<std::string_view, int> hits[] = {{"95", 1},   {"98", 2}, {"windows me", 3},
                                                     {"2000", 4}, {"nt", 5}, {"xp", 6}};
    for (const auto& [text, number] : hits)
        if (name.find(text) != std::string::npos) family = number;
    return family;
}

std::optional<std::string_view> failedRequirement(const SystemRequirements& need,
                                                  const MachineFacts& facts) {
    if (!systemSupported(need, facts.version)) return kOsNotSupported;
    if (!memorySufficient(need, facts.memoryBytes)) return kNotEnoughMemory;
    bool screenKnown = facts.screen.width > 0 || facts.screen.height > 0;
    if (screenKnown && !resolutionSufficient(need, facts.screen)) return kLowResolution;
    if (screenKnown && facts.screen.bitsPerPixel < need.colourBits) return kFewColours;
    return std::nullopt;
}

}  // namespace setup
