// The open-job dialog (palaia) and the delete confirmation (diagrafh).
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <map>

#include "fee/app/DeleteJobDialog.h"
#include "fee/app/OpenJobDialog.h"
#include "support/AppFixture.h"
#include "support/QtWaiting.h"

namespace {

using testing_support::gone;

using fee::app::WindowId;
using testing_support::cp1253;
namespace fs = std::filesystem;

const std::string kData = "program files/dezovur/";

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

class JobsFixture : public ::testing::Test, public testing_support::AppFixture {
protected:
    ~JobsFixture() override { delete window.data(); }
    std::string read(const std::string& name) { return root.readHostFile(kData + name); }
    void write(const std::string& name, const std::string& bytes) {
        root.writeHostFile(kData + name, bytes);
    }
    template <class T = QWidget>
    T* child(const char* name) {
        T* w = window->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    std::map<std::string, std::string> snapshot() {
        std::map<std::string, std::string> files;
        const fs::path base = root.driveC() / kData;
        for (const auto& e : fs::recursive_directory_iterator(base))
            files[fs::relative(e.path(), base).string()] =
                e.is_regular_file() ? root.readHostFile(e.path().lexically_relative(root.driveC()))
                                    : "<dir>";
        return files;
    }
    QPointer<QWidget> window;
};

using OpenJob = JobsFixture;

TEST_F(OpenJob, lists_the_jobs_and_pads_temp1_to_100_lines) {
    write("Ergasies.dat", cp1253("Α\r\nΒ\r\nΓιώργος\r\nΑλεξίου\r\nΜαρία\r\nΒλάχου\r\n"));
    window = new fee::app::OpenJobDialog(context);
    window->show();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Εισαγωγή Προηγούμενης Μελέτης"));
    auto* list = child<QComboBox>("EPILOGI");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(0), QStringLiteral("Α Β"));
    EXPECT_EQ(list->itemText(1), QStringLiteral("Γιώργος Αλεξίου"));
    EXPECT_EQ(list->itemText(2), QStringLiteral("Μαρία Βλάχου"));
    EXPECT_EQ(list->accessibleName(), QStringLiteral("Εισαγωγή της μελέτης του Ιδιοκτήτη κ.κ."));
    EXPECT_EQ(read("temp1.dat"),
              cp1253("ΑΒ\r\nΓιώργοςΑλεξίου\r\nΜαρίαΒλάχου\r\n") + repeat(" \r\n", 97));
}

TEST_F(OpenJob, a_pick_makes_the_job_current_at_once_and_ok_opens_the_overview) {
    write("Ergasies.dat", cp1253("Α\r\nΒ\r\nΓιώργος\r\nΑλεξίου\r\nΜαρία\r\nΒλάχου\r\n"));
    write("temp.dat", cp1253("c:\\program files\\dezovur\\ΜαρίαΒλάχου\r\n"));
    window = new fee::app::OpenJobDialog(context);
    window->show();
    // Opening alone changes nothing.
    EXPECT_EQ(read("temp.dat"), cp1253("c:\\program files\\dezovur\\ΜαρίαΒλάχου\r\n"));
    auto* list = child<QComboBox>("EPILOGI");
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    ASSERT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(read("temp.dat"), cp1253("c:\\program files\\dezovur\\ΓιώργοςΑλεξίου\r\n"));
    EXPECT_TRUE(nav.calls.empty());

    child<QPushButton>("OKButton")->click();
    EXPECT_TRUE(nav.opened(WindowId::Overview));
    EXPECT_EQ(nav.calls.size(), 1u);
    EXPECT_TRUE(gone(window));
}

TEST_F(OpenJob, every_job_beyond_a_hundred_is_listed_and_can_be_picked) {
    std::string list;
    for (int i = 1; i <= 150; ++i) list += cp1253("Όνομα\r\nΚ" + std::to_string(i) + "\r\n");
    write("Ergasies.dat", list);
    window = new fee::app::OpenJobDialog(context);
    window->show();
    auto* combo = child<QComboBox>("EPILOGI");
    ASSERT_EQ(combo->count(), 150);
    EXPECT_EQ(combo->itemText(149), QStringLiteral("Όνομα Κ150"));

    // Even when temp1.dat holds only its hundred lines, the 120th entry still names its job.
    std::string hundred;
    for (int i = 1; i <= 100; ++i) hundred += cp1253("ΌνομαΚ" + std::to_string(i) + "\r\n");
    write("temp1.dat", hundred);
    QTest::keyClick(combo, Qt::Key_End);
    for (int i = 0; i < 30; ++i) QTest::keyClick(combo, Qt::Key_Up);
    ASSERT_EQ(combo->currentIndex(), 119);
    EXPECT_EQ(read("temp.dat"), cp1253("c:\\program files\\dezovur\\ΌνομαΚ120\r\n"));
    // And the first hundred still go through temp1.dat.
    QTest::keyClick(combo, Qt::Key_Home);
    EXPECT_EQ(read("temp.dat"), cp1253("c:\\program files\\dezovur\\ΌνομαΚ1\r\n"));
}

TEST_F(OpenJob, without_a_job_list_the_choice_is_empty) {
    fs::remove(root.driveC() / kData / "Ergasies.dat");
    window = new fee::app::OpenJobDialog(context);
    window->show();
    EXPECT_EQ(child<QComboBox>("EPILOGI")->count(), 0);
    EXPECT_EQ(read("temp1.dat"), repeat(" \r\n", 100));
    child<QPushButton>("OKButton")->click();
    EXPECT_TRUE(nav.opened(WindowId::Overview));
}

class DeleteJob : public JobsFixture {
protected:
    // Α ΒΓ and ΑΒ Γ share the folder ΑΒΓ; Δ Ε is another job.
    DeleteJob() {
        write("Ergasies.dat", cp1253("Α\r\nΒΓ\r\nΔ\r\nΕ\r\nΑΒ\r\nΓ\r\n"));
        write("ΑΒΓ/STOIXEIA.dat", cp1253("Α\r\nΒΓ\r\n"));
        write("ΑΒΓ/taxi.dat", " 100 \r\n");
        write("ΔΕ/STOIXEIA.dat", cp1253("Δ\r\nΕ\r\n"));
        write("temp.dat", cp1253("c:\\program files\\dezovur\\ΑΒΓ\r\n"));
        window = new fee::app::DeleteJobDialog(context);
        window->show();
    }
};

TEST_F(DeleteJob, shows_the_warning_texts) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Π Ρ Ο Σ Ο Χ Η"));
    EXPECT_EQ(child<QLabel>("Label2")->text(), QStringLiteral("Π Ρ Ο Σ Ο Χ Η"));
    EXPECT_EQ(child<QLabel>("Label1")->text(),
              QStringLiteral("Η μελέτη θα διαγραφει.\nΘέλετε να διαγράψετε την μελέτη;"));
    EXPECT_EQ(child<QPushButton>("OKButton")->text(), QStringLiteral("Ν Α Ι"));
    EXPECT_EQ(child<QPushButton>("CancelButton")->text(), QStringLiteral("Ο Χ Ι"));
}

TEST_F(DeleteJob, yes_removes_the_folder_and_every_entry_sharing_it) {
    child<QPushButton>("OKButton")->click();
    EXPECT_FALSE(fs::exists(root.driveC() / kData / "ΑΒΓ"));
    EXPECT_TRUE(fs::exists(root.driveC() / kData / "ΔΕ/STOIXEIA.dat"));
    EXPECT_EQ(read("Ergasies.dat"), cp1253("Δ\r\nΕ\r\n"));
    EXPECT_EQ(read("temp.dat"), cp1253("c:\\program files\\dezovur\\ΑΒΓ\r\n"));
    EXPECT_TRUE(nav.closed(WindowId::Overview));
    EXPECT_TRUE(gone(window));

    // The next opening of the job list no longer shows it.
    window = new fee::app::OpenJobDialog(context);
    auto* list = child<QComboBox>("EPILOGI");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->itemText(0), QStringLiteral("Δ Ε"));
}

TEST_F(DeleteJob, no_changes_nothing) {
    const auto before = snapshot();
    child<QPushButton>("CancelButton")->click();
    EXPECT_EQ(snapshot(), before);
    EXPECT_TRUE(nav.calls.empty());
    EXPECT_TRUE(gone(window));
}

TEST_F(DeleteJob, a_folder_that_cannot_be_removed_keeps_the_job_listed) {
    // Something the program never creates there: the folder cannot be removed.
    fs::create_directories(root.driveC() / kData / "ΑΒΓ" / "υποφάκελος");
    child<QPushButton>("OKButton")->click();
    auto* box = window->findChild<QMessageBox*>("refusal");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains(QStringLiteral("δεν μπόρεσε να διαγραφεί")));
    EXPECT_EQ(read("Ergasies.dat"), cp1253("Α\r\nΒΓ\r\nΔ\r\nΕ\r\nΑΒ\r\nΓ\r\n"));
    EXPECT_TRUE(nav.calls.empty());
    EXPECT_FALSE(gone(window));
}

TEST_F(DeleteJob, a_job_already_gone_is_refused) {
    write("temp.dat", cp1253("c:\\program files\\dezovur\\ΧΨ\r\n"));
    const auto before = snapshot();
    child<QPushButton>("OKButton")->click();
    EXPECT_NE(window->findChild<QMessageBox*>("refusal"), nullptr);
    EXPECT_EQ(snapshot(), before);
    EXPECT_TRUE(nav.calls.empty());
}

}  // namespace
