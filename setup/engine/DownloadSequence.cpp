#include "setup/engine/DownloadSequence.h"

#include "setup/config/Prompter.h"
#include "setup/engine/ProgressView.h"
#include "setup/engine/Scheduler.h"

namespace setup {
namespace {

constexpr int kCompletionPollMs = 3000;
constexpr int kPauseBetweenMs = 2000;

}  // namespace

DownloadSequence::DownloadSequence(ProgressView& view, Prompter& prompter, Scheduler& scheduler,
                                   Transfer& transfer, DownloadSequenceOptions options)
    : view_(view),
      prompter_(prompter),
      scheduler_(scheduler),
      transfer_(transfer),
      options_(std::move(options)) {}

DownloadSequence::~DownloadSequence() {
    *alive_ = false;
}

std::function<void()> DownloadSequence::guarded(std::function<void()> task) {
    return [alive = std::weak_ptr<bool>(alive_), task = std::move(task)] {
        auto token = alive.lock();
        if (token && *token) task();
    };
}

void DownloadSequence::start(DownloadQueue queue, int mainBarEnd, std::function<void()> finished) {
    queue_ = std::move(queue);
    current_ = 0;
    mainBarEnd_ = mainBarEnd;
    finished_ = std::move(finished);
    running_ = true;
    if (queue_.empty()) {
        finish();
        return;
    }
    startCurrent();
}

void DownloadSequence::startCurrent() {
    const Download& entry = queue_[current_];
    view_.setDownloadPercent(0);
    view_.showDownload(true);
    view_.setDownloadLines("Contacting the server...", "");
    view_.setStatus("Downloading files from Internet...");
    view_.setCurrentFile(entry.url);
    completed_ = false;
    armCompletionTimer();

    TransferNotices notices;
    // The transfer posts these to this thread; the guard keeps a late one from reaching a
    // sequence that is gone.
    notices.progress = [this, alive = std::weak_ptr<bool>(alive_)](const std::string& text) {
        if (auto token = alive.lock(); token && *token) onProgress(text);
    };
    notices.done = guarded([this] { completed_ = true; });
    notices.failed = [this, alive = std::weak_ptr<bool>(alive_)](const TransferFailure& failure) {
        if (auto token = alive.lock(); token && *token) onFailed(failure);
    };
    transfer_.start(entry.url, entry.folder.empty() ? options_.installFolder : entry.folder,
                    std::move(notices));
}

void DownloadSequence::onProgress(const std::string& text) {
    // "percent,time-left,rate"
    const auto first = text.find(',');
    if (first == std::string::npos) return;
    const auto second = text.find(',', first + 1);
    int percent = 0;
    for (std::size_t i = 0; i < first && text[i] >= '0' && text[i] <= '9'; ++i)
        percent = percent * 10 + (text[i] - '0');
    view_.setDownloadPercent(percent);
    const std::string timeLeft = text.substr(
        first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    const std::string rate = second == std::string::npos ? "" : text.substr(second + 1);
    view_.setDownloadLines("Estimated time left: " + timeLeft, "Transfer Rate: " + rate);
}

void DownloadSequence::onFailed(const TransferFailure& failure) {
    ++timerGeneration_;  // stops the completion timer while the question is open
    completed_ = false;
    const std::string& url = queue_[current_].url;
    const char* title = "Instavo Error";
    if (!failure.worthRetrying) {
        // Nothing can be fetched in this run: said once, and the rest go without asking.
        if (failure.why != hopeless_)
            prompter_.message("Can't download file.\n" + url + "\n" + failure.why, title);
        hopeless_ = failure.why;
    } else if (!options_.silent &&
               prompter_.yesNo("Can't download file.\nTry again ?", title) == Answer::Yes) {
        startCurrent();
        return;
    } else if (options_.silent) {
        // No one to ask: the file is left out, and standard error says which and why.
        prompter_.message(
            "Can't download file.\n" + url + (failure.why.empty() ? "" : "\n" + failure.why),
            title);
    }
    completed_ = true;
    armCompletionTimer();
}

void DownloadSequence::armCompletionTimer() {
    const unsigned generation = ++timerGeneration_;
    scheduler_.after(kCompletionPollMs,
                     guarded([this, generation] { onCompletionTimer(generation); }));
}

void DownloadSequence::onCompletionTimer(unsigned generation) {
    if (generation != timerGeneration_) return;  // stopped or restarted since
    if (!completed_) {
        armCompletionTimer();
        return;
    }
    completed_ = false;
    view_.setValue(view_.value() + 1);
    view_.setDownloadLines("", "");
    ++current_;
    ++timerGeneration_;
    if (current_ < queue_.size()) {
        scheduler_.after(kPauseBetweenMs, guarded([this] { startCurrent(); }));
        return;
    }
    finish();
}

void DownloadSequence::finish() {
    view_.setValue(mainBarEnd_);
    running_ = false;
    if (auto finished = std::move(finished_)) finished();
}

}  // namespace setup
