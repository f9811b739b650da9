// Our own texts, the ones language.tag has no key for, follow the package's language: the
// wizard's pages walked with no language.tag, a Greek one, and English ones.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "WizardDriver.h"
#include "WizardFixture.h"
#include "setup/wizard/FolderPages.h"
#include "support/QtWaiting.h"

using testing_support::Driver;
using testing_support::eventually;

namespace {

const char* kPages = "[DIALOG]\r\n1=1\r\n5=1\r\n9=1\r\nCOMPLETE2=1\r\n[FILES]\r\nTOTAL=1\r\n";

// What the user sees of our own texts in each language, written out here.
struct Seen {
    const char* licencePlaceholderStart;
    const char* fileColumn;
    const char* destinationColumn;
    const char* headerIcon;
    const char* pleaseWait;
    const char* downloadCaption;
    const char* choosePrompt;
    const char* chooserOk;
    const char* chooserCancel;
};
const Seen kEnglish{"To add your own license text to this dialog",
                    "FileName",
                    "Destination",
                    "Setup",
                    "Please Wait...",
                    "Download Progress:",
                    "Choose destination directory...",
                    "OK",
                    "Cancel"};
const Seen kGreek{"Για να εμφανίζεται εδώ το δικό σας κείμενο άδειας χρήσης",
                  "Αρχείο",
                  "Προορισμός",
                  "Εγκατάσταση",
                  "Παρακαλώ περιμένετε...",
                  "Πρόοδος λήψης:",
                  "Επιλέξτε τον φάκελο προορισμού...",
                  "Εντάξει",
                  "Άκυρο"};

struct LanguageRow {
    const char* name;
    const char* product;
    const char* languageTag;  // none: no language.tag
    const Seen* seen;
};

void PrintTo(const LanguageRow& row, std::ostream* os) {
    *os << row.name;
}

class OwnTexts : public ::testing::TestWithParam<LanguageRow> {};

TEST_P(OwnTexts, follow_the_package_language) {
    const LanguageRow& row = GetParam();
    const Seen& seen = *row.seen;
    testing_support::WizardFixture f;
    f.dataTag("[APPINFO]\r\n1=" + std::string(row.product) + "\r\n" + kPages);
    f.state.productName = row.product;
    f.write(f.state.datafilePath, "C:\\b\\a.txt\r\n<Install Dir>*0,0,0\r\n");
    if (row.languageTag) f.write(f.state.languageTagPath, row.languageTag);
    Driver d(f.context());

    ASSERT_EQ(d.wizard.currentPage(), "license");
    EXPECT_TRUE(d.find<QPlainTextEdit>("licenseText")
                    ->toPlainText()
                    .startsWith(QString::fromUtf8(seen.licencePlaceholderStart)));
    auto* icon = d.find<QWidget>("license")->findChild<QLabel*>("headerIcon");
    EXPECT_EQ(icon->accessibleName().toStdString(), seen.headerIcon);

    {
        setup::FolderChooser chooser(*f.ctx, "Korvanet Instavo", "c:\\", &d.wizard);
        EXPECT_EQ(chooser.findChild<QLabel*>("prompt")->text().toStdString(), seen.choosePrompt);
        EXPECT_EQ(chooser.findChild<QPushButton*>("ok")->text().toStdString(), seen.chooserOk);
        EXPECT_EQ(chooser.findChild<QPushButton*>("cancel")->text().toStdString(),
                  seen.chooserCancel);
    }

    d.find<QRadioButton>("accept")->setChecked(true);
    d.click("next");
    d.find<QRadioButton>("custom")->setChecked(true);
    d.click("next");
    ASSERT_EQ(d.wizard.currentPage(), "custom");
    QTreeWidgetItem* header = d.find<QTreeWidget>("files")->headerItem();
    EXPECT_EQ(header->text(0).toStdString(), seen.fileColumn);
    EXPECT_EQ(header->text(1).toStdString(), seen.destinationColumn);

    d.click("next");
    ASSERT_TRUE(eventually([&] { return d.wizard.currentPage() == "complete"; }));
    QWidget* progress = d.find<QWidget>("progress");
    // Before the first file the status says to wait, when there is a language file.
    EXPECT_EQ(progress->findChild<QLabel*>("status")->text().toStdString(),
              row.languageTag ? seen.pleaseWait : "");
    EXPECT_EQ(progress->findChild<QLabel*>("downloadCaption")->text().toStdString(),
              seen.downloadCaption);
}

INSTANTIATE_TEST_SUITE_P(
    Wizard, OwnTexts,
    ::testing::Values(
        LanguageRow{"no_language_file", "Demo", nullptr, &kEnglish},
        LanguageRow{"greek_language_file", "Demo",
                    "\xEF\xBB\xBF[LANGUAGE]\r\n1=Επόμενο >\r\n3=Άκυρο\r\n"
                    "6=Άδεια χρήσης του ********\r\n58=Επιλογή αρχείων\r\n",
                    &kGreek},
        // The product's name goes into the texts, and must not decide their language.
        LanguageRow{"english_file_greek_product", "Γεωμετρικές Αποτυπώσεις",
                    "[LANGUAGE]\r\n1=Next >\r\n6=License of ********\r\n"
                    "58=Choose the files of ********\r\n",
                    &kEnglish},
        LanguageRow{"greek_file_latin_name", "Orvekia Setup Pro",
                    "\xEF\xBB\xBF[LANGUAGE]\r\n6=Άδεια χρήσης του ********\r\n"
                    "7=Διαβάστε τους όρους (license.txt).\r\n",
                    &kGreek},
        // Windows-1253 bytes, as a package made on a Greek Windows holds them.
        LanguageRow{"greek_in_the_ansi_code_page", "Demo",
                    "[LANGUAGE]\r\n6=\xC1\xE4\xE5\xE9\xE1 \xF7\xF1\xDE\xF3\xE7\xF2\r\n", &kGreek},
        // A language that is neither Greek nor English gets English.
        LanguageRow{"french_file", "Demo",
                    "[LANGUAGE]\r\n6=Contrat de licence\r\n7=Lisez attentivement le contrat.\r\n",
                    &kEnglish}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
