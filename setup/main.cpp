// setup: the data-file-driven installer.
//
// How it fits together. platform::Services is the Windows machine (files under $WINROOT,
// registry, profile files, system facts, launcher). setup/config reads the package's setup
// data files (data.tag, language.tag) once into the PackageDescription that every later stage
// takes, and holds the one RunState of the run; setup/engine holds the folder tokens, the
// start-up sequence (Startup), the cabinet extraction, the installation engine (Installer,
// driven by InstallRun) and the Internet downloads; setup/wizard holds the windows. Startup
// runs in two halves: prepare() reads the data files before any window system exists, so a silent
// run ([APPINFO] "SILENTMODE" = 1) needs no display; run() then calls the windowed stages main
// wires in here (extraction window, background window, wizard), tests the machine's requirements
// and returns the exit status (ExitStatus.h). A silent run installs without the wizard
// (runSilentInstall). Every message goes through one Prompter: message boxes in a windowed run,
// standard error in a silent one.

#include <QApplication>
#include <QScreen>
#include <filesystem>
#include <iostream>
#include <memory>

#include "platform/Services.h"
#include "platform/WinRoot.h"
#include "setup/config/DataFiles.h"
#include "setup/config/ExitStatus.h"
#include "setup/config/SilentPrompter.h"
#include "setup/engine/CabinetExtractor.h"
#include "setup/engine/InstallRun.h"
#include "setup/engine/Startup.h"
#include "setup/wizard/BackgroundWindow.h"
#include "setup/wizard/ExtractionWindow.h"
#include "setup/wizard/QtPrompter.h"
#include "setup/wizard/QtScheduler.h"
#include "setup/wizard/RunWizard.h"
#include "setup/wizard/SplashWindow.h"

namespace {

// The windowed prompter, with the application object created only when the first box is due;
// without a display the words go to standard error instead.
class LazyGuiPrompter : public setup::Prompter {
public:
    LazyGuiPrompter(std::function<bool()> ensureGui, setup::Prompter& fallback)
        : ensureGui_(std::move(ensureGui)), fallback_(fallback) {}
    void message(std::string_view text, std::string_view title) override {
        ensureGui_() ? boxes_.message(text, title) : fallback_.message(text, title);
    }
    setup::Answer okCancel(std::string_view text, std::string_view title) override {
        return ensureGui_() ? boxes_.okCancel(text, title) : fallback_.okCancel(text, title);
    }
    setup::Answer yesNo(std::string_view text, std::string_view title, std::string_view yes,
                        std::string_view no) override {
        return ensureGui_() ? boxes_.yesNo(text, title, yes, no)
                            : fallback_.yesNo(text, title, yes, no);
    }

private:
    std::function<bool()> ensureGui_;
    setup::Prompter& fallback_;
    setup::QtPrompter boxes_;
};

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
        if (!help) std::cerr << "setup: unknown argument \"" << word << "\"; nothing was installed\n";
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
    std::unique_ptr<QApplication> app;
    auto ensureGui = [&] {
        if (!app && display) {
            app = std::make_unique<QApplication>(argc, argv);
            // The extraction window closes before the wizard opens: that is no reason to end.
            QApplication::setQuitOnLastWindowClosed(false);
            const QScreen* screen = QGuiApplication::primaryScreen();
            if (screen)
                system.setScreen(
                    {screen->geometry().width(), screen->geometry().height(), screen->depth()});
        }
        return app != nullptr;
    };

    setup::RunState run;
    setup::SilentPrompter silent(std::cerr);
    LazyGuiPrompter windowed(ensureGui, silent);
    setup::ModePrompter prompter(run, windowed, silent);
    setup::Startup startup(
        *services, prompter, run,
        platform::windowsPathOf(programHostPath(argc > 0 ? argv[0] : nullptr), winRoot),
        platform::windowsPathOf(std::filesystem::current_path(), winRoot));
    if (auto status = startup.prepare()) return *status;

    if (!run.silent && !ensureGui()) {
        std::cerr << "setup: there is no display to show the setup on; a package installs without "
                     "one when its data.tag has SILENTMODE=1 in [APPINFO]\n";
        return setup::kExitNoDisplay;
    }

    const std::string currentDirectory =
        platform::windowsPathOf(std::filesystem::current_path(), winRoot);
    std::atomic<int> splashState{0};
    std::unique_ptr<setup::SplashWindow> splash;
    std::unique_ptr<setup::BackgroundWindow> background;
    setup::StartupStages stages;
    stages.extract = [&](setup::SetupContext& ctx) {
        const setup::PackageCabinets where{ctx.run.setupFolder, ctx.run.file1CabPath,
                                           ctx.run.multi1CabPath, ctx.run.extractionFolder};
        // A silent run may have no display at all: no window, no pacing.
        if (ctx.run.silent)
            return setup::extractPackage(*ctx.services.files, ctx.prompter, where, ctx.title);
        setup::ExtractionSettings settings;
        settings.setupFolder = where.setupFolder;
        settings.file1Cab = where.file1Cab;
        settings.multi1Cab = where.multi1Cab;
        settings.extractionFolder = where.extractionFolder;
        const setup::PackageDescription& package = ctx.package;
        if (package.texts.present) {
            settings.statusText = package.texts.extractionStatus;
            settings.cancelText = package.texts.cancel;
        }
        settings.advanced = package.window.advanced;
        settings.splash = package.window.splash;
        setup::ExtractionWindow window(*ctx.services.files, ctx.prompter, settings, splashState,
                                       [&] {
                                           splash = setup::SplashWindow::fromCurrentDirectory(
                                               *ctx.services.files, currentDirectory, splashState);
                                           if (splash) splash->show();
                                       });
        return window.exec() == QDialog::Accepted ? setup::kExitDone : window.exitStatus();
    };
    stages.showBackground = [&](setup::SetupContext& ctx) {
        background = setup::BackgroundWindow::fromPackage(ctx.package.window);
        background->cover();
        QApplication::processEvents();
    };
    stages.runWizard = [&](setup::SetupContext& ctx) {
        setup::InstallerOptions options;
        if (const setup::LanguageTexts& texts = ctx.package.texts; texts.present) {
            options.cancelQuestion = texts.cancelQuestion;
            options.yesCaption = texts.yes;
            options.noCaption = texts.no;
        }
        if (ctx.run.silent) return setup::runSilentInstall(ctx, std::move(options));
        setup::QtScheduler scheduler(*app);
        setup::InstallRun install(ctx, std::move(options), &scheduler);
        return setup::runWizard(ctx,
                                {[&](setup::ProgressView& view) { install.open(view); },
                                 [&](setup::ProgressView& view) { return install.start(view); }});
    };
    return startup.run(stages);
}
