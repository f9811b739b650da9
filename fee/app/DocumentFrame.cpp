#include "fee/app/DocumentFrame.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <charconv>
#include <cmath>
#include <string>

#include "fee/app/DocumentWindow.h"
#include "fee/app/Messages.h"
#include "fee/app/StatementChecks.h"

namespace fee::app {

namespace {

constexpr const char* kSection = "Settings";
constexpr const char* kKeys[4] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
constexpr float kDefaults[4] = {1000, 1000, 6500, 6500};

// A stored length in twips; nullopt when it is not a number.
std::optional<float> parseTwips(const std::string& text) {
    std::size_t begin = text.find_first_not_of(' ');
    std::size_t end = text.find_last_not_of(' ');
    if (begin == std::string::npos) return std::nullopt;
    const char* first = text.data() + begin;
    const char* last = text.data() + end + 1;
    float value = 0;
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string formatTwips(float value) {
    char buffer[32];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, ptr) : std::string("0");
}

}  // namespace

DocumentFrame::DocumentFrame(AppContext& ctx, int& documentCounter, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), counter_(documentCounter) {
    setObjectName(QStringLiteral("frmMain"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Project1"));

    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("mdiArea"));
    // Each document fills the frame, one tab per document: a statement needs all the room
    // the frame has.
    mdi_->setViewMode(QMdiArea::TabbedView);
    mdi_->setDocumentMode(true);
    setCentralWidget(mdi_);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&ΕΚΤΥΠΩΣΗ"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction* print = file->addAction(QStringLiteral("&Print..."));
    print->setObjectName(QStringLiteral("mnuFilePrint"));
    print->setShortcut(QKeySequence::Print);
    addAction(print);  // Ctrl+P works wherever the focus is in the frame, menu closed
    connect(print, &QAction::triggered, this, &DocumentFrame::printActive);

    QMenu* exit = menuBar()->addMenu(QStringLiteral("&EΞΟΔΟΣ"));
    exit->setObjectName(QStringLiteral("mnuEdit"));
    QAction* exitItem = exit->addAction(QStringLiteral("E&xit"));
    exitItem->setObjectName(QStringLiteral("mnuFileExit"));
    connect(exitItem, &QAction::triggered, this, &QWidget::close);

    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    auto* status = new QLabel(QStringLiteral("Status"), bar);
    status->setObjectName(QStringLiteral("Status"));
    auto* date = new QLabel(bar);
    date->setObjectName(QStringLiteral("Date"));
    auto* time = new QLabel(bar);
    time->setObjectName(QStringLiteral("Time"));
    bar->addWidget(status, 1);
    bar->addPermanentWidget(date);
    bar->addPermanentWidget(time);
    updateClock();
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &DocumentFrame::updateClock);
    clock->start(1000);

    restorePosition();

    auto* numbered = new DocumentWindow(ctx_, nullptr);
    ++counter_;
    numbered->setWindowTitle(QStringLiteral("Document %1").arg(counter_));
    addDocument(numbered);
}

void DocumentFrame::updateClock() {
    const QDateTime now = QDateTime::currentDateTime();
    if (auto* date = findChild<QLabel*>(QStringLiteral("Date")))
        date->setText(now.date().toString(QStringLiteral("dd/MM/yyyy")));
    if (auto* time = findChild<QLabel*>(QStringLiteral("Time")))
        time->setText(now.time().toString(QStringLiteral("HH:mm")));
}

void DocumentFrame::restorePosition() {
    for (int i = 0; i < 4; ++i) {
        const std::string stored =
            ctx_.settings.get(kSettingsApp.toStdString(), kSection, kKeys[i], "");
        loadedTwips_[i] = parseTwips(stored).value_or(kDefaults[i]);
    }
    const double x = logicalDpiX() / 1440.0;
    const double y = logicalDpiY() / 1440.0;
    loadedPixels_ = QRect(static_cast<int>(std::lround(loadedTwips_[0] * x)),
                          static_cast<int>(std::lround(loadedTwips_[1] * y)),
                          static_cast<int>(std::lround(loadedTwips_[2] * x)),
                          static_cast<int>(std::lround(loadedTwips_[3] * y)));
    move(loadedPixels_.topLeft());
    resize(loadedPixels_.size());
    // What the window system made of it, so an unmoved frame is recognised on closing.
    loadedPixels_ = QRect(pos(), size());
}

void DocumentFrame::savePosition() {
    const QRect now(pos(), size());
    float twips[4];
    if (now == loadedPixels_) {
        std::copy(std::begin(loadedTwips_), std::end(loadedTwips_), twips);
    } else {
        const double x = 1440.0 / logicalDpiX();
        const double y = 1440.0 / logicalDpiY();
        twips[0] = static_cast<float>(std::round(now.x() * x));
        twips[1] = static_cast<float>(std::round(now.y() * y));
        twips[2] = static_cast<float>(std::round(now.width() * x));
        twips[3] = static_cast<float>(std::round(now.height() * y));
    }
    for (int i = 0; i < 4; ++i)
        ctx_.settings.save(kSettingsApp.toStdString(), kSection, kKeys[i], formatTwips(twips[i]));
}

void DocumentFrame::closeEvent(QCloseEvent* event) {
    // A minimised frame keeps the last normal position stored.
    if (savePosition_ && !isMinimized()) savePosition();
    QMainWindow::closeEvent(event);
}

void DocumentFrame::addDocument(DocumentWindow* document) {
    QMdiSubWindow* sub = mdi_->addSubWindow(document);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
    mdi_->setActiveSubWindow(sub);
}

DocumentWindow* DocumentFrame::activeDocument() const {
    QMdiSubWindow* sub = mdi_->currentSubWindow();
    return sub ? qobject_cast<DocumentWindow*>(sub->widget()) : nullptr;
}

QList<DocumentWindow*> DocumentFrame::documents() const {
    QList<DocumentWindow*> result;
    for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::CreationOrder))
        if (auto* doc = qobject_cast<DocumentWindow*>(sub->widget())) result << doc;
    return result;
}

void DocumentFrame::configurePrintDialog(QPrintDialog& dialog, QPrinter& printer,
                                         bool hasSelection) {
    dialog.setWindowTitle(QStringLiteral("Εκτύπωση"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, hasSelection);
    printer.setPrintRange(hasSelection ? QPrinter::Selection : QPrinter::AllPages);
}

bool DocumentFrame::runPrintDialog(QPrinter& printer, bool hasSelection, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    configurePrintDialog(dialog, printer, hasSelection);
    return dialog.exec() == QDialog::Accepted;
}

QString DocumentFrame::documentsFolder() {
    // Qt names the folder but does not make it, and its dialog then calls the file "not
    // writable" on a home that has never had one.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir().mkpath(documents)) return documents;
    return QDir::homePath();
}

void DocumentFrame::printActive() {
    DocumentWindow* document = activeDocument();
    if (!document || !printDialog_) return;
    const std::string& job = document->job();
    if (job.empty() || (!statementStale(ctx_, job) && !document->outdated())) {
        print(document);
        return;
    }
    const fee::Particulars owner = ctx_.store.particulars(job);
    QString name = QString::fromStdString(owner[fee::Particulars::OwnerFirst] + " " +
                                          owner[fee::Particulars::OwnerLast])
                       .trimmed();
    if (name.isEmpty()) name = QString::fromStdString(job.substr(job.find_last_of('\\') + 1));
    QPointer<DocumentWindow> target = document;
    askComputeFirst(this,
                    QStringLiteral("Τα στοιχεία της μελέτης «%1» άλλαξαν μετά τον υπολογισμό της "
                                   "κατάστασης αμοιβής που δείχνει το παράθυρο. Να γίνει πρώτα ο "
                                   "υπολογισμός, ώστε να εκτυπωθεί η νέα κατάσταση;")
                        .arg(name),
                    [this, target](StaleAnswer answer) {
                        if (answer == StaleAnswer::Cancel || !target) return;
                        if (answer == StaleAnswer::ComputeFirst) {
                            if (!computeStatement(ctx_, target->job(), this)) return;
                            target->reload();
                        }
                        print(target);
                    });
}

void DocumentFrame::print(DocumentWindow* document) {
    const bool hasSelection = document->hasSelection();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrintRange(hasSelection ? QPrinter::Selection : QPrinter::AllPages);
    // Printed to a file, the statement is named after the job it belongs to, which need not
    // be the current one.
    const std::string& job = document->job();
    QString name = QString::fromStdString(job.substr(job.find_last_of('\\') + 1));
    if (name.isEmpty()) name = QStringLiteral("statement");
    printer.setOutputFileName(QDir(documentsFolder()).filePath(name + QStringLiteral(".pdf")));
    if (!printDialog_(printer, hasSelection, this)) return;

    const QString file = printer.outputFileName();
    // Qt's own painting fails without a word; the file is tried first so the user hears why.
    bool written = file.isEmpty() || QFile(file).open(QIODevice::WriteOnly);
    if (written) {
        document->printTo(printer, printer.printRange() == QPrinter::Selection);
        written = printer.printerState() != QPrinter::Error &&
                  (file.isEmpty() || QFileInfo(file).size() > 0);
    }
    if (!written && !file.isEmpty()) {
        if (QFileInfo(file).size() == 0) QFile::remove(file);  // no empty PDF left to open
        refuse(this, QStringLiteral("Δεν ήταν δυνατή η εγγραφή της κατάστασης αμοιβής στο "
                                    "αρχείο %1.\nΕλέγξτε ότι ο φάκελος υπάρχει, ότι επιτρέπεται "
                                    "η εγγραφή σε αυτόν και ότι υπάρχει ελεύθερος χώρος, και "
                                    "δοκιμάστε ξανά.")
                         .arg(QDir::toNativeSeparators(file)));
    }
}

}  // namespace fee::app
