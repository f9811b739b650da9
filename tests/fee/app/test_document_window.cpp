// The document frame (frmMain) and its document windows (frmDocument): the statement text,
// the frame's stored position, and printing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <cmath>
#include <filesystem>

#include "fee/app/DocumentFrame.h"
#include "fee/app/DocumentWindow.h"
#include "fee/app/WindowManager.h"
#include "support/AppFixture.h"
#include "support/QtWaiting.h"

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

TEST_F(Printing, the_dialog_is_titled_print_and_offers_no_page_numbers) {
    QPrinter printer;
    QPrintDialog dialog(&printer);
    DocumentFrame::configurePrintDialog(dialog, printer, true);
    EXPECT_EQ(dialog.windowTitle(), "Print");
    EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintPageRange));
    EXPECT_TRUE(dialog.testOption(QAbstractPrintDialog::PrintSelection));
    EXPECT_EQ(printer.printRange(), QPrinter::Selection);
    DocumentFrame::configurePrintDialog(dialog, printer, false);
    EXPECT_FALSE(dialog.testOption(QAbstractPrintDialog::PrintSelection));
    EXPECT_EQ(printer.printRange(), QPrinter::AllPages);
}

}  // namespace
