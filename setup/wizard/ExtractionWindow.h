#pragma once
// The small window shown before the wizard while the package's cabinets are unpacked into the
// extraction folder on a worker thread. It closes as accepted once the bar is full and the
// worker has succeeded; otherwise it is rejected and exitStatus() says with which status setup
// ends. A splash window may run beside it, sharing only the splash state.

#include <QDialog>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/FileSystem.h"
#include "setup/config/Prompter.h"
#include "setup/engine/CabinetExtractor.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace setup {

inline constexpr int kSplashClose = 111;  // the splash window closes when it reads this

struct ExtractionTimings {
    int startDelayMs = 1000;  // before the first stage, and between the two stages
    int tickMs = 50;          // the bar's pace (and the first stage's tick count)
    int pollMs = 100;         // once the bar is full: is the worker done?
    int stageTicks = 50;      // ticks the first of two stages lasts at least
};

struct ExtractionSettings {
    // Paths (Windows): where the cabinets lie and where they are unpacked.
    std::string setupFolder;
    std::string file1Cab;
    std::string multi1Cab;
    std::string extractionFolder;  // ends with "\"; the second stage's cabinet lies here too
    // Texts: empty keeps the built-in English ones ([LANGUAGE] "50" and "3").
    std::string statusText;
    std::string cancelText;
    bool advanced = false;  // [MAINWINDOW] "ADVANCED" 1: stays open when done
    bool splash = false;    // [MAINWINDOW] "2" not empty
    bool silent = false;    // no visible window, no pacing
    ExtractionTimings timings;
};

class ExtractionWindow : public QDialog {
    Q_OBJECT
public:
    ExtractionWindow(platform::FileSystem& files, Prompter& prompter, ExtractionSettings settings,
                     std::atomic<int>& splashState, std::function<void()> startSplash = {},
                     QWidget* parent = nullptr);
    ~ExtractionWindow() override;

    // The status setup ends with when the window was not accepted.
    int exitStatus() const { return exitStatus_; }
    // Every file unpacked, once the window was accepted (a window that was not leaves none).
    std::vector<std::string> takeUnpacked() { return std::move(unpacked_); }

    static const char* builtInStatusText();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    enum class Worker : int { Idle, Busy, Succeeded, Failed, Cancelled, Stopped };

    void begin();
    void startStage(const std::string& cabinet, bool paced);
    void startWorker(const std::string& cabinet);
    void onTick();
    void onPoll();
    void afterFirstStage();
    bool handleFailure();
    void finishAccepted();

    platform::FileSystem& files_;
    Prompter& prompter_;
    ExtractionSettings settings_;
    std::atomic<int>& splashState_;
    std::function<void()> startSplash_;

    QLabel* status_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QTimer* tick_ = nullptr;
    QTimer* poll_ = nullptr;

    std::unique_ptr<Prompter> workerPrompter_;
    std::thread thread_;
    std::atomic<int> worker_{static_cast<int>(Worker::Idle)};
    std::atomic<bool> stop_{false};
    std::string workerMessage_;  // written by the worker before it sets worker_
    std::vector<std::string> unpacked_;  // likewise; read once the worker is joined
    std::string title_;                  // of the messages and the next-disk question
    bool started_ = false;
    bool twoStage_ = false;
    bool firstStage_ = false;
    int ticks_ = 0;
    bool failed_ = false;
    int exitStatus_ = 0;
};

}  // namespace setup
