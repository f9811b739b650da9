#pragma once
// The Internet downloads at the end of an installation run: the queued files fetched one after
// the other with the second progress bar, the estimated time left and the rate, a question
// when one fails (try again, or go without it), then the finishing steps.
//
// Everything here runs on the user-interface thread: the transfer's notices arrive there, a
// repeating 3000 ms timer notices completion, and a 2000 ms pause separates two downloads.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "setup/engine/DownloadQueue.h"
#include "setup/engine/Transfer.h"

namespace setup {

class ProgressView;
class Prompter;
class Scheduler;

struct DownloadSequenceOptions {
    // Where a download with an empty target folder goes.
    std::string installFolder;
    // No one to ask: a failed download is left out, as if the user had answered No, and a
    // message names it and says why.
    bool silent = false;
};

class DownloadSequence {
public:
    DownloadSequence(ProgressView& view, Prompter& prompter, Scheduler& scheduler,
                     Transfer& transfer, DownloadSequenceOptions options);
    ~DownloadSequence();
    DownloadSequence(const DownloadSequence&) = delete;
    DownloadSequence& operator=(const DownloadSequence&) = delete;

    // Downloads queue[0], queue[1], ... and then sets the main bar to mainBarEnd (the total
    // file count plus the Internet sources, less one) and calls finished, once. Each finished
    // download, fetched or left out, advances the main bar by one. An empty queue finishes at
    // once.
    void start(DownloadQueue queue, int mainBarEnd, std::function<void()> finished);
    bool running() const { return running_; }

private:
    void startCurrent();
    void onProgress(const std::string& text);
    void onFailed(const TransferFailure& failure);
    void armCompletionTimer();
    void onCompletionTimer(unsigned generation);
    void finish();
    // Wraps a task so that it does nothing once this sequence is gone.
    std::function<void()> guarded(std::function<void()> task);

    ProgressView& view_;
    Prompter& prompter_;
    Scheduler& scheduler_;
    Transfer& transfer_;
    DownloadSequenceOptions options_;
    DownloadQueue queue_;
    std::size_t current_ = 0;
    int mainBarEnd_ = 0;
    std::function<void()> finished_;
    bool running_ = false;
    bool completed_ = false;
    // Why no download can succeed in this run, once that has been said.
    std::string hopeless_;
    unsigned timerGeneration_ = 0;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace setup
