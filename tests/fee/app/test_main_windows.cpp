// The splash (frmSplash), the main menu (Form9) and the help window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "fee/app/HelpWindow.h"
#include "fee/app/MainMenuWindow.h"
#include "fee/app/SplashWindow.h"
#include "support/AppFixture.h"
#include "support/QtWaiting.h"

namespace {

using testing_support::eventually;
using testing_support::gone;

using fee::app::WindowId;
using Call = testing_support::FakeNavigator::Call;
namespace fs = std::filesystem;

int opens(const testing_support::FakeNavigator& nav, WindowId id) {
    return static_cast<int>(std::count(nav.calls.begin(), nav.calls.end(),
                                       testing_support::FakeNavigator::Record{Call::Open, id}));
}

class Splash : public ::testing::Test, public testing_support::AppFixture {
protected:
    void show(int ms) {
        context.timings.splashMs = ms;
        splash = new fee::app::SplashWindow(context);
        splash->show();
    }
    void TearDown() override { delete splash.data(); }
    QPointer<QWidget> splash;
};

TEST_F(Splash, timer_opens_main_menu_once_and_closes) {
    show(1);
    ASSERT_TRUE(eventually([&] { return gone(splash); }));
    EXPECT_EQ(opens(nav, WindowId::MainMenu), 1);
    EXPECT_EQ(nav.calls.size(), 1u);
}

TEST_F(Splash, key_press_wins_over_the_timer) {
    show(10);
    auto* timer = splash->findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    // A bare modifier types nothing and does not count.
    QTest::keyClick(splash, Qt::Key_Shift);
    EXPECT_TRUE(nav.calls.empty());

    QTest::keyClick(splash, Qt::Key_A);
    EXPECT_EQ(opens(nav, WindowId::MainMenu), 1);
    EXPECT_FALSE(timer->isActive());
    EXPECT_TRUE(eventually([&] { return gone(splash); }));
    QTest::qWait(40);  // four times the timer's length
    EXPECT_EQ(nav.calls.size(), 1u);
}

TEST_F(Splash, click_on_frame_or_its_labels_opens_main_menu) {
    show(60000);
    auto* frame = splash->findChild<QFrame*>("Frame1");
    ASSERT_NE(frame, nullptr);
    QTest::mouseClick(frame, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(opens(nav, WindowId::MainMenu), 1);
    EXPECT_TRUE(eventually([&] { return gone(splash); }));

    show(60000);
    QTest::mouseClick(splash->findChild<QLabel*>("lblVersion"), Qt::LeftButton);
    EXPECT_EQ(opens(nav, WindowId::MainMenu), 2);
}

TEST_F(Splash, shows_version_and_fixed_texts) {
    show(60000);
    auto text = [&](const char* name) {
        auto* label = splash->findChild<QLabel*>(name);
        return label ? label->text() : QStringLiteral("<missing>");
    };
    EXPECT_EQ(text("lblVersion"), QStringLiteral("Version 1.3.0"));
    EXPECT_EQ(text("Label1"), QStringLiteral("Orvekia"));
    EXPECT_EQ(text("lblCompanyProduct"), QStringLiteral("Aμοιβές Τοπογραφικών Εργασιών"));
    EXPECT_EQ(text("lblPlatform"), QStringLiteral("for Windows"));
    EXPECT_EQ(text("lblWarning"),
              QStringLiteral("Προσοχή:  Οι αμοιβές δεν ισχύουν για έκδοση Οικοδομικής Αδείας"));
    EXPECT_FALSE(splash->findChild<QLabel*>("imgLogo")->pixmap().isNull());
    // Everything sits inside Frame1, where a click counts.
    auto* frame = splash->findChild<QFrame*>("Frame1");
    for (const char* name :
         {"imgLogo", "Label1", "lblCompanyProduct", "lblPlatform", "lblVersion", "lblWarning"})
        EXPECT_TRUE(frame->isAncestorOf(splash->findChild<QWidget*>(name))) << name;
}

class MainMenu : public ::testing::Test, public testing_support::AppFixture {
protected:
    void SetUp() override {
        menu = new fee::app::MainMenuWindow(context);
        menu->show();
    }
    void TearDown() override { delete menu.data(); }
    void click(const char* name) {
        auto* button = menu->findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }
    fs::path jobFolder() const { return root.driveC() / "program files/dezovur/ΑΒ"; }
    void createJob() {
        fee::Particulars p;
        p[fee::Particulars::OwnerFirst] = "Α";
        p[fee::Particulars::OwnerLast] = "Β";
        p[fee::Particulars::EngineerFirst] = "Νίκος";
        p[fee::Particulars::EngineerLast] = "Παππάς";
        p[fee::Particulars::Specialty] = "Πολιτικός Μηχανικός";
        ASSERT_EQ(store.createJob(p), fee::StoreStatus::Ok);
        store.finish(*store.currentJobFolder());
    }
    QPointer<QWidget> menu;
};

TEST_F(MainMenu, buttons_ask_the_navigator) {
    EXPECT_EQ(menu->windowTitle(), QStringLiteral("Αμοιβές Τοπογραφικών "));
    click("new");
    click("anaglosh");
    click("print");
    click("Command2");
    click("Command1");
    using R = testing_support::FakeNavigator::Record;
    const std::vector<R> expected{{Call::Open, WindowId::Particulars},
                                  {Call::Open, WindowId::OpenJob},
                                  {Call::Open, WindowId::Document},
                                  {Call::Open, WindowId::Help},
                                  {Call::Quit}};
    EXPECT_EQ(nav.calls, expected);
}

TEST_F(MainMenu, compute_writes_the_statement_of_the_current_job) {
    createJob();
    click("Command8");
    for (const char* fragment :
         {"arxi1.dat", "trig1.dat", "polygon1.dat", "taxi1.dat", "asti1.dat", "rymotom1.dat",
          "analog1.dat", "oix1.dat", "them1.dat", "xilosta1.dat", "synola.dat", "telos.dat"})
        EXPECT_TRUE(fs::exists(jobFolder() / fragment)) << fragment;
    EXPECT_EQ(menu->findChild<QMessageBox*>("refusal"), nullptr);
    EXPECT_EQ(menu->findChild<QLabel*>("lblStatus")->text(),
              QStringLiteral("Ο υπολογισμός ολοκληρώθηκε"));
    EXPECT_TRUE(menu->isVisible());  // the menu stays for the rest of the run
}

TEST_F(MainMenu, compute_after_the_job_was_deleted_is_refused_and_writes_nothing) {
    createJob();
    ASSERT_EQ(store.deleteJob("c:\\program files\\dezovur\\ΑΒ"), fee::StoreStatus::Ok);
    const auto before = std::distance(fs::recursive_directory_iterator(root.driveC()), {});
    click("Command8");
    auto* box = menu->findChild<QMessageBox*>("refusal");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains(QStringLiteral("Νέα Μελέτη")));
    EXPECT_TRUE(box->text().contains(QStringLiteral("Διαχείριση Μελετών")));
    EXPECT_FALSE(fs::exists(jobFolder()));
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(root.driveC()), {}), before);
    EXPECT_TRUE(menu->findChild<QLabel*>("lblStatus")->text().isEmpty());
}

TEST_F(MainMenu, print_after_an_edit_offers_to_compute_and_a_failed_statement_is_not_shown) {
    createJob();
    click("Command8");
    auto* status = menu->findChild<QLabel*>("lblStatus");
    root.writeHostFile("program files/dezovur/ΑΒ/oix.dat", " 800 \r\n");
    QEvent activated(QEvent::ActivationChange);
    QApplication::setActiveWindow(menu);
    QCoreApplication::sendEvent(menu, &activated);
    EXPECT_TRUE(status->text().isEmpty());

    const auto answer = [&](const QString& button) {
        click("print");
        auto* box = menu->findChild<QMessageBox*>("staleQuestion");
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* b : box->buttons())
            if (b->text() == button) b->click();
    };
    answer(QStringLiteral("Όχι"));
    EXPECT_TRUE(nav.opened(WindowId::Document));
    EXPECT_EQ(root.readHostFile("program files/dezovur/ΑΒ/oix1.dat"), "");  // the old one
    nav.calls.clear();
    testing_support::eventually([&] { return !menu->findChild<QMessageBox*>("staleQuestion"); });
    answer(QStringLiteral("Ναι"));
    EXPECT_TRUE(nav.opened(WindowId::Document));
    EXPECT_NE(root.readHostFile("program files/dezovur/ΑΒ/oix1.dat"), "");

    // A statement whose fragments could not all be written is never shown as if whole.
    nav.calls.clear();
    ASSERT_TRUE(root.fs().setAttributes("c:\\program files\\dezovur\\ΑΒ\\telos.dat",
                                        platform::kAttrReadOnly));
    click("Command8");
    auto* refusal = menu->findChild<QMessageBox*>("refusal");
    ASSERT_NE(refusal, nullptr);
    EXPECT_TRUE(refusal->text().contains(QStringLiteral("telos.dat")));
    EXPECT_TRUE(refusal->text().contains(QStringLiteral("δεν είναι πλήρης")));
    delete refusal;
    click("print");
    EXPECT_NE(menu->findChild<QMessageBox*>("refusal"), nullptr);
    EXPECT_FALSE(nav.opened(WindowId::Document));
}

TEST(Help, shows_the_text_and_ok_closes) {
    testing_support::AppFixture f;
    QPointer<QWidget> help = new fee::app::HelpWindow(f.context);
    help->show();
    EXPECT_EQ(help->windowTitle(), QStringLiteral("Βοήθεια......"));
    auto* text = help->findChild<QPlainTextEdit*>("Text1");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("696")));
    EXPECT_TRUE(text->toPlainText().contains(
        QStringLiteral("\tΤηλ.: 210 0000000\n\te-mail: info@orvekia.gr")));
    help->findChild<QPushButton*>("OKButton")->click();
    EXPECT_TRUE(gone(help));
    EXPECT_TRUE(f.nav.calls.empty());
}

}  // namespace

// A statement computed in an earlier session is stale when an input was written after it.
TEST_F(MainMenu, print_after_a_restart_tells_a_statement_older_than_the_job) {
    createJob();
    click("Command8");
    context.lastStatement.reset();  // as after a restart
    const std::string job = "c:\\program files\\dezovur\\ΑΒ\\";
    const auto computed = root.fs().modifiedTime(job + "telos.dat");
    ASSERT_TRUE(computed);
    root.fs().setModifiedTime(job + "l.dat", *computed);
    click("print");
    EXPECT_EQ(menu->findChild<QMessageBox*>("staleQuestion"), nullptr);
    EXPECT_TRUE(nav.opened(WindowId::Document));

    root.fs().setModifiedTime(job + "l.dat", *computed + 5);
    click("print");
    EXPECT_NE(menu->findChild<QMessageBox*>("staleQuestion"), nullptr);
}

TEST_F(MainMenu, escape_on_the_stale_question_shows_and_computes_nothing) {
    createJob();
    click("Command8");
    root.writeHostFile("program files/dezovur/ΑΒ/oix.dat", " 800 \r\n");
    nav.calls.clear();
    click("print");
    auto* box = menu->findChild<QMessageBox*>("staleQuestion");
    ASSERT_NE(box, nullptr);
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_TRUE(nav.calls.empty());
    EXPECT_EQ(root.readHostFile("program files/dezovur/ΑΒ/oix1.dat"), "");
}

TEST(Help, escape_closes) {
    testing_support::AppFixture f;
    QPointer<QWidget> help = new fee::app::HelpWindow(f.context);
    help->show();
    QApplication::setActiveWindow(help);
    QTest::keyClick(help->focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(gone(help));
}
