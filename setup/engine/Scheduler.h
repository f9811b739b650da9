#pragma once
// Timers and hand-offs between threads without Qt: the engine asks for work to be run later
// or on the user-interface thread, and the program decides how (QTimer in the windows, a
// virtual clock in tests, no waiting at all for the pacing timers of a silent run).

#include <functional>

namespace setup {

class Scheduler {
public:
    virtual ~Scheduler() = default;
    // Runs task on the user-interface thread once ms milliseconds have passed.
    virtual void after(int ms, std::function<void()> task) = 0;
    // Runs task on the user-interface thread soon; callable from any thread.
    virtual void post(std::function<void()> task) = 0;
};

}  // namespace setup
