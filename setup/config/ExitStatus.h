#pragma once
// The exit statuses of setup, one per kind of failure, so a script that runs it silently can
// tell what went wrong (documented in the README).

namespace setup {

enum ExitStatus : int {
    kExitDone = 0,
    kExitDataFileMissing = 2,
    kExitNoPermission = 3,
    kExitRequirementNotMet = 4,
    kExitExtractionFailed = 5,
    kExitCancelled = 6,
    kExitInstallFailed = 7,
    // A run that needs windows (not silent) where there is no display to show them on, or a
    // Windows tree that cannot be prepared.
    kExitNoDisplay = 8,
    kExitNoWindowsRoot = 9,
    // An argument on the command line: setup takes none, so it installs nothing.
    kExitUsage = 10,
    // Installed, but some files of the package were not (named on standard error).
    kExitIncomplete = 11,
    // Not a status of the process: the user ended setup at a question whose Cancel ends it
    // at once without an error (the next disk of a cabinet set). setup ends with kExitDone.
    kEndedByUser = -1,
};

}  // namespace setup
