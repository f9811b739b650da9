#include "fee/app/Messages.h"

#include <QMessageBox>
#include <QPushButton>

namespace fee::app {

void refuse(QWidget* parent, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Προσοχή"), text,
                                QMessageBox::NoButton, parent);
    box->setObjectName(QStringLiteral("refusal"));
    box->addButton(QStringLiteral("Εντάξει"), QMessageBox::AcceptRole);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

QString noJobMessage() {
    return QStringLiteral(
        "Δεν υπάρχει τρέχουσα μελέτη: η μελέτη που είχε επιλεγεί δεν υπάρχει ή δεν έχει επιλεγεί "
        "καμία.\nΔημιουργήστε μια νέα μελέτη με το «Νέα Μελέτη» ή επιλέξτε μια υπάρχουσα από τη "
        "«Διαχείριση Μελετών».");
}

QString displayNumber(double value, int digits, const QString& separator) {
    QString text = QString::number(value, 'g', digits);
    if (text == QLatin1String("-0")) text = QStringLiteral("0");
    text.replace(QLatin1Char('.'), separator);
    return text;
}

}  // namespace fee::app
