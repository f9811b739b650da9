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
};

}  // namespace setup
