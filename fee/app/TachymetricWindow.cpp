#include "fee/app/TachymetricWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QVBoxLayout>

#include "fee/app/Widgets.h"
#include "fee/calc/EntryInput.h"
#include "fee/store/Categories.h"

namespace fee::app {

namespace {

struct SlopeClass {
    const char* caption;
    const char* key;
    const char* toolTip;
    const char* name;  // how refusals name the area
};

const std::array<SlopeClass, TachymetricWindow::kClasses> kSlopeClasses = {{
    {"0%-5%", "0-5", "Κλίση εδάφους έως 5%", "Εμβαδό κλίσης 0%-5%"},
    {"5%-20%", "5-20", "Κλίση εδάφους 5%-20%", "Εμβαδό κλίσης 5%-20%"},
    {"20%-50%", "20-50", "Κλίση εδάφους 20%-50%", "Εμβαδό κλίσης 20%-50%"},
    {"50%-100%", "50-100", "Κλίση Εδάφους 50%-100%", "Εμβαδό κλίσης 50%-100%"},
    {"100% ανω", "ανω100", "Κλίση εδάφους άνω του 100%", "Εμβαδό κλίσης άνω του 100%"},
}};

constexpr const Category& kTaxi = categoryOf(CategoryId::Taxi);
// One area per slope class, then the altimetry flag.
static_assert(kTaxi.fields == TachymetricWindow::kClasses + 1);
static_assert(kTaxi.altimetry && kTaxi.altimetry->index == TachymetricWindow::kClasses);

}  // namespace

TachymetricWindow::TachymetricWindow(AppContext& ctx, EntryMode mode, QWidget* parent)
    : QWidget(parent, Qt::Window), ctx_(ctx), mode_(mode) {
    setObjectName(fromView(mode == EntryMode::New ? kTaxi.newWindow : kTaxi.editWindow));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Ταχυμετρικες Αποτυπωσεις στην ύπαιθρο (Σε στρέμματα)"));
    setAccessibleName(windowTitle());
    setProperty(kJobProperty, QString::fromStdString(ctx.store.currentJobFolder().value_or("")));

    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("tbsOptions"));
    tabs_->setExpanding(false);
    tabs_->setDrawBase(false);

    // The panels share one cell of the frame; only the selected one is shown.
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("panelFrame"));
    frame->setFrameShape(QFrame::StyledPanel);
    auto* stack = new QGridLayout(frame);
    stack->setContentsMargins(16, 16, 16, 16);

    const std::vector<double> stored = mode == EntryMode::Edit
                                           ? storedValues(ctx, kTaxi.input, kTaxi.fields)
                                           : std::vector<double>{};
    for (int i = 0; i < kClasses; ++i) {
        const SlopeClass& slope = kSlopeClasses[static_cast<std::size_t>(i)];
        tabs_->addTab(QString::fromUtf8(slope.caption));
        tabs_->setTabData(i, QString::fromUtf8(slope.key));
        tabs_->setTabToolTip(i, QString::fromUtf8(slope.toolTip));

        auto* panel = new QWidget(frame);
        panel->setObjectName(QStringLiteral("picOptions(%1)").arg(i));
        auto* grid = new QGridLayout(panel);
        grid->setContentsMargins(0, 0, 0, 0);
        QLineEdit* edit = addLabelledField(grid, 0, panel, QStringLiteral("E(%1)").arg(i),
                                           QStringLiteral("Εμβαδό: "));
        edit->setAccessibleDescription(QString::fromUtf8(slope.toolTip));
        edit->setText(mode == EntryMode::Edit ? shownText(ctx, stored[static_cast<std::size_t>(i)],
                                                          ShownAs::RealFromDouble)
                                              : QStringLiteral("0"));
        grid->setColumnStretch(2, 1);
        grid->setRowStretch(1, 1);
        stack->addWidget(panel, 0, 0);
        panels_[static_cast<std::size_t>(i)] = panel;
        fields_.push_back(
            {edit, QString::fromUtf8(slope.name), StoredForm::Int16Hundredths, false, {}, {}});
    }
    frame->setMinimumHeight(fontMetrics().lineSpacing() * 5);

    altimetry_ = new QCheckBox(QStringLiteral("Υψομέτρηση"), this);
    altimetry_->setObjectName(QStringLiteral("H"));
    if (mode == EntryMode::Edit) {
        altimetry_->setChecked(altimetryShown(stored[kTaxi.altimetry->index]));
    }

    auto* submit = new QPushButton(QStringLiteral("Υποβολή"), this);
    submit->setObjectName(QStringLiteral("Submite"));
    submit->setDefault(true);
    submit->setMinimumWidth(110);
    connect(submit, &QPushButton::clicked, this, &TachymetricWindow::onSubmit);
    for (const EntryField& field : fields_)
        connect(field.edit, &QLineEdit::returnPressed, submit, &QPushButton::click);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(altimetry_);
    bottom->addStretch(1);
    bottom->addWidget(submit);

    auto* column = new QVBoxLayout(this);
    column->setSpacing(0);
    column->addWidget(tabs_);
    column->addWidget(frame, 1);
    column->addSpacing(12);
    column->addLayout(bottom);

    setTabOrder(tabs_, fields_[0].edit);
    for (int i = 1; i < kClasses; ++i) setTabOrder(fields_[i - 1].edit, fields_[i].edit);
    setTabOrder(fields_.back().edit, altimetry_);
    setTabOrder(altimetry_, submit);

    connect(tabs_, &QTabBar::currentChanged, this, &TachymetricWindow::showPanel);
    tabs_->setCurrentIndex(0);
    showPanel(0);

    // Ctrl+Tab must reach the window before whichever control has the focus.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);

    setMinimumWidth(tabs_->sizeHint().width() + 80);
    adjustSize();
    centreOnScreen();
    fields_[0].edit->setFocus();
    dialogKeys(this);
    fields_[0].edit->selectAll();
}

void TachymetricWindow::showPanel(int index) {
    for (int i = 0; i < kClasses; ++i) {
        QWidget* panel = panels_[static_cast<std::size_t>(i)];
        panel->setEnabled(i == index);
        panel->setVisible(i == index);
    }
}

void TachymetricWindow::centreOnScreen() {
    const QScreen* s = screen();
    if (!s) return;
    const QRect area = s->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

bool TachymetricWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
            const bool fieldHadFocus =
                tabs_->currentIndex() >= 0 &&
                panels_[static_cast<std::size_t>(tabs_->currentIndex())]->isAncestorOf(
                    QApplication::focusWidget());
            tabs_->setCurrentIndex((tabs_->currentIndex() + 1) % tabs_->count());
            if (fieldHadFocus || QApplication::focusWidget() == nullptr) {
                QLineEdit* edit = fields_[static_cast<std::size_t>(tabs_->currentIndex())].edit;
                edit->setFocus();
                edit->selectAll();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TachymetricWindow::onSubmit() {
    auto values = checkFields(this, ctx_, fields_, [this](int i) { tabs_->setCurrentIndex(i); });
    if (!values) return;
    values->push_back(altimetryStored(altimetry_->isChecked()));
    if (!writeEntryFile(this, ctx_, kTaxi.input, *values, kTaxi.width)) return;
    closeAfterSubmit(this, ctx_, mode_);
}

}  // namespace fee::app
