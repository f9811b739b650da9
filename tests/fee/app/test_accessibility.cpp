// What a screen reader hears: every window of the program is named by its caption, every button
// by its caption, every field by the label beside it, and nothing a user can operate is silent.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <memory>
#include <ostream>
#include <vector>

#include "fee/app/DocumentFrame.h"
#include "fee/app/WindowManager.h"
#include "support/AppFixture.h"

// Readable failures: QString shown as text.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

using fee::app::EntryMode;
using fee::app::WindowId;

QString spoken(QWidget* w) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// On Linux Qt speaks a drop-down list by its current text and names it through its label
// relation: what it is called is its accessible name.
QString called(QWidget* w) {
    return qobject_cast<QComboBox*>(w) ? w->accessibleName() : spoken(w);
}

QString withoutMnemonic(QString text) {
    return text.remove(QLatin1Char('&'));
}

std::string describe(QWidget* window, QWidget* w) {
    return (window->objectName() + QStringLiteral(" / ") + w->objectName() + QStringLiteral(" (") +
            QString::fromLatin1(w->metaObject()->className()) + QStringLiteral(")"))
        .toStdString();
}

void expectSpeakable(QWidget* window) {
    ASSERT_FALSE(window->windowTitle().isEmpty()) << window->objectName().toStdString();
    EXPECT_EQ(spoken(window), window->windowTitle()) << window->objectName().toStdString();

    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text().isEmpty()) continue;  // tool buttons of the frame itself
        EXPECT_EQ(spoken(button), withoutMnemonic(button->text())) << describe(window, button);
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        // A caption beside a read-only value is read with it; only fields take its name.
        if (!label->buddy() || qobject_cast<QLabel*>(label->buddy())) continue;
        EXPECT_EQ(called(label->buddy()), withoutMnemonic(label->text()).trimmed())
            << describe(window, label->buddy());
    }
    std::vector<QWidget*> fields;
    for (QLineEdit* w : window->findChildren<QLineEdit*>())
        if (!qobject_cast<QComboBox*>(w->parentWidget())) fields.push_back(w);
    for (QComboBox* w : window->findChildren<QComboBox*>()) fields.push_back(w);
    for (QTextEdit* w : window->findChildren<QTextEdit*>()) fields.push_back(w);
    for (QPlainTextEdit* w : window->findChildren<QPlainTextEdit*>()) fields.push_back(w);
    for (QWidget* field : fields) EXPECT_FALSE(called(field).isEmpty()) << describe(window, field);
}

class Accessibility : public ::testing::Test, public testing_support::AppFixture {
protected:
    Accessibility() {
        fee::Particulars p;
        p[fee::Particulars::OwnerFirst] = "Α";
        p[fee::Particulars::OwnerLast] = "Β";
        p[fee::Particulars::EngineerFirst] = "Γ";
        p[fee::Particulars::EngineerLast] = "Δ";
        p[fee::Particulars::Specialty] = "Αρχιτεκτονας Μηχανικός";
        EXPECT_EQ(store.createJob(p), fee::StoreStatus::Ok);
        store.finish("c:\\program files\\dezovur\\ΑΒ");
    }
};

TEST_F(Accessibility, every_window_and_control_has_a_name) {
    for (WindowId id :
         {WindowId::Splash, WindowId::MainMenu, WindowId::Help, WindowId::Particulars,
          WindowId::NewEngineer, WindowId::WorkMenu, WindowId::EditMenu, WindowId::Overview,
          WindowId::OpenJob, WindowId::DeleteConfirm, WindowId::LambdaWorkMenu,
          WindowId::LambdaEditMenu, WindowId::LambdaOverview, WindowId::TrigWarning}) {
        std::unique_ptr<QWidget> window(fee::app::createWindow(context, id));
        ASSERT_NE(window, nullptr) << static_cast<int>(id);
        SCOPED_TRACE(window->objectName().toStdString());
        expectSpeakable(window.get());
    }
    for (auto mode : {EntryMode::New, EntryMode::Edit}) {
        for (auto category :
             {fee::CategoryId::Analog, fee::CategoryId::Taxi, fee::CategoryId::Asti,
              fee::CategoryId::Polygon, fee::CategoryId::Rymotom, fee::CategoryId::Trig,
              fee::CategoryId::Them, fee::CategoryId::Xilosta, fee::CategoryId::Oix}) {
            std::unique_ptr<QWidget> window(fee::app::createEntry(context, category, mode));
            ASSERT_NE(window, nullptr);
            SCOPED_TRACE(window->objectName().toStdString());
            expectSpeakable(window.get());
        }
    }
}

TEST_F(Accessibility, the_document_frame_and_its_statement_have_names) {
    ASSERT_EQ(fee::assembleStatement(store), fee::AssemblyResult::Ok);
    int counter = 0;
    auto* frame = new fee::app::DocumentFrame(context, counter);
    std::unique_ptr<QWidget> owner(frame);
    expectSpeakable(frame);
}

}  // namespace
