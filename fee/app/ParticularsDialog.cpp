#include "fee/app/ParticularsDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "fee/app/Messages.h"
#include "fee/app/Widgets.h"

namespace fee::app {

namespace {

using P = fee::Particulars;

struct FieldInfo {
    const char* objectName;
    const char* caption;
    const char* what;  // how a message names the field
    int page;
};

// In STOIXEIA.dat order.
const FieldInfo kFields[P::Count] = {
    {"onoma", "Όνομα :", "Όνομα ιδιοκτήτη", 0},
    {"eponymo", "Eπώνυμο :", "Επώνυμο ιδιοκτήτη", 0},
    {"dnsh", "Δ/νση Κατοικίας :", "Δ/νση κατοικίας ιδιοκτήτη", 0},
    {"poli", "Πόλη :", "Πόλη ιδιοκτήτη", 0},
    {"dimos", "Δήμος :", "Δήμος", 1},
    {"DD", "Δημοτικό Διαμέρισμα :", "Δημοτικό Διαμέρισμα", 1},
    {"uesi", "Θέση :", "Θέση", 1},
    {"onm", "Όνομα :", "Όνομα μηχανικού", 2},
    {"Epm", "Επώνυμο :", "Επώνυμο μηχανικού", 2},
    {"dnsm", "Δ/νση :", "Δ/νση μηχανικού", 2},
    {"polim", "Πόλη :", "Πόλη μηχανικού", 2},
    {"eidikot", "Ειδικότητα :", "Ειδικότητα μηχανικού", 2},
};

// What "OK" needs before it can create a job.
const int kRequired[] = {P::EngineerFirst, P::EngineerLast, P::Specialty, P::OwnerFirst,
                         P::OwnerLast};

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

ParticularsDialog::ParticularsDialog(AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window), ctx_(ctx) {
    setObjectName(QStringLiteral("stoixeia"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Στοιχεία Μελέτης"));
    setAccessibleName(windowTitle());

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tbsOptions"));
    const char* tabCaptions[] = {"Στοιχεία Ιδιοκτήτη", "Στοιχεία Έργου", "Στοιχεία Μηχανικού"};
    const char* tabKeys[] = {"stoixeia", "egro", "Mhxaniko"};
    const std::vector<int> pageFields[] = {
        {P::OwnerFirst, P::OwnerLast, P::OwnerAddress, P::OwnerCity},
        {P::Municipality, P::District, P::Location},
        {P::EngineerFirst, P::EngineerLast, P::EngineerAddress, P::EngineerCity, P::Specialty},
    };
    for (int i = 0; i < 3; ++i) {
        tabs_->addTab(buildPage(i, pageFields[i]), q(tabCaptions[i]));
        tabs_->tabBar()->setTabData(i, QString::fromLatin1(tabKeys[i]));
    }

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("cmdOK"));
    ok_->setEnabled(false);
    ok_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(buttons);

    // Visual order: each page top to bottom, then the buttons below the pages.
    QWidget* order[] = {fields_[P::OwnerFirst],
                        fields_[P::OwnerLast],
                        fields_[P::OwnerAddress],
                        fields_[P::OwnerCity],
                        fields_[P::Municipality],
                        fields_[P::District],
                        fields_[P::Location],
                        engineers_,
                        fields_[P::EngineerFirst],
                        fields_[P::EngineerLast],
                        fields_[P::EngineerAddress],
                        fields_[P::EngineerCity],
                        fields_[P::Specialty],
                        findChild<QPushButton*>("Command1"),
                        ok_,
                        cancel};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    connect(tabs_, &QTabWidget::currentChanged, this, &ParticularsDialog::onTabChanged);
    connect(fields_[P::OwnerFirst], &QLineEdit::textChanged, this, &ParticularsDialog::checkOk);
    connect(fields_[P::OwnerLast], &QLineEdit::textChanged, this, &ParticularsDialog::checkOk);
    connect(engineers_, &QComboBox::activated, this, &ParticularsDialog::onEngineerPicked);
    connect(ok_, &QPushButton::clicked, this, &ParticularsDialog::onOk);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);

    onTabChanged(0);
    rebuildEngineers();
    qApp->installEventFilter(this);
    dialogKeys(this, ok_);
    // Typing starts at once in the owner's first name.
    fields_[P::OwnerFirst]->setFocus();
}

QWidget* ParticularsDialog::buildPage(int index, const std::vector<int>& fields) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("picOptions(%1)").arg(index));
    auto* form = new QFormLayout(page);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    if (index == 2) {
        engineers_ = new QComboBox(page);
        engineers_->setObjectName(QStringLiteral("Combo1"));
        engineers_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        engineers_->setMinimumContentsLength(24);
        auto* label = new QLabel(QStringLiteral("Ονοματεπώνυμο Μηχανικού"), page);
        label->setObjectName(QStringLiteral("Combo1Label"));
        label->setBuddy(engineers_);
        engineers_->setAccessibleName(label->text());
        form->addRow(label, engineers_);
    }
    for (int field : fields) {
        const FieldInfo& info = kFields[field];
        auto* edit = new QLineEdit(page);
        edit->setObjectName(QString::fromLatin1(info.objectName));
        edit->setMinimumWidth(260);
        auto* label = new QLabel(q(info.caption), page);
        label->setObjectName(edit->objectName() + QStringLiteral("Label"));
        label->setBuddy(edit);
        edit->setAccessibleName(label->text());
        form->addRow(label, edit);
        fields_[static_cast<std::size_t>(field)] = edit;
    }
    if (index == 2) {
        auto* add = new QPushButton(QStringLiteral("Nέος Μηχανικός"), page);
        add->setObjectName(QStringLiteral("Command1"));
        connect(add, &QPushButton::clicked, this, [this] { ctx_.nav.open(WindowId::NewEngineer); });
        auto* row = new QHBoxLayout;
        row->addStretch(1);
        row->addWidget(add);
        form->addRow(row);
    }
    return page;
}

bool ParticularsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto mods = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_Tab && mods == Qt::ControlModifier) {
            stepTab(1);
            return true;
        }
        if (key->key() == Qt::Key_Backtab && mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
            stepTab(-1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool ParticularsDialog::event(QEvent* event) {
    // An engineer added meanwhile in the new-engineer dialog shows up when we come back.
    if (event->type() == QEvent::WindowActivate) rebuildEngineers();
    return QWidget::event(event);
}

void ParticularsDialog::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (centred_) return;
    centred_ = true;
    if (const QScreen* s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
}

std::vector<fee::Engineer> ParticularsDialog::rebuildEngineers() {
    std::vector<fee::Engineer> engineers = ctx_.store.listEngineers();
    const int selected = engineers_->currentIndex();
    const QSignalBlocker block(engineers_);
    engineers_->clear();
    for (const auto& e : engineers)
        engineers_->addItem(QString::fromStdString(e.first + " " + e.last));
    engineers_->setCurrentIndex(selected < engineers_->count() ? selected : -1);
    return engineers;
}

void ParticularsDialog::onEngineerPicked(int index) {
    const std::vector<fee::Engineer> engineers = rebuildEngineers();
    if (index < 0 || static_cast<std::size_t>(index) >= engineers.size()) return;
    const fee::Engineer& e = engineers[static_cast<std::size_t>(index)];
    fields_[P::EngineerFirst]->setText(QString::fromStdString(e.first));
    fields_[P::EngineerLast]->setText(QString::fromStdString(e.last));
    fields_[P::EngineerAddress]->setText(QString::fromStdString(e.address));
    fields_[P::EngineerCity]->setText(QString::fromStdString(e.city));
    fields_[P::Specialty]->setText(QString::fromStdString(e.specialty));
    checkOk();
}

void ParticularsDialog::checkOk() {
    for (int field : kRequired)
        if (fields_[static_cast<std::size_t>(field)]->text().isEmpty()) return;
    ok_->setEnabled(true);
}

void ParticularsDialog::onTabChanged(int index) {
    // Only the shown page takes part, so Tab never lands on a hidden field.
    for (int i = 0; i < tabs_->count(); ++i) tabs_->widget(i)->setEnabled(i == index);
}

void ParticularsDialog::stepTab(int step) {
    const int count = tabs_->count();
    const int next = (tabs_->currentIndex() + step + count) % count;
    tabs_->setCurrentIndex(next);
    QWidget* first[] = {fields_[P::OwnerFirst], fields_[P::Municipality], engineers_};
    first[next]->setFocus(Qt::TabFocusReason);
}

bool ParticularsDialog::refuseField(int field, const QString& text) {
    QLineEdit* edit = fields_[static_cast<std::size_t>(field)];
    tabs_->setCurrentIndex(kFields[field].page);
    edit->setFocus(Qt::OtherFocusReason);
    refuse(this, text);
    return false;
}

void ParticularsDialog::onOk() {
    fee::Particulars particulars;
    for (std::size_t i = 0; i < fields_.size(); ++i)
        particulars.fields[i] = fields_[i]->text().toStdString();

    // The button stays enabled once the check has passed, so a required field may have been
    // emptied since; a job without an owner or an engineer makes no sense.
    for (int field : kRequired)
        if (particulars.fields[static_cast<std::size_t>(field)].empty())
            return void(refuseField(
                field, QStringLiteral("Συμπληρώστε το πεδίο «%1»: χωρίς αυτό δεν δημιουργείται "
                                      "μελέτη.")
                           .arg(q(kFields[field].what))));

    for (int field = 0; field < P::Count; ++field)
        if (!fee::storableText(particulars.fields[static_cast<std::size_t>(field)]))
            return void(refuseField(
                field,
                QStringLiteral("Το πεδίο «%1» δεν μπορεί να αποθηκευτεί: δεν επιτρέπονται το "
                               "κόμμα (,), τα εισαγωγικά (\"), οι αλλαγές γραμμής και χαρακτήρες "
                               "που δεν ανήκουν στην ελληνική κωδικοσελίδα (Windows-1253).")
                    .arg(q(kFields[field].what))));

    const fee::JobName owner{particulars[P::OwnerFirst], particulars[P::OwnerLast]};
    const QString ownerText = QString::fromStdString(owner.display());
    const QString badFolder =
        QStringLiteral(
            "Το ονοματεπώνυμο του ιδιοκτήτη «%1» δεν μπορεί να γίνει όνομα φακέλου "
            "της μελέτης. Αφαιρέστε τους χαρακτήρες \\ / : * ? < > | και τις τελείες "
            "ή κενά στην αρχή και στο τέλος.")
            .arg(ownerText);
    const QString exists = QStringLiteral(
                               "Υπάρχει ήδη μελέτη για τον ιδιοκτήτη «%1». Ανοίξτε την από τη "
                               "«Διαχείριση Μελετών» για να τη διορθώσετε ή να τη διαγράψετε.")
                               .arg(ownerText);
    if (!fee::validOwnerName(owner)) return void(refuseField(P::OwnerFirst, badFolder));
    if (ctx_.store.fs().exists(ctx_.store.jobPath(owner)))
        return void(refuseField(P::OwnerFirst, exists));

    switch (ctx_.store.createJob(particulars)) {
        case fee::StoreStatus::Ok:
            ctx_.nav.open(WindowId::WorkMenu);
            close();
            return;
        case fee::StoreStatus::FolderExists:
            refuseField(P::OwnerFirst, exists);
            return;
        case fee::StoreStatus::BadFolderName:
            refuseField(P::OwnerFirst, badFolder);
            return;
        default:
            refuse(this, QStringLiteral("Η μελέτη δεν δημιουργήθηκε: τα αρχεία της δεν μπόρεσαν να "
                                        "γραφτούν στον φάκελο δεδομένων."));
            return;
    }
}

}  // namespace fee::app
