#include "setup/engine/InstallRun.h"

#include <iostream>

#include "setup/engine/SilentProgress.h"

namespace setup {

void InstallRun::open(ProgressView& view) {
    installer_ = std::make_unique<Installer>(context_.services, context_.run, context_.data,
                                             context_.folders, view, context_.prompter, options_);
    installer_->open();
}

bool InstallRun::start(ProgressView& view) {
    if (!installer_) open(view);
    return installer_->run() != RunOutcome::Cancelled;
}

int runSilentInstall(SetupContext& context, InstallerOptions options) {
    SilentProgress progress;
    InstallRun install(context, std::move(options));
    context.run.setState(InstallState::Running);
    install.open(progress);
    if (!install.start(progress)) return kExitCancelled;
    const Installer& installer = *install.installer();
    // A download sequence finishes the run itself when its queue is empty.
    if (context.run.state() != InstallState::Done) return kExitDone;
    if (!installer.downloads().empty())
        std::cerr << "setup: " << installer.downloads().size()
                  << " file(s) of the package are on the Internet and were not fetched\n";
    std::cerr << "setup: installed " << context.run.productName << " into "
              << context.folders.value(FolderKind::InstallDir) << "; log " << installer.logPath()
              << '\n';
    return kExitDone;
}

}  // namespace setup
