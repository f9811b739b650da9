#include "platform/HostEntries.h"

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

EntryKind EntryKinds::of(const FileSystem& files, std::string_view winPath) {
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
    const auto status = fs::symlink_status(entry, ec);
    if (ec || status.type() == fs::file_type::not_found) return EntryKind::Missing;
    if (fs::is_symlink(status)) return EntryKind::Link;
    if (fs::is_directory(status)) return EntryKind::Folder;
    return EntryKind::File;
}

}  // namespace platform
