#pragma once
// The engine's timers and hand-offs on Qt's event loop: tasks run on the thread of a context
// object (the progress page), and are dropped when that object is gone. Threads that post must
// have ended before the context is deleted (the transfer joins its worker when destroyed).

#include <QObject>
#include <QPointer>

#include "setup/engine/Scheduler.h"

namespace setup {

class QtScheduler final : public Scheduler {
public:
    // Timer lengths are multiplied by timeScale (tests shorten them).
    explicit QtScheduler(QObject& context, double timeScale = 1.0);
    void after(int ms, std::function<void()> task) override;
    void post(std::function<void()> task) override;

private:
    QPointer<QObject> context_;
    QObject* postTarget_;
    double timeScale_;
};

}  // namespace setup
