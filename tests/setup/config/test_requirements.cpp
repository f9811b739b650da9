#include <gtest/gtest.h>

#include "platform/Profile.h"
#include "setup/config/Requirements.h"
#include "support/TempWinRoot.h"

using namespace setup;
using platform::WindowsVersion;

TEST(requirements, system_names_and_families) {
    const struct {
        WindowsVersion version;
        const char* name;
        int family;
    } cases[] = {
        {{4, 0, true, "Service Pack 6a"}, "Windows NT 4.0 Service Pack 6a", 5},
        {{4, 0, true, ""}, "Windows NT 4.0", 5},
        {{5, 0, true, "Service Pack 4"}, "Windows 2000 Service Pack 4", 4},
        {{5, 1, true, ""}, "Windows XP", 6},
        {{5, 1, true, "Service Pack 0"}, "Windows XP", 6},
        {{6, 2, true, "Service Pack 1"}, " Service Pack 1", 0},
        {{4, 0, false, " C"}, "Windows 95 C", 1},
        {{4, 10, false, " A"}, "Windows 98 A", 2},
        {{4, 90, false, ""}, "Windows ME", 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(systemName(c.version), c.name);
        EXPECT_EQ(systemFamily(systemName(c.version)), c.family) << c.name;
    }
}

TEST(requirements, first_failure_decides_the_message) {
    testing_support::TempWinRoot root;
    auto profiles = platform::makeProfileFiles(root.fs(), 1252);
    const WindowsVersion nt4{4, 0, true, "Service Pack 6a"};
    const WindowsVersion w2000{5, 0, true, ""};
    const WindowsVersion xp{5, 1, true, ""};
    const platform::ScreenFacts screen{1024, 768, 24};
    const std::uint64_t mb64less = 64ull * 1048576 - 100000;  // 63.9 MB
    const struct {
        const char* system;
        WindowsVersion version;
        std::uint64_t memory;
        platform::ScreenFacts screen;
        std::optional<std::string_view> failure;
    } cases[] = {
        {"mr4=0\r\nmr5=1", w2000, mb64less, screen, kOsNotSupported},
        {"mr5=1", nt4, mb64less, screen, std::nullopt},
        {"mr6=1", xp, mb64less, screen, std::nullopt},
        {"mr1=1", xp, mb64less, screen, kOsNotSupported},
        {"ALL=1\r\nmr6=0", xp, mb64less, screen, std::nullopt},
        {"mr1=1\r\nmr2=1\r\nmr3=1\r\nmr4=1\r\nmr5=1\r\nmr6=1",
         {6, 2, true, ""},
         0,
         screen,
         std::nullopt},
        {"mr6=1", {6, 2, true, ""}, mb64less, screen, kOsNotSupported},
        {"ALL=1\r\nmr7=64", xp, mb64less, screen, std::nullopt},
        {"ALL=1\r\nmr7=65", xp, mb64less, screen, kNotEnoughMemory},
        {"ALL=1\r\nmr7=Any", xp, 0, screen, std::nullopt},
        {"ALL=1\r\nmr7=2", xp, 1048575, screen, kNotEnoughMemory},
        {"ALL=1\r\nmr8=1024", xp, mb64less, {640, 1024, 24}, std::nullopt},
        {"ALL=1\r\nmr8=1024", xp, mb64less, screen, kLowResolution},
        {"ALL=1\r\nmr8=800x600", xp, mb64less, {800, 599, 24}, kLowResolution},
        {"ALL=1\r\nmr8=Any resolution", xp, mb64less, {1, 1, 24}, std::nullopt},
        {"ALL=1\r\nmr9=256 colors", xp, mb64less, {1024, 768, 4}, kFewColours},
        {"ALL=1\r\nmr9=32 Bit", xp, mb64less, screen, kFewColours},
        {"ALL=1\r\nmr9=32 bit", xp, mb64less, screen, std::nullopt},
        {"ALL=1\r\nmr8=4000x4000\r\nmr9=32 Bit", xp, mb64less, {0, 0, 0}, std::nullopt},
        {"ALL=1\r\nmr7=9999\r\nmr8=4000x4000", xp, mb64less, screen, kNotEnoughMemory},
    };
    int n = 0;
    for (const auto& c : cases) {
        std::string file = "C:\\pkg" + std::to_string(n++) + "\\data.tag";
        root.writeHostFile("pkg" + std::to_string(n - 1) + "/data.tag",
                           std::string("[SYSTEM]\r\n") + c.system + "\r\n");
        const PackageDescription package = readPackage(*profiles, file);
        EXPECT_EQ(failedRequirement(package.requirements, {c.version, c.memory, c.screen}),
                  c.failure)
            << c.system;
    }
}
