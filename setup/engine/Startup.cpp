#include "setup/engine/Startup.h"

#include "setup/config/DataFiles.h"
#include "setup/config/Requirements.h"

namespace setup {

Startup::Startup(platform::Services& services, Prompter& prompter, RunState& run,
                 std::string programPath, std::string currentDirectory)
    : services_(services),
      prompter_(prompter),
      run_(run),
      programPath_(std::move(programPath)),
      currentDirectory_(std::move(currentDirectory)),
      title_(programTitle(programPath_)) {}

std::optional<int> Startup::prepare() {
    auto& system = *services_.system;
    std::string setupFolder = setupFolderFor(programPath_, currentDirectory_);

    readSystemFolders(folders_, system, setupFolder);
    run_.extractionFolder = extractionFolder(folders_);
    removeEarlierTexts(*services_.files, run_.extractionFolder);
    locateDataFiles(setupFolder, run_);
    run_.currentDirectory = currentDirectory_;
    if (!services_.files->exists(run_.dataTagPath)) {
        prompter_.message(kDataFileNotFound, title_);
        return kExitDataFileMissing;
    }

    run_.languagePresent = services_.files->exists(run_.languageTagPath);
    package_ =
        readPackage(*services_.profiles, run_.dataTagPath,
                    run_.languagePresent ? std::optional<std::string_view>(run_.languageTagPath)
                                         : std::nullopt);
    run_.productName = package_.app.productName;
    run_.preview = package_.app.preview;
    // Silent mode is known before the first message that could follow, so a silent run that
    // stops here says so on standard error rather than in a window.
    run_.silent = package_.app.silent;
    if (!readProgramFolders(folders_, system, *services_.registry)) {
        prompter_.message(kNoPermission, title_);
        return kExitNoPermission;
    }

    run_.installFolder = folders_.resolveDefaultInstallDir(package_.app.defaultInstallFolder);
    readShellFolders(folders_, system);
    run_.programFolder = run_.productName;
    wantsBackground_ = !run_.silent && package_.window.background;
    return std::nullopt;
}

SetupContext Startup::context() {
    return SetupContext{services_, prompter_, run_, folders_, package_, title_};
}

int Startup::run(const StartupStages& stages) {
    SetupContext ctx = context();
    if (stages.extract) {
        if (int status = stages.extract(ctx); status != kExitDone)
            return status == kEndedByUser ? kExitDone : status;
    }
    if (wantsBackground_ && stages.showBackground) {
        stages.showBackground(ctx);
        run_.background = true;
    }

    auto& system = *services_.system;
    MachineFacts facts{system.version(), system.physicalMemoryBytes(), system.screen()};
    if (auto failure = failedRequirement(package_.requirements, facts)) {
        prompter_.message(*failure, title_);
        return kExitRequirementNotMet;
    }
    return stages.runWizard ? stages.runWizard(ctx) : kExitDone;
}

}  // namespace setup
