#pragma once
// The start-up of the setup program, from its own path to the wizard. It runs in two halves so
// that main can read data.tag before any window system exists (a silent run needs no display):
// prepare() finds the data files and the folders, run() unpacks, shows the background window,
// tests the requirements and hands over to the wizard. Windows come in through StartupStages.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Services.h"
#include "setup/config/ExitStatus.h"
#include "setup/config/PackageDescription.h"
#include "setup/config/Prompter.h"
#include "setup/config/RunState.h"
#include "setup/engine/FolderTable.h"

namespace setup {

inline constexpr std::string_view kDataFileNotFound = "Data file not found...";
inline constexpr std::string_view kNoPermission =
    "You don't have permission to run setup in this computer...";

// What the setup program has once start-up has read its files; the stages, the wizard pages
// and the installation engine work from this.
struct SetupContext {
    platform::Services& services;
    Prompter& prompter;
    RunState& run;
    FolderTable& folders;
    // data.tag and language.tag as start-up read them.
    const PackageDescription& package;
    // The title of every message box: the program's file name without its extension.
    const std::string& title;
};

// The windowed parts of the start-up. An empty stage is skipped as if it had succeeded.
struct StartupStages {
    // Unpacks the cabinets (the extraction window): kExitDone when accepted, else the status
    // the setup ends with (kExitExtractionFailed, kExitCancelled).
    std::function<int(SetupContext&)> extract;
    // Covers the screen behind the wizard; never called in a silent run.
    std::function<void(SetupContext&)> showBackground;
    // Runs the wizard to its end and returns the exit status.
    std::function<int(SetupContext&)> runWizard;
};

class Startup {
public:
    // programPath and currentDirectory are Windows paths (see platform::windowsPathOf).
    Startup(platform::Services& services, Prompter& prompter, RunState& run,
            std::string programPath, std::string currentDirectory);

    // Finds the setup folder and data files, reads them into the package description and fills
    // the folder table. An exit status when the setup must end here, else nothing.
    std::optional<int> prepare();
    // The rest of the start-up; the exit status of the whole run.
    int run(const StartupStages& stages);

    const std::string& title() const { return title_; }
    FolderTable& folders() { return folders_; }
    // Empty until prepare() has read it.
    const PackageDescription& package() const { return package_; }
    SetupContext context();

private:
    platform::Services& services_;
    Prompter& prompter_;
    RunState& run_;
    std::string programPath_;
    std::string currentDirectory_;
    std::string title_;
    bool wantsBackground_ = false;
    FolderTable folders_;
    PackageDescription package_;
};

}  // namespace setup
