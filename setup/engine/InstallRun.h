#pragma once
// The installation as the rest of setup drives it. The wizard's progress page calls open()
// when it appears and start() after its timer (main hands both to runWizard as its
// InstallSteps); a silent run without the wizard calls runSilentInstall.

#include <memory>

#include "setup/engine/Installer.h"
#include "setup/engine/Startup.h"

namespace setup {

class InstallRun {
public:
    explicit InstallRun(SetupContext& context, InstallerOptions options = {})
        : context_(context), options_(std::move(options)) {}

    // The progress page has appeared: the log name, the range, the chosen names.
    void open(ProgressView& view);
    // The run itself; false when the user cancelled it.
    bool start(ProgressView& view);
    // Empty until open().
    Installer* installer() { return installer_.get(); }

private:
    SetupContext& context_;
    InstallerOptions options_;
    std::unique_ptr<Installer> installer_;
};

// Runs the installation to its end without windows and returns the exit status: kExitDone,
// or kExitCancelled. Queued downloads run through options.startDownloads; without it they
// are left out and reported on standard error.
int runSilentInstall(SetupContext& context, InstallerOptions options = {});

}  // namespace setup
