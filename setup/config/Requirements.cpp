#include "setup/config/Requirements.h"

#include <algorithm>
#include <cctype>

namespace setup {

namespace {

// [SYSTEM] values are read whole.
constexpr std::size_t kWhole = 4095;

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool systemSupported(const SetupData& data, const platform::WindowsVersion& version) {
    if (data.on("SYSTEM", "ALL", kWhole)) return true;
    bool all = true;
    for (int i = 1; i <= 6; ++i) all = all && data.on("SYSTEM", "mr" + std::to_string(i), kWhole);
    if (all) return true;
    int family = systemFamily(systemName(version));
    return family != 0 && data.on("SYSTEM", "mr" + std::to_string(family), kWhole);
}

bool memorySufficient(const SetupData& data, std::uint64_t bytes) {
    std::string need = data.text("SYSTEM", "mr7", kWhole);
    if (need == "Any") return true;
    auto megabytes = static_cast<long long>(bytes / 1048576);
    return megabytes + 1 >= leadingInteger(need);
}

bool resolutionSufficient(const SetupData& data, const platform::ScreenFacts& screen) {
    std::string need = data.text("SYSTEM", "mr8", kWhole);
    if (need == "Any resolution") return true;
    long width = 0;
    long height = 0;
    auto x = need.find('x');
    if (x == std::string::npos) {
        height = leadingInteger(need);
    } else {
        width = leadingInteger(std::string_view(need).substr(0, x));
        height = leadingInteger(std::string_view(need).substr(x + 1));
    }
    return screen.width >= width && screen.height >= height;
}

bool coloursSufficient(const SetupData& data, const platform::ScreenFacts& screen) {
    std::string need = data.text("SYSTEM", "mr9", kWhole);
    int bits = 0;
    if (need == "256 colors") bits = 8;
    if (need == "24 Bit") bits = 24;
    if (need == "32 Bit") bits = 32;
    return screen.bitsPerPixel >= bits;
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

std::optional<std::string_view> failedRequirement(const SetupData& data,
                                                  const MachineFacts& facts) {
    if (!systemSupported(data, facts.version)) return kOsNotSupported;
    if (!memorySufficient(data, facts.memoryBytes)) return kNotEnoughMemory;
    bool screenKnown = facts.screen.width > 0 || facts.screen.height > 0;
    if (screenKnown && !resolutionSufficient(data, facts.screen)) return kLowResolution;
    if (screenKnown && !coloursSufficient(data, facts.screen)) return kFewColours;
    return std::nullopt;
}

}  // namespace setup
