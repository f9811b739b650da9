// The setup benchmarks time thousands of new files on the disk. ext4 without a journal (as
// on these machines) will not hand out an inode freed in the last minute, or the last six
// when its inode block has been written to since; and it looks past every such inode again
// for each file it creates. A timing that follows a large removal therefore pays for it, up
// to ten times over, and the first tool to fill the block group pays most: which tool that is
// depends on the order, not on the tool. So the benchmarks remove nothing until every timing
// is done, and every case on such a disk begins with settleFileSystem: the first in a process
// waits the whole time, for removals made before it (a previous benchmark's clean-up, say);
// a later one waits only for what is left of that time since this process's last removal
// (removeTree notes each), so cases that follow one another without removals wait nothing.
//
//   BENCH_SETTLE=<seconds> sets that time (0 skips every wait, for a quick look).
#pragma once

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace bench {

// ext4 keeps its journal's statistics under /proc/fs/jbd2/<device>-<number>.
inline bool isExt4WithoutJournal(const std::filesystem::path& folder) {
    constexpr long kExt4Magic = 0xEF53;
    struct statfs facts {};
    struct stat st {};
    if (::statfs(folder.c_str(), &facts) != 0 || facts.f_type != kExt4Magic) return false;
    if (::stat(folder.c_str(), &st) != 0) return false;
    std::error_code ec;
    const auto device =
        std::filesystem::read_symlink("/sys/dev/block/" + std::to_string(major(st.st_dev)) + ":" +
                                          std::to_string(minor(st.st_dev)),
                                      ec);
    if (ec) return false;
    const std::string name = device.filename().string() + "-";
    for (const auto& entry : std::filesystem::directory_iterator("/proc/fs/jbd2", ec))
        if (entry.path().filename().string().rfind(name, 0) == 0) return false;
    return true;
}

struct SettleClock {
    bool waitedOnce = false;
    // Set by a removal since the last wait.
    bool removedSince = false;
    std::chrono::steady_clock::time_point lastRemoval;
};

inline SettleClock& settleClock() {
    static SettleClock clock;
    return clock;
}

// Removes a tree this process made, and notes when, for the next settleFileSystem.
inline void removeTree(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    settleClock().removedSince = true;
    settleClock().lastRemoval = std::chrono::steady_clock::now();
}

inline void settleFileSystem(const std::filesystem::path& folder) {
    ::sync();
    const char* asked = std::getenv("BENCH_SETTLE");
    const long whole = asked ? std::atol(asked) : isExt4WithoutJournal(folder) ? 370 : 0;
    SettleClock& clock = settleClock();
    long seconds = whole;
    if (clock.waitedOnce) {
        const auto since = std::chrono::duration_cast<std::chrono::seconds>(
                               std::chrono::steady_clock::now() - clock.lastRemoval)
                               .count();
        seconds = clock.removedSince ? std::max(0L, whole - static_cast<long>(since)) : 0;
    }
    clock.waitedOnce = true;
    clock.removedSince = false;
    if (seconds <= 0) return;
    std::printf("Waiting %ld s for the disk's recently freed inodes to age (BENCH_SETTLE) ...\n",
                seconds);
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
}

}  // namespace bench
