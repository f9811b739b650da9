#include "fee/app/HelpWindow.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "fee/app/Widgets.h"

namespace fee::app {

namespace {
const char* const kHelpText =
    "\tΤο πρόγραμμα υπολογίζει τις αμοιβές των τοπογραφικών διαγραμμάτων\n"
    "σύμφωνα με το Προεδρικό Διάταγμα 696/74.\n"
    "\n"
    "\tΗ δομή του οργανώθηκε έτσι ώστε να είναι φιλική προς τον χρήστη.\n"
    "\n"
    "\tΑν και λειτούργησε σωστά σε όλες τις δοκιμές που έγιναν, δεν μπορεί\n"
    "να αποκλειστεί κάποιο σφάλμα που δεν έχει εμφανιστεί ακόμη.\n"
    "\n"
    "\tΓια τέτοια προβλήματα, καθώς και για κάθε άλλη παρατήρηση ή ερώτηση,\n"
    "μπορείτε να επικοινωνήσετε με τον συγγραφέα:\n"
    "\n"
    "\tΤηλ.: 210 0000000\n"
    "\te-mail: info@orvekia.gr\n";
}  // namespace

HelpWindow::HelpWindow(AppContext& /*ctx*/, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("help"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Βοήθεια......"));

    auto* text = new QPlainTextEdit(this);
    text->setObjectName(QStringLiteral("Text1"));
    text->setReadOnly(true);
    text->setPlainText(QString::fromUtf8(kHelpText));
    text->setAccessibleName(windowTitle());
    text->setTabStopDistance(text->fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 6);
    text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Wide and tall enough for the whole text without wrapping or scrolling.
    const QFontMetrics fm = text->fontMetrics();
    const QString widest =
        QStringLiteral("Για τέτοια προβλήματα, καθώς και για κάθε άλλη παρατήρηση ή ερώτηση,");
    text->setMinimumSize(
        fm.horizontalAdvance(widest) + static_cast<int>(text->tabStopDistance()) + 80,
        fm.lineSpacing() * 17);

    auto* ok = closingOkButton(this);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text, 1);
    layout->addLayout(row);
    setTabOrder(text, ok);
    ok->setFocus();
    dialogKeys(this);
}

}  // namespace fee::app
