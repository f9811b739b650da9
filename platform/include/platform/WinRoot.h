#pragma once
// Where the Windows drives live on this host, and the POSIX file system on top of them.

#include <filesystem>
#include <memory>

#include "platform/FileSystem.h"

namespace platform {

// $WINROOT, else ${XDG_DATA_HOME:-$HOME/.local/share}/winroot.
std::filesystem::path winRootFromEnvironment();

// Makes sure the root exists with dosdevices/c: -> ../drive_c and dosdevices/z: -> /.
// Existing entries are left alone.
bool prepareWinRoot(const std::filesystem::path& root);

std::unique_ptr<FileSystem> makePosixFileSystem(const std::filesystem::path& root);

}  // namespace platform
