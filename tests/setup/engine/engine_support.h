#pragma once
// A package laid out as start-up leaves it (data.tag, datafile.dlr, members unpacked into the
// temporary folder) in a fresh $WINROOT, with the real file system, registry and profile
// files, and recording stand-ins for the system facts, the launcher and the prompter.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/codec/Unicode.h"
#include "platform/Services.h"
#include "platform/WinRoot.h"
#include "setup/config/PackageDescription.h"
#include "setup/engine/FolderTable.h"
#include "setup/engine/Installer.h"
#include "setup/engine/SilentProgress.h"
#include "support/TempWinRoot.h"

namespace engine_test {

// Every folder and file below the root (its registry files included), with the bytes of each
// file; the members unpacked for the run are not the machine's.
inline std::map<std::string, std::string> snapshot(const std::filesystem::path& root) {
    std::map<std::string, std::string> seen;
    for (auto it = std::filesystem::recursive_directory_iterator(root); it != std::filesystem::recursive_directory_iterator();
         ++it) {
        const std::string relative = std::filesystem::relative(it->path(), root).string();
        if (relative.starts_with("drive_c/windows/temp/")) continue;
        if (it->is_symlink()) {
            seen[relative] = "-> " + std::filesystem::read_symlink(it->path()).string();
            if (it->is_directory()) it.disable_recursion_pending();
        } else if (it->is_directory()) {
            seen[relative + "/"] = "";
        } else {
            std::ifstream in(it->path(), std::ios::binary);
            seen[relative].assign(std::istreambuf_iterator<char>(in), {});
        }
    }
    return seen;
}

// Every difference between two snapshots, one failure each.
inline void expectSameTree(const std::map<std::string, std::string>& before,
                           const std::map<std::string, std::string>& after) {
    for (const auto& [path, bytes] : after) {
        const auto was = before.find(path);
        if (was == before.end())
            ADD_FAILURE() << "new: " << path;
        else if (was->second != bytes)
            ADD_FAILURE() << "changed: " << path << "\n" << bytes;
    }
    for (const auto& [path, bytes] : before)
        if (!after.count(path)) ADD_FAILURE() << "gone: " << path;
}

class FakeSystem : public platform::SystemInfo {
public:
    explicit FakeSystem(platform::FileSystem& files) : files_(files) {}
    std::string windowsFolder() const override { return "C:\\windows"; }
    std::string systemFolder() const override { return "C:\\windows\\system32"; }
    std::string tempFolder() override {
        files_.createDirectory("C:\\windows");
        files_.createDirectory("C:\\windows\\temp");
        return "C:\\windows\\temp\\";
    }
    std::uint64_t physicalMemoryBytes() const override { return 1u << 30; }
    platform::WindowsVersion version() const override { return {}; }
    int ansiCodePage() const override { return codePage; }
    std::string shellFolder(platform::ShellFolder which) override {
        std::string path;
        switch (which) {
            case platform::ShellFolder::CommonPrograms:
                path = "C:\\Menu\\Programs";
                break;
            case platform::ShellFolder::CommonStartMenu:
                path = "C:\\Menu";
                break;
            case platform::ShellFolder::Desktop:
                path = "C:\\Desktop";
                break;
            case platform::ShellFolder::CommonFavorites:
                path = "C:\\Favorites";
                break;
            case platform::ShellFolder::MyMusic:
                for (const char* folder : {"C:\\Users", "C:\\Users\\u", "C:\\Users\\u\\Music"})
                    files_.createDirectory(folder);
                return "C:\\Users\\u\\Music";
            default:
                return {};
        }
        files_.createDirectory("C:\\Menu");
        files_.createDirectory(path);
        return path;
    }
    std::string userName() const override { return "user"; }
    platform::ScreenFacts screen() const override { return {}; }
    void setScreen(const platform::ScreenFacts&) override {}
    std::optional<std::string> environment(std::string_view) const override { return {}; }

    int codePage = 1253;

private:
    platform::FileSystem& files_;
};

class RecordingLauncher : public platform::Launcher {
public:
    bool start(std::string_view commandLine, std::string_view) override {
        started.emplace_back(commandLine);
        return false;  // regsvr32 is not on this host: a failed start must be ignored
    }
    bool open(std::string_view winPath) override {
        opened.emplace_back(winPath);
        return true;
    }
    std::vector<std::string> started;
    std::vector<std::string> opened;
};

class RecordingPrompter : public setup::Prompter {
public:
    void message(std::string_view text, std::string_view) override { messages.emplace_back(text); }
    setup::Answer okCancel(std::string_view, std::string_view) override {
        return setup::Answer::Cancel;
    }
    setup::Answer yesNo(std::string_view text, std::string_view, std::string_view,
                        std::string_view) override {
        questions.emplace_back(text);
        return answer;
    }
    setup::Answer answer = setup::Answer::No;
    std::vector<std::string> questions;
    std::vector<std::string> messages;
};

class EngineTest : public ::testing::Test {
protected:
    EngineTest() {
        services.winRoot = root.root();
        services.files = platform::makePosixFileSystem(root.root());
        services.registry = platform::makeFileRegistry(root.root());
        auto system = std::make_unique<FakeSystem>(*services.files);
        fakeSystem = system.get();
        services.profiles = platform::makeProfileFiles(*services.files, 1253, "C:\\windows");
        auto launch = std::make_unique<RecordingLauncher>();
        launcher = launch.get();
        services.system = std::move(system);
        services.launcher = std::move(launch);
        using setup::FolderKind;
        folders.set(FolderKind::ProgramFiles, "C:\\Program Files");
        folders.set(FolderKind::SharedDlls, "C:\\windows\\system32");
        folders.set(FolderKind::WindowsDisk, "C:");
        folders.set(FolderKind::WindowsDirectory, "C:\\windows");
        folders.set(FolderKind::Fonts, "C:\\windows\\fonts");
        folders.set(FolderKind::CurrentDrive, "C:");
        folders.set(FolderKind::TempDir, "C:\\windows\\temp\\");
        run.setupFolder = "C:\\setup";
        run.dataTagPath = "C:\\setup\\data.tag";
        run.datafilePath = "C:\\setup\\datafile.dlr";
        run.extractionFolder = "C:\\windows\\temp\\";
        run.installFolder = "C:\\Program Files\\App";
        run.productName = run.programFolder = "App";
        run.silent = true;
        readData();
    }

    // datafile.dlr from (source, destination line) pairs, each member unpacked with the text
    // "member <i>".
    void package(const std::vector<std::pair<std::string, std::string>>& pairs) {
        std::string dlr;
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            dlr += pairs[i].first + "\r\n" + pairs[i].second + "\r\n";
            std::string name = pairs[i].first.substr(pairs[i].first.rfind('\\') + 1);
            root.writeHostFile("windows/temp/F" + std::to_string(i) + "_" + name,
                               "member " + std::to_string(i));
        }
        // The list is in the root's ANSI code page, the members' names in UTF-8 (as unpacked).
        root.writeHostFile("setup/datafile.dlr",
                           platform::codec::utf8ToAnsiLossy(fakeSystem->codePage, dlr));
    }
    // data.tag written, and read as start-up reads it.
    void dataTag(const std::string& text) {
        root.writeHostFile("setup/data.tag", text);
        readData();
    }
    void readData() { data = setup::readPackage(*services.profiles, run.dataTagPath); }
    // A root whose ANSI code page is another (1252: Western).
    void useCodePage(int codePage) {
        fakeSystem->codePage = codePage;
        services.profiles = platform::makeProfileFiles(*services.files, codePage, "C:\\windows");
        readData();
    }

    setup::RunOutcome install(std::pair<int, int> clock = {7, 42},
                              setup::InstallerOptions options = {}) {
        options.minutesSeconds = [clock] { return clock; };
        installer = std::make_unique<setup::Installer>(services, run, data, folders, progress,
                                                       prompter, options);
        installer->open();
        return installer->run();
    }
    // Installs with the downloads held back: queued gets them, finish() ends the run.
    setup::RunOutcome installHoldingDownloads(setup::DownloadQueue& queued,
                                              std::function<void()>& finish) {
        setup::InstallerOptions options;
        options.startDownloads = [&](setup::DownloadQueue& queue, std::function<void()> done) {
            queued = queue;
            finish = std::move(done);
        };
        return install({0, 0}, options);
    }
    std::string log(std::string_view section, std::string_view key) {
        return services.profiles->readString(installer->logPath(), section, key, "<none>", 400);
    }
    std::string host(const std::string& relativeToC) { return root.readHostFile(relativeToC); }
    std::optional<platform::RegValue> reg(platform::RegRoot r, std::string_view key,
                                          std::string_view name) {
        return services.registry->value(r, key, name);
    }

    testing_support::TempWinRoot root;
    platform::Services services;
    RecordingLauncher* launcher = nullptr;
    FakeSystem* fakeSystem = nullptr;
    RecordingPrompter prompter;
    setup::SilentProgress progress;
    setup::RunState run;
    setup::FolderTable folders;
    setup::PackageDescription data;
    std::unique_ptr<setup::Installer> installer;
};

// Fields of a shell link, read back from its bytes by the documented layout.
struct LinkFields {
    std::uint32_t flags = 0, showCommand = 0, fileSize = 0;
    std::string ansiPath;              // LinkInfo LocalBasePath
    std::string unicodePath;           // LinkInfo LocalBasePathUnicode, as UTF-16LE bytes
    std::vector<std::string> strings;  // StringData, UTF-16LE bytes, in file order
    bool terminated = false;
};

inline std::uint32_t le(const std::string& b, std::size_t at, int size) {
    std::uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b.at(at + i));
    return v;
}

inline LinkFields readLink(const std::string& b) {
    LinkFields f;
    EXPECT_EQ(le(b, 0, 4), 0x4Cu);
    f.flags = le(b, 0x14, 4);
    f.fileSize = le(b, 0x34, 4);
    f.showCommand = le(b, 0x3C, 4);
    std::size_t at = 0x4C;
    if (f.flags & 0x2) {
        const std::size_t info = at;
        const auto size = le(b, info, 4);
        const auto base = le(b, info + 0x10, 4);
        f.ansiPath = std::string(b.c_str() + info + base);
        if (le(b, info + 4, 4) >= 0x24) {
            for (std::size_t p = info + le(b, info + 0x1C, 4); le(b, p, 2) != 0; p += 2)
                f.unicodePath += b.substr(p, 2);
        }
        at += size;
    }
    for (std::uint32_t flag : {0x4u, 0x8u, 0x10u, 0x20u, 0x40u}) {
        if (!(f.flags & flag)) continue;
        const auto count = le(b, at, 2);
        f.strings.push_back(b.substr(at + 2, count * 2));
        at += 2 + count * 2;
    }
    f.terminated = at + 4 == b.size() && le(b, at, 4) == 0;
    return f;
}

// UTF-16LE of an ASCII text.
inline std::string wide(std::string_view ascii) {
    std::string out;
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}

}  // namespace engine_test
