// A new job from the splash to the printed statement, and ending the program, through the
// real window manager.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>

#include "fee/app/DocumentFrame.h"
#include "fee/app/DocumentWindow.h"
#include "journey_support.h"
#include "temp_home.h"

namespace {

using namespace journey;

const std::string kJob = "ΓιάννηςΠαπαδόπουλος/";

// The statement of the job typed below: scale 1:500 inside the plan, λ = 0.2935, and only
// tachymetry: 12.5 stremmata of 0%-5% and 4 of 20%-50% with altimetry.
//   12.5 x 130 = 1625, 4 x 182 = 728, S = 2353; altimetry 0.6 x 2353 = 1411.8 -> 1412;
//   T = 3765 = G.
//   λ = single(29350) / 100000 = 0.29350000619888306 (single), printed ",2935".
//   G x λ x 100 = 110502.75... -> floor 110502 -> F = 1105.02 (single 1105.02001953125).
//   ΦΠΑ   F x 0.18 x 100 = 19890.36 -> 198.9
//   ΦΕΜ   F x 0.04 x 100 =  4420.08 ->  44.2
//   ΤΣΜΕΔΕ F x 0.03 x 100 = 3315.06 ->  33.15
//   ΤΕΕ   F x 0.02 x 100 =  2210.04 ->  22.1
//   total (F x 0.27 + F) x 100 = 140337.54... -> 1403.37
QString rule(int count, char c) {
    return QString(count, QLatin1Char(c));
}

const QString kStatement =
    // arxi1.dat
    QStringLiteral(
        "\tOrvekia 1.3.0 - Νίκος Παπαδάκης, Αγρονόμος Τοπογράφος Μηχανικός - "
        "Γιώργος Αλεξίου, Πολιτικός Μηχανικός\r\n") +
    rule(143, '_') + "\r\n" +
    QStringLiteral(
        "    Οι τιμές μονάδος δίνονται απο το ΠΔ696/74  σε δραχμές. Η μετατροπή σε € "
        "γίνεται με την τιμή του συντελεστή λ\r\n"
        "\r\n"
        "\r\n"
        "ΙΔΙΟΚΤΗΤΗΣ:Γιάννης Παπαδόπουλος\r\n"
        "Ερμού 12 Αθήνα\r\n"
        "ΘΕΣΗ:Κάτω Λόφος  Δημοτικού Διαμερίσματος Λυκόβρυσης του Δήμου Πεύκης\r\n"
        "\r\n"
        "\t\t\tΑΜΟΙΒΕΣ ΤΟΠΟΓΡΑΦΙΚΩΝ ΕΡΓΑΣΙΩΝ\r\n"
        "\t\t\t") +
    rule(34, '=') + "\r\n\r\n" +
    QStringLiteral(
        "Κλίμακα 1: 500 \r\n"
        "Συντελεστής λ= ,2935 \r\n"
        "ΠΕΡΙΟΧΗ ΕΝΤΟΣ ΣΧΕΔΙΟΥ ΠΟΛΕΩΣ Ή ΕΝΤΟΣ ΟΙΚΙΣΜΟY\r\n") +
    rule(69, '_') + "\r\n" +
    // taxi1.dat (trig1.dat and polygon1.dat before it are empty)
    rule(83, '-') + "\r\n" + QStringLiteral("\tΤΑΧΥΜΕΤΡΙΚΕΣ ΑΠΟΤΥΠΩΣΕΙΣ ΣΤΗΝ ΥΠΑΙΘΡΟ\r\n\t") +
    rule(37, '-') + "\r\n" +
    QStringLiteral(
        "\tΚλίση 0%-5%    12,5 X 130 = 1625 δρχ\r\n"
        "\tΚλίση 20%-50%  4 X 182 = 728 δρχ\r\n\t") +
    rule(39, '-') + "\r\n" + QStringLiteral("\tΥΨΟΜΕΤΡΙΑ  2353  Χ 60% = 1412 δρχ\r\n\t") +
    rule(39, '-') + "\r\n" + QStringLiteral("\tΣυνολο.............: 3765 δρχ\r\n") +
    // synola.dat (the six fragments between are empty)
    rule(83, '-') + "\r\n\r\n" + QStringLiteral("ΓΕΝΙΚΟ ΣΥΝΟΛΟ...... 3765 δρχ\r\n") +
    rule(31, '-') + "\r\n" +
    QStringLiteral(
        "ΑΜΟΙΒΗ ΜΕΛΈΤΗΣ =  3765  X  ,2935  =  1105,02 €\r\n"
        "\tΦ.Π.Α. 18%     =  198,9 €\r\n"
        "\tΦ.Ε.Μ   4%     =  44,2 €\r\n"
        "\tΤΣΜΕΔΕ  3% =  33,15 €\r\n"
        "\tT.E.E   2%     =  22,1 €\r\n\t") +
    rule(31, '-') + "\r\n" +
    QStringLiteral(
        "\tΣΥΝΟΛΟ.........=  1403,37 €\r\n"
        "\r\n"
        // telos.dat
        "\r\n"
        "\t     O ΜΗΧΑΝΙΚΟΣ\r\n"
        "\r\n"
        "\r\n"
        "\r\n"
        "\r\n"
        "\t Μαρία Ιωάννου\r\n"
        "\t Αγρονόμος Τοπογράφος Μηχανικός\r\n"
        "\t Σόλωνος 5  Μαρούσι\r\n");

class NewJob : public Journey {
public:
    using Journey::window;
};

TEST_F(NewJob, from_the_splash_to_the_printed_statement) {
    ASSERT_EQ(kStatement.count(QStringLiteral("\r\n")), 46);
    QWidget* menu = start();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(visibleWindows(), QStringList{"Form9"});

    // --- particulars -------------------------------------------------------------------
    click(menu, "new");
    QPointer<QWidget> particulars = window(WindowId::Particulars);
    ASSERT_NE(particulars, nullptr);
    ASSERT_TRUE(particulars->isVisible());
    auto* tabs = child<QTabWidget>(particulars, "tbsOptions")->findChild<QTabBar*>();
    type(particulars, "onoma", "Γιάννης");
    type(particulars, "eponymo", "Παπαδόπουλος");
    type(particulars, "dnsh", "Ερμού 12");
    type(particulars, "poli", "Αθήνα");
    clickTab(tabs, 1);
    type(particulars, "dimos", "Πεύκης");
    type(particulars, "DD", "Λυκόβρυσης");
    type(particulars, "uesi", "Κάτω Λόφος");
    clickTab(tabs, 2);
    EXPECT_FALSE(child<QWidget>(particulars, "cmdOK")->isEnabled());

    click(particulars, "Command1");
    QPointer<QWidget> engineer = window(WindowId::NewEngineer);
    ASSERT_NE(engineer, nullptr);
    EXPECT_TRUE(particulars->isVisible());  // the new-engineer dialog is modeless
    type(engineer, "onm", "Μαρία");
    type(engineer, "Epm", "Ιωάννου");
    type(engineer, "dnsm", "Σόλωνος 5");
    type(engineer, "polim", "Μαρούσι");
    pick(child<QComboBox>(engineer, "eidikot"), "Αγρονόμος Τοπογράφος Μηχανικός");
    click(engineer, "Command1");
    ASSERT_TRUE(gone(engineer));
    EXPECT_EQ(
        read("mix.dat"),
        cp1253("Μαρία\r\nΙωάννου\r\nΣόλωνος 5\r\nΜαρούσι\r\nΑγρονόμος Τοπογράφος Μηχανικός\r\n"));
    // Nothing of the job exists before "OK".
    EXPECT_EQ(read("Ergasies.dat"), "");
    EXPECT_FALSE(exists("temp.dat"));

    // Back in the particulars dialog the new engineer is in the list.
    particulars->activateWindow();
    ASSERT_TRUE(eventually([&] { return QApplication::activeWindow() == particulars.data(); }));
    auto* engineers = child<QComboBox>(particulars, "Combo1");
    ASSERT_TRUE(eventually([&] { return engineers->count() == 1; }));
    pick(engineers, "Μαρία Ιωάννου");
    EXPECT_EQ(text(particulars, "onm"), "Μαρία");
    EXPECT_EQ(text(particulars, "Epm"), "Ιωάννου");
    EXPECT_EQ(text(particulars, "dnsm"), "Σόλωνος 5");
    EXPECT_EQ(text(particulars, "polim"), "Μαρούσι");
    EXPECT_EQ(text(particulars, "eidikot"), "Αγρονόμος Τοπογράφος Μηχανικός");
    click(particulars, "cmdOK");
    ASSERT_TRUE(gone(particulars));
    EXPECT_TRUE(refusals().isEmpty()) << refusalTexts().join("\n").toStdString();

    EXPECT_EQ(read("Ergasies.dat"), cp1253("Γιάννης\r\nΠαπαδόπουλος\r\n"));
    EXPECT_EQ(read("temp.dat"), cp1253("c:\\program files\\dezovur\\ΓιάννηςΠαπαδόπουλος\r\n"));
    EXPECT_EQ(read(kJob + "STOIXEIA.dat"),
              cp1253("Γιάννης\r\nΠαπαδόπουλος\r\nΕρμού 12\r\nΑθήνα\r\nΠεύκης\r\nΛυκόβρυσης\r\n"
                     "Κάτω Λόφος\r\nΜαρία\r\nΙωάννου\r\nΣόλωνος 5\r\nΜαρούσι\r\n"
                     "Αγρονόμος Τοπογράφος Μηχανικός\r\n"));
    EXPECT_EQ(read(kJob + "l.dat"), "29350\r\n");
    EXPECT_EQ(read(kJob + "entos.dat"), " 1 \r\n");
    EXPECT_EQ(read(kJob + "eid.dat"), " 1 \r\n");

    // --- work menu -----------------------------------------------------------------------
    QPointer<QWidget> work = window(WindowId::WorkMenu);
    ASSERT_NE(work, nullptr);
    EXPECT_EQ(work->objectName(), "Form1");
    EXPECT_EQ(text(work, "l"), "0,2935");
    EXPECT_EQ(text(work, "onoma"), "Γιάννης");
    EXPECT_EQ(text(work, "uesi"), "Κάτω Λόφος");
    EXPECT_EQ(text(work, "eidikot"), "Αγρονόμος Τοπογράφος Μηχανικός");
    pick(child<QComboBox>(work, "Combo1"), "500");
    EXPECT_EQ(read(kJob + "klimaka.dat"), "500\r\n");
    click(work, "εκτος");
    EXPECT_EQ(read(kJob + "entos.dat"), " 0 \r\n");
    click(work, "εντος");
    EXPECT_EQ(read(kJob + "entos.dat"), " 1 \r\n");

    click(work, "Command4");
    QPointer<QWidget> taxi = entry(fee::CategoryId::Taxi, EntryMode::New);
    ASSERT_NE(taxi, nullptr);
    EXPECT_EQ(taxi->objectName(), "form5");
    EXPECT_EQ(text(taxi, "E(0)"), "0");
    type(taxi, "E(0)", "12,5");
    // E(2) can only be typed into once its tab is chosen.
    EXPECT_FALSE(child<QLineEdit>(taxi, "E(2)")->isVisible());
    clickTab(child<QTabBar>(taxi, "tbsOptions"), 2);
    type(taxi, "E(2)", "4");
    auto* altimetry = child<QCheckBox>(taxi, "H");
    QTest::mouseClick(altimetry, Qt::LeftButton, Qt::NoModifier, altimetry->rect().center());
    ASSERT_TRUE(altimetry->isChecked());
    click(taxi, "Submite");
    ASSERT_TRUE(gone(taxi));
    EXPECT_EQ(read(kJob + "taxi.dat"), " 1250 \r\n 0 \r\n 400 \r\n 0 \r\n 0 \r\n 100 \r\n");
    ASSERT_FALSE(work.isNull());
    EXPECT_TRUE(work->isVisible());

    click(work, "EXIT");
    ASSERT_TRUE(gone(work));
    // The finish step: every input file with its full count, the scale as a number.
    EXPECT_EQ(read(kJob + "klimaka.dat"), " 500 \r\n");
    EXPECT_EQ(read(kJob + "taxi.dat"), " 1250 \r\n 0 \r\n 400 \r\n 0 \r\n 0 \r\n 100 \r\n");
    EXPECT_EQ(read(kJob + "trig.dat"), " 0 \r\n 0 \r\n 0 \r\n 0 \r\n");
    EXPECT_EQ(read(kJob + "rymotom.dat"), " 0 \r\n 0 \r\n");
    for (const char* one :
         {"analog.dat", "asti.dat", "polygon.dat", "them.dat", "xilosta.dat", "oix.dat"})
        EXPECT_EQ(read(kJob + one), " 0 \r\n") << one;

    // --- statement -----------------------------------------------------------------------
    ASSERT_EQ(window(WindowId::MainMenu), menu);
    click(menu, "Command8");
    EXPECT_TRUE(refusals().isEmpty()) << refusalTexts().join("\n").toStdString();
    EXPECT_EQ(read(kJob + "synola.dat"),
              std::string(83, '-') + "\r\n\r\n" + cp1253("ΓΕΝΙΚΟ ΣΥΝΟΛΟ...... 3765 δρχ\r\n") +
                  std::string(31, '-') + "\r\n" +
                  cp1253("ΑΜΟΙΒΗ ΜΕΛΈΤΗΣ =  3765  X  ,2935  =  1105,02 ") + "\x80\r\n" +
                  cp1253("\tΦ.Π.Α. 18%     =  198,9 ") + "\x80\r\n" +
                  cp1253("\tΦ.Ε.Μ   4%     =  44,2 ") + "\x80\r\n" +
                  cp1253("\tΤΣΜΕΔΕ  3% =  33,15 ") + "\x80\r\n" +
                  "\tT.E.E   2%     =  22,1 \x80\r\n\t" + std::string(31, '-') + "\r\n" +
                  cp1253("\tΣΥΝΟΛΟ.........=  1403,37 ") + "\x80\r\n\r\n");
    for (const char* empty : {"trig1.dat", "polygon1.dat", "asti1.dat", "rymotom1.dat",
                              "analog1.dat", "oix1.dat", "them1.dat", "xilosta1.dat"})
        EXPECT_EQ(read(kJob + empty), "") << empty;

    click(menu, "print");
    EXPECT_TRUE(refusals().isEmpty()) << refusalTexts().join("\n").toStdString();
    auto* document = qobject_cast<fee::app::DocumentWindow*>(window(WindowId::Document));
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->windowTitle(), "frmDocument");
    EXPECT_EQ(document->text(), kStatement);
    QString shown = kStatement;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.chop(1);
    EXPECT_EQ(child<QTextEdit>(document, "rtfText")->toPlainText(), shown);

    // --- printing, the dialog answered with a PDF file as the printer ---------------------
    fee::app::DocumentFrame* frame = manager->documentFrame();
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->activeDocument(), document);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("statement.pdf");
    const testing_support::TempHome home;  // where the PDF is offered first
    int dialogs = 0;
    frame->setPrintDialogStep([&](QPrinter& printer, bool hasSelection, QWidget*) {
        ++dialogs;
        EXPECT_FALSE(hasSelection);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    child<QAction>(frame, "mnuFilePrint")->trigger();
    EXPECT_EQ(dialogs, 1);
    ASSERT_TRUE(QFile::exists(pdf));
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(20000));
    // The text extractor does not keep runs of spaces.
    const QString printed = QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
    EXPECT_TRUE(printed.contains(QStringLiteral("ΙΔΙΟΚΤΗΤΗΣ:Γιάννης Παπαδόπουλος Ερμού 12 Αθήνα")))
        << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("ΑΜΟΙΒΗ ΜΕΛΈΤΗΣ = 3765 X ,2935 = 1105,02 €")))
        << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("ΣΥΝΟΛΟ.........= 1403,37 €")))
        << printed.toStdString();
}

// A job created from the particulars dialog with the engineer typed in; the work menu opens.
void createThroughWindows(NewJob& j, QWidget* menu, const QString& first, const QString& last) {
    click(menu, "new");
    QPointer<QWidget> particulars = j.window(WindowId::Particulars);
    ASSERT_NE(particulars, nullptr);
    clickTab(child<QTabWidget>(particulars, "tbsOptions")->findChild<QTabBar*>(), 2);
    type(particulars, "onm", "Μαρία");
    type(particulars, "Epm", "Ιωάννου");
    type(particulars, "eidikot", "Αγρονόμος Τοπογράφος Μηχανικός");
    clickTab(child<QTabWidget>(particulars, "tbsOptions")->findChild<QTabBar*>(), 0);
    type(particulars, "onoma", first);
    type(particulars, "eponymo", last);
    click(particulars, "cmdOK");
    ASSERT_TRUE(gone(particulars));
}

TEST_F(NewJob, a_second_new_job_gets_its_own_work_menu_and_entry_windows) {
    QWidget* menu = start();
    ASSERT_NE(menu, nullptr);
    createThroughWindows(*this, menu, "Άννα", "Λάμπρου");
    QPointer<QWidget> first = window(WindowId::WorkMenu);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(text(first, "onoma"), "Άννα");
    click(first, "Command4");
    QPointer<QWidget> firstTaxi = entry(fee::CategoryId::Taxi, EntryMode::New);
    ASSERT_NE(firstTaxi, nullptr);
    type(firstTaxi, "E(0)", "7");
    click(first, "Command5");
    QPointer<QWidget> firstAsti = entry(fee::CategoryId::Asti, EntryMode::New);
    ASSERT_NE(firstAsti, nullptr);
    type(firstAsti, "ea", "3");

    // The surveyor notices a mistake and starts over under another owner name, leaving the
    // first job's windows open. What is on screen from now on is the second job.
    createThroughWindows(*this, menu, "Άννα", "Λαμπρου");
    EXPECT_EQ(read("temp.dat"), cp1253("c:\\program files\\dezovur\\ΆνναΛαμπρου\r\n"));
    QWidget* work = window(WindowId::WorkMenu);
    ASSERT_NE(work, nullptr);
    EXPECT_TRUE(gone(first));
    EXPECT_EQ(text(work, "eponymo"), "Λαμπρου");
    // The first job's urban survey window is still on screen; what it holds belongs to the
    // first job and is not saved into the second.
    ASSERT_FALSE(firstAsti.isNull());
    click(firstAsti, "OK");
    ASSERT_EQ(refusals().size(), 1);
    EXPECT_TRUE(refusals()[0]->text().contains(QStringLiteral("άλλη μελέτη")));
    delete refusals()[0];
    EXPECT_FALSE(gone(firstAsti));
    firstAsti->close();
    EXPECT_FALSE(exists("ΆνναΛαμπρου/asti.dat"));
    EXPECT_FALSE(exists("ΆνναΛάμπρου/asti.dat"));
    pick(child<QComboBox>(work, "Combo1"), "200");
    click(work, "Command4");
    QWidget* taxi = entry(fee::CategoryId::Taxi, EntryMode::New);
    ASSERT_NE(taxi, nullptr);
    EXPECT_TRUE(gone(firstTaxi));
    EXPECT_EQ(text(taxi, "E(0)"), "0");
    type(taxi, "E(0)", "5");
    click(taxi, "Submite");
    click(work, "EXIT");
    EXPECT_TRUE(refusals().isEmpty()) << refusalTexts().join("\n").toStdString();

    EXPECT_EQ(read("ΆνναΛαμπρου/klimaka.dat"), " 200 \r\n");
    EXPECT_EQ(read("ΆνναΛαμπρου/taxi.dat"), " 500 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n");
    // The first job got nothing of the second's.
    EXPECT_FALSE(exists("ΆνναΛάμπρου/klimaka.dat"));
    EXPECT_FALSE(exists("ΆνναΛάμπρου/taxi.dat"));
}

TEST_F(NewJob, exit_closes_every_window_without_a_question) {
    QWidget* menu = start();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(store.createJob([] {
        fee::Particulars p;
        p[fee::Particulars::OwnerFirst] = "Άννα";
        p[fee::Particulars::OwnerLast] = "Λάμπρου";
        p[fee::Particulars::EngineerFirst] = "Μαρία";
        p[fee::Particulars::EngineerLast] = "Ιωάννου";
        p[fee::Particulars::Specialty] = "Πολιτικός Μηχανικός";
        return p;
    }()),
              fee::StoreStatus::Ok);
    const auto before = snapshot();

    // A surveyor in the middle of things: a new job half typed, help, a job's work menu with
    // its tachymetry and λ windows, and the statement on screen.
    click(menu, "new");
    type(window(WindowId::Particulars), "onoma", "Πέτρος");
    click(menu, "Command2");
    manager->open(WindowId::WorkMenu);
    click(window(WindowId::WorkMenu), "Command4");
    type(entry(fee::CategoryId::Taxi, EntryMode::New), "E(0)", "3");
    click(window(WindowId::WorkMenu), "Command1");
    click(menu, "Command8");
    click(menu, "print");
    ASSERT_NE(manager->documentFrame(), nullptr);
    const QStringList open = visibleWindows();
    for (const char* name : {"Form9", "stoixeia", "help", "Form1", "form5", "Form2", "frmMain"})
        EXPECT_TRUE(open.contains(name)) << name;
    const auto computed = snapshot();

    click(menu, "Command1");
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(visibleWindows(), QStringList{});
    EXPECT_TRUE(refusals().isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (WindowId id : {WindowId::MainMenu, WindowId::Particulars, WindowId::Help,
                        WindowId::WorkMenu, WindowId::LambdaWorkMenu, WindowId::Document})
        EXPECT_EQ(window(id), nullptr) << static_cast<int>(id);
    EXPECT_EQ(manager->documentFrame(), nullptr);
    // Nothing half typed was saved on the way out, and the frame kept no position.
    EXPECT_EQ(snapshot(), computed);
    EXPECT_FALSE(exists("ΠέτροςΑ"));
    EXPECT_EQ(settings->get(fee::app::kSettingsApp.toStdString(), "Settings", "MainLeft", "none"),
              "none");
    EXPECT_NE(before, computed);  // the statement files were written before the exit
}

}  // namespace
