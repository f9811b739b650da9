#pragma once
// Waiting on the event loop in widget tests, without sleeping for real timers.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QWidget>

namespace testing_support {

// Runs the event loop until pred holds; false after ms milliseconds.
template <class Pred>
bool eventually(Pred pred, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!pred()) {
        if (clock.elapsed() > ms) return false;
        QTest::qWait(2);
    }
    return true;
}

// True once a WA_DeleteOnClose window has closed and been deleted.
inline bool gone(const QPointer<QWidget>& w) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return w.isNull();
}

// Every refusal box on screen, whichever window it belongs to.
inline QList<QMessageBox*> refusals() {
    QList<QMessageBox*> boxes;
    for (QWidget* w : QApplication::allWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->objectName() == "refusal")
            boxes << box;
    return boxes;
}

// The control of a window by its object name; a test failure (not a crash) when it is missing.
template <class T = QWidget>
T* child(QWidget* window, const QString& name) {
    if (!window) {
        ADD_FAILURE() << "no window to look for " << name.toStdString();
        return nullptr;
    }
    T* w = window->findChild<T*>(name);
    if (!w) ADD_FAILURE() << window->objectName().toStdString() << " has no " << name.toStdString();
    return w;
}

}  // namespace testing_support
