#pragma once
// The installation of a silent run: no pages, no timers, no windows; the folders and the
// selection are the package's defaults. main gives this as the wizard stage of the start-up
// when the package asks for a silent run.

#include "setup/engine/Installer.h"
#include "setup/engine/Startup.h"

namespace setup {

// Runs the installation to its end and returns the exit status: kExitDone, or kExitCancelled
// when the run was cancelled. Queued downloads run through options.startDownloads; without
// it they are left out and reported on standard error.
int runSilentInstall(SetupContext& context, InstallerOptions options = {});

}  // namespace setup
