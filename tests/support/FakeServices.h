#pragma once
// Stand-ins for the services that reach beyond $WINROOT: a launcher that only records what it
// would have started, and system facts a test sets at will.

#include <map>
#include <string>
#include <vector>

#include "platform/Launcher.h"
#include "platform/SystemInfo.h"

namespace testing_support {

class RecordingLauncher final : public platform::Launcher {
public:
    struct Start {
        std::string commandLine;
        std::string workingFolder;
    };
    std::vector<Start> starts;
    std::vector<std::string> opened;
    bool startResult = true;  // what start() and open() answer
    bool openResult = true;

    bool start(std::string_view commandLine, std::string_view workingFolder) override {
        starts.push_back({std::string(commandLine), std::string(workingFolder)});
        return startResult;
    }
    bool open(std::string_view winPath) override {
        opened.emplace_back(winPath);
        return openResult;
    }
};

// Facts of a machine as a test wants them; shell folders are only named, never created.
class FakeSystemInfo final : public platform::SystemInfo {
public:
    std::string windows = "C:\\windows";
    std::string system = "C:\\windows\\system32";
    std::string temp = "C:\\windows\\temp\\";
    std::uint64_t memory = 512ull << 20;
    platform::WindowsVersion windowsVersion;
    int codePage = 1253;
    std::string user = "user";
    platform::ScreenFacts screenFacts{1024, 768, 32};
    std::map<platform::ShellFolder, std::string> shellFolders;  // missing: empty answer
    std::map<std::string, std::string> variables;

    std::string windowsFolder() const override { return windows; }
    std::string systemFolder() const override { return system; }
    std::string tempFolder() override { return temp; }
    std::uint64_t physicalMemoryBytes() const override { return memory; }
    platform::WindowsVersion version() const override { return windowsVersion; }
    int ansiCodePage() const override { return codePage; }
    std::string shellFolder(platform::ShellFolder which) override {
        auto it = shellFolders.find(which);
        return it == shellFolders.end() ? std::string() : it->second;
    }
    std::string userName() const override { return user; }
    platform::ScreenFacts screen() const override { return screenFacts; }
    void setScreen(const platform::ScreenFacts& facts) override { screenFacts = facts; }
    std::optional<std::string> environment(std::string_view name) const override {
        auto it = variables.find(std::string(name));
        if (it == variables.end()) return std::nullopt;
        return it->second;
    }
};

}  // namespace testing_support
