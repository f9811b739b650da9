#include "setup/wizard/QtScheduler.h"

#include <QMetaObject>
#include <QTimer>

namespace setup {

QtScheduler::QtScheduler(QObject& context, double timeScale)
    : context_(&context), postTarget_(&context), timeScale_(timeScale) {}

void QtScheduler::after(int ms, std::function<void()> task) {
    if (!context_) return;
    QTimer::singleShot(static_cast<int>(ms * timeScale_), context_.data(), std::move(task));
}

void QtScheduler::post(std::function<void()> task) {
    // Called from the worker, which ends before the context does; a call still queued when
    // the context is deleted is discarded with it.
    QMetaObject::invokeMethod(postTarget_, std::move(task), Qt::QueuedConnection);
}

}  // namespace setup
