#include "fee/app/OverviewWindow.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "fee/app/JobSummaryPanel.h"
#include "fee/app/Widgets.h"

namespace fee::app {

namespace {

QLabel* named(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

OverviewWindow::OverviewWindow(AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window), ctx_(ctx) {
    setObjectName(QStringLiteral("Form13"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Ανάγνωση-Διαγραφή Μελέτης"));
    setAccessibleName(windowTitle());

    auto* heading = new QLabel(QStringLiteral("ΑΜΟΙΒΕΣ ΤΟΠΟΓΡΑΦΙΚΩΝ ΔΙΑΓΡΑΜΜΑΤΩΝ"), this);
    heading->setObjectName(QStringLiteral("Label1"));
    heading->setAlignment(Qt::AlignCenter);
    QFont big = heading->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    heading->setFont(big);

    auto* status = new QGroupBox(this);
    status->setObjectName(QStringLiteral("status"));
    auto* statusRow = new QHBoxLayout(status);
    auto* plan = named("ent", status);
    QFont bold = plan->font();
    bold.setBold(true);
    plan->setFont(bold);
    auto* scale = named("klim", status);
    lambda_ = named("l", status);
    auto* lambdaCaption = new QLabel(QStringLiteral("Συντελεστής λ:"), status);
    lambdaCaption->setObjectName(QStringLiteral("lCaption"));
    lambdaCaption->setBuddy(lambda_);
    lambda_->setAccessibleDescription(lambdaCaption->text());
    statusRow->addWidget(plan);
    statusRow->addSpacing(24);
    statusRow->addWidget(scale);
    statusRow->addSpacing(24);
    statusRow->addWidget(lambdaCaption);
    statusRow->addWidget(lambda_);
    statusRow->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addWidget(status);
    quantities_ = new JobQuantitiesPanel(this);
    right->addWidget(quantities_, 1);

    auto* middle = new QHBoxLayout;
    particulars_ = new JobParticularsPanel(this);
    // The particulars keep the width their texts need; the quantities take what is left.
    middle->addWidget(particulars_, 0);
    middle->addLayout(right, 1);

    auto* revise = namedButton(this, "Command1", QStringLiteral("Αναθεωριση συντελεστού λ"));
    auto* keep = namedButton(this, "Command2", QStringLiteral("Ανάγνωση"));
    auto* correct = namedButton(this, "Command3", QStringLiteral("Διόρθωση"));
    auto* remove = namedButton(this, "Command4", QStringLiteral("Διαγραφή"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(revise);
    buttons->addStretch(1);
    buttons->addWidget(keep);
    buttons->addWidget(correct);
    buttons->addWidget(remove);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);

    setTabOrder(revise, keep);
    setTabOrder(keep, correct);
    setTabOrder(correct, remove);

    connect(revise, &QPushButton::clicked, this, [this] {
        ctx_.nav.open(WindowId::LambdaOverview);
        refreshLambda();
    });
    // The job simply stays current in temp.dat.
    connect(keep, &QPushButton::clicked, this, &QWidget::close);
    connect(correct, &QPushButton::clicked, this, [this] {
        ctx_.nav.open(WindowId::EditMenu);
        close();
    });
    connect(remove, &QPushButton::clicked, this,
            [this] { ctx_.nav.open(WindowId::DeleteConfirm); });

    load();
}

void OverviewWindow::load() {
    job_ = ctx_.store.currentJobFolder();
    setProperty(kJobProperty, QString::fromStdString(job_.value_or("")));
    auto* plan = findChild<QLabel*>(QStringLiteral("ent"));
    auto* scale = findChild<QLabel*>(QStringLiteral("klim"));
    const QString scaleCaption = QStringLiteral("Κλίμακα 1:");
    scale->setText(scaleCaption);
    if (!job_) return;

    const std::optional<std::int16_t> flag = ctx_.store.planFlag(*job_);
    plan->setText(flag && *flag == 1 ? QStringLiteral("ΕΝΤΟΣ ΣΧΕΔΙΟΥ")
                                     : QStringLiteral("ΕΚΤΟΣ ΣΧΕΔΙΟΥ"));
    if (const auto stored = ctx_.store.scaleText(*job_))
        scale->setText(scaleCaption + QString::fromStdString(*stored).trimmed());
    refreshLambda();
    particulars_->setParticulars(ctx_.store.particulars(*job_));
    quantities_->load(ctx_.store, *job_);
}

void OverviewWindow::refreshLambda() {
    if (!job_) return;
    const std::optional<float> lambda = ctx_.store.lambda(*job_);
    lambda_->setText(lambda ? displayNumber(static_cast<double>(*lambda), 7,
                                            QString::fromStdString(ctx_.store.decimalSeparator()))
                            : QString());
}

}  // namespace fee::app
