#include "platform/WinRoot.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
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

}  // namespace platform
