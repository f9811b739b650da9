#pragma once
// Undoing an installation from its log. The order keeps the log usable until the end: files
// first, then the folders they leave empty, the registry, and the log itself last, so a run
// that stops half-way can be started again from the same uninstall entry.
//
// Nothing is removed that the log does not name (the uninstaller's own copy in the system
// folder, which setup copies without logging it, is the one exception), a link is never
// followed out of its drive's folder, and every item that stays is reported rather than
// ending the run.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/Changes.h"
#include "record/InstallLog.h"
#include "record/Journal.h"

namespace platform {
class FileSystem;
class ProfileFiles;
class Registry;
class SystemInfo;
}  // namespace platform

namespace uninstall {

using record::Leftover;
using record::Why;

struct Outcome {
    std::vector<Leftover> leftovers;
    bool complete() const;
};

struct UninstallServices {
    platform::FileSystem& files;
    platform::Registry& registry;
    platform::SystemInfo& system;
    platform::ProfileFiles& profiles;
};

// What an installation left to undo it by: the journal of setup's own runs, or for a log that
// another installer wrote, the log alone.
struct Installation {
    std::string logPath;
    std::string journalPath;
    std::optional<record::InstallLog> log;
    std::optional<record::JournalContents> journal;
};

// The installation the file at path records: an install log (with its journal beside it, when
// there is one) or a journal given itself. Empty, with problem set, when the file is not a
// regular file, cannot be read whole, or holds neither: nothing may then be removed.
std::optional<Installation> loadInstallation(const platform::FileSystem& files,
                                             std::string_view path, int codePage,
                                             std::string& problem);

// The product the journal names, else the uninstall key's DisplayName, else the last name of
// the application key, else the name of the folder that holds the log.
std::string productName(const Installation& installation, const platform::Registry& registry);

// A journal is undone record by record (a run that never finished is rolled back whole); a
// log alone, by what it names.
Outcome uninstall(const Installation& installation, UninstallServices services);

// The legacy removal by the log alone (the journal-less case of uninstall).
Outcome uninstallByLog(const record::InstallLog& log, std::string_view logPath,
                       UninstallServices services);

// How two logged paths are compared: the file system's own rule.
std::string comparablePath(std::string_view winPath);

}  // namespace uninstall
