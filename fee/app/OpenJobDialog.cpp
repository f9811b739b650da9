#include "fee/app/OpenJobDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <tuple>

#include "fee/app/Messages.h"
#include "fee/app/Widgets.h"

namespace fee::app {

OpenJobDialog::OpenJobDialog(AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window), ctx_(ctx) {
    setObjectName(QStringLiteral("palaia"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Εισαγωγή Προηγούμενης Μελέτης"));

    auto* label = new QLabel(QStringLiteral("Εισαγωγή της μελέτης του Ιδιοκτήτη κ.κ."), this);
    label->setObjectName(QStringLiteral("Label1"));
    auto* list = new QComboBox(this);
    list->setObjectName(QStringLiteral("EPILOGI"));
    list->setMinimumWidth(320);
    list->setMaxVisibleItems(20);
    label->setBuddy(list);
    list->setAccessibleName(label->text());

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setMinimumWidth(100);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addSpacing(10);
    layout->addLayout(row);
    setTabOrder(list, ok);
    dialogKeys(this, ok);

    // Every job is listed; temp1.dat keeps the folder names of the first hundred, as always.
    std::tie(jobs_, slotsWritten_) = ctx_.store.listJobsIntoSlots();
    for (const fee::JobName& job : jobs_) list->addItem(QString::fromStdString(job.display()));
    list->setCurrentIndex(-1);

    connect(list, &QComboBox::activated, this, &OpenJobDialog::onPicked);
    connect(ok, &QPushButton::clicked, this, [this] {
        ctx_.nav.open(WindowId::Overview);
        close();
    });
}

void OpenJobDialog::onPicked(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= jobs_.size()) return;
    // temp1.dat turns the pick into a folder name; beyond its hundred lines (or where it has
    // lost a line) the job list read on opening gives the same name. A temp1.dat that could
    // not be rewritten is an older listing and would name the wrong job.
    std::optional<std::string> folder;
    if (slotsWritten_) folder = ctx_.store.jobSlot(static_cast<std::size_t>(index));
    if (!folder || folder->find_first_not_of(' ') == std::string::npos)
        folder = jobs_[static_cast<std::size_t>(index)].folderName();
    if (!ctx_.store.setCurrentJob(ctx_.store.dataFolder() + *folder)) {
        refuse(this, QStringLiteral("Η επιλογή της μελέτης δεν μπόρεσε να αποθηκευτεί (temp.dat). "
                                    "Ελέγξτε τον φάκελο δεδομένων του προγράμματος."));
    }
}

}  // namespace fee::app
