// The page sequence of the wizard window, driven through its buttons as a user would.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "WizardDriver.h"
#include "WizardFixture.h"
#include "setup/config/ExitStatus.h"
#include "setup/wizard/CWizard.h"
#include "support/QtWaiting.h"

using namespace setup;
using testing_support::Driver;
using testing_support::eventually;

namespace {

const char* kAllPages =
    "[APPINFO]\r\n1=Demo\r\n2=demo.exe\r\n[DIALOG]\r\n0=1\r\n1=1\r\n2=1\r\n"
    "3=1\r\n4=1\r\n5=1\r\n6=1\r\n7=1\r\n9=1\r\nCOMPLETE2=1\r\n";

// Presses a key in the next modal question once it is up.
void answerQuestion(const char* name, Qt::Key key) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, name, key] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible()) {
                timer->stop();
                timer->deleteLater();
                QTest::keyClick(w, key);
                return;
            }
    });
    timer->start(5);
}

}  // namespace

TEST(Wizard, every_switch_off_tells_no_dialogs_and_installs_nothing) {
    testing_support::WizardFixture f;
    f.dataTag("[DIALOG]\r\n0=0\r\n9=yes\r\n");
    Driver d(f.context());
    EXPECT_EQ(d.wizard.pageList(), std::vector<std::string>{"progress"});
    EXPECT_EQ(f.prompter.messages, std::vector<std::string>{"No dialogs configured!"});
    EXPECT_TRUE(d.wizard.ended());
    EXPECT_EQ(f.state.state(), InstallState::Idle);
}

TEST(Wizard, only_complete_starts_installing_at_once_then_finishes) {
    testing_support::WizardFixture f;
    f.dataTag("[DIALOG]\r\n9=1\r\nCOMPLETE2=1\r\nCOMPLETE6=1\r\n");
    Driver d(f.context());
    EXPECT_EQ(d.wizard.pageList(), (std::vector<std::string>{"progress", "complete"}));
    EXPECT_EQ(d.wizard.currentPage(), "progress");
    EXPECT_TRUE(d.button("next")->isHidden());
    EXPECT_TRUE(d.button("back")->isHidden());
    ASSERT_TRUE(eventually([&] { return d.wizard.currentPage() == "complete"; }));
    EXPECT_EQ(f.installs, 1);
    EXPECT_EQ(d.button("cancel")->text(), "Finish");
    d.click("cancel");
    EXPECT_EQ(d.wizard.exitStatus(), kExitDone);
    EXPECT_EQ(f.launcher.calls,
              std::vector<std::string>{"open c:\\Program Files\\Demo\\readme.txt"});
}

TEST(Wizard, walks_every_page_and_the_custom_detour) {
    testing_support::WizardFixture f;
    f.dataTag(std::string(kAllPages) + "[FILES]\r\nTOTAL=2\r\n");
    f.write(f.state.datafilePath,
            "c:\\b\\a.exe\r\n<Install Dir>*0,0,0\r\nc:\\b\\b.dll\r\n"
            "<Install Dir>*0,0,1\r\n");
    Driver d(f.context());
    const std::vector<std::string> expected{"welcome", "license",     "readme",
                                            "user",    "destination", "setuptype"};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(d.wizard.currentPage(), expected[i]);
        if (expected[i] == "license") {
            EXPECT_FALSE(d.button("next")->isEnabled());
            d.find<QRadioButton>("accept")->setChecked(true);
        }
        if (i + 1 < expected.size()) d.click("next");
    }
    auto* rows = d.find<QTreeWidget>("files");
    ASSERT_TRUE(eventually([&] { return rows->topLevelItemCount() == 2; }));

    // Custom, Next, untick one file, Back: the page shows Custom, the type in force.
    d.find<QRadioButton>("custom")->setChecked(true);
    d.click("next");
    EXPECT_EQ(d.wizard.currentPage(), "custom");
    rows->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    d.click("back");
    EXPECT_EQ(d.wizard.currentPage(), "setuptype");
    EXPECT_TRUE(d.find<QRadioButton>("custom")->isChecked());
    EXPECT_EQ(f.state.selection, SelectionMode::Custom);
    EXPECT_EQ(f.state.chosenFiles, std::vector<std::string>{"b.dll"});
    d.click("next");
    EXPECT_EQ(d.wizard.currentPage(), "custom");
    d.click("next");
    EXPECT_EQ(d.wizard.currentPage(), "folder");

    // Compact, Next, Back, Next: the compact set is still what gets installed.
    d.click("back");
    EXPECT_EQ(d.wizard.currentPage(), "setuptype");
    d.find<QRadioButton>("compact")->setChecked(true);
    d.click("next");
    d.click("back");
    EXPECT_TRUE(d.find<QRadioButton>("compact")->isChecked());
    EXPECT_EQ(f.state.selection, SelectionMode::TypeList);
    d.click("next");
    EXPECT_EQ(d.wizard.currentPage(), "folder");
    d.click("next");
    EXPECT_EQ(d.wizard.currentPage(), "start");
    d.click("next");
    EXPECT_TRUE(d.button("next")->isHidden());
    ASSERT_TRUE(eventually([&] { return d.wizard.currentPage() == "complete"; }));
}

TEST(Wizard, licence_reentry_follows_the_choice_on_screen) {
    testing_support::WizardFixture f;
    f.dataTag("[DIALOG]\r\n0=1\r\n1=1\r\n2=1\r\n");
    Driver d(f.context());
    d.click("next");
    auto* next = d.button("next");
    EXPECT_FALSE(next->isEnabled());
    d.find<QRadioButton>("accept")->setChecked(true);
    EXPECT_TRUE(next->isEnabled());
    d.click("next");
    d.click("back");
    d.click("back");
    EXPECT_TRUE(d.button("back")->isHidden());
    d.click("next");
    EXPECT_EQ(d.wizard.currentPage(), "license");
    EXPECT_TRUE(next->isEnabled());
    d.find<QRadioButton>("decline")->setChecked(true);
    EXPECT_FALSE(next->isEnabled());
}

TEST(Wizard, cancel_question_enter_keeps_going_escape_cancels) {
    testing_support::WizardFixture f;
    f.dataTag("[DIALOG]\r\n0=1\r\n7=1\r\n");
    Driver d(f.context());
    answerQuestion("cancelQuestion", Qt::Key_Return);
    d.click("cancel");
    EXPECT_FALSE(d.wizard.ended());
    EXPECT_EQ(d.wizard.currentPage(), "welcome");
    EXPECT_FALSE(f.state.cancelRequested);  // answered: nobody asks again

    answerQuestion("cancelQuestion", Qt::Key_Escape);
    QTest::keyClick(&d.wizard, Qt::Key_Escape);
    EXPECT_TRUE(d.wizard.ended());
    EXPECT_EQ(d.wizard.exitStatus(), kExitCancelled);
    EXPECT_EQ(f.installs, 0);
}

TEST(Wizard, installation_cancelled_by_the_user_ends_without_finish_actions) {
    testing_support::WizardFixture f;
    f.dataTag("[DIALOG]\r\n7=1\r\n9=1\r\nCOMPLETE2=1\r\nCOMPLETE6=1\r\n");
    f.cancelInstall = true;
    Driver d(f.context());
    d.click("next");
    ASSERT_TRUE(eventually([&] { return d.wizard.ended(); }));
    EXPECT_EQ(d.wizard.exitStatus(), kExitCancelled);
    EXPECT_TRUE(f.launcher.calls.empty());
}

TEST(Wizard, silent_run_installs_at_once_and_shows_nothing) {
    testing_support::WizardFixture f;
    f.dataTag("[DIALOG]\r\n0=1\r\n9=1\r\nCOMPLETE2=0\r\n");
    f.state.silent = true;
    CWizard wizard(f.context());
    EXPECT_EQ(wizard.run(), kExitDone);
    EXPECT_EQ(f.installs, 1);
    EXPECT_FALSE(wizard.isVisible());
}

TEST(Wizard, background_window_cancels_without_asking) {
    testing_support::WizardFixture f;
    f.dataTag("[DIALOG]\r\n0=1\r\n7=1\r\n");
    f.state.background = true;
    Driver d(f.context());
    EXPECT_TRUE(eventually([&] { return d.wizard.windowFlags() & Qt::WindowStaysOnTopHint; }));
    d.click("cancel");
    EXPECT_TRUE(d.wizard.ended());
    EXPECT_EQ(d.wizard.exitStatus(), kExitCancelled);
}

// Lifting the window to the front once it is shown must not end its modal loop.
TEST(Wizard, lifted_to_the_front_it_stays_open) {
    testing_support::WizardFixture f;
    f.dataTag("[DIALOG]\r\n0=1\r\n7=1\r\n");
    f.state.background = true;
    CWizard wizard(f.context());
    bool openAfterLift = false;
    QTimer::singleShot(200, &wizard, [&] {
        openAfterLift = wizard.isVisible() && (wizard.windowFlags() & Qt::WindowStaysOnTopHint);
        if (auto* cancel = wizard.findChild<QPushButton*>("cancel")) cancel->click();
    });
    EXPECT_EQ(wizard.run(), kExitCancelled);
    EXPECT_TRUE(openAfterLift);
}

TEST(Wizard, without_complete_page_finish_actions_run_in_order) {
    testing_support::WizardFixture f;
    f.dataTag(
        "[APPINFO]\r\n2=bin\\demo.exe\r\n[MAINWINDOW]\r\nADVANCED=1\r\n[SPLASH]\r\n6=1\r\n"
        "[DIALOG]\r\n7=1\r\nCOMPLETE2=1\r\nCOMPLETE5=1\r\nCOMPLETE6=1\r\n");
    Driver d(f.context());
    d.click("next");
    ASSERT_TRUE(eventually([&] { return d.wizard.ended(); }));
    EXPECT_EQ(d.wizard.exitStatus(), kExitDone);
    EXPECT_EQ(f.launcher.calls,
              (std::vector<std::string>{
                  "start \"c:\\windows\\temp\\InstavoMM.exe\" AFTER \"c:\\pkg\\data.tag\"",
                  "start \"c:\\Program Files\\Demo\\bin\\demo.exe\"",
                  "open c:\\Program Files\\Demo\\readme.txt"}));
}

TEST(Wizard, complete_page_offers_only_the_configured_boxes) {
    testing_support::WizardFixture f;
    f.dataTag("[DIALOG]\r\n9=1\r\nCOMPLETE1=0\r\nCOMPLETE2=1\r\nCOMPLETE3=1\r\nCOMPLETE4=0\r\n");
    Driver d(f.context());
    ASSERT_TRUE(eventually([&] { return d.wizard.currentPage() == "complete"; }));
    auto* readme = d.find<QCheckBox>("readmeBox");
    EXPECT_TRUE(readme->isVisible());
    EXPECT_TRUE(readme->isChecked());
    EXPECT_FALSE(d.find<QCheckBox>("runBox")->isVisible());
    readme->setChecked(false);
    d.click("cancel");
    EXPECT_TRUE(f.launcher.calls.empty());
}

TEST(Wizard, every_control_on_every_page_has_a_name_for_screen_readers) {
    testing_support::WizardFixture f;
    f.dataTag(kAllPages);
    Driver d(f.context());
    d.find<QRadioButton>("accept")->setChecked(true);
    int checked = 0;
    for (int page = 0; page < 10 && !d.wizard.ended(); ++page) {
        for (QWidget* w : d.wizard.findChildren<QWidget*>()) {
            if (!w->isVisible() || w->focusPolicy() == Qt::NoFocus) continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            ASSERT_NE(a, nullptr);
            ++checked;
            EXPECT_FALSE(a->text(QAccessible::Name).isEmpty())
                << d.wizard.currentPage() << ": " << w->metaObject()->className() << " "
                << w->objectName().toStdString();
        }
        if (d.wizard.currentPage() == "setuptype") d.find<QRadioButton>("custom")->setChecked(true);
        if (d.button("next")->isVisible()) d.click("next");
    }
    EXPECT_GT(checked, 30);
}
