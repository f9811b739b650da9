// setup: the data-file-driven installer.
//
// How it fits together. platform::Services is the Windows machine (files under $WINROOT,
// registry, profile files, system facts, launcher). setup/config reads the package's setup
// data files (data.tag, language.tag) once into the PackageDescription that every later stage
// takes, and holds the one RunState of the run; setup/engine holds the folder tokens, the
// start-up sequence (Startup), the cabinet extraction, the installation engine (Installer,
// driven by InstallRun) and the Internet downloads; setup/wizard holds the windows. Startup
// runs in two halves: prepare() reads the data files before any window system exists, so a
// silent run ([APPINFO] "SILENTMODE" = 1) needs no display; run() then calls the stages
// (unpacking, background window, wizard), tests the machine's requirements and returns the exit
// status (ExitStatus.h). A silent run unpacks and installs with this program's own code
// (runSilentInstall). The windowed stages and the message boxes are Qt's, in setup-windows.so
// beside the program (setup/windowed), which this program opens only when the first window is
// due: a silent run loads no window library at all, and libcurl is opened only by a download.
// Every message goes through one Prompter: message boxes in a windowed run, standard error in
// a silent one.


#include <filesystem>
#include <iostream>
#include <memory>

#include "platform/Library.h"
#include "platform/Services.h"
#include "platform/WinRoot.h"
#include "setup/config/DataFiles.h"
#include "setup/config/ExitStatus.h"
#include "setup/config/SilentPrompter.h"
#include "setup/engine/CabinetExtractor.h"
#include "setup/engine/InstallRun.h"
#include "setup/engine/Startup.h"
#include "setup/windowed/WindowedSetup.h"

namespace {

// The windowed half, opened from the library beside the program when the first window is
// due (never in a silent run, nor without a display).
class WindowsLoader {
public:
    WindowsLoader(bool display, setup::WindowedSetupArgs args) : display_(display), args_(args) {}
    // Gone before the program's static objects, as the application object must be.
    ~WindowsLoader() { windows_.reset(); }

    // Nothing when there is no display or the library cannot be opened (problem() says why).
    setup::WindowedSetup* get() {
        if (windows_ || !display_ || !problem_.empty()) return windows_.get();
        std::string why;
        auto open = reinterpret_cast<setup::OpenWindowedSetup>(platform::entryPointBeside(
            setup::kWindowedSetupLibrary, setup::kOpenWindowedSetup, why));
        if (!open) {
            problem_ = "setup: the windows cannot be shown: " + why + "\n";
            std::cerr << problem_;
            return nullptr;
        }
        windows_.reset(open(args_));
        return windows_.get();
    }
    const std::string& problem() const { return problem_; }

private:
    bool display_;
    setup::WindowedSetupArgs args_;
    std::string problem_;
    std::unique_ptr<setup::WindowedSetup> windows_;
};

// The windowed prompter, with the windows opened only when the first box is due; without a
// display (or without the windows' library) the words go to standard error instead.
class LazyGuiPrompter : public setup::Prompter {
public:
    LazyGuiPrompter(WindowsLoader& windows, setup::Prompter& fallback)
        : windows_(windows), fallback_(fallback) {}
    void message(std::string_view text, std::string_view title) override {
        current().message(text, title);
    }
    setup::Answer okCancel(std::string_view text, std::string_view title) override {
        return current().okCancel(text, title);
    }
    setup::Answer yesNo(std::string_view text, std::string_view title, std::string_view yes,
                        std::string_view no) override {
        return current().yesNo(text, title, yes, no);
    }

private:
    setup::Prompter& current() {
        auto* windows = windows_.get();
        return windows ? windows->prompter() : fallback_;
    }
    WindowsLoader& windows_;
    setup::Prompter& fallback_;
};

// The stages of a run without windows.
setup::StartupStages silentStages() {
    setup::StartupStages stages;
    stages.extract = [](setup::SetupContext& ctx) {
        const setup::PackageCabinets where{ctx.run.setupFolder, ctx.run.file1CabPath,
                                           ctx.run.multi1CabPath, ctx.run.extractionFolder};
        return setup::extractPackage(*ctx.services.files, ctx.prompter, where, ctx.title,
                                     &ctx.run.unpackedFiles);
    };
    stages.runWizard = [](setup::SetupContext& ctx) {
        setup::InstallerOptions options;
        if (const setup::LanguageTexts& texts = ctx.package.texts; texts.present) {
            options.cancelQuestion = texts.cancelQuestion;
            options.yesCaption = texts.yes;
            options.noCaption = texts.no;
        }
        return setup::runSilentInstall(ctx, std::move(options));
    };
    return stages;
}

std::filesystem::path programHostPath(const char* argv0) {
    std::string given = argv0 ? argv0 : "";
    // Started through PATH: only the kernel knows where from.
    if (given.find('/') == std::string::npos) {
        std::error_code ec;
        auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
        if (!ec) return self;
    }
    return std::filesystem::absolute(given);
}

}  // namespace

int main(int argc, char** argv) {
    // setup reads everything it needs from the data files beside it; a word on the command
    // line is a mistake (or a question), never a reason to install.
    if (argc > 1) {
        const std::string word = argv[1];
        const bool help = word == "--help" || word == "-h" || word == "/?";
        (help ? std::cout : std::cerr)
            << "usage: setup\n"
               "Installs the package whose data.tag, datafile.dlr and cabinets lie beside this\n"
               "program (or in the current folder when it has another name). It takes no\n"
               "arguments; with SILENTMODE=1 in [APPINFO] of data.tag it runs without windows.\n"
               "The Windows tree is $WINROOT (default $XDG_DATA_HOME/winroot).\n";
        if (!help)
            std::cerr << "setup: unknown argument \"" << word << "\"; nothing was installed\n";
        return help ? setup::kExitDone : setup::kExitUsage;
    }
    const auto winRoot = platform::winRootFromEnvironment();
    auto services = platform::openServices(winRoot);
    if (!services) {
        std::cerr << "setup: cannot prepare the Windows folders at " << winRoot << '\n';
        return setup::kExitNoWindowsRoot;
    }

    auto& system = *services->system;
    const bool display = !system.environment("QT_QPA_PLATFORM").value_or("").empty() ||
                         !system.environment("DISPLAY").value_or("").empty() ||
                         !system.environment("WAYLAND_DISPLAY").value_or("").empty();
    WindowsLoader windows(display, {&argc, argv, &system});

    setup::RunState run;
    setup::SilentPrompter silent(std::cerr);
    LazyGuiPrompter windowed(windows, silent);
    setup::ModePrompter prompter(run, windowed, silent);
    setup::Startup startup(
        *services, prompter, run,
        platform::windowsPathOf(programHostPath(argc > 0 ? argv[0] : nullptr), winRoot),
        platform::windowsPathOf(std::filesystem::current_path(), winRoot));
    if (auto status = startup.prepare()) return *status;
    if (run.silent) return startup.run(silentStages());

    setup::WindowedSetup* shown = windows.get();
    if (!shown) {
        if (windows.problem().empty())
            std::cerr << "setup: there is no display to show the setup on; a package installs "
                         "without one when its data.tag has SILENTMODE=1 in [APPINFO]\n";
        return setup::kExitNoDisplay;
    }
    return startup.run(
        shown->stages(platform::windowsPathOf(std::filesystem::current_path(), winRoot)));
}
