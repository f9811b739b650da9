#include "setup/engine/LoopScheduler.h"

namespace setup {
namespace {

// How long the loop waits for a notice before it lets the next timer fire.
constexpr auto kIdle = std::chrono::milliseconds(20);

}  // namespace

void LoopScheduler::after(int ms, std::function<void()> task) {
    std::lock_guard lock(mutex_);
    timers_.emplace(now_ + ms, std::move(task));
}

void LoopScheduler::post(std::function<void()> task) {
    std::lock_guard lock(mutex_);
    posted_.push_back(std::move(task));
    wake_.notify_all();
}

long long LoopScheduler::now() {
    std::lock_guard lock(mutex_);
    return now_;
}

bool LoopScheduler::runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            wake_.wait_for(lock, kIdle, [&] { return !posted_.empty(); });
            if (!posted_.empty()) {
                task = std::move(posted_.front());
                posted_.pop_front();
            } else if (!timers_.empty()) {
                const auto next = timers_.begin();
                now_ = next->first;
                task = std::move(next->second);
                timers_.erase(next);
            }
        }
        if (task) task();
    }
    return true;
}

}  // namespace setup
