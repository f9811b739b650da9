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
// folders): each drive and each folder is resolved once, the last name of every path is
// looked at every time. A folder swapped for a link after its first look is not seen again;
// the last name, which is what a removal acts on, always is.
class EntryKinds {
public:
    // modifiedNs, when given, gets a regular file's modification time (nanoseconds since 1970).
    EntryKind of(const FileSystem& files, std::string_view winPath,
                 std::int64_t* modifiedNs = nullptr);

private:
    std::unordered_map<std::string, std::filesystem::path> drives_;  // by drive root
    // By host folder: its real path, or empty when it lies outside its drive.
    std::unordered_map<std::string, std::filesystem::path> folders_;
};

}  // namespace platform
