// The particulars dialog (stoixeia) and the new-engineer dialog (Form14).
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "fee/app/NewEngineerDialog.h"
#include "fee/app/ParticularsDialog.h"
#include "test_jobs_support.h"

namespace {

using fee::app::WindowId;
using jobs_test::cp1253;
using jobs_test::kData;

// Three engineers, the third a civil engineer.
const char* const kThreeEngineers =
    "Γιώργος\r\nΑλεξίου\r\nΟδός Α 1\r\nΠάτρα\r\nΑγρονόμος Τοπογράφος Μηχανικός\r\n"
    "Μαρία\r\nΒλάχου\r\nΟδός Β 2\r\nΛάρισα\r\nΤεχνολόγος Τοπογράφος\r\n"
    "Νίκος\r\nΠαππάς\r\nΟδός Γ 3\r\nΑθήνα\r\nΠολιτικός Μηχανικός\r\n";

class Particulars : public ::testing::Test, public testing_support::AppFixture {
protected:
    void open() {
        dialog = new fee::app::ParticularsDialog(context);
        dialog->show();
    }
    void TearDown() override { delete dialog.data(); }

    template <class T = QLineEdit>
    T* child(const char* name) {
        T* w = dialog->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QTabWidget* tabs() { return child<QTabWidget>("tbsOptions"); }
    QPushButton* ok() { return child<QPushButton>("cmdOK"); }

    // As a user does it: bring the field's page forward, then type.
    QLineEdit* showField(const char* field) {
        QLineEdit* edit = child(field);
        for (int i = 0; i < tabs()->count(); ++i)
            if (tabs()->widget(i)->isAncestorOf(edit)) tabs()->setCurrentIndex(i);
        return edit;
    }
    void type(const char* field, const QString& text) {
        jobs_test::typeText(showField(field), text);
    }
    void clear(const char* field) {
        QLineEdit* edit = showField(field);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
    }
    void pickEngineer(int index) {
        tabs()->setCurrentIndex(2);
        auto* combo = child<QComboBox>("Combo1");
        while (combo->currentIndex() < index) QTest::keyClick(combo, Qt::Key_Down);
    }
    void fillTyped(const QString& specialty) {
        type("onm", QStringLiteral("Νίκος"));
        type("Epm", QStringLiteral("Παππάς"));
        type("eidikot", specialty);
        type("onoma", QStringLiteral("Α"));
        type("eponymo", QStringLiteral("Β"));
    }
    QString refusalText() {
        auto* box = dialog->findChild<QMessageBox*>(QStringLiteral("refusal"));
        return box ? box->text() : QString();
    }
    void expectNothingWritten() {
        EXPECT_EQ(root.readHostFile(kData + "Ergasies.dat"), "");
        EXPECT_FALSE(jobs_test::exists(*this, kData + "temp.dat"));
        EXPECT_FALSE(jobs_test::exists(*this, kData + "ΑΒ"));
        EXPECT_TRUE(nav.calls.empty());
        EXPECT_FALSE(jobs_test::gone(dialog));
    }

    QPointer<QWidget> dialog;
};

TEST_F(Particulars, whole_new_job_with_the_third_listed_engineer) {
    root.writeHostFile(kData + "mix.dat", cp1253(kThreeEngineers));
    open();
    EXPECT_EQ(dialog->objectName(), "stoixeia");
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Στοιχεία Μελέτης"));
    ASSERT_EQ(child<QComboBox>("Combo1")->count(), 3);
    EXPECT_EQ(child<QComboBox>("Combo1")->itemText(2), QStringLiteral("Νίκος Παππάς"));
    EXPECT_FALSE(ok()->isEnabled());

    type("onoma", QStringLiteral("Α"));
    type("eponymo", QStringLiteral("Β"));
    type("dnsh", QStringLiteral("Οδός 1"));
    type("poli", QStringLiteral("Πάτρα"));
    type("dimos", QStringLiteral("Πατρέων"));
    type("DD", QStringLiteral("Ρίου"));
    type("uesi", QStringLiteral("Κάστρο"));
    pickEngineer(2);
    EXPECT_EQ(child("onm")->text(), QStringLiteral("Νίκος"));
    EXPECT_EQ(child("dnsm")->text(), QStringLiteral("Οδός Γ 3"));
    EXPECT_EQ(child("eidikot")->text(), QStringLiteral("Πολιτικός Μηχανικός"));
    ASSERT_TRUE(ok()->isEnabled());
    ok()->click();

    // Α is 0xC1 and Β 0xC2 in Windows-1253.
    EXPECT_EQ(root.readHostFile(kData + "Ergasies.dat"), "\xC1\r\n\xC2\r\n");
    EXPECT_EQ(root.readHostFile(kData + "erga.dat"), "\xC1\r\n\xC2\r\n");
    EXPECT_EQ(root.readHostFile(kData + "temp.dat"), "c:\\program files\\dezovur\\\xC1\xC2\r\n");
    const std::string job = kData + "ΑΒ/";
    EXPECT_EQ(root.readHostFile(job + "STOIXEIA.dat"),
              cp1253("Α\r\nΒ\r\nΟδός 1\r\nΠάτρα\r\nΠατρέων\r\nΡίου\r\nΚάστρο\r\n"
                     "Νίκος\r\nΠαππάς\r\nΟδός Γ 3\r\nΑθήνα\r\nΠολιτικός Μηχανικός\r\n"));
    EXPECT_EQ(root.readHostFile(job + "STOIXEIA.dat").substr(0, 6), "\xC1\r\n\xC2\r\n");
    EXPECT_EQ(root.readHostFile(job + "l.dat"), "29350\r\n");
    EXPECT_EQ(root.readHostFile(job + "entos.dat"), " 1 \r\n");
    EXPECT_EQ(root.readHostFile(job + "eid.dat"), " 2 \r\n");
    EXPECT_EQ(nav.calls.size(), 1u);
    EXPECT_TRUE(nav.opened(WindowId::WorkMenu));
    EXPECT_TRUE(jobs_test::gone(dialog));
}

TEST_F(Particulars, ok_check_runs_only_on_owner_names_and_only_enables) {
    open();  // empty engineer list: everything typed by hand
    EXPECT_EQ(child<QComboBox>("Combo1")->count(), 0);
    type("onoma", QStringLiteral("Α"));
    type("eponymo", QStringLiteral("Β"));
    EXPECT_FALSE(ok()->isEnabled());

    type("onm", QStringLiteral("Νίκος"));
    type("Epm", QStringLiteral("Παππάς"));
    type("eidikot", QStringLiteral("Πολιτικός Μηχανικός"));
    EXPECT_FALSE(ok()->isEnabled()) << "typing into the engineer fields alone runs no check";

    type("eponymo", QStringLiteral("ς"));
    EXPECT_TRUE(ok()->isEnabled());

    clear("onoma");
    clear("eidikot");
    EXPECT_TRUE(ok()->isEnabled()) << "nothing disables OK again";
}

TEST_F(Particulars, picking_an_engineer_runs_the_check) {
    root.writeHostFile(kData + "mix.dat", cp1253(kThreeEngineers));
    open();
    type("onoma", QStringLiteral("Α"));
    EXPECT_FALSE(ok()->isEnabled());
    pickEngineer(0);
    EXPECT_FALSE(ok()->isEnabled()) << "surname still missing";
    type("eponymo", QStringLiteral("Β"));
    EXPECT_TRUE(ok()->isEnabled());
}

TEST_F(Particulars, specialty_code_is_an_exact_case_sensitive_match) {
    open();
    fillTyped(QStringLiteral("Πολιτικός Μηχανικός"));
    ok()->click();
    EXPECT_EQ(root.readHostFile(kData + "ΑΒ/eid.dat"), " 2 \r\n");
}

TEST_F(Particulars, specialty_in_small_letters_is_code_0) {
    open();
    fillTyped(QStringLiteral("πολιτικός μηχανικός"));
    ok()->click();
    EXPECT_EQ(root.readHostFile(kData + "ΑΒ/eid.dat"), " 0 \r\n");
    EXPECT_EQ(root.readHostFile(kData + "ΑΒ/STOIXEIA.dat").substr(0, 6), "\xC1\r\n\xC2\r\n");
}

TEST_F(Particulars, tabs_pages_and_ctrl_tab) {
    open();
    QTabWidget* t = tabs();
    ASSERT_EQ(t->count(), 3);
    EXPECT_EQ(t->tabText(0), QStringLiteral("Στοιχεία Ιδιοκτήτη"));
    EXPECT_EQ(t->tabText(1), QStringLiteral("Στοιχεία Έργου"));
    EXPECT_EQ(t->tabText(2), QStringLiteral("Στοιχεία Μηχανικού"));
    EXPECT_EQ(t->tabBar()->tabData(0).toString(), "stoixeia");
    EXPECT_EQ(t->tabBar()->tabData(1).toString(), "egro");
    EXPECT_EQ(t->tabBar()->tabData(2).toString(), "Mhxaniko");
    EXPECT_EQ(t->widget(1)->objectName(), "picOptions(1)");
    EXPECT_TRUE(t->widget(1)->isAncestorOf(child("DD")));

    // One step per press, whichever control has the key (the tab widget must not add its own).
    QTest::keyClick(child("onoma"), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(t->currentIndex(), 1);
    EXPECT_FALSE(t->widget(0)->isEnabled());
    EXPECT_TRUE(t->widget(1)->isEnabled());
    QTest::keyClick(ok(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(t->currentIndex(), 2);
    QTest::keyClick(child("eidikot"), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(t->currentIndex(), 0) << "from the last tab back to the first";
    QTest::keyClick(child<QComboBox>("Combo1"), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(t->currentIndex(), 1) << "the engineer list does not swallow Ctrl+Tab";
    QTest::keyClick(child("DD"), Qt::Key_Tab);
    EXPECT_EQ(t->currentIndex(), 1) << "plain Tab stays on the page";
}

TEST_F(Particulars, engineer_list_rebuilt_on_activation_and_on_pick) {
    open();
    auto* combo = child<QComboBox>("Combo1");
    EXPECT_EQ(combo->count(), 0);

    // Meanwhile the new-engineer dialog added two engineers.
    const std::string twoEngineers =
        std::string(kThreeEngineers).substr(std::string(kThreeEngineers).find("Μαρία"));
    root.writeHostFile(kData + "mix.dat", cp1253(twoEngineers));
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(dialog, &activate);
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("Μαρία Βλάχου"));

    root.writeHostFile(kData + "mix.dat", cp1253(kThreeEngineers));
    pickEngineer(0);
    ASSERT_EQ(combo->count(), 3) << "picking reads the list again";
    EXPECT_EQ(combo->itemText(2), QStringLiteral("Νίκος Παππάς"));
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(child("onm")->text(), QStringLiteral("Γιώργος")) << "the record now at the pick";
    EXPECT_EQ(child("polim")->text(), QStringLiteral("Πάτρα"));
}

TEST_F(Particulars, cancel_and_new_engineer_write_nothing) {
    open();
    child<QPushButton>("Command1")->click();
    EXPECT_TRUE(nav.calls.empty()) << "a hidden page's button is out of reach";
    tabs()->setCurrentIndex(2);
    child<QPushButton>("Command1")->click();
    EXPECT_TRUE(nav.opened(WindowId::NewEngineer));
    EXPECT_FALSE(jobs_test::gone(dialog));
    nav.calls.clear();
    fillTyped(QStringLiteral("x"));
    const auto before = jobs_test::snapshot(*this);
    child<QPushButton>("cmdCancel")->click();
    EXPECT_TRUE(jobs_test::gone(dialog));
    EXPECT_EQ(jobs_test::snapshot(*this), before);
    EXPECT_TRUE(nav.calls.empty());
}

TEST_F(Particulars, refuses_a_comma_naming_the_field) {
    open();
    fillTyped(QStringLiteral("Πολιτικός Μηχανικός"));
    type("dnsh", QStringLiteral("Οδός 1, Πάτρα"));
    ok()->click();
    EXPECT_TRUE(refusalText().contains(QStringLiteral("Δ/νση κατοικίας ιδιοκτήτη")));
    EXPECT_EQ(tabs()->currentIndex(), 0);
    expectNothingWritten();
}

TEST_F(Particulars, refuses_a_double_quote) {
    open();
    fillTyped(QStringLiteral("Πολιτικός Μηχανικός"));
    type("uesi", QStringLiteral("\"Κάστρο\""));
    ok()->click();
    EXPECT_TRUE(refusalText().contains(QStringLiteral("«Θέση»")));
    expectNothingWritten();
}

TEST_F(Particulars, refuses_a_character_windows_1253_lacks) {
    open();
    fillTyped(QStringLiteral("Πολιτικός Μηχανικός"));
    type("Epm", QStringLiteral("Łukasz"));
    ok()->click();
    EXPECT_TRUE(refusalText().contains(QStringLiteral("Επώνυμο μηχανικού")));
    EXPECT_EQ(tabs()->currentIndex(), 2);
    expectNothingWritten();
}

TEST_F(Particulars, refuses_an_owner_name_that_cannot_be_a_folder) {
    open();
    fillTyped(QStringLiteral("Πολιτικός Μηχανικός"));
    type("eponymo", QStringLiteral("/.."));
    ok()->click();
    EXPECT_TRUE(refusalText().contains(QStringLiteral("όνομα φακέλου")));
    expectNothingWritten();
}

TEST_F(Particulars, refuses_an_owner_whose_job_exists) {
    root.writeHostFile(kData + "Ergasies.dat", "\xC1\r\n\xC2\r\n");
    root.writeHostFile(kData + "ΑΒ/STOIXEIA.dat", "old\r\n");
    open();
    fillTyped(QStringLiteral("Πολιτικός Μηχανικός"));
    const auto before = jobs_test::snapshot(*this);
    ok()->click();
    EXPECT_TRUE(refusalText().contains(QStringLiteral("«Διαχείριση Μελετών»")));
    EXPECT_EQ(jobs_test::snapshot(*this), before);
    EXPECT_EQ(root.readHostFile(kData + "ΑΒ/STOIXEIA.dat"), "old\r\n");
    EXPECT_TRUE(nav.calls.empty());
}

TEST_F(Particulars, refuses_a_required_field_emptied_after_ok_was_enabled) {
    open();
    fillTyped(QStringLiteral("Πολιτικός Μηχανικός"));
    clear("Epm");
    ASSERT_TRUE(ok()->isEnabled());
    ok()->click();
    EXPECT_TRUE(refusalText().contains(QStringLiteral("Επώνυμο μηχανικού")));
    expectNothingWritten();
}

// --- Form14 ------------------------------------------------------------------------------

class NewEngineer : public ::testing::Test, public testing_support::AppFixture {
protected:
    void open() {
        dialog = new fee::app::NewEngineerDialog(context);
        dialog->show();
    }
    void TearDown() override { delete dialog.data(); }
    QLineEdit* edit(const char* name) { return dialog->findChild<QLineEdit*>(name); }
    QPointer<QWidget> dialog;
};

TEST_F(NewEngineer, appends_the_engineer_and_closes) {
    const std::string one =
        cp1253("Γιώργος\r\nΑλεξίου\r\nΟδός Α 1\r\nΠάτρα\r\nΑγρονόμος Τοπογράφος Μηχανικός\r\n");
    root.writeHostFile(kData + "mix.dat", one);
    open();
    EXPECT_EQ(dialog->objectName(), "Form14");
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Εισαγωγή Νέου Μηχανικού"));
    auto* specialty = dialog->findChild<QComboBox*>("eidikot");
    ASSERT_NE(specialty, nullptr);
    ASSERT_EQ(specialty->count(), 6);
    EXPECT_EQ(specialty->itemText(0), QStringLiteral("Αγρονόμος Τοπογράφος Μηχανικός"));
    EXPECT_EQ(specialty->itemText(5), QStringLiteral("Τεχνολόγος Έργων Υποδομής"));
    auto* ok = dialog->findChild<QPushButton*>("Command1");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("\u039F\u039A"));  // Greek capital omicron, kappa

    jobs_test::typeText(edit("onm"), QStringLiteral("Νίκος"));
    jobs_test::typeText(edit("Epm"), QStringLiteral("Παππάς"));
    jobs_test::typeText(edit("dnsm"), QStringLiteral("Οδός Γ 3"));
    jobs_test::typeText(edit("polim"), QStringLiteral("Αθήνα"));
    specialty->setCurrentIndex(1);
    ok->click();
    EXPECT_EQ(root.readHostFile(kData + "mix.dat"),
              one + cp1253("Νίκος\r\nΠαππάς\r\nΟδός Γ 3\r\nΑθήνα\r\nΠολιτικός Μηχανικός\r\n"));
    EXPECT_TRUE(jobs_test::gone(dialog));
}

TEST_F(NewEngineer, refuses_an_engineer_without_first_name_and_surname) {
    open();
    dialog->findChild<QPushButton*>("Command1")->click();
    auto* box = dialog->findChild<QMessageBox*>(QStringLiteral("refusal"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains(QStringLiteral("«Όνομα»")));
    delete box;
    jobs_test::typeText(edit("onm"), QStringLiteral("Νίκος"));
    jobs_test::typeText(edit("Epm"), QStringLiteral("  "));
    dialog->findChild<QPushButton*>("Command1")->click();
    box = dialog->findChild<QMessageBox*>(QStringLiteral("refusal"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains(QStringLiteral("«Επώνυμο»")));
    EXPECT_EQ(root.readHostFile(kData + "mix.dat"), "");
    EXPECT_FALSE(jobs_test::gone(dialog));
}

TEST_F(NewEngineer, enter_saves_and_escape_closes_without_writing) {
    open();
    QApplication::setActiveWindow(dialog);
    jobs_test::typeText(edit("onm"), QStringLiteral("Νίκος"));
    QTest::keyClick(edit("onm"), Qt::Key_Escape);
    EXPECT_TRUE(jobs_test::gone(dialog));
    EXPECT_EQ(root.readHostFile(kData + "mix.dat"), "");
    open();
    QApplication::setActiveWindow(dialog);
    EXPECT_EQ(QApplication::focusWidget(), edit("onm"));
    jobs_test::typeText(edit("onm"), QStringLiteral("Νίκος"));
    jobs_test::typeText(edit("Epm"), QStringLiteral("Παππάς"));
    QTest::keyClick(edit("Epm"), Qt::Key_Return);
    EXPECT_EQ(root.readHostFile(kData + "mix.dat"), cp1253("Νίκος\r\nΠαππάς\r\n\r\n\r\n\r\n"));
}

TEST_F(NewEngineer, refuses_a_comma_and_keeps_the_list) {
    open();
    jobs_test::typeText(edit("onm"), QStringLiteral("Νίκος"));
    jobs_test::typeText(edit("Epm"), QStringLiteral("Παππάς"));
    jobs_test::typeText(edit("polim"), QStringLiteral("Αθήνα, Αττική"));
    dialog->findChild<QPushButton*>("Command1")->click();
    auto* box = dialog->findChild<QMessageBox*>(QStringLiteral("refusal"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains(QStringLiteral("«Πόλη»")));
    EXPECT_EQ(root.readHostFile(kData + "mix.dat"), "");
    EXPECT_FALSE(jobs_test::gone(dialog));
}

}  // namespace
