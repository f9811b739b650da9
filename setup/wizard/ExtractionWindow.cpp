#include "setup/wizard/ExtractionWindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "setup/config/ExitStatus.h"

namespace setup {
namespace {

constexpr int kBarMaximum = 400;
constexpr int kBarStep = 10;

// Questions from the worker are asked on the window's thread, which owns every widget; once
// the user has cancelled, the worker gets Cancel without a question.
class WorkerPrompter final : public Prompter {
public:
    WorkerPrompter(Prompter& inner, QObject& owner, const std::atomic<bool>& stop)
        : inner_(inner), owner_(owner), stop_(stop) {}

    void message(std::string_view text, std::string_view title) override {
        onOwnerThread([&] { inner_.message(text, title); });
    }
    Answer okCancel(std::string_view text, std::string_view title) override {
        if (stop_.load()) return Answer::Cancel;
        Answer answer = Answer::Cancel;
        onOwnerThread([&] { answer = inner_.okCancel(text, title); });
        return answer;
    }
    Answer yesNo(std::string_view text, std::string_view title, std::string_view yes,
                 std::string_view no) override {
        Answer answer = Answer::No;
        onOwnerThread([&] { answer = inner_.yesNo(text, title, yes, no); });
        return answer;
    }

private:
    template <class F>
    void onOwnerThread(F&& f) {
        if (QThread::currentThread() == owner_.thread()) {
            f();
        } else {
            QMetaObject::invokeMethod(&owner_, std::forward<F>(f), Qt::BlockingQueuedConnection);
        }
    }
    Prompter& inner_;
    QObject& owner_;
    const std::atomic<bool>& stop_;
};

}  // namespace

const char* ExtractionWindow::builtInStatusText() {
    return "Setup is preparing the Instavo\u00ae which will guide you through the application "
           "setup process. Please wait.";
}

ExtractionWindow::ExtractionWindow(platform::FileSystem& files, Prompter& prompter,
                                   ExtractionSettings settings, std::atomic<int>& splashState,
                                   std::function<void()> startSplash, QWidget* parent)
    : QDialog(parent),
      files_(files),
      prompter_(prompter),
      settings_(std::move(settings)),
      splashState_(splashState),
      startSplash_(std::move(startSplash)) {
    setObjectName("ExtractionWindow");
    title_ = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
    if (title_.empty()) title_ = "setup";
    setWindowTitle("setup");
    setAccessibleName("setup");
    workerPrompter_ = std::make_unique<WorkerPrompter>(prompter_, *this, stop_);

    status_ =
        new QLabel(settings_.statusText.empty() ? QString(builtInStatusText())
                                                : QString::fromStdString(settings_.statusText));
    status_->setObjectName("Status");
    status_->setWordWrap(true);
    bar_ = new QProgressBar;
    bar_->setObjectName("Progress");
    bar_->setAccessibleName("Progress");
    bar_->setRange(0, kBarMaximum);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    cancel_ = new QPushButton(settings_.cancelText.empty()
                                  ? QString("Cancel")
                                  : QString::fromStdString(settings_.cancelText));
    cancel_->setObjectName("Cancel");
    connect(cancel_, &QPushButton::clicked, this, &ExtractionWindow::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(bar_);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(cancel_);
    layout->addLayout(row);
    setFixedWidth(360);

    tick_ = new QTimer(this);
    connect(tick_, &QTimer::timeout, this, &ExtractionWindow::onTick);
    poll_ = new QTimer(this);
    connect(poll_, &QTimer::timeout, this, &ExtractionWindow::onPoll);

    if (settings_.silent) {
        // Present for the modal run, yet nothing to see.
        layout->setSizeConstraint(QLayout::SetNoConstraint);
        setMinimumSize(0, 0);
        setFixedSize(0, 0);
        move(0, 0);
    }
}

ExtractionWindow::~ExtractionWindow() {
    stop_.store(true);
    if (thread_.joinable()) thread_.join();
    // Cancelled or failed: what the earlier stage unpacked (the inner cabinet) goes too.
    if (result() != QDialog::Accepted) removeUnpacked(files_, unpacked_);
}

void ExtractionWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (started_) return;
    started_ = true;
    if (!settings_.silent) {
        adjustSize();
        if (QScreen* s = screen()) {
            const QRect area = s->geometry();
            move(area.width() - width(), area.height() - height() - 40);
        }
    }
    begin();
}

void ExtractionWindow::begin() {
    if (!settings_.advanced && settings_.splash && startSplash_) startSplash_();
    if (!settings_.extractionFolder.empty() && !files_.isDirectory(settings_.extractionFolder))
        files_.createDirectory(settings_.extractionFolder);
    auto choose = [this] {
        twoStage_ = files_.exists(settings_.multi1Cab);
        if (twoStage_) {
            firstStage_ = true;
            ticks_ = 0;
            startWorker(settings_.multi1Cab);
            if (settings_.silent) {
                poll_->start(10);
            } else {
                tick_->start(settings_.timings.tickMs);
            }
        } else {
            startStage(settings_.file1Cab, !settings_.silent);
        }
    };
    if (settings_.silent) {
        choose();
    } else {
        QTimer::singleShot(settings_.timings.startDelayMs, this, choose);
    }
}

void ExtractionWindow::startStage(const std::string& cabinet, bool paced) {
    firstStage_ = false;
    startWorker(cabinet);
    if (paced) {
        tick_->start(settings_.timings.tickMs);
    } else {
        poll_->start(10);
    }
}

void ExtractionWindow::startWorker(const std::string& cabinet) {
    if (thread_.joinable()) thread_.join();
    worker_.store(static_cast<int>(Worker::Busy));
    thread_ = std::thread([this, cabinet] {
        CabinetExtractor extractor(files_, *workerPrompter_, title_);
        ExtractionResult result =
            extractor.extract(cabinet, settings_.extractionFolder, settings_.setupFolder, &stop_);
        workerMessage_ = result.message;
        unpacked_.insert(unpacked_.end(), std::make_move_iterator(result.written.begin()),
                         std::make_move_iterator(result.written.end()));
        Worker outcome = Worker::Failed;
        switch (result.outcome) {
            case ExtractionResult::Outcome::Done:
                outcome = Worker::Succeeded;
                break;
            case ExtractionResult::Outcome::Cancelled:
                outcome = Worker::Cancelled;
                break;
            case ExtractionResult::Outcome::Stopped:
                outcome = Worker::Stopped;
                break;
            case ExtractionResult::Outcome::Failed:
                outcome = Worker::Failed;
                break;
        }
        worker_.store(static_cast<int>(outcome));
    });
}

void ExtractionWindow::onTick() {
    if (handleFailure()) return;
    if (firstStage_) {
        ++ticks_;
        if (ticks_ >= settings_.timings.stageTicks &&
            worker_.load() == static_cast<int>(Worker::Succeeded)) {
            tick_->stop();
            afterFirstStage();
        }
        return;
    }
    bar_->setValue(std::min(kBarMaximum, bar_->value() + kBarStep));
    if (bar_->value() >= kBarMaximum) {
        tick_->stop();
        poll_->start(settings_.timings.pollMs);
    }
}

void ExtractionWindow::onPoll() {
    if (stop_.load()) {
        // Cancelled while the worker ran: whatever it managed, setup ends.
        if (worker_.load() == static_cast<int>(Worker::Busy)) return;
        poll_->stop();
        if (thread_.joinable()) thread_.join();
        QDialog::reject();
        return;
    }
    if (handleFailure()) return;
    const auto state = static_cast<Worker>(worker_.load());
    if (state == Worker::Busy) return;
    poll_->stop();
    if (firstStage_) {
        afterFirstStage();
    } else if (!settings_.advanced) {
        finishAccepted();
    }
}

void ExtractionWindow::afterFirstStage() {
    if (thread_.joinable()) thread_.join();
    const std::string inner = settings_.extractionFolder + "F0_ice1.cab";
    if (settings_.silent) {
        startStage(inner, false);
    } else {
        QTimer::singleShot(settings_.timings.startDelayMs, this,
                           [this, inner] { startStage(inner, true); });
    }
}

bool ExtractionWindow::handleFailure() {
    const auto state = static_cast<Worker>(worker_.load());
    if (state != Worker::Failed && state != Worker::Cancelled) return false;
    tick_->stop();
    poll_->stop();
    if (thread_.joinable()) thread_.join();
    worker_.store(static_cast<int>(Worker::Idle));
    if (state == Worker::Cancelled) {
        // No disk: the user chose to stop setup there and then; nothing was installed. A silent
        // run reports it.
        exitStatus_ = settings_.silent ? kExitExtractionFailed : kEndedByUser;
        QDialog::reject();
        return true;
    }
    failed_ = true;
    exitStatus_ = kExitExtractionFailed;
    status_->setText(QString::fromStdString(workerMessage_));
    prompter_.message(workerMessage_, title_);
    // Only Cancel is left; it ends setup with the failure's status.
    if (settings_.silent) QDialog::reject();
    return true;
}

void ExtractionWindow::finishAccepted() {
    splashState_.store(kSplashClose);
    accept();
}

void ExtractionWindow::reject() {
    if (failed_) {
        exitStatus_ = kExitExtractionFailed;
        QDialog::reject();
        return;
    }
    exitStatus_ = kExitCancelled;
    tick_->stop();
    if (worker_.load() == static_cast<int>(Worker::Busy)) {
        // The worker stops at its next write; the window closes when it has.
        stop_.store(true);
        cancel_->setEnabled(false);
        poll_->start(10);
        return;
    }
    poll_->stop();
    QDialog::reject();
}

}  // namespace setup
