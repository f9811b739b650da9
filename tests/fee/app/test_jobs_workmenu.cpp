// The work menu (Form1) and its twin the edit menu (ALLAGI1).
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "fee/app/WorkMenuWindow.h"
#include "test_jobs_support.h"

namespace {

using fee::CategoryId;
using fee::app::EntryMode;
using fee::app::WindowId;
using testing_support::FakeNavigator;

class WorkMenu : public ::testing::Test, public testing_support::AppFixture {
protected:
    void open(EntryMode mode = EntryMode::New) {
        delete window.data();
        window = new fee::app::WorkMenuWindow(context, mode);
        window->show();
    }
    void TearDown() override { delete window.data(); }

    template <class T = QLabel>
    T* child(const char* name) {
        T* w = window->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString text(const char* label) { return child(label)->text(); }
    void press(const char* button) { child<QPushButton>(button)->click(); }
    std::string file(const char* name) { return root.readHostFile(job + name); }

    std::string job;
    QPointer<QWidget> window;
};

TEST_F(WorkMenu, fresh_job_shows_lambda_no_scale_and_no_plan_option) {
    job = jobs_test::makeJob(*this);
    open();
    EXPECT_EQ(window->objectName(), "Form1");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Aμοιβές Τοπογραφικών Διαγραμμάτων"));
    EXPECT_EQ(text("l"), QStringLiteral("0,2935"));
    auto* scale = child<QComboBox>("Combo1");
    EXPECT_EQ(scale->currentText(), QString());
    ASSERT_EQ(scale->count(), 5);
    EXPECT_EQ(scale->itemText(0), "100");
    EXPECT_EQ(scale->itemText(4), "2000");
    EXPECT_FALSE(child<QRadioButton>("εκτος")->isChecked());
    EXPECT_FALSE(child<QRadioButton>("εντος")->isChecked());
    EXPECT_EQ(text("onoma"), QStringLiteral("Α"));
    EXPECT_EQ(text("dd"), QStringLiteral("Ρίου"));
    EXPECT_EQ(text("uesi"), QStringLiteral("Κάστρο"));
    EXPECT_EQ(text("epm"), QStringLiteral("Παππάς"));
    EXPECT_EQ(text("eidikot"), QStringLiteral("Πολιτικός Μηχανικός"));
    EXPECT_EQ(window->findChild<QLabel*>("iii"), nullptr) << "quantities belong to the edit menu";
    EXPECT_EQ(child<QPushButton>("Command9")->text(),
              QStringLiteral("Χαραξη οικοπέδων επί του  εδάφους"));
    EXPECT_EQ(child<QPushButton>("EXIT")->text(), QStringLiteral("Υποβολή"));
}

TEST_F(WorkMenu, outside_plan_is_marked_when_entos_is_not_1) {
    job = jobs_test::makeJob(*this, 1, " 0 \r\n");
    open();
    EXPECT_TRUE(child<QRadioButton>("εκτος")->isChecked());
    EXPECT_FALSE(child<QRadioButton>("εντος")->isChecked());
}

TEST_F(WorkMenu, picked_scale_is_stored_as_text_and_submit_completes_the_job) {
    job = jobs_test::makeJob(*this);
    open();
    auto* scale = child<QComboBox>("Combo1");
    QTest::keyClick(scale, Qt::Key_Down);  // 100
    QTest::keyClick(scale, Qt::Key_Down);  // 200
    QTest::keyClick(scale, Qt::Key_Down);  // 500
    EXPECT_EQ(file("klimaka.dat"), "500\r\n");

    // Typing is not picking: neither a new value nor Return writes anything.
    scale->lineEdit()->selectAll();
    QTest::keyClicks(scale->lineEdit(), "750");
    QTest::keyClick(scale->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(file("klimaka.dat"), "500\r\n");
    EXPECT_EQ(scale->count(), 5);
    scale->setCurrentIndex(2);  // back to 500, as shown when the user submits

    press("EXIT");
    EXPECT_EQ(file("klimaka.dat"), " 500 \r\n");
    EXPECT_EQ(file("taxi.dat"), " 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n");
    EXPECT_EQ(file("trig.dat"), " 0 \r\n 0 \r\n 0 \r\n 0 \r\n");
    EXPECT_EQ(file("rymotom.dat"), " 0 \r\n 0 \r\n");
    for (const char* name :
         {"analog.dat", "asti.dat", "polygon.dat", "them.dat", "xilosta.dat", "oix.dat"})
        EXPECT_EQ(file(name), " 0 \r\n") << name;
    EXPECT_TRUE(jobs_test::gone(window));
}

TEST_F(WorkMenu, typing_a_scale_alone_writes_nothing) {
    job = jobs_test::makeJob(*this);
    open();
    auto* scale = child<QComboBox>("Combo1");
    QTest::keyClicks(scale->lineEdit(), "750");
    QTest::keyClick(scale->lineEdit(), Qt::Key_Return);
    EXPECT_FALSE(jobs_test::exists(*this, job + "klimaka.dat"));
    press("EXIT");
    EXPECT_EQ(file("klimaka.dat"), " 200 \r\n");
}

TEST_F(WorkMenu, plan_options_rewrite_entos) {
    job = jobs_test::makeJob(*this);
    open();
    child<QRadioButton>("εκτος")->click();
    EXPECT_EQ(file("entos.dat"), " 0 \r\n");
    child<QRadioButton>("εντος")->click();
    EXPECT_EQ(file("entos.dat"), " 1 \r\n");
    EXPECT_FALSE(child<QRadioButton>("εκτος")->isChecked());
    // A screen reader toggles rather than clicks.
    child<QRadioButton>("εκτος")->toggle();
    EXPECT_EQ(file("entos.dat"), " 0 \r\n");
}

TEST_F(WorkMenu, a_reopened_menu_shows_the_stored_scale_and_plan) {
    for (EntryMode mode : {EntryMode::New, EntryMode::Edit}) {
        job = jobs_test::makeJob(*this);
        open(mode);
        for (int i = 0; i < 4; ++i) QTest::keyClick(child<QComboBox>("Combo1"), Qt::Key_Down);
        child<QRadioButton>("εντος")->toggle();
        const auto before = jobs_test::snapshot(*this);
        open(mode);
        EXPECT_EQ(child<QComboBox>("Combo1")->currentText(), QStringLiteral("1000"));
        EXPECT_TRUE(child<QRadioButton>("εντος")->isChecked());
        // Showing them wrote nothing.
        EXPECT_EQ(jobs_test::snapshot(*this), before);
    }
}

TEST_F(WorkMenu, triangulation_gate_by_specialty_code) {
    for (EntryMode mode : {EntryMode::New, EntryMode::Edit}) {
        for (int code = 0; code <= 6; ++code) {
            job = jobs_test::makeJob(*this, code);
            open(mode);
            nav.calls.clear();
            press("Command2");
            ASSERT_EQ(nav.calls.size(), 1u);
            const FakeNavigator::Record expected =
                code < 3 ? FakeNavigator::Record{FakeNavigator::Call::OpenEntry,
                                                 {},
                                                 CategoryId::Trig,
                                                 mode}
                         : FakeNavigator::Record{FakeNavigator::Call::Open, WindowId::TrigWarning};
            EXPECT_EQ(nav.calls.front(), expected) << "code " << code;
        }
    }
}

TEST_F(WorkMenu, each_work_button_opens_its_category_in_the_menus_mode) {
    job = jobs_test::makeJob(*this);
    const std::pair<const char*, CategoryId> buttons[] = {
        {"Command3", CategoryId::Polygon}, {"Command4", CategoryId::Taxi},
        {"Command5", CategoryId::Asti},    {"Command6", CategoryId::Analog},
        {"Command7", CategoryId::Rymotom}, {"Command8", CategoryId::Xilosta},
        {"Command9", CategoryId::Oix},     {"Command10", CategoryId::Them},
    };
    for (EntryMode mode : {EntryMode::New, EntryMode::Edit}) {
        open(mode);
        for (const auto& [name, category] : buttons) {
            nav.calls.clear();
            press(name);
            ASSERT_EQ(nav.calls.size(), 1u) << name;
            EXPECT_EQ(nav.calls.front(),
                      (FakeNavigator::Record{FakeNavigator::Call::OpenEntry, {}, category, mode}))
                << name;
        }
    }
}

TEST_F(WorkMenu, lambda_button_opens_its_window_then_rereads_lambda) {
    job = jobs_test::makeJob(*this);
    open();
    root.writeHostFile(job + "l.dat", " 31000 \r\n");
    press("Command1");
    EXPECT_TRUE(nav.opened(WindowId::LambdaWorkMenu));
    EXPECT_EQ(text("l"), QStringLiteral("0,31"));

    open(EntryMode::Edit);
    nav.calls.clear();
    press("Command1");
    EXPECT_TRUE(nav.opened(WindowId::LambdaEditMenu));
}

TEST_F(WorkMenu, edit_menu_shows_stored_scale_plan_and_quantities) {
    job = jobs_test::makeJob(*this, 1, " 0 \r\n");
    root.writeHostFile(job + "klimaka.dat", " 1000 \r\n");
    root.writeHostFile(job + "taxi.dat", " 1500 \r\n 0 \r\n 250 \r\n 0 \r\n 0 \r\n 1 \r\n");
    root.writeHostFile(job + "trig.dat", " 200 \r\n 300 \r\n 0 \r\n 100 \r\n");
    open(EntryMode::Edit);
    EXPECT_EQ(window->objectName(), "ALLAGI1");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ΔΙΟΡΘΩΣΗ ΜΕΤΛΕΤΗΣ"));
    auto* scale = child<QComboBox>("Combo1");
    EXPECT_EQ(scale->currentText(), "1000");
    EXPECT_EQ(scale->count(), 5);
    EXPECT_TRUE(child<QRadioButton>("εκτος")->isChecked());
    EXPECT_EQ(text("q0"), "15");
    EXPECT_EQ(text("q20"), "2,5");
    EXPECT_EQ(text("hh"), QStringLiteral("Ν Α Ι"));
    EXPECT_EQ(text("iii"), "2");
    EXPECT_EQ(text("opi"), "1");
    EXPECT_EQ(text("kma"), "0");
    EXPECT_EQ(text("ΧΚ"), "0");

    // Showing the stored scale writes nothing; picking does.
    EXPECT_EQ(file("klimaka.dat"), " 1000 \r\n");
    QTest::keyClick(scale, Qt::Key_Down);
    EXPECT_EQ(file("klimaka.dat"), "100\r\n");
}

TEST_F(WorkMenu, writes_go_to_the_shown_job_only) {
    job = jobs_test::makeJob(*this);
    open();
    // Another job becomes current while this menu is still open.
    root.writeHostFile("program files/dezovur/ΓΔ/entos.dat", " 1 \r\n");
    root.writeHostFile("program files/dezovur/temp.dat",
                       testing_support::cp1253("c:\\program files\\dezovur\\ΓΔ\r\n"));
    child<QRadioButton>("εκτος")->click();
    EXPECT_EQ(file("entos.dat"), " 0 \r\n");
    EXPECT_EQ(root.readHostFile("program files/dezovur/ΓΔ/entos.dat"), " 1 \r\n");
}

}  // namespace

namespace {

TEST_F(WorkMenu, without_a_job_folder_nothing_is_written_anywhere) {
    root.writeHostFile("program files/dezovur/temp.dat",
                       testing_support::cp1253("c:\\program files\\dezovur\\ΧΨ\r\n"));
    const auto before = jobs_test::snapshot(*this);
    open();
    EXPECT_EQ(text("l"), QString());
    EXPECT_EQ(text("onoma"), QString());
    child<QRadioButton>("εκτος")->click();
    EXPECT_NE(window->findChild<QMessageBox*>(QStringLiteral("refusal")), nullptr);
    QTest::keyClick(child<QComboBox>("Combo1"), Qt::Key_Down);
    press("EXIT");
    EXPECT_EQ(jobs_test::snapshot(*this), before);
    EXPECT_FALSE(jobs_test::exists(*this, "program files/dezovur/ΧΨ"));
    EXPECT_FALSE(jobs_test::gone(window));
}

}  // namespace
