#pragma once
// POSIX helpers shared by the platform layer (private to platform/).

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace platform::detail {

// Writes every byte, going on after short writes and interrupted calls.
inline bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Where the folder or file open as fd really is, links resolved: the kernel names it in one
// call, where resolving a path name by name asks once per name. Empty when it cannot tell.
inline std::filesystem::path openedPath(int fd) {
    std::error_code ec;
    std::filesystem::path real =
        std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), ec);
    return !ec && real.is_absolute() ? real : std::filesystem::path();
}

}  // namespace platform::detail
