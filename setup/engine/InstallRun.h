#pragma once
// The installation as the rest of setup drives it. The wizard's progress page calls open()
// when it appears and start() after its timer (main hands both to runWizard as its
// InstallSteps); a silent run without the wizard calls runSilentInstall.

#include <memory>

#include "setup/engine/DownloadSequence.h"
#include "setup/engine/Installer.h"
#include "setup/engine/Startup.h"
#include "setup/engine/Transfer.h"

namespace setup {

class InstallRun {
public:
    // The Internet files of the package are fetched on the scheduler's thread (the progress
    // page's event loop, or the silent run's loop); without a scheduler they are left out.
    InstallRun(SetupContext& context, InstallerOptions options = {}, Scheduler* scheduler = nullptr)
        : context_(context), options_(std::move(options)), scheduler_(scheduler) {}
    ~InstallRun();
    InstallRun(const InstallRun&) = delete;
    InstallRun& operator=(const InstallRun&) = delete;

    // The progress page has appeared: the log name, the range, the chosen names.
    void open(ProgressView& view);
    // The run itself; false when the user cancelled it.
    bool start(ProgressView& view);
    // Empty until open().
    Installer* installer() { return installer_.get(); }

private:
    SetupContext& context_;
    InstallerOptions options_;
    Scheduler* scheduler_;
    std::unique_ptr<Installer> installer_;
    // Declared after the installer they call into, so they are gone before it.
    std::unique_ptr<Transfer> transfer_;
    std::unique_ptr<DownloadSequence> downloads_;
};

// Runs the installation to its end without windows, Internet files included, and returns
// the exit status: kExitDone, or kExitCancelled.
int runSilentInstall(SetupContext& context, InstallerOptions options = {});

}  // namespace setup
