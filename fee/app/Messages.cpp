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

}  // namespace fee::app
