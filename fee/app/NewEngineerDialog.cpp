#include "fee/app/NewEngineerDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "fee/app/Messages.h"
#include "fee/app/Widgets.h"

namespace fee::app {

NewEngineerDialog::NewEngineerDialog(AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window), ctx_(ctx) {
    setObjectName(QStringLiteral("Form14"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Εισαγωγή Νέου Μηχανικού"));
    setAccessibleName(windowTitle());

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    auto addRow = [&](QWidget* field, const char* name, const char* caption) {
        field->setObjectName(QString::fromLatin1(name));
        field->setMinimumWidth(280);
        auto* label = new QLabel(QString::fromUtf8(caption), this);
        label->setObjectName(field->objectName() + QStringLiteral("Label"));
        label->setBuddy(field);
        field->setAccessibleName(label->text());
        form->addRow(label, field);
    };
    first_ = new QLineEdit(this);
    last_ = new QLineEdit(this);
    address_ = new QLineEdit(this);
    city_ = new QLineEdit(this);
    // A list, not a text box: a mistyped specialty would get code 0, and code 0 may enter
    // triangulation. Nothing picked stores an empty line.
    specialty_ = new QComboBox(this);
    for (std::string_view text : fee::kSpecialties)
        specialty_->addItem(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    specialty_->setCurrentIndex(-1);
    addRow(first_, "onm", "Όνομα :");
    addRow(last_, "Epm", "Επώνυμο :");
    addRow(address_, "dnsm", "Δ/νση :");
    addRow(city_, "polim", "Πόλη :");
    addRow(specialty_, "eidikot", "Ειδικότητα :");

    auto* ok = new QPushButton(QStringLiteral("ΟΚ"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    connect(ok, &QPushButton::clicked, this, &NewEngineerDialog::onOk);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    setTabOrder(first_, last_);
    setTabOrder(last_, address_);
    setTabOrder(address_, city_);
    setTabOrder(city_, specialty_);
    setTabOrder(specialty_, ok);
    dialogKeys(this, ok);
    first_->setFocus();
}

void NewEngineerDialog::onOk() {
    const fee::Engineer engineer{first_->text().toStdString(), last_->text().toStdString(),
                                 address_->text().toStdString(), city_->text().toStdString(),
                                 specialty_->currentText().toStdString()};
    const std::pair<const std::string*, QWidget*> fields[] = {
        {&engineer.first, first_}, {&engineer.last, last_},           {&engineer.address, address_},
        {&engineer.city, city_},   {&engineer.specialty, specialty_},
    };
    const char* names[] = {"Όνομα", "Επώνυμο", "Δ/νση", "Πόλη", "Ειδικότητα"};
    // An engineer without a name would stay in the list as an empty record for good.
    for (std::size_t i = 0; i < 2; ++i) {
        if (QString::fromStdString(*fields[i].first).trimmed().isEmpty()) {
            fields[i].second->setFocus(Qt::OtherFocusReason);
            refuse(this, QStringLiteral("Συμπληρώστε το πεδίο «%1» του μηχανικού: χωρίς όνομα "
                                        "και επώνυμο δεν αποθηκεύεται μηχανικός.")
                             .arg(QString::fromUtf8(names[i])));
            return;
        }
    }
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        if (fee::storableText(*fields[i].first)) continue;
        fields[i].second->setFocus(Qt::OtherFocusReason);
        refuse(this, QStringLiteral("Το πεδίο «%1» του μηχανικού δεν μπορεί να αποθηκευτεί: δεν "
                                    "επιτρέπονται το κόμμα (,), τα εισαγωγικά (\"), οι αλλαγές "
                                    "γραμμής και χαρακτήρες που δεν ανήκουν στην ελληνική "
                                    "κωδικοσελίδα (Windows-1253).")
                         .arg(QString::fromUtf8(names[i])));
        return;
    }
    if (ctx_.store.appendEngineer(engineer) != fee::StoreStatus::Ok) {
        refuse(this, QStringLiteral("Ο μηχανικός δεν αποθηκεύτηκε: ο κατάλογος μηχανικών "
                                    "(mix.dat) δεν μπόρεσε να γραφτεί."));
        return;
    }
    close();
}

}  // namespace fee::app
