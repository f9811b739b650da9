#pragma once
// What a Windows path names on the host, for a program that removes what it is told to and
// must not be led elsewhere by a link.

#include <string_view>

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

}  // namespace platform
