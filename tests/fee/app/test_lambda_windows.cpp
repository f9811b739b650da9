// The three λ windows: Form2 (work menu), lamda1 (edit menu), lamda2 (job overview).
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <string>

#include "fee/app/LambdaWindow.h"
#include "support/AppFixture.h"

namespace {

using fee::app::WindowId;
using testing_support::cp1253;

const std::string kData = "program files/dezovur/";
const std::string kJob = kData + "ΑΒ/";

class Lambda : public ::testing::Test, public testing_support::AppFixture {
protected:
    Lambda() {
        root.writeHostFile(kData + "temp.dat", cp1253("c:\\program files\\dezovur\\ΑΒ\r\n"));
        root.writeHostFile(kJob + "l.dat", "29350\r\n");
        root.writeHostFile(kData + "l.dat", "29350\r\n");
    }
    void TearDown() override { delete window.data(); }

    void open(WindowId which) {
        delete window.data();
        window = new fee::app::LambdaWindow(context, which);
        window->show();
    }
    QLineEdit* field() { return window->findChild<QLineEdit*>(QStringLiteral("ll1")); }
    void save(const QString& text) {
        field()->clear();
        QTest::keyClicks(field(), text);
        window->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    }
    bool gone() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window.isNull();
    }

    QPointer<QWidget> window;
};

TEST_F(Lambda, each_window_saves_both_files_and_reopens_its_caller) {
    const std::tuple<WindowId, const char*, WindowId> cases[] = {
        {WindowId::LambdaWorkMenu, "Form2", WindowId::WorkMenu},
        {WindowId::LambdaEditMenu, "lamda1", WindowId::EditMenu},
        {WindowId::LambdaOverview, "lamda2", WindowId::Overview},
    };
    for (const auto& [which, object, caller] : cases) {
        SCOPED_TRACE(object);
        root.writeHostFile(kJob + "l.dat", "30000\r\n");
        root.writeHostFile(kData + "l.dat", "30000\r\n");
        nav.calls.clear();
        open(which);
        EXPECT_EQ(window->objectName(), QString::fromUtf8(object));
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Αλλαγή Συντελεστή λ"));
        EXPECT_TRUE(field()->text().isEmpty());
        auto* button = window->findChild<QPushButton*>(QStringLiteral("Command1"));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QStringLiteral("Αποθήκευση"));
        save(QStringLiteral("0,2935"));
        EXPECT_EQ(root.readHostFile(kJob + "l.dat"), " 29350 \r\n");
        EXPECT_EQ(root.readHostFile(kData + "l.dat"), " 29350 \r\n");
        ASSERT_EQ(nav.calls.size(), 1u);
        EXPECT_TRUE(nav.reopened(caller));
        EXPECT_TRUE(gone());
    }
}

TEST_F(Lambda, edit_menu_window_shows_the_old_lambda) {
    root.writeHostFile(kJob + "l.dat", " 31250 \r\n");
    open(WindowId::LambdaEditMenu);
    bool captionFound = false;
    for (QLabel* label : window->findChildren<QLabel*>())
        captionFound |= label->text() == QStringLiteral("Παλαιός συντελεστής λ:");
    EXPECT_TRUE(captionFound);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("oldLambda"))->text(),
              QStringLiteral("0,3125"));

    open(WindowId::LambdaWorkMenu);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("oldLambda")), nullptr);
}

TEST_F(Lambda, saved_value_is_rounded_to_five_decimals) {
    open(WindowId::LambdaOverview);
    save(QStringLiteral("0,293456"));  // 29345.6 -> 29346
    EXPECT_EQ(root.readHostFile(kJob + "l.dat"), " 29346 \r\n");
    EXPECT_EQ(root.readHostFile(kData + "l.dat"), " 29346 \r\n");
}

TEST_F(Lambda, refuses_empty_text_zero_and_negative_values) {
    for (const char* bad : {"", "abc", "0", "-1", "0,000001"}) {
        SCOPED_TRACE(bad);
        open(WindowId::LambdaWorkMenu);
        save(QString::fromUtf8(bad));
        EXPECT_FALSE(gone());
        auto* box = window->findChild<QMessageBox*>(QStringLiteral("refusal"));
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->text().contains(QStringLiteral("συντελεστής λ")));
        EXPECT_EQ(root.readHostFile(kJob + "l.dat"), "29350\r\n");
        EXPECT_EQ(root.readHostFile(kData + "l.dat"), "29350\r\n");
    }
    EXPECT_TRUE(nav.calls.empty());
}

TEST_F(Lambda, a_window_left_open_does_not_save_into_a_job_chosen_meanwhile) {
    open(WindowId::LambdaWorkMenu);
    root.writeHostFile(kData + "ΓΔ/l.dat", "29350\r\n");
    root.writeHostFile(kData + "temp.dat", cp1253("c:\\program files\\dezovur\\ΓΔ\r\n"));
    save(QStringLiteral("0,3125"));
    EXPECT_FALSE(gone());
    EXPECT_NE(window->findChild<QMessageBox*>(QStringLiteral("refusal")), nullptr);
    EXPECT_EQ(root.readHostFile(kJob + "l.dat"), "29350\r\n");
    EXPECT_EQ(root.readHostFile(kData + "ΓΔ/l.dat"), "29350\r\n");
    EXPECT_EQ(root.readHostFile(kData + "l.dat"), "29350\r\n");
    EXPECT_TRUE(nav.calls.empty());
}

}  // namespace
