#include "platform/HostEntries.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

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

}  // namespace

EntryKind entryKind(const FileSystem& files, std::string_view winPath) {
    EntryKinds once;
    return once.of(files, winPath);
}

EntryKind EntryKinds::of(const FileSystem& files, std::string_view winPath,
                        std::int64_t* modifiedNs) {
    const auto host = files.hostPath(winPath);
    if (!host || winPath.size() < 2) return EntryKind::Outside;
    std::error_code ec;
    const std::string driveRoot = std::string(winPath.substr(0, 2)) + "\\";
    auto drive = drives_.find(driveRoot);
    if (drive == drives_.end()) {
        const auto hostDrive = files.hostPath(driveRoot);
        if (!hostDrive) return EntryKind::Outside;
        fs::path real = fs::weakly_canonical(*hostDrive, ec);
        if (ec) return EntryKind::Outside;
        drive = drives_.emplace(driveRoot, std::move(real)).first;
    }
    const fs::path parent = host->parent_path();
    auto folder = folders_.find(parent.native());
    if (folder == folders_.end()) {
        fs::path real = fs::weakly_canonical(parent, ec);
        if (ec) return EntryKind::Outside;
        if (!isWithin(real, drive->second)) real.clear();
        folder = folders_.emplace(parent.native(), std::move(real)).first;
    }
    if (folder->second.empty()) return EntryKind::Outside;

    const fs::path entry = folder->second / host->filename();
    struct stat st {};
    if (::lstat(entry.c_str(), &st) != 0) return EntryKind::Missing;
    if (S_ISLNK(st.st_mode)) return EntryKind::Link;
    if (S_ISDIR(st.st_mode)) return EntryKind::Folder;
    if (modifiedNs && S_ISREG(st.st_mode))
        *modifiedNs = std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec;
    return EntryKind::File;
}

}  // namespace platform
