#pragma once
// The machine requirements of [SYSTEM], tested at start-up in a fixed order: operating
// system, memory, screen resolution, colour depth. The first that fails ends the setup.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/SystemInfo.h"
#include "setup/config/PackageDescription.h"

namespace setup {

inline constexpr std::string_view kOsNotSupported =
    "This OS platform is not supported by this software.";
inline constexpr std::string_view kNotEnoughMemory = "Not enough memory (RAM) available...";
inline constexpr std::string_view kLowResolution =
    "Please select a graphic-mode with a higher resolution!";
inline constexpr std::string_view kFewColours = "Please select a graphic-mode with more colors!";

// "Windows NT 4.0 Service Pack 6a", "Windows 98", ... as the version query describes it.
std::string systemName(const platform::WindowsVersion& version);
// 1 Windows 95, 2 98, 3 ME, 4 2000, 5 NT, 6 XP; 0 none of them. Keyed by "mr1".."mr6".
int systemFamily(std::string_view systemName);

struct MachineFacts {
    platform::WindowsVersion version;
    std::uint64_t memoryBytes = 0;
    // Unknown (0 x 0) when the program has no display: the screen tests then pass, since no
    // window will be shown on it.
    platform::ScreenFacts screen;
};

// The message of the first requirement the machine does not meet, or nothing.
std::optional<std::string_view> failedRequirement(const SystemRequirements& need,
                                                  const MachineFacts& facts);

}  // namespace setup
