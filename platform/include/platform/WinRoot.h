#pragma once
// Where the Windows drives live on this host, and the POSIX file system on top of them.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace platform {

// $WINROOT, else ${XDG_DATA_HOME:-$HOME/.local/share}/winroot.
std::filesystem::path winRootFromEnvironment();

// Makes sure the root exists with dosdevices/c: -> ../drive_c and dosdevices/z: -> /.
// Existing entries are left alone.
bool prepareWinRoot(const std::filesystem::path& root);

// A host path seen as a Windows path: inside a drive's folder of winRoot through that drive,
// anywhere else through z:. Folders are not resolved through links beyond the parent, so a
// program started through a link named "setup" lies in the link's folder.
std::string windowsPathOf(const std::filesystem::path& hostPath,
                          const std::filesystem::path& winRoot);

std::unique_ptr<FileSystem> makePosixFileSystem(const std::filesystem::path& root);

}  // namespace platform
