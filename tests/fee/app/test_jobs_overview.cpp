// The job overview (Form13).
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "fee/app/OverviewWindow.h"
#include "test_jobs_support.h"

namespace {

using fee::app::WindowId;

class Overview : public ::testing::Test, public testing_support::AppFixture {
protected:
    void open() {
        window = new fee::app::OverviewWindow(context);
        window->show();
    }
    void TearDown() override { delete window.data(); }
    QString text(const char* label) {
        auto* w = window->findChild<QLabel*>(QString::fromUtf8(label));
        EXPECT_NE(w, nullptr) << label;
        return w ? w->text() : QString();
    }
    void press(const char* button) { window->findChild<QPushButton*>(button)->click(); }

    std::string job;
    QPointer<QWidget> window;
};

TEST_F(Overview, shows_particulars_plan_scale_and_lambda) {
    job = jobs_test::makeJob(*this);
    root.writeHostFile(job + "klimaka.dat", " 1000 \r\n");
    open();
    EXPECT_EQ(window->objectName(), "Form13");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Ανάγνωση-Διαγραφή Μελέτης"));
    EXPECT_EQ(text("Label1"), QStringLiteral("ΑΜΟΙΒΕΣ ΤΟΠΟΓΡΑΦΙΚΩΝ ΔΙΑΓΡΑΜΜΑΤΩΝ"));
    EXPECT_EQ(text("ent"), QStringLiteral("ΕΝΤΟΣ ΣΧΕΔΙΟΥ"));
    EXPECT_EQ(text("klim"), QStringLiteral("Κλίμακα 1:1000"));
    EXPECT_EQ(text("l"), QStringLiteral("0,2935"));
    EXPECT_EQ(text("eponymo"), QStringLiteral("Β"));
    EXPECT_EQ(text("dnsm"), QStringLiteral("Οδός 2"));
}

TEST_F(Overview, outside_plan_and_scale_as_picked_text) {
    job = jobs_test::makeJob(*this, 1, " 0 \r\n");
    root.writeHostFile(job + "klimaka.dat", "500\r\n");
    open();
    EXPECT_EQ(text("ent"), QStringLiteral("ΕΚΤΟΣ ΣΧΕΔΙΟΥ"));
    EXPECT_EQ(text("klim"), QStringLiteral("Κλίμακα 1:500"));
}

TEST_F(Overview, quantities_in_hundredths_with_altimetry_yes) {
    job = jobs_test::makeJob(*this);
    root.writeHostFile(job + "taxi.dat", " 1500 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 1 \r\n");
    root.writeHostFile(job + "polygon.dat", " 1250 \r\n");
    root.writeHostFile(job + "rymotom.dat", " 5 \r\n 300 \r\n");
    root.writeHostFile(job + "them.dat", " 12000 \r\n");
    root.writeHostFile(job + "xilosta.dat", " 700 \r\n");
    root.writeHostFile(job + "oix.dat", " 100 \r\n");
    open();
    EXPECT_EQ(text("q0"), "15");
    for (const char* slope : {"q5", "q20", "q50", "q100"}) EXPECT_EQ(text(slope), "0") << slope;
    EXPECT_EQ(text("hh"), QStringLiteral("Ν Α Ι"));
    EXPECT_EQ(text("polo"), "12,5");
    EXPECT_EQ(text("ajj"), "0,05");
    EXPECT_EQ(text("ot"), "3");
    EXPECT_EQ(text("ΧΚ"), "120");
    EXPECT_EQ(text("xilio"), "7");
    EXPECT_EQ(text("xoi"), "1");
}

TEST_F(Overview, missing_or_unreadable_files_show_0) {
    job = jobs_test::makeJob(*this);
    root.writeHostFile(job + "taxi.dat", "abc\r\n");  // unreadable and short
    root.writeHostFile(job + "analog.dat", "");
    open();
    for (const char* label : {"iii", "iv", "empr", "opi", "q0", "q5", "q100", "polo", "ajj", "ot",
                              "ae", "kma", "ΧΚ", "xoi", "xilio"})
        EXPECT_EQ(text(label), "0") << label;
    EXPECT_EQ(text("hh"), QStringLiteral("Ο Χ Ι"));
}

TEST_F(Overview, read_closes_and_changes_no_file) {
    job = jobs_test::makeJob(*this);
    const auto before = jobs_test::snapshot(*this);
    open();
    press("Command2");
    EXPECT_TRUE(jobs_test::gone(window));
    EXPECT_EQ(jobs_test::snapshot(*this), before);
    EXPECT_TRUE(nav.calls.empty());
}

TEST_F(Overview, correct_hands_over_to_the_edit_menu) {
    job = jobs_test::makeJob(*this);
    open();
    press("Command3");
    EXPECT_TRUE(nav.opened(WindowId::EditMenu));
    EXPECT_TRUE(jobs_test::gone(window));
}

TEST_F(Overview, delete_asks_and_the_overview_stays) {
    job = jobs_test::makeJob(*this);
    open();
    press("Command4");
    EXPECT_TRUE(nav.opened(WindowId::DeleteConfirm));
    EXPECT_FALSE(jobs_test::gone(window));
}

TEST_F(Overview, lambda_revision_then_lambda_reread) {
    job = jobs_test::makeJob(*this);
    open();
    root.writeHostFile(job + "l.dat", " 31250 \r\n");
    press("Command1");
    EXPECT_TRUE(nav.opened(WindowId::LambdaOverview));
    EXPECT_EQ(text("l"), QStringLiteral("0,3125"));
    EXPECT_FALSE(jobs_test::gone(window));
}

}  // namespace
