// The folder chooser over the wizard, typed into and answered as a user would: what it
// refuses, what it asks, in which language, and over which window its boxes open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>

#include "WizardDriver.h"
#include "WizardFixture.h"
#include "setup/wizard/FolderPages.h"

using testing_support::Driver;

namespace {

const char* kGreekTag =
    "\xEF\xBB\xBF[LANGUAGE]\r\n1=Επόμενο >\r\n19=Φάκελος εγκατάστασης\r\n"
    "20=Επιλέξτε τον φάκελο όπου θα εγκατασταθεί το πρόγραμμα.\r\n25=Αναζήτηση...\r\n";

// A box as the user saw it: over which window, its words and its buttons.
struct Seen {
    QWidget* parent = nullptr;
    std::string text;
    std::vector<std::string> buttons;
};

// Answers every message box by the next button named in answers, recording it first.
class BoxAnswerer {
public:
    explicit BoxAnswerer(std::deque<std::string> answers) : answers_(std::move(answers)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible() || box->property("answered").toBool()) continue;
                box->setProperty("answered", true);
                Seen s{box->parentWidget(), box->text().remove(QChar(0x200B)).toStdString(), {}};
                for (QAbstractButton* b : box->buttons())
                    s.buttons.push_back(b->text().toStdString());
                seen.push_back(s);
                const std::string answer = answers_.empty() ? "ok" : answers_.front();
                if (!answers_.empty()) answers_.pop_front();
                if (auto* b = box->findChild<QPushButton*>(QString::fromStdString(answer)))
                    b->click();
                else
                    box->reject();
            }
        });
        timer_.start(1);
    }
    std::vector<Seen> seen;

private:
    std::deque<std::string> answers_;
    QTimer timer_;
};

struct ChooserRow {
    const char* name;
    bool greek;
    std::string typed;
    std::deque<std::string> answers;
    std::vector<std::string> texts;  // of the boxes, in order
    std::vector<std::vector<std::string>> buttons;
    bool accepted;
    const char* hostFolder;  // made by the chooser when accepted, else absent
};

void PrintTo(const ChooserRow& row, std::ostream* os) {
    *os << row.name;
}

const std::string kLong = "c:\\" + std::string(328, 'a');  // 331 characters

class ChooserTyped : public ::testing::TestWithParam<ChooserRow> {};

TEST_P(ChooserTyped, refuses_asks_and_answers_over_itself) {
    const ChooserRow& row = GetParam();
    testing_support::WizardFixture f;
    f.dataTag("[APPINFO]\r\n1=Demo\r\n[DIALOG]\r\n4=1\r\n");
    if (row.greek) f.write(f.state.languageTagPath, kGreekTag);
    Driver d(f.context());
    setup::FolderChooser chooser(*f.ctx, "Korvanet Instavo", "c:\\", &d.wizard);
    chooser.open();
    chooser.findChild<QLineEdit*>("folderPath")->setText(QString::fromStdString(row.typed));
    BoxAnswerer boxes(row.answers);
    QTest::mouseClick(chooser.findChild<QPushButton*>("ok"), Qt::LeftButton);

    ASSERT_EQ(boxes.seen.size(), row.texts.size());
    for (std::size_t i = 0; i < boxes.seen.size(); ++i) {
        EXPECT_EQ(boxes.seen[i].parent, &chooser) << "box " << i << " is not over the chooser";
        EXPECT_EQ(boxes.seen[i].text, row.texts[i]);
        EXPECT_EQ(boxes.seen[i].buttons, row.buttons[i]);
    }
    EXPECT_EQ(chooser.result() == QDialog::Accepted, row.accepted);
    EXPECT_EQ(chooser.isVisible(), !row.accepted);
    if (row.accepted) {
        EXPECT_EQ(chooser.chosen().toStdString(), row.typed);
    }
    EXPECT_EQ(f.root.fs().isDirectory(row.typed), row.accepted);
    if (row.hostFolder) {
        EXPECT_EQ(std::filesystem::exists(f.root.driveC() / row.hostFolder), row.accepted);
    }
    // Not even a shortened copy of a refused folder is made.
    EXPECT_FALSE(f.root.fs().isDirectory(kLong.substr(0, 259)));
}

INSTANTIATE_TEST_SUITE_P(
    FolderChooser, ChooserTyped,
    ::testing::Values(
        ChooserRow{"too_long_is_refused_not_cut",
                   false,
                   kLong,
                   {"ok"},
                   {"The folder:\n\nc:\\" + std::string(57, 'a') +
                    "...\n\nis 331 characters long; a folder may have at most 259. Please enter "
                    "a shorter one."},
                   {{"OK"}},
                   false,
                   nullptr},
        ChooserRow{"invalid_in_greek",
                   true,
                   "c:\\De*mo",
                   {"ok"},
                   {"Ο φάκελος:\n\nc:\\De*mo\n\nδεν είναι έγκυρος. Πληκτρολογήστε τον ξανά."},
                   {{"Εντάξει"}},
                   false,
                   nullptr},
        ChooserRow{"created_on_a_greek_yes",
                   true,
                   "c:\\Νέος\\Υπο",
                   {"yes"},
                   {"Ο φάκελος:\n\nc:\\Νέος\\Υπο\n\nδεν υπάρχει. Θέλετε να δημιουργηθεί;"},
                   {{"&Ναι", "&Όχι"}},
                   true,
                   "Νέος/Υπο"},
        ChooserRow{"declined_in_english",
                   false,
                   "c:\\New",
                   {"no"},
                   {"The folder:\n\nc:\\New\n\ndoes not exist. Do you want the folder to be "
                    "created?"},
                   {{"&Yes", "&No"}},
                   false,
                   "New"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
