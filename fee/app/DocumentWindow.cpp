#include "fee/app/DocumentWindow.h"

#include <QFontDatabase>
#include <QPrinter>
#include <QResizeEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <algorithm>
#include <cmath>

namespace fee::app {

namespace {

constexpr int kTabColumns = 8;

QFont statementFont() {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(9);
    return font;
}

// Widest line in character columns, tabs expanded to their stops.
int widestLine(const QString& text) {
    int widest = 0, column = 0;
    for (QChar c : text) {
        if (c == QLatin1Char('\n') || c == QChar::ParagraphSeparator) {
            column = 0;
        } else if (c == QLatin1Char('\t')) {
            column = (column / kTabColumns + 1) * kTabColumns;
        } else {
            ++column;
        }
        widest = std::max(widest, column);
    }
    return widest;
}

}  // namespace

std::optional<QString> statementUnavailable(const fee::DataStore& store) {
    const auto job = store.currentJobFolder();
    if (!job) {
        return QStringLiteral(
            "Δεν υπάρχει τρέχουσα μελέτη.\nΔημιουργήστε μια νέα μελέτη με το «Νέα Μελέτη» ή "
            "επιλέξτε μια υπάρχουσα από τη «Διαχείριση Μελετών».");
    }
    const fee::StatementText statement = fee::loadStatement(store, *job);
    if (statement.missing.size() == fee::kFragmentOrder.size()) {
        return QStringLiteral(
            "Δεν έχουν γίνει οι υπολογισμοί της μελέτης.\nΠατήστε πρώτα «Υπολογισμοί» και "
            "μετά «Εκτύπωση».");
    }
    if (!statement.missing.empty()) {
        QStringList names;
        for (const std::string& name : statement.missing) names << QString::fromStdString(name);
        return QStringLiteral(
                   "Λείπουν αρχεία της κατάστασης αμοιβής (%1).\nΠατήστε ξανά «Υπολογισμοί» και "
                   "μετά «Εκτύπωση».")
            .arg(names.join(QStringLiteral(", ")));
    }
    return std::nullopt;
}

DocumentWindow::DocumentWindow(AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), job_(ctx.store.currentJobFolder().value_or("")) {
    setObjectName(QStringLiteral("frmDocument"));
    setProperty(kJobProperty, QString::fromStdString(job_));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("frmDocument"));

    rtf_ = new QTextEdit(this);
    rtf_->setObjectName(QStringLiteral("rtfText"));
    rtf_->setReadOnly(true);
    rtf_->setAccessibleName(QStringLiteral("Κατάσταση αμοιβής"));
    rtf_->setAcceptRichText(false);
    rtf_->setFont(statementFont());
    rtf_->setTabStopDistance(QFontMetricsF(rtf_->font()).horizontalAdvance(QLatin1Char(' ')) *
                             kTabColumns);
    rtf_->setLineWrapMode(QTextEdit::FixedPixelWidth);
    rtf_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    resize(640, 480);
    layOut();
    reload();
}

void DocumentWindow::reload() {
    text_.clear();
    if (!job_.empty()) text_ = QString::fromStdString(fee::loadStatement(ctx_.store, job_).text);
    QString shown = text_;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (shown.endsWith(QLatin1Char('\n'))) shown.chop(1);
    rtf_->setPlainText(shown);
}

bool DocumentWindow::outdated() const {
    return !job_.empty() &&
           QString::fromStdString(fee::loadStatement(ctx_.store, job_).text) != text_;
}

bool DocumentWindow::hasSelection() const {
    return rtf_->textCursor().hasSelection();
}

void DocumentWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void DocumentWindow::layOut() {
    // 100 twips of margin around the box; lines wrap 400 twips short of its width. A window
    // too small for that keeps the layout it had.
    const double twip = logicalDpiX() / 1440.0;
    const int margin = static_cast<int>(std::lround(100 * twip));
    const int boxWidth = width() - static_cast<int>(std::lround(200 * twip));
    const int boxHeight = height() - static_cast<int>(std::lround(200 * logicalDpiY() / 1440.0));
    const int wrap = boxWidth - static_cast<int>(std::lround(400 * twip));
    if (boxWidth <= 0 || boxHeight <= 0 || wrap <= 0) return;
    rtf_->setGeometry(margin, margin, boxWidth, boxHeight);
    rtf_->setLineWrapColumnOrWidth(wrap);
}

void DocumentWindow::printTo(QPrinter& printer, bool selectionOnly) const {
    QTextDocument document;
    const bool selection = selectionOnly && hasSelection();
    document.setPlainText(selection ? rtf_->textCursor().selection().toPlainText()
                                    : rtf_->toPlainText());

    // The statement's columns are laid out with tabs in a fixed-width font; shrink the font
    // (not below 5 pt) so its widest line fits the page instead of wrapping.
    QFont font = statementFont();
    const double pageWidthPt = printer.pageLayout().paintRect(QPageLayout::Point).width();
    const double marginsPt = 2 * 72.0 / 2.54 * 2;  // QTextDocument::print's 2 cm each side
    const int columns = std::max(1, widestLine(document.toPlainText()));
    QFont probe = font;
    probe.setPixelSize(1000);
    const double advanceEm = QFontMetricsF(probe).horizontalAdvance(QLatin1Char(' ')) / 1000.0;
    const double fitting = (pageWidthPt - marginsPt) / (columns * advanceEm) * 0.98;
    font.setPointSizeF(std::clamp(fitting, 5.0, 10.0));
    document.setDefaultFont(font);
    QTextOption option = document.defaultTextOption();
    option.setTabStopDistance(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) *
                              kTabColumns);
    document.setDefaultTextOption(option);
    document.print(&printer);
}

}  // namespace fee::app
