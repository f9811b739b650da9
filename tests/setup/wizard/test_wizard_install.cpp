// The wizard with the real installation engine behind its pages: a small package in a
// temporary root, installed (or rolled back) by the engine as setup's main wires it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <functional>

#include "WizardDriver.h"
#include "WizardFixture.h"
#include "record/Journal.h"
#include "setup/config/ExitStatus.h"
#include "setup/wizard/CWizard.h"
#include "support/QtWaiting.h"

using namespace setup;
using testing_support::Driver;
using testing_support::eventually;

namespace {

const char* kCancelQuestion = "Do you wish cancel the installation ?";
const char* kInstallDir = "c:\\Program Files\\Demo\\";

// Calls action on every turn of the event loop (the copy pass turns it before each file)
// until it returns true.
class Watcher {
public:
    explicit Watcher(std::function<bool()> action) : action_(std::move(action)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (action_()) timer_.stop();
        });
        timer_.start(0);
    }

private:
    std::function<bool()> action_;
    QTimer timer_;
};

// The wizard's own cancel questions, answered with key and counted.
class QuestionAnswerer {
public:
    explicit QuestionAnswerer(Qt::Key key) {
        QObject::connect(&timer_, &QTimer::timeout, [this, key] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == "cancelQuestion" && w->isVisible() &&
                    !w->property("answered").toBool()) {
                    w->setProperty("answered", true);
                    ++count;
                    QTest::keyClick(w, key);
                }
        });
        timer_.start(1);
    }
    int count = 0;

private:
    QTimer timer_;
};

std::string fileName(int i) { return "f" + std::to_string(i) + ".txt"; }

struct CancelRow {
    const char* name;
    bool cancel;  // the user's answer to the cancel question
};

void PrintTo(const CancelRow& row, std::ostream* os) { *os << row.name; }

class CancelDuringInstall : public ::testing::TestWithParam<CancelRow> {};

// Cancel is pressed once a few files are in place; the user gives the same answer to every
// question put to them, and must be asked once.
TEST_P(CancelDuringInstall, the_answer_decides_and_is_asked_once) {
    const CancelRow& row = GetParam();
    testing_support::WizardFixture f;
    constexpr int kFiles = 40;
    f.dataTag("[APPINFO]\r\n1=Demo\r\n[DIALOG]\r\n7=1\r\n9=1\r\nCOMPLETE2=1\r\n[FILES]\r\nTOTAL=" +
              std::to_string(kFiles) + "\r\n");
    std::vector<std::pair<std::string, std::string>> pairs;
    for (int i = 0; i < kFiles; ++i)
        pairs.emplace_back("C:\\build\\" + fileName(i), "<Install Dir>*0,0,0");
    f.writePackage(pairs);
    for (int i = 0; i < 4; ++i)
        f.prompter.answers.push_back(row.cancel ? Answer::Yes : Answer::No);
    Driver d(f.engineContext());
    QuestionAnswerer wizardQuestions(row.cancel ? Qt::Key_Escape : Qt::Key_Return);

    // Pressed while the copy pass is under way: the third file is in place, the last is not.
    bool pressed = false, midway = false;
    Watcher press([&] {
        if (!f.root.fs().exists(std::string(kInstallDir) + fileName(2))) return false;
        midway = !f.root.fs().exists(std::string(kInstallDir) + fileName(kFiles - 1));
        pressed = true;
        d.click("cancel");
        return true;
    });
    d.click("next");
    ASSERT_EQ(d.wizard.currentPage(), "progress");

    if (row.cancel) {
        ASSERT_TRUE(eventually([&] { return d.wizard.ended(); }));
    } else {
        ASSERT_TRUE(eventually([&] { return d.wizard.currentPage() == "complete"; }));
    }
    ASSERT_TRUE(pressed);
    EXPECT_TRUE(midway);
    int engineQuestions = 0;
    for (const std::string& m : f.prompter.messages) engineQuestions += m == kCancelQuestion;
    EXPECT_EQ(wizardQuestions.count + engineQuestions, 1)
        << "wizard's boxes " << wizardQuestions.count << ", engine's " << engineQuestions;

    if (row.cancel) {
        EXPECT_EQ(d.wizard.exitStatus(), kExitCancelled);
        // The folder held the log and the journal: neither is left.
        EXPECT_FALSE(f.root.fs().exists("c:\\Program Files\\Demo"));
        EXPECT_NE(f.state.state(), InstallState::Done);
        EXPECT_TRUE(f.launcher.calls.empty());
    } else {
        d.click("cancel");  // Finish
        EXPECT_EQ(d.wizard.exitStatus(), kExitDone);
        for (int i = 0; i < kFiles; ++i)
            EXPECT_EQ(f.root.fs().readFile(std::string(kInstallDir) + fileName(i)).value_or("<none>"),
                      "member " + std::to_string(i))
                << fileName(i);
        ASSERT_NE(f.install->installer(), nullptr);
        EXPECT_TRUE(f.root.fs().exists(f.install->installer()->logPath()));
    }
    // Either way the unpacked members are gone.
    for (int i = 0; i < kFiles; ++i)
        EXPECT_FALSE(f.root.fs().exists("c:\\windows\\temp\\ext\\F" + std::to_string(i) + "_" +
                                        fileName(i)))
            << i;
}

INSTANTIATE_TEST_SUITE_P(Wizard, CancelDuringInstall,
                         ::testing::Values(CancelRow{"yes_rolls_back", true},
                                           CancelRow{"no_goes_through", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Ticks exactly the rows named in ticked on the custom list.
void tickOnly(QTreeWidget* rows, const std::vector<std::string>& ticked) {
    for (int i = 0; i < rows->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = rows->topLevelItem(i);
        const bool on = std::find(ticked.begin(), ticked.end(), item->text(0).toStdString()) !=
                        ticked.end();
        item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    }
}

const char* kTypePages =
    "[APPINFO]\r\n1=Demo\r\n[DIALOG]\r\n5=1\r\n9=1\r\nCOMPLETE2=1\r\n[FILES]\r\nTOTAL=3\r\n";

// The names of the package's three files as the custom list shows them, and which of them
// are installed once the wizard is done.
std::vector<std::string> installedOf(testing_support::WizardFixture& f,
                                     const std::vector<std::string>& names) {
    std::vector<std::string> installed;
    for (const std::string& name : names)
        if (f.root.fs().exists(kInstallDir + name)) installed.push_back(name);
    return installed;
}

TEST(WizardInstall, custom_list_installs_the_ticked_greek_file) {
    testing_support::WizardFixture f;
    f.dataTag(kTypePages);
    const std::vector<std::string> names{"Εργασίες.dat", "μελέτη.txt", "plain.txt"};
    f.writePackage({{"C:\\έργο\\" + names[0], "<Install Dir>*0,0,0"},
               {"C:\\έργο\\" + names[1], "<Install Dir>*0,0,0"},
               {"C:\\έργο\\" + names[2], "<Install Dir>*0,0,0"}});
    Driver d(f.engineContext());
    d.find<QRadioButton>("custom")->setChecked(true);
    d.click("next");
    ASSERT_EQ(d.wizard.currentPage(), "custom");
    auto* rows = d.find<QTreeWidget>("files");
    ASSERT_TRUE(eventually([&] { return rows->topLevelItemCount() == 3; }));
    std::vector<std::string> shown;
    for (int i = 0; i < 3; ++i) shown.push_back(rows->topLevelItem(i)->text(0).toStdString());
    EXPECT_EQ(shown, names);
    tickOnly(rows, {names[0], names[2]});
    d.click("next");
    ASSERT_TRUE(eventually([&] { return d.wizard.currentPage() == "complete"; }));
    EXPECT_EQ(installedOf(f, names), (std::vector<std::string>{names[0], names[2]}));
    EXPECT_EQ(f.root.fs().readFile(kInstallDir + names[0]).value_or("<none>"), "member 0");
    // The installed Greek name is the one the extractor wrote, in UTF-8 on the host.
    EXPECT_EQ(f.root.readHostFile("Program Files/Demo/Εργασίες.dat"), "member 0");
    // Every unpacked member, Greek ones too, was found by its name and taken away.
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(f.root.fs().exists("c:\\windows\\temp\\ext\\F" + std::to_string(i) + "_" +
                                        names[i]))
            << names[i];
    d.click("cancel");
    EXPECT_EQ(d.wizard.exitStatus(), kExitDone);
}

struct BackRow {
    const char* name;
    bool clickTypical;  // the user picks Typical again on the type page
};

void PrintTo(const BackRow& row, std::ostream* os) { *os << row.name; }

class BackFromCustom : public ::testing::TestWithParam<BackRow> {};

// Custom, one file unticked, Back: what is installed is what the type page shows.
TEST_P(BackFromCustom, installs_the_type_the_page_shows) {
    const BackRow& row = GetParam();
    testing_support::WizardFixture f;
    f.dataTag(kTypePages);
    const std::vector<std::string> names{"a.txt", "b.txt", "c.txt"};
    f.writePackage({{"C:\\b\\a.txt", "<Install Dir>*0,0,0"},
               {"C:\\b\\b.txt", "<Install Dir>*0,0,0"},
               {"C:\\b\\c.txt", "<Install Dir>*0,0,0"}});
    Driver d(f.engineContext());
    d.find<QRadioButton>("custom")->setChecked(true);
    d.click("next");
    ASSERT_EQ(d.wizard.currentPage(), "custom");
    auto* rows = d.find<QTreeWidget>("files");
    ASSERT_TRUE(eventually([&] { return rows->topLevelItemCount() == 3; }));
    tickOnly(rows, {"a.txt", "c.txt"});
    d.click("back");
    ASSERT_EQ(d.wizard.currentPage(), "setuptype");
    if (row.clickTypical) {
        QTest::mouseClick(d.find<QRadioButton>("typical"), Qt::LeftButton);
        ASSERT_TRUE(d.find<QRadioButton>("typical")->isChecked());
    }
    const bool showsCustom = d.find<QRadioButton>("custom")->isChecked();
    const bool showsTypical = d.find<QRadioButton>("typical")->isChecked();
    ASSERT_TRUE(showsCustom || showsTypical);
    d.click("next");
    // Custom shown: its list comes again and is taken as it stands.
    if (d.wizard.currentPage() == "custom") d.click("next");
    ASSERT_TRUE(eventually([&] { return d.wizard.currentPage() == "complete"; }));
    const std::vector<std::string> expected =
        showsTypical ? names : std::vector<std::string>{"a.txt", "c.txt"};
    EXPECT_EQ(installedOf(f, names), expected)
        << (showsTypical ? "the page showed Typical" : "the page showed Custom");
}

INSTANTIATE_TEST_SUITE_P(Wizard, BackFromCustom,
                         ::testing::Values(BackRow{"typical_chosen_again", true},
                                           BackRow{"page_left_as_shown", false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// Custom, Next, Next at once, with the wizard's real timings: the list is there to install.
TEST(WizardInstall, quick_custom_next_next_installs_the_whole_list) {
    testing_support::WizardFixture f;
    f.dataTag(kTypePages);
    const std::vector<std::string> names{"a.txt", "b.txt", "c.txt"};
    f.writePackage({{"C:\\b\\a.txt", "<Install Dir>*0,0,0"},
                    {"C:\\b\\b.txt", "<Install Dir>*0,0,0"},
                    {"C:\\b\\c.txt", "<Install Dir>*0,0,0"}});
    WizardContext& c = f.engineContext();
    c.timings = WizardTimings{};
    c.timings.installDelayMs = 0;
    c.timings.pollMs = 0;
    Driver d(c);
    QTest::mouseClick(d.find<QRadioButton>("custom"), Qt::LeftButton);
    d.click("next");
    ASSERT_EQ(d.wizard.currentPage(), "custom");
    EXPECT_EQ(d.find<QTreeWidget>("files")->topLevelItemCount(), 3);
    d.click("next");
    ASSERT_TRUE(eventually([&] { return d.wizard.currentPage() == "complete"; }));
    EXPECT_EQ(installedOf(f, names), names);
}

// The ways a row's box is ticked: the mouse on its box and the space bar on the row. (A screen
// reader's toggle action on a cell selects it in Qt 6.4; it does not tick.)
enum class Tick { Mouse, Keyboard };

void toggle(QTreeWidget* rows, int row, Tick how) {
    QTreeWidgetItem* item = rows->topLevelItem(row);
    switch (how) {
        case Tick::Mouse: {
            QStyleOptionViewItem option;
            option.initFrom(rows);
            option.rect = rows->visualItemRect(item);
            option.features |= QStyleOptionViewItem::HasCheckIndicator;
            const QRect box = rows->style()->subElementRect(
                QStyle::SE_ItemViewItemCheckIndicator, &option, rows);
            QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, box.center());
            break;
        }
        case Tick::Keyboard:
            rows->setCurrentItem(item);
            QTest::keyClick(rows, Qt::Key_Space);
            break;
    }
}

class NextFollowsTicks : public ::testing::TestWithParam<Tick> {};

TEST_P(NextFollowsTicks, nothing_ticked_nothing_to_go_on_with) {
    testing_support::WizardFixture f;
    f.dataTag(kTypePages);
    f.writePackage({{"C:\\b\\a.txt", "<Install Dir>*0,0,0"},
                    {"C:\\b\\b.txt", "<Install Dir>*0,0,0"}});
    Driver d(f.engineContext());
    d.find<QRadioButton>("custom")->setChecked(true);
    d.click("next");
    ASSERT_EQ(d.wizard.currentPage(), "custom");
    auto* rows = d.find<QTreeWidget>("files");
    QPushButton* next = d.button("next");
    toggle(rows, 0, GetParam());
    EXPECT_TRUE(next->isEnabled());
    toggle(rows, 1, GetParam());
    ASSERT_EQ(rows->topLevelItem(1)->checkState(0), Qt::Unchecked);
    EXPECT_FALSE(next->isEnabled());
    // Back and in again: still nothing ticked, still no Next.
    d.click("back");
    EXPECT_TRUE(next->isEnabled());
    d.click("next");
    ASSERT_EQ(d.wizard.currentPage(), "custom");
    EXPECT_FALSE(next->isEnabled());
    toggle(rows, 1, GetParam());
    EXPECT_TRUE(next->isEnabled());
    d.click("next");
    ASSERT_TRUE(eventually([&] { return d.wizard.currentPage() == "complete"; }));
    EXPECT_EQ(installedOf(f, {"a.txt", "b.txt"}), std::vector<std::string>{"b.txt"});
}

std::string tickName(const ::testing::TestParamInfo<Tick>& info) {
    return info.param == Tick::Mouse ? "mouse" : "keyboard";
}

INSTANTIATE_TEST_SUITE_P(Wizard, NextFollowsTicks, ::testing::Values(Tick::Mouse, Tick::Keyboard),
                         tickName);

// The uninstaller learns the package's language from the installation's journal.
TEST(WizardInstall, journal_records_the_package_language) {
    const struct {
        const char* name;
        const char* languageTag;
        const char* code;
    } rows[] = {
        {"none", nullptr, "en"},
        {"greek", "\xEF\xBB\xBF[LANGUAGE]\r\n1=Επόμενο >\r\n56=Θέλετε να διακόψετε;\r\n", "el"},
        {"english", "[LANGUAGE]\r\n1=Next >\r\n", "en"},
    };
    for (const auto& row : rows) {
        testing_support::WizardFixture f;
        f.dataTag("[APPINFO]\r\n1=Demo\r\n[DIALOG]\r\n7=1\r\n9=1\r\nCOMPLETE2=1\r\n[FILES]\r\n"
                  "TOTAL=1\r\n");
        f.writePackage({{"C:\\b\\a.txt", "<Install Dir>*0,0,0"}});
        if (row.languageTag) f.write(f.state.languageTagPath, row.languageTag);
        Driver d(f.engineContext());
        d.click("next");
        ASSERT_TRUE(eventually([&] { return d.wizard.currentPage() == "complete"; })) << row.name;
        const auto journal = record::readJournal(
            f.root.fs(), record::journalPathFor(f.install->installer()->logPath()));
        ASSERT_TRUE(journal) << row.name;
        std::vector<std::string> languages;
        for (const record::Record& r : journal->records)
            if (r.tag == "language") languages.push_back(r.field(0));
        EXPECT_EQ(languages, std::vector<std::string>{row.code}) << row.name;
    }
}

}  // namespace
