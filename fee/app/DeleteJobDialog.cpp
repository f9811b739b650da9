#include "fee/app/DeleteJobDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVariant>

#include "fee/app/Messages.h"
#include "fee/app/Widgets.h"

namespace fee::app {

DeleteJobDialog::DeleteJobDialog(AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window), ctx_(ctx) {
    setObjectName(QStringLiteral("diagrafh"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Π Ρ Ο Σ Ο Χ Η"));
    setProperty(kJobProperty, QString::fromStdString(ctx_.store.currentJobFolder().value_or("")));

    auto* heading = new QLabel(QStringLiteral("Π Ρ Ο Σ Ο Χ Η"), this);
    heading->setObjectName(QStringLiteral("Label2"));
    QFont big = heading->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    heading->setFont(big);
    heading->setAlignment(Qt::AlignCenter);
    heading->setStyleSheet(QStringLiteral("color: #b00000;"));

    auto* message = new QLabel(
        QStringLiteral("Η μελέτη θα διαγραφει.\nΘέλετε να διαγράψετε την μελέτη;"), this);
    message->setObjectName(QStringLiteral("Label1"));
    message->setAlignment(Qt::AlignCenter);

    auto* yes = new QPushButton(QStringLiteral("Ν Α Ι"), this);
    yes->setObjectName(QStringLiteral("OKButton"));
    auto* no = new QPushButton(QStringLiteral("Ο Χ Ι"), this);
    no->setObjectName(QStringLiteral("CancelButton"));
    yes->setMinimumWidth(100);
    no->setMinimumWidth(100);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(yes);
    row->addSpacing(20);
    row->addWidget(no);
    row->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addWidget(heading);
    layout->addSpacing(8);
    layout->addWidget(message);
    layout->addSpacing(12);
    layout->addLayout(row);
    setTabOrder(yes, no);

    connect(yes, &QPushButton::clicked, this, &DeleteJobDialog::onYes);
    connect(no, &QPushButton::clicked, this, &QWidget::close);
    dialogKeys(this, no);
}

void DeleteJobDialog::onYes() {
    const std::optional<std::string> job = ctx_.store.currentJobFolder();
    if (!job) {
        refuse(this, QStringLiteral("Δεν υπάρχει τρέχουσα μελέτη για διαγραφή: η μελέτη έχει ήδη "
                                    "διαγραφεί ή δεν έχει επιλεγεί καμία."));
        return;
    }
    // The question was asked about the job shown when it opened; another job chosen since
    // must not be the one deleted.
    if (property(kJobProperty).toString().toStdString() != *job) {
        refuse(this, QStringLiteral("Από τότε που ζητήθηκε η διαγραφή επιλέχθηκε άλλη μελέτη· "
                                    "δεν διαγράφηκε καμία μελέτη. Ζητήστε τη διαγραφή ξανά από "
                                    "την «Ανάγνωση-Διαγραφή Μελέτης» της μελέτης που θέλετε."));
        return;
    }
    switch (ctx_.store.deleteJob(*job)) {
        case fee::StoreStatus::Ok:
            ctx_.nav.close(WindowId::Overview);
            close();
            return;
        default:
            refuse(this, QStringLiteral("Η μελέτη δεν μπόρεσε να διαγραφεί: ο φάκελός της ή κάποιο "
                                        "αρχείο του δεν διαγράφεται. Η μελέτη παραμένει στον "
                                        "κατάλογο μελετών."));
            return;
    }
}

}  // namespace fee::app
