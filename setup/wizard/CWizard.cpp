#include "setup/wizard/CWizard.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QWindow>
#include <iostream>

#include "setup/config/ExitStatus.h"
#include "setup/wizard/CPage.h"
#include "setup/wizard/CProgress.h"
#include "setup/wizard/FolderPages.h"
#include "setup/wizard/InfoPages.h"
#include "setup/wizard/PageLogic.h"
#include "setup/wizard/Pictures.h"
#include "setup/wizard/Questions.h"
#include "setup/wizard/TypePages.h"

namespace setup {

CWizard::CWizard(WizardContext& context, QWidget* parent) : QDialog(parent), ctx_(context) {
    setObjectName(QStringLiteral("wizard"));
    setFont(dialogFont());
    DialogUnits du(dialogFont());
    setFixedSize(du.size(331, 215));
    setWindowIcon(QIcon(pictures::headerIcon(32)));
    setWindowTitle(
        QStringLiteral("%1 - Instavo").arg(QString::fromStdString(ctx_.state.productName)));
    setAccessibleName(windowTitle());

    area_ = new QWidget(this);
    area_->setObjectName(QStringLiteral("pageArea"));
    area_->setGeometry(du.rect(0, 0, 330, 188));
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(du.x(5), du.y(190), du.x(321), 2);
    auto* brand = new QLabel(QStringLiteral("Korvanet Instavo"), this);
    brand->setObjectName(QStringLiteral("brand"));
    brand->setEnabled(false);
    brand->setGeometry(du.rect(5, 197, 100, 10));

    back_ = new QPushButton(this);
    back_->setObjectName(QStringLiteral("back"));
    back_->setGeometry(du.rect(165, 194, 50, 14));
    next_ = new QPushButton(this);
    next_->setObjectName(QStringLiteral("next"));
    next_->setGeometry(du.rect(215, 194, 50, 14));
    cancel_ = new QPushButton(this);
    cancel_->setObjectName(QStringLiteral("cancel"));
    cancel_->setGeometry(du.rect(273, 194, 50, 14));
    for (QPushButton* b : {back_, next_, cancel_}) b->setAutoDefault(false);
    next_->setDefault(true);
    connect(next_, &QPushButton::clicked, this, &CWizard::next);
    connect(back_, &QPushButton::clicked, this, &CWizard::back);
    connect(cancel_, &QPushButton::clicked, this, &CWizard::cancel);
    setCaptions();
    back_->setEnabled(false);

    poll_.setInterval(ctx_.timings.pollMs);
    connect(&poll_, &QTimer::timeout, this, &CWizard::poll);
    if (ctx_.state.background)
        QTimer::singleShot(ctx_.timings.frontMs, this, &CWizard::bringToFront);

    names_ = buildPageList(ctx_.package.pages);
    for (const std::string& name : names_) {
        CPage* page = nullptr;
        if (name == "welcome")
            page = new CWelcome(ctx_, area_);
        else if (name == "license")
            page = new CLicense(ctx_, area_);
        else if (name == "readme")
            page = new CReadme(ctx_, area_);
        else if (name == "user")
            page = new CUser(ctx_, area_);
        else if (name == "destination")
            page = new CDestination(ctx_, area_);
        else if (name == "setuptype") {
            page = new CSetupType(ctx_, area_);
            custom_ = new CDCustom(ctx_, area_);
            connect(custom_, &CPage::enableNext, next_, [this] { next_->setEnabled(true); });
            connect(custom_, &CPage::disableNext, next_, [this] { next_->setEnabled(false); });
        } else if (name == "folder")
            page = new CFolder(ctx_, area_);
        else if (name == "start")
            page = new CStartCopying(ctx_, area_);
        if (!page) continue;
        connect(page, &CPage::enableNext, next_, [this] { next_->setEnabled(true); });
        connect(page, &CPage::disableNext, next_, [this] { next_->setEnabled(false); });
        pages_[name] = page;
    }
}

void CWizard::setCaptions() {
    const LanguageTexts& texts = ctx_.package.texts;
    auto caption = [&](const std::string& text, const char* builtin) {
        return texts.present ? QString::fromStdString(text) : QString::fromLatin1(builtin);
    };
    next_->setText(caption(texts.next, "Next >"));
    back_->setText(caption(texts.back, "< Back"));
    cancel_->setText(caption(texts.cancel, "Cancel"));
}

CPage* CWizard::pageAt(int position) const {
    if (position < 1 || position > static_cast<int>(names_.size())) return nullptr;
    auto it = pages_.find(names_[position - 1]);
    return it == pages_.end() ? nullptr : it->second;
}

const std::string& CWizard::nameAt(int position) const {
    static const std::string none;
    if (position < 1 || position > static_cast<int>(names_.size())) return none;
    return names_[position - 1];
}

std::string CWizard::currentPage() const {
    if (customShown_) return "custom";
    if (complete_ && !complete_->isHidden()) return "complete";
    if (progress_ && !progress_->isHidden()) return "progress";
    CPage* page = pageAt(position_);
    return page && !page->isHidden() ? nameAt(position_) : std::string();
}

void CWizard::begin() {
    if (ctx_.state.silent) {
        // Nothing is shown: the window has no size and the run starts at once.
        move(0, 0);
        setFixedSize(0, 0);
        enterProgress();
        return;
    }
    if (CPage* first = pageAt(1)) first->showPage();
    if (names_.size() <= 1) {
        ctx_.prompter.message(
            ownTextsFor(ctx_.package).noDialogs,
            QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString());
        end(kExitCancelled);
        return;
    }
    if (nameAt(1) == "progress") enterProgress();
}

int CWizard::run() {
    begin();
    if (ended_) return status_;
    if (ctx_.state.silent) {
        QEventLoop loop;
        connect(this, &QDialog::finished, &loop, &QEventLoop::exit);
        return loop.exec();
    }
    return exec();
}

void CWizard::next() {
    if (customShown_) {
        custom_->hidePage();
        customShown_ = false;
    }
    if (CPage* page = pageAt(position_)) page->hidePage();
    ++position_;
    if (position_ > 1) {
        back_->show();
        setCaptions();
        back_->setEnabled(true);
    }
    if (ctx_.customChoice == CustomChoice::Set && custom_) {
        ctx_.customChoice = CustomChoice::Consumed;
        custom_->showPage();
        --position_;
        customShown_ = true;
        return;
    }
    const std::string& name = nameAt(position_);
    if (name == "license") next_->setEnabled(false);
    if (CPage* page = pageAt(position_)) {
        page->showPage();
        if (name == "license" || name == "user" || name == "folder") page->setFocus();
    }
    if (name == "progress") enterProgress();
}

void CWizard::back() {
    setCaptions();
    next_->setEnabled(true);
    if (customShown_) {
        custom_->hidePage();
        customShown_ = false;
        ++position_;
    }
    if (CPage* page = pageAt(position_)) page->hidePage();
    --position_;
    if (position_ < 2) back_->hide();
    if (CPage* page = pageAt(position_)) page->showPage();
}

void CWizard::enterProgress() {
    back_->hide();
    next_->hide();
    progress_ = new CProgress(ctx_, area_);
    connect(progress_, &CProgress::cancelled, this, [this] { end(kExitCancelled); });
    progress_->showPage();
    ctx_.state.setState(InstallState::Running);
    poll_.start();
}

void CWizard::poll() {
    if (ctx_.state.state() != InstallState::Done) return;
    poll_.stop();
    progress_->hidePage();
    ++position_;
    if (nameAt(position_) == "complete" && !ctx_.state.silent) {
        complete_ = new CComplete(ctx_, area_);
        complete_->showPage();
        const LanguageTexts& texts = ctx_.package.texts;
        cancel_->setText(texts.present ? QString::fromStdString(texts.finish)
                                       : QStringLiteral("Finish"));
        cancel_->setDefault(true);
        return;
    }
    hide();
    cancel();
}

void CWizard::cancel() {
    if (ended_) return;
    ctx_.state.cancelRequested = true;
    if (ctx_.state.state() == InstallState::Done) {
        finish();
        end(kExitDone);
    } else if (ctx_.state.background || askCancelInstallation(this, ctx_.package.texts)) {
        // One question: the installation, if it runs, rolls back on this answer.
        ctx_.state.cancelConfirmed = true;
        end(kExitCancelled);
    } else {
        ctx_.state.cancelRequested = false;  // answered: the copy pass does not ask again
    }
}

void CWizard::finish() {
    const PackageDescription& package = ctx_.package;
    if (package.window.advanced && package.window.runCompanion) {
        // The companion program is looked for in the temporary folder under its own name.
        std::string command = ctx_.state.extractionFolder + "InstavoMM.exe";
        std::string path = ctx_.system.tempFolder() + command.substr(command.rfind('\\') + 1);
        ctx_.launcher.start("\"" + path + "\" AFTER \"" + ctx_.state.dataTagPath + "\"", "");
    }
    if (package.pages.finishActions) {
        const std::string& folder = ctx_.state.installFolder;
        std::string readme = folder + "\\readme.txt";
        std::string program = folder + "\\" + package.app.program;
        auto openReadme = [&] { ctx_.launcher.open(readme); };
        auto startProgram = [&] { ctx_.launcher.start("\"" + program + "\"", folder); };
        if (complete_ && complete_->readmeTicked()) openReadme();
        if (complete_ && complete_->runTicked()) startProgram();
        if (package.pages.alwaysRun) startProgram();
        if (package.pages.alwaysReadme) openReadme();
    } else if (!ctx_.state.silent && askRestart(this, package.texts)) {
        // Restarting the host is not an installer's to do: the user hears that it was not done
        // where they answered, not only on a terminal they may not have.
        ctx_.prompter.message(
            ownTextsFor(package).restartNotDone,
            QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString());
    }
}

void CWizard::end(int status) {
    ended_ = true;
    status_ = status;
    poll_.stop();
    done(status);
}

void CWizard::bringToFront() {
    if (ended_) return;
    // setWindowFlag() on a shown window hides it to apply the hint, which would end the
    // wizard's modal loop: the flag is recorded, then handed to the shown window directly.
    overrideWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    if (QWindow* window = windowHandle())
        window->setFlags(window->flags() | Qt::WindowStaysOnTopHint);
    raise();
    activateWindow();
}

}  // namespace setup
