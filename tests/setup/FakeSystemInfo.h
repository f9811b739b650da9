#pragma once
// System facts chosen by the test.

#include <map>

#include "platform/SystemInfo.h"

namespace testing_support {

struct FakeSystemInfo : platform::SystemInfo {
    std::string windows = "C:\\windows";
    std::string system = "C:\\windows\\system32";
    std::string temp = "C:\\windows\\temp\\";
    std::uint64_t memory = 512ull << 20;
    platform::WindowsVersion ver;
    platform::ScreenFacts facts;
    std::map<platform::ShellFolder, std::string> shell;
    std::map<std::string, std::string, std::less<>> env;

    std::string windowsFolder() const override { return windows; }
    std::string systemFolder() const override { return system; }
    std::string tempFolder() override { return temp; }
    std::uint64_t physicalMemoryBytes() const override { return memory; }
    platform::WindowsVersion version() const override { return ver; }
    int ansiCodePage() const override { return 1252; }
    std::string shellFolder(platform::ShellFolder which) override {
        auto it = shell.find(which);
        return it == shell.end() ? std::string() : it->second;
    }
    std::string userName() const override { return "tester"; }
    platform::ScreenFacts screen() const override { return facts; }
    void setScreen(const platform::ScreenFacts& f) override { facts = f; }
    std::optional<std::string> environment(std::string_view name) const override {
        auto it = env.find(name);
        if (it == env.end()) return std::nullopt;
        return it->second;
    }
};

}  // namespace testing_support
