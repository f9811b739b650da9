#pragma once
// Everything platform/ offers a program, opened once for one $WINROOT. Both programs' main,
// the fee program's command line and the tests take their services from here; nothing else
// builds a file system or registry of its own.

#include <filesystem>
#include <memory>
#include <optional>

#include "platform/FileSystem.h"
#include "platform/Launcher.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/Settings.h"
#include "platform/SystemInfo.h"

namespace platform {

struct Services {
    std::filesystem::path winRoot;
    std::unique_ptr<FileSystem> files;
    std::unique_ptr<Registry> registry;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<SystemInfo> system;
    std::unique_ptr<ProfileFiles> profiles;
    std::unique_ptr<Launcher> launcher;
};

// Prepares the root (drives c: and z:, the registry seeded as a new Windows installation
// would be, never overwriting a value) and opens every service on it. Empty when the root
// cannot be prepared.
std::optional<Services> openServices(const std::filesystem::path& winRoot);

// The files alone, for a command that only reads and writes files: the root is prepared as
// above, but the registry and the rest are neither read nor seeded. Null when the root cannot
// be prepared.
std::unique_ptr<FileSystem> openFileSystem(const std::filesystem::path& winRoot);

}  // namespace platform
