#include <gtest/gtest.h>

#include <QThread>
#include <thread>

#include "setup/wizard/QtScheduler.h"
#include "support/QtWaiting.h"

TEST(QtScheduler, RunsPostedAndTimedTasksOnTheContextThreadInOrder) {
    QObject page;
    setup::QtScheduler scheduler(page, 0.01);
    std::vector<std::string> ran;
    QThread* ui = QThread::currentThread();
    bool onUi = true;
    scheduler.after(3000, [&] { ran.push_back("timer"); });
    std::thread worker([&] {
        for (const char* name : {"progress", "done"})
            scheduler.post([&, name] {
                onUi = onUi && QThread::currentThread() == ui;
                ran.push_back(name);
            });
    });
    worker.join();
    ASSERT_TRUE(testing_support::eventually([&] { return ran.size() == 3; }));
    EXPECT_EQ(ran, (std::vector<std::string>{"progress", "done", "timer"}));
    EXPECT_TRUE(onUi);
}

TEST(QtScheduler, DropsTasksOnceItsContextIsGone) {
    auto page = std::make_unique<QObject>();
    setup::QtScheduler scheduler(*page, 0.01);
    bool ran = false;
    scheduler.post([&] { ran = true; });
    scheduler.after(10, [&] { ran = true; });
    page.reset();
    testing_support::eventually([] { return false; }, 100);
    EXPECT_FALSE(ran);
}
