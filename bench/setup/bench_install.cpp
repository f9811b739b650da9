// How long the installation run takes once the cabinets are unpacked, against `cp -r` of the
// same files on the same disk: a package of 5,000 small files and one of 20 large files, one
// run each. Prints both times and their ratio (the goal is at most 1.25). Nothing is removed
// until every timing of a package is done (see Settle.h).

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "../Settle.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "platform/WinRoot.h"
#include "setup/config/SetupData.h"
#include "setup/config/SilentPrompter.h"
#include "setup/engine/Installer.h"
#include "setup/engine/SilentProgress.h"

namespace fs = std::filesystem;

namespace {

class BenchSystem : public platform::SystemInfo {
public:
    std::string windowsFolder() const override { return "C:\\windows"; }
    std::string systemFolder() const override { return "C:\\windows\\system32"; }
    std::string tempFolder() override { return "C:\\windows\\temp\\"; }
    std::uint64_t physicalMemoryBytes() const override { return 1ull << 32; }
    platform::WindowsVersion version() const override { return {}; }
    int ansiCodePage() const override { return 1253; }
    std::string shellFolder(platform::ShellFolder) override { return {}; }
    std::string userName() const override { return "bench"; }
    platform::ScreenFacts screen() const override { return {}; }
    void setScreen(const platform::ScreenFacts&) override {}
    std::optional<std::string> environment(std::string_view) const override { return {}; }
};

// Notes when the clean-up of the temporary folder begins, so the copying can be told apart.
class TimedProgress : public setup::SilentProgress {
public:
    void setStatus(std::string_view text) override {
        if (text == "Deleting Temporary Files...") cleanUp = std::chrono::steady_clock::now();
    }
    std::chrono::steady_clock::time_point cleanUp;
};

class NoLauncher : public platform::Launcher {
public:
    bool start(std::string_view, std::string_view) override { return false; }
    bool open(std::string_view) override { return false; }
};

void writeBytes(const fs::path& path, std::size_t size, std::mt19937& random) {
    std::string bytes(size, '\0');
    for (auto& c : bytes) c = static_cast<char>(random());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(size));
}

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// User and system time so far, of this process or of its waited-for children.
double cpuSeconds(int who) {
    rusage usage{};
    ::getrusage(who, &usage);
    const auto s = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return s(usage.ru_utime) + s(usage.ru_stime);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t half = v.size() / 2;
    return v.size() % 2 ? v[half] : (v[half - 1] + v[half]) / 2;
}

// One installation of the package whose members lie unpacked in the temporary folder.
std::pair<double, double> installOnce(const fs::path& root, int round) {
    platform::Services services;
    services.winRoot = root;
    services.files = platform::makePosixFileSystem(root);
    services.registry = platform::makeFileRegistry(root);
    services.system = std::make_unique<BenchSystem>();
    services.profiles = platform::makeProfileFiles(*services.files, 1253, "C:\\windows");
    services.launcher = std::make_unique<NoLauncher>();
    setup::FolderTable folderTable;
    folderTable.set(setup::FolderKind::ProgramFiles, "C:\\Program Files");
    setup::RunState run;
    run.dataTagPath = "C:\\setup\\data.tag";
    run.datafilePath = "C:\\setup\\datafile.dlr";
    run.extractionFolder = "C:\\windows\\temp\\";
    run.installFolder = "C:\\Program Files\\Bench" + std::to_string(round);
    run.productName = run.programFolder = "Bench";
    run.silent = true;
    const auto data = setup::readPackage(*services.profiles, run.dataTagPath);
    TimedProgress progress;
    setup::InstallerOptions options;
    std::ostringstream unheard;
    setup::SilentPrompter prompter(unheard);

    const auto start = std::chrono::steady_clock::now();
    setup::Installer installer(services, run, data, folderTable, progress, prompter, options);
    installer.open();
    installer.run();
    const auto end = std::chrono::steady_clock::now();
    return {seconds(end - start), seconds(progress.cleanUp - start)};
}

// A package of count files of the given sizes in `folders` destination folders, laid out as
// a tree for cp -r and unpacked (as hard links to the same files, so both read the same
// cached data) into the temporary folder before each installation. After a round that is not
// counted, cp -r and the installation take turns at going first four times and the medians
// are compared. Returns the folder to remove once every package is measured (see Settle.h).
fs::path measure(const char* label, int count, std::size_t minSize, std::size_t maxSize,
                 int folders) {
    // BENCH_DIR picks the file system (a tmpfs shows the programs' own cost without the disk's).
    const char* where = std::getenv("BENCH_DIR");
    std::string templ = std::string(where ? where : "/var/tmp") + "/setup-bench-XXXXXX";
    if (!::mkdtemp(templ.data())) std::abort();
    const fs::path root = templ;
    platform::prepareWinRoot(root);
    const fs::path c = root / "drive_c";
    fs::create_directories(c / "windows/temp");
    fs::create_directories(c / "windows/system32");
    fs::create_directories(c / "setup");
    fs::create_directories(c / "Program Files");

    std::mt19937 random(42);
    std::uniform_int_distribution<std::size_t> size(minSize, maxSize);
    std::string dlr;
    std::vector<std::pair<fs::path, fs::path>> members;
    for (int i = 0; i < count; ++i) {
        const std::string name = "file" + std::to_string(i) + ".dat";
        const std::string folder = "d" + std::to_string(i % folders);
        dlr += "C:\\build\\" + name + "\r\n<Install Dir>\\" + folder + "*0,0,0\r\n";
        fs::create_directories(root / "tree" / folder);
        writeBytes(root / "tree" / folder / name, size(random), random);
        members.emplace_back(root / "tree" / folder / name,
                             c / "windows/temp" / ("F" + std::to_string(i) + "_" + name));
    }
    std::ofstream(c / "setup/datafile.dlr", std::ios::binary) << dlr;
    std::ofstream(c / "setup/data.tag", std::ios::binary)
        << "[APPINFO]\r\n1=Bench\r\n[FILES]\r\nTOTAL=" << count << "\r\n";

    bench::settleFileSystem(root);
    std::vector<double> copies, runs, copying, copyCpu, installCpu;
    for (int round = -1; round < 4; ++round) {
        for (const auto& [file, member] : members) fs::create_hard_link(file, member);
        const std::string command =
            "cp -r '" + (root / "tree").string() + "' '" +
            (c / "Program Files" / ("copy" + std::to_string(round + 1))).string() + "'";
        // Each copy starts with nothing waiting to be written, so neither pays for the
        // other's write-back; the copy lands beside the installation folder, in the same
        // block group of the disk.
        auto copy = [&] {
            ::sync();
            const double cpu = cpuSeconds(RUSAGE_CHILDREN);
            const auto start = std::chrono::steady_clock::now();
            if (std::system(command.c_str()) != 0) std::cerr << "cp -r failed\n";
            copies.push_back(seconds(std::chrono::steady_clock::now() - start));
            copyCpu.push_back(cpuSeconds(RUSAGE_CHILDREN) - cpu);
        };
        auto install = [&] {
            ::sync();
            const double cpu = cpuSeconds(RUSAGE_SELF);
            const auto [whole, beforeCleanUp] = installOnce(root, round + 1);
            installCpu.push_back(cpuSeconds(RUSAGE_SELF) - cpu);
            runs.push_back(whole);
            copying.push_back(beforeCleanUp);
        };
        if (round % 2 == 0) {
            copy();
            install();
        } else {
            install();
            copy();
        }
        if (round < 0)
            for (auto* samples : {&copies, &runs, &copying, &copyCpu, &installCpu})
                samples->clear();
    }
    const double cp = median(copies);
    std::printf(
        "%-18s cp -r %7.3f s   installation up to the clean-up %7.3f s (ratio %.2f)   "
        "whole run %7.3f s (ratio %.2f)   cpu time %.3f s against %.3f s (ratio %.2f)   "
        "[medians of 4]\n",
        label, cp, median(copying), median(copying) / cp, median(runs), median(runs) / cp,
        median(installCpu), median(copyCpu), median(installCpu) / median(copyCpu));
    return root;
}

}  // namespace

int main() {
    std::vector<fs::path> made;
    if (!std::getenv("BENCH_LARGE_ONLY"))
        made.push_back(measure("5,000 small files", 5000, 512, 16 * 1024, 50));
    if (!std::getenv("BENCH_SMALL_ONLY"))
        made.push_back(measure("20 large files", 20, 32u << 20, 40u << 20, 2));
    for (const auto& root : made) bench::removeTree(root);
    return 0;
}
