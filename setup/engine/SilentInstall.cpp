#include "setup/engine/SilentInstall.h"

#include <iostream>

#include "setup/engine/SilentProgress.h"

namespace setup {

int runSilentInstall(SetupContext& context, InstallerOptions options) {
    SilentProgress progress;
    Installer installer(context.services, context.run, context.data, context.folders, progress,
                        context.prompter, std::move(options));
    context.run.setState(InstallState::Running);
    installer.open();
    const RunOutcome outcome = installer.run();
    if (outcome == RunOutcome::Cancelled) return kExitCancelled;
    // A download sequence finishes the run when its queue is empty; it may do so later, on
    // the loop that drives it.
    if (outcome == RunOutcome::Downloading) return kExitDone;
    if (!installer.downloads().empty())
        std::cerr << "setup: " << installer.downloads().size()
                  << " file(s) of the package are on the Internet and were not fetched\n";
    std::cerr << "setup: installed " << context.run.productName << " into "
              << context.folders.value(FolderKind::InstallDir) << "; log " << installer.logPath()
              << '\n';
    return kExitDone;
}

}  // namespace setup
