#pragma once
// What a Windows path names on the host, for a program that removes what it is told to and
// must not be led elsewhere by a link.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/FileSystem.h"

namespace platform {

enum class EntryKind {
    Missing,
    File,  // a regular file or anything else that is not a folder
    Folder,
    Link,    // the last name is a link; removing it leaves its target alone
    Outside  // no drive holds it, or a link on the way leads out of its drive's folder
};

// The last name of the path is not followed; every folder on the way is.
EntryKind entryKind(const FileSystem& files, std::string_view winPath);

// The same for many paths in one run (an uninstallation's thousands of files in a few
// folders): each drive and each folder is resolved once and then held open, so the last name
// of every path is looked at, and removed, within the folder found the first time. A folder
// swapped for a link after its first look is not followed; the last name, which is what a
// removal acts on, is looked at every time.
class EntryKinds {
public:
    EntryKinds() = default;
    ~EntryKinds();
    EntryKinds(const EntryKinds&) = delete;
    EntryKinds& operator=(const EntryKinds&) = delete;

    // modifiedNs, when given, gets a regular file's modification time (nanoseconds since 1970).
    EntryKind of(const FileSystem& files, std::string_view winPath,
                 std::int64_t* modifiedNs = nullptr);

    // Removes the file or link winPath names (a folder is refused); true when it is gone.
    bool removeFile(FileSystem& files, std::string_view winPath);

private:
    struct Folder {
        int fd = -1;  // -1: not there, or outside its drive
    };
    // The open folder winPath's last name lies in, when that name can be looked at there as
    // written; null when only the file system's own look-up can tell.
    const Folder* folderOf(const FileSystem& files, std::string_view winPath);
    EntryKind slowly(const FileSystem& files, std::string_view winPath, std::int64_t* modifiedNs);
    // The real host folder of winPath's drive; null when no drive holds it.
    const std::filesystem::path* driveOf(const FileSystem& files, std::string_view winPath);
    void forgetFolders();

    std::unordered_map<std::string, std::filesystem::path> drives_;  // by drive root
    // By the key of the folder's Windows path.
    std::unordered_map<std::string, Folder> folders_;
};

}  // namespace platform
