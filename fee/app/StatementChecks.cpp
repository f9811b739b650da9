#include "fee/app/StatementChecks.h"

#include <QMessageBox>
#include <QPushButton>

#include "fee/app/Messages.h"

namespace fee::app {

bool statementStale(const AppContext& ctx, const std::string& job) {
    const auto& last = ctx.lastStatement;
    if (last && last->job == job)
        return !last->whole || last->inputs != fee::statementInputs(ctx.store, job);
    // Computed in an earlier session: the files' times are all there is to go by.
    return fee::writtenAfterStatement(ctx.store, job);
}

bool computeStatement(AppContext& ctx, const std::string& job, QWidget* parent) {
    const fee::AssemblyResult result = fee::assembleStatement(ctx.store, job);
    if (result == fee::AssemblyResult::NoJob) {
        refuse(parent, noJobMessage());
        return false;
    }
    // A refused λ wrote nothing: whatever statement there was stays as it was recorded.
    if (result.status != fee::AssemblyResult::BadLambda)
        ctx.lastStatement = fee::StatementRecord{job, fee::statementInputs(ctx.store, job),
                                                 result.status == fee::AssemblyResult::Ok};
    if (result.status != fee::AssemblyResult::Ok) {
        refuse(parent, QString::fromStdString(fee::assemblyMessage(result, job)));
        return false;
    }
    return true;
}

void askComputeFirst(QWidget* parent, const QString& question,
                     std::function<void(StaleAnswer)> then) {
    auto* box = new QMessageBox(QMessageBox::Question, QStringLiteral("Εκτύπωση"), question,
                                QMessageBox::NoButton, parent);
    box->setObjectName(QStringLiteral("staleQuestion"));
    QPushButton* yes = box->addButton(QStringLiteral("Ναι"), QMessageBox::YesRole);
    QPushButton* no = box->addButton(QStringLiteral("Όχι"), QMessageBox::NoRole);
    // Without a cancel of its own, Escape would count as «Όχι» and print the old statement.
    QPushButton* cancel = box->addButton(QStringLiteral("Άκυρο"), QMessageBox::RejectRole);
    box->setDefaultButton(yes);
    box->setEscapeButton(cancel);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Once the box is gone, so that what follows (a print dialog) does not open over it.
    QObject::connect(box, &QDialog::finished, box, [box, yes, no, then = std::move(then)] {
        QAbstractButton* pressed = box->clickedButton();
        then(pressed == yes  ? StaleAnswer::ComputeFirst
             : pressed == no ? StaleAnswer::AsItIs
                             : StaleAnswer::Cancel);
    });
    box->open();
}

}  // namespace fee::app
