#include "fee/app/MainMenuWindow.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "fee/app/Messages.h"
#include "fee/app/SplashWindow.h"
#include "fee/app/StatementChecks.h"
#include "fee/app/Widgets.h"

namespace fee::app {

MainMenuWindow::MainMenuWindow(AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window), ctx_(ctx) {
    setObjectName(QStringLiteral("Form9"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Αμοιβές Τοπογραφικών "));

    auto* picture = namedLabel(this, "Picture1", QString());
    picture->setPixmap(drawLogo(260));
    picture->setAlignment(Qt::AlignCenter);
    picture->setFrameShape(QFrame::StyledPanel);

    auto* title = namedLabel(this, "Label1", QStringLiteral("ΑΜΟΙΒΕΣ ΤΟΠΟΓΡΑΦΙΚΩΝ ΕΡΓΑΣΙΩΝ"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 2.0);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);

    auto* heading =
        namedLabel(this, "Label2", QStringLiteral("ΠΡΟΕΔΡΙΚΟ ΔΙΑΤΑΓΜΑ ΥΠ' ΑΡΙΘΜ. 696/74"));
    QFont mid = heading->font();
    mid.setPointSizeF(mid.pointSizeF() * 1.3);
    mid.setBold(true);
    heading->setFont(mid);
    heading->setAlignment(Qt::AlignCenter);

    // The main menu writes the first title its own way, with the school's initials.
    auto* credits = creditsGrid(
        this, {"Label3", "Label4", "Label5", "Label6"},
        {QStringLiteral("Αγρονόμος  Τοπογράφος Μηχανικός ΕΜΠ"), fromView(fee::kAuthors[1].title)},
        Qt::AlignCenter);
    credits->setHorizontalSpacing(30);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(10);
    auto addButton = [&](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setMinimumHeight(38);
        b->setMinimumWidth(190);
        buttons->addWidget(b);
        return b;
    };
    auto* newJob = addButton("new", QStringLiteral("Νέα Μελέτη"));
    auto* manage = addButton("anaglosh", QStringLiteral("Διαχείριση Μελετών"));
    auto* compute = addButton("Command8", QStringLiteral("Υπολογισμοί"));
    auto* print = addButton("print", QStringLiteral("Εκτύπωση"));
    auto* help = addButton("Command2", QStringLiteral("Βοήθεια"));
    buttons->addStretch(1);
    auto* exit = addButton("Command1", QStringLiteral("Έξοδος"));

    // Confirms a computation quietly, without a box the user must dismiss.
    status_ = namedLabel(this, "lblStatus", QString());
    status_->setMinimumHeight(status_->fontMetrics().height());

    auto* body = new QHBoxLayout;
    body->setSpacing(20);
    body->addWidget(picture, 1);
    body->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 12);
    layout->addWidget(title);
    layout->addWidget(heading);
    layout->addSpacing(10);
    layout->addLayout(body, 1);
    layout->addSpacing(10);
    layout->addLayout(credits);
    layout->addWidget(status_);

    adjustSize();
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    connect(newJob, &QPushButton::clicked, this, [this] { ctx_.nav.open(WindowId::Particulars); });
    connect(manage, &QPushButton::clicked, this, [this] { ctx_.nav.open(WindowId::OpenJob); });
    connect(compute, &QPushButton::clicked, this, &MainMenuWindow::onCompute);
    connect(print, &QPushButton::clicked, this, &MainMenuWindow::onPrint);
    connect(help, &QPushButton::clicked, this, [this] { ctx_.nav.open(WindowId::Help); });
    connect(exit, &QPushButton::clicked, this, [this] { ctx_.nav.quit(); });

    setTabOrder(newJob, manage);
    setTabOrder(manage, compute);
    setTabOrder(compute, print);
    setTabOrder(print, help);
    setTabOrder(help, exit);
}

bool MainMenuWindow::onCompute() {
    status_->clear();
    const auto job = ctx_.store.currentJobFolder();
    if (!job) {
        refuse(this, noJobMessage());
        return false;
    }
    if (!computeStatement(ctx_, *job, this)) return false;
    status_->setText(QStringLiteral("Ο υπολογισμός ολοκληρώθηκε"));
    return true;
}

bool MainMenuWindow::stale() const {
    const auto job = ctx_.store.currentJobFolder();
    return job && statementStale(ctx_, *job);
}

void MainMenuWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Back from editing the job: "completed" no longer describes the statement on disk.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && stale()) status_->clear();
}

void MainMenuWindow::onPrint() {
    const auto job = ctx_.store.currentJobFolder();
    const auto& last = ctx_.lastStatement;
    if (job && last && last->job == *job && !last->whole) {
        refuse(this, QStringLiteral("Ο τελευταίος υπολογισμός της μελέτης δεν ολοκληρώθηκε: η "
                                    "κατάσταση αμοιβής δεν είναι πλήρης. Πατήστε ξανά "
                                    "«Υπολογισμοί» και μετά «Εκτύπωση»."));
        return;
    }
    if (!stale()) return ctx_.nav.open(WindowId::Document);
    status_->clear();
    askComputeFirst(this,
                    QStringLiteral("Τα στοιχεία της μελέτης άλλαξαν μετά τον τελευταίο "
                                   "υπολογισμό, οπότε η κατάσταση αμοιβής είναι παλιά. Να γίνει "
                                   "πρώτα ο υπολογισμός;"),
                    [this](StaleAnswer answer) {
                        if (answer == StaleAnswer::Cancel) return;
                        if (answer == StaleAnswer::AsItIs || onCompute())
                            ctx_.nav.open(WindowId::Document);
                    });
}

}  // namespace fee::app
