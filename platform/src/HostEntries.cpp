#include "platform/HostEntries.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

#include "PosixIo.h"
#include "WinText.h"
#include "platform/WinNames.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

bool isWithin(const fs::path& inner, const fs::path& outer) {
    auto o = outer.begin();
    auto i = inner.begin();
    for (; o != outer.end(); ++o, ++i) {
        if (o->empty()) continue;  // the empty name after a trailing separator
        if (i == inner.end() || *i != *o) return false;
    }
    return true;
}

// A name the host spells exactly as Windows does: no character Windows refuses, no trailing
// blank or period it would drop, not "." or "..".
bool plainName(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name.back() == ' ' || name.back() == '.')
        return false;
    return detail::isValidWindowsName(name);
}

EntryKind kindOf(const struct stat& st, std::int64_t* modifiedNs) {
    if (S_ISLNK(st.st_mode)) return EntryKind::Link;
    if (S_ISDIR(st.st_mode)) return EntryKind::Folder;
    if (modifiedNs && S_ISREG(st.st_mode))
        *modifiedNs = std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec;
    return EntryKind::File;
}

// Folders held open at once: a package with more starts again rather than run out of
// descriptors.
constexpr std::size_t kOpenFolders = 256;

}  // namespace

EntryKind entryKind(const FileSystem& files, std::string_view winPath) {
    EntryKinds once;
    return once.of(files, winPath);
}

EntryKinds::~EntryKinds() { forgetFolders(); }

void EntryKinds::forgetFolders() {
    for (auto& [key, folder] : folders_)
        if (folder.fd >= 0) ::close(folder.fd);
    folders_.clear();
}

const fs::path* EntryKinds::driveOf(const FileSystem& files, std::string_view winPath) {
    const std::string driveRoot = std::string(winPath.substr(0, 2)) + "\\";
    auto drive = drives_.find(driveRoot);
    if (drive == drives_.end()) {
        const auto hostDrive = files.hostPath(driveRoot);
        if (!hostDrive) return nullptr;
        std::error_code ec;
        fs::path real = fs::weakly_canonical(*hostDrive, ec);
        if (ec) return nullptr;
        drive = drives_.emplace(driveRoot, std::move(real)).first;
    }
    return &drive->second;
}

const EntryKinds::Folder* EntryKinds::folderOf(const FileSystem& files, std::string_view winPath) {
    const auto cut = winPath.find_last_of("\\/");
    if (winPath.size() < 4 || winPath[1] != ':' || cut == std::string_view::npos || cut < 2 ||
        !plainName(winPath.substr(cut + 1)))
        return nullptr;
    const std::string folderPath(winPath.substr(0, std::max<std::size_t>(cut, 3)));
    std::string key = pathKey(folderPath);
    if (auto known = folders_.find(key); known != folders_.end())
        return known->second.fd >= 0 ? &known->second : nullptr;

    const fs::path* drive = driveOf(files, winPath);
    if (!drive) return nullptr;
    if (folders_.size() >= kOpenFolders) forgetFolders();
    Folder found;
    if (const auto host = files.hostPath(folderPath)) {
        // O_PATH: a folder that may be searched but not listed still holds its files. Where
        // the folder opened really is, the kernel says in one call.
        const int fd = ::open(host->c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            const fs::path real = detail::openedPath(fd);
            if (!real.empty() && isWithin(real, *drive))
                found.fd = fd;
            else
                ::close(fd);
        }
    }
    const auto kept = folders_.emplace(std::move(key), found).first;
    return found.fd >= 0 ? &kept->second : nullptr;
}

// Every name looked up by the file system's rules, and every folder on the way followed and
// checked to stay within its drive.
EntryKind EntryKinds::slowly(const FileSystem& files, std::string_view winPath,
                             std::int64_t* modifiedNs) {
    const auto host = files.hostPath(winPath);
    if (!host || winPath.size() < 2) return EntryKind::Outside;
    const fs::path* drive = driveOf(files, winPath);
    if (!drive) return EntryKind::Outside;
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(host->parent_path(), ec);
    if (ec || !isWithin(real, *drive)) return EntryKind::Outside;
    struct stat st {};
    if (::lstat((real / host->filename()).c_str(), &st) != 0) return EntryKind::Missing;
    return kindOf(st, modifiedNs);
}

EntryKind EntryKinds::of(const FileSystem& files, std::string_view winPath,
                        std::int64_t* modifiedNs) {
    // Nearly always the name as written is there, in a folder already open: one look.
    if (const Folder* folder = folderOf(files, winPath)) {
        const std::string name(winPath.substr(winPath.find_last_of("\\/") + 1));
        struct stat st {};
        if (::fstatat(folder->fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
            return kindOf(st, modifiedNs);
    }
    return slowly(files, winPath, modifiedNs);
}

bool EntryKinds::removeFile(FileSystem& files, std::string_view winPath) {
    if (const Folder* folder = folderOf(files, winPath)) {
        const std::string name(winPath.substr(winPath.find_last_of("\\/") + 1));
        // unlink refuses a folder itself.
        if (::unlinkat(folder->fd, name.c_str(), 0) == 0) return true;
        if (errno != ENOENT) return false;
    }
    switch (slowly(files, winPath, nullptr)) {
        case EntryKind::Missing:
            return true;
        case EntryKind::File:
        case EntryKind::Link:
            return files.removeFile(winPath);
        case EntryKind::Folder:
        case EntryKind::Outside:
            return false;
    }
    return false;
}

}  // namespace platform
