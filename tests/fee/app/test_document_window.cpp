// The document frame (frmMain) and its document windows (frmDocument): the statement text,
// the frame's stored position, and printing.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <cmath>
#include <filesystem>

#include "fee/app/DocumentFrame.h"
#include "fee/app/DocumentWindow.h"
#include "fee/app/GreekQtTexts.h"
#include "fee/app/WindowManager.h"
#include "support/AppFixture.h"
#include "support/QtWaiting.h"
#include "temp_home.h"

namespace {

using testing_support::gone;

using fee::app::DocumentFrame;
using fee::app::DocumentWindow;
using fee::app::WindowId;
using testing_support::cp1253;

const std::string kJob = "program files/dezovur/ΑΒ/";
const char* const kFragments[] = {"arxi1.dat", "trig1.dat",    "polygon1.dat", "taxi1.dat",
                                  "asti1.dat", "rymotom1.dat", "analog1.dat",  "oix1.dat",
                                  "them1.dat", "xilosta1.dat", "synola.dat",   "telos.dat"};

int px(double twips, int dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

class Document : public ::testing::Test, public testing_support::AppFixture {
protected:
    Document() {
        root.writeHostFile("program files/dezovur/temp.dat",
                           cp1253("c:\\program files\\dezovur\\ΑΒ\r\n"));
        std::filesystem::create_directories(root.driveC() / kJob);
    }
    ~Document() override {
        delete frame.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Two header lines, an empty tachymetric fragment and a three-line signature; the rest empty.
    void writeStatement() {
        for (const char* name : kFragments) root.writeHostFile(kJob + name, "");
        root.writeHostFile(kJob + "arxi1.dat",
                           cp1253("\tΚΑΤΑΣΤΑΣΗ ΑΜΟΙΒΗΣ\r\nΙδιοκτήτης: Α Β\r\n"));
        root.writeHostFile(kJob + "telos.dat", cp1253("Ο ΣΥΝΤΑΞΑΣ\r\n\r\nΝίκος Παππάς\r\n"));
        // Written first, so the order cannot come from the files' times.
        std::filesystem::last_write_time(
            root.driveC() / kJob / "telos.dat",
            std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    }
    DocumentFrame* openFrame() {
        frame = new DocumentFrame(context, counter);
        frame->show();
        return frame;
    }
    std::string setting(const char* key) {
        return settings->get(fee::app::kSettingsApp.toStdString(), "Settings", key, "<none>");
    }
    void store(const char* key, const char* value) {
        settings->save(fee::app::kSettingsApp.toStdString(), "Settings", key, value);
    }

    testing_support::TempHome home;
    int counter = 0;
    QPointer<DocumentFrame> frame;
};

TEST_F(Document, text_is_the_fragments_joined_in_order) {
    writeStatement();
    DocumentWindow window(context);
    EXPECT_EQ(window.text(), QStringLiteral("\tΚΑΤΑΣΤΑΣΗ ΑΜΟΙΒΗΣ\r\nΙδιοκτήτης: Α Β\r\n"
                                            "Ο ΣΥΝΤΑΞΑΣ\r\n\r\nΝίκος Παππάς\r\n"));
    auto* rtf = window.findChild<QTextEdit*>("rtfText");
    ASSERT_NE(rtf, nullptr);
    EXPECT_TRUE(rtf->isReadOnly());
    EXPECT_EQ(rtf->document()->blockCount(), 5);
    EXPECT_EQ(rtf->toPlainText(), QStringLiteral("\tΚΑΤΑΣΤΑΣΗ ΑΜΟΙΒΗΣ\nΙδιοκτήτης: Α Β\n"
                                                 "Ο ΣΥΝΤΑΞΑΣ\n\nΝίκος Παππάς"));
    // Columns are laid out with tabs: a fixed-width font with stops every 8 characters.
    EXPECT_TRUE(QFontInfo(rtf->font()).fixedPitch());
    EXPECT_NEAR(rtf->tabStopDistance(), 8 * QFontMetricsF(rtf->font()).horizontalAdvance(' '),
                0.01);
}

TEST_F(Document, layout_keeps_100_twips_margins_and_wraps_400_twips_short) {
    DocumentWindow window(context);
    window.show();
    window.resize(800, 600);
    auto* rtf = window.findChild<QTextEdit*>("rtfText");
    const int dpi = window.logicalDpiX();
    EXPECT_EQ(rtf->geometry(),
              QRect(px(100, dpi), px(100, dpi), 800 - px(200, dpi), 600 - px(200, dpi)));
    EXPECT_EQ(rtf->lineWrapColumnOrWidth(), 800 - px(200, dpi) - px(400, dpi));
    // Too small for the margins: the last layout stays.
    const QRect before = rtf->geometry();
    window.resize(20, 10);
    EXPECT_EQ(rtf->geometry(), before);
}

TEST_F(Document, frame_without_settings_opens_at_the_default_position_with_document_1) {
    openFrame();
    const int dpi = frame->logicalDpiX();
    EXPECT_EQ(frame->objectName(), "frmMain");
    EXPECT_EQ(frame->windowTitle(), "Project1");
    EXPECT_EQ(frame->pos(), QPoint(px(1000, dpi), px(1000, frame->logicalDpiY())));
    EXPECT_EQ(frame->size(), QSize(px(6500, dpi), px(6500, frame->logicalDpiY())));
    ASSERT_EQ(frame->documents().size(), 1);
    EXPECT_EQ(frame->documents()[0]->windowTitle(), "Document 1");
    EXPECT_EQ(counter, 1);

    auto* bar = frame->findChild<QStatusBar*>("sbStatusBar");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->findChild<QLabel*>("Status")->text(), "Status");
    EXPECT_FALSE(bar->findChild<QLabel*>("Date")->text().isEmpty());
    EXPECT_FALSE(bar->findChild<QLabel*>("Time")->text().isEmpty());
    EXPECT_EQ(frame->findChild<QMenu*>("mnuFile")->title(), "&ΕΚΤΥΠΩΣΗ");
    EXPECT_EQ(frame->findChild<QMenu*>("mnuEdit")->title(), "&EΞΟΔΟΣ");
}

TEST_F(Document, stored_position_is_read_and_unreadable_values_fall_back) {
    store("MainLeft", "2880");
    store("MainTop", "abc");
    store("MainWidth", "7200.5");
    store("MainHeight", "");
    openFrame();
    const int dx = frame->logicalDpiX(), dy = frame->logicalDpiY();
    EXPECT_EQ(frame->pos(), QPoint(px(2880, dx), px(1000, dy)));
    EXPECT_EQ(frame->size(), QSize(px(7200.5, dx), px(6500, dy)));
}

TEST_F(Document, closing_saves_the_position_in_twips_unless_minimised) {
    openFrame();
    frame->close();
    // Unmoved: exactly what was read, without pixel rounding creeping in.
    EXPECT_EQ(setting("MainLeft"), "1000");
    EXPECT_EQ(setting("MainTop"), "1000");
    EXPECT_EQ(setting("MainWidth"), "6500");
    EXPECT_EQ(setting("MainHeight"), "6500");

    openFrame();
    const int dpi = frame->logicalDpiX();
    frame->move(dpi, dpi * 2);  // inches from the corner
    frame->resize(dpi * 5, dpi * 4);
    frame->close();
    EXPECT_EQ(setting("MainLeft"), "1440");
    EXPECT_EQ(setting("MainTop"), "2880");
    EXPECT_EQ(setting("MainWidth"), "7200");
    EXPECT_EQ(setting("MainHeight"), "5760");

    openFrame();
    frame->move(0, 0);
    frame->setWindowState(Qt::WindowMinimized);
    frame->close();
    EXPECT_EQ(setting("MainLeft"), "1440");
    EXPECT_EQ(setting("MainWidth"), "7200");
}

class DocumentThroughManager : public Document {
protected:
    DocumentThroughManager() : manager(store_, *settings, {}, [] {}) {}
    fee::DataStore& store_ = AppFixture::store;
    fee::app::WindowManager manager;
    QList<QMessageBox*> refusals() {
        QList<QMessageBox*> boxes;
        for (QWidget* w : QApplication::allWidgets())
            if (auto* b = qobject_cast<QMessageBox*>(w); b && b->objectName() == "refusal")
                boxes << b;
        return boxes;
    }
};

TEST_F(DocumentThroughManager, print_twice_shows_the_same_window_with_unchanged_text) {
    writeStatement();
    manager.open(WindowId::Document);
    DocumentFrame* shown = manager.documentFrame();
    ASSERT_NE(shown, nullptr);
    ASSERT_EQ(shown->documents().size(), 2);
    EXPECT_EQ(shown->documents()[0]->windowTitle(), "Document 1");
    auto* document = qobject_cast<DocumentWindow*>(manager.window(WindowId::Document));
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->windowTitle(), "frmDocument");
    EXPECT_EQ(shown->activeDocument(), document);
    const QString text = document->text();

    root.writeHostFile(kJob + "arxi1.dat", cp1253("Νέα κεφαλίδα\r\n"));
    manager.open(WindowId::Document);
    EXPECT_EQ(manager.window(WindowId::Document), document);
    EXPECT_EQ(manager.documentFrame(), shown);
    EXPECT_EQ(shown->documents().size(), 2);
    EXPECT_EQ(document->text(), text);
    EXPECT_TRUE(refusals().isEmpty());
}

TEST_F(DocumentThroughManager, print_for_another_job_replaces_the_document_of_the_first) {
    writeStatement();
    manager.open(WindowId::Document);
    QPointer<QWidget> first = manager.window(WindowId::Document);
    ASSERT_NE(first, nullptr);

    const std::string other = "program files/dezovur/ΓΔ/";
    for (const char* name : kFragments) root.writeHostFile(other + name, "");
    root.writeHostFile(other + "arxi1.dat", cp1253("Ιδιοκτήτης: Γ Δ\r\n"));
    root.writeHostFile("program files/dezovur/temp.dat",
                       cp1253("c:\\program files\\dezovur\\ΓΔ\r\n"));
    manager.open(WindowId::Document);
    auto* second = qobject_cast<DocumentWindow*>(manager.window(WindowId::Document));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->job(), "c:\\program files\\dezovur\\ΓΔ");
    EXPECT_EQ(second->text(), QStringLiteral("Ιδιοκτήτης: Γ Δ\r\n"));
    EXPECT_EQ(manager.documentFrame()->activeDocument(), second);
    EXPECT_TRUE(gone(first));
}

TEST_F(DocumentThroughManager, exit_closes_the_frame_and_the_next_one_counts_on) {
    writeStatement();
    manager.open(WindowId::MainMenu);
    manager.open(WindowId::Document);
    QPointer<QWidget> shown = manager.documentFrame();
    shown->findChild<QAction*>("mnuFileExit")->trigger();
    EXPECT_TRUE(gone(shown));
    EXPECT_EQ(manager.window(WindowId::Document), nullptr);
    EXPECT_TRUE(manager.window(WindowId::MainMenu)->isVisible());

    manager.open(WindowId::Document);
    ASSERT_NE(manager.documentFrame(), nullptr);
    EXPECT_EQ(manager.documentFrame()->documents()[0]->windowTitle(), "Document 2");
    delete manager.documentFrame();
}

TEST_F(DocumentThroughManager, missing_fragments_are_refused_instead_of_a_broken_document) {
    manager.open(WindowId::Document);
    ASSERT_EQ(refusals().size(), 1);
    EXPECT_TRUE(refusals()[0]->text().contains(QStringLiteral("«Υπολογισμοί»")));
    EXPECT_EQ(manager.documentFrame(), nullptr);
    delete refusals()[0];

    writeStatement();
    std::filesystem::remove(root.driveC() / kJob / "synola.dat");
    manager.open(WindowId::Document);
    ASSERT_EQ(refusals().size(), 1);
    EXPECT_TRUE(refusals()[0]->text().contains(QStringLiteral("synola.dat")));
    EXPECT_EQ(manager.documentFrame(), nullptr);
    delete refusals()[0];
}

class Printing : public Document {
protected:
    void SetUp() override {
        writeStatement();
        // The statement's widest line: it must print on one line, not wrap.
        root.writeHostFile(kJob + "synola.dat", std::string(143, '_') + "\r\n");
        openFrame();
        document = frame->activeDocument();
        ASSERT_NE(document, nullptr);
        pdf = dir.filePath("out.pdf");
    }
    // The dialog step a user would take, choosing a PDF file as the printer.
    void printToPdf(bool accept = true) {
        frame->setPrintDialogStep([this, accept](QPrinter& printer, bool hasSelection, QWidget*) {
            ++dialogs;
            offeredSelection = hasSelection;
            preselected = printer.printRange();
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return accept;
        });
        frame->findChild<QAction*>("mnuFilePrint")->trigger();
    }
    QString pdfText() {
        QProcess p;
        p.start("pdftotext", {pdf, "-"});
        EXPECT_TRUE(p.waitForFinished(20000));
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    QTemporaryDir dir;
    QString pdf;
    DocumentWindow* document = nullptr;
    int dialogs = 0;
    bool offeredSelection = false;
    QPrinter::PrintRange preselected = QPrinter::PageRange;
};

TEST_F(Printing, without_selection_prints_the_whole_statement) {
    printToPdf();
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(offeredSelection);
    EXPECT_EQ(preselected, QPrinter::AllPages);
    const QString text = pdfText();
    EXPECT_TRUE(text.contains(QStringLiteral("ΚΑΤΑΣΤΑΣΗ ΑΜΟΙΒΗΣ"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Νίκος Παππάς"))) << text.toStdString();
    EXPECT_LT(text.indexOf(QStringLiteral("ΚΑΤΑΣΤΑΣΗ")), text.indexOf(QStringLiteral("ΣΥΝΤΑΞΑΣ")));
    EXPECT_TRUE(text.contains(QString(143, QLatin1Char('_')))) << text.toStdString();
}

TEST_F(Printing, ctrl_p_offers_a_pdf_named_after_the_job_among_the_documents) {
    QString offered;
    frame->setPrintDialogStep([&](QPrinter& printer, bool, QWidget*) {
        offered = printer.outputFileName();
        return false;
    });
    auto* print = frame->findChild<QAction*>("mnuFilePrint");
    EXPECT_EQ(print->shortcut(), QKeySequence(QKeySequence::Print));
    print->trigger();
    EXPECT_TRUE(offered.endsWith(QStringLiteral("/ΑΒ.pdf"))) << offered.toStdString();
    EXPECT_EQ(QFileInfo(offered).absolutePath(),
              QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

TEST_F(Printing, with_a_selection_prints_only_the_selection) {
    auto* rtf = document->findChild<QTextEdit*>("rtfText");
    QTextCursor cursor = rtf->document()->find(QStringLiteral("Νίκος Παππάς"));
    ASSERT_FALSE(cursor.isNull());
    rtf->setTextCursor(cursor);
    printToPdf();
    EXPECT_TRUE(offeredSelection);
    EXPECT_EQ(preselected, QPrinter::Selection);
    const QString text = pdfText();
    EXPECT_TRUE(text.contains(QStringLiteral("Νίκος Παππάς"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("ΚΑΤΑΣΤΑΣΗ"))) << text.toStdString();
}

TEST_F(Printing, cancelling_prints_nothing) {
    printToPdf(false);
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(Printing, the_dialog_is_titled_in_greek_and_offers_no_page_numbers) {
    QPrinter printer;
    QPrintDialog dialog(&printer);
    DocumentFrame::configurePrintDialog(dialog, printer, true);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Εκτύπωση"));
    EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintPageRange));
    EXPECT_TRUE(dialog.testOption(QAbstractPrintDialog::PrintSelection));
    EXPECT_EQ(printer.printRange(), QPrinter::Selection);
    DocumentFrame::configurePrintDialog(dialog, printer, false);
    EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintSelection));
    EXPECT_EQ(printer.printRange(), QPrinter::AllPages);
}

// Qt's own dialog, with the Greek texts the program installs: its buttons, and the question it
// asks before it writes over a file.
TEST_F(Printing, the_real_dialog_speaks_greek_up_to_the_overwrite_question) {
    fee::app::GreekQtTexts greek;
    QCoreApplication::installTranslator(&greek);
    // The program installs it before any window exists; here the windows hear of it first.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    QFile existing(pdf);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    QPrinter printer;
    printer.setOutputFileName(pdf);

    QStringList buttons;
    QString question;
    QStringList answers;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        for (QAbstractButton* b : dialog->findChild<QDialogButtonBox*>()->buttons())
            buttons << b->text();
        QTimer::singleShot(0, [&, dialog] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box) {
                question = box->text();
                for (QAbstractButton* b : box->buttons()) answers << b->text();
                box->button(QMessageBox::No)->click();
            }
            QTimer::singleShot(0, dialog, &QDialog::reject);
        });
        // Asks before overwriting; "No" keeps the dialog open.
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_FALSE(DocumentFrame::runPrintDialog(printer, false, frame));
    QCoreApplication::removeTranslator(&greek);

    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("&Εκτύπωση"), QStringLiteral("&Επιλογές >>"),
                                    QStringLiteral("Άκυρο")}));
    EXPECT_EQ(question, QStringLiteral("Το αρχείο %1 υπάρχει ήδη.\nΝα αντικατασταθεί;").arg(pdf));
    answers.sort();
    EXPECT_EQ(answers, (QStringList{QStringLiteral("&Όχι"), QStringLiteral("&Ναι")}));
}

// Two computed jobs, each with its owner's name in its statement.
class PrintingJobs : public Document {
protected:
    void SetUp() override {
        // Jobs are made here as the particulars dialog makes them, not laid out by hand.
        std::filesystem::remove_all(root.driveC() / kJob);
    }
    std::string addJob(const std::string& first, const std::string& last) {
        fee::Particulars p;
        p[fee::Particulars::OwnerFirst] = first;
        p[fee::Particulars::OwnerLast] = last;
        p[fee::Particulars::Specialty] = "Πολιτικός Μηχανικός";
        EXPECT_EQ(AppFixture::store.createJob(p), fee::StoreStatus::Ok);
        const std::string job = *AppFixture::store.currentJobFolder();
        AppFixture::store.finish(job);
        EXPECT_EQ(fee::assembleStatement(AppFixture::store).status, fee::AssemblyResult::Ok);
        return job;
    }
    // Accepts the dialog as offered, or with the file name given.
    void print(const QString& chosen = {}) {
        frame->setPrintDialogStep([this, chosen](QPrinter& printer, bool, QWidget*) {
            ++dialogs;
            offered = printer.outputFileName();
            if (!chosen.isEmpty()) printer.setOutputFileName(chosen);
            return true;
        });
        frame->findChild<QAction*>("mnuFilePrint")->trigger();
    }
    static QString pdfText(const QString& file) {
        QProcess p;
        p.start("pdftotext", {file, "-"});
        EXPECT_TRUE(p.waitForFinished(20000));
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    int dialogs = 0;
    QString offered;
};

TEST_F(PrintingJobs, a_document_prints_its_own_job_whichever_is_current) {
    const std::string first = addJob("Άννα", "Βλάχου");
    const std::string second = addJob("Γιώργος", "Ζέρβας");
    AppFixture::store.setCurrentJob(first);
    openFrame();
    AppFixture::store.setCurrentJob(second);  // chosen in the open-job dialog meanwhile

    print();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(offered, home.filePath("Documents/ΆνναΒλάχου.pdf"));
    const QString text = pdfText(offered);
    EXPECT_TRUE(text.contains(QStringLiteral("Άννα Βλάχου"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Ζέρβας"))) << text.toStdString();
    EXPECT_TRUE(testing_support::refusals().isEmpty());
}

TEST_F(PrintingJobs, the_pdf_goes_among_the_documents_made_when_missing_else_home) {
    struct Row {
        const char* name;
        bool documentsIsAFile;
        const char* chosen;    // relative to home; empty: as offered
        const char* expected;  // the PDF, relative to home; empty: none, a refusal instead
    };
    const Row rows[] = {
        {"a home without Documents", false, "", "Documents/ΑΒ.pdf"},
        {"Documents cannot be made", true, "", "ΑΒ.pdf"},
        {"a file that cannot be written", true, "Documents/ΑΒ.pdf", ""},
    };
    addJob("Α", "Β");
    openFrame();
    for (const Row& row : rows) {
        QDir(home.path()).removeRecursively();
        QDir().mkpath(home.path());
        if (row.documentsIsAFile) {
            QFile file(home.filePath("Documents"));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << row.name;
        }
        const QString chosen = *row.chosen ? home.filePath(row.chosen) : QString();
        print(chosen);
        if (*row.expected) {
            const QString expected = home.filePath(row.expected);
            EXPECT_EQ(offered, expected) << row.name;
            EXPECT_TRUE(pdfText(expected).contains(QStringLiteral("Α Β"))) << row.name;
            EXPECT_TRUE(testing_support::refusals().isEmpty()) << row.name;
        } else {
            const auto boxes = testing_support::refusals();
            ASSERT_EQ(boxes.size(), 1) << row.name;
            EXPECT_TRUE(boxes[0]->text().contains(chosen)) << boxes[0]->text().toStdString();
            delete boxes[0];
        }
    }
}

// Printing whichever way (the menu, Ctrl+P) after the job changed offers to compute first, as
// the main menu's «Εκτύπωση» does; Escape prints nothing.
TEST_F(PrintingJobs, a_stale_statement_is_offered_for_computing_before_it_prints) {
    struct Row {
        const char* answer;  // a button's text, or "Escape"
        int dialogs;
        bool computed;
    };
    for (const Row& row : {Row{"Ναι", 1, true}, Row{"Όχι", 1, false}, Row{"Escape", 0, false}}) {
        root.writeHostFile("program files/dezovur/Ergasies.dat", "");
        std::filesystem::remove_all(root.driveC() / "program files/dezovur/ΑΒ");
        const std::string job = addJob("Α", "Β");
        context.lastStatement =
            fee::StatementRecord{job, fee::statementInputs(AppFixture::store, job), true};
        openFrame();
        DocumentWindow* document = frame->activeDocument();
        const QString before = document->text();
        root.writeHostFile("program files/dezovur/ΑΒ/oix.dat", " 800 \r\n");
        dialogs = 0;

        print();
        auto* box = frame->findChild<QMessageBox*>("staleQuestion");
        ASSERT_NE(box, nullptr) << row.answer;
        EXPECT_EQ(dialogs, 0) << row.answer;
        EXPECT_TRUE(box->text().contains(QStringLiteral("«Α Β»"))) << box->text().toStdString();
        if (std::string(row.answer) == "Escape") {
            QTest::keyClick(box, Qt::Key_Escape);
        } else {
            for (QAbstractButton* b : box->buttons())
                if (b->text() == QString::fromUtf8(row.answer)) b->click();
        }
        EXPECT_EQ(dialogs, row.dialogs) << row.answer;
        EXPECT_EQ(root.readHostFile("program files/dezovur/ΑΒ/oix1.dat").empty(), !row.computed)
            << row.answer;
        EXPECT_EQ(document->text() != before, row.computed) << row.answer;
        delete frame.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

}  // namespace
