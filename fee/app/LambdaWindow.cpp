#include "fee/app/LambdaWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "fee/app/EntrySupport.h"
#include "fee/app/Messages.h"
#include "fee/app/Widgets.h"
#include "fee/calc/EntryInput.h"

namespace fee::app {

namespace {

QString objectNameOf(WindowId which) {
    switch (which) {
        case WindowId::LambdaEditMenu:
            return QStringLiteral("lamda1");
        case WindowId::LambdaOverview:
            return QStringLiteral("lamda2");
        default:
            return QStringLiteral("Form2");
    }
}

// The window that opened this one and shows λ.
WindowId callerOf(WindowId which) {
    switch (which) {
        case WindowId::LambdaEditMenu:
            return WindowId::EditMenu;
        case WindowId::LambdaOverview:
            return WindowId::Overview;
        default:
            return WindowId::WorkMenu;
    }
}

}  // namespace

LambdaWindow::LambdaWindow(AppContext& ctx, WindowId which, QWidget* parent)
    : QWidget(parent, Qt::Window), ctx_(ctx), which_(which) {
    setObjectName(objectNameOf(which));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Αλλαγή Συντελεστή λ"));
    setAccessibleName(windowTitle());
    // λ belongs to the job this window was opened for, not to one chosen meanwhile.
    setProperty(kJobProperty, QString::fromStdString(ctx.store.currentJobFolder().value_or("")));

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    int row = 0;
    if (which == WindowId::LambdaEditMenu) {
        auto* oldCaption = new QLabel(QStringLiteral("Παλαιός συντελεστής λ:"), this);
        oldCaption->setObjectName(QStringLiteral("Label2"));
        QString oldText;
        if (const auto job = ctx.store.currentJobFolder())
            if (const auto lambda = ctx.store.lambda(*job))
                oldText =
                    QString::fromStdString(localeNumber(*lambda, ctx.store.decimalSeparator()));
        auto* oldValue = new QLabel(oldText, this);
        oldValue->setObjectName(QStringLiteral("oldLambda"));
        oldValue->setAccessibleName(oldCaption->text());
        grid->addWidget(oldCaption, row, 0);
        grid->addWidget(oldValue, row++, 1);
    }
    auto* caption = new QLabel(QStringLiteral("Νέος Συντελεστής λ"), this);
    caption->setObjectName(QStringLiteral("Label1"));
    lambda_ = new QLineEdit(this);
    lambda_->setObjectName(QStringLiteral("ll1"));
    lambda_->setAccessibleName(caption->text());
    caption->setBuddy(lambda_);
    grid->addWidget(caption, row, 0);
    grid->addWidget(lambda_, row++, 1);

    auto* save = new QPushButton(QStringLiteral("Αποθήκευση"), this);
    save->setObjectName(QStringLiteral("Command1"));
    save->setDefault(true);
    save->setMinimumWidth(110);
    connect(save, &QPushButton::clicked, this, &LambdaWindow::onSave);
    connect(lambda_, &QLineEdit::returnPressed, save, &QPushButton::click);
    dialogKeys(this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    auto* column = new QVBoxLayout(this);
    column->setSpacing(14);
    column->addLayout(grid);
    column->addLayout(buttons);
    setTabOrder(lambda_, save);
    lambda_->setFocus();
    setMinimumWidth(360);
    adjustSize();
}

void LambdaWindow::onSave() {
    const EntryCheck check =
        checkLambda(lambda_->text().toStdString(), ctx_.store.decimalSeparator());
    if (!check.ok()) {
        lambda_->setFocus();
        lambda_->selectAll();
        refuse(this, QString::fromStdString(check.refusal));
        return;
    }
    const auto job = jobToSaveInto(this, ctx_);
    if (!job) return;
    if (!ctx_.store.saveLambda(*job, check.value)) {
        refuse(this, QStringLiteral("Δεν ήταν δυνατή η αποθήκευση του συντελεστή λ (αρχείο "
                                    "l.dat)."));
        return;
    }
    ctx_.nav.reopen(callerOf(which_));
    close();
}

}  // namespace fee::app
