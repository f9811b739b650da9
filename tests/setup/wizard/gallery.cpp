// Not a test: walks the wizard through every page and saves a picture of each, in English or
// with a Greek language file, for looking at the layout by eye.
//   wizard_gallery en|el <output folder>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "WizardFixture.h"
#include "setup/wizard/CWizard.h"
#include "setup/wizard/FolderPages.h"
#include "support/QtWaiting.h"

namespace {

const char* kGreek =
    "\xEF\xBB\xBF[LANGUAGE]\r\n1=Επόμενο >\r\n2=< Πίσω\r\n3=Άκυρο\r\n"
    "4=Θα εγκατασταθεί το ******** στον υπολογιστή σας. Πατήστε Επόμενο για να "
    "συνεχίσετε.\r\n5=Καλώς ήλθατε στην εγκατάσταση του ********\r\n"
    "6=Άδεια χρήσης\r\n7=Διαβάστε προσεκτικά την παρακάτω άδεια χρήσης.\r\n"
    "8=Δεν αποδέχομαι τους όρους της άδειας χρήσης\r\n9=Αποδέχομαι τους όρους της άδειας χρήσης\r\n"
    "10=Ναι\r\n11=Όχι\r\n12=Πληροφορίες\r\n13=Διαβάστε το παρακάτω κείμενο.\r\n"
    "14=Στοιχεία πελάτη\r\n15=Συμπληρώστε τα στοιχεία σας.\r\n16=Όνομα χρήστη:\r\n"
    "17=Επωνυμία εταιρείας:\r\n19=Επιλογή φακέλου προορισμού\r\n"
    "20=Επιλέξτε τον φάκελο όπου θα εγκατασταθούν τα αρχεία.\r\n"
    "22=Εγκατάσταση του ******** στον φάκελο:\r\n25=Αναζήτηση\r\n26=Τύπος εγκατάστασης\r\n"
    "27=Επιλέξτε τον τύπο εγκατάστασης.\r\n"
    "28=Το πρόγραμμα θα εγκατασταθεί με τις συνηθέστερες επιλογές. Συνιστάται για τους "
    "περισσότερους χρήστες.\r\n29=Το πρόγραμμα θα εγκατασταθεί με τις ελάχιστες απαραίτητες "
    "επιλογές.\r\n30=Επιλέγετε εσείς τι θα εγκατασταθεί. Συνιστάται για προχωρημένους "
    "χρήστες.\r\n31=Τυπική\r\n32=Ελάχιστη\r\n33=Προσαρμοσμένη\r\n34=Επιλογή ομάδας προγραμμάτων\r\n"
    "35=Επιλέξτε μια ομάδα προγραμμάτων.\r\n36=Υπάρχουσες ομάδες:\r\n39=Έναρξη αντιγραφής\r\n"
    "40=Ελέγξτε τις ρυθμίσεις πριν την αντιγραφή.\r\n41=Υπάρχουν όλα τα απαραίτητα στοιχεία για "
    "την αντιγραφή των αρχείων. Για αλλαγές πατήστε Πίσω, αλλιώς Επόμενο.\r\n"
    "42=Τρέχουσες ρυθμίσεις:\r\n43=Η εγκατάσταση ολοκληρώθηκε\r\n"
    "44=Πρέπει να γίνει επανεκκίνηση του υπολογιστή για να ισχύσουν οι αλλαγές. Επανεκκίνηση "
    "τώρα;\r\n48=Ανάγνωση του αρχείου readme.txt\r\n49=Εκτέλεση του προγράμματος\r\n"
    "51=Κατάσταση εγκατάστασης\r\n52=Γίνεται εγκατάσταση των αρχείων.\r\n"
    "56=Θέλετε να ακυρώσετε την εγκατάσταση;\r\n57=Τέλος\r\n58=Προσαρμογή εγκατάστασης\r\n"
    "59=Επιλέξτε τα αρχεία προς εγκατάσταση:\r\n";

const char* kData =
    "[APPINFO]\r\n1=Dezovur\r\n2=dezovur.exe\r\n[DIALOG]\r\n0=1\r\n1=1\r\n2=1\r\n3=1\r\n4=1\r\n"
    "5=1\r\n6=1\r\n7=1\r\n8=1\r\n9=1\r\nDS4=Dezovur\r\nCOMPLETE1=0\r\nCOMPLETE2=0\r\n"
    "COMPLETE3=1\r\nCOMPLETE4=1\r\n[FILES]\r\nTOTAL=2\r\n";

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) return 2;
    bool greek = QString::fromLocal8Bit(argv[1]) == "el";
    QDir out(QString::fromLocal8Bit(argv[2]));
    out.mkpath(".");
    testing_support::WizardFixture f;
    f.dataTag(kData);
    f.state.productName = "Dezovur";
    f.write(f.state.datafilePath,
            "C:\\build\\dezovur.exe\r\n<Install Dir>*0,0,0\r\nC:\\build\\l.dat\r\n"
            "<Install Dir>*1,0,0\r\n");
    f.write("c:\\windows\\temp\\ext\\license.txt",
            greek ? "\xC1\xE4\xE5\xE9\xE1 \xF7\xF1\xDE\xF3\xE7\xF2 (Windows-1253)." : "Licence.");
    f.root.fs().createDirectory("c:\\menu\\programs\\Accessories");
    if (greek) f.write(f.state.languageTagPath, kGreek);
    // The engine is not part of this picture book: the run ends only when told to.
    auto& ctx = f.context();
    ctx.startInstall = [](setup::ProgressView& view) {
        view.setRange(10);
        view.setValue(4);
        view.setStatus("Copying files...");
        view.setCurrentFile("c:\\Program Files\\Dezovur\\dezovur.exe");
        view.showDownload(true);
        view.setDownloadPercent(40);
        view.setDownloadLines("Estimated time left: 1 min 5 sec (40 KB of 100 KB)",
                              "Transfer Rate: 1.20 KB/Sec");
        return true;
    };
    setup::CWizard wizard(ctx);
    wizard.show();
    wizard.begin();
    int shot = 0;
    auto save = [&](QWidget* w, const QString& name) {
        testing_support::eventually([] { return false; }, 150);
        w->grab().save(
            out.filePath(QStringLiteral("%1-%2.png").arg(++shot, 2, 10, QChar('0')).arg(name)));
    };
    auto next = [&] { wizard.findChild<QPushButton*>("next")->click(); };
    for (int i = 0; i < 6; ++i) {
        QString page = QString::fromStdString(wizard.currentPage());
        if (page == "license") wizard.findChild<QRadioButton*>("accept")->setChecked(true);
        save(&wizard, page);
        if (page == "setuptype") break;
        next();
    }
    wizard.findChild<QRadioButton*>("custom")->setChecked(true);
    next();
    save(&wizard, QString::fromStdString(wizard.currentPage()));
    next();
    save(&wizard, QString::fromStdString(wizard.currentPage()));
    next();
    save(&wizard, QString::fromStdString(wizard.currentPage()));

    QTimer::singleShot(300, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "cancelQuestion" && w->isVisible()) {
                save(w, "cancel-question");
                static_cast<QDialog*>(w)->accept();
            }
    });
    wizard.findChild<QPushButton*>("cancel")->click();

    setup::FolderChooser chooser(ctx, "Korvanet Instavo", "c:\\menu", &wizard);
    chooser.show();
    save(&chooser, "folder-chooser");
    chooser.hide();

    next();
    save(&wizard, "progress");
    f.state.setState(setup::InstallState::Done);
    testing_support::eventually([&] { return wizard.currentPage() == "complete"; }, 2000);
    save(&wizard, QString::fromStdString(wizard.currentPage()));
    QTimer::singleShot(300, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "restartQuestion" && w->isVisible()) {
                save(w, "restart-question");
                static_cast<QDialog*>(w)->reject();
            }
    });
    wizard.findChild<QPushButton*>("cancel")->click();
    return 0;
}
