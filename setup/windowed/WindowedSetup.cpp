// The windowed stages of setup, in the library main opens for the first window (see
// WindowedSetup.h). What each stage shows is the wizard's; this file only wires them to the
// application object.

#include "setup/windowed/WindowedSetup.h"

#include <QApplication>
#include <QScreen>
#include <atomic>
#include <memory>

#include "platform/SystemInfo.h"
#include "setup/engine/CabinetExtractor.h"
#include "setup/engine/InstallRun.h"
#include "setup/wizard/BackgroundWindow.h"
#include "setup/wizard/ExtractionWindow.h"
#include "setup/wizard/QtPrompter.h"
#include "setup/wizard/Questions.h"
#include "setup/wizard/QtScheduler.h"
#include "setup/wizard/RunWizard.h"
#include "setup/wizard/SplashWindow.h"

namespace setup {
namespace {

class QtWindowedSetup final : public WindowedSetup {
public:
    explicit QtWindowedSetup(const WindowedSetupArgs& args) : app_(*args.argc, args.argv) {
        // The extraction window closes before the wizard opens: that is no reason to end.
        QApplication::setQuitOnLastWindowClosed(false);
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (screen && args.system)
            args.system->setScreen(
                {screen->geometry().width(), screen->geometry().height(), screen->depth()});
    }
    // The windows go before the application object.
    ~QtWindowedSetup() override {
        background_.reset();
        splash_.reset();
    }

    Prompter& prompter() override { return boxes_; }

    StartupStages stages(const std::string& currentDirectory) override {
        currentDirectory_ = currentDirectory;
        StartupStages stages;
        stages.extract = [this](SetupContext& ctx) { return extract(ctx); };
        stages.showBackground = [this](SetupContext& ctx) {
            background_ = BackgroundWindow::fromPackage(ctx.package.window);
            background_->cover();
            QApplication::processEvents();
        };
        stages.runWizard = [this](SetupContext& ctx) { return wizard(ctx); };
        return stages;
    }

private:
    int extract(SetupContext& ctx) {
        // From here on the boxes' own buttons speak the package's language.
        boxes_.setTexts(ownTextsFor(ctx.package));
        ExtractionSettings settings;
        settings.setupFolder = ctx.run.setupFolder;
        settings.file1Cab = ctx.run.file1CabPath;
        settings.multi1Cab = ctx.run.multi1CabPath;
        settings.extractionFolder = ctx.run.extractionFolder;
        const PackageDescription& package = ctx.package;
        if (package.texts.present) {
            settings.statusText = package.texts.extractionStatus;
            settings.cancelText = package.texts.cancel;
        }
        settings.advanced = package.window.advanced;
        settings.splash = package.window.splash;
        ExtractionWindow window(*ctx.services.files, ctx.prompter, settings, splashState_, [&] {
            splash_ = SplashWindow::fromCurrentDirectory(*ctx.services.files, currentDirectory_,
                                                         splashState_);
            if (splash_) splash_->show();
        });
        if (window.exec() != QDialog::Accepted) return window.exitStatus();
        ctx.run.unpackedFiles = window.takeUnpacked();
        return kExitDone;
    }

    int wizard(SetupContext& ctx) {
        InstallerOptions options;
        if (const LanguageTexts& texts = ctx.package.texts; texts.present) {
            options.cancelQuestion = texts.cancelQuestion;
            options.yesCaption = texts.yes;
            options.noCaption = texts.no;
        }
        // The copy pass asks with the wizard's own question, over the window in front.
        options.confirmCancel = [&ctx] {
            QWidget* front = QApplication::activeModalWidget();
            if (!front) front = QApplication::activeWindow();
            return askCancelInstallation(front, ctx.package.texts);
        };
        QtScheduler scheduler(app_);
        InstallRun install(ctx, std::move(options), &scheduler);
        return runWizard(ctx, {[&](ProgressView& view) { install.open(view); },
                               [&](ProgressView& view) { return install.start(view); }});
    }

    QApplication app_;
    QtPrompter boxes_;
    std::string currentDirectory_;
    std::atomic<int> splashState_{0};
    std::unique_ptr<SplashWindow> splash_;
    std::unique_ptr<BackgroundWindow> background_;
};

}  // namespace
}  // namespace setup

extern "C" __attribute__((visibility("default"))) setup::WindowedSetup* setupOpenWindowedSetup(
    const setup::WindowedSetupArgs& args) {
    return new setup::QtWindowedSetup(args);
}
