#pragma once
// End-to-end widget tests: the real WindowManager with a real data folder, driven the way a
// surveyor drives the program (buttons by object name, text typed key by key, tabs and lists
// picked with the mouse or the keyboard). Expected bytes are written out in the tests.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTabBar>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <string>

#include "fee/app/WindowManager.h"
#include "platform/Locale.h"
#include "platform/Registry.h"
#include "platform/Settings.h"
#include "support/QtWaiting.h"
#include "support/TempWinRoot.h"

// Readable failures: QString shown as text.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace journey {

using testing_support::eventually;
using testing_support::gone;
using testing_support::refusals;

using fee::app::EntryMode;
using fee::app::WindowId;
using testing_support::cp1253;

inline const std::string kData = "program files/dezovur/";

inline QStringList refusalTexts() {
    QStringList texts;
    for (QMessageBox* box : refusals()) texts << box->text();
    return texts;
}

inline QStringList visibleWindows() {
    QStringList names;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) names << w->objectName();
    return names;
}

using testing_support::child;

// A mouse click in the middle of the button, as the user gives it (a hidden or disabled
// button does nothing).
inline void click(QWidget* window, const QString& button) {
    auto* b = child<QAbstractButton>(window, button);
    if (!b) return;
    EXPECT_TRUE(b->isVisible() && b->isEnabled()) << window->objectName().toStdString() << "."
                                                  << button.toStdString() << " cannot be clicked";
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
}

// Replaces the text of a field by typing, key by key (Greek included).
inline void type(QWidget* window, const QString& field, const QString& text) {
    auto* edit = child<QLineEdit>(window, field);
    if (!edit) return;
    EXPECT_TRUE(edit->isVisible() && edit->isEnabled())
        << window->objectName().toStdString() << "." << field.toStdString() << " cannot take text";
    edit->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

inline QString text(QWidget* window, const QString& name) {
    if (auto* edit = window ? window->findChild<QLineEdit*>(name) : nullptr) return edit->text();
    if (auto* label = child<QLabel>(window, name)) return label->text();
    return QStringLiteral("<none>");
}

inline void clickTab(QTabBar* bar, int index) {
    ASSERT_NE(bar, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
    ASSERT_EQ(bar->currentIndex(), index);
}

// Picks an entry of a closed drop-down list with the arrow keys, as a keyboard user does.
inline void pick(QComboBox* combo, const QString& entry) {
    ASSERT_NE(combo, nullptr);
    const int target = combo->findText(entry);
    ASSERT_GE(target, 0) << entry.toStdString();
    combo->setFocus(Qt::MouseFocusReason);
    if (combo->currentIndex() > target) QTest::keyClick(combo, Qt::Key_Home);
    while (combo->currentIndex() < target) QTest::keyClick(combo, Qt::Key_Down);
    ASSERT_EQ(combo->currentText(), entry);
}

class Journey : public ::testing::Test {
protected:
    Journey()
        : store(root.fs(), platform::decimalSeparator()),
          registry(platform::makeFileRegistry(root.root())),
          settings(platform::makeRegistrySettings(*registry)) {
        // What the installation leaves: an empty job list and engineer list, λ = 0.2935.
        root.writeHostFile(kData + "Ergasies.dat", "");
        root.writeHostFile(kData + "mix.dat", "");
        root.writeHostFile(kData + "l.dat", "29350\r\n");
        manager = std::make_unique<fee::app::WindowManager>(store, *settings, fee::app::Timings{1},
                                                            [this] { ++quits; });
    }
    ~Journey() override {
        manager.reset();
        for (QMessageBox* box : refusals()) delete box;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QWidget* window(WindowId id) const { return manager->window(id); }
    QWidget* entry(fee::CategoryId category, EntryMode mode) const {
        return manager->entryWindow(category, mode);
    }
    // The program as started: the splash, then the main menu when its timer runs out.
    QWidget* start() {
        manager->open(WindowId::Splash);
        QPointer<QWidget> splash = window(WindowId::Splash);
        EXPECT_NE(splash, nullptr);
        EXPECT_TRUE(eventually([&] { return gone(splash); }));
        QWidget* menu = window(WindowId::MainMenu);
        EXPECT_NE(menu, nullptr);
        return menu;
    }

    std::string read(const std::string& relativeToData) const {
        return root.readHostFile(kData + relativeToData);
    }
    bool exists(const std::string& relativeToData) const {
        return std::filesystem::exists(root.driveC() / kData / relativeToData);
    }
    // Every file below the data folder with its bytes.
    std::map<std::string, std::string> snapshot() const {
        std::map<std::string, std::string> files;
        const auto base = root.driveC() / kData;
        for (const auto& e : std::filesystem::recursive_directory_iterator(base))
            files[std::filesystem::relative(e.path(), base).string()] =
                e.is_regular_file() ? root.readHostFile(e.path().lexically_relative(root.driveC()))
                                    : "<folder>";
        return files;
    }

    testing_support::TempWinRoot root;
    fee::DataStore store;
    std::unique_ptr<platform::Registry> registry;
    std::unique_ptr<platform::SettingsStore> settings;
    int quits = 0;
    std::unique_ptr<fee::app::WindowManager> manager;
};

}  // namespace journey
