#include "fee/app/WorkMenuWindow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "fee/app/JobSummaryPanel.h"
#include "fee/app/Messages.h"
#include "fee/app/Widgets.h"
#include "fee/calc/Pricing.h"

namespace fee::app {

namespace {

struct EntryButton {
    const char* name;
    const char* caption;
    fee::CategoryId category;
};

const EntryButton kEntryButtons[] = {
    {"Command3", "Πολυγωνομετρία", fee::CategoryId::Polygon},
    {"Command4", "Ταχυμετρικες Αποτυπώσεις στην ύπαιθρο", fee::CategoryId::Taxi},
    {"Command5", "Αποτυπώσεις Αστικων Περιοχών", fee::CategoryId::Asti},
    {"Command6", "Σύνταξη Πράξεων Αναλογισμού", fee::CategoryId::Analog},
    {"Command7", "Οικοδομικές-Ρυμοτομικές Γραμμες", fee::CategoryId::Rymotom},
    {"Command8", "Σύνταξη Πινάκων Αναλογισμού (Χιλιοστά)", fee::CategoryId::Xilosta},
    {"Command9", "Χαραξη οικοπέδων επί του  εδάφους", fee::CategoryId::Oix},
    {"Command10", "Xάραξη Κτιριακών Έργων", fee::CategoryId::Them},
};

const char* const kScales[] = {"100", "200", "500", "1000", "2000"};

}  // namespace

WorkMenuWindow::WorkMenuWindow(AppContext& ctx, EntryMode mode, QWidget* parent)
    : QWidget(parent, Qt::Window), ctx_(ctx), mode_(mode) {
    const bool edit = mode == EntryMode::Edit;
    setObjectName(edit ? QStringLiteral("ALLAGI1") : QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(edit ? QStringLiteral("ΔΙΟΡΘΩΣΗ ΜΕΤΛΕΤΗΣ")
                        : QStringLiteral("Aμοιβές Τοπογραφικών Διαγραμμάτων"));
    setAccessibleName(windowTitle());

    particulars_ = new JobParticularsPanel(this);

    auto* job = new QGroupBox(this);
    job->setObjectName(QStringLiteral("jobSettings"));
    auto* form = new QFormLayout(job);
    lambda_ = new QLabel(job);
    lambda_->setObjectName(QStringLiteral("l"));
    lambda_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* lambdaCaption = new QLabel(QStringLiteral("Συντελεστής λ:"), job);
    lambdaCaption->setObjectName(QStringLiteral("lCaption"));
    lambdaCaption->setBuddy(lambda_);
    lambda_->setAccessibleDescription(lambdaCaption->text());
    form->addRow(lambdaCaption, lambda_);

    scale_ = new QComboBox(job);
    scale_->setObjectName(QStringLiteral("Combo1"));
    scale_->setEditable(true);
    // Only a scale picked from the list is stored; typed text must not grow the list.
    scale_->setInsertPolicy(QComboBox::NoInsert);
    auto* scaleCaption = new QLabel(QStringLiteral("Κλίμακα"), job);
    scaleCaption->setObjectName(QStringLiteral("Combo1Label"));
    scaleCaption->setBuddy(scale_);
    scale_->setAccessibleName(scaleCaption->text());
    form->addRow(scaleCaption, scale_);

    outside_ = new QRadioButton(QStringLiteral("Εκτός Σχεδίου"), job);
    outside_->setObjectName(QStringLiteral("εκτος"));
    inside_ = new QRadioButton(QStringLiteral("Εντός Σχεδίου"), job);
    inside_->setObjectName(QStringLiteral("εντος"));
    // One group; it may start with neither option chosen.
    auto* plan = new QButtonGroup(this);
    plan->addButton(outside_);
    plan->addButton(inside_);
    auto* planRow = new QHBoxLayout;
    planRow->addWidget(outside_);
    planRow->addWidget(inside_);
    planRow->addStretch(1);
    form->addRow(planRow);

    auto* left = new QVBoxLayout;
    left->addWidget(particulars_);
    left->addWidget(job);
    left->addStretch(1);

    auto* columns = new QHBoxLayout(this);
    // The particulars keep the width their texts need; the quantities take what is left.
    columns->addLayout(left, edit ? 0 : 1);
    if (edit) {
        quantities_ = new JobQuantitiesPanel(this);
        columns->addWidget(quantities_, 1);
    }
    columns->addWidget(buildButtons(), 0);

    connect(scale_, &QComboBox::activated, this, &WorkMenuWindow::onScalePicked);
    // toggled, not clicked: a screen reader's action only toggles the button.
    connect(outside_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) onPlanClicked(false);
    });
    connect(inside_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) onPlanClicked(true);
    });

    QWidget* order[] = {scale_, outside_, inside_, findChild<QPushButton*>("Command1")};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    load();
}

QWidget* WorkMenuWindow::buildButtons() {
    auto* box = new QWidget(this);
    box->setObjectName(QStringLiteral("works"));
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    const bool edit = mode_ == EntryMode::Edit;

    auto* lambda = namedButton(box, "Command1", QStringLiteral("Αναθεωριση συντελεστού λ"));
    connect(lambda, &QPushButton::clicked, this, [this, edit] {
        ctx_.nav.open(edit ? WindowId::LambdaEditMenu : WindowId::LambdaWorkMenu);
        refreshLambda();
    });
    column->addWidget(lambda);

    auto* trig = namedButton(box, "Command2", QStringLiteral("Tριγωνισμός"));
    connect(trig, &QPushButton::clicked, this, &WorkMenuWindow::onTriangulation);
    column->addWidget(trig);

    for (const auto& entry : kEntryButtons) {
        auto* b = namedButton(box, entry.name, QString::fromUtf8(entry.caption));
        const fee::CategoryId category = entry.category;
        connect(b, &QPushButton::clicked, this,
                [this, category] { ctx_.nav.openEntry(category, mode_); });
        column->addWidget(b);
    }
    column->addStretch(1);

    auto* submit = namedButton(box, "EXIT", QStringLiteral("Υποβολή"));
    QFont bold = submit->font();
    bold.setBold(true);
    submit->setFont(bold);
    connect(submit, &QPushButton::clicked, this, &WorkMenuWindow::onSubmit);
    column->addWidget(submit);
    return box;
}

void WorkMenuWindow::load() {
    job_ = ctx_.store.currentJobFolder();
    setProperty(kJobProperty, QString::fromStdString(job_.value_or("")));
    for (const char* s : kScales) scale_->addItem(QString::fromLatin1(s));
    scale_->setCurrentIndex(-1);
    scale_->setEditText(QString());
    if (!job_) return;

    refreshLambda();
    // A reopened menu shows what is stored, so a choice made earlier never looks lost. The
    // stored scale shows as text; the list is deliberately not searched for it.
    const std::optional<std::string> stored = ctx_.store.scaleText(*job_);
    const std::optional<double> value =
        stored ? fee::parseFieldNumber(*stored) : std::optional<double>();
    if (value && *value != 0)
        scale_->setEditText(
            displayNumber(*value, 15, QString::fromStdString(ctx_.store.decimalSeparator())));
    else if (stored && !value)
        scale_->setEditText(QString::fromStdString(*stored));
    // Showing the stored choice is no new choice: nothing is written for it.
    const QSignalBlocker quietOutside(outside_), quietInside(inside_);
    // A job fresh from creation (no scale picked, never submitted) starts with neither option,
    // though creation stored "inside".
    const bool fresh = !stored.has_value();
    if (const auto flag = ctx_.store.planFlag(*job_); flag && (*flag != 1 || !fresh))
        (*flag == 1 ? inside_ : outside_)->setChecked(true);
    particulars_->setParticulars(ctx_.store.particulars(*job_));
    if (quantities_) quantities_->load(ctx_.store, *job_);
}

void WorkMenuWindow::refreshLambda() {
    if (!job_) return;
    const std::optional<float> lambda = ctx_.store.lambda(*job_);
    lambda_->setText(lambda ? displayNumber(static_cast<double>(*lambda), 7,
                                            QString::fromStdString(ctx_.store.decimalSeparator()))
                            : QString());
}

bool WorkMenuWindow::haveJob() {
    if (job_ && ctx_.store.fs().isDirectory(*job_)) return true;
    refuse(this, QStringLiteral("Ο φάκελος της μελέτης δεν βρέθηκε. Ανοίξτε ξανά τη μελέτη από "
                                "τη «Διαχείριση Μελετών»."));
    return false;
}

void WorkMenuWindow::onScalePicked(int index) {
    if (index < 0 || !haveJob()) return;
    ctx_.store.setScaleText(*job_, scale_->itemText(index).toStdString());
}

void WorkMenuWindow::onPlanClicked(bool inside) {
    if (!haveJob()) return;
    ctx_.store.setPlanFlag(*job_, inside);
}

void WorkMenuWindow::onTriangulation() {
    if (!haveJob()) return;
    if (fee::mayEnterTriangulation(ctx_.store, *job_))
        ctx_.nav.openEntry(fee::CategoryId::Trig, mode_);
    else
        ctx_.nav.open(WindowId::TrigWarning);
}

void WorkMenuWindow::onSubmit() {
    if (!haveJob()) return;
    ctx_.store.finish(*job_);
    close();
}

}  // namespace fee::app
