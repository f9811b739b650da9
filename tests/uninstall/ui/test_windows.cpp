// The question and the closing list, driven as a user would.

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "support/QtWaiting.h"
#include "uninstall/Texts.h"
#include "uninstall/ui/QuestionBox.h"
#include "uninstall/ui/ResultWindow.h"

namespace {

QMessageBox* question() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
    }
    return nullptr;
}

// Answers the question once it shows, by Enter alone or by the named button.
bool answer(const char* buttonName) {
    QTimer::singleShot(0, [buttonName] {
        testing_support::eventually([] { return question() != nullptr; });
        QMessageBox* box = question();
        if (!box) return;
        EXPECT_EQ(box->text(), "Remove Dezovur and all of its components?");
        if (buttonName) {
            box->findChild<QPushButton*>(buttonName)->click();
        } else {
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    return uninstall::askToRemove(uninstall::Texts{}, "Dezovur");
}

TEST(QuestionBox, removes_only_on_an_explicit_yes) {
    EXPECT_TRUE(answer("yes"));
    EXPECT_FALSE(answer("no"));
    EXPECT_FALSE(answer(nullptr));  // Enter picks No
}

TEST(ResultWindow, lists_each_item_with_its_reason) {
    uninstall::Outcome outcome;
    outcome.leftovers = {{"q:\\x.dll", uninstall::Why::Outside, true},
                         {"c:\\app\\jobs\\", uninstall::Why::Kept, false}};
    uninstall::ResultWindow window(uninstall::Texts{}, "Dezovur", outcome);
    auto* list = window.findChild<QListWidget*>("leftovers");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "q:\\x.dll: outside every drive folder, not removed");
    EXPECT_EQ(list->item(1)->text(),
              "c:\\app\\jobs\\: kept: it holds files that were not installed");

    uninstall::ResultWindow clean(uninstall::Texts{}, "Dezovur", {});
    EXPECT_EQ(clean.findChild<QListWidget*>("leftovers"), nullptr);
    EXPECT_EQ(clean.findChild<QLabel*>("heading")->text(),
              "Dezovur was removed from your computer.");
}

}  // namespace
