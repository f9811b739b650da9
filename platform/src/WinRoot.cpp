#include "platform/WinRoot.h"

#include "PosixIo.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

fs::path winRootFromEnvironment() {
    if (const char* root = std::getenv("WINROOT"); root && *root) return root;
    // The XDG rules ignore a relative XDG_DATA_HOME.
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/') {
        return fs::path(data) / "winroot";
    }
    std::string home;
    if (const char* h = std::getenv("HOME"); h && *h) {
        home = h;
    } else if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    return fs::path(home) / ".local" / "share" / "winroot";
}

namespace {

// Creates dosdevices/<name> -> target unless an entry (even a dangling link) is there.
bool ensureDriveLink(const fs::path& dosdevices, const char* name, const fs::path& target) {
    const fs::path link = dosdevices / name;
    std::error_code ec;
    if (fs::symlink_status(link, ec).type() != fs::file_type::not_found) return true;
    fs::create_directory_symlink(target, link, ec);
    // Another process may have made it in the meantime.
    return !ec || fs::symlink_status(link, ec).type() != fs::file_type::not_found;
}

}  // namespace

bool prepareWinRoot(const fs::path& root) {
    std::error_code ec;
    const fs::path dosdevices = root / "dosdevices";
    fs::create_directories(dosdevices, ec);
    if (!fs::is_directory(dosdevices, ec)) return false;
    bool ok = true;
    if (fs::symlink_status(dosdevices / "c:", ec).type() == fs::file_type::not_found) {
        fs::create_directories(root / "drive_c", ec);
        ok = ensureDriveLink(dosdevices, "c:", "../drive_c") && ok;
    }
    ok = ensureDriveLink(dosdevices, "z:", "/") && ok;
    return ok;
}

namespace {

// Where a folder really is, links resolved; a path that cannot be opened is resolved name by
// name.
std::filesystem::path realFolder(const std::filesystem::path& folder, std::error_code& ec) {
    ec.clear();
    if (const int fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC); fd >= 0) {
        std::filesystem::path real = detail::openedPath(fd);
        ::close(fd);
        if (!real.empty()) return real;
    }
    return std::filesystem::weakly_canonical(folder, ec);
}

}  // namespace

std::string windowsPathOf(const std::filesystem::path& hostPath,
                          const std::filesystem::path& winRoot) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path absolute = fs::absolute(hostPath, ec).lexically_normal();
    fs::path parent = realFolder(absolute.parent_path(), ec);
    fs::path full = absolute.has_filename() ? parent / absolute.filename() : parent;

    char bestDrive = 'Z';
    fs::path bestBase = "/";
    for (const auto& entry : fs::directory_iterator(winRoot / "dosdevices", ec)) {
        std::string name = entry.path().filename().string();
        if (name.size() != 2 || name[1] != ':' ||
            !std::isalpha(static_cast<unsigned char>(name[0])))
            continue;
        fs::path base = realFolder(entry.path(), ec);
        if (ec || base == "/") continue;
        auto [endBase, endFull] = std::mismatch(base.begin(), base.end(), full.begin(), full.end());
        bool inside = endBase == base.end();
        if (inside && std::distance(base.begin(), base.end()) >
                          std::distance(bestBase.begin(), bestBase.end())) {
            bestBase = base;
            bestDrive = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        }
    }
    std::string out{bestDrive, ':'};
    fs::path rest = full.lexically_relative(bestBase);
    for (const auto& part : rest) {
        if (part == ".") continue;
        out += '\\';
        out += part.string();
    }
    if (out.size() == 2) out += '\\';
    return out;
}

}  // namespace platform
