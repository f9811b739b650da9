#pragma once
// Undoing an installation from its log. The order keeps the log usable until the end: files
// first, then the folders they leave empty, the registry, and the log itself last, so a run
// that stops half-way can be started again from the same uninstall entry.
//
// Nothing is removed that the log does not name (the uninstaller's own copy in the system
// folder, which setup copies without logging it, is the one exception), a link is never
// followed out of its drive's folder, and every item that stays is reported rather than
// ending the run.

#include <string>
#include <string_view>
#include <vector>

#include "uninstall/InstallLog.h"

namespace platform {
class FileSystem;
class Registry;
class SystemInfo;
}  // namespace platform

namespace uninstall {

enum class Why {
    Outside,      // the path leads out of every drive folder
    IsFolder,     // [LOG] names a folder
    NotAFolder,   // [DIR] names a link or a file
    Failed,       // the removal itself failed
    Kept,         // a folder or key that holds what the installation did not put there
    UnknownRoot,  // a registry path whose root is not one of the five
    NotOwned,     // a registry key that setup never creates under that name
    Shared,       // the uninstaller's copy, still named by another product's entry
    Changed,      // a logged file written again after the installation: the user's data now
};

struct Leftover {
    std::string item;  // a Windows path, or a registry path and ", " and the value name
    Why why;
    // Whether this leaves the run incomplete: kept folders and keys are the user's, and
    // the uninstaller's own copy is not named in the log, so those do not count.
    bool counts;
};

struct Outcome {
    std::vector<Leftover> leftovers;
    bool complete() const;
};

struct UninstallServices {
    platform::FileSystem& files;
    platform::Registry& registry;
    platform::SystemInfo& system;
};

// The uninstall key's DisplayName, else the last name of the application key, else the name
// of the folder that holds the log.
std::string productName(const InstallLog& log, std::string_view logPath,
                        const platform::Registry& registry);

Outcome uninstall(const InstallLog& log, std::string_view logPath, UninstallServices services);

}  // namespace uninstall
