#include "fee/app/EntrySupport.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVariant>
#include <QWidget>

#include "fee/app/Messages.h"

namespace fee::app {

QLineEdit* addLabelledField(QGridLayout* grid, int row, QWidget* owner, const QString& objectName,
                            const QString& labelText) {
    auto* label = new QLabel(labelText, owner);
    label->setObjectName(QStringLiteral("lbl_") + objectName);
    label->setWordWrap(true);
    auto* edit = new QLineEdit(owner);
    edit->setObjectName(objectName);
    edit->setAccessibleName(labelText.trimmed());
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000000000")));
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1, Qt::AlignVCenter);
    return edit;
}

QLabel* makeNote(QWidget* owner, const QString& text, const QString& objectName) {
    auto* label = new QLabel(text, owner);
    label->setWordWrap(true);
    if (!objectName.isEmpty()) label->setObjectName(objectName);
    return label;
}

std::optional<std::vector<double>> checkFields(QWidget* window, const AppContext& ctx,
                                               const std::vector<EntryField>& fields,
                                               const std::function<void(int)>& reveal) {
    std::vector<double> stored;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const EntryField& field = fields[i];
        if (field.kept && field.edit->text() == field.shown) {
            stored.push_back(*field.kept);
            continue;
        }
        const EntryCheck check =
            checkQuantity(field.edit->text().toStdString(), field.name.toStdString(), field.form,
                          ctx.store.decimalSeparator(), field.whole);
        if (!check.ok()) {
            if (reveal) reveal(static_cast<int>(i));
            field.edit->setFocus();
            field.edit->selectAll();
            refuse(window, QString::fromStdString(check.refusal));
            return std::nullopt;
        }
        stored.push_back(check.stored);
    }
    return stored;
}

std::optional<std::string> jobToSaveInto(QWidget* window, const AppContext& ctx) {
    const auto job = ctx.store.currentJobFolder();
    if (!job) {
        refuse(window, QStringLiteral("Δεν υπάρχει ανοιχτή μελέτη· τα στοιχεία δεν "
                                      "αποθηκεύτηκαν. Ανοίξτε ή δημιουργήστε πρώτα μια μελέτη."));
        return std::nullopt;
    }
    // Opened on another job than the current one: its values belong to that job.
    const QVariant openedOn = window->property(kJobProperty);
    if (openedOn.isValid() && openedOn.toString().toStdString() != *job) {
        refuse(window, QStringLiteral("Από τότε που άνοιξε αυτό το παράθυρο επιλέχθηκε ή "
                                      "δημιουργήθηκε άλλη μελέτη· τα στοιχεία δεν αποθηκεύτηκαν. "
                                      "Ανοίξτε το ξανά από το μενού της μελέτης που θέλετε."));
        return std::nullopt;
    }
    return job;
}

bool writeEntryFile(QWidget* window, AppContext& ctx, std::string_view file,
                    const std::vector<double>& values, Width width) {
    const auto job = jobToSaveInto(window, ctx);
    if (!job) return false;
    if (!ctx.store.writeQuantities(*job, file, values, width)) {
        refuse(window, QStringLiteral("Δεν ήταν δυνατή η αποθήκευση του αρχείου %1 στον φάκελο "
                                      "της μελέτης.")
                           .arg(QString::fromUtf8(file.data(), static_cast<int>(file.size()))));
        return false;
    }
    return true;
}

void closeAfterSubmit(QWidget* window, AppContext& ctx, EntryMode mode) {
    if (mode == EntryMode::Edit) ctx.nav.reopen(WindowId::EditMenu);
    window->close();
}

std::vector<double> storedValues(const AppContext& ctx, std::string_view file, int count) {
    const auto job = ctx.store.currentJobFolder();
    if (!job) return std::vector<double>(static_cast<std::size_t>(count), 0.0);
    return ctx.store.quantities(*job, file, count);
}

QString shownText(const AppContext& ctx, double fileValue, ShownAs how) {
    return QString::fromStdString(shownQuantity(fileValue, how, ctx.store.decimalSeparator()));
}

}  // namespace fee::app
