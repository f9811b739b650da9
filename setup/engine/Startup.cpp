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
    data_ = std::make_unique<SetupData>(*services_.profiles, run_.dataTagPath);
    if (!services_.files->exists(run_.dataTagPath)) {
        prompter_.message(kDataFileNotFound, title_);
        return kExitDataFileMissing;
    }

    run_.productName = data_->text("APPINFO", "1", 99);
    std::string background = data_->text("MAINWINDOW", "BackGround", 99);
    run_.preview = data_->text("APPINFO", "Preview", 99) == "YES";
    run_.languagePresent = services_.files->exists(run_.languageTagPath);
    language_ = std::make_unique<LanguageTexts>(*services_.profiles, run_.languageTagPath,
                                                run_.languagePresent);
    // Silent mode is known before the first message that could follow, so a silent run that
    // stops here says so on standard error rather than in a window.
    run_.silent = data_->on("APPINFO", "SILENTMODE", 99);
    if (!readProgramFolders(folders_, system, *services_.registry)) {
        prompter_.message(kNoPermission, title_);
        return kExitNoPermission;
    }

    run_.installFolder = folders_.resolveDefaultInstallDir(data_->text("APPINFO", "5", 99));
    readShellFolders(folders_, system);
    run_.programFolder = run_.productName;
    wantsBackground_ = !run_.silent && background == "SIM";
    return std::nullopt;
}

SetupContext Startup::context() {
    return SetupContext{services_, prompter_, run_, folders_, *data_, *language_, title_};
}

int Startup::run(const StartupStages& stages) {
    SetupContext ctx = context();
    if (stages.extract) {
        if (int status = stages.extract(ctx); status != kExitDone) return status;
    }
    if (wantsBackground_ && stages.showBackground) {
        stages.showBackground(ctx);
        run_.background = true;
    }

    auto& system = *services_.system;
    MachineFacts facts{system.version(), system.physicalMemoryBytes(), system.screen()};
    if (auto failure = failedRequirement(*data_, facts)) {
        prompter_.message(*failure, title_);
        return kExitRequirementNotMet;
    }
    return stages.runWizard ? stages.runWizard(ctx) : kExitDone;
}

}  // namespace setup
