#pragma once
// POSIX helpers shared by the platform layer (private to platform/).

#include <unistd.h>

#include <cerrno>
#include <string_view>

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

}  // namespace platform::detail
