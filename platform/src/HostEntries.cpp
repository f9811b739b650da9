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
    const auto host = files.hostPath(winPath);
    if (!host || winPath.size() < 2) return EntryKind::Outside;
    const std::string driveRoot = std::string(winPath.substr(0, 2)) + "\\";
    const auto drive = files.hostPath(driveRoot);
    if (!drive) return EntryKind::Outside;

    std::error_code ec;
    const fs::path realDrive = fs::weakly_canonical(*drive, ec);
    if (ec) return EntryKind::Outside;
    const fs::path realFolder = fs::weakly_canonical(host->parent_path(), ec);
    if (ec || !isWithin(realFolder, realDrive)) return EntryKind::Outside;

    const fs::path entry = realFolder / host->filename();
    const auto status = fs::symlink_status(entry, ec);
    if (ec || status.type() == fs::file_type::not_found) return EntryKind::Missing;
    if (fs::is_symlink(status)) return EntryKind::Link;
    if (fs::is_directory(status)) return EntryKind::Folder;
    return EntryKind::File;
}

}  // namespace platform
