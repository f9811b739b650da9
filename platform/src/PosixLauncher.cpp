#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <optional>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Launcher.h"
#include "platform/codec/CommandLine.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

bool endsWithExe(std::string_view name) {
    if (name.size() < 4) return false;
    const std::string_view ext = name.substr(name.size() - 4);
    return ext[0] == '.' && std::tolower(static_cast<unsigned char>(ext[1])) == 'e' &&
           std::tolower(static_cast<unsigned char>(ext[2])) == 'x' &&
           std::tolower(static_cast<unsigned char>(ext[3])) == 'e';
}

bool hasExtension(std::string_view name) {
    const std::size_t slash = name.find_last_of("\\/:");
    const std::size_t dot = name.rfind('.');
    return dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
}

bool isAbsolute(std::string_view name) {
    return (name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) &&
            name[1] == ':') ||
           (!name.empty() && (name[0] == '\\' || name[0] == '/'));
}

// Starts the program detached: the middle child starts a new session, forks the real one and
// exits at once, so nothing is left to reap. A pipe closed on exec tells whether exec worked.
bool spawnDetached(const std::string& program, const std::vector<std::string>& args,
                   const std::optional<fs::path>& workingFolder, bool searchPath) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const std::string cwd = workingFolder ? workingFolder->string() : std::string();

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return false;
    const int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);

    const pid_t middle = ::fork();
    if (middle < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        if (devNull >= 0) ::close(devNull);
        return false;
    }
    if (middle == 0) {
        // Only async-signal-safe calls from here on: the parent may have threads.
        ::setsid();
        const pid_t child = ::fork();
        if (child != 0) {
            if (child < 0) {
                const int err = errno;
                [[maybe_unused]] auto n = ::write(pipeFds[1], &err, sizeof err);
            }
            ::_exit(0);
        }
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        if (devNull >= 0) ::dup2(devNull, STDIN_FILENO);
        if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) {
            const int err = errno;
            [[maybe_unused]] auto n = ::write(pipeFds[1], &err, sizeof err);
            ::_exit(127);
        }
        if (searchPath) {
            ::execvp(argv[0], argv.data());
        } else {
            ::execv(argv[0], argv.data());
        }
        const int err = errno;
        [[maybe_unused]] auto n = ::write(pipeFds[1], &err, sizeof err);
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    if (devNull >= 0) ::close(devNull);
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    int err = 0;
    ssize_t got;
    do {
        got = ::read(pipeFds[0], &err, sizeof err);
    } while (got < 0 && errno == EINTR);
    ::close(pipeFds[0]);
    return got == 0;
}

class PosixLauncher final : public Launcher {
public:
    PosixLauncher(FileSystem& files, std::string systemFolder, std::string windowsFolder,
                  std::string opener)
        : files_(files),
          systemFolder_(std::move(systemFolder)),
          windowsFolder_(std::move(windowsFolder)),
          opener_(std::move(opener)) {}

    bool start(std::string_view commandLine, std::string_view workingFolder) override {
        std::optional<fs::path> cwd;
        if (!workingFolder.empty()) {
            if (!files_.isDirectory(workingFolder)) return false;
            cwd = files_.hostPath(workingFolder);
            if (!cwd) return false;
        }
        for (const auto& candidate : codec::programCandidates(commandLine)) {
            if (auto program = find(candidate.program, workingFolder)) {
                return spawnDetached(program->string(),
                                     codec::splitWindowsArguments(candidate.arguments), cwd, false);
            }
        }
        return false;
    }

    bool open(std::string_view winPath) override {
        if (!files_.exists(winPath)) return false;
        const auto host = files_.hostPath(winPath);
        if (!host) return false;
        return spawnDetached(opener_, {host->string()}, std::nullopt, true);
    }

private:
    std::optional<fs::path> find(const std::string& name, std::string_view workingFolder) const {
        std::vector<std::string> places;
        if (isAbsolute(name)) {
            places.push_back(name);
        } else {
            for (std::string_view folder : {workingFolder, std::string_view(systemFolder_),
                                            std::string_view(windowsFolder_)}) {
                if (folder.empty()) continue;
                std::string base(folder);
                if (base.back() != '\\') base += '\\';
                places.push_back(base + name);
            }
        }
        for (const auto& place : places) {
            std::vector<std::string> names;
            if (!hasExtension(place)) names.push_back(place + ".exe");
            names.push_back(place);
            for (const auto& winPath : names) {
                if (auto host = regularFile(winPath)) return host;
                // This host runs its own programs, which have no ".exe".
                if (endsWithExe(winPath)) {
                    if (auto host = regularFile(winPath.substr(0, winPath.size() - 4))) return host;
                }
            }
        }
        return std::nullopt;
    }

    std::optional<fs::path> regularFile(const std::string& winPath) const {
        if (!files_.exists(winPath) || files_.isDirectory(winPath)) return std::nullopt;
        return files_.hostPath(winPath);
    }

    FileSystem& files_;
    std::string systemFolder_;
    std::string windowsFolder_;
    std::string opener_;
};

}  // namespace

std::unique_ptr<Launcher> makePosixLauncher(FileSystem& files, std::string systemFolder,
                                            std::string windowsFolder, std::string opener) {
    return std::make_unique<PosixLauncher>(files, std::move(systemFolder), std::move(windowsFolder),
                                           std::move(opener));
}

}  // namespace platform
