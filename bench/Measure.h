// One run of a tool as a process of its own: wall time, CPU time and its own peak memory.
//
// The peak is read from the kernel's high-water mark of the tool's memory (VmHWM in
// /proc/<pid>/status) while the tool stands stopped at its exit. ru_maxrss of wait4 cannot
// serve: exec keeps, in the process's maxrss, the high-water mark of the memory it replaced,
// which for a child of fork, vfork or posix_spawn is the benchmark's own memory, so every tool
// would show at least the benchmark's size. The stop at exit is a ptrace event (the child asks
// to be traced before exec); where tracing is refused the peak is reported as unknown (-1).
#pragma once

#include <fcntl.h>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace bench {

struct Sample {
    double seconds = 0;
    double cpuSeconds = 0;  // user and system time: the work itself, less the disk's moods
    long peakKb = -1;       // the tool's own peak resident memory; -1 when unknown
    bool ok = false;        // exited with status 0
};

struct Launch {
    std::vector<std::string> argv;                         // argv[0] is looked up on PATH
    std::vector<std::pair<std::string, std::string>> env;  // set on top of ours
    std::string directory;                                 // empty: ours
    std::string output = "/dev/null";  // standard output; empty: ours
    std::string errors = "/dev/null";  // standard error, appended to; empty: ours
};

inline Launch command(std::vector<std::string> argv) {
    Launch launch;
    launch.argv = std::move(argv);
    return launch;
}

inline long peakOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

inline Sample run(const Launch& launch) {
    std::vector<char*> argv;
    for (const auto& a : launch.argv) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Refused, the tool runs untraced: no stops, and no peak.
        ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        for (const auto& [name, value] : launch.env) ::setenv(name.c_str(), value.c_str(), 1);
        if (!launch.directory.empty() && ::chdir(launch.directory.c_str()) != 0) _exit(126);
        if (!launch.output.empty()) {
            const int out = ::open(launch.output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (out < 0 || ::dup2(out, 1) < 0) _exit(126);
        }
        if (!launch.errors.empty()) {
            const int err = ::open(launch.errors.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (err < 0 || ::dup2(err, 2) < 0) _exit(126);
        }
        ::execvp(argv[0], argv.data());
        _exit(127);
    }
    Sample sample;
    if (pid < 0) return sample;
    int status = 0;
    rusage usage{};
    bool first = true;
    while (::wait4(pid, &status, 0, &usage) == pid) {
        if (WIFEXITED(status) || WIFSIGNALED(status)) break;
        if (!WIFSTOPPED(status)) continue;
        int forward = 0;
        if (first) {  // the stop after exec
            first = false;
            ::ptrace(PTRACE_SETOPTIONS, pid, nullptr,
                     reinterpret_cast<void*>(PTRACE_O_TRACEEXIT | PTRACE_O_EXITKILL));
        } else if (status >> 8 == (SIGTRAP | (PTRACE_EVENT_EXIT << 8))) {
            sample.peakKb = peakOf(pid);
        } else if (WSTOPSIG(status) != SIGTRAP) {
            forward = WSTOPSIG(status);
        }
        ::ptrace(PTRACE_CONT, pid, nullptr, reinterpret_cast<void*>(static_cast<long>(forward)));
    }
    const auto end = std::chrono::steady_clock::now();
    const auto cpu = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    sample.seconds = std::chrono::duration<double>(end - start).count();
    sample.cpuSeconds = cpu(usage.ru_utime) + cpu(usage.ru_stime);
    sample.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return sample;
}

// Two tools timed in one round, each going first in every other round, so neither always
// meets the caches (or the disk) as the other left them.
template <typename First, typename Second>
void inTurn(int round, const First& ours, const Second& theirs) {
    if (round % 2 != 0) {
        ours();
        theirs();
    } else {
        theirs();
        ours();
    }
}

inline double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t half = v.size() / 2;
    return v.size() % 2 ? v[half] : (v[half - 1] + v[half]) / 2;
}

}  // namespace bench
