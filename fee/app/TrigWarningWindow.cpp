#include "fee/app/TrigWarningWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "fee/app/Widgets.h"

namespace fee::app {

QString warnedSpecialty(const fee::DataStore& store) {
    const auto job = store.currentJobFolder();
    if (!job) return {};
    const int code = store.specialty(*job).value_or(0);
    if (code >= 1 && code <= static_cast<int>(kSpecialties.size())) {
        const std::string_view name = kSpecialties[static_cast<std::size_t>(code - 1)];
        return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    }
    return QString::fromStdString(store.particulars(*job)[Particulars::Specialty]);
}

TrigWarningWindow::TrigWarningWindow(AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("error_trig"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("ΠΡΟΣΟΧΗ"));
    setAccessibleName(windowTitle());

    auto* intro = new QLabel(QStringLiteral("Έχετε δηλώσει οτι η ειδικότητά σας είναι:"), this);
    intro->setObjectName(QStringLiteral("Label1"));
    auto* specialty = new QLabel(warnedSpecialty(ctx.store), this);
    specialty->setObjectName(QStringLiteral("Label2"));
    specialty->setWordWrap(true);
    QFont bold = specialty->font();
    bold.setBold(true);
    specialty->setFont(bold);
    specialty->setAlignment(Qt::AlignHCenter);

    auto* ok = closingOkButton(this);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addStretch(1);
    auto* column = new QVBoxLayout(this);
    column->setSpacing(12);
    column->addWidget(intro);
    column->addWidget(specialty);
    column->addLayout(row);
    ok->setFocus();
    setMinimumWidth(intro->sizeHint().width() + 60);
    adjustSize();
}

}  // namespace fee::app
