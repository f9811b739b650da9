// The real WindowManager: one window per id, reopen, refusals without a job, quit.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "fee/app/DocumentFrame.h"
#include "fee/app/WindowManager.h"
#include "platform/Locale.h"
#include "platform/Registry.h"
#include "platform/Settings.h"
#include "support/QtWaiting.h"
#include "support/TempWinRoot.h"

namespace {

using testing_support::eventually;
using testing_support::gone;
using testing_support::refusals;

using fee::app::EntryMode;
using fee::app::WindowId;
using testing_support::cp1253;

int visibleNamed(const char* name) {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == QLatin1String(name)) ++n;
    return n;
}

class Manager : public ::testing::Test {
protected:
    Manager()
        : store(root.fs(), platform::decimalSeparator()),
          registry(platform::makeFileRegistry(root.root())),
          settings(platform::makeRegistrySettings(*registry)) {
        store.ensureDataFolder();
        manager = std::make_unique<fee::app::WindowManager>(store, *settings, fee::app::Timings{1},
                                                            [this] { ++quits; });
    }
    ~Manager() override {
        manager.reset();
        for (QMessageBox* box : refusals()) delete box;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // A job as job creation leaves it, then temp.dat pointing at it.
    void makeJob() {
        fee::Particulars p;
        p[fee::Particulars::OwnerFirst] = "Α";
        p[fee::Particulars::OwnerLast] = "Β";
        p[fee::Particulars::Specialty] = "Αγρονόμος Τοπογράφος Μηχανικός";
        ASSERT_EQ(store.createJob(p), fee::StoreStatus::Ok);
        store.finish("c:\\program files\\dezovur\\ΑΒ");
    }

    testing_support::TempWinRoot root;
    fee::DataStore store;
    std::unique_ptr<platform::Registry> registry;
    std::unique_ptr<platform::SettingsStore> settings;
    int quits = 0;
    std::unique_ptr<fee::app::WindowManager> manager;
};

TEST_F(Manager, splash_hands_over_to_one_main_menu) {
    manager->open(WindowId::Splash);
    QPointer<QWidget> splash = manager->window(WindowId::Splash);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->objectName(), "frmSplash");
    ASSERT_TRUE(eventually([&] { return gone(splash); }));
    ASSERT_NE(manager->window(WindowId::MainMenu), nullptr);
    EXPECT_TRUE(manager->window(WindowId::MainMenu)->isVisible());
    EXPECT_EQ(visibleNamed("Form9"), 1);
}

TEST_F(Manager, one_window_per_id_and_reopen_makes_a_new_one) {
    manager->open(WindowId::Help);
    QPointer<QWidget> first = manager->window(WindowId::Help);
    ASSERT_NE(first, nullptr);
    manager->open(WindowId::Help);
    EXPECT_EQ(manager->window(WindowId::Help), first.data());
    EXPECT_EQ(visibleNamed("help"), 1);

    manager->reopen(WindowId::Help);
    QWidget* second = manager->window(WindowId::Help);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first.data());
    EXPECT_TRUE(gone(first));
    EXPECT_EQ(visibleNamed("help"), 1);

    manager->close(WindowId::Help);
    EXPECT_EQ(manager->window(WindowId::Help), nullptr);
    EXPECT_EQ(visibleNamed("help"), 0);
    // A window closed by its own button is forgotten too.
    manager->open(WindowId::Help);
    QPointer<QWidget> third = manager->window(WindowId::Help);
    third->findChild<QPushButton*>("OKButton")->click();
    EXPECT_TRUE(gone(third));
    manager->open(WindowId::Help);
    EXPECT_NE(manager->window(WindowId::Help), nullptr);
}

TEST_F(Manager, job_windows_are_refused_while_temp_dat_names_a_deleted_job) {
    makeJob();
    ASSERT_EQ(store.deleteJob("c:\\program files\\dezovur\\ΑΒ"), fee::StoreStatus::Ok);
    manager->open(WindowId::MainMenu);
    for (WindowId id : {WindowId::WorkMenu, WindowId::EditMenu, WindowId::Overview,
                        WindowId::DeleteConfirm, WindowId::LambdaWorkMenu, WindowId::LambdaEditMenu,
                        WindowId::LambdaOverview, WindowId::TrigWarning, WindowId::Document}) {
        manager->open(id);
        EXPECT_EQ(manager->window(id), nullptr) << static_cast<int>(id);
    }
    manager->openEntry(fee::CategoryId::Taxi, EntryMode::New);
    EXPECT_EQ(manager->entryWindow(fee::CategoryId::Taxi, EntryMode::New), nullptr);
    EXPECT_EQ(manager->documentFrame(), nullptr);

    const QList<QMessageBox*> boxes = refusals();
    ASSERT_EQ(boxes.size(), 10);
    EXPECT_TRUE(boxes[0]->text().contains(QStringLiteral("«Νέα Μελέτη»")));
    EXPECT_TRUE(boxes[0]->text().contains(QStringLiteral("«Διαχείριση Μελετών»")));
    // Nothing was written into a folder that no longer exists.
    EXPECT_FALSE(std::filesystem::exists(root.driveC() / "program files/dezovur/ΑΒ"));
    // The windows that need no job still open.
    manager->open(WindowId::OpenJob);
    EXPECT_NE(manager->window(WindowId::OpenJob), nullptr);
}

TEST_F(Manager, a_refusal_outlives_the_dialog_whose_button_asked_for_the_window) {
    // A listed job whose folder is gone: the open-job dialog closes itself after "OK", and the
    // message about the missing job must still be on screen.
    root.writeHostFile("program files/dezovur/Ergasies.dat", cp1253("Α\r\nΒ\r\n"));
    manager->open(WindowId::MainMenu);
    manager->open(WindowId::OpenJob);
    QPointer<QWidget> dialog = manager->window(WindowId::OpenJob);
    ASSERT_NE(dialog, nullptr);
    QApplication::setActiveWindow(dialog);
    ASSERT_EQ(QApplication::activeWindow(), dialog.data());
    auto* list = dialog->findChild<QComboBox*>("EPILOGI");
    ASSERT_NE(list, nullptr);
    list->setCurrentIndex(0);
    Q_EMIT list->activated(0);
    dialog->findChild<QPushButton*>("OKButton")->click();

    EXPECT_TRUE(gone(dialog));
    EXPECT_EQ(manager->window(WindowId::Overview), nullptr);
    const QList<QMessageBox*> boxes = refusals();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0]->isVisible());
    EXPECT_TRUE(boxes[0]->text().contains(QStringLiteral("«Διαχείριση Μελετών»")));
}

TEST_F(Manager, job_windows_open_on_an_existing_job) {
    makeJob();
    manager->open(WindowId::Overview);
    ASSERT_NE(manager->window(WindowId::Overview), nullptr);
    EXPECT_EQ(manager->window(WindowId::Overview)->objectName(), "Form13");
    manager->openEntry(fee::CategoryId::Taxi, EntryMode::Edit);
    QWidget* entry = manager->entryWindow(fee::CategoryId::Taxi, EntryMode::Edit);
    ASSERT_NE(entry, nullptr);
    manager->openEntry(fee::CategoryId::Taxi, EntryMode::Edit);
    EXPECT_EQ(manager->entryWindow(fee::CategoryId::Taxi, EntryMode::Edit), entry);
    EXPECT_TRUE(refusals().isEmpty());
}

TEST_F(Manager, quit_closes_every_window_without_asking_or_saving) {
    makeJob();
    root.writeHostFile("program files/dezovur/ΑΒ/arxi1.dat", cp1253("Κεφαλίδα\r\n"));
    for (const char* name :
         {"trig1.dat", "polygon1.dat", "taxi1.dat", "asti1.dat", "rymotom1.dat", "analog1.dat",
          "oix1.dat", "them1.dat", "xilosta1.dat", "synola.dat", "telos.dat"})
        root.writeHostFile(std::string("program files/dezovur/ΑΒ/") + name, "");
    manager->open(WindowId::MainMenu);
    manager->open(WindowId::Help);
    manager->open(WindowId::Particulars);
    manager->open(WindowId::Overview);
    manager->open(WindowId::Document);
    ASSERT_NE(manager->documentFrame(), nullptr);
    QPointer<QWidget> frame = manager->documentFrame();
    frame->move(frame->pos() + QPoint(50, 50));  // would be saved by an ordinary close

    manager->quit();
    EXPECT_EQ(quits, 1);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_TRUE(gone(frame));
    EXPECT_EQ(settings->get(fee::app::kSettingsApp.toStdString(), "Settings", "MainLeft", "none"),
              "none");
    EXPECT_TRUE(refusals().isEmpty());
}

}  // namespace
