#include "setup/engine/InstallRun.h"

#include <iostream>

#include "setup/engine/DefaultAnswers.h"
#include "setup/engine/DownloadMeter.h"
#include "setup/engine/LoopScheduler.h"
#include "setup/engine/SilentProgress.h"

namespace setup {

InstallRun::~InstallRun() = default;

void InstallRun::open(ProgressView& view) {
    InstallerOptions options = options_;
    if (scheduler_ && !options.startDownloads) {
        transfer_ = std::make_unique<CurlTransfer>(*context_.services.files, *scheduler_);
        downloads_ = std::make_unique<DownloadSequence>(
            view, context_.prompter, *scheduler_, *transfer_,
            DownloadSequenceOptions{context_.folders.value(FolderKind::InstallDir),
                                    context_.run.silent});
        options.startDownloads = [this](DownloadQueue& queue, std::function<void()> done) {
            // Every file the downloads will write is in the journal before the first begins.
            if (auto* recorder = installer_->recorder()) {
                for (const auto& entry : queue) {
                    const auto name = downloadFileName(entry.url);
                    if (!name) continue;
                    std::string folder = entry.folder.empty()
                                             ? context_.folders.value(FolderKind::InstallDir)
                                             : entry.folder;
                    if (folder.empty()) continue;
                    if (folder.back() != '\\') folder += '\\';
                    recorder->expectFile(folder + *name, folder + "~" + *name + ".part");
                }
            }
            downloads_->start(queue, installer_->totalFiles() + installer_->internetSources() - 1,
                              std::move(done));
        };
    }
    installer_ = std::make_unique<Installer>(context_.services, context_.run, context_.package,
                                             context_.folders, view, context_.prompter, options);
    installer_->open();
}

bool InstallRun::start(ProgressView& view) {
    if (!installer_) open(view);
    const RunOutcome outcome = installer_->run();
    if (outcome == RunOutcome::Failed)
        context_.prompter.message(
            installer_->failure() + "\n" + ownTextsFor(context_.package).nothingInstalled,
            context_.title);
    return outcome != RunOutcome::Cancelled && outcome != RunOutcome::Failed;
}

int runSilentInstall(SetupContext& context, InstallerOptions options) {
    takeDefaultAnswers(context.run, context.package, *context.services.registry);
    if (!context.run.installFolder.empty())
        context.folders.set(FolderKind::InstallDir, context.run.installFolder);
    // Nobody can choose a folder in a silent run: without one, the log and every file of
    // "<Install Dir>" would land in the root of a drive.
    if (context.folders.value(FolderKind::InstallDir).empty()) {
        context.prompter.message(
            "There is no installation folder: [APPINFO] \"5\" of data.tag is empty.",
            context.title);
        return kExitInstallFailed;
    }
    SilentProgress progress;
    LoopScheduler loop;
    InstallRun install(context, std::move(options), &loop);
    context.run.setState(InstallState::Running);
    install.open(progress);
    if (!install.start(progress))
        return install.installer()->failure().empty() ? kExitCancelled : kExitInstallFailed;
    const Installer& installer = *install.installer();
    // The download sequence finishes the run itself once its queue is empty.
    loop.runUntil([&] { return context.run.state() == InstallState::Done; });
    if (!installer.failure().empty()) return kExitInstallFailed;
    // The files it left out were named on standard error as the run ended.
    if (!installer.notInstalled().empty()) return kExitIncomplete;
    // One line in one write: standard error is unbuffered, and a line written in pieces can be
    // broken by another writer's.
    std::cerr << ("setup: installed " + context.run.productName + " into " +
                  context.folders.value(FolderKind::InstallDir) + "; log " + installer.logPath() +
                  '\n');
    return kExitDone;
}

}  // namespace setup
