#include "fee/app/WindowManager.h"

#include <QApplication>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QVariant>
#include <algorithm>

#include "fee/app/DocumentFrame.h"
#include "fee/app/DocumentWindow.h"
#include "fee/app/MainMenuWindow.h"
#include "fee/app/Messages.h"

namespace fee::app {

bool needsJob(WindowId id) {
    switch (id) {
        case WindowId::WorkMenu:
        case WindowId::EditMenu:
        case WindowId::Overview:
        case WindowId::DeleteConfirm:
        case WindowId::LambdaWorkMenu:
        case WindowId::LambdaEditMenu:
        case WindowId::LambdaOverview:
        case WindowId::TrigWarning:
        case WindowId::Document:
            return true;
        case WindowId::Splash:
        case WindowId::MainMenu:
        case WindowId::Help:
        case WindowId::Particulars:
        case WindowId::NewEngineer:
        case WindowId::OpenJob:
            return false;
    }
    return false;
}

WindowManager::WindowManager(fee::DataStore& store, platform::SettingsStore& settings,
                             Timings timings, std::function<void()> quitApplication)
    : ctx_{store, settings, *this, timings}, quitApplication_(std::move(quitApplication)) {
    if (!quitApplication_) quitApplication_ = [] { QCoreApplication::quit(); };
}

WindowManager::~WindowManager() {
    // The windows hold a reference to the context; none may outlive it.
    for (auto& [id, window] : windows_) delete window.data();
    for (auto& [key, window] : entries_) delete window.data();
    delete frame_.data();
}

QWidget* WindowManager::window(WindowId id) const {
    auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : it->second.data();
}

QWidget* WindowManager::entryWindow(fee::CategoryId category, EntryMode mode) const {
    auto it = entries_.find({category, mode});
    return it == entries_.end() ? nullptr : it->second.data();
}

void WindowManager::show(QWidget* window) {
    // A window that did not place itself opens in the middle of the screen rather than in its
    // corner, where a window manager-less desktop would leave it.
    if (!window->isVisible() && !window->testAttribute(Qt::WA_Moved)) {
        // Not adjustSize(): it holds a window to two thirds of the screen, which cuts the
        // long Greek texts of the job windows.
        if (QLayout* layout = window->layout()) layout->activate();
        window->resize(window->sizeHint().expandedTo(window->minimumSizeHint()));
        if (QScreen* screen = window->screen()) {
            const QRect available = screen->availableGeometry();
            QRect frame = window->frameGeometry();
            frame.moveCenter(available.center());
            window->move(std::max(frame.left(), available.left()),
                         std::max(frame.top(), available.top()));
        }
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void WindowManager::bringToFront(QWidget* window) {
    QWidget* top = window->window();
    if (top->isMinimized()) top->showNormal();
    show(top);
}

void WindowManager::refuseHere(const QString& text) {
    // The box belongs to the main menu, which stays open: the window whose button asked may
    // close itself right after asking (the open-job dialog does) and take the box with it.
    QWidget* parent = window(WindowId::MainMenu);
    if (!parent) parent = QApplication::activeWindow();
    refuse(parent, text);
}

bool WindowManager::showsOtherJob(const QWidget* window) const {
    // A work menu left open on one job must not take the quantities of the job created or
    // chosen since: it is replaced by one for the current job.
    const QVariant job = window->property(kJobProperty);
    return job.isValid() && job.toString().toStdString() != ctx_.store.currentJob().value_or("");
}

bool WindowManager::jobAvailable() {
    if (ctx_.store.currentJobFolder()) return true;
    refuseHere(noJobMessage());
    return false;
}

void WindowManager::open(WindowId id) {
    if (id == WindowId::Document) {
        openDocument();
        return;
    }
    if (QWidget* existing = window(id)) {
        if (!showsOtherJob(existing)) {
            bringToFront(existing);
            return;
        }
        close(id);
    }
    if (needsJob(id) && !jobAvailable()) return;
    QWidget* created = createWindow(ctx_, id);
    if (!created) return;
    windows_[id] = created;
    show(created);
}

void WindowManager::openEntry(fee::CategoryId category, EntryMode mode) {
    if (QWidget* existing = entryWindow(category, mode)) {
        if (!showsOtherJob(existing)) {
            bringToFront(existing);
            return;
        }
        entries_.erase({category, mode});
        existing->close();
    }
    if (!jobAvailable()) return;
    QWidget* created = createEntry(ctx_, category, mode);
    if (!created) return;
    entries_[{category, mode}] = created;
    show(created);
}

void WindowManager::openDocument() {
    QWidget* existing = window(WindowId::Document);
    if (existing && !showsOtherJob(existing)) {
        bringToFront(existing);
        if (auto* sub = qobject_cast<QMdiSubWindow*>(existing->parentWidget()))
            sub->mdiArea()->setActiveSubWindow(sub);
        return;
    }
    if (auto problem = statementUnavailable(ctx_.store)) {
        refuseHere(*problem);
        return;
    }
    // The statement of the job chosen since is another document: the old one goes, as every
    // window of a job does once another is current.
    close(WindowId::Document);
    if (!frame_) {
        frame_ = new DocumentFrame(ctx_, documentCounter_);
        frame_->show();
    }
    auto* document = new DocumentWindow(ctx_);
    windows_[WindowId::Document] = document;
    frame_->addDocument(document);
    bringToFront(frame_);
}

void WindowManager::reopen(WindowId id) {
    close(id);
    open(id);
}

void WindowManager::close(WindowId id) {
    auto it = windows_.find(id);
    if (it == windows_.end()) return;
    QPointer<QWidget> window = it->second;
    // Forget it first: a closed window is deleted later, and must not be raised meanwhile.
    windows_.erase(it);
    if (!window) return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        sub->close();
    else
        window->close();
}

void WindowManager::quit() {
    if (frame_) frame_->setSavePositionOnClose(false);
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (w->isVisible()) w->close();
    }
    windows_.clear();
    entries_.clear();
    quitApplication_();
}

}  // namespace fee::app
