#pragma once
// A Scheduler without windows, for a silent run (and the tests): the thread that calls
// runUntil() is the user-interface thread. Posted tasks run as they arrive; timers never make
// anyone wait: when nothing has been posted for a moment, the clock jumps to the next timer.
// The pacing timers of the download sequence then cost no time, while the worker's notices
// still arrive in order.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

#include "setup/engine/Scheduler.h"

namespace setup {

class LoopScheduler final : public Scheduler {
public:
    void after(int ms, std::function<void()> task) override;
    void post(std::function<void()> task) override;

    // Runs tasks until done() holds; false when it still does not after limit of real time.
    bool runUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds limit = std::chrono::hours(24));
    // Milliseconds of the loop's own clock, which only timers move.
    long long now();

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> posted_;
    std::multimap<long long, std::function<void()>> timers_;
    long long now_ = 0;
};

}  // namespace setup
